#version 330 core
// Copies a texture onto the full-screen quad unchanged (the loading picture).
in vec2 vertex;
in vec2 uv;
out vec2 texcoord;

void main() {
    texcoord = uv;
    gl_Position = vec4(vertex.xy, 0.0, 1.0);
}
