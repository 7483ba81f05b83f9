// The settings file as a player writes it: every key, the lines it refuses with their
// file:line text, rebinding, where the file lies, and the example shipped with the game.
#include "app/preferences.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "support/process.h"

using namespace tarn::app;
using tarn::test::makeTempDir;
using tarn::test::readFile;
namespace fs = std::filesystem;

namespace {

const std::string sourceDir = TARNHOLLOW_SOURCE_DIR;

// Every key of the file, each with a value other than its default.
const std::vector<std::pair<std::string, std::string>> everyKey = {
    {"window_width", "1280"},
    {"window_height", "720"},
    {"fullscreen", "yes"},
    {"mouse_sensitivity", "0.125"},
    {"invert_mouse", "on"},
    {"gamepad_look_speed", "240.5"},
    {"gamepad_dead_zone", "0.35"},
    {"volume", "40"},
    {"mute", "1"},
    {"pause_on_lost_focus", "false"},
    {"vsync", "off"},
    {"key_forward", "Up"},
    {"key_back", "Down"},
    {"key_left", "Left"},
    {"key_right", "Right"},
    {"key_photo", "Mouse2"},
    {"key_light", "L"},
    {"key_card", "C"},
    {"key_sonar", "KP0"},
    {"key_more_light", "Z"},
    {"key_pause", "Tab"},
    {"key_play_again", "Backspace"},
    {"key_fullscreen", "F12"},
    {"key_mute", "9"},
    {"key_volume_down", "KP1"},
    {"key_volume_up", "KP2"},
};

std::string names(const std::vector<int>& bindings) {
    std::string text;
    for (int binding : bindings) text += (text.empty() ? "" : ", ") + bindingName(binding);
    return text;
}

std::string bindingsOf(const Preferences& p, Action action) {
    return names(p.bindings[static_cast<int>(action)]);
}

// Every preference on one line each, to compare two whole sets and show the difference.
std::string describe(const Preferences& p) {
    std::ostringstream text;
    text << "window " << p.windowWidth << "x" << p.windowHeight << " fullscreen " << p.fullscreen
         << "\nmouse " << p.mouseSensitivity << " invert " << p.invertY << "\ngamepad "
         << p.gamepadLookSpeed << " dead zone " << p.gamepadDeadZone << "\nvolume "
         << p.masterVolume << " mute " << p.mute << "\npause unfocused " << p.pauseWhenUnfocused
         << " vsync " << p.vsync << "\n";
    for (int action = 0; action < actionCount; ++action)
        text << "action " << action << ": " << names(p.bindings[action]) << "\n";
    return text.str();
}

// A settings file in a scratch folder of its own.
class SettingsFile : public ::testing::Test {
protected:
    ~SettingsFile() override { fs::remove_all(folder); }

    Preferences read(const std::string& contents) {
        tarn::test::writeFile(path, contents);
        std::ostringstream out;
        const Preferences preferences = readPreferences(path, out);
        errors = out.str();
        return preferences;
    }

    // The lines written to the error stream, the scratch folder left out of the file's name.
    std::vector<std::string> reported() const {
        std::vector<std::string> lines;
        std::istringstream in(errors);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.rfind(folder + "/", 0) == 0 ? line.substr(folder.size() + 1)
                                                             : line);
        return lines;
    }

    const std::string folder = makeTempDir();
    const std::string path = folder + "/settings.ini";
    std::string errors;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(SettingsFile, EveryKeyIsRead) {
    std::string contents;
    for (const auto& [key, value] : everyKey) contents += key + " = " + value + "\n";
    const Preferences p = read(contents);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(p.windowWidth, 1280);
    EXPECT_EQ(p.windowHeight, 720);
    EXPECT_TRUE(p.fullscreen);
    EXPECT_FLOAT_EQ(p.mouseSensitivity, 0.125f);
    EXPECT_TRUE(p.invertY);
    EXPECT_FLOAT_EQ(p.gamepadLookSpeed, 240.5f);
    EXPECT_FLOAT_EQ(p.gamepadDeadZone, 0.35f);
    EXPECT_EQ(p.masterVolume, 40);
    EXPECT_TRUE(p.mute);
    EXPECT_FALSE(p.pauseWhenUnfocused);
    EXPECT_FALSE(p.vsync);
    std::string bindings;
    for (int action = 0; action < actionCount; ++action)
        bindings += bindingsOf(p, static_cast<Action>(action)) + ";";
    EXPECT_EQ(bindings, "Up;Down;Left;Right;Mouse2;L;C;KP0;Z;Tab;Backspace;F12;9;KP1;KP2;");
}

TEST_F(SettingsFile, CommentsSpacesCaseAndALaterLineForTheSameKeyAreTakenAsAPlayerMeansThem) {
    const Preferences p = read(
        "\xEF\xBB\xBF# written by hand\r\n"
        "\n"
        "   volume=30   # quieter at night\r\n"
        "\tfullscreen =\tTRUE\n"
        "invert_mouse = Off\n"
        "key_photo = p ,  mouse1, kpdecimal\n"
        "volume = 60\n"
        "window_width = 1024\n"
        "window_width = wide\n"
        "key_light = m, M, space\n");
    EXPECT_EQ(
        reported(),
        Lines{
            R"(settings.ini:9: window_width must be a whole number from 1 to 16384, not "wide")"});
    EXPECT_EQ(p.masterVolume, 60) << "the later line wins";
    EXPECT_EQ(p.windowWidth, 1024) << "a bad line is passed over: the earlier value holds";
    EXPECT_TRUE(p.fullscreen);
    EXPECT_FALSE(p.invertY);
    EXPECT_EQ(bindingsOf(p, Action::Photo), "P, Mouse1, KPDecimal");
    EXPECT_EQ(bindingsOf(p, Action::Light), "M, Space") << "a key named twice counts once";
}

TEST_F(SettingsFile, EachBadLineIsOneFileLineMessageAndItsKeyKeepsTheDefault) {
    const Preferences p = read(
        "# every line below is refused\n"
        "fullscreen\n"
        "mouse_speed = 2\n"
        "volume = loud\n"
        "volume = 101\n"
        "window_height = 600.5\n"
        "mouse_sensitivity = 0\n"
        "gamepad_dead_zone = nan\n"
        "gamepad_look_speed = 1e4\n"
        "invert_mouse = maybe\n"
        "vsync =\n"
        "= 3\n"
        "key_photo = Mouse9\n"
        "key_light = M,,Space\n"
        "key_card = E,\n"
        "key_sonar = Escape\n"
        "key_pause = F3\n"
        "Volume = 50\n");
    EXPECT_EQ(
        reported(),
        (Lines{
            R"(settings.ini:2: no "=" in "fullscreen")",
            R"(settings.ini:3: unknown key "mouse_speed")",
            R"(settings.ini:4: volume must be a whole number from 0 to 100, not "loud")",
            R"(settings.ini:5: volume must be a whole number from 0 to 100, not "101")",
            R"(settings.ini:6: window_height must be a whole number from 1 to 16384, not "600.5")",
            R"(settings.ini:7: mouse_sensitivity must be a number from 0.001 to 10, not "0")",
            R"(settings.ini:8: gamepad_dead_zone must be a number from 0 to 0.9, not "nan")",
            R"(settings.ini:9: gamepad_look_speed must be a number from 1 to 1000, not "1e4")",
            R"(settings.ini:10: invert_mouse must be true or false (or 1 or 0, yes or no, on or off), not "maybe")",
            R"(settings.ini:11: vsync must be true or false (or 1 or 0, yes or no, on or off), not empty)",
            R"(settings.ini:12: no key before "=" in "= 3")",
            R"(settings.ini:13: key_photo: "Mouse9" is not a key name)",
            R"(settings.ini:14: key_light: "M,,Space" has an empty key name)",
            R"(settings.ini:15: key_card: "E," has an empty key name)",
            R"(settings.ini:16: key_sonar: Escape cannot be bound, it quits the game)",
            R"(settings.ini:17: key_pause: F3 cannot be bound, F2 to F9 switch how the lake is drawn)",
            R"(settings.ini:18: unknown key "Volume")",
        }));
    EXPECT_EQ(errors.rfind(path + ":2: ", 0), 0u) << "the file's whole name starts each line";
    EXPECT_EQ(describe(p), describe(Preferences{}));
}

TEST_F(SettingsFile, KeysAreRebound) {
    // A swap needs no step between: the two lines are judged together.
    Preferences p = read("key_photo = M\nkey_light = P, Mouse1\n");
    EXPECT_EQ(errors, "");
    EXPECT_EQ(bindingsOf(p, Action::Photo), "M");
    EXPECT_EQ(bindingsOf(p, Action::Light), "P, Mouse1");

    // A key another action keeps is taken with a warning, on the line that made it shared.
    p = read("key_sonar = Q\n\nkey_photo = Space, Mouse3\nkey_card = q\n");
    EXPECT_EQ(
        reported(),
        (Lines{"settings.ini:3: key_photo: Space is also key_light's key; pressing it does both",
               "settings.ini:4: key_card: Q is also key_sonar's key; pressing it does both"}));
    EXPECT_EQ(bindingsOf(p, Action::Photo), "Space, Mouse3");
    EXPECT_EQ(bindingsOf(p, Action::Light), "M, Space");
    EXPECT_EQ(bindingsOf(p, Action::Card), "Q");
    EXPECT_EQ(bindingsOf(p, Action::Sonar), "Q");
}

TEST(Preferences, TheDefaultKeysAreTheGamesKeysWithMuteAndVolumeOnKeysNoControlUses) {
    const Preferences p;
    std::string all;
    for (int action = 0; action < actionCount; ++action)
        all += bindingsOf(p, static_cast<Action>(action)) + "; ";
    EXPECT_EQ(all,
              "W; S; A; D; P, Mouse1; M, Space; E; O; X; F1, Pause; R, Enter, KPEnter; F11; 0; "
              "Minus, KPSubtract; Equal, KPAdd; ");
    EXPECT_EQ(p.bindings[static_cast<int>(Action::Photo)][1],
              bindingForMouseButton(GLFW_MOUSE_BUTTON_LEFT));
}

TEST(Preferences, KeyNamesAreGlfwsKeysEachWithOneNameReadInAnyCase) {
    EXPECT_EQ(bindingFromName("W"), GLFW_KEY_W);
    EXPECT_EQ(bindingFromName("0"), GLFW_KEY_0);
    EXPECT_EQ(bindingFromName("Minus"), GLFW_KEY_MINUS);
    EXPECT_EQ(bindingFromName("Equal"), GLFW_KEY_EQUAL);
    EXPECT_EQ(bindingFromName("KPSubtract"), GLFW_KEY_KP_SUBTRACT);
    EXPECT_EQ(bindingFromName("KPAdd"), GLFW_KEY_KP_ADD);
    EXPECT_EQ(bindingFromName("F25"), GLFW_KEY_F25);
    EXPECT_EQ(bindingFromName("RightCtrl"), GLFW_KEY_RIGHT_CONTROL);
    EXPECT_EQ(bindingFromName("Mouse8"), bindingForMouseButton(GLFW_MOUSE_BUTTON_8));

    std::vector<std::string> expected = {
        "Space", "Enter", "Escape",  "Tab",       "Backspace",  "Up",       "Down",    "Left",
        "Right", "Pause", "KPEnter", "LeftShift", "RightShift", "LeftCtrl", "LeftAlt", "RightAlt"};
    for (char c = 'A'; c <= 'Z'; ++c) expected.push_back(std::string(1, c));
    for (int i = 0; i <= 9; ++i) expected.push_back(std::to_string(i));
    for (int i = 0; i <= 9; ++i) expected.push_back("KP" + std::to_string(i));
    for (int i = 1; i <= 25; ++i) expected.push_back("F" + std::to_string(i));
    for (int i = 1; i <= 8; ++i) expected.push_back("Mouse" + std::to_string(i));
    for (const std::string& name : expected) {
        const int binding = bindingFromName(name);
        EXPECT_NE(binding, -1) << name;
        EXPECT_EQ(bindingName(binding), name);
    }

    // Whatever has a name reads back as itself, in upper and lower case.
    std::vector<int> every;
    for (int key = 0; key <= GLFW_KEY_LAST; ++key) every.push_back(key);
    for (int button = 0; button <= GLFW_MOUSE_BUTTON_LAST; ++button)
        every.push_back(bindingForMouseButton(button));
    for (int binding : every) {
        std::string name = bindingName(binding);
        if (name.empty()) continue;
        EXPECT_EQ(bindingFromName(name), binding) << name;
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(bindingFromName(name), binding) << name;
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(bindingFromName(name), binding) << name;
    }
    for (const char* unknown :
         {"", "F0", "F26", "F01", "Mouse0", "Mouse9", "KP", "Shift", "WW", "-", " W"})
        EXPECT_EQ(bindingFromName(unknown), -1) << '"' << unknown << '"';
    EXPECT_EQ(bindingName(bindingForMouseButton(8)), "");
}

TEST(Preferences, TheFileLiesInTheConfigFolderOfTheXdgRules) {
    const auto pathWith = [](std::map<std::string, std::string> environment) {
        return settingsPath([&](const char* name) -> const char* {
            const auto found = environment.find(name);
            return found == environment.end() ? nullptr : found->second.c_str();
        });
    };
    EXPECT_EQ(pathWith({{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/d"}}),
              "/cfg/tarnhollow/settings.ini");
    EXPECT_EQ(pathWith({{"XDG_CONFIG_HOME", "/cfg//"}}), "/cfg/tarnhollow/settings.ini");
    EXPECT_EQ(pathWith({{"HOME", "/home/d/"}}), "/home/d/.config/tarnhollow/settings.ini");
    for (const char* notAFolder : {"", "cfg", "./cfg"})
        EXPECT_EQ(pathWith({{"XDG_CONFIG_HOME", notAFolder}, {"HOME", "/home/d"}}),
                  "/home/d/.config/tarnhollow/settings.ini")
            << '"' << notAFolder << '"';
    EXPECT_EQ(pathWith({}), "");
    EXPECT_EQ(pathWith({{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "home"}}), "");
}

TEST_F(SettingsFile, AMissingFileGivesTheDefaultsSilentlyAndOneThatCannotBeReadSaysSoOnce) {
    std::ostringstream out;
    EXPECT_EQ(describe(readPreferences(folder + "/none.ini", out)), describe(Preferences{}));
    EXPECT_EQ(readPreferences("", out).windowWidth, 800);
    EXPECT_EQ(out.str(), "");

    EXPECT_EQ(describe(read("")), describe(Preferences{}));
    EXPECT_EQ(errors, "") << "an empty file";

    fs::remove(path);
    fs::create_directory(path);
    std::ostringstream folderErrors;
    EXPECT_EQ(describe(readPreferences(path, folderErrors)), describe(Preferences{}));
    EXPECT_EQ(folderErrors.str(), path + ": is a folder, not a settings file\n");
}

// The example the package ships can never drift from the game: read as a settings file it
// says nothing and changes nothing, and it, the man page and the README name every key.
TEST(Preferences, TheExampleFileHoldsEveryKeyAtItsDefaultAndTheDocumentsNameEveryKey) {
    const std::string example = sourceDir + "/packaging/settings.ini.example";
    std::ostringstream errors;
    const Preferences p = readPreferences(example, errors);
    EXPECT_EQ(errors.str(), "");
    EXPECT_EQ(describe(p), describe(Preferences{}));

    std::set<std::string> written;
    std::istringstream lines(readFile(example));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        written.insert(line.substr(0, line.find(' ')));
    }
    std::set<std::string> keys;
    for (const auto& [key, value] : everyKey) keys.insert(key);
    EXPECT_EQ(written, keys);

    const std::string manual = readFile(sourceDir + "/packaging/tarnhollow.6.in");
    const std::string readme = readFile(sourceDir + "/README.md");
    for (const std::string& key : keys) {
        const std::regex word("\\b" + key + "\\b");
        EXPECT_TRUE(std::regex_search(manual, word)) << key << " is not in the man page";
        EXPECT_TRUE(std::regex_search(readme, word)) << key << " is not in the README";
    }
}
