#version 330 core
// Overlay text: one glyph quad in window pixels, lower-left origin.
layout (location = 0) in vec4 vertex; // xy position, zw texture coordinates

out vec2 texCoords;

uniform mat4 projection;

void main() {
    gl_Position = projection * vec4(vertex.xy, 0.0, 1.0);
    texCoords = vertex.zw;
}
