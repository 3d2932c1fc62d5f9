#version 330 core
// "LensBlur": a disc blur that boosts bright samples, like an out-of-focus
// lens. The radius in pixels is 15 x Radius (at least 1), scaled by the mask;
// the fractional part of the radius is blended in as a weaker outer ring.
in vec2 texcoord;
in vec2 texcoord_Input[8];
out vec4 frag[1];

uniform sampler2D Source;
uniform sampler2D Mask;
uniform float Radius;
uniform float Accuracy;
uniform float MaskIntensity;
uniform vec2 ng_sampleSize;
uniform float ng_aspectRatio;

// Keeps the loops finite for absurd radii (and for infinities).
const float kMaxRadius = 2048.0;

float average(vec4 c) { return (c.r + c.g + c.b) / 3.0; }

void main() {
    vec4 m = mix(vec4(1.0), texture(Mask, texcoord_Input[1]), MaskIntensity);
    float scale = average(m);
    vec2 stepSize = ng_sampleSize * (1.0 + Accuracy / 20.0);
    float intensity = Radius * scale;
    float r = min(max(1.0, 15.0 * intensity), kMaxRadius);
    float fa = floor(r);
    float fb = ceil(r);
    float boost = 8.0 * clamp(3.0 * intensity, 0.0, 1.0);

    vec4 sum = vec4(0.0);
    float weights = 0.0;

    int innerSteps = int(2.0 * fa);
    for (int i = 0; i < innerSteps; ++i) {
        float x = -fa + float(i);
        for (int j = 0; j < innerSteps; ++j) {
            float y = (-fa + float(j)) * ng_aspectRatio;
            float l = length(vec2(x, y));
            if (l <= fa) {
                vec4 s = texture(Source, texcoord_Input[0] + vec2(x, y) * stepSize);
                float a = (s.r + s.g + s.b) * 0.3333;
                float p = a > 0.1 ? (a - 0.1) * boost : 0.0;
                float w = 1.0 + p * (1.0 + l / fa);
                sum += s * w;
                weights += w;
            }
        }
    }

    // With a whole radius fa == fb and no distance falls between them.
    int ringSteps = int(2.0 * fb);
    for (int i = 0; i < ringSteps; ++i) {
        float x = -fb + float(i);
        for (int j = 0; j < ringSteps; ++j) {
            float y = (-fb + float(j)) * ng_aspectRatio;
            float l = length(vec2(x, y));
            if (l > fa && l <= fb) {
                vec4 s = texture(Source, texcoord_Input[0] + vec2(x, y) * stepSize);
                float a = (s.r + s.g + s.b) * 0.3333;
                float p = a > 0.1 ? (a - 0.1) * boost : 0.0;
                float w = (1.0 + p * (1.0 + l / fb)) * (r - fa) / (fb - fa);
                sum += s * w;
                weights += w;
            }
        }
    }

    frag[0] = weights > 0.0 ? sum / weights : texture(Source, texcoord_Input[0]);
}
