// The photos a player keeps: every shot written as a PNG with its facts into the player's
// pictures folder, on a thread of its own so that no frame waits for the disk.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/rules.h"

namespace tarn::app {

struct PhotoFacts {
    std::chrono::system_clock::time_point takenAt;
    PhotoTaken judged;  // the photo rule's facts of the shot
};

// Where photos go: TARNHOLLOW_PHOTO_DIR when it is set; otherwise a Tarnhollow folder in the
// pictures folder the desktop names (XDG_PICTURES_DIR in the environment or in
// $XDG_CONFIG_HOME/user-dirs.dirs); otherwise $XDG_DATA_HOME/tarnhollow/photos. Empty means
// keep none: TARNHOLLOW_PHOTO_DIR set to the empty string, or no home folder to go by.
// lookup returns an environment variable's value, null when it is unset; a relative
// TARNHOLLOW_PHOTO_DIR is taken from startFolder.
std::string photoFolder(const std::function<const char*(const char*)>& lookup,
                        const std::string& startFolder);
// From the environment and the working directory: ask before changing into the data folder.
std::string photoFolderFromEnvironment();

// How one photo ended, for the console.
struct PhotoReport {
    bool kept = false;
    std::string line;  // for standard output when kept, standard error when not
};

class PhotoAlbum {
public:
    // Makes nothing on disk: the folder comes with the first photo.
    explicit PhotoAlbum(std::string folder);
    // Finishes with the default bound.
    ~PhotoAlbum();
    PhotoAlbum(const PhotoAlbum&) = delete;
    PhotoAlbum& operator=(const PhotoAlbum&) = delete;

    static constexpr std::chrono::milliseconds exitBound{10000};

    // Hands a picture (RGBA, bottom row first) to the writer and returns at once.
    void keep(int width, int height, std::vector<std::uint8_t> rgbaBottomUp,
              const PhotoFacts& facts);
    // How the photos finished since the last call ended, in the order they were taken.
    std::vector<PhotoReport> takeReports();
    // Waits up to bound for every photo handed over, then stops the writer. A photo not
    // begun by then is reported as not kept. Later keeps are refused; safe to call twice.
    void finish(std::chrono::milliseconds bound = exitBound);

    const std::string& folder() const { return folder_; }

private:
    struct Job {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> rgba;
        PhotoFacts facts;
    };
    void writeJobs();
    PhotoReport write(const Job& job);

    std::string folder_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;  // waiting; the one being written is not here
    bool writing_ = false;
    bool stopping_ = false;
    std::vector<PhotoReport> reports_;
    std::thread writer_;
};

}  // namespace tarn::app
