#version 330 core
uniform vec4 color;
out vec4 frag[1];

void main() {
    frag[0] = color;
}
