#version 330 core
// Shows the shadow map's depth as grey.
in vec2 uv;

out vec4 fragColor;

uniform sampler2D depthMap;

void main() {
    float depth = texture(depthMap, uv).r;
    fragColor = vec4(vec3(depth), 1.0);
}
