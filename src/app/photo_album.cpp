// Writing kept photos: the folder, the file names, the facts as PNG text, and a write that
// leaves either the whole photo or nothing.
#include "app/photo_album.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "gfx/png_writer.h"

namespace tarn::app {

namespace {

constexpr int writerNiceness = 10;

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// XDG_PICTURES_DIR as xdg-user-dirs writes it: "$HOME/Pictures" or an absolute path, in
// double quotes. The home folder itself means the desktop has no pictures folder.
std::string picturesFromUserDirs(const std::string& file, const std::string& home) {
    std::ifstream in(file);
    std::string line, value;
    const std::string key = "XDG_PICTURES_DIR=";
    while (std::getline(in, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        value = line.substr(start + key.size());
    }
    if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.find('"', 1) - 1);
    if (value.rfind("$HOME", 0) == 0) {
        value = home + value.substr(5);
    } else if (value.empty() || value.front() != '/') {
        return {};
    }
    value = withoutTrailingSlashes(value);
    return value == withoutTrailingSlashes(home) ? std::string() : value;
}

std::string errorText(int error) { return std::strerror(error); }

// "20261207T044459Z": UTC, so names sort by time across changes of the clocks.
std::string fileStamp(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

// "2026-12-07T05:44:59.123+01:00": the player's own clock, with its offset.
std::string isoTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[32], offset[8];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    std::strftime(offset, sizeof offset, "%z", &local);
    char text[48];
    std::snprintf(text, sizeof text, "%s.%03d%.3s:%.2s", date, int(millis), offset, offset + 3);
    return text;
}

std::vector<gfx::PngText> factTexts(const PhotoFacts& facts) {
    char distance[32];
    std::snprintf(distance, sizeof distance, "%.2f m", double(facts.judged.distanceToMorvie));
    std::vector<gfx::PngText> texts = {
        {"Title", facts.judged.hit ? "Morvie" : "A photo from the lake"},
        {"Creation Time", isoTime(facts.takenAt)},
        {"Distance to Morvie", distance},
        {"Result", facts.judged.hit ? "hit" : "miss"},
        {"Spotlight", facts.judged.spotlightOn ? "on" : "off"},
        {"Photos left", std::to_string(facts.judged.photosLeft)},
        {"Software", "Tarnhollow"},
    };
    if (!facts.judged.hit) {
        texts.push_back({"Missed because", facts.judged.inRange ? "Morvie was not in the picture"
                                                                : "too far from Morvie"});
    }
    return texts;
}

bool writeWhole(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

// Gives the finished temporary file its name without ever replacing a file: the first
// free of stem-01.png, stem-02.png, ... Returns the path, or empty with errno set.
std::string nameWithoutReplacing(const std::string& temp, const std::string& stem) {
    for (int n = 1; n < 1000; ++n) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "-%02d.png", n);
        const std::string path = stem + suffix;
        if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
            return path;
        }
        if (errno == EEXIST) continue;
        if (errno != EINVAL && errno != ENOSYS) return {};
        // A file system without no-replace renames: a hard link never replaces either.
        if (link(temp.c_str(), path.c_str()) == 0) {
            unlink(temp.c_str());
            return path;
        }
        if (errno != EEXIST) return {};
    }
    errno = EEXIST;
    return {};
}

}  // namespace

std::string photoFolder(const std::function<const char*(const char*)>& lookup,
                        const std::string& startFolder) {
    if (const char* chosen = lookup("TARNHOLLOW_PHOTO_DIR")) {
        // The game changes into its data folder: a relative folder means the one the player
        // started it from, and the console names it whole.
        if (chosen[0] == '\0' || chosen[0] == '/') return chosen;
        return withoutTrailingSlashes(
            (std::filesystem::path(startFolder) / chosen).lexically_normal().string());
    }
    const char* homeValue = lookup("HOME");
    const std::string home = homeValue ? homeValue : "";
    const auto absolute = [&](const char* name) {
        const char* value = lookup(name);
        return value && value[0] == '/' ? std::string(value) : std::string();
    };

    std::string pictures = absolute("XDG_PICTURES_DIR");
    if (pictures.empty() && !home.empty()) {
        std::string config = absolute("XDG_CONFIG_HOME");
        if (config.empty()) config = home + "/.config";
        pictures = picturesFromUserDirs(config + "/user-dirs.dirs", home);
    }
    if (!pictures.empty()) return withoutTrailingSlashes(pictures) + "/Tarnhollow";

    std::string data = absolute("XDG_DATA_HOME");
    if (data.empty() && !home.empty()) data = home + "/.local/share";
    return data.empty() ? std::string() : withoutTrailingSlashes(data) + "/tarnhollow/photos";
}

std::string photoFolderFromEnvironment() {
    std::error_code noWorkingDir;
    const std::string here = std::filesystem::current_path(noWorkingDir).string();
    return photoFolder([](const char* name) { return std::getenv(name); }, here);
}

PhotoAlbum::PhotoAlbum(std::string folder) : folder_(withoutTrailingSlashes(std::move(folder))) {}

PhotoAlbum::~PhotoAlbum() { finish(); }

void PhotoAlbum::keep(int width, int height, std::vector<std::uint8_t> rgbaBottomUp,
                      const PhotoFacts& facts) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    jobs_.push_back({width, height, std::move(rgbaBottomUp), facts});
    if (!writer_.joinable()) writer_ = std::thread([this] { writeJobs(); });
    changed_.notify_all();
}

std::vector<PhotoReport> PhotoAlbum::takeReports() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<PhotoReport> taken;
    taken.swap(reports_);
    return taken;
}

void PhotoAlbum::finish(std::chrono::milliseconds bound) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, bound, [this] { return jobs_.empty() && !writing_; });
    const size_t lost = jobs_.size();
    jobs_.clear();
    stopping_ = true;
    changed_.notify_all();
    lock.unlock();
    // What is being written now is finished: a photo is never cut off halfway.
    if (writer_.joinable()) writer_.join();
    lock.lock();
    for (size_t i = 0; i < lost; ++i) {
        reports_.push_back(
            {false, "Photo not kept: the game closed before it was written into " + folder_});
    }
}

void PhotoAlbum::writeJobs() {
    // Behind the frames: on a software renderer the frame's own threads fill every core, and
    // a photo written a little later costs the player nothing. Still enough of a share to
    // finish at exit, when the frame loop has stopped.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), writerNiceness);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        const Job job = std::move(jobs_.front());
        jobs_.pop_front();
        writing_ = true;
        lock.unlock();
        PhotoReport report = write(job);
        lock.lock();
        reports_.push_back(std::move(report));
        writing_ = false;
        changed_.notify_all();
    }
}

PhotoReport PhotoAlbum::write(const Job& job) {
    std::string error;
    const std::string bytes =
        gfx::encodePng(job.width, job.height, job.rgba, factTexts(job.facts), error);
    if (bytes.empty()) return {false, "Photo not kept: it could not be encoded: " + error};

    std::error_code made;
    std::filesystem::create_directories(folder_, made);
    if (made)
        return {false, "Photo not kept: cannot make the folder " + folder_ + ": " + made.message()};

    // A hidden temporary name in the same folder, so the rename below is atomic and no
    // reader ever sees half a photo.
    std::string temp = folder_ + "/.tarnhollow-photo-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return {false, "Photo not kept: cannot write into the folder " + folder_ + ": " +
                           errorText(errno)};
    fchmod(fd, 0644);
    bool written = writeWhole(fd, bytes) && fsync(fd) == 0;
    int failure = written ? 0 : errno;
    if (close(fd) != 0 && written) {
        written = false;
        failure = errno;
    }
    const std::string stem = folder_ + "/tarnhollow-" + fileStamp(job.facts.takenAt);
    if (!written) {
        unlink(temp.c_str());
        return {false, "Photo not kept: cannot write into the folder " + folder_ + ": " +
                           errorText(failure)};
    }
    const std::string path = nameWithoutReplacing(temp, stem);
    if (path.empty()) {
        failure = errno;
        unlink(temp.c_str());
        return {false, "Photo not kept: cannot name it in the folder " + folder_ + ": " +
                           errorText(failure)};
    }
    // The new name itself must reach the disk too.
    const int dir = open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return {true,
            std::string(job.facts.judged.hit ? "Winning photo kept: " : "Photo kept: ") + path};
}

}  // namespace tarn::app
