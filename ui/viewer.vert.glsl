#version 330 core
// The full-screen quad, sampling the input picture through its texture matrix.
in vec2 vertex;
in vec2 uv;
uniform mat4 textureMatrix;
uniform mat4 projectionMatrix;  // shared name of the 2D passes; the quad is already in clip space
out vec2 texcoord;

void main() {
    texcoord = (textureMatrix * vec4(uv, 0.0, 1.0)).xy;
    gl_Position = vec4(vertex.xy, 0.0, 1.0);
}
