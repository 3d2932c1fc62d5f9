#version 330 core
// "LumaToAlpha": the picture's luma becomes its alpha; the result is
// premultiplied. Exponent is declared for the descriptions that set it; it is
// not read.
in vec2 texcoord;
in vec2 texcoord_Input[8];
out vec4 frag[1];

uniform sampler2D Source;
uniform float Exponent;

void main() {
    vec4 c = texture(Source, texcoord_Input[0]);
    c.rgb /= c.a > 0.0 ? c.a : 1.0;
    float luma = dot(c.rgb, vec3(0.299, 0.587, 0.114));
    c.a = luma;
    c.rgb /= luma > 0.0 ? luma : 1.0;
    c.rgb *= c.a;
    frag[0] = c;
}
