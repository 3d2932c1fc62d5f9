#version 330 core
in vec2 texcoord;
uniform sampler2D tex;
out vec4 frag[1];

void main() {
    frag[0] = texture(tex, texcoord);
}
