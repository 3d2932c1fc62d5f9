#version 330 core
// Textured UI rectangles in window pixels (origin top-left, y down).
in vec2 vertex;
in vec2 uv;
uniform mat4 projectionMatrix;
out vec2 texcoord;

void main() {
    texcoord = uv;
    gl_Position = projectionMatrix * vec4(vertex.xy, 0.0, 1.0);
}
