// The benchmark's numbers: per window size the frame times of the game and the probe, the
// passes' GPU times, the frame's own CPU work and the peak memory; the table and the JSON.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "frame_timer.h"

namespace tarn::bench {

// One frame, presented and finished.
struct FrameCost {
    double wallMs = 0.0;
    double cpuMs = 0.0;  // processor time of every thread, the renderer's included
};

// Whole frames of one kind, each presented and finished, game and probe side by side.
struct FrameSeries {
    std::vector<double> gameMs;  // wall-clock time
    std::vector<double> probeMs;
    // The processor time of the same frames: what software rendering spends on them, less
    // disturbed than the wall clock by other work on the machine.
    std::vector<double> gameCpuMs;
    std::vector<double> probeCpuMs;

    void add(const FrameCost& game, const FrameCost& probe);
    double ratio() const;     // the wall-clock medians' ratio, game over probe
    double cpuRatio() const;  // the same for processor time
};

struct SizeResult {
    std::string renderer;
    int width = 0;
    int height = 0;
    int frames = 0;
    // The light shafts cost the game and the probe the same pass, so the frames that show
    // them are kept apart: mixed in, they would hide what the rest of the frame costs.
    FrameSeries plain;
    FrameSeries lightShafts;
    PartTimes partSums{};
    PartTimes probePartSums{};
    int lightShaftFrames = 0;
    double submissionMs = 0.0;  // culling and uniform calls of both passes, per frame
    double peakResidentMb = 0.0;
    // Frames around a kept photo, from one place of the path: plain frames, the frame whose
    // shutter opened, and the frames after it, which take the pixels and write them.
    static constexpr int framesAfterShutter = 3;
    std::vector<double> plainMs;
    std::vector<double> shutterMs;
    std::vector<double> afterShutterMs[framesAfterShutter];
    double shutterRatio() const;         // shutter over plain, medians
    double worstAfterShutterRatio() const;  // the slowest following frame over plain, medians

    void add(const FrameCost& game, const FrameCost& probe, const PartTimes& parts,
             const PartTimes& probeParts, bool lightShafts);
    // Mean milliseconds of a part per frame that ran it, in the game and in the probe.
    double partMs(render::FramePart part) const;
    double probePartMs(render::FramePart part) const;
    double ownCpuMs() const;
};

struct Report {
    std::string renderer;
    std::string loadBefore, loadAfter;  // /proc/loadavg: the machine is shared
    double startupSeconds = 0.0;
    std::vector<SizeResult> sizes;
};

double median(std::vector<double> values);
// The nearest-rank 95th percentile.
double percentile95(std::vector<double> values);

void printTable(const Report& report, std::ostream& out);
void writeJson(const Report& report, std::ostream& out);

}  // namespace tarn::bench
