// The camera's film: the shutter reads the frame's picture before the overlay is drawn, the
// photo rule adds the facts, and the album writes both to disk away from the frame.
#pragma once

#include <string>

#include "app/rules.h"

namespace tarn::app {

// Keeps photos in folder from now on; empty keeps none, as before the first call. An
// album kept before is finished first.
void beginPhotos(const std::string& folder);

// Reads the window as it stands: call after the frame's 3D passes and before the overlay,
// in a frame whose photo rule will take a photo. Does nothing while no photos are kept.
void openShutter(int width, int height);
// The photo rule's word on this frame's shot.
void notePhoto(const PhotoTaken& photo);
// Once a frame: reads that have finished go to the album, and how earlier photos ended goes
// to the console (standard error for one that could not be kept).
void developPhotos();
// At shutdown, while the context lives: the last reads, a bounded wait for the writer, its
// lines, and no photos kept any more.
void endPhotos();

}  // namespace tarn::app
