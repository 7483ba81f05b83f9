// tarnhollow-gallery: fixed views of the lake rendered through the game's real frame, with
// a fixed clock and camera, saved as PNG files for people to look at and for checking
// that a change keeps the picture.
//
//     tarnhollow-gallery RUN_DIR OUT_DIR
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <IL/il.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <vector>

#include "app/camera.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/input.h"
#include "app/startup.h"
#include "scene/random.h"

using namespace tarn;

namespace {

constexpr int width = 800;
constexpr int height = 600;
constexpr double frameStep = 0.1;  // seconds of game time per frame

struct View {
    const char* name;
    double warmUp;  // seconds the lake runs before the camera is placed
    // Places the camera and sets what the view shows; may hold keys for the last frame.
    std::function<void(app::ScriptedInput&)> arrange;
};

void lookFrom(const glm::vec3& eye, const glm::vec3& target) {
    const glm::vec3 d = glm::normalize(target - eye);
    app::cameraPos = eye;
    app::cameraYaw = glm::degrees(std::atan2(d.z, d.x));
    app::cameraPitch = glm::degrees(std::asin(d.y));
    app::cameraFront = d;
    app::firstMouse = true;
}

glm::vec3 fishCentre() {
    glm::vec3 sum(0.0f);
    for (const auto& fish : app::world.fishes) sum += fish->position();
    return sum / float(app::world.fishes.size());
}

const std::vector<View>& views() {
    static const std::vector<View> all = {
        {"start-view", 0.5, [](app::ScriptedInput&) {}},
        {"sun-and-light-shafts", 0.5,
         [](app::ScriptedInput&) {
             lookFrom({6.0f, 4.0f, 8.0f}, app::lightPos);
             app::settings.lightshaftsEnabled = true;
         }},
        {"creature-in-the-spotlight", 2.0,
         [](app::ScriptedInput& input) {
             const glm::vec3 creature = app::world.morvie->position();
             lookFrom(creature + glm::vec3(2.0f, 1.0f, 2.5f), creature);
             input.keys = {app::keys::m};
         }},
        {"depth-view", 0.5, [](app::ScriptedInput&) { app::settings.showDepthMap = true; }},
        {"wireframe", 0.5, [](app::ScriptedInput& input) { input.keys = {app::keys::f3}; }},
        {"shoal-of-fish", 3.0,
         [](app::ScriptedInput&) {
             const glm::vec3 centre = fishCentre();
             lookFrom(centre + glm::vec3(0.0f, 2.0f, 9.0f), centre);
         }},
    };
    return all;
}

// Every view starts from the lake a new process would see.
void resetWorldState() {
    scene::rng = std::mt19937();
    std::srand(1);
    app::game = {};
    app::settings = {};
    app::worldTimers = {};
    app::cameraPos = {0.0f, 0.0f, 3.0f};
    app::cameraFront = {0.0f, 0.0f, -1.0f};
    app::cameraYaw = -90.0f;
    app::cameraPitch = 0.0f;
    app::firstMouse = true;
}

bool savePng(const std::string& path) {
    std::vector<unsigned char> rgb(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    // GL's rows run bottom-up, which is DevIL's lower-left origin.
    ilTexImage(width, height, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, rgb.data());
    ilEnable(IL_FILE_OVERWRITE);
    const bool saved = ilSave(IL_PNG, path.c_str());
    ilDeleteImages(1, &image);
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tarnhollow-gallery RUN_DIR OUT_DIR" << std::endl;
        return 2;
    }
    const std::filesystem::path outDir = std::filesystem::absolute(argv[2]);
    std::filesystem::create_directories(outDir);
    if (chdir(argv[1]) != 0) {
        std::cerr << "cannot enter " << argv[1] << std::endl;
        return 2;
    }
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    app::window = glfwCreateWindow(width, height, "tarnhollow-gallery", nullptr, nullptr);
    if (!app::window) return 1;
    glfwMakeContextCurrent(app::window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) return 1;
    app::screenWidth = width;
    app::screenHeight = height;
    app::aspectRatio = float(width) / float(height);

    int failures = 0;
    for (const View& view : views()) {
        resetWorldState();
        std::cout.setstate(std::ios::failbit);  // start-up's own chatter is not the gallery's
        app::startGame(false);
        app::ScriptedInput input;
        double now = 1.0;
        app::lastFrame = now;
        for (double t = 0.0; t < view.warmUp; t += frameStep) app::runFrame(input, now += frameStep);
        view.arrange(input);
        app::runFrame(input, now += frameStep);
        input.keys.clear();
        app::runFrame(input, now += frameStep);
        std::cout.clear();
        const std::string path = (outDir / (std::string(view.name) + ".png")).string();
        if (savePng(path)) {
            std::cout << "wrote " << path << std::endl;
        } else {
            std::cerr << "could not write " << path << std::endl;
            ++failures;
        }
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        app::cleanup();
    }
    glfwTerminate();
    return failures == 0 ? 0 : 1;
}
