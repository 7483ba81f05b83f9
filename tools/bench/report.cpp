// Statistics, the console table and the JSON file of the benchmark.
#include "report.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>
#include <thread>

namespace tarn::bench {

namespace {

using render::FramePart;

const char* partKey(FramePart part) {
    switch (part) {
        case FramePart::WorldStep: return "worldStep";
        case FramePart::ShadowPass: return "shadow";
        case FramePart::WindowPass: return "window";
        case FramePart::LightShafts: return "lightShafts";
        case FramePart::Hud: return "hud";
    }
    return "";
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

void SizeResult::add(const FrameCost& game, const FrameCost& probe, const PartTimes& parts,
                     bool lightShafts) {
    gameMs.push_back(game.wallMs);
    probeMs.push_back(probe.wallMs);
    gameCpuMs.push_back(game.cpuMs);
    probeCpuMs.push_back(probe.cpuMs);
    for (int i = 0; i < render::framePartCount; ++i) partSums[i] += parts[i];
    if (lightShafts) ++lightShaftFrames;
}

double SizeResult::partMs(FramePart part) const {
    const int ran = part == FramePart::LightShafts ? lightShaftFrames : int(gameMs.size());
    return ran > 0 ? partSums[int(part)] / ran : 0.0;
}

double SizeResult::ownCpuMs() const { return partMs(FramePart::WorldStep) + submissionMs; }

double SizeResult::ratio() const {
    const double probe = median(probeMs);
    return probe > 0.0 ? median(gameMs) / probe : 0.0;
}

double SizeResult::cpuRatio() const {
    const double probe = median(probeCpuMs);
    return probe > 0.0 ? median(gameCpuMs) / probe : 0.0;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

double percentile95(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(std::ceil(0.95 * double(values.size())));
    return values[std::max<size_t>(rank, 1) - 1];
}

void printTable(const Report& report, std::ostream& out) {
    out << std::fixed << std::setprecision(1);
    out << "renderer " << report.renderer << ", " << std::thread::hardware_concurrency()
        << " cores, load average " << report.loadBefore << " before, " << report.loadAfter
        << " after\n";
    out << "start to first frame " << std::setprecision(2) << report.startupSeconds << " s\n"
        << std::setprecision(1);
    out << "\n                  frame ms (median / p95)          CPU ms (median)     "
           "   GPU ms per pass               own CPU ms per frame     peak\n";
    out << "size       frames  game          probe        ratio  game   probe  ratio  "
           "shadow window shafts   hud   world submit  total      MB\n";
    for (const SizeResult& s : report.sizes) {
        std::ostringstream size;
        size << s.width << "x" << s.height;
        out << std::left << std::setw(11) << size.str() << std::right << std::setw(6) << s.frames
            << std::setw(8) << median(s.gameMs) << " /" << std::setw(6) << percentile95(s.gameMs)
            << std::setw(7) << median(s.probeMs) << " /" << std::setw(6)
            << percentile95(s.probeMs) << std::setw(7) << std::setprecision(2) << s.ratio()
            << std::setprecision(1) << std::setw(7) << median(s.gameCpuMs) << std::setw(7)
            << median(s.probeCpuMs) << std::setprecision(2) << std::setw(7) << s.cpuRatio()
            << std::setprecision(1) << std::setw(8) << s.partMs(FramePart::ShadowPass)
            << std::setw(7) << s.partMs(FramePart::WindowPass) << std::setw(7)
            << s.partMs(FramePart::LightShafts) << std::setw(6) << s.partMs(FramePart::Hud)
            << std::setprecision(3) << std::setw(8) << s.partMs(FramePart::WorldStep)
            << std::setw(7) << s.submissionMs << std::setw(7) << s.ownCpuMs()
            << std::setprecision(0) << std::setw(8) << s.peakResidentMb << "\n"
            << std::setprecision(1);
    }
    out << "(light shafts: mean over the " << (report.sizes.empty() ? 0 : report.sizes[0].lightShaftFrames)
        << " frames of the path that show them; ratio: game median over probe median)\n";
}

void writeJson(const Report& report, std::ostream& out) {
    out << std::setprecision(4) << std::fixed;
    out << "{\n  \"renderer\": " << quoted(report.renderer)
        << ",\n  \"cores\": " << std::thread::hardware_concurrency()
        << ",\n  \"loadAverageBefore\": " << quoted(report.loadBefore)
        << ",\n  \"loadAverageAfter\": " << quoted(report.loadAfter)
        << ",\n  \"startToFirstFrameSeconds\": " << report.startupSeconds
        << ",\n  \"sizes\": [";
    for (size_t i = 0; i < report.sizes.size(); ++i) {
        const SizeResult& s = report.sizes[i];
        out << (i ? "," : "") << "\n    {\n      \"width\": " << s.width
            << ", \"height\": " << s.height << ", \"frames\": " << s.frames
            << ",\n      \"gameFrameMs\": {\"median\": " << median(s.gameMs)
            << ", \"p95\": " << percentile95(s.gameMs) << "}"
            << ",\n      \"probeFrameMs\": {\"median\": " << median(s.probeMs)
            << ", \"p95\": " << percentile95(s.probeMs) << "}"
            << ",\n      \"ratio\": " << s.ratio()
            << ",\n      \"gameFrameCpuMs\": {\"median\": " << median(s.gameCpuMs) << "}"
            << ",\n      \"probeFrameCpuMs\": {\"median\": " << median(s.probeCpuMs) << "}"
            << ",\n      \"cpuRatio\": " << s.cpuRatio() << ",\n      \"passGpuMs\": {";
        for (FramePart part : {FramePart::ShadowPass, FramePart::WindowPass,
                               FramePart::LightShafts, FramePart::Hud}) {
            out << (part == FramePart::ShadowPass ? "" : ", ") << quoted(partKey(part)) << ": "
                << s.partMs(part);
        }
        out << "},\n      \"ownCpuMs\": {\"worldStep\": " << s.partMs(FramePart::WorldStep)
            << ", \"submission\": " << s.submissionMs << ", \"total\": " << s.ownCpuMs()
            << "},\n      \"peakResidentMb\": " << s.peakResidentMb << "\n    }";
    }
    out << "\n  ]\n}\n";
}

}  // namespace tarn::bench
