#version 330 core
// Light shafts: radial samples of the rendered scene towards the sun's screen position.
in vec2 uv;

out vec4 fragColor;

uniform sampler2D firstPass;
uniform vec3 lightPositionOnScreen; // xy used; z repeats x
uniform int sunInFrustrum;
uniform float exposure;
uniform float decay;
uniform float density;
uniform float weight;

const int samples = 100;

void main() {
    vec3 scene = texture(firstPass, uv).rgb;
    if (sunInFrustrum == 0) {
        fragColor = vec4(scene, 1.0);
        return;
    }
    vec2 step = (uv - lightPositionOnScreen.xy) * density / float(samples);
    vec2 coord = uv;
    float illumination = 1.0;
    vec3 shafts = vec3(0.0);
    for (int i = 0; i < samples; ++i) {
        coord -= step;
        shafts += texture(firstPass, coord).rgb * illumination * weight;
        illumination *= decay;
    }
    fragColor = vec4(scene + shafts * exposure, 1.0);
}
