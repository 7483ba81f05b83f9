// The two sounds: a calm underwater ambience that loops without a seam, and the sonar ping.
// The ambience is built in the frequency domain on exactly one loop's length, so its end
// runs into its start like any two neighbouring samples.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <functional>
#include <vector>

#include "generator.h"
#include "noise.h"

namespace tarn::assets {

namespace {

constexpr int kRate = 44100;

using Spectrum = std::vector<std::complex<double>>;

// In-place radix-2 FFT; `inverse` leaves the 1/n scaling to the caller.
void fft(Spectrum& a, bool inverse) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = 2 * M_PI / double(len) * (inverse ? 1 : -1);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

// Noise exactly periodic over `n` samples with the magnitude spectrum `gain(hz)`.
std::vector<double> periodicNoise(size_t n, Rng& rng, const std::function<double(double)>& gain) {
    Spectrum s(n);
    for (size_t k = 1; k < n / 2; ++k) {
        const double hz = double(k) * kRate / double(n);
        s[k] = std::polar(gain(hz), rng.uniform(0, 2 * M_PI));
        s[n - k] = std::conj(s[k]);
    }
    fft(s, true);
    std::vector<double> out(n);
    double peak = 1e-12;
    for (size_t i = 0; i < n; ++i) peak = std::max(peak, std::fabs(out[i] = s[i].real()));
    for (double& v : out) v /= peak;
    return out;
}

bool writeWave(const std::string& path, const std::vector<double>& interleaved, int channels) {
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "tarnhollow-assets: cannot write %s: %s\n", path.c_str(),
                     sf_strerror(nullptr));
        return false;
    }
    std::vector<short> samples(interleaved.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = short(std::lround(std::clamp(interleaved[i], -1.0, 1.0) * 32767.0));
    }
    const bool ok = sf_write_short(file, samples.data(), sf_count_t(samples.size())) ==
                    sf_count_t(samples.size());
    return sf_close(file) == 0 && ok;
}

// About 11.9 s: a deep, muffled rumble that swells slowly, a faint higher hiss, and now and
// then a few rising bubble chirps.
std::vector<double> ambience() {
    const size_t n = size_t(1) << 19;
    Rng rng(42);
    const auto rumble = [](double hz) {
        return hz < 20 ? 0.0 : 1.0 / std::sqrt(hz) / (1.0 + std::pow(hz / 320.0, 4));
    };
    const auto hiss = [](double hz) { return std::exp(-std::pow((hz - 1800.0) / 900.0, 2)); };
    std::vector<double> channels[2];
    for (auto& out : channels) {
        const std::vector<double> low = periodicNoise(n, rng, rumble);
        const std::vector<double> high = periodicNoise(n, rng, hiss);
        out.resize(n);
        const double swell = rng.uniform(0, 2 * M_PI);
        for (size_t i = 0; i < n; ++i) {
            // Whole numbers of swells per loop keep the seam invisible.
            const double phase = 2 * M_PI * double(i) / double(n);
            const double level = 0.75 + 0.25 * std::sin(3 * phase + swell) * std::sin(2 * phase);
            out[i] = 0.55 * level * low[i] + 0.05 * high[i];
        }
    }
    // Bubbles wrap around the loop's end instead of being cut off.
    for (int b = 0; b < 26; ++b) {
        const size_t start = size_t(rng.uniform(0, double(n)));
        const double f0 = rng.uniform(350, 1300), decay = rng.uniform(0.015, 0.05),
                     gain = rng.uniform(0.04, 0.12);
        const double pan = rng.uniform(0.15, 0.85);
        double phase = 0;
        for (size_t i = 0; i < size_t(6 * decay * kRate); ++i) {
            const double t = double(i) / kRate;
            phase += 2 * M_PI * f0 * (1.0 + 0.6 * t / decay) / kRate;
            const double attack = std::min(1.0, t / 0.002);
            const double v = gain * attack * std::exp(-t / decay) * std::sin(phase);
            channels[0][(start + i) % n] += v * (1 - pan);
            channels[1][(start + i) % n] += v * pan;
        }
    }
    std::vector<double> stereo(2 * n);
    for (size_t i = 0; i < n; ++i) {
        stereo[2 * i] = channels[0][i];
        stereo[2 * i + 1] = channels[1][i];
    }
    return stereo;
}

// 1.5 s: a clear tone with a quick attack and a ringing decay, and a faint, duller echo.
std::vector<double> sonarPing() {
    const size_t n = size_t(1.5 * kRate);
    std::vector<double> dry(n), out(n);
    for (size_t i = 0; i < n; ++i) {
        const double t = double(i) / kRate;
        const double attack = t < 0.006 ? 0.5 - 0.5 * std::cos(M_PI * t / 0.006) : 1.0;
        const double ring = std::exp(-t / 0.22);
        // Two close tones beat slowly, which gives the ping its shimmer.
        const double tone = 0.62 * std::sin(2 * M_PI * 1180 * t) +
                            0.28 * std::sin(2 * M_PI * 1183.5 * t) +
                            0.1 * std::sin(2 * M_PI * 2372 * t) * std::exp(-t / 0.06);
        dry[i] = attack * ring * tone;
    }
    const struct { double delay, gain; } echoes[] = {{0.42, 0.2}, {0.84, 0.06}};
    double smooth = 0;
    for (size_t i = 0; i < n; ++i) {
        double wet = 0;
        for (const auto& e : echoes) {
            const size_t d = size_t(e.delay * kRate);
            if (i >= d) wet += e.gain * dry[i - d];
        }
        smooth += 0.35 * (wet - smooth);  // the echo comes back duller
        const double t = double(i) / kRate;
        const double fade = t > 1.44 ? 0.5 + 0.5 * std::cos(M_PI * (t - 1.44) / 0.06) : 1.0;
        out[i] = 0.8 * (dry[i] + smooth) * fade;
    }
    return out;
}

}  // namespace

bool writeSounds(const std::string& resources) {
    return writeWave(gameFile(resources, paths::ambientSound), ambience(), 2) &&
           writeWave(gameFile(resources, paths::sonarSound), sonarPing(), 1);
}

}  // namespace tarn::assets
