#version 330 core
// "DirectionalBlur": a triangle-weighted blur along Direction over 2 x Length
// taps. The Intensity input, mixed in by Mask, scales the length per pixel.
// Length 0 leaves the picture unchanged.
in vec2 texcoord;
in vec2 texcoord_Input[8];
out vec4 frag[1];

uniform sampler2D Source;
uniform sampler2D Intensity;
uniform float Length;
uniform float Quality;
uniform float Mask;
uniform vec2 Direction;
uniform vec2 ng_sampleSize;

// Keeps the tap loop finite for absurd lengths (and for infinities).
const float kMaxReach = 4096.0;

float average(vec4 c) { return (c.r + c.g + c.b) / 3.0; }

void main() {
    float l = max(1.0, Length);
    vec4 m = mix(vec4(1.0), texture(Intensity, texcoord_Input[1]), Mask);
    float scale = average(m);

    vec2 stepSize = Direction * ng_sampleSize * min(1.0, Length) * Quality * scale;
    vec4 sum = vec4(0.0);
    float weights = 0.0;
    // f = -l, -l + 1, ... up to l.
    int taps = int(floor(2.0 * min(l, kMaxReach))) + 1;
    for (int k = 0; k < taps; ++k) {
        float f = -l + float(k);
        float w = 1.0 - abs(f) / l;
        w *= w;
        sum += w * texture(Source, texcoord_Input[0] + stepSize * f);
        weights += w;
    }
    frag[0] = weights > 0.0 ? sum / weights : texture(Source, texcoord_Input[0]);
}
