#version 330 core
// "ChromaticAbberation": colour channels sampled at offsets that grow towards
// the edges of the frame. Mode 0 splits red and blue outwards and inwards,
// mode 1 also mixes red into blue, mode 2 averages three outward samples; any
// other mode gives transparent black.
in vec2 texcoord;
in vec2 texcoord_Input[8];
out vec4 frag[1];

uniform sampler2D Source;
uniform float Factor;
uniform int Mode;

void main() {
    vec2 ctr = (0.5 - texcoord) * 2.0;
    vec2 d = ctr * 0.1 * Factor;
    vec4 s0 = texture(Source, texcoord_Input[0]);
    vec4 sPlus = texture(Source, texcoord_Input[0] + d);
    vec4 sMinus = texture(Source, texcoord_Input[0] - d);
    float alpha = (sPlus.a + s0.a + sMinus.a) / 3.0;

    if (Mode == 0)
        frag[0] = vec4(sPlus.r, s0.g, sMinus.b, alpha);
    else if (Mode == 1)
        frag[0] = vec4(sPlus.r, s0.g, 0.5 * sPlus.b + 0.5 * sMinus.r, alpha);
    else if (Mode == 2)
        frag[0] = (sPlus + s0 + texture(Source, texcoord_Input[0] + 2.0 * d)) / 3.0;
    else
        frag[0] = vec4(0.0);
}
