#version 330 core
// "DigitalGlitch": a procedural pattern of coloured stripes and blocks on
// opaque black. Everything scales with Intensity (in steps of 0.01), so at 0
// the output is black. StripTranslationIntensity is declared for the
// descriptions that set it; it has no visible effect.
in vec2 texcoord;
in vec2 texcoord_Input[8];
out vec4 frag[1];

uniform float StripCount;
uniform float StripIntensity;
uniform float BlockCount;
uniform float BlockWidth;
uniform float BlockIntensity;
uniform float StripTranslationIntensity;
uniform float Intensity;
uniform vec2 RandOffset;

float rand(vec2 co) {
    return fract(sin(dot(co, vec2(12.9898, 78.233) + RandOffset * 10.0)) * 43758.5453);
}

// v quantised to n steps (at least one).
float quantise(float v, float n) {
    float steps = max(1.0, n);
    return floor(v * steps) / steps;
}

void main() {
    float f = floor(Intensity * 100.0) / 100.0;
    float stripCount = StripCount * 30.0 * f;
    float stripIntensity = StripIntensity * f;
    float blockCount = BlockCount * 30.0 * f;
    float blockWidth = BlockWidth * 30.0 * f;
    float blockIntensity = BlockIntensity * f;

    vec4 img = vec4(0.0, 0.0, 0.0, 1.0);
    float x = texcoord.x;
    float y = texcoord.y;
    float stripeId = quantise(y, stripCount);
    float stripeRand = rand(vec2(0.0, -stripeId));
    vec2 blockId = vec2(quantise(y, blockCount), quantise(x, blockCount - blockWidth));
    vec2 innerId = vec2(quantise(y, 4.0 * blockCount), quantise(x, 4.0 * blockCount));
    float blockRand = rand(blockId);
    float blockType = rand(blockId.yx);
    float inner = rand(innerId);

    if (stripeRand > 1.0 - stripIntensity) {
        float s = rand(vec2(stripeId, stripeRand));
        if (s < 0.33)
            img.r = 1.0;
        else if (s < 0.66)
            img.g = 1.0;
        else
            img.b = 1.0;
    }

    if (blockRand > 1.0 - blockIntensity) {
        if (blockType < 0.2) {
            img = vec4(0.7, 0.7, 0.7, 1.0);
        } else if (blockType < 0.7) {
            if (inner > 1.0 - blockIntensity) {
                inner *= 0.75 + img.r;
                if (inner > 0.5) {
                    img.rgb = vec3(inner, rand(texcoord.yx), rand(texcoord.xy));
                } else {
                    img.g = 1.0;
                    img.r *= max(1.0, 30.0 * blockIntensity);
                }
            }
        } else if (inner > 1.0 - blockIntensity) {
            img = vec4(1.0);
        }
    }
    frag[0] = img;
}
