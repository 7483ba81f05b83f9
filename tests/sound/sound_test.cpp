// The sound layer on a real OpenAL Soft device whose wave-file backend records the mix.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <thread>
#include <vector>

#include "sound/sound.h"
#include "support/process.h"

using namespace tarn::sound;
using namespace tarn::test;

namespace {

void writeTone(const std::string& path, double seconds, double frequency) {
    SF_INFO info{0, 44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};  // 44.1 kHz mono
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<short> samples(static_cast<size_t>(seconds * info.samplerate));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(20000 * std::sin(2 * M_PI * frequency * i / 44100.0));
    sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
}

// The strongest level of one frequency in any 50 ms of a recording, 1.0 being a full-scale
// sine. 2D sounds sit in the middle, so the left channel holds all of them.
float toneLevel(const std::string& path, double frequency) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);  // none: no frames, level 0
    std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    const auto window = static_cast<sf_count_t>(0.05 * info.samplerate);
    const double turn = 2 * M_PI * frequency / info.samplerate;  // radians a sample
    float level = 0.0f;
    for (sf_count_t start = 0; start + window <= info.frames; start += window) {
        std::complex<double> sum;
        for (sf_count_t i = 0; i < window; ++i)
            sum += static_cast<double>(samples[(start + i) * info.channels]) *
                   std::polar(1.0, -turn * static_cast<double>(i));
        level = std::max(level, static_cast<float>(2 * std::abs(sum) / window));
    }
    return level;
}

// Waits for the mixer to play a sound to its end; the bound only stops a hung mixer.
void waitUntilPlayed(const Engine* engine, Sound sound) {
    for (int tries = 0; isPlaying(engine, sound); ++tries) {
        if (tries == 6000) FAIL() << "the mixer never finished a sound";
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Points OpenAL Soft at its wave-file backend before the first device is opened.
class WaveDevice : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeTempDir();
        output = dir + "/mix.wav";
        writeFile(dir + "/alsoft.conf",
                  "[general]\ndrivers = wave\n[wave]\nfile = " + output + "\n");
        setenv("ALSOFT_CONF", (dir + "/alsoft.conf").c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
        writeTone(dir + "/loop.wav", 0.25, 330.0);
        writeTone(dir + "/ping.wav", 0.3, 880.0);
    }
    // Plays the ping once at a volume and returns its level in the recording.
    float recordPing(float volume) {
        Engine* engine = createEngine();
        EXPECT_NE(engine, nullptr);
        const Sound ping = play2D(engine, (dir + "/ping.wav").c_str(), false, false, true);
        setVolume(engine, ping, volume);
        waitUntilPlayed(engine, ping);
        dropEngine(engine);
        return toneLevel(output, 880.0);
    }
    std::string dir;
    std::string output;
};

}  // namespace

TEST_F(WaveDevice, LoopedAndOneShotSoundsReachTheOutput) {
    Engine* engine = createEngine();
    ASSERT_NE(engine, nullptr);
    const std::string loopFile = dir + "/loop.wav";
    EXPECT_FALSE(play2D(engine, loopFile.c_str(), true, true, false))
        << "an untracked sound hands out no handle";
    const Sound loop = play2D(engine, loopFile.c_str(), true, false, true);
    waitUntilPlayed(engine, play2D(engine, (dir + "/ping.wav").c_str(), false, false, true));
    EXPECT_TRUE(isPlaying(engine, loop)) << "past its file's end, only looping keeps it playing";
    dropEngine(engine);
    EXPECT_GT(toneLevel(output, 330.0), 0.1f);
    EXPECT_GT(toneLevel(output, 880.0), 0.1f) << "the one-shot ping";
}

TEST_F(WaveDevice, VolumeScalesThePingAndZeroOrBelowIsSilence) {
    const float full = recordPing(1.0f);
    const float quarter = recordPing(0.25f);
    EXPECT_GT(full, 0.15f);
    EXPECT_GT(quarter, 0.01f);
    EXPECT_LT(quarter, full / 2);
    EXPECT_EQ(recordPing(-0.4f), 0.0f);
}

TEST_F(WaveDevice, AHeldSonarKeyKeepsOnlyThePingsStillSoundingAndDecodesTheFileOnce) {
    // One 0.3 s ping a frame at about 100 frames a second, as a held O asks for.
    Engine* engine = createEngine();
    ASSERT_NE(engine, nullptr);
    const std::string ping = dir + "/ping.wav";
    Sound last;
    for (int frame = 0; frame < 150; ++frame) {
        last = play2D(engine, ping.c_str(), false, false, true);
        setVolume(engine, last, 0.5f);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(cachedBufferCount(engine), 1u);
    waitUntilPlayed(engine, last);  // and every ping before it
    play2D(engine, ping.c_str(), false, false, true);
    EXPECT_EQ(liveSoundCount(engine), 1u) << "finished pings were kept";
    dropEngine(engine);
}

TEST_F(WaveDevice, MissingOrUndecodableFilesGiveNoSoundAndAreNamedOnce) {
    const std::string cut = dir + "/cut.wav";
    writeFile(cut, readFile(dir + "/ping.wav").substr(0, 30));
    Engine* engine = createEngine();
    ASSERT_NE(engine, nullptr);
    testing::internal::CaptureStderr();
    for (const std::string& file : {dir + "/absent.wav", cut, cut, dir + "/absent.wav"}) {
        EXPECT_FALSE(play2D(engine, file.c_str(), false, false, true)) << file;
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(liveSoundCount(engine), 0u);
    dropEngine(engine);

    for (const std::string& file : {dir + "/absent.wav", cut})
        EXPECT_EQ(occurrences(err, "[" + file + "]: "), 1) << err;
}

// OpenAL Soft and ALSA print their own probing when there is no card; the game's stderr
// stays its own. A game without any device runs on silently in the start-up test.
TEST(LibraryLogs, OpeningTheDefaultDeviceAddsNoLibraryLines) {
    unsetenv("ALSOFT_LOGLEVEL");
    unsetenv("ALSOFT_DRIVERS");
    setenv("ALSOFT_CONF", "/dev/null", 1);
    testing::internal::CaptureStderr();
    Engine* engine = createEngine();
    dropEngine(engine);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
