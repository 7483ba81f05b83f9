#version 330 core
// The lit scene: sunlight with soft-edged shadows, animated caustics projected from above,
// the player's spotlight, and distance fog that swallows the lake towards the fog distance.
in vec3 worldPos;
in vec3 worldNormal;
in vec2 texCoord;
in vec4 projectorCoord;
in vec4 lightSpacePos;

out vec4 fragColor;

uniform sampler2D color_texture;
uniform sampler2D projected_texture;
uniform sampler2D shadowMap;

uniform vec3 lightPos;
uniform vec3 cameraPos;
uniform vec3 cameraFront;

uniform int material_shininess;
uniform float material_kd;
uniform float material_ks;

uniform int project;          // 1: caustics on this object
uniform int transparent;      // 1: the water surface, see-through
uniform int fog;              // 1: fade into the water with distance
uniform int maxFogDist;       // distance at which the fog is complete
uniform int singleColor;      // 1: a flat colour instead of a texture (the sun)
uniform int absoluteLighting; // 1: unlit, the colour as it is (sky, sun)
uniform int spotlight;        // 1: the player's light is on
uniform float cones;          // cosine of the spotlight's full-strength half angle
uniform float outerCones;     // cosine of the angle where it has faded out
uniform int shadows;          // 1: look up the shadow map

// The colour the window is cleared to: fog ends in it, so fogged geometry meets the empty
// background without a seam.
const vec3 waterColour = vec3(0.325, 0.325, 0.65);
const vec3 sunColour = vec3(1.0, 0.93, 0.65);
const float waterLevel = 15.0;

// 0 in full shadow, 1 in full light; a 5 by 5 filter softens the edges.
float lightVisibility(vec3 n, vec3 toLight) {
    vec3 p = lightSpacePos.xyz / lightSpacePos.w * 0.5 + 0.5;
    if (p.z > 1.0) return 1.0;
    float bias = max(0.004 * (1.0 - dot(n, toLight)), 0.0008);
    vec2 texel = 1.0 / vec2(textureSize(shadowMap, 0));
    float lit = 0.0;
    for (int x = -2; x <= 2; ++x) {
        for (int y = -2; y <= 2; ++y) {
            float closest = texture(shadowMap, p.xy + vec2(x, y) * texel * 1.5).r;
            lit += (p.z - bias > closest) ? 0.0 : 1.0;
        }
    }
    return lit / 25.0;
}

void main() {
    vec4 texel = texture(color_texture, texCoord);
    vec3 base = singleColor == 1 ? sunColour : texel.rgb;
    float alpha = transparent == 1 ? 0.55 : 1.0;

    vec3 colour;
    if (absoluteLighting == 1) {
        colour = base;
    } else {
        vec3 n = normalize(worldNormal);
        vec3 toLight = normalize(lightPos - worldPos);
        vec3 toEye = normalize(cameraPos - worldPos);
        // The water surface is seen from both sides.
        if (dot(n, toEye) < 0.0) n = -n;

        float visibility = shadows == 1 ? lightVisibility(n, toLight) : 1.0;
        float diffuse = max(dot(n, toLight), 0.0);
        vec3 halfway = normalize(toLight + toEye);
        float shininess = max(float(material_shininess), 1.0);
        float specular = material_shininess > 0 ? pow(max(dot(n, halfway), 0.0), shininess) : 0.0;

        vec3 ambient = 0.3 * base;
        vec3 lit = base * diffuse * (0.4 + material_kd) + vec3(specular * material_ks);
        colour = ambient + visibility * lit;

        if (project == 1 && worldPos.y < waterLevel) {
            // The projector repeats its 20 by 20 unit pattern across the lake.
            vec2 c = projectorCoord.xy / projectorCoord.w * 0.5 + 0.5;
            vec3 caustics = texture(projected_texture, c).rgb;
            float facingUp = clamp(n.y * 0.7 + 0.3, 0.0, 1.0);
            colour += caustics * caustics * 1.1 * facingUp * (0.35 + 0.65 * visibility);
        }

        if (spotlight == 1) {
            vec3 toFragment = normalize(worldPos - cameraPos);
            float theta = dot(toFragment, normalize(cameraFront));
            float cone = clamp((theta - outerCones) / (cones - outerCones), 0.0, 1.0);
            float distance = length(worldPos - cameraPos);
            float reach = 1.0 / (1.0 + 0.09 * distance + 0.02 * distance * distance);
            float facing = max(dot(n, -toFragment), 0.0);
            colour += base * cone * reach * facing * 2.2 + vec3(cone * reach * specular * material_ks);
        }
    }

    if (fog == 1) {
        float distance = length(worldPos - cameraPos);
        // Nearly clear for the first half of the fog distance, so what the player can reach
        // is never veiled, then thickening fast to complete at the fog distance.
        float far = float(max(maxFogDist, 1));
        float depth = clamp(distance / far, 0.0, 1.0);
        colour = mix(colour, waterColour, depth * depth * depth);
    }
    fragColor = vec4(colour, alpha);
}
