// The benchmark's numbers: per window size the frame times of the game and the probe, the
// passes' GPU times, the frame's own CPU work and the peak memory; the table and the JSON.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "frame_timer.h"

namespace tarn::bench {

struct SizeResult {
    std::string renderer;
    int width = 0;
    int height = 0;
    int frames = 0;
    std::vector<double> gameMs;   // whole frames, presented and finished
    std::vector<double> probeMs;
    PartTimes partSums{};
    int lightShaftFrames = 0;
    double submissionMs = 0.0;  // culling and uniform calls of both passes, per frame
    double peakResidentMb = 0.0;

    void add(double game, double probe, const PartTimes& parts, bool lightShafts);
    // Mean milliseconds of a part per frame that ran it.
    double partMs(render::FramePart part) const;
    double ownCpuMs() const;
    double ratio() const;  // the medians' ratio, game over probe
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
