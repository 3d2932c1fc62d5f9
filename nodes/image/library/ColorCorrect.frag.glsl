#version 330 core
// "ColorCorrect": levels on the unpremultiplied colour - the range
// LowColor..HiColor, per-channel exponents, the range Blackpoint..Whitepoint,
// gamma, contrast about 0.5, brightness - then premultiplied again.
in vec2 texcoord;
in vec2 texcoord_Input[8];
out vec4 frag[1];

uniform sampler2D Source;
uniform float Gamma;
uniform float Blackpoint;
uniform float Whitepoint;
uniform float Exp_R;
uniform float Exp_G;
uniform float Exp_B;
uniform float Brightness;
uniform float Contrast;
uniform vec4 LowColor;
uniform vec4 HiColor;

void main() {
    vec4 c = texture(Source, texcoord_Input[0]);
    c.rgb /= c.a > 0.0 ? c.a : 1.0;
    c *= max(HiColor, LowColor) - min(HiColor, LowColor);
    c += LowColor;
    c.r = pow(c.r, Exp_R);
    c.g = pow(c.g, Exp_G);
    c.b = pow(c.b, Exp_B);
    c.rgb *= max(Whitepoint, Blackpoint) - min(Whitepoint, Blackpoint);
    c.rgb += Blackpoint;
    c.rgb = pow(c.rgb, vec3(Gamma));
    c.rgb = (c.rgb - 0.5) * Contrast + 0.5;
    c.rgb *= Brightness;
    c.rgb *= c.a;
    frag[0] = c;
}
