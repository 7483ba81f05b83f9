// Between the frame and the album: pixel reads wait here for their facts and for GL.
#include "app/photos.h"

#include <deque>
#include <iostream>
#include <memory>
#include <optional>

#include "app/photo_album.h"
#include "render/frame_capture.h"

namespace tarn::app {

namespace {

struct Shot {
    PhotoFacts facts;
    bool noted = false;  // a read the rule did not follow with a photo is dropped
};

std::unique_ptr<PhotoAlbum> album;
render::FrameCapture capture;
std::deque<Shot> shots;  // one per read in capture, oldest first

void printReports() {
    if (!album) return;
    for (const PhotoReport& report : album->takeReports()) {
        (report.kept ? std::cout : std::cerr) << report.line << std::endl;
    }
}

void handOver(bool waitForAll) {
    for (render::CapturedFrame& frame : capture.collect(waitForAll)) {
        const Shot shot = shots.front();
        shots.pop_front();
        if (shot.noted && !frame.rgba.empty()) {
            album->keep(frame.width, frame.height, std::move(frame.rgba), shot.facts);
        }
    }
}

}  // namespace

void beginPhotos(const std::string& folder) {
    endPhotos();
    if (!folder.empty()) album = std::make_unique<PhotoAlbum>(folder);
}

void openShutter(int width, int height) {
    if (!album) return;
    capture.request(width, height);
    Shot shot;
    shot.facts.takenAt = std::chrono::system_clock::now();
    shots.push_back(shot);
}

void notePhoto(const PhotoTaken& photo) {
    if (shots.empty() || shots.back().noted) return;
    Shot& shot = shots.back();
    shot.noted = true;
    shot.facts.judged = photo;
}

void developPhotos() {
    if (!album) return;
    handOver(false);
    printReports();
}

void endPhotos() {
    if (album) {
        handOver(true);
        album->finish();
        printReports();
    }
    capture.release();
    shots.clear();
    album.reset();
}

}  // namespace tarn::app
