#version 330 core
// UI primitives in window pixels (origin top-left, y down).
in vec2 vertex;
uniform mat4 projectionMatrix;

void main() {
    gl_Position = projectionMatrix * vec4(vertex.xy, 0.0, 1.0);
}
