#version 330 core
// "blurShader": one direction of the bilateral blur of the indirect light at
// 960x540. Weights fall off as 1 - (f / width)^2 and, where the neighbour's
// normal is close enough to this pixel's to count (|cos| > 0.25), by the
// square of that cosine.
uniform sampler2D inputColor;
uniform sampler2D eyeSpaceNormalDepth;
uniform vec2 direction;
uniform float width;
out vec4 frag[1];

// A pixel where nothing was drawn has a zero normal: it matches nothing.
vec3 normalizeOrZero(vec3 v) {
    float l2 = dot(v, v);
    return l2 > 0.0 ? v * inversesqrt(l2) : vec3(0.0);
}

void main() {
    vec2 tc = gl_FragCoord.xy * vec2(1.0 / 960.0, 1.0 / 540.0);
    vec3 n = normalizeOrZero(texture(eyeSpaceNormalDepth, tc).xyz);
    vec4 sum = vec4(0.0);
    float total = 0.0;
    for (float f = -width; f <= width; f += 1.0) {
        vec2 at = tc + direction * f;
        vec4 s = texture(eyeSpaceNormalDepth, at);
        vec4 c = texture(inputColor, at);
        float dp = abs(dot(n, normalizeOrZero(s.xyz)));
        // A width of 0 is no blur: the one sample keeps its full weight.
        float w = width > 0.0 ? 1.0 - (f / width) * (f / width) : 1.0;
        if (dp > 0.25) w *= dp * dp;
        sum += c * w;
        total += w;
    }
    frag[0] = sum / max(0.000001, total);
}
