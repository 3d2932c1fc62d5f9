#version 330 core
// "iloDofShader": depth of field. Every pixel gathers the neighbours within
// radius pixels whose own circle of confusion reaches it, weighted by that
// circle's area. The circle grows from nothing at distance start to radius at
// end; with start equal to end it is a step (full behind start, none in
// front). Pixels where nothing was drawn spread fully.
uniform sampler2D inputColor;
uniform sampler2D inputNormalDepth;
uniform float radius;
uniform float start;
uniform float end;
out vec4 frag[1];

const float PI = 3.14159265;

float coc(float d) {
    if (end > start) return radius * min(1.0, max(0.0, d - start) / (end - start));
    return d > start ? radius : 0.0;
}

void main() {
    vec2 texel = vec2(1.0 / 1920.0, 1.0 / 1080.0);
    vec2 tc = gl_FragCoord.xy * texel;
    int reach = int(floor(radius));
    vec4 sum = vec4(0.0);
    float total = 0.0;
    for (int y = -reach; y <= reach; ++y) {
        // No circle is larger than radius: each row stops at the disc's edge
        // (bounds the same for every pixel, so nothing is fetched in vain).
        int span = int(floor(sqrt(max(0.0, radius * radius - float(y * y)))));
        for (int x = -span; x <= span; ++x) {
            vec2 at = clamp(tc + vec2(x, y) * texel, 0.0, 1.0);
            float d = texture(inputNormalDepth, at).a;
            vec4 c = texture(inputColor, at);
            float k = c.a < 0.0001 ? radius : coc(d);
            if (length(vec2(x, y)) <= k) {
                float area = k * k * PI;
                sum += c * area;
                total += area;
            }
        }
    }
    frag[0] = total > 0.0 ? sum / total : texture(inputColor, tc);
}
