#version 330 core
// "Displace2D": shifts the image by a channel of the displacement picture,
// wrapping around the edges. Horizontal and Vertical pick the channel of each
// direction: 0 red, 1 green, 2 blue, 3 alpha, 4 luma; any other value red.
// Mid-grey (0.5) is no shift.
in vec2 texcoord;
in vec2 texcoord_Input[8];
out vec4 frag[1];

uniform sampler2D Image;
uniform sampler2D Displacement;
uniform int Horizontal;
uniform int Vertical;
uniform float Distort_H;
uniform float Distort_V;

float channel(vec4 c, float luma, int selector) {
    if (selector == 1) return c.g;
    if (selector == 2) return c.b;
    if (selector == 3) return c.a;
    if (selector == 4) return luma;
    return c.r;
}

void main() {
    vec4 dm = texture(Displacement, texcoord_Input[1]);
    float luma = dot(dm.rgb, vec3(0.299, 0.587, 0.114));
    vec2 d = vec2(channel(dm, luma, Horizontal), channel(dm, luma, Vertical));
    d = (d - 0.5) * vec2(Distort_H, Distort_V);
    frag[0] = texture(Image, mod(texcoord_Input[0] + d, 1.0));
}
