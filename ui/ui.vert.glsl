#version 330 core
// UI primitives in window pixels (origin top-left, y down), each vertex with
// its colour and the texture it samples (0 for none).
in vec2 vertex;
in vec2 uv;
in vec4 colour;
in float textured;
uniform mat4 projectionMatrix;
out vec2 texcoord;
flat out vec4 tint;
flat out float sampled;

void main() {
    texcoord = uv;
    tint = colour;
    sampled = textured;
    gl_Position = projectionMatrix * vec4(vertex.xy, 0.0, 1.0);
}
