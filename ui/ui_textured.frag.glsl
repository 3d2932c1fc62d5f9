#version 330 core
in vec2 texcoord;
uniform sampler2D tex;
uniform vec4 color;
out vec4 frag[1];

void main() {
    frag[0] = color * texture(tex, texcoord);
}
