// Sound engine over OpenAL Soft; files decoded to 16-bit PCM with libsndfile.
#include "sound/sound.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace tarn::sound {

struct Engine {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    std::unordered_map<std::string, ALuint> buffers;  // 0 marks a file that failed to decode
    std::map<std::uint32_t, ALuint> sources;          // every playing source, by handle id
    std::uint32_t nextId = 1;
};

namespace {

// Whatever the reason, the file is named once: its failure is cached with it.
void reportUndecodable(const char* file, const std::string& reason) {
    std::cerr << "Could not decode sound file [" << file << "]: " << reason << std::endl;
}

// Where one channel of a file with more than two goes in the stereo mix.
struct ChannelWeights {
    float left = 0.0f;
    float right = 0.0f;
};

ChannelWeights weightsFor(int position) {
    constexpr float side = 0.70710678f;  // a channel beside or behind the listener, or one in both
    switch (position) {
        case SF_CHANNEL_MAP_LEFT:
        case SF_CHANNEL_MAP_FRONT_LEFT:
            return {1.0f, 0.0f};
        case SF_CHANNEL_MAP_RIGHT:
        case SF_CHANNEL_MAP_FRONT_RIGHT:
            return {0.0f, 1.0f};
        case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
        case SF_CHANNEL_MAP_REAR_LEFT:
        case SF_CHANNEL_MAP_SIDE_LEFT:
        case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
        case SF_CHANNEL_MAP_TOP_REAR_LEFT:
            return {side, 0.0f};
        case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
        case SF_CHANNEL_MAP_REAR_RIGHT:
        case SF_CHANNEL_MAP_SIDE_RIGHT:
        case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
        case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
            return {0.0f, side};
        case SF_CHANNEL_MAP_LFE:
            return {};  // left out, as stereo downmixes do
        default:
            return {side, side};  // centres, and whatever the file does not place
    }
}

// The stereo weights of every channel, each side scaled so that the same full-scale signal
// on all channels stays full scale. A file without a channel map (plain WAV among them)
// is taken in the order of the WAV channel mask.
std::vector<ChannelWeights> stereoDownmix(SNDFILE* sf, int channels) {
    static const int maskOrder[] = {SF_CHANNEL_MAP_FRONT_LEFT,
                                    SF_CHANNEL_MAP_FRONT_RIGHT,
                                    SF_CHANNEL_MAP_FRONT_CENTER,
                                    SF_CHANNEL_MAP_LFE,
                                    SF_CHANNEL_MAP_REAR_LEFT,
                                    SF_CHANNEL_MAP_REAR_RIGHT,
                                    SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER,
                                    SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER,
                                    SF_CHANNEL_MAP_REAR_CENTER,
                                    SF_CHANNEL_MAP_SIDE_LEFT,
                                    SF_CHANNEL_MAP_SIDE_RIGHT,
                                    SF_CHANNEL_MAP_TOP_CENTER,
                                    SF_CHANNEL_MAP_TOP_FRONT_LEFT,
                                    SF_CHANNEL_MAP_TOP_FRONT_CENTER,
                                    SF_CHANNEL_MAP_TOP_FRONT_RIGHT,
                                    SF_CHANNEL_MAP_TOP_REAR_LEFT,
                                    SF_CHANNEL_MAP_TOP_REAR_CENTER,
                                    SF_CHANNEL_MAP_TOP_REAR_RIGHT};
    std::vector<int> positions(static_cast<std::size_t>(channels), SF_CHANNEL_MAP_INVALID);
    if (sf_command(sf, SFC_GET_CHANNEL_MAP_INFO, positions.data(),
                   static_cast<int>(positions.size() * sizeof(int))) != SF_TRUE) {
        for (std::size_t i = 0; i < positions.size() && i < std::size(maskOrder); ++i)
            positions[i] = maskOrder[i];
    }
    std::vector<ChannelWeights> weights;
    float left = 0.0f, right = 0.0f;
    for (const int position : positions) {
        weights.push_back(weightsFor(position));
        left += weights.back().left;
        right += weights.back().right;
    }
    for (ChannelWeights& w : weights) {
        w.left /= std::max(left, 1.0f);
        w.right /= std::max(right, 1.0f);
    }
    return weights;
}

short toSample(float value) {
    return static_cast<short>(std::lround(std::clamp(value, -32768.0f, 32767.0f)));
}

// Samples as OpenAL takes them: 16-bit mono or stereo.
struct Decoded {
    std::vector<short> samples;
    int channels = 0;
    bool cut = false;  // the file went on past the budget
};

// Reads at most the budget's worth, whatever length the header claims, so a damaged
// header costs only the samples that really follow it.
Decoded decodeSamples(SNDFILE* sf, const SF_INFO& info) {
    Decoded out;
    out.channels = std::min(info.channels, 2);
    const std::vector<ChannelWeights> weights =
        info.channels > 2 ? stereoDownmix(sf, info.channels) : std::vector<ChannelWeights>{};
    const auto budgetFrames = static_cast<sf_count_t>(
        maxSoundBytes / (sizeof(short) * static_cast<std::size_t>(out.channels)));
    out.samples.reserve(
        static_cast<std::size_t>(std::clamp<sf_count_t>(info.frames, 0, budgetFrames)) *
        static_cast<std::size_t>(out.channels));

    const sf_count_t chunkFrames = std::max(1, 65536 / info.channels);
    std::vector<short> chunk(static_cast<std::size_t>(chunkFrames * info.channels));
    for (sf_count_t kept = 0;;) {
        const sf_count_t wanted = std::min(chunkFrames, budgetFrames - kept);
        if (wanted == 0) {
            out.cut = sf_readf_short(sf, chunk.data(), 1) > 0;
            break;
        }
        const sf_count_t read = sf_readf_short(sf, chunk.data(), wanted);
        if (read <= 0) break;
        if (weights.empty()) {
            out.samples.insert(out.samples.end(), chunk.begin(),
                               chunk.begin() + read * info.channels);
        } else {
            for (sf_count_t frame = 0; frame < read; ++frame) {
                const short* in = &chunk[static_cast<std::size_t>(frame * info.channels)];
                float left = 0.0f, right = 0.0f;
                for (int c = 0; c < info.channels; ++c) {
                    left += weights[static_cast<std::size_t>(c)].left * in[c];
                    right += weights[static_cast<std::size_t>(c)].right * in[c];
                }
                out.samples.push_back(toSample(left));
                out.samples.push_back(toSample(right));
            }
        }
        kept += read;
    }
    return out;
}

// Decodes a file, or its first part when it is longer than the budget; returns 0 (after
// saying why) when it cannot be played.
ALuint decodeFile(const char* file) {
    SF_INFO info{};
    SNDFILE* sf = sf_open(file, SFM_READ, &info);
    if (!sf) {
        reportUndecodable(file, sf_strerror(nullptr));
        return 0;
    }
    ALuint buffer = 0;
    if (info.channels < 1 || info.samplerate <= 0) {
        reportUndecodable(file, std::to_string(info.channels) + " channels at " +
                                    std::to_string(info.samplerate) + " Hz");
    } else if (const Decoded decoded = decodeSamples(sf, info); decoded.samples.empty()) {
        reportUndecodable(file, "no samples could be read");
    } else {
        if (decoded.cut) {
            const double seconds =
                static_cast<double>(decoded.samples.size()) / decoded.channels / info.samplerate;
            std::cout << "Sound file [" << file << "] is longer than the " << (maxSoundBytes >> 20)
                      << " MiB a sound may take: playing its first " << std::fixed
                      << std::setprecision(1) << seconds << " s" << std::defaultfloat << std::endl;
        }
        alGetError();
        alGenBuffers(1, &buffer);
        const ALenum format = decoded.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
        alBufferData(buffer, format, decoded.samples.data(),
                     static_cast<ALsizei>(decoded.samples.size() * sizeof(short)), info.samplerate);
        if (alGetError() != AL_NO_ERROR) {
            alDeleteBuffers(1, &buffer);
            buffer = 0;
            reportUndecodable(file, "the sound library refused its samples");
        }
    }
    sf_close(sf);
    return buffer;
}

ALuint bufferFor(Engine& engine, const char* file) {
    const auto found = engine.buffers.find(file);
    if (found != engine.buffers.end()) return found->second;
    const ALuint buffer = decodeFile(file);
    engine.buffers.emplace(file, buffer);
    return buffer;
}

bool hasFinished(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_STOPPED;
}

// A looped sound never stops by itself; paused and playing ones are kept.
void releaseFinished(Engine& engine) {
    for (auto it = engine.sources.begin(); it != engine.sources.end();) {
        if (hasFinished(it->second)) {
            alDeleteSources(1, &it->second);
            it = engine.sources.erase(it);
        } else {
            ++it;
        }
    }
}

// alsa-lib prints its own lines for every card it fails to find while OpenAL Soft probes.
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card, OpenAL Soft and ALSA fill standard error with their probing; the
// game's own line about a missing engine says enough. Someone who sets ALSOFT_LOGLEVEL
// wants the libraries' diagnostics, ALSA's included, and gets them.
void quietenLibraryLogs() {
    if (std::getenv("ALSOFT_LOGLEVEL")) return;
    setenv("ALSOFT_LOGLEVEL", "0", 0);  // read once, when the first device is opened
    snd_lib_error_set_handler(ignoreAlsaMessage);
}

}  // namespace

Engine* createEngine() {
    quietenLibraryLogs();
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) return nullptr;
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) alcDestroyContext(context);
        alcCloseDevice(device);
        return nullptr;
    }
    auto* engine = new Engine;
    engine->device = device;
    engine->context = context;
    return engine;
}

void dropEngine(Engine*& engine) {
    if (!engine) return;
    for (auto& [id, source] : engine->sources) {
        alSourceStop(source);
        alDeleteSources(1, &source);
    }
    for (auto& [file, buffer] : engine->buffers) {
        if (buffer) alDeleteBuffers(1, &buffer);
    }
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(engine->context);
    alcCloseDevice(engine->device);
    delete engine;
    engine = nullptr;
}

Sound play2D(Engine* engine, const char* file, bool looped, bool startPaused, bool track) {
    if (!engine || !file) return {};
    releaseFinished(*engine);
    const ALuint buffer = bufferFor(*engine, file);
    if (!buffer) return {};

    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) return {};
    // 2D: the sound follows the listener, so position never changes its loudness.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcei(source, AL_LOOPING, looped ? AL_TRUE : AL_FALSE);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    // A paused start leaves the source in its initial state, held until played.
    if (!startPaused) alSourcePlay(source);

    const std::uint32_t id = engine->nextId++;
    engine->sources.emplace(id, source);
    return track ? Sound{id} : Sound{};
}

void setVolume(Engine* engine, Sound sound, float volume) {
    if (!engine || !sound) return;
    const auto found = engine->sources.find(sound.id);
    if (found == engine->sources.end()) return;
    alSourcef(found->second, AL_GAIN, std::max(volume, 0.0f));
}

bool isPlaying(const Engine* engine, Sound sound) {
    if (!engine || !sound) return false;
    const auto found = engine->sources.find(sound.id);
    return found != engine->sources.end() && !hasFinished(found->second);
}

std::size_t liveSoundCount(const Engine* engine) { return engine ? engine->sources.size() : 0; }

float newestSoundVolume(const Engine* engine) {
    if (!engine || engine->sources.empty()) return 0.0f;
    float gain = 0.0f;
    alGetSourcef(engine->sources.rbegin()->second, AL_GAIN, &gain);
    return gain;
}

std::size_t cachedBufferCount(const Engine* engine) {
    if (!engine) return 0;
    return static_cast<std::size_t>(std::count_if(engine->buffers.begin(), engine->buffers.end(),
                                                  [](const auto& entry) { return entry.second != 0; }));
}

std::size_t cachedBufferBytes(const Engine* engine) {
    if (!engine) return 0;
    std::size_t bytes = 0;
    for (const auto& [file, buffer] : engine->buffers) {
        ALint size = 0;
        if (buffer) alGetBufferi(buffer, AL_SIZE, &size);
        bytes += static_cast<std::size_t>(size);
    }
    return bytes;
}

void setAllPaused(Engine* engine, bool paused) {
    if (!engine) return;
    for (const auto& [id, source] : engine->sources) {
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (paused && state == AL_PLAYING) alSourcePause(source);
        if (!paused && state == AL_PAUSED) alSourcePlay(source);
    }
}

void setMasterGain(Engine* engine, float gain) {
    if (!engine) return;
    alListenerf(AL_GAIN, gain > 0.0f ? gain : 0.0f);
}

}  // namespace tarn::sound
