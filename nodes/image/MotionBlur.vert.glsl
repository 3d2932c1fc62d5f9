#version 330 core
// "moblurShader": the input picture through its texture matrix.
in vec4 vertex;
in vec2 uv;
uniform mat4 textureMatrix_Input[8];
out vec2 texcoord;

void main() {
    texcoord = (textureMatrix_Input[0] * vec4(uv, 0.0, 1.0)).xy;
    gl_Position = vec4(vertex.xy, 0.0, 1.0);
}
