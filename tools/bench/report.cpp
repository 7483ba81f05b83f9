// Statistics, the console table and the JSON file of the benchmark.
#include "report.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
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

// The key with the prefix in front, camel-cased: ("lightShafts", "ratio") is
// "lightShaftsRatio", ("", "ratio") is "ratio".
std::string key(const std::string& prefix, const std::string& name) {
    if (prefix.empty()) return quoted(name);
    const std::string joined =
        prefix + char(std::toupper(static_cast<unsigned char>(name[0]))) + name.substr(1);
    return quoted(joined);
}

void writeSeries(const FrameSeries& f, const std::string& prefix, std::ostream& out) {
    out << ",\n      " << key(prefix, "gameFrameMs") << ": {\"median\": " << median(f.gameMs)
        << ", \"p95\": " << percentile95(f.gameMs) << "}"
        << ",\n      " << key(prefix, "probeFrameMs") << ": {\"median\": " << median(f.probeMs)
        << ", \"p95\": " << percentile95(f.probeMs) << "}"
        << ",\n      " << key(prefix, "ratio") << ": " << f.ratio()
        << ",\n      " << key(prefix, "gameFrameCpuMs") << ": {\"median\": " << median(f.gameCpuMs)
        << "}"
        << ",\n      " << key(prefix, "probeFrameCpuMs") << ": {\"median\": "
        << median(f.probeCpuMs) << "}"
        << ",\n      " << key(prefix, "cpuRatio") << ": " << f.cpuRatio();
}

}  // namespace

void FrameSeries::add(const FrameCost& game, const FrameCost& probe) {
    gameMs.push_back(game.wallMs);
    probeMs.push_back(probe.wallMs);
    gameCpuMs.push_back(game.cpuMs);
    probeCpuMs.push_back(probe.cpuMs);
}

double FrameSeries::ratio() const {
    const double probe = median(probeMs);
    return probe > 0.0 ? median(gameMs) / probe : 0.0;
}

double FrameSeries::cpuRatio() const {
    const double probe = median(probeCpuMs);
    return probe > 0.0 ? median(gameCpuMs) / probe : 0.0;
}

void SizeResult::add(const FrameCost& game, const FrameCost& probe, const PartTimes& parts,
                     const PartTimes& probeParts, bool lightShafts) {
    (lightShafts ? this->lightShafts : plain).add(game, probe);
    for (int i = 0; i < render::framePartCount; ++i) {
        partSums[i] += parts[i];
        probePartSums[i] += probeParts[i];
    }
    if (lightShafts) ++lightShaftFrames;
}

double SizeResult::partMs(FramePart part) const {
    const int ran = part == FramePart::LightShafts ? lightShaftFrames : frames;
    return ran > 0 ? partSums[int(part)] / ran : 0.0;
}

double SizeResult::probePartMs(FramePart part) const {
    const int ran = part == FramePart::LightShafts ? lightShaftFrames : frames;
    return ran > 0 ? probePartSums[int(part)] / ran : 0.0;
}

double SizeResult::ownCpuMs() const { return partMs(FramePart::WorldStep) + submissionMs; }

double SizeResult::shutterRatio() const {
    const double plain = median(plainMs);
    return plain > 0.0 ? median(shutterMs) / plain : 0.0;
}

double SizeResult::worstAfterShutterRatio() const {
    const double plain = median(plainMs);
    double worst = 0.0;
    for (const std::vector<double>& after : afterShutterMs) worst = std::max(worst, median(after));
    return plain > 0.0 ? worst / plain : 0.0;
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
    char line[256];
    std::snprintf(line, sizeof line, "%s, %u cores, load average %s before, %s after\n",
                  report.renderer.c_str(), std::thread::hardware_concurrency(),
                  report.loadBefore.c_str(), report.loadAfter.c_str());
    out << line;
    std::snprintf(line, sizeof line, "start to first frame %.2f s\n\n", report.startupSeconds);
    out << line;

    out << "                    frame ms, median / p95          ratio  processor ms, median  ratio\n"
           "size      frames    game            probe        game/probe  game   probe  game/probe\n";
    for (const SizeResult& s : report.sizes) {
        for (const auto& [name, f] : {std::pair{"plain", &s.plain}, {"F7", &s.lightShafts}}) {
            std::snprintf(line, sizeof line,
                          "%4dx%-5d %-5s %3zu %7.1f / %6.1f %6.1f / %6.1f %6.2f %9.1f %7.1f %7.2f\n",
                          s.width, s.height, name, f->gameMs.size(), median(f->gameMs),
                          percentile95(f->gameMs), median(f->probeMs), percentile95(f->probeMs),
                          f->ratio(), median(f->gameCpuMs), median(f->probeCpuMs), f->cpuRatio());
            out << line;
        }
    }

    out << "\n          GPU ms per frame, game / probe                 own CPU ms per frame"
           "          peak\n"
           "size      shadow        window        shafts        hud    world  submit  total"
           "       MB\n";
    for (const SizeResult& s : report.sizes) {
        std::snprintf(
            line, sizeof line,
            "%4dx%-5d %5.1f / %5.1f %5.1f / %5.1f %5.1f / %5.1f %5.1f %7.3f %7.3f %6.3f %8.0f\n",
            s.width, s.height, s.partMs(FramePart::ShadowPass),
            s.probePartMs(FramePart::ShadowPass), s.partMs(FramePart::WindowPass),
            s.probePartMs(FramePart::WindowPass), s.partMs(FramePart::LightShafts),
            s.probePartMs(FramePart::LightShafts), s.partMs(FramePart::Hud),
            s.partMs(FramePart::WorldStep), s.submissionMs, s.ownCpuMs(), s.peakResidentMb);
        out << line;
    }
    out << "(plain: the frames without light shafts; F7: those with them, the last third of the\n"
           "path; passes: the mean over all frames, light shafts over those that show them; the\n"
           "probe draws no overlay)\n";
    out << "\n          a kept photo: frame ms, median             ratio to plain\n"
           "size      shots  plain  shutter  after 1     2     3  shutter  worst after\n";
    for (const SizeResult& s : report.sizes) {
        std::snprintf(line, sizeof line,
                      "%4dx%-5d %5zu %6.1f %8.1f %8.1f %5.1f %5.1f %8.2f %12.2f\n", s.width,
                      s.height, s.shutterMs.size(), median(s.plainMs), median(s.shutterMs),
                      median(s.afterShutterMs[0]), median(s.afterShutterMs[1]),
                      median(s.afterShutterMs[2]), s.shutterRatio(), s.worstAfterShutterRatio());
        out << line;
    }
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
            << ", \"lightShaftFrames\": " << s.lightShafts.gameMs.size();
        writeSeries(s.plain, "", out);
        writeSeries(s.lightShafts, "lightShafts", out);
        out << ",\n      \"passGpuMs\": {";
        for (FramePart part : {FramePart::ShadowPass, FramePart::WindowPass,
                               FramePart::LightShafts, FramePart::Hud}) {
            out << (part == FramePart::ShadowPass ? "" : ", ") << quoted(partKey(part)) << ": "
                << s.partMs(part);
        }
        out << "},\n      \"probePassGpuMs\": {";
        for (FramePart part :
             {FramePart::ShadowPass, FramePart::WindowPass, FramePart::LightShafts}) {
            out << (part == FramePart::ShadowPass ? "" : ", ") << quoted(partKey(part)) << ": "
                << s.probePartMs(part);
        }
        out << "},\n      \"ownCpuMs\": {\"worldStep\": " << s.partMs(FramePart::WorldStep)
            << ", \"submission\": " << s.submissionMs << ", \"total\": " << s.ownCpuMs()
            << "},\n      \"peakResidentMb\": " << s.peakResidentMb
            << ",\n      \"photoFrameMs\": {\"shots\": " << s.shutterMs.size()
            << ", \"plain\": " << median(s.plainMs) << ", \"shutter\": " << median(s.shutterMs)
            << ", \"after\": [" << median(s.afterShutterMs[0]) << ", "
            << median(s.afterShutterMs[1]) << ", " << median(s.afterShutterMs[2])
            << "], \"shutterRatio\": " << s.shutterRatio()
            << ", \"worstAfterRatio\": " << s.worstAfterShutterRatio() << "}\n    }";
    }
    out << "\n  ]\n}\n";
}

}  // namespace tarn::bench
