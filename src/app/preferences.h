// The player's preferences: what the settings file can set, with the defaults that hold
// for every key the file does not set (or sets badly). GL-free and GLFW-free: keys are
// GLFW's codes as plain ints (see input.h), mouse buttons are bindingForMouseButton(n).
#pragma once

#include <array>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tarn::app {

// Everything a key or button can be bound to.
enum class Action {
    Forward,
    Back,
    Left,
    Right,
    Photo,
    Light,
    Card,
    Sonar,
    MoreLight,
    Pause,
    PlayAgain,
    Fullscreen,
    Mute,
    VolumeDown,
    VolumeUp,
    Count
};
constexpr int actionCount = static_cast<int>(Action::Count);

// A binding is a GLFW key code (0 to 348), or a mouse button as bindingForMouseButton(n).
constexpr int mouseBindingBase = 1000;
constexpr int bindingForMouseButton(int button) { return mouseBindingBase + button; }

struct Preferences {
    int windowWidth = 800;
    int windowHeight = 600;
    bool fullscreen = false;
    float mouseSensitivity = 0.05f;  // degrees per pixel of mouse travel
    bool invertY = false;            // mouse up looks down
    float gamepadLookSpeed = 120.0f;  // degrees per second at a full right stick
    float gamepadDeadZone = 0.2f;     // stick travel, 0 to 1, that counts as none
    int masterVolume = 100;           // 0 to 100
    bool mute = false;
    bool pauseWhenUnfocused = true;
    bool vsync = true;
    // The keys and buttons of each action, by Action; every action has at least one.
    std::array<std::vector<int>, actionCount> bindings = defaultBindings();

    static std::array<std::vector<int>, actionCount> defaultBindings();
};

// $XDG_CONFIG_HOME/tarnhollow/settings.ini, or ~/.config/tarnhollow/settings.ini when
// XDG_CONFIG_HOME is unset or not absolute; empty with neither that nor HOME. lookup returns
// an environment variable's value, null when it is unset.
std::string settingsPath(const std::function<const char*(const char*)>& lookup);

// Reads `key = value` lines; '#' starts a comment. A missing file gives the defaults
// silently. Each bad line (a bad value, an unknown key, no '=') writes one line
// "file:line: what is wrong" to errors and leaves that key at its default.
Preferences readPreferences(const std::string& path, std::ostream& errors);

// The name of a key or button as the settings file writes it ("W", "Space", "F11",
// "Mouse1"), and back; -1 for a name it does not know.
std::string bindingName(int binding);
int bindingFromName(const std::string& name);

}  // namespace tarn::app
