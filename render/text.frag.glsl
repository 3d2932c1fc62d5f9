#version 330 core
// Glyph textures hold coverage in .a (a one-channel texture swizzled to alpha).
in vec2 texpos;
uniform sampler2D tex;
uniform vec4 color;
out vec4 frag[1];

void main() {
    frag[0] = vec4(1.0, 1.0, 1.0, texture(tex, texpos).a) * color;
}
