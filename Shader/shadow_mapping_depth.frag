#version 330 core
// Depth only: the rasteriser writes gl_FragDepth itself.
void main() {
}
