#version 330 core
// "iloGIShader": screen-space indirect light at 960x540. Around each pixel a
// golden-angle spiral of SAMPLE_COUNT samples, out to giRadius / z, gathers
// the emission seen there, weighted by how much the sample faces the pixel's
// normal and by distance.
#include "iloScreenSpace.glsl"
uniform sampler2D eyeSpaceIllumination;
uniform float giIntensity;
uniform float giScale;
uniform float giBias;
uniform float giRadius;
uniform float giMaxDistance;  // part of the interface, not read
out vec4 frag[1];

vec3 gi(vec2 offset) {
    vec3 q = texture(eyeSpacePosition, tc + offset).xyz - p;
    float l = length(q);
    if (l == 0.0) return vec3(0.0);  // the pixel itself: no direction to light from
    vec3 v = q / l;
    float w = max(0.0, dot(n, v) - giBias) * (1.0 / (1.0 + l * giScale));
    vec4 illumination = texture(eyeSpaceIllumination, tc + offset);
    return illumination.rgb * illumination.a * w;
}

void main() {
    if (!readPixel()) {
        frag[0] = vec4(0.0, 0.0, 0.0, 1.0);
        return;
    }
    float rad = giRadius / p.z;
    float phase = hash12(100.0 * tc) * 6.28;
    float stepLength = rad / float(SAMPLE_COUNT);
    float radius = 0.0;
    vec3 sum = vec3(0.0);
    for (int i = 0; i < SAMPLE_COUNT; ++i) {
        radius += stepLength;
        sum += gi(vec2(sin(phase), cos(phase)) * radius);
        phase += 2.4;  // the golden angle
    }
    vec3 result = sum / float(SAMPLE_COUNT);
    frag[0] = vec4(abs(result * giIntensity), 1.0);
}
