#version 330 core
// The lit scene: every scene object is drawn with this program. Besides the clip position
// it hands on the world position and normal, the caustics projector's coordinates and the
// position in the light's space for the shadow lookup.
layout (location = 0) in vec3 position;
layout (location = 1) in vec3 normal;
layout (location = 2) in vec2 uv;

out vec3 worldPos;
out vec3 worldNormal;
out vec2 texCoord;
out vec4 projectorCoord;
out vec4 lightSpacePos;

uniform mat4 model;
uniform mat4 view_project;
uniform mat4 projectorMatrix;
uniform mat4 lightSpaceMatrix;

void main() {
    vec4 world = model * vec4(position, 1.0);
    worldPos = world.xyz;
    worldNormal = mat3(transpose(inverse(model))) * normal;
    texCoord = uv;
    projectorCoord = projectorMatrix * world;
    lightSpacePos = lightSpaceMatrix * world;
    gl_Position = view_project * world;
}
