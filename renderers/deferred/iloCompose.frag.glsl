#version 330 core
// "iloComposeShader": the final colour from the G-buffer. Ambient occlusion
// darkens the albedo, metals lose albedo and indirect light, the diffuse light
// (image-based plus indirect) lights the albedo, reflection and emission are
// added, and the result is premultiplied by the albedo's alpha for later
// compositing. The "Flow" settings mix occlusion and indirect light in on top.
uniform sampler2D i_ch_albedo;
uniform sampler2D i_ch_emission;
uniform sampler2D i_ch_reflection;
uniform sampler2D i_ch_diffuse;
uniform sampler2D i_ch_ao;
uniform sampler2D i_ch_gi;
uniform sampler2D i_ch_pbrdata;
uniform sampler2D i_ch_normal;
uniform int layerMode;  // part of the interface, not read
uniform float giAdd;
uniform float aoMul;
out vec4 frag[1];

void main() {
    vec2 uv = gl_FragCoord.xy / vec2(1920.0, 1080.0);
    vec4 albedo = texture(i_ch_albedo, uv);
    vec4 emission = texture(i_ch_emission, uv);
    vec4 reflection = texture(i_ch_reflection, uv);
    vec4 diffuse = texture(i_ch_diffuse, uv);
    vec4 pbrdata = texture(i_ch_pbrdata, uv);
    vec4 gi = texture(i_ch_gi, uv);
    float ao = texture(i_ch_ao, uv).r;
    float metalness = pbrdata.g;
    float alpha = albedo.a;

    albedo.rgb *= ao;
    albedo.rgb = mix(albedo.rgb, vec3(0.0), metalness);
    diffuse.rgb += mix(gi.rgb, vec3(0.0), metalness);
    reflection.rgb *= reflection.a;
    vec3 colour = albedo.rgb * diffuse.rgb + reflection.rgb;
    colour += emission.rgb;
    colour *= alpha;
    colour *= mix(1.0, ao, aoMul);
    colour += gi.rgb * giAdd;
    frag[0] = vec4(colour, alpha);
}
