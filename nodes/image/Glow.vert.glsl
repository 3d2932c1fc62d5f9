#version 330 core
// Shared by "blurShader" and "glowCompose". projectionMatrix draws the quad
// mirrored top to bottom, so the vertex with uv lands on the texel at
// (uv.x, 1 - uv.y). The coordinates are taken from that texel: every pass then
// reads and writes the picture upright, and the input and the mask are
// sampled through their matrices at the place they are shown.
in vec4 vertex;
in vec2 uv;
uniform mat4 projectionMatrix;
uniform mat4 textureMatrix_Input[2];
out vec2 texcoord;
out vec2 texcoord_Input[2];

void main() {
    vec2 st = vec2(uv.x, 1.0 - uv.y);
    texcoord = st;
    texcoord_Input[0] = (textureMatrix_Input[0] * vec4(st, 0.0, 1.0)).xy;
    texcoord_Input[1] = (textureMatrix_Input[1] * vec4(st, 0.0, 1.0)).xy;
    gl_Position = projectionMatrix * vec4(vertex.xy, 0.0, 1.0);
}
