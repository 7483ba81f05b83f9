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
uniform int rockFaces;        // 1: the lakebed, whose steep faces are rock

// The colour the window is cleared to: fog ends in it, so fogged geometry meets the empty
// background without a seam.
const vec3 waterColour = vec3(0.325, 0.325, 0.65);
const vec3 sunColour = vec3(1.0, 0.93, 0.65);
const float waterLevel = 15.0;
// The lakebed's texture coordinates are its x and z over this many units.
const float floorRepeat = 6.0;

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

// The lakebed's texture is laid on from above, so down a bank or a rock's flank each texel
// is drawn out into a streak. Where the floor is steep it is laid on from the side instead,
// from the horizontal axis the slope faces more. Still one lookup: a software renderer runs
// both sides of a branch, so blending three lookups here would make every fragment of every
// object pay for them, the water surface's included.
vec2 floorCoordinates(vec3 n) {
    if (abs(n.y) > 0.66) return texCoord;  // a slope under about 49 degrees
    return (abs(n.x) > abs(n.z) ? worldPos.zy : worldPos.xy) / floorRepeat;
}

// Bare rock on the steep faces, moss on the flats. The grey is complete before the lookup
// above turns to the side, so the change of pattern there does not show as a change of
// colour as well.
vec3 rockTone(vec3 colour, vec3 n) {
    float steep = smoothstep(0.86, 0.68, abs(n.y));  // from about 30 to about 47 degrees
    float grain = dot(colour, vec3(0.3, 0.59, 0.11));
    return mix(colour, mix(colour, vec3(grain) * vec3(1.0, 0.96, 0.9), 0.7), steep);
}

// Seen from under water, the surface lets through only what lies within the cone of about
// 49 degrees around the vertical that light from above is bent into. A flatter look meets
// its underside as a mirror of the lake, so the surface and the sky and sun beyond it take
// the water's colour there: the sky past the lake's edge is never seen. The cone's edge is
// softened, fading from 47 to 63 degrees. 1 where it is seen through, 0 where it is hidden.
float throughSurface() {
    if (cameraPos.y >= waterLevel) return 1.0;
    vec3 look = normalize(worldPos - cameraPos);
    return smoothstep(0.45, 0.68, look.y);
}

void main() {
    vec3 surfaceNormal = normalize(worldNormal);
    vec4 texel = texture(color_texture,
                         rockFaces == 1 ? floorCoordinates(surfaceNormal) : texCoord);
    if (rockFaces == 1) texel.rgb = rockTone(texel.rgb, surfaceNormal);
    vec3 base = singleColor == 1 ? sunColour : texel.rgb;
    float alpha = transparent == 1 ? 0.55 : 1.0;

    vec3 colour;
    if (absoluteLighting == 1) {
        colour = base;
    } else {
        vec3 n = surfaceNormal;
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
    if (absoluteLighting == 1 || transparent == 1) {
        colour = mix(waterColour, colour, throughSurface());
    }
    fragColor = vec4(colour, alpha);
}
