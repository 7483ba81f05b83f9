#version 330 core
// Overlay text: the glyph's red channel is its coverage, blended over the frame.
in vec2 texCoords;

out vec4 color;

uniform sampler2D text;
uniform vec3 textColor;

void main() {
    float coverage = texture(text, texCoords).r;
    color = vec4(textColor, coverage);
}
