#version 330 core
// "iloOutputLayerShader": one G-buffer channel or intermediate result made
// visible, chosen by layerMode (the renderer's "Output" choice). Unless a mode
// says otherwise the albedo's alpha is kept.
uniform sampler2D albedo;
uniform sampler2D normals;
uniform sampler2D position;
uniform sampler2D emission;
uniform sampler2D reflection;
uniform sampler2D diffuse;
uniform sampler2D pbrdata;
uniform sampler2D ao;
uniform sampler2D gi;
uniform sampler2D environment;
uniform sampler2D dynReflection;
uniform int layerMode;
out vec4 frag[1];

void main() {
    vec2 uv = gl_FragCoord.xy / vec2(1920.0, 1080.0);
    vec4 colour = texture(albedo, uv);
    if (layerMode == 2) {
        colour.rgb = (texture(normals, uv).xyz + 1.0) * 0.5;
    } else if (layerMode == 3) {
        colour.rgb = texture(position, uv).xyz * 0.05 + 1.0;
    } else if (layerMode == 4) {
        colour = vec4(vec3(abs(texture(normals, uv).w) * 0.05), 1.0);
    } else if (layerMode == 5) {
        vec4 e = texture(emission, uv);
        colour.rgb = e.rgb * e.w;
    } else if (layerMode == 6) {
        vec4 r = texture(reflection, uv);
        colour.rgb = r.rgb * r.a;
    } else if (layerMode == 7) {
        colour.rgb = vec3(texture(reflection, uv).a);
    } else if (layerMode == 8) {
        colour.rgb = texture(diffuse, uv).rgb;
    } else if (layerMode == 9) {
        colour.rgb = vec3(texture(pbrdata, uv).r);
    } else if (layerMode == 10) {
        colour.rgb = vec3(texture(pbrdata, uv).g);
    } else if (layerMode == 11) {
        colour = vec4(texture(ao, uv).rgb, 1.0);
    } else if (layerMode == 12) {
        colour.rgb = texture(gi, uv).rgb;
    } else if (layerMode == 13) {
        colour = vec4(texture(environment, uv).rgb, 1.0);
    } else if (layerMode == 14) {
        colour = texture(dynReflection, uv);
    }
    frag[0] = colour;
}
