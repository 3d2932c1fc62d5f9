#version 330 core
// "iloAOShader": screen-space ambient occlusion at 960x540. The same spiral as
// the indirect light, out to aoRadius / z; each sample occludes by how much it
// faces the pixel's normal, less with distance, and not at all beyond
// aoMaxDistance. 1 is unoccluded.
#include "iloScreenSpace.glsl"
uniform float aoIntensity;
uniform float aoScale;
uniform float aoBias;
uniform float aoRadius;
uniform float aoMaxDistance;
out vec4 frag[1];

// smoothstep(aoMaxDistance, aoMaxDistance / 2, l), written out: smoothstep
// with its edges in falling order is undefined.
float falloff(float l) {
    float edge0 = aoMaxDistance;
    float edge1 = 0.5 * aoMaxDistance;
    if (edge0 == edge1) return l < edge0 ? 1.0 : 0.0;
    float t = clamp((l - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

float ao(vec2 offset) {
    vec3 q = texture(eyeSpacePosition, tc + offset).xyz - p;
    float l = length(q);
    if (l == 0.0) return 0.0;  // the pixel itself occludes nothing
    vec3 v = q / l;
    return max(0.0, dot(n, v) - aoBias) * (1.0 / (1.0 + l * aoScale)) * falloff(l);
}

void main() {
    if (!readPixel()) {
        frag[0] = vec4(1.0);
        return;
    }
    float rad = aoRadius / p.z;
    float phase = hash12(100.0 * tc) * 6.28;
    float stepLength = rad / float(SAMPLE_COUNT);
    float radius = 0.0;
    float sum = 0.0;
    for (int i = 0; i < SAMPLE_COUNT; ++i) {
        radius += stepLength;
        sum += ao(vec2(sin(phase), cos(phase)) * radius);
        phase += 2.4;  // the golden angle
    }
    float a = max(0.0, 1.0 - sum / float(SAMPLE_COUNT) * aoIntensity);
    frag[0] = vec4(a, a, a, 1.0);
}
