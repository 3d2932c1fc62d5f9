#version 330 core
// "glowCompose": the input plus the blurred copy times blurIntensity.
in vec2 texcoord;
in vec2 texcoord_Input[2];
uniform sampler2D image;
uniform sampler2D blurImage;
uniform float blurIntensity;
out vec4 frag[1];

void main() {
    frag[0] = texture(image, texcoord_Input[0]) + texture(blurImage, texcoord) * blurIntensity;
}
