#version 330 core
// The full-screen quad squeezed into a rectangle of normalised device
// coordinates (x0, y0, x1, y1): the screen passes draw the whole target or the
// letterboxed picture with it. They read gl_FragCoord, not texture coordinates.
in vec4 vertex;
in vec2 uv;
uniform vec4 rectangle;

void main() {
    gl_Position = vec4(mix(rectangle.xy, rectangle.zw, uv), 0.0, 1.0);
}
