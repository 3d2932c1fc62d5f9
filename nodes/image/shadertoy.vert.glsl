#version 330 core
// The vertex stage of "ShaderToy": the quad's coordinate unchanged.
in vec4 vertex;
in vec2 uv;

out vec2 texcoord;

void main() {
    texcoord = uv;
    gl_Position = vec4(vertex.xy, 0.0, 1.0);
}
