// Window events, resizing, full screen and the icon.
#include "app/window.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <IL/il.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <glm/gtc/matrix_transform.hpp>
#include <vector>

#include "app/camera.h"
#include "app/globals.h"
#include "base/tables.h"
#include "check/image_check.h"
#include "render/light_shafts.h"
#include "scene/frustum.h"

namespace tarn::app {

namespace {

WindowEvents pending;

// Joysticks that came (true) or went (false) since the last frame, by GLFW's id.
std::vector<std::pair<int, bool>> joystickChanges;
int gamepadInUse = -1;

// Where the window stood before it went full screen.
struct WindowedPlace {
    int x = 0, y = 0, width = 800, height = 600;
};
WindowedPlace windowed;

void onFramebufferSize(GLFWwindow*, int width, int height) {
    pending.framebufferWidth = width;
    pending.framebufferHeight = height;
}

void onFocus(GLFWwindow*, int focused) { pending.signals.focused = focused == GLFW_TRUE; }

void onIconify(GLFWwindow*, int iconified) {
    pending.signals.iconified = iconified == GLFW_TRUE;
}

void onJoystick(int id, int event) {
    if (event == GLFW_CONNECTED || event == GLFW_DISCONNECTED) {
        joystickChanges.emplace_back(id, event == GLFW_CONNECTED);
    }
}

int firstGamepad() {
    for (int id = GLFW_JOYSTICK_1; id <= GLFW_JOYSTICK_LAST; ++id) {
        if (glfwJoystickIsGamepad(id)) return id;
    }
    return -1;
}

std::string gamepadName(int id) {
    const char* name = glfwGetGamepadName(id);
    return name ? name : "a gamepad";
}

// Console lines for the joysticks that came and went; the gamepad in use follows them.
void followJoysticks(std::vector<std::string>& lines) {
    if (joystickChanges.empty()) return;
    std::vector<JoystickChange> changes;
    for (const auto& [id, connected] : joystickChanges) {
        JoystickChange change{id, connected, connected && glfwJoystickIsGamepad(id), ""};
        if (change.isGamepad) {
            change.name = gamepadName(id);
        } else if (connected) {
            const char* name = glfwGetJoystickName(id);
            change.name = name ? name : "unnamed";
        }
        changes.push_back(change);
    }
    joystickChanges.clear();
    gamepadInUse = followGamepads(gamepadInUse, changes, firstGamepad(), lines);
}

// The monitor that shares the largest area with the window; the primary one when none does.
GLFWmonitor* monitorUnder(GLFWwindow* window) {
    int x = 0, y = 0, width = 0, height = 0;
    glfwGetWindowPos(window, &x, &y);
    glfwGetWindowSize(window, &width, &height);
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    GLFWmonitor* best = glfwGetPrimaryMonitor();
    long bestArea = 0;
    for (int i = 0; i < count; ++i) {
        const GLFWvidmode* mode = glfwGetVideoMode(monitors[i]);
        if (!mode) continue;
        int mx = 0, my = 0;
        glfwGetMonitorPos(monitors[i], &mx, &my);
        const long w = std::max(0, std::min(x + width, mx + mode->width) - std::max(x, mx));
        const long h = std::max(0, std::min(y + height, my + mode->height) - std::max(y, my));
        if (w * h > bestArea) {
            bestArea = w * h;
            best = monitors[i];
        }
    }
    return best;
}

constexpr int maxIconSide = 512;

// One icon image as GLFW takes it: 8-bit RGBA, top row first. The image checks keep a
// damaged file from DevIL, as for every other picture the game reads.
bool loadIcon(const char* path, std::vector<unsigned char>& pixels, int& width, int& height) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool loaded = false;
    check::ImageOpenFailure failure;
    if (check::openCheckedImage(path, maxIconSide, failure) &&
        ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
        width = ilGetInteger(IL_IMAGE_WIDTH);
        height = ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte* data = ilGetData();
        if (data && width > 0 && height > 0) {
            const size_t row = size_t(width) * 4;
            pixels.resize(row * size_t(height));
            const bool bottomUp = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT;
            for (int y = 0; y < height; ++y) {
                const int from = bottomUp ? height - 1 - y : y;
                std::copy_n(data + row * size_t(from), row, pixels.begin() + long(row) * y);
            }
            loaded = true;
        }
    }
    ilBindImage(0);
    ilDeleteImages(1, &image);
    return loaded;
}

static_assert(pad::a == GLFW_GAMEPAD_BUTTON_A && pad::b == GLFW_GAMEPAD_BUTTON_B &&
              pad::x == GLFW_GAMEPAD_BUTTON_X && pad::y == GLFW_GAMEPAD_BUTTON_Y &&
              pad::back == GLFW_GAMEPAD_BUTTON_BACK && pad::start == GLFW_GAMEPAD_BUTTON_START &&
              pad::leftX == GLFW_GAMEPAD_AXIS_LEFT_X && pad::leftY == GLFW_GAMEPAD_AXIS_LEFT_Y &&
              pad::rightX == GLFW_GAMEPAD_AXIS_RIGHT_X &&
              pad::rightY == GLFW_GAMEPAD_AXIS_RIGHT_Y &&
              pad::rightTrigger == GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER &&
              GLFW_GAMEPAD_BUTTON_LAST + 1 == 15 && GLFW_GAMEPAD_AXIS_LAST + 1 == 6);

}  // namespace

void watchWindow(GLFWwindow* window) {
    glfwSetFramebufferSizeCallback(window, onFramebufferSize);
    glfwSetWindowFocusCallback(window, onFocus);
    glfwSetWindowIconifyCallback(window, onIconify);
    if (const char* mappings = std::getenv("SDL_GAMECONTROLLERCONFIG")) {
        if (!glfwUpdateGamepadMappings(mappings)) {
            std::cerr << "Could not read the gamepad mappings of SDL_GAMECONTROLLERCONFIG."
                      << std::endl;
        }
    }
    glfwSetJoystickCallback(onJoystick);
    gamepadInUse = firstGamepad();
    if (gamepadInUse >= 0) {
        std::cout << "Using gamepad " << gamepadName(gamepadInUse) << "." << std::endl;
    }
}

WindowEvents takeWindowEvents() {
    WindowEvents taken = pending;
    pending = {};
    followJoysticks(taken.lines);
    GLFWgamepadstate state;
    if (gamepadInUse >= 0 && glfwGetGamepadState(gamepadInUse, &state)) {
        GamepadState pad;
        for (size_t b = 0; b < pad.buttons.size(); ++b) pad.buttons[b] = state.buttons[b] == GLFW_PRESS;
        for (size_t a = 0; a < pad.axes.size(); ++a) pad.axes[a] = state.axes[a];
        taken.gamepad = pad;
    }
    return taken;
}

void applyFramebufferSize() {
    const float width = static_cast<float>(screenWidth);
    const float height = static_cast<float>(screenHeight);
    aspectRatio = width / height;
    glViewport(0, 0, screenWidth, screenHeight);
    scene::viewFrustum.setProjection(fieldOfViewY, aspectRatio, nearPlane, farPlane);
    if (textShader) {
        textShader->use();
        textShader->setUniform("projection", glm::ortho(0.0f, width, 0.0f, height));
    }
    render::resizeLightShafts(screenWidth, screenHeight);
    if (megaShader) megaShader->use();
}

void resizeFramebuffer(int width, int height) {
    if (width < 1 || height < 1 || (width == screenWidth && height == screenHeight)) return;
    screenWidth = width;
    screenHeight = height;
    applyFramebufferSize();
}

void toggleFullscreen(GLFWwindow* window) {
    if (!window) return;
    if (glfwGetWindowMonitor(window)) {
        glfwSetWindowMonitor(window, nullptr, windowed.x, windowed.y, windowed.width,
                             windowed.height, 0);
        return;
    }
    glfwGetWindowPos(window, &windowed.x, &windowed.y);
    glfwGetWindowSize(window, &windowed.width, &windowed.height);
    GLFWmonitor* monitor = monitorUnder(window);
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (!mode) return;
    glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
}

void setWindowIcon(GLFWwindow* window) {
    std::vector<std::vector<unsigned char>> pixels;
    std::vector<GLFWimage> images;
    for (const int size : paths::iconSizes) {
        char path[128];
        std::snprintf(path, sizeof path, paths::iconPattern, size);
        std::vector<unsigned char> rgba;
        int width = 0, height = 0;
        if (!loadIcon(path, rgba, width, height)) continue;
        pixels.push_back(std::move(rgba));
        images.push_back({width, height, nullptr});
    }
    for (size_t i = 0; i < images.size(); ++i) images[i].pixels = pixels[i].data();
    if (!images.empty()) glfwSetWindowIcon(window, int(images.size()), images.data());
}

}  // namespace tarn::app
