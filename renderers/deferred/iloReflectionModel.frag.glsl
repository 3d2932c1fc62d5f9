#version 330 core
// "iloReflectionModelShader": the scene mirrored about the plane y =
// clipHeight, shaded in one go (diffuse environment light on the albedo, the
// reflected environment, emission) into the dynamic-reflection buffer that the
// G-buffer pass samples. Mirrored fragments on the far side of the plane are
// dropped.
#include "iloSurface.glsl"
uniform float clipHeight;
out vec4 frag[1];

void main() {
    vec3 worldNormal = perturbedNormal(normalizeOr(vWorldNormal, vec3(0.0)), vWorldPosition);

    if (vWorldPosition.y <= clipHeight) discard;
    vec3 view = vWorldPosition - cameraPosition;
    float L = length(view);
    if (L < nearClip || L > farClip) discard;
    view = L > 0.0 ? view / L : vec3(0.0);
    vec3 R = normalizeOr(reflect(-view, worldNormal), vec3(0.0));

    float metalness = mix(1.0, max(0.0, texture(chMetalness, uv).r), ch_i_metalness);
    float roughness = mix(0.0, texture(chRoughness, uv).r, ch_i_roughness);
    float envLod = 12.0 * roughness;
    float NdV = max(0.001, dot(vEyeNormal, -normalizeOr(vEyePosition, vec3(0.0))));

    vec4 albedo = texture(chAlbedo, uv) * ch_c_albedo;
    albedo.rgb = mix(albedo.rgb, vec3(0.04), metalness) * ch_i_albedo;

    vec4 e = texture(chEmission, uv) * ch_c_emission;
    e.rgb *= ch_i_emission * mix(1.0, 1.0 - NdV, ch_i_emissionIncident);
    e.a = dot(e.rgb, vec3(0.299, 0.587, 0.114));

    vec4 env = environmentSample(R, envLod, i_environmentIntensity);
    vec4 diffuse = environmentSample(normalizeOr(vWorldNormal, vec3(0.0)), iblDiffuseLevel, i_iblIntensity);

    vec3 colour = diffuse.rgb * albedo.rgb + env.rgb * brdf(roughness, metalness, NdV);
    colour = mix(colour + e.rgb, e.rgb, e.a);
    frag[0] = vec4(colour, 1.0);
}
