#version 330 core
// "compose": a layer into the colour picture (frag[0]) and the neon picture
// (frag[1]). The colour is the layer at its opacity, or, on mask layers, the
// "Masked FX" picture seen through the layer's coverage. The neon picture
// gets the layer's brightness where it is a glow source or a mask.
in vec2 texcoord;
uniform sampler2D image;
uniform sampler2D neon;
uniform sampler2D maskedEffect;
uniform float alpha;
uniform float neonIntensity;
uniform float maskedEffectIntensity;
out vec4 frag[2];

void main() {
    vec4 col = texture(image, texcoord);
    vec4 ncol = texture(neon, texcoord);
    vec4 fx = texture(maskedEffect, texcoord) * (maskedEffectIntensity * col.a);
    col *= alpha;
    frag[0] = mix(col, fx, maskedEffectIntensity);
    float k = max(neonIntensity, maskedEffectIntensity);
    frag[1] = vec4(vec3((ncol.r + ncol.g + ncol.b) * k / 3.0 * col.a), col.a);
}
