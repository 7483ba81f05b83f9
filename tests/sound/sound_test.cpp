// The sound layer on a real OpenAL Soft device whose wave-file backend records the mix.
#include "sound/sound.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "support/process.h"

using namespace tarn::sound;
using namespace tarn::test;

namespace {

// A 44.1 kHz WAV with a tone of its own on each channel; 0 leaves a channel silent. With a
// channel map, the file says where each channel goes (WAVE_FORMAT_EXTENSIBLE).
void writeChannels(const std::string& path, const std::vector<double>& frequencies,
                   double seconds = 0.3, std::vector<int> map = {}) {
    const int channels = static_cast<int>(frequencies.size());
    SF_INFO info{0,        44100,
                 channels, (map.empty() ? SF_FORMAT_WAV : SF_FORMAT_WAVEX) | SF_FORMAT_PCM_16,
                 0,        0};
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    if (!map.empty())
        sf_command(file, SFC_SET_CHANNEL_MAP_INFO, map.data(),
                   static_cast<int>(map.size() * sizeof(int)));
    const size_t count = static_cast<size_t>(seconds * 44100);
    std::vector<short> frames(count * frequencies.size());
    for (size_t i = 0; i < frames.size(); ++i)
        frames[i] = static_cast<short>(20000 * std::sin(2 * M_PI * frequencies[i % channels] *
                                                        double(i / channels) / 44100.0));
    sf_writef_short(file, frames.data(), static_cast<sf_count_t>(frames.size() / channels));
    sf_close(file);
}

// The strongest level of one frequency in any 50 ms of one channel of a recording, 1.0
// being a full-scale sine. 2D mono sounds sit in the middle, so the left channel holds all
// of them.
float toneLevel(const std::string& path, double frequency, int channel = 0) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return 0.0f;
    std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    const auto window = static_cast<sf_count_t>(0.05 * info.samplerate);
    const double turn = 2 * M_PI * frequency / info.samplerate;  // radians a sample
    float level = 0.0f;
    for (sf_count_t start = 0; start + window <= info.frames; start += window) {
        std::complex<double> sum;
        for (sf_count_t i = 0; i < window; ++i)
            sum += static_cast<double>(samples[(start + i) * info.channels + channel]) *
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

// Points OpenAL Soft at its wave-file backend before the first device is opened. OpenAL Soft
// reads its configuration once a process, so each test needs a process of its own, as CTest
// gives it; in one process, later tests find no recording of their own.
class WaveDevice : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeTempDir();
        output = dir + "/mix.wav";
        ping = dir + "/ping.wav";
        writeFile(dir + "/alsoft.conf",
                  "[general]\ndrivers = wave\n[wave]\nfile = " + output + "\n");
        setenv("ALSOFT_CONF", (dir + "/alsoft.conf").c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
        writeChannels(ping, {880.0});
        engine = createEngine();
        ASSERT_NE(engine, nullptr);
    }
    // Plays a file once to its end, on a device of its own after the first, and returns the
    // recording's file.
    const std::string& playToEnd(const std::string& file, float volume = 1.0f,
                                 float masterGain = 1.0f) {
        if (!engine) engine = createEngine();
        setMasterGain(engine, masterGain);
        const Sound sound = play2D(engine, file.c_str(), false, false, true);
        EXPECT_TRUE(sound) << file << " was refused";
        setVolume(engine, sound, volume);
        waitUntilPlayed(engine, sound);
        dropEngine(engine);
        return output;
    }
    std::string dir, output, ping;
    Engine* engine = nullptr;
};

}  // namespace

// A paused one-shot holds its place and goes on when let go; past its file's end, only
// looping keeps a sound playing.
TEST_F(WaveDevice, LoopedOneShotAndPausedSoundsReachTheOutput) {
    const std::string loopFile = dir + "/loop.wav";
    writeChannels(loopFile, {330.0}, 0.25);
    EXPECT_FALSE(play2D(engine, loopFile.c_str(), true, true, false))
        << "an untracked sound hands out no handle";
    const Sound loop = play2D(engine, loopFile.c_str(), true, false, true);
    const Sound once = play2D(engine, ping.c_str(), false, false, true);
    setAllPaused(engine, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(isPlaying(engine, once)) << "a paused 0.3 s ping ran out while held";
    setAllPaused(engine, false);
    waitUntilPlayed(engine, once);
    EXPECT_TRUE(isPlaying(engine, loop));
    dropEngine(engine);
    EXPECT_GT(toneLevel(output, 330.0), 0.1f);
    EXPECT_GT(toneLevel(output, 880.0), 0.1f) << "the one-shot ping";
}

// Zero or below is silence, as is a muted player.
TEST_F(WaveDevice, TheSoundsAndThePlayersVolumesScaleThePing) {
    const float full = toneLevel(playToEnd(ping), 880.0);
    const float quarter = toneLevel(playToEnd(ping, 0.25f), 880.0);
    EXPECT_GT(full, 0.15f);
    EXPECT_GT(quarter, 0.01f);
    EXPECT_LT(quarter, full / 2);
    EXPECT_NEAR(toneLevel(playToEnd(ping, 1.0f, 0.5f), 880.0), full / 2, full / 10);
    EXPECT_EQ(toneLevel(playToEnd(ping, -0.4f), 880.0), 0.0f);
    EXPECT_EQ(toneLevel(playToEnd(ping, 1.0f, 0.0f), 880.0), 0.0f);
}

TEST_F(WaveDevice, AHeldSonarKeyKeepsOnlyThePingsStillSoundingAndDecodesTheFileOnce) {
    // One 0.3 s ping a frame at about 100 frames a second, as a held O asks for.
    Sound last;
    for (int frame = 0; frame < 150; ++frame) {
        last = play2D(engine, ping.c_str(), false, false, true);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(cachedBufferCount(engine), 1u);
    waitUntilPlayed(engine, last);  // and every ping before it
    play2D(engine, ping.c_str(), false, false, true);
    EXPECT_EQ(liveSoundCount(engine), 1u) << "finished pings were kept";
    dropEngine(engine);
}

TEST_F(WaveDevice, MissingOrUndecodableFilesGiveNoSoundAndAreNamedOnce) {
    const std::string cut = dir + "/cut.wav", absent = dir + "/absent.wav";
    writeFile(cut, readFile(ping).substr(0, 30));
    testing::internal::CaptureStderr();
    for (const std::string& file : {absent, cut, cut, absent})
        EXPECT_FALSE(play2D(engine, file.c_str(), false, false, true)) << file;
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(liveSoundCount(engine), 0u);
    dropEngine(engine);
    for (const std::string& file : {absent, cut})
        EXPECT_EQ(occurrences(err, "[" + file + "]: "), 1) << err;
}

// Eleven minutes of mono at 44.1 kHz is 58 MB of samples; the sound keeps what fits the
// budget and plays from its start. The ping is followed by a hole in the file, which reads
// as silence without ever being written.
TEST_F(WaveDevice, ASoundLongerThanTheBudgetPlaysItsFirstPart) {
    const std::uint32_t frames = 29106000;
    std::string wav = readFile(ping);
    ASSERT_EQ(wav.substr(36, 4), "data") << "a 44-byte header";
    for (const auto& [at, value] : {std::pair{4u, 36 + 2 * frames}, std::pair{40u, 2 * frames}})
        for (int i = 0; i < 4; ++i) wav[at + i] = static_cast<char>(value >> (8 * i));
    const std::string file = dir + "/long.wav";
    writeFile(file, wav);
    std::filesystem::resize_file(file, 44 + 2 * std::uintmax_t{frames});
    testing::internal::CaptureStdout();
    const Sound sound = play2D(engine, file.c_str(), true, false, true);
    const std::string said = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(sound) << "refused";
    EXPECT_EQ(cachedBufferBytes(engine), maxSoundBytes);
    EXPECT_EQ(occurrences(said, "[" + file + "]"), 1) << "the cut goes unsaid: " << said;
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_TRUE(isPlaying(engine, sound));
    dropEngine(engine);
    EXPECT_GT(toneLevel(output, 880.0), 0.1f) << "the ping at its start";
}

// More than two channels are mixed down to stereo by where each channel sits: in the WAV
// order (front left, front right, centre, low frequency, rear left, rear right), or where a
// file names its channels, as the surround pair here. Recorded channel 0 is left, 1 right.
TEST_F(WaveDevice, MoreThanTwoChannelsAreMixedDownToStereoByWhereEachChannelSits) {
    const std::string surround = dir + "/surround.wav", named = dir + "/named.wav";
    writeChannels(surround, {330.0, 880.0, 0.0, 0.0, 550.0, 0.0});
    writeChannels(named, {0.0, 0.0, 330.0, 880.0}, 0.3,
                  {SF_CHANNEL_MAP_FRONT_LEFT, SF_CHANNEL_MAP_FRONT_RIGHT, SF_CHANNEL_MAP_SIDE_LEFT,
                   SF_CHANNEL_MAP_SIDE_RIGHT});
    for (const auto& [file, tones] :
         {std::pair{surround, std::vector<std::pair<double, int>>{{330, 0}, {880, 1}, {550, 0}}},
          std::pair{named, std::vector<std::pair<double, int>>{{330, 0}, {880, 1}}}}) {
        playToEnd(file);
        for (const auto& [frequency, side] : tones) {
            const float near = toneLevel(output, frequency, side);
            EXPECT_GT(near, 0.05f) << file << " " << frequency << " Hz";
            EXPECT_GT(near, 2 * toneLevel(output, frequency, 1 - side)) << file << " " << frequency;
        }
    }
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
