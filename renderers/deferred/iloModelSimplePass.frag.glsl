#version 330 core
// "iloModelSimplePassShader": the albedo alone (outputMode 0, faded with depth
// as in the G-buffer) or the wrapped texture coordinates (outputMode 1), with
// the eye distance beside it.
in vec3 vWorldPosition;
in vec3 vEyePosition;
in vec3 vWorldNormal;
in vec3 vEyeNormal;
in vec2 uv;
uniform sampler2D chAlbedo;
uniform vec4 ch_c_albedo;
uniform float i_depthAlpha;
uniform float ch_i_albedo;
uniform float depthBase;
uniform int outputMode;
out vec4 frag[2];

float fog(float dist, float density) {
    float d = density * dist;
    return 1.0 - max(depthBase, clamp(exp2(-1.442695 * d * d), 0.0, 1.0));
}

void main() {
    vec4 albedo = texture(chAlbedo, uv) * ch_c_albedo;
    albedo.rgb *= ch_i_albedo;
    if (outputMode == 1)
        frag[0] = vec4(mod(uv, 1.0), 0.0, 1.0);
    else
        frag[0] = vec4(albedo.rgb, albedo.a * (1.0 - fog(length(vEyePosition), max(0.0, i_depthAlpha))));
    frag[1] = vec4(0.0, 0.0, 0.0, length(vEyePosition));
}
