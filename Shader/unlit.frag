#version 330 core
// The sky and the sun, which the light does not shade: the main program's colour for
// objects drawn with absoluteLighting, without the lighting it would skip anyway. A
// software renderer runs both sides of every branch, so in the main program the sky,
// which can fill the window, pays for the shadow lookups it never uses.
in vec3 worldPos;
in vec2 texCoord;

out vec4 fragColor;

uniform sampler2D color_texture;
uniform vec3 cameraPos;
uniform int fog;         // 1: fade into the water with distance
uniform int maxFogDist;  // distance at which the fog is complete
uniform int singleColor; // 1: a flat colour instead of a texture (the sun)

// As in the main program.
const vec3 waterColour = vec3(0.325, 0.325, 0.65);
const vec3 sunColour = vec3(1.0, 0.93, 0.65);

void main() {
    vec4 texel = texture(color_texture, texCoord);
    vec3 colour = singleColor == 1 ? sunColour : texel.rgb;
    if (fog == 1) {
        float distance = length(worldPos - cameraPos);
        float far = float(max(maxFogDist, 1));
        float depth = clamp(distance / far, 0.0, 1.0);
        colour = mix(colour, waterColour, depth * depth * depth);
    }
    fragColor = vec4(colour, 1.0);
}
