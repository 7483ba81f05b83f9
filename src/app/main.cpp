// Tarnhollow: find Morvie in the lake and take its photo.
#include "app/startup.h"

int main(int argc, char** argv) { return tarn::app::runGame(argc, argv); }
