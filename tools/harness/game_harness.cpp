// Window, fresh state, camera placement and the fixed views for programs that drive the frame.
#include "game_harness.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdlib>
#include <iostream>

#include "app/camera.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/startup.h"
#include "scene/random.h"

namespace tarn::harness {

namespace {

glm::vec3 fishCentre() {
    glm::vec3 sum(0.0f);
    for (const auto& fish : app::world.fishes) sum += fish->position();
    return sum / float(app::world.fishes.size());
}

}  // namespace

GLFWwindow* openGameWindow(int width, int height, const char* title, bool visible) {
    if (!glfwInit()) return nullptr;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(width, height, title, nullptr, nullptr);
    if (!window) return nullptr;
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        glfwDestroyWindow(window);
        return nullptr;
    }
    glGetError();  // GLEW's probing may leave an error behind
    // Frames here are measured or compared, never watched: no waiting for the display.
    glfwSwapInterval(0);
    app::window = window;
    glfwGetFramebufferSize(window, &app::screenWidth, &app::screenHeight);
    app::aspectRatio = float(app::screenWidth) / float(app::screenHeight);
    return window;
}

const std::vector<View>& galleryViews() {
    static const std::vector<View> all = {
        {"start-view", 0.5, [](app::ScriptedInput&) {}},
        {"sun-and-light-shafts", 0.5,
         [](app::ScriptedInput&) {
             app::placeCamera({6.0f, 4.0f, 8.0f}, app::lightPos);
             app::settings.lightshaftsEnabled = true;
         }},
        {"creature-in-the-spotlight", 2.0,
         [](app::ScriptedInput& input) {
             const glm::vec3 creature = app::world.morvie->position();
             app::placeCamera(creature + glm::vec3(2.0f, 1.0f, 2.5f), creature);
             input.keys = {app::keys::m};
         }},
        {"depth-view", 0.5, [](app::ScriptedInput&) { app::settings.showDepthMap = true; }},
        {"wireframe", 0.5, [](app::ScriptedInput& input) { input.keys = {app::keys::f3}; }},
        {"shoal-of-fish", 3.0,
         [](app::ScriptedInput&) {
             const glm::vec3 centre = fishCentre();
             app::placeCamera(centre + glm::vec3(0.0f, 2.0f, 9.0f), centre);
         }},
        // Two units under the surface, looking level at the bank: rock, and over its rim the
        // lake's fog where the sky would be.
        {"lake-edge", 0.5,
         [](app::ScriptedInput&) {
             app::placeCamera({0.0f, 13.0f, 42.0f}, {0.0f, 13.0f, 60.0f});
         }},
    };
    return all;
}

double startFreshGame(bool withSound) {
    app::resetToFirstStart();
    app::startGame(withSound);
    app::gameClock.start(1.0);
    return app::gameClock.lastFrame;
}

void renderView(const View& view) {
    std::cout.setstate(std::ios::failbit);  // start-up's own chatter is not the view's
    double now = startFreshGame(false);
    app::ScriptedInput input;
    for (double t = 0.0; t < view.warmUp; t += viewFrameStep) app::runFrame(input, now += viewFrameStep);
    view.arrange(input);
    app::runFrame(input, now += viewFrameStep);
    input.keys.clear();
    app::runFrame(input, now += viewFrameStep);
    std::cout.clear();
}

void releaseView() {
    // Wireframe is GL state that the next start-up would otherwise inherit.
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    app::cleanup();
}

std::vector<std::uint8_t> readBackBuffer(int width, int height) {
    std::vector<std::uint8_t> rgb(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

}  // namespace tarn::harness
