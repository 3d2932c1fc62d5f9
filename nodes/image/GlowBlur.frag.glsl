#version 330 core
// "blurShader": one direction of the glow blur. Samples every 0.75 steps
// between -l and l with the weight (1 - |f| / l)^2; each sample of Source is
// scaled by the red channel of the mask, blended in by Mask.
in vec2 texcoord;
in vec2 texcoord_Input[2];
uniform sampler2D Source;
uniform sampler2D Intensity;
uniform vec2 ng_sampleSize;
uniform vec2 Direction;
uniform float Length;
uniform float Mask;
out vec4 frag[1];

void main() {
    vec2 tc0 = texcoord_Input[0];
    vec2 tc1 = texcoord_Input[1];
    float l = max(1.0, Length);
    float quality = 1.0 + Length / 10.0;
    vec4 colour = vec4(0.0);
    float weight = 0.0;
    for (float f = -l; f <= l; f += 0.75) {
        float w = 1.0 - abs(f) / l;
        w *= w;
        vec2 d = Direction * f * ng_sampleSize * min(1.0, Length) * quality;
        vec4 m = mix(vec4(1.0), texture(Intensity, tc1 + d), Mask);
        colour += texture(Source, tc0 + d) * w * m.x;
        weight += w;
    }
    // Cannot happen for Length >= 0; should it, the unblurred sample.
    frag[0] = weight > 0.0 ? colour / weight : texture(Source, tc0);
}
