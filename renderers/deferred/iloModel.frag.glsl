#version 330 core
// "iloModelShader": one material's surface into the seven G-buffer channels:
// 0 albedo (alpha faded with depth), 1 eye-space normal and distance,
// 2 eye-space position and z, 3 emission and its intensity, 4 reflected
// environment and reflectivity, 5 image-based diffuse light, 6 roughness and
// metalness.
#include "iloSurface.glsl"
uniform sampler2D chDynamicReflection;
uniform float i_metalnessGamma;  // part of the interface, not read
uniform float receiveDynamicReflection;
out vec4 frag[7];

float fog(float dist, float density) {
    float d = density * dist;
    return 1.0 - max(depthBase, clamp(exp2(-1.442695 * d * d), 0.0, 1.0));
}

void main() {
    vec2 ss_uv = gl_FragCoord.xy / vec2(1920.0, 1080.0);
    // Derivatives first, while every fragment of the quad is still running.
    vec3 worldNormal = perturbedNormal(normalizeOr(vWorldNormal, vec3(0.0)), vWorldPosition);
    vec3 eyeNormal = perturbedNormal(normalizeOr(vEyeNormal, vec3(0.0)), vEyePosition);

    vec3 view = vWorldPosition - cameraPosition;
    float L = length(view);
    if (L < nearClip || L > farClip) discard;
    view = L > 0.0 ? view / L : vec3(0.0);

    float metalness = mix(1.0, max(0.0, texture(chMetalness, uv).r), ch_i_metalness);
    float roughness = mix(1.0, texture(chRoughness, uv).r, ch_i_roughness);
    float envLod = 12.0 * roughness;
    float NdV = max(0.001, dot(vEyeNormal, -normalizeOr(vEyePosition, vec3(0.0))));

    vec4 albedo = texture(chAlbedo, uv) * ch_c_albedo;
    albedo.rgb *= ch_i_albedo;

    frag[1] = vec4(normalizeOr(eyeNormal, vec3(0.0)), length(vEyePosition));
    frag[2] = vec4(vEyePosition, vEyePosition.z);

    vec4 e = texture(chEmission, uv) * ch_c_emission;
    float emissionIntensity = dot(e.rgb, vec3(0.299, 0.587, 0.114)) * ch_i_emission;
    e.rgb *= min(3.0, ch_i_emission) * mix(1.0, NdV, ch_i_emissionIncident);
    frag[3] = vec4(e.rgb, emissionIntensity);

    vec3 R = normalizeOr(reflect(-view, worldNormal), vec3(0.0));
    vec4 env = environmentSample(R, envLod, i_environmentIntensity);
    vec2 offset = eyeNormal.xz * 0.05 * (1.0 - abs(worldNormal.y));
    vec4 dyn = texture(chDynamicReflection, ss_uv + offset) * receiveDynamicReflection;
    float blur = min(1.0, roughness);
    dyn.rgb = mix(dyn.rgb, vec3(0.5), blur);
    dyn.a *= 1.0 - blur * blur;
    env.rgb = mix(env.rgb, dyn.rgb, dyn.a);
    frag[4] = vec4(env.rgb, brdf(roughness, metalness, NdV));

    frag[5] = environmentSample(normalizeOr(vWorldNormal, vec3(0.0)), iblDiffuseLevel, i_iblIntensity);
    frag[6] = vec4(roughness, metalness, 0.0, 1.0);

    float fade = fog(length(vEyePosition), max(0.0, i_depthAlpha * (1.0 - 0.75 * emissionIntensity)));
    frag[0] = vec4(albedo.rgb, albedo.a * (1.0 - fade));
}
