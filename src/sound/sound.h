// The game's sound: one engine, 2D playback of whole files, looped or one-shot, and a
// volume for tracked sounds. A thin layer over OpenAL Soft with libsndfile decoding.
//
// Every call accepts a null engine and then does nothing, so the game runs on silently
// when no audio device could be opened.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarn::sound {

struct Engine;

// The memory one decoded sound may take, as 16-bit samples: about 3 minutes of 44.1 kHz
// stereo or 6 of mono. A longer file keeps its first part, which a looped sound repeats.
constexpr std::size_t maxSoundBytes = std::size_t{32} << 20;

// A tracked sound. Stays valid as a value after its sound has finished and been released:
// calls on it then do nothing.
struct Sound {
    std::uint32_t id = 0;
    explicit operator bool() const { return id != 0; }
};

// Opens the default output device; null when there is none.
Engine* createEngine();

// Stops every sound, releases all sources and buffers and closes the device. Sets the
// pointer to null, so a second release does nothing.
void dropEngine(Engine*& engine);

// Plays a file as a 2D (non-positional) sound at full volume. The decoded file is cached
// per file name; a file of more than two channels is mixed down to stereo, and one longer
// than maxSoundBytes is cut there, with a line on standard output. A tracked sound returns
// its handle; an untracked one, a missing or undecodable file, or a null engine returns an
// empty handle. Finished one-shot sounds are released here, so repeated pings do not
// accumulate sources.
Sound play2D(Engine* engine, const char* file, bool looped, bool startPaused, bool track);

// 1 is full volume; at or below 0 the sound is silent.
void setVolume(Engine* engine, Sound sound, float volume);

// Whether a tracked sound is still playing, or held paused; false once a one-shot has played
// to its end, and for an empty handle or a null engine.
bool isPlaying(const Engine* engine, Sound sound);

// Holds every playing sound where it is, or lets every held one play on: the game's
// pause. Sounds started paused are let play too.
void setAllPaused(Engine* engine, bool paused);

// The level of every sound together: 1 as the files are, 0 silent.
void setMasterGain(Engine* engine, float gain);

// Diagnostics for tests and statistics: sources still held, decoded buffers cached.
std::size_t liveSoundCount(const Engine* engine);
std::size_t cachedBufferCount(const Engine* engine);
// The bytes of samples those buffers hold.
std::size_t cachedBufferBytes(const Engine* engine);
// The volume of the sound started last among those still held; 0 when none is.
float newestSoundVolume(const Engine* engine);

}  // namespace tarn::sound
