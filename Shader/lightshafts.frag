#version 330 core
// Light shafts: light from the sun and the bright water around it, streaked towards each
// pixel along the line to the sun. Whatever darkens that line (fish, ducks, the dim
// stretches between the caustics) casts a gap into the shafts.
in vec2 uv;

out vec4 fragColor;

uniform sampler2D firstPass;
uniform vec3 lightPositionOnScreen; // xy used; z repeats x
uniform int sunInFrustrum;
uniform float exposure; // overall strength of the shafts
uniform float decay;    // what is left of a sample's light at the sun's end of the line
uniform float density;  // how fast the glow around the sun fades across the screen
uniform float weight;   // strength of each sample

const int samples = 48;
const vec3 sunTint = vec3(1.0, 0.93, 0.7);
// Only light brighter than the open water casts shafts.
const float thresholdLow = 0.3;
const float thresholdHigh = 0.6;

// Screen distances measured in the height of the window, so the glow is round.
vec2 aspectScale() {
    vec2 size = vec2(textureSize(firstPass, 0));
    return vec2(size.x / size.y, 1.0);
}

// The light one point of the picture sends towards the viewer along its shaft.
float emission(vec2 at, vec2 sun, vec2 scale) {
    if (any(lessThan(at, vec2(0.0))) || any(greaterThan(at, vec2(1.0)))) return 0.0;
    float brightness = dot(texture(firstPass, at).rgb, vec3(0.2126, 0.7152, 0.0722));
    float glow = exp(-density * length((at - sun) * scale));
    float bright = smoothstep(thresholdLow, thresholdHigh, brightness);
    return bright * bright * glow;
}

// Beams of uneven strength fanning out from the sun, fixed in the picture like the ones
// broken by the surface's ripples; three waves of unrelated counts keep them irregular.
float beamPattern(vec2 fromSun) {
    float angle = atan(fromSun.y, fromSun.x);
    float beams = sin(angle * 11.0) * 0.5 + sin(angle * 17.0 + 1.7) * 0.3
                + sin(angle * 29.0 + 0.4) * 0.2;
    return 0.5 + 0.5 * beams;
}

void main() {
    // The exact pixel of the scene, so the picture passes unchanged where no shaft falls.
    ivec2 texel = ivec2(uv * vec2(textureSize(firstPass, 0)));
    vec3 scene = texelFetch(firstPass, texel, 0).rgb;
    if (sunInFrustrum == 0) {
        fragColor = vec4(scene, 1.0);
        return;
    }

    vec2 sun = lightPositionOnScreen.xy;
    vec2 scale = aspectScale();
    vec2 step = (sun - uv) / float(samples);
    float falloff = pow(decay, 1.0 / float(samples));
    // Sampled at the middle of each step, so neither end of the line weighs double.
    vec2 at = uv + step * 0.5;
    float light = 0.0;
    float reach = 1.0;
    for (int i = 0; i < samples; ++i) {
        light += emission(at, sun, scale) * reach;
        reach *= falloff;
        at += step;
    }
    // The beams start at the rim of the sun; its disc itself stays whole.
    vec2 fromSun = (uv - sun) * scale;
    float beamDepth = 0.55 * smoothstep(0.03, 0.12, length(fromSun));
    float beams = 1.0 - beamDepth * (1.0 - beamPattern(fromSun));
    vec3 shafts = sunTint * light / float(samples) * weight * exposure * beams;
    // Screen blend: the shafts lighten towards white but never clip.
    fragColor = vec4(1.0 - (1.0 - scene) * (1.0 - clamp(shafts, 0.0, 1.0)), 1.0);
}
