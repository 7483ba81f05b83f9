// tarnhollow-bench: the real frame of the game along a fixed camera path with a fixed clock,
// frame after frame alternated with the bare required work (the probe), at 800x600 and
// 1920x1080. Prints a table and writes the numbers as JSON.
//
//     tarnhollow-bench RUN_DIR [--frames N] [--json PATH] [--size WxH]... [--finish-passes]
//                      [--whole-shadow-pass]
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/camera.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/photos.h"
#include "app/rules.h"
#include "app/startup.h"
#include "frame_timer.h"
#include "game_harness.h"
#include "probe.h"
#include "render/light_shafts.h"
#include "render/pass_timer.h"
#include "render/shadow_map.h"
#include "report.h"
#include "scene/frustum.h"
#include "submission.h"

using namespace tarn;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double frameStep = 1.0 / 30.0;  // seconds of game time per frame
constexpr int warmUpFrames = 3;
constexpr int submissionRounds = 200;

struct Options {
    std::string runDir;
    std::string jsonPath;
    int frames = 120;
    bool finishPasses = false;
    bool wholeShadowPass = false;  // the lakebed drawn into the shadow map every frame
    std::vector<glm::ivec2> sizes;
};

bool parseOptions(int argc, char** argv, Options& options) {
    if (argc < 2 || argv[1][0] == '-') return false;
    options.runDir = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--finish-passes") {
            options.finishPasses = true;
            continue;
        }
        if (arg == "--whole-shadow-pass") {
            options.wholeShadowPass = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const std::string value = argv[++i];
        if (arg == "--frames") {
            options.frames = std::atoi(value.c_str());
            if (options.frames < 1) return false;
        } else if (arg == "--json") {
            options.jsonPath = std::filesystem::absolute(value).string();
        } else if (arg == "--size") {
            glm::ivec2 size;
            if (std::sscanf(value.c_str(), "%dx%d", &size.x, &size.y) != 2) return false;
            options.sizes.push_back(size);
        } else {
            return false;
        }
    }
    if (options.sizes.empty()) options.sizes = {{800, 600}, {1920, 1080}};
    return true;
}

// Seconds since the kernel started this process.
double secondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Field 22, counted after the command name's closing parenthesis (field 2).
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) fields >> field;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double started = std::stod(field) / double(sysconf(_SC_CLK_TCK));
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9 - started;
}

// Peak resident memory since the last reset, in megabytes.
double peakResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0.0;
}

// From here on the peak counts anew (Linux 4.0 and later).
void resetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// The fixed path, t from 0 to 1: two thirds of a circle through the open lake looking
// ahead and a little inwards, then, with light shafts on, a slow sweep across the sun.
struct PathPoint {
    glm::vec3 eye, target;
    bool lightShafts;
};
PathPoint cameraPath(double t) {
    if (t < 2.0 / 3.0) {
        const double angle = t * 1.5 * 2.0 * M_PI;
        const glm::vec3 eye(20.0f * float(std::cos(angle)), 1.0f, 20.0f * float(std::sin(angle)));
        const double ahead = angle + 0.9;
        const glm::vec3 target(14.0f * float(std::cos(ahead)), -2.0f, 14.0f * float(std::sin(ahead)));
        return {eye, target, false};
    }
    const double s = (t - 2.0 / 3.0) * 3.0;
    const glm::vec3 target = app::lightPos + glm::vec3(float(12.0 * (s - 0.5)), 0.0f, 0.0f);
    return {{6.0f, 4.0f, 8.0f}, target, true};
}

// Processor time of all the process's threads, the renderer's included, in milliseconds.
double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

struct FrameStart {
    Clock::time_point wall = Clock::now();
    double cpuMs = processCpuMs();
};

bench::FrameCost presentAndFinish(const FrameStart& start) {
    glfwSwapBuffers(app::window);
    glfwPollEvents();
    glFinish();
    return {std::chrono::duration<double, std::milli>(Clock::now() - start.wall).count(),
            processCpuMs() - start.cpuMs};
}

bench::ProbeFrame probeFrameFromGame() {
    bench::ProbeFrame frame;
    frame.cameraPosition = app::cameraPos;
    frame.view = app::viewMatrix;
    frame.viewProjection = app::viewProjectionMatrix;
    frame.fieldOfViewY = app::fieldOfViewY;
    frame.aspect = app::aspectRatio;
    frame.lightShafts = app::settings.lightshaftsEnabled;
    frame.sunPosition = app::world.sun ? app::world.sun->position() : app::lightPos;
    frame.sunInView = render::isSunInView(scene::viewFrustum, frame.sunPosition);
    return frame;
}

// Photos kept from one place of the path, into a scratch folder: each round a few plain
// frames, one whose shutter opens, and the frames after it, which map the read and hand it
// to the writer thread. The card is refilled and the guard reset so every round shoots.
void measureShutter(app::ScriptedInput& input, double& now, int rounds, bench::SizeResult& result) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "tarnhollow-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) return;
    app::beginPhotos(folder);
    const PathPoint point = cameraPath(0.25);
    app::settings.lightshaftsEnabled = false;
    const auto timedFrame = [&] {
        app::placeCamera(point.eye, point.target);
        const FrameStart start;
        app::runFrame(input, now += frameStep);
        return presentAndFinish(start).wallMs;
    };
    constexpr int plainFrames = 3;
    for (int round = 0; round < rounds; ++round) {
        app::game.photosLeft = app::photosAtStart;
        app::game.lastPhotoTime = 0.0;
        for (int i = 0; i < plainFrames; ++i) result.plainMs.push_back(timedFrame());
        input.keys = {app::keys::p};
        result.shutterMs.push_back(timedFrame());
        input.keys.clear();
        for (std::vector<double>& after : result.afterShutterMs) after.push_back(timedFrame());
    }
    app::endPhotos();
    std::filesystem::remove_all(folder);
}

bench::SizeResult runSize(glm::ivec2 size, const Options& options, double* startupSeconds) {
    const int frames = options.frames;
    bench::SizeResult result;
    resetPeakResident();
    if (!harness::openGameWindow(size.x, size.y, "tarnhollow-bench", true)) {
        std::cerr << "tarnhollow-bench: no window of " << size.x << "x" << size.y << std::endl;
        std::exit(1);
    }
    result.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    result.width = app::screenWidth;
    result.height = app::screenHeight;
    result.frames = frames;

    std::cout.setstate(std::ios::failbit);  // the game's start-up lines are not the table's
    double now = harness::startFreshGame(true);
    app::ScriptedInput input;
    app::runFrame(input, now += frameStep);
    presentAndFinish(FrameStart());
    if (startupSeconds) *startupSeconds = secondsSinceProcessStart();

    bench::RequiredWorkProbe probe;
    bench::FrameTimer timer(options.finishPasses);
    bench::FrameTimer probeTimer(options.finishPasses);
    const auto frame = [&](int index, int count, bool record) {
        const PathPoint point = cameraPath(double(index) / count);
        app::placeCamera(point.eye, point.target);
        app::settings.lightshaftsEnabled = point.lightShafts;

        render::setPassTimer(&timer);
        timer.startFrame();
        const FrameStart gameStart;
        app::runFrame(input, now += frameStep);
        const bench::FrameCost game = presentAndFinish(gameStart);
        render::setPassTimer(nullptr);
        const bench::PartTimes parts = timer.collect();

        const bench::ProbeFrame probeFrame = probeFrameFromGame();
        render::setPassTimer(&probeTimer);
        probeTimer.startFrame();
        const FrameStart probeStart;
        probe.render(probeFrame, app::screenWidth, app::screenHeight);
        const bench::FrameCost probeCost = presentAndFinish(probeStart);
        render::setPassTimer(nullptr);
        const bench::PartTimes probeParts = probeTimer.collect();
        if (record) result.add(game, probeCost, parts, probeParts, point.lightShafts);
    };
    for (int i = 0; i < warmUpFrames; ++i) frame(i, warmUpFrames, false);
    for (int i = 0; i < frames; ++i) frame(i, frames, true);

    measureShutter(input, now, std::clamp(frames / 10, 2, 12), result);
    {
        bench::SubmissionReplay replay;
        result.submissionMs = replay.measure(app::world, submissionRounds);
    }
    result.peakResidentMb = peakResidentMegabytes();
    timer.release();
    probeTimer.release();
    std::cout.setstate(std::ios::failbit);
    app::cleanup();
    std::cout.clear();
    glfwDestroyWindow(app::window);
    app::window = nullptr;
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << "usage: tarnhollow-bench RUN_DIR [--frames N] [--json PATH] [--size WxH]... "
                     "[--finish-passes] [--whole-shadow-pass]"
                  << std::endl;
        return 2;
    }
    if (chdir(options.runDir.c_str()) != 0) {
        std::cerr << "tarnhollow-bench: cannot enter " << options.runDir << std::endl;
        return 2;
    }

    render::stillShadowCacheEnabled = !options.wholeShadowPass;
    bench::Report report;
    report.loadBefore = loadAverage();
    for (size_t i = 0; i < options.sizes.size(); ++i) {
        report.sizes.push_back(
            runSize(options.sizes[i], options, i == 0 ? &report.startupSeconds : nullptr));
    }
    report.renderer = report.sizes.front().renderer;
    report.loadAfter = loadAverage();
    glfwTerminate();

    bench::printTable(report, std::cout);
    if (!options.jsonPath.empty()) {
        std::ofstream json(options.jsonPath);
        bench::writeJson(report, json);
        if (!json) {
            std::cerr << "tarnhollow-bench: cannot write " << options.jsonPath << std::endl;
            return 1;
        }
        std::cout << "wrote " << options.jsonPath << std::endl;
    }
    return 0;
}
