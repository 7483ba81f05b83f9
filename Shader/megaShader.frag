#version 330 core
// The lit scene: diffuse and specular light from the sun. Fog, caustics, spotlight and
// shadows build on these inputs.
in vec3 worldPos;
in vec3 worldNormal;
in vec2 texCoord;
in vec4 projectorCoord;
in vec4 lightSpacePos;

out vec4 fragColor;

uniform sampler2D color_texture;
uniform vec3 lightPos;
uniform vec3 cameraPos;
uniform int material_shininess;
uniform float material_kd;
uniform float material_ks;

void main() {
    vec3 base = texture(color_texture, texCoord).rgb;
    vec3 n = normalize(worldNormal);
    vec3 toLight = normalize(lightPos - worldPos);
    vec3 toEye = normalize(cameraPos - worldPos);
    float diffuse = max(dot(n, toLight), 0.0) * material_kd;
    float specular = pow(max(dot(reflect(-toLight, n), toEye), 0.0), max(float(material_shininess), 1.0))
                     * material_ks;
    fragColor = vec4(base * (0.3 + diffuse) + vec3(specular), 1.0);
}
