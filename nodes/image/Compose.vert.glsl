#version 330 core
// "composeComb": the full-screen quad, sampling the input as its slot image
// stands (no texture matrix).
in vec4 vertex;
in vec2 uv;
out vec2 texcoord;

void main() {
    texcoord = uv;
    gl_Position = vec4(vertex.xy, 0.0, 1.0);
}
