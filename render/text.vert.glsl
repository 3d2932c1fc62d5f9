#version 330 core
// One glyph quad: xy in clip space, zw the glyph texture coordinate.
in vec4 vertex;
out vec2 texpos;

void main() {
    gl_Position = vec4(vertex.xy, 0.0, 1.0);
    texpos = vertex.zw;
}
