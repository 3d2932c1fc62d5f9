#version 330 core
// "composeDodge": a layer colour-dodged onto what lies below it (background,
// a copy of the pictures drawn so far), written without blending.
in vec2 texcoord;
in vec2 vtpos;
uniform sampler2D image;
uniform sampler2D neon;
uniform sampler2D maskedEffect;
uniform sampler2D background;
uniform sampler2D backgroundNeon;
uniform float alpha;
uniform float neonIntensity;
uniform float maskedEffectIntensity;
out vec4 frag[2];

float dodge(float base, float blend) {
    return blend == 1.0 ? blend : min(base / (1.0 - blend), 1.0);
}

vec3 dodge(vec3 base, vec3 blend, float opacity) {
    vec3 dodged = vec3(dodge(base.r, blend.r), dodge(base.g, blend.g), dodge(base.b, blend.b));
    return dodged * opacity + base * (1.0 - opacity);
}

void main() {
    vec4 bg = texture(background, vtpos);
    vec4 bgn = texture(backgroundNeon, texcoord);
    vec4 col = texture(image, texcoord);
    vec4 ncol = texture(neon, texcoord);
    vec4 fx = texture(maskedEffect, texcoord) * (maskedEffectIntensity * col.a);
    col *= alpha;
    col.rgb = dodge(bg.rgb, col.rgb, col.a);
    frag[0] = mix(col, fx, maskedEffectIntensity);
    vec4 glow = vec4(vec3((ncol.r + ncol.g + ncol.b) * neonIntensity / 3.0 * col.a), col.a);
    frag[1] = vec4(dodge(bgn.rgb, glow.rgb, alpha), glow.a);
}
