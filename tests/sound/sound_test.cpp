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

std::vector<short> tone(double seconds, double frequency) {
    std::vector<short> samples(static_cast<size_t>(seconds * 44100));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(20000 * std::sin(2 * M_PI * frequency * i / 44100.0));
    return samples;
}

void writeTone(const std::string& path, double seconds, double frequency) {
    SF_INFO info{0, 44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};  // 44.1 kHz mono
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    const std::vector<short> samples = tone(seconds, frequency);
    sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
}

// A tone of its own on each channel, 0.3 s long; 0 leaves a channel silent. With a
// channel map, the file says where each channel goes (WAVE_FORMAT_EXTENSIBLE).
void writeChannels(const std::string& path, const std::vector<double>& frequencies,
                   const std::vector<int>& channelMap = {}) {
    const int channels = static_cast<int>(frequencies.size());
    SF_INFO info{
        0,        44100,
        channels, (channelMap.empty() ? SF_FORMAT_WAV : SF_FORMAT_WAVEX) | SF_FORMAT_PCM_16,
        0,        0};
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    // libsndfile keeps the map, though for WAV it answers SF_FALSE; the reading side shows it.
    std::vector<int> map = channelMap;
    if (!map.empty())
        sf_command(file, SFC_SET_CHANNEL_MAP_INFO, map.data(),
                   static_cast<int>(map.size() * sizeof(int)));
    std::vector<short> frames(tone(0.3, 1.0).size() * frequencies.size(), 0);
    for (int c = 0; c < channels; ++c) {
        if (frequencies[c] == 0.0) continue;
        const std::vector<short> samples = tone(0.3, frequencies[c]);
        for (size_t i = 0; i < samples.size(); ++i) frames[i * channels + c] = samples[i];
    }
    sf_writef_short(file, frames.data(), static_cast<sf_count_t>(frames.size() / channels));
    sf_close(file);
}

// A mono 44.1 kHz WAV of that many frames: a ping at the start, then silence that is a hole
// in the file, which the file system reads as zeros without it ever being written.
void writeLongPing(const std::string& path, std::uint32_t frames) {
    auto field = [](std::uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
        return out;
    };
    const std::vector<short> ping = tone(0.3, 880.0);
    std::string wav = "RIFF" + field(36 + 2 * frames, 4) + "WAVEfmt " + field(16, 4) + field(1, 2) +
                      field(1, 2) + field(44100, 4) + field(88200, 4) + field(2, 2) + field(16, 2) +
                      "data" + field(2 * frames, 4);
    for (const short sample : ping) wav += field(static_cast<std::uint16_t>(sample), 2);
    writeFile(path, wav);
    std::filesystem::resize_file(path, 44 + 2 * std::uintmax_t{frames});
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
        writeFile(dir + "/alsoft.conf",
                  "[general]\ndrivers = wave\n[wave]\nfile = " + output + "\n");
        setenv("ALSOFT_CONF", (dir + "/alsoft.conf").c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
        writeTone(dir + "/loop.wav", 0.25, 330.0);
        writeTone(dir + "/ping.wav", 0.3, 880.0);
    }
    // Plays the ping once at a volume, under the player's overall level, and returns its
    // level in the recording.
    float recordPing(float volume, float masterGain = 1.0f) {
        Engine* engine = createEngine();
        EXPECT_NE(engine, nullptr);
        setMasterGain(engine, masterGain);
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

TEST_F(WaveDevice, ThePlayersVolumeScalesEverySoundAndMuteSilencesThem) {
    const float full = recordPing(1.0f);
    const float half = recordPing(1.0f, 0.5f);
    EXPECT_NEAR(half, full / 2, full / 10);
    EXPECT_EQ(recordPing(1.0f, 0.0f), 0.0f);
}

TEST_F(WaveDevice, APausedSoundHoldsItsPlaceAndGoesOnWhenLetGo) {
    Engine* engine = createEngine();
    ASSERT_NE(engine, nullptr);
    const Sound ping = play2D(engine, (dir + "/ping.wav").c_str(), false, false, true);
    setAllPaused(engine, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(isPlaying(engine, ping)) << "a paused 0.3 s ping ran out while held";
    setAllPaused(engine, false);
    waitUntilPlayed(engine, ping);
    dropEngine(engine);
    EXPECT_GT(toneLevel(output, 880.0), 0.1f);
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

// Eleven minutes of mono at 44.1 kHz is 58 MB of samples; the sound keeps what fits the
// budget and plays from its start.
TEST_F(WaveDevice, ASoundLongerThanTheBudgetPlaysItsFirstPart) {
    const std::string file = dir + "/long.wav";
    writeLongPing(file, 29106000);
    Engine* engine = createEngine();
    ASSERT_NE(engine, nullptr);
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

// Recorded stereo: channel 0 is left, 1 is right.
TEST_F(WaveDevice, MoreThanTwoChannelsAreMixedDownToStereoByWhereEachChannelSits) {
    // In the WAV channel order: front left, front right, centre, low frequency, rear left
    // and rear right.
    const std::string surround = dir + "/surround.wav";
    writeChannels(surround, {330.0, 880.0, 0.0, 0.0, 550.0, 0.0});
    // A file that names its channels: the third and fourth are the surround pair, not the
    // centre and the low frequencies they are in the order above.
    const std::string named = dir + "/named.wav";
    writeChannels(named, {0.0, 0.0, 330.0, 880.0},
                  {SF_CHANNEL_MAP_FRONT_LEFT, SF_CHANNEL_MAP_FRONT_RIGHT, SF_CHANNEL_MAP_SIDE_LEFT,
                   SF_CHANNEL_MAP_SIDE_RIGHT});

    struct Expected {
        double frequency;
        bool left;
    };
    for (const auto& [file, tones] :
         {std::pair{surround, std::vector<Expected>{{330.0, true}, {880.0, false}, {550.0, true}}},
          std::pair{named, std::vector<Expected>{{330.0, true}, {880.0, false}}}}) {
        Engine* engine = createEngine();
        ASSERT_NE(engine, nullptr);
        const Sound sound = play2D(engine, file.c_str(), false, false, true);
        EXPECT_TRUE(sound) << file << " was refused";
        waitUntilPlayed(engine, sound);
        dropEngine(engine);
        for (const Expected& e : tones) {
            const float near = toneLevel(output, e.frequency, e.left ? 0 : 1);
            const float far = toneLevel(output, e.frequency, e.left ? 1 : 0);
            EXPECT_GT(near, 0.05f) << file << " " << e.frequency << " Hz";
            EXPECT_GT(near, 2 * far) << file << " " << e.frequency << " Hz";
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
