#version 330 core
// Overlay text in two passes over the same glyph quads: first a dark ring around the
// glyphs, so the text reads on the bright floor and the blue water alike, then the glyphs,
// their red channel the coverage, in the text's own colour over it.
in vec2 texCoords;

out vec4 color;

uniform sampler2D text;
uniform vec3 textColor;
uniform bool outlinePass;

// The green channel spans this many texels of distance outside the glyph's edge: the
// glyph textures' padding.
const float fieldReach = 4.0;

void main() {
    vec2 glyph = texture(text, texCoords).rg;
    if (!outlinePass) {
        color = vec4(textColor, glyph.r);
        return;
    }
    // Texels per screen pixel: the inverse of the text's scale.
    vec2 footprint = fwidth(texCoords * vec2(textureSize(text, 0)));
    float texelsPerPixel = max(footprint.x, footprint.y);
    // Two texels, two pixels at scale 1 and more for larger text; small text keeps a ring of
    // a pixel and a half, or its strokes would touch the background.
    float ringWidth = clamp(1.5 * texelsPerPixel, 2.0, fieldReach - 0.5);
    float outside = glyph.g * fieldReach;
    float ring = clamp((ringWidth - outside) / texelsPerPixel + 0.5, 0.0, 1.0);
    color = vec4(0.0, 0.0, 0.0, ring);
}
