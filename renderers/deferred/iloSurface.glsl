// What the surface stages iloModel and iloReflectionModel share: the mesh
// vertex stage's outputs, the material and environment uniforms, and the
// helpers that read them. Included by both, not compiled on its own.
in vec3 vWorldPosition;
in vec3 vEyePosition;
in vec3 vWorldNormal;
in vec3 vEyeNormal;
in vec2 uv;
uniform sampler2D chAlbedo;
uniform sampler2D chNormalMap;
uniform sampler2D chEmission;
uniform sampler2D chRoughness;
uniform sampler2D chMetalness;
uniform sampler2D environmentMap;
uniform float ch_i_albedo;
uniform float ch_i_emission;
uniform float ch_i_roughness;
uniform float ch_i_metalness;
uniform float ch_i_normal;
uniform float ch_i_emissionIncident;
uniform vec4 ch_c_emission;
uniform vec4 ch_c_albedo;
uniform float i_environmentIntensity;
uniform float i_environmentGamma;
uniform float i_iblIntensity;
uniform float i_depthAlpha;
uniform mat4 i_envrotate;
uniform float nearClip;
uniform float farClip;
uniform vec3 cameraPosition;
uniform float depthBase;
uniform float iblDiffuseLevel;

const float PI = 3.14159265;

// normalize, with a fallback where the vector has no direction (a zero normal
// in the mesh, a map texel of exactly 0.5 grey) instead of NaN.
vec3 normalizeOr(vec3 v, vec3 fallback) {
    float l2 = dot(v, v);
    return l2 > 0.0 ? v * inversesqrt(l2) : fallback;
}

// atan(y, x) is undefined at the origin; there (straight up or down, or no
// direction at all) every angle names the same texel row.
float angleOf(float y, float x) { return (x == 0.0 && y == 0.0) ? 0.0 : atan(y, x); }

// Equirectangular environment coordinates of a direction, turned by "ENV Rotate".
vec2 environmentUv(vec3 direction) {
    vec3 d = (i_envrotate * vec4(normalizeOr(direction, vec3(0.0)), 0.0)).xyz;
    return vec2(0.5 - angleOf(d.z, -d.x) / (2.0 * PI), 0.5 - angleOf(d.y, length(d.xz)) / PI);
}

// Normal mapping without tangents: the cotangent frame comes from the
// screen-space derivatives of the surface position p and of uv. Where uv does
// not vary across the face (no texture coordinates, a plane of zero repeat)
// there is no frame and the surface keeps its unperturbed normal N.
vec3 perturbedNormal(vec3 N, vec3 p) {
    vec3 nMap = normalizeOr((texture(chNormalMap, uv).xyz - 0.5) * 2.0, vec3(0.0, 0.0, 1.0));
    nMap = normalizeOr(mix(vec3(0.0, 0.0, 1.0), nMap, ch_i_normal), vec3(0.0, 0.0, 1.0));
    nMap = -nMap;
    vec3 n = -N;
    vec3 dp1 = dFdx(-p);
    vec3 dp2 = dFdy(-p);
    vec2 duv1 = dFdx(uv);
    vec2 duv2 = dFdy(uv);
    vec3 t = cross(dp2, n) * duv1.x + cross(n, dp1) * duv2.x;
    vec3 b = cross(dp2, n) * duv1.y + cross(n, dp1) * duv2.y;
    // A constant uv still wobbles by a few units in the last place from pixel to pixel.
    float uvChange = max(max(abs(duv1.x), abs(duv1.y)), max(abs(duv2.x), abs(duv2.y)));
    float largest = max(dot(t, t), dot(b, b));
    if (uvChange <= 1e-6 * max(1.0, max(abs(uv.x), abs(uv.y))) || !(largest > 0.0)) return N;
    float s = inversesqrt(largest);
    return normalizeOr(mat3(t * s, b * s, n) * nMap, N);
}

// Reflectivity. Roughness below 0 (a heavy "Roughness" over a dark map) would
// raise 1 - NdV to a negative power, infinite where the surface faces the
// camera; the exponents treat it as 0. NdV comes from an unnormalised normal
// and can pass 1 there; a negative base would make the powers NaN.
float brdf(float r, float m, float NdV) {
    float f = max(0.0, 1.0 - max(0.0, NdV));
    float base = mix(pow(f, 1.0 + 8.0 * max(r, 0.0)), 1.0, m);
    return mix(base, pow(f, 1.0 + 2.0 * max(r, 0.0)), r);
}

vec4 environmentSample(vec3 direction, float lod, float intensity) {
    vec4 c = textureLod(environmentMap, environmentUv(direction), lod) * intensity;
    return pow(max(c, vec4(0.0)), vec4(i_environmentGamma));
}
