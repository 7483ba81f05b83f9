// Pause, play again, full screen and the sound's level without a window: the window
// system's signals and the keys (through the action map) in, the state and what the frame
// must do out.
#include "app/session.h"

#include <gtest/gtest.h>

#include "app/hud.h"
#include "app/input.h"
#include "app/rules.h"

using namespace tarn::app;

namespace {

class Session : public ::testing::Test {
protected:
    SessionOutcome frame(std::initializer_list<int> held, WindowSignals signals = {}) {
        input.keys = held;
        return handleSession(map.read(input, nullptr, 0.0f), signals, pauseWhenUnfocused, game,
                             sound);
    }

    ScriptedInput input;
    ActionMap map;
    GameState game;
    SoundLevel sound;
    bool pauseWhenUnfocused = true;
};

}  // namespace

TEST_F(Session, FocusMinimisingAndThePauseKeyPauseAndFocusOrTheKeyGoOn) {
    EXPECT_EQ(frame({}, {false, std::nullopt}).paused, true) << "focus lost";
    EXPECT_FALSE(frame({}).paused) << "nothing new: no change";
    EXPECT_TRUE(game.paused);
    const SessionOutcome back = frame({}, {true, std::nullopt});
    EXPECT_EQ(back.paused, false);
    EXPECT_EQ(back.lines, std::vector<std::string>{"Game resumed."});

    EXPECT_EQ(frame({}, {std::nullopt, true}).paused, true) << "minimised";
    EXPECT_FALSE(frame({}, {std::nullopt, false}).paused) << "shown again, still without focus";
    EXPECT_EQ(frame({}, {true, std::nullopt}).paused, false);

    // The key pauses and resumes once per press, however long it is held.
    EXPECT_EQ(frame({keys::f1}).paused, true);
    for (int held = 0; held < 5; ++held) EXPECT_FALSE(frame({keys::f1}).paused);
    EXPECT_FALSE(frame({}).paused);
    EXPECT_EQ(frame({keys::pause}).paused, false);

    pauseWhenUnfocused = false;
    EXPECT_FALSE(frame({}, {false, std::nullopt}).paused) << "the player asked to play on";
}

TEST_F(Session, MuteAndTheVolumeKeysStepWithinZeroToAHundredAndSaySo) {
    const SessionOutcome muted = frame({keys::zero});
    EXPECT_EQ(muted.masterGain, 0.0f);
    EXPECT_EQ(muted.lines, std::vector<std::string>{"Sound muted."});
    frame({});
    const SessionOutcome down = frame({keys::minus});
    EXPECT_FLOAT_EQ(down.masterGain.value(), 0.9f) << "turning the volume unmutes";
    EXPECT_EQ(down.lines, std::vector<std::string>{"Volume 90%."});
    for (int i = 0; i < 12; ++i) {
        frame({});
        frame({keys::minus});
    }
    EXPECT_EQ(sound.volume, 0);
    for (int i = 0; i < 12; ++i) {
        frame({});
        frame({keys::equal});
    }
    EXPECT_EQ(sound.volume, 100);
    EXPECT_FALSE(frame({keys::equal}).masterGain) << "held, not pressed again";
}

TEST_F(Session, AfterTheEndROrEnterStartsAFreshHuntOnce) {
    game.photosLeft = 0;
    game.lightUsedSum = 20.0;
    game.bonusFound = true;
    game.maxLightDuration = 10000.0;
    EXPECT_FALSE(frame({keys::r}).newHunt) << "the hunt is still open";
    game.gameOver = true;
    EXPECT_FALSE(frame({keys::r}).newHunt) << "R held from before the end is no new press";
    frame({});
    const SessionOutcome again = frame({keys::enter});
    EXPECT_TRUE(again.newHunt);
    EXPECT_EQ(again.lines.size(), 1u);
    EXPECT_EQ(game.photosLeft, photosAtStart);
    EXPECT_FALSE(game.gameOver || game.bonusFound || game.lightOn);
    EXPECT_EQ(game.lightUsedSum, 0.0);
    EXPECT_EQ(game.maxLightDuration, GameState{}.maxLightDuration) << "the cheat carried over";

    game.gameOver = true;
    game.paused = true;
    frame({});
    EXPECT_FALSE(frame({keys::r}).newHunt) << "a new hunt under the pause overlay";
}

TEST_F(Session, F11OrAltEnterSwitchFullScreenAndAltEnterIsNoNewHunt) {
    EXPECT_TRUE(frame({keys::f11}).toggleFullscreen);
    EXPECT_FALSE(frame({keys::f11}).toggleFullscreen) << "held";
    frame({});
    game.gameOver = true;
    const SessionOutcome altEnter = frame({keys::leftAlt, keys::enter});
    EXPECT_TRUE(altEnter.toggleFullscreen);
    EXPECT_FALSE(altEnter.newHunt);
}

TEST(Overlay, KeepsItsPlacesAt800By600AndScalesWholeElsewhere) {
    GameState game;
    const std::vector<HudText> standard = statusLines(game, 800, 600);
    EXPECT_EQ(standard[0].x, 25.0f);
    EXPECT_EQ(standard[0].scale, 1.0f);
    EXPECT_EQ(standard[1].x, 700.0f);
    EXPECT_EQ(standard[1].y, 570.0f);
    for (const auto& [w, h] : {std::pair{1920, 1080}, {640, 480}, {3840, 2160}, {600, 1000}}) {
        const std::vector<HudText> lines = statusLines(game, w, h);
        const float k = lines[0].scale;
        EXPECT_NEAR(lines[1].scale, 0.5f * k, 1e-6f);
        // The widest line, the lost banner, ends inside the window at every size.
        game.photosLeft = 0;
        const HudText banner = endBanners(game, w, h)[0];
        EXPECT_GT(banner.x, 0.0f) << w << "x" << h;
        EXPECT_LT(banner.x + 32 * 17.0f * banner.scale, float(w)) << w << "x" << h;
        game.photosLeft = 5;
    }
}
