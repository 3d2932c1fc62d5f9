#version 330 core
// "RadialOutBlur": a zoom blur that smears the picture away from Center, on
// top of the original scaled by Oooooze. The Intensity input, mixed in by
// Mask, scales the length per pixel.
in vec2 texcoord;
in vec2 texcoord_Input[8];
out vec4 frag[1];

uniform sampler2D Source;
uniform sampler2D Intensity;
uniform float Length;
uniform float Quality;
uniform float Mask;
uniform float Oooooze;
uniform vec2 Center;
uniform vec2 ng_sampleSize;

// Keeps the tap loop finite for absurd lengths (and for infinities).
const float kMaxTaps = 8192.0;

float average(vec4 c) { return (c.r + c.g + c.b) / 3.0; }

void main() {
    float l = max(1.0, Length);
    vec4 m = mix(vec4(1.0), texture(Intensity, texcoord_Input[1]), Mask);
    float scale = average(m);
    vec4 orig = texture(Source, texcoord_Input[0]);
    l *= 2.0;

    vec2 dir = texcoord - Center;
    vec2 stepSize = dir * ng_sampleSize * min(1.0, Length) * Quality * scale;
    vec4 sum = vec4(0.0);
    float weights = 0.0;
    // f = -l, -l + 1, ... up to 0.
    int taps = int(floor(min(l, kMaxTaps))) + 1;
    for (int k = 0; k < taps; ++k) {
        float f = -l + float(k);
        float w = 1.0 - abs(f) / l;
        w *= w;
        sum += w * texture(Source, texcoord_Input[0] + stepSize * f);
        weights += w;
    }

    if (!(weights > 0.0)) {
        frag[0] = orig;
        return;
    }
    vec4 result = orig * Oooooze + sum / weights;
    result.a = min(1.0, result.a);
    frag[0] = result;
}
