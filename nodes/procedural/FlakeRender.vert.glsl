#version 330 core
// "flakeShader", vertex stage: one flake per point. The flake's place in the
// unit region is scaled to the region, moved along y by speed and time with a
// period of 10 units, swayed in x and z by "Wiggle", then seen by the camera.
// Flakes far from the camera fade with exponential-squared fog.
in vec4 positionSize;   // xyz in [-1, 1), w size factor
in vec4 textureOffset;  // atlas cell corner, cell width and height
in vec4 randoms;        // xyz in [-1, 1)

uniform mat4 cameraMatrix;
uniform mat4 projectionMatrix;
uniform vec3 cameraPosition;
uniform float speed;
uniform float time;
uniform float wiggle;
uniform vec3 center;
uniform vec3 size;
uniform float depthAlpha;

out vec4 g_positionSize;
out vec4 g_textureOffset;
out vec4 g_randoms;
out float g_transparency;
out float g_eyeDistance;

float fog(float d, float density) {
    float x = density * d;
    return 1.0 - clamp(exp2(x * x * -1.442695), 0.0, 1.0);
}

void main() {
    vec3 pos = positionSize.xyz * size;
    pos.y += speed * time;
    pos.y = mod(pos.y + size.y, 10.0) - size.y;
    pos.x += sin(pos.y + randoms.x + cos(pos.y * randoms.y) * randoms.z) * wiggle;
    pos.z += sin(pos.y * randoms.y + randoms.z + sin(pos.y) * randoms.x) * wiggle;

    vec3 world = pos + center;
    g_transparency = 1.0 - fog(length(world - cameraPosition), depthAlpha);
    vec4 eye = cameraMatrix * vec4(world, 1.0);
    g_eyeDistance = length(eye.xyz);
    gl_Position = projectionMatrix * eye;

    g_positionSize = positionSize;
    g_textureOffset = textureOffset;
    g_randoms = randoms;
}
