#version 330 core
// The standard vertex stage of the effect passes: the output's own coordinate
// and one coordinate per input, each through its node's texture matrix.
in vec4 vertex;
in vec2 uv;

uniform mat4 textureMatrix;
uniform mat4 textureMatrix_Input[8];

out vec2 texcoord;
out vec2 texcoord_Input[8];

void main() {
    vec4 coordinate = vec4(uv, 0.0, 1.0);
    texcoord = (textureMatrix * coordinate).xy;
    for (int i = 0; i < 8; ++i)
        texcoord_Input[i] = (textureMatrix_Input[i] * coordinate).xy;
    gl_Position = vec4(vertex.xy, 0.0, 1.0);
}
