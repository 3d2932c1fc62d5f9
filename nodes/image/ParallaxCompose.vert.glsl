#version 330 core
// Shared by "compose" and "composeDodge": a layer's quadrilateral in clip
// space, its pictures sampled through textureMatrix, and vtpos, the place on
// the frame (0 ... 1) where the fragment lands, for reading what lies below.
in vec4 vertex;
in vec2 uv;
uniform mat4 textureMatrix;
out vec2 texcoord;
out vec2 vtpos;

void main() {
    texcoord = (textureMatrix * vec4(uv, 0.0, 1.0)).xy;
    vtpos = vertex.xy * 0.5 + 0.5;
    gl_Position = vec4(vertex.xy, 0.0, 1.0);
}
