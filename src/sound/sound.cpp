// Sound engine over OpenAL Soft; files decoded to 16-bit PCM with libsndfile.
#include "sound/sound.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
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

// The game's sounds last seconds; a header that promises more than ten minutes at 48 kHz
// is damaged, and decoding it whole could ask for gigabytes (libsndfile takes the format
// from the bytes, not the name, so any header it knows can arrive here).
constexpr sf_count_t maxFrames = 48000 * 600;

// Whatever the reason, the file is named once: its failure is cached with it.
void reportUndecodable(const char* file, const std::string& reason) {
    std::cerr << "Could not decode sound file [" << file << "]: " << reason << std::endl;
}

// Decodes a whole file; returns 0 (after saying why) when it cannot be played.
ALuint decodeFile(const char* file) {
    SF_INFO info{};
    SNDFILE* sf = sf_open(file, SFM_READ, &info);
    if (!sf) {
        reportUndecodable(file, sf_strerror(nullptr));
        return 0;
    }
    ALuint buffer = 0;
    if (info.channels < 1 || info.channels > 2) {
        reportUndecodable(file, std::to_string(info.channels) + " channels, not 1 or 2");
    } else if (info.frames <= 0 || info.frames > maxFrames || info.samplerate <= 0) {
        reportUndecodable(file, std::to_string(info.frames) + " frames at " +
                                    std::to_string(info.samplerate) + " Hz");
    } else {
        std::vector<short> samples(static_cast<size_t>(info.frames) * info.channels);
        const sf_count_t read = sf_readf_short(sf, samples.data(), info.frames);
        if (read > 0) {
            alGetError();
            alGenBuffers(1, &buffer);
            const ALenum format = info.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
            alBufferData(buffer, format, samples.data(),
                         static_cast<ALsizei>(read * info.channels * sizeof(short)),
                         info.samplerate);
            if (alGetError() != AL_NO_ERROR) {
                alDeleteBuffers(1, &buffer);
                buffer = 0;
                reportUndecodable(file, "the sound library refused its samples");
            }
        } else {
            reportUndecodable(file, "no samples could be read");
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

}  // namespace tarn::sound
