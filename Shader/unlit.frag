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
const float waterLevel = 15.0;

// As in the main program: 1 where the eye under water sees this through the surface, 0
// where the surface mirrors the lake instead.
float throughSurface() {
    if (cameraPos.y >= waterLevel) return 1.0;
    vec3 look = normalize(worldPos - cameraPos);
    return smoothstep(0.45, 0.68, look.y);
}

void main() {
    vec4 texel = texture(color_texture, texCoord);
    vec3 colour = singleColor == 1 ? sunColour : texel.rgb;
    if (fog == 1) {
        float distance = length(worldPos - cameraPos);
        float far = float(max(maxFogDist, 1));
        float depth = clamp(distance / far, 0.0, 1.0);
        colour = mix(colour, waterColour, depth * depth * depth);
    }
    colour = mix(waterColour, colour, throughSurface());
    fragColor = vec4(colour, 1.0);
}
