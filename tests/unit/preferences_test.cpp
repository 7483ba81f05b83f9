// The settings file as a player writes it: every key, one refused line of each kind,
// rebinding, where the file lies, and the example shipped with the game.
#include "app/preferences.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cctype>
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
const std::string everyKey =
    "window_width = 1280\nwindow_height = 720\nfullscreen = yes\nmouse_sensitivity = 0.125\n"
    "invert_mouse = on\ngamepad_look_speed = 240.5\ngamepad_dead_zone = 0.35\nvolume = 40\n"
    "mute = 1\npause_on_lost_focus = false\nvsync = off\nkey_forward = Up\nkey_back = Down\n"
    "key_left = Left\nkey_right = Right\nkey_photo = Mouse2\nkey_light = L\nkey_card = C\n"
    "key_sonar = KP0\nkey_more_light = Z\nkey_pause = Tab\nkey_play_again = Backspace\n"
    "key_fullscreen = F12\nkey_mute = 9\nkey_volume_down = KP1\nkey_volume_up = KP2\n";

// The keys a settings file's lines name.
std::set<std::string> keysIn(const std::string& text) {
    std::set<std::string> keys;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != '#') keys.insert(line.substr(0, line.find(' ')));
    return keys;
}

std::string bindingsOf(const Preferences& p, Action action) {
    std::string text;
    for (int binding : p.bindings[static_cast<int>(action)])
        text += (text.empty() ? "" : ", ") + bindingName(binding);
    return text;
}

// Every preference, to compare two whole sets and show the difference.
std::string describe(const Preferences& p) {
    std::ostringstream text;
    text << p.windowWidth << "x" << p.windowHeight << " fullscreen " << p.fullscreen << " mouse "
         << p.mouseSensitivity << " invert " << p.invertY << " gamepad " << p.gamepadLookSpeed
         << "/" << p.gamepadDeadZone << " volume " << p.masterVolume << " mute " << p.mute
         << " pause unfocused " << p.pauseWhenUnfocused << " vsync " << p.vsync << "\n";
    for (int action = 0; action < actionCount; ++action)
        text << bindingsOf(p, static_cast<Action>(action)) << ";";
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

    // The errors written, the scratch folder left out of the file's name.
    std::string reported() const {
        std::string text = errors;
        for (size_t at; (at = text.find(folder + "/")) != std::string::npos;)
            text.erase(at, folder.size() + 1);
        return text;
    }

    const std::string folder = makeTempDir();
    const std::string path = folder + "/settings.ini";
    std::string errors;
};

}  // namespace

TEST_F(SettingsFile, EveryKeyIsRead) {
    EXPECT_EQ(describe(read(everyKey)),
              "1280x720 fullscreen 1 mouse 0.125 invert 1 gamepad 240.5/0.35 volume 40 mute 1 "
              "pause unfocused 0 vsync 0\n"
              "Up;Down;Left;Right;Mouse2;L;C;KP0;Z;Tab;Backspace;F12;9;KP1;KP2;");
    EXPECT_EQ(errors, "");
}

TEST_F(SettingsFile, CommentsSpacesCaseAndALaterLineForTheSameKeyAreTakenAsAPlayerMeansThem) {
    const Preferences p = read(
        "\xEF\xBB\xBF# written by hand\r\n\n"
        "   volume=30   # quieter at night\r\n"
        "\tfullscreen =\tTRUE\n"
        "key_photo = p ,  mouse1, kpdecimal\n"
        "volume = 60\n"
        "window_width = 1024\n"
        "window_width = wide\n"
        "key_light = m, M, space\n");
    EXPECT_EQ(reported(),
              R"(settings.ini:8: window_width must be a whole number from 1 to 16384, not "wide"
)");
    EXPECT_EQ(p.masterVolume, 60) << "the later line wins";
    EXPECT_EQ(p.windowWidth, 1024) << "a bad line is passed over: the earlier value holds";
    EXPECT_TRUE(p.fullscreen);
    EXPECT_EQ(bindingsOf(p, Action::Photo), "P, Mouse1, KPDecimal");
    EXPECT_EQ(bindingsOf(p, Action::Light), "M, Space") << "a key named twice counts once";
}

TEST_F(SettingsFile, EachBadLineIsOneFileLineMessageAndItsKeyKeepsTheDefault) {
    const Preferences p = read(
        "fullscreen\n"
        "mouse_speed = 2\n"
        "volume = 101\n"
        "window_height = 600.5\n"
        "gamepad_dead_zone = nan\n"
        "invert_mouse = maybe\n"
        "vsync =\n"
        "= 3\n"
        "key_photo = Mouse9\n"
        "key_card = E,\n"
        "key_sonar = Escape\n"
        "key_pause = F3\n"
        "Volume = 50\n");
    EXPECT_EQ(reported(), R"(settings.ini:1: no "=" in "fullscreen"
settings.ini:2: unknown key "mouse_speed"
settings.ini:3: volume must be a whole number from 0 to 100, not "101"
settings.ini:4: window_height must be a whole number from 1 to 16384, not "600.5"
settings.ini:5: gamepad_dead_zone must be a number from 0 to 0.9, not "nan"
settings.ini:6: invert_mouse must be true or false (or 1 or 0, yes or no, on or off), not "maybe"
settings.ini:7: vsync must be true or false (or 1 or 0, yes or no, on or off), not empty
settings.ini:8: no key before "=" in "= 3"
settings.ini:9: key_photo: "Mouse9" is not a key name
settings.ini:10: key_card: "E," has an empty key name
settings.ini:11: key_sonar: Escape cannot be bound, it quits the game
settings.ini:12: key_pause: F3 cannot be bound, F2 to F9 switch how the lake is drawn
settings.ini:13: unknown key "Volume"
)");
    EXPECT_EQ(errors.rfind(path + ":1: ", 0), 0u) << "the file's whole name starts each line";
    EXPECT_EQ(describe(p), describe(Preferences{}));
}

TEST_F(SettingsFile, KeysAreRebound) {
    // A swap needs no step between: the two lines are judged together.
    Preferences p = read("key_photo = M\nkey_light = P, Mouse1\n");
    EXPECT_EQ(errors, "");
    EXPECT_EQ(bindingsOf(p, Action::Photo) + "; " + bindingsOf(p, Action::Light), "M; P, Mouse1");

    // A key another action keeps is taken with a warning, on the line that made it shared.
    p = read("key_sonar = Q\n\nkey_photo = Space, Mouse3\nkey_card = q\n");
    EXPECT_EQ(reported(),
              R"(settings.ini:3: key_photo: Space is also key_light's key; pressing it does both
settings.ini:4: key_card: Q is also key_sonar's key; pressing it does both
)");
    EXPECT_EQ(bindingsOf(p, Action::Light), "M, Space");
    EXPECT_EQ(bindingsOf(p, Action::Card), "Q");
}

TEST(Preferences, TheDefaultKeysAreTheGamesKeysWithMuteAndVolumeOnKeysNoControlUses) {
    EXPECT_EQ(describe(Preferences{}).substr(describe(Preferences{}).find('\n') + 1),
              "W;S;A;D;P, Mouse1;M, Space;E;O;X;F1, Pause;R, Enter, KPEnter;F11;0;"
              "Minus, KPSubtract;Equal, KPAdd;");
}

TEST(Preferences, KeyNamesAreGlfwsKeysEachWithOneNameReadInAnyCase) {
    // clang-format off
    const std::map<std::string, int> some = {
        {"KPAdd", GLFW_KEY_KP_ADD}, {"F25", GLFW_KEY_F25}, {"LeftShift", GLFW_KEY_LEFT_SHIFT},
        {"RightCtrl", GLFW_KEY_RIGHT_CONTROL}, {"Mouse8", bindingForMouseButton(GLFW_MOUSE_BUTTON_8)}};
    // clang-format on
    for (const auto& [name, binding] : some) EXPECT_EQ(bindingFromName(name), binding) << name;

    // Whatever has a name reads back as itself, in upper and lower case.
    std::vector<int> every;
    for (int key = 0; key <= GLFW_KEY_LAST; ++key) every.push_back(key);
    for (int button = 0; button <= GLFW_MOUSE_BUTTON_LAST; ++button)
        every.push_back(bindingForMouseButton(button));
    for (int binding : every) {
        std::string name = bindingName(binding);
        if (name.empty()) continue;
        EXPECT_EQ(bindingFromName(name), binding) << name;
        for (auto change : {::tolower, ::toupper}) {
            for (char& c : name) c = static_cast<char>(change(static_cast<unsigned char>(c)));
            EXPECT_EQ(bindingFromName(name), binding) << name;
        }
    }
    for (const char* unknown : {"", "F0", "F26", "Mouse0", "Mouse9", "KP", "Shift", " W"})
        EXPECT_EQ(bindingFromName(unknown), -1) << '"' << unknown << '"';
}

TEST(Preferences, TheFileLiesInTheConfigFolderOfTheXdgRules) {
    const auto pathWith = [](std::map<std::string, std::string> environment) {
        return settingsPath([&](const char* name) -> const char* {
            const auto found = environment.find(name);
            return found == environment.end() ? nullptr : found->second.c_str();
        });
    };
    EXPECT_EQ(pathWith({{"XDG_CONFIG_HOME", "/cfg//"}, {"HOME", "/home/d"}}),
              "/cfg/tarnhollow/settings.ini");
    EXPECT_EQ(pathWith({{"HOME", "/home/d/"}}), "/home/d/.config/tarnhollow/settings.ini");
    EXPECT_EQ(pathWith({{"XDG_CONFIG_HOME", "./cfg"}, {"HOME", "/home/d"}}),
              "/home/d/.config/tarnhollow/settings.ini")
        << "a relative folder is passed over";
    EXPECT_EQ(pathWith({{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "home"}}), "");
}

TEST_F(SettingsFile, AMissingFileGivesTheDefaultsSilentlyAndOneThatCannotBeReadSaysSoOnce) {
    std::ostringstream out;
    EXPECT_EQ(describe(readPreferences(folder + "/none.ini", out)), describe(Preferences{}));
    EXPECT_EQ(readPreferences("", out).windowWidth, 800);
    EXPECT_EQ(out.str(), "");

    fs::create_directory(path);
    EXPECT_EQ(describe(readPreferences(path, out)), describe(Preferences{}));
    EXPECT_EQ(out.str(), path + ": is a folder, not a settings file\n");
}

// The example the package ships can never drift from the game: read as a settings file it
// says nothing and changes nothing, and it, the man page and the README name every key.
TEST(Preferences, TheExampleFileHoldsEveryKeyAtItsDefaultAndTheDocumentsNameEveryKey) {
    const std::string example = sourceDir + "/packaging/settings.ini.example";
    std::ostringstream errors;
    EXPECT_EQ(describe(readPreferences(example, errors)), describe(Preferences{}));
    EXPECT_EQ(errors.str(), "");

    const std::set<std::string> keys = keysIn(everyKey);
    EXPECT_EQ(keysIn(readFile(example)), keys);

    const std::string manual = readFile(sourceDir + "/packaging/tarnhollow.6.in");
    const std::string readme = readFile(sourceDir + "/README.md");
    for (const std::string& key : keys) {
        const std::regex word("\\b" + key + "\\b");
        EXPECT_TRUE(std::regex_search(manual, word)) << key << " is not in the man page";
        EXPECT_TRUE(std::regex_search(readme, word)) << key << " is not in the README";
    }
}
