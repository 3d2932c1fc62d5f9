// What the screen-space passes iloAO and iloGI share: the pixel's place,
// eye-space position and normal at 960x540, and the hash that turns each
// pixel's spiral. Included by both, not compiled on its own.
uniform sampler2D eyeSpaceNormal;
uniform sampler2D eyeSpacePosition;
uniform int SAMPLE_COUNT;

vec2 tc;
vec3 p;
vec3 n;

float hash12(vec2 q) {
    vec3 p3 = fract(vec3(q.xyx) * vec3(0.1031, 0.11369, 0.13787));
    p3 += dot(p3, p3.yzx + 19.19);
    return fract((p3.x + p3.y) * p3.z);
}

// Reads the pixel into tc, p and n. Where nothing was drawn the position is
// cleared to 0 and the radius would be infinite; the renderer skips the pass
// below one sample: false for both.
bool readPixel() {
    tc = gl_FragCoord.xy * vec2(1.0 / 960.0, 1.0 / 540.0);
    p = texture(eyeSpacePosition, tc).xyz;
    n = texture(eyeSpaceNormal, tc).xyz;
    return p.z != 0.0 && SAMPLE_COUNT >= 1;
}
