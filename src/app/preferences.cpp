// The settings file: one table of every key, what it holds and how it is read, and the
// names of the keys and buttons the file binds.
#include "app/preferences.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <locale>
#include <ostream>
#include <sstream>
#include <utility>

namespace tarn::app {

static_assert(mouseBindingBase > GLFW_KEY_LAST, "mouse bindings must not overlap key codes");

namespace {

struct NamedBinding {
    const char* name;
    int binding;
};

// Letters and digits are their own characters' codes and are added in bindingName and
// bindingFromName; F1 to F25 are numbered there too.
constexpr NamedBinding namedBindings[] = {
    {"Space", GLFW_KEY_SPACE},
    {"Apostrophe", GLFW_KEY_APOSTROPHE},
    {"Comma", GLFW_KEY_COMMA},
    {"Minus", GLFW_KEY_MINUS},
    {"Period", GLFW_KEY_PERIOD},
    {"Slash", GLFW_KEY_SLASH},
    {"Semicolon", GLFW_KEY_SEMICOLON},
    {"Equal", GLFW_KEY_EQUAL},
    {"LeftBracket", GLFW_KEY_LEFT_BRACKET},
    {"Backslash", GLFW_KEY_BACKSLASH},
    {"RightBracket", GLFW_KEY_RIGHT_BRACKET},
    {"GraveAccent", GLFW_KEY_GRAVE_ACCENT},
    {"Escape", GLFW_KEY_ESCAPE},
    {"Enter", GLFW_KEY_ENTER},
    {"Tab", GLFW_KEY_TAB},
    {"Backspace", GLFW_KEY_BACKSPACE},
    {"Insert", GLFW_KEY_INSERT},
    {"Delete", GLFW_KEY_DELETE},
    {"Right", GLFW_KEY_RIGHT},
    {"Left", GLFW_KEY_LEFT},
    {"Down", GLFW_KEY_DOWN},
    {"Up", GLFW_KEY_UP},
    {"PageUp", GLFW_KEY_PAGE_UP},
    {"PageDown", GLFW_KEY_PAGE_DOWN},
    {"Home", GLFW_KEY_HOME},
    {"End", GLFW_KEY_END},
    {"Pause", GLFW_KEY_PAUSE},
    {"KP0", GLFW_KEY_KP_0},
    {"KP1", GLFW_KEY_KP_1},
    {"KP2", GLFW_KEY_KP_2},
    {"KP3", GLFW_KEY_KP_3},
    {"KP4", GLFW_KEY_KP_4},
    {"KP5", GLFW_KEY_KP_5},
    {"KP6", GLFW_KEY_KP_6},
    {"KP7", GLFW_KEY_KP_7},
    {"KP8", GLFW_KEY_KP_8},
    {"KP9", GLFW_KEY_KP_9},
    {"KPDecimal", GLFW_KEY_KP_DECIMAL},
    {"KPDivide", GLFW_KEY_KP_DIVIDE},
    {"KPMultiply", GLFW_KEY_KP_MULTIPLY},
    {"KPSubtract", GLFW_KEY_KP_SUBTRACT},
    {"KPAdd", GLFW_KEY_KP_ADD},
    {"KPEnter", GLFW_KEY_KP_ENTER},
    {"KPEqual", GLFW_KEY_KP_EQUAL},
    {"LeftShift", GLFW_KEY_LEFT_SHIFT},
    {"LeftCtrl", GLFW_KEY_LEFT_CONTROL},
    {"LeftAlt", GLFW_KEY_LEFT_ALT},
    {"RightShift", GLFW_KEY_RIGHT_SHIFT},
    {"RightCtrl", GLFW_KEY_RIGHT_CONTROL},
    {"RightAlt", GLFW_KEY_RIGHT_ALT},
};
constexpr int functionKeyCount = 25;  // GLFW's F1 to F25
constexpr int mouseButtonCount = GLFW_MOUSE_BUTTON_LAST + 1;

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text) {
    const char* space = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// Bounds as a player writes them: 0.001, 10, 0.9.
std::string numberText(double value) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << value;
    return text.str();
}

// A reader takes one value into the preferences, or returns what is wrong with it; the
// caller has already named the file, the line and the key.
using Reader = std::function<std::string(const std::string& key, const std::string& value,
                                         Preferences& preferences)>;

struct Setting {
    const char* key;
    std::string expected;  // "a whole number from 0 to 100": the text of a bad value's line
    Reader read;
    Action action = Action::Count;  // the action a key_ setting binds
};

std::string mustBe(const std::string& key, const std::string& expected, const std::string& value) {
    return key + " must be " + expected + ", not \"" + value + "\"";
}

Setting wholeNumber(const char* key, int Preferences::*field, int low, int high) {
    std::string expected =
        "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    Reader read = [=](const std::string& name, const std::string& value, Preferences& p) {
        int number = 0;
        const char* end = value.data() + value.size();
        const auto [stop, error] = std::from_chars(value.data(), end, number);
        if (error != std::errc() || stop != end || number < low || number > high)
            return mustBe(name, expected, value);
        p.*field = number;
        return std::string();
    };
    return {key, expected, read};
}

Setting decimal(const char* key, float Preferences::*field, double low, double high) {
    std::string expected = "a number from " + numberText(low) + " to " + numberText(high);
    Reader read = [=](const std::string& name, const std::string& value, Preferences& p) {
        double number = 0.0;
        const char* end = value.data() + value.size();
        const auto [stop, error] = std::from_chars(value.data(), end, number);
        // Written so that "nan" fails it too.
        const bool inRange = number >= low && number <= high;
        if (error != std::errc() || stop != end || !inRange) return mustBe(name, expected, value);
        p.*field = static_cast<float>(number);
        return std::string();
    };
    return {key, expected, read};
}

Setting flag(const char* key, bool Preferences::*field) {
    std::string expected = "true or false (or 1 or 0, yes or no, on or off)";
    Reader read = [=](const std::string& name, const std::string& value, Preferences& p) {
        const std::string word = lowered(value);
        if (word == "true" || word == "1" || word == "yes" || word == "on") {
            p.*field = true;
        } else if (word == "false" || word == "0" || word == "no" || word == "off") {
            p.*field = false;
        } else {
            return mustBe(name, expected, value);
        }
        return std::string();
    };
    return {key, expected, read};
}

// Escape and the drawing switches keep their keys whatever the file says, so an action
// bound there would fire with them; the reader refuses them.
std::string keptKey(int binding) {
    if (binding == GLFW_KEY_ESCAPE) return "it quits the game";
    if (binding >= GLFW_KEY_F2 && binding <= GLFW_KEY_F9)
        return "F2 to F9 switch how the lake is drawn";
    return "";
}

Setting keys(const char* key, Action action) {
    Reader read = [=](const std::string& name, const std::string& value, Preferences& p) {
        // getline gives no empty item after a trailing comma.
        if (value.back() == ',') return name + ": \"" + value + "\" has an empty key name";
        std::vector<int> bindings;
        std::istringstream list(value);
        for (std::string item; std::getline(list, item, ',');) {
            const std::string keyName = trimmed(item);
            if (keyName.empty()) return name + ": \"" + value + "\" has an empty key name";
            const int binding = bindingFromName(keyName);
            if (binding < 0) return name + ": \"" + keyName + "\" is not a key name";
            const std::string kept = keptKey(binding);
            if (!kept.empty())
                return name + ": " + bindingName(binding) + " cannot be bound, " + kept;
            if (std::find(bindings.begin(), bindings.end(), binding) == bindings.end())
                bindings.push_back(binding);
        }
        p.bindings[static_cast<int>(action)] = bindings;
        return std::string();
    };
    return {key, "one or more key names separated by commas", read, action};
}

// Every key of the file, in the order the example file and the man page give them.
const std::vector<Setting>& settings() {
    static const std::vector<Setting> table = {
        wholeNumber("window_width", &Preferences::windowWidth, 1, 16384),
        wholeNumber("window_height", &Preferences::windowHeight, 1, 16384),
        flag("fullscreen", &Preferences::fullscreen),
        flag("vsync", &Preferences::vsync),
        flag("pause_on_lost_focus", &Preferences::pauseWhenUnfocused),
        decimal("mouse_sensitivity", &Preferences::mouseSensitivity, 0.001, 10.0),
        flag("invert_mouse", &Preferences::invertY),
        decimal("gamepad_look_speed", &Preferences::gamepadLookSpeed, 1.0, 1000.0),
        decimal("gamepad_dead_zone", &Preferences::gamepadDeadZone, 0.0, 0.9),
        wholeNumber("volume", &Preferences::masterVolume, 0, 100),
        flag("mute", &Preferences::mute),
        keys("key_forward", Action::Forward),
        keys("key_back", Action::Back),
        keys("key_left", Action::Left),
        keys("key_right", Action::Right),
        keys("key_photo", Action::Photo),
        keys("key_light", Action::Light),
        keys("key_card", Action::Card),
        keys("key_sonar", Action::Sonar),
        keys("key_more_light", Action::MoreLight),
        keys("key_pause", Action::Pause),
        keys("key_play_again", Action::PlayAgain),
        keys("key_fullscreen", Action::Fullscreen),
        keys("key_mute", Action::Mute),
        keys("key_volume_down", Action::VolumeDown),
        keys("key_volume_up", Action::VolumeUp),
    };
    return table;
}

const Setting* settingNamed(const std::string& key) {
    for (const Setting& setting : settings())
        if (key == setting.key) return &setting;
    return nullptr;
}

const char* keySettingOf(Action action) {
    for (const Setting& setting : settings())
        if (setting.action == action) return setting.key;
    return "";
}

struct Report {
    int line;
    std::string text;
};

// One key shared by two actions is taken, since a player may mean it, but said once, on
// the later of the two lines (an action the file leaves alone counts as line 0).
void reportSharedKeys(const Preferences& preferences,
                      const std::array<int, actionCount>& lineOfAction,
                      std::vector<Report>& reports) {
    for (int a = 0; a < actionCount; ++a) {
        for (int b = a + 1; b < actionCount; ++b) {
            if (lineOfAction[a] == 0 && lineOfAction[b] == 0) continue;
            const int later = lineOfAction[a] > lineOfAction[b] ? a : b;
            const int other = later == a ? b : a;
            for (int binding : preferences.bindings[later]) {
                const std::vector<int>& otherBindings = preferences.bindings[other];
                if (std::find(otherBindings.begin(), otherBindings.end(), binding) ==
                    otherBindings.end())
                    continue;
                const std::string laterKey = keySettingOf(static_cast<Action>(later));
                const std::string otherKey = keySettingOf(static_cast<Action>(other));
                reports.push_back({lineOfAction[later], laterKey + ": " + bindingName(binding) +
                                                            " is also " + otherKey +
                                                            "'s key; pressing it does both"});
            }
        }
    }
}

}  // namespace

std::array<std::vector<int>, actionCount> Preferences::defaultBindings() {
    std::array<std::vector<int>, actionCount> bindings;
    const auto bind = [&](Action action, std::vector<int> keys) {
        bindings[static_cast<int>(action)] = std::move(keys);
    };
    bind(Action::Forward, {GLFW_KEY_W});
    bind(Action::Back, {GLFW_KEY_S});
    bind(Action::Left, {GLFW_KEY_A});
    bind(Action::Right, {GLFW_KEY_D});
    bind(Action::Photo, {GLFW_KEY_P, bindingForMouseButton(GLFW_MOUSE_BUTTON_LEFT)});
    bind(Action::Light, {GLFW_KEY_M, GLFW_KEY_SPACE});
    bind(Action::Card, {GLFW_KEY_E});
    bind(Action::Sonar, {GLFW_KEY_O});
    bind(Action::MoreLight, {GLFW_KEY_X});
    bind(Action::Pause, {GLFW_KEY_F1, GLFW_KEY_PAUSE});
    bind(Action::PlayAgain, {GLFW_KEY_R, GLFW_KEY_ENTER, GLFW_KEY_KP_ENTER});
    bind(Action::Fullscreen, {GLFW_KEY_F11});
    bind(Action::Mute, {GLFW_KEY_0});
    bind(Action::VolumeDown, {GLFW_KEY_MINUS, GLFW_KEY_KP_SUBTRACT});
    bind(Action::VolumeUp, {GLFW_KEY_EQUAL, GLFW_KEY_KP_ADD});
    return bindings;
}

std::string settingsPath(const std::function<const char*(const char*)>& lookup) {
    // Only an absolute folder counts, as the XDG base directory rules say; a trailing slash
    // would show in every line about the file.
    const auto folder = [&](const char* name, std::string& found) {
        const char* value = lookup(name);
        if (!value || value[0] != '/') return false;
        found = value;
        while (!found.empty() && found.back() == '/') found.pop_back();
        return true;
    };
    std::string found;
    if (folder("XDG_CONFIG_HOME", found)) return found + "/tarnhollow/settings.ini";
    if (folder("HOME", found)) return found + "/.config/tarnhollow/settings.ini";
    return "";
}

Preferences readPreferences(const std::string& path, std::ostream& errors) {
    Preferences preferences;
    namespace fs = std::filesystem;
    std::error_code missing;
    const fs::file_status status = fs::status(path, missing);
    if (!fs::exists(status)) return preferences;
    if (fs::is_directory(status)) {
        errors << path << ": is a folder, not a settings file\n";
        return preferences;
    }
    // A pipe or a device could block the start or never end.
    if (!fs::is_regular_file(status)) {
        errors << path << ": is not a plain file\n";
        return preferences;
    }
    std::ifstream file(path);
    if (!file) {
        errors << path << ": cannot be read: " << std::strerror(errno) << "\n";
        return preferences;
    }

    std::vector<Report> reports;
    std::array<int, actionCount> lineOfAction{};
    int lineNumber = 0;
    for (std::string line; std::getline(file, line);) {
        ++lineNumber;
        if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        const std::string text = trimmed(line.substr(0, line.find('#')));
        if (text.empty()) continue;
        const size_t equals = text.find('=');
        if (equals == std::string::npos) {
            reports.push_back({lineNumber, "no \"=\" in \"" + text + "\""});
            continue;
        }
        const std::string key = trimmed(text.substr(0, equals));
        const std::string value = trimmed(text.substr(equals + 1));
        if (key.empty()) {
            reports.push_back({lineNumber, "no key before \"=\" in \"" + text + "\""});
            continue;
        }
        const Setting* setting = settingNamed(key);
        if (!setting) {
            reports.push_back({lineNumber, "unknown key \"" + key + "\""});
            continue;
        }
        // A bad line is passed over whole: the key keeps what it had before it.
        std::string wrong = value.empty() ? key + " must be " + setting->expected + ", not empty"
                                          : setting->read(key, value, preferences);
        if (!wrong.empty()) {
            reports.push_back({lineNumber, wrong});
            continue;
        }
        if (setting->action != Action::Count)
            lineOfAction[static_cast<int>(setting->action)] = lineNumber;
    }
    if (file.bad()) reports.push_back({lineNumber, "cannot be read further"});
    reportSharedKeys(preferences, lineOfAction, reports);

    std::stable_sort(reports.begin(), reports.end(),
                     [](const Report& a, const Report& b) { return a.line < b.line; });
    for (const Report& report : reports)
        errors << path << ":" << report.line << ": " << report.text << "\n";
    return preferences;
}

std::string bindingName(int binding) {
    if ((binding >= GLFW_KEY_A && binding <= GLFW_KEY_Z) ||
        (binding >= GLFW_KEY_0 && binding <= GLFW_KEY_9))
        return std::string(1, static_cast<char>(binding));
    if (binding >= GLFW_KEY_F1 && binding < GLFW_KEY_F1 + functionKeyCount)
        return "F" + std::to_string(binding - GLFW_KEY_F1 + 1);
    if (binding >= mouseBindingBase && binding < mouseBindingBase + mouseButtonCount)
        return "Mouse" + std::to_string(binding - mouseBindingBase + 1);
    for (const NamedBinding& named : namedBindings)
        if (named.binding == binding) return named.name;
    return "";
}

int bindingFromName(const std::string& name) {
    const std::string word = lowered(name);
    if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0])))
        return std::toupper(static_cast<unsigned char>(word[0]));
    // "F7", "Mouse3": a prefix and a number with no sign or leading zero.
    const auto numbered = [&](const std::string& prefix, int count) {
        if (word.size() <= prefix.size() || word.compare(0, prefix.size(), prefix) != 0 ||
            word[prefix.size()] == '0')
            return 0;
        int number = 0;
        const char* end = word.data() + word.size();
        const auto [stop, error] = std::from_chars(word.data() + prefix.size(), end, number);
        return error == std::errc() && stop == end && number >= 1 && number <= count ? number : 0;
    };
    if (const int f = numbered("f", functionKeyCount)) return GLFW_KEY_F1 + f - 1;
    if (const int button = numbered("mouse", mouseButtonCount))
        return bindingForMouseButton(button - 1);
    for (const NamedBinding& named : namedBindings)
        if (word == lowered(named.name)) return named.binding;
    return -1;
}

}  // namespace tarn::app
