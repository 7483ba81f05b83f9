// The fuzz harness: damaged copies of the staged Resources through fuzz_probe, each in a
// process of its own under a processor-time limit and an address-space cap, summed up in a table.
// Exits 1 when any run crashed or went over a limit, or a known pattern was not reported as
// the game should report it; those files are kept for a rerun.
//   fuzz_run --probe PATH --resources DIR [--runs N] [--seed S] [--jobs J]
//            [--format NAME] [--keep DIR]
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>
#include <thread>

#include "fuzz/damage.h"
#include "base/files.h"
#include "fuzz/damaged_files.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tarn::fuzz::DamagedFile;
using tarn::fuzz::Format;

namespace {

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer reserves terabytes of address space and runs code a few times slower.
constexpr bool sanitized = true;
constexpr rlim_t cpuLimitSeconds = 9;
#else
constexpr bool sanitized = false;
constexpr rlim_t cpuLimitSeconds = 3;
#endif
// The limit counts the run's own processor time, which other work on the machine cannot
// inflate; the wall clock only catches a run that waits forever without computing.
constexpr double hangSeconds = 20.0 * cpuLimitSeconds;
constexpr rlim_t addressSpaceLimit = rlim_t{1} << 30;
constexpr int outOfMemoryStatus = 3;  // fuzz_probe's, for a failed allocation

struct Options {
    std::string probe;
    std::string resources;
    std::string keep = "fuzz-failures";
    std::string only;
    std::uint64_t runs = 2000;
    std::uint64_t seed = 1;
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
};

struct Tally {
    std::uint64_t runs = 0, crashes = 0, overTime = 0, overMemory = 0, misreported = 0;
    double mostCpuSeconds = 0.0;
    long largestKilobytes = 0;
};

struct Work {
    const Format* format;
    DamagedFile file;
};

struct Running {
    Work work;
    std::string path;
    std::string log;
    Clock::time_point start;
    bool killed = false;
};

pid_t startProbe(const Options& options, const Format& format, const std::string& file,
                 const std::string& log) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (!sanitized) {
        const rlimit space{addressSpaceLimit, addressSpaceLimit};
        setrlimit(RLIMIT_AS, &space);
    }
    // Past the soft limit the kernel sends SIGXCPU, a second later SIGKILL.
    const rlimit cpu{cpuLimitSeconds, cpuLimitSeconds + 1};
    setrlimit(RLIMIT_CPU, &cpu);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    std::freopen("/dev/null", "r", stdin);
    std::freopen(log.c_str(), "w", stdout);
    dup2(fileno(stdout), STDERR_FILENO);
    setenv("ALSOFT_DRIVERS", "null", 1);
    // DevIL and Assimp leak a little on files they fail to read: no crash, and not ours.
    const char* asan = std::getenv("ASAN_OPTIONS");
    setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":detect_leaks=0").c_str(), 1);
    execl(options.probe.c_str(), options.probe.c_str(), format.loader.c_str(), file.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
}

// The first line of a probe's output that starts with `start`; empty when there is none.
std::string lineStarting(const std::string& output, const std::string& start) {
    for (std::size_t from = 0; from < output.size(); ++from) {
        const std::size_t end = std::min(output.find('\n', from), output.size());
        if (output.compare(from, start.size(), start) == 0) return output.substr(from, end - from);
        from = end;
    }
    return "";
}

// What is wrong with how the game reported a known pattern: a refused file must be named
// with a reason, with no claim of success; a file it must take must not be refused, and one
// like the intact seed must draw what the seed draws (`intact`, the probe's output for it).
// Empty when the report is right, or when the pattern only has to survive.
std::string misreport(const DamagedFile& file, const std::string& loader, const std::string& path,
                      const std::string& output, const std::string& intact) {
    if (file.expect == tarn::fuzz::Expect::anything) return "";
    const std::map<std::string, std::string> refusals = {
        {"texture", "Could not open file [" + path + "]: "},
        {"heightmap", "Could not open heightMap file:[" + path + "] "},
        {"model", "ERROR::ASSIMP:: Refused model file \"" + path + "\": "},
        {"sound", "Could not decode sound file [" + path + "]: "},
    };
    const auto refusal = refusals.find(loader);
    const std::size_t at = refusal == refusals.end() ? std::string::npos : output.find(refusal->second);
    if (file.expect == tarn::fuzz::Expect::likeIntact) {
        if (at != std::string::npos) return "was refused";
        const std::string drawn = lineStarting(output, "model draws ");
        const std::string expected = lineStarting(intact, "model draws ");
        if (expected.empty()) return "cannot be compared: the intact file drew nothing";
        return drawn == expected ? "" : "drew \"" + drawn + "\", not \"" + expected + "\"";
    }
    if (file.expect == tarn::fuzz::Expect::loaded) {
        const std::string taken = loader == "model"   ? "model of 1 meshes"
                                  : loader == "sound" ? "sound of "
                                                      : "128 glyphs";
        return at == std::string::npos && output.find(taken) != std::string::npos
                   ? ""
                   : "was not taken whole";
    }
    if (at == std::string::npos) return "was not refused by name";
    // A reason follows: more than an empty line.
    if (output.find('\n', at) <= at + refusal->second.size() + 4) return "was refused without a reason";
    if (output.find("Successfully loaded") != std::string::npos) return "was refused and also loaded";
    return "";
}

// The last few lines of a probe's output: enough to see where it died.
std::string tail(const std::string& text, int lines) {
    std::size_t start = text.size();
    for (int seen = 0; start > 0; --start) {
        if (text[start - 1] == '\n' && start != text.size() && ++seen == lines) break;
    }
    return text.substr(start);
}

class Harness {
public:
    explicit Harness(Options options) : options_(std::move(options)) {
        std::string pattern = (fs::temp_directory_path() / "tarnhollow-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("no scratch folder");
        scratch_ = pattern;
    }
    ~Harness() { fs::remove_all(scratch_); }

    // Returns whether every run stayed clean.
    bool run() {
        std::deque<Work> queue;
        for (const Format& format : tarn::fuzz::formats()) {
            if (!options_.only.empty() && options_.only != format.name) continue;
            order_.push_back(format.name);
            const std::vector<std::string> seeds =
                tarn::fuzz::readSeeds(format, options_.resources);
            for (DamagedFile& file : tarn::fuzz::knownPatterns(format, seeds)) {
                if (file.expect == tarn::fuzz::Expect::likeIntact && !intact_.count(format.name))
                    intact_[format.name] = intactOutput(format, seeds.front());
                queue.push_back({&format, std::move(file)});
                ++expected_[format.name];
            }
            expected_[format.name] += options_.runs;
            // Copies are made as slots free up, so a few thousand never sit in memory.
            for (std::uint64_t i = 0; i < options_.runs; ++i) pending_.push_back({&format, i});
            seeds_.emplace(format.name, seeds);
        }
        if (order_.empty()) throw std::runtime_error("no format named " + options_.only);
        std::map<pid_t, Running> running;
        while (!queue.empty() || !pending_.empty() || !running.empty()) {
            while (running.size() < options_.jobs && (!queue.empty() || !pending_.empty())) {
                Work work = queue.empty() ? nextCopy() : std::move(queue.front());
                if (!queue.empty()) queue.pop_front();
                start(running, std::move(work));
            }
            reap(running);
        }
        return report();
    }

private:
    Work nextCopy() {
        const auto [format, index] = pending_.front();
        pending_.pop_front();
        DamagedFile file =
            tarn::fuzz::damagedCopy(*format, seeds_.at(format->name), options_.seed, index);
        file.name = "copy " + std::to_string(index) + " (" + file.name + ")";
        return {format, std::move(file)};
    }

    // The probe's output for an intact seed, run at once: what its variants must match.
    std::string intactOutput(const Format& format, const std::string& bytes) {
        const std::string stem = scratch_ + "/intact-" + format.name;
        const std::string path = stem + fs::path(format.seeds.front()).extension().string();
        tarn::fuzz::writeFile(path, bytes);
        int status = 0;
        waitpid(startProbe(options_, format, path, stem + ".log"), &status, 0);
        std::string output = tarn::base::readFile(stem + ".log");
        fs::remove(path);
        fs::remove(stem + ".log");
        return output;
    }

    void start(std::map<pid_t, Running>& running, Work work) {
        const std::string stem = scratch_ + "/" + std::to_string(serial_++);
        const std::string path = stem + work.file.extension;
        tarn::fuzz::writeFile(path, work.file.bytes);
        Running job{std::move(work), path, stem + ".log", Clock::now()};
        job.work.file.bytes.clear();
        const pid_t pid = startProbe(options_, *job.work.format, job.path, job.log);
        running.emplace(pid, std::move(job));
    }

    void reap(std::map<pid_t, Running>& running) {
        int status = 0;
        rusage usage{};
        const pid_t pid = wait4(-1, &status, WNOHANG, &usage);
        if (pid <= 0) {
            const auto now = Clock::now();
            for (auto& [child, job] : running) {
                if (!job.killed && now - job.start > std::chrono::duration<double>(hangSeconds)) {
                    kill(child, SIGKILL);
                    job.killed = true;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return;
        }
        Running job = std::move(running.at(pid));
        running.erase(pid);
        finish(job, status, usage);
    }

    void finish(const Running& job, int status, const rusage& usage) {
        Tally& tally = tallies_[job.work.format->name];
        ++tally.runs;
        const double cpuSeconds =
            static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        tally.mostCpuSeconds = std::max(tally.mostCpuSeconds, cpuSeconds);
        const bool overCpu =
            WIFSIGNALED(status) &&
            (WTERMSIG(status) == SIGXCPU ||
             (WTERMSIG(status) == SIGKILL && cpuSeconds >= static_cast<double>(cpuLimitSeconds)));
        tally.largestKilobytes = std::max(tally.largestKilobytes, usage.ru_maxrss);

        std::string verdict;
        if (job.killed) {
            ++tally.overTime;
            verdict = "hung for " + std::to_string(static_cast<int>(hangSeconds)) + " s";
        } else if (overCpu) {
            ++tally.overTime;
            verdict = "ran past " + std::to_string(cpuLimitSeconds) + " s of processor time";
        } else if (WIFEXITED(status) && WEXITSTATUS(status) == outOfMemoryStatus) {
            ++tally.overMemory;
            verdict = "went over 1 GB";
        } else if (WIFSIGNALED(status)) {
            ++tally.crashes;
            verdict = std::string("crashed (") + strsignal(WTERMSIG(status)) + ")";
        } else if (WEXITSTATUS(status) != 0) {
            ++tally.crashes;
            verdict = "failed with exit status " + std::to_string(WEXITSTATUS(status));
        } else {
            const auto intact = intact_.find(job.work.format->name);
            verdict = misreport(job.work.file, job.work.format->loader, job.path,
                                tarn::base::readFile(job.log),
                                intact == intact_.end() ? "" : intact->second);
            tally.misreported += !verdict.empty();
        }
        if (!verdict.empty()) keepFailure(job, verdict);
        fs::remove(job.path);
        fs::remove(job.log);
        // A long run says where it is: formats finish one after another.
        if (tally.runs == expected_.at(job.work.format->name)) {
            const auto minutes =
                std::chrono::duration<double>(Clock::now() - started_).count() / 60;
            std::printf(
                "%s done: %llu runs, %llu failed (%.1f min)\n", job.work.format->name.c_str(),
                static_cast<unsigned long long>(tally.runs),
                static_cast<unsigned long long>(tally.crashes + tally.overTime + tally.overMemory +
                                                tally.misreported),
                minutes);
            std::fflush(stdout);
        }
    }

    void keepFailure(const Running& job, const std::string& verdict) {
        fs::create_directories(options_.keep);
        const std::string kept = options_.keep + "/" + job.work.format->name + "-" +
                                 std::to_string(kept_++) + job.work.file.extension;
        fs::copy_file(job.path, kept, fs::copy_options::overwrite_existing);
        std::cout << job.work.format->name << " " << job.work.file.name << " " << verdict
                  << "; kept as " << kept << "\n"
                  << tail(tarn::base::readFile(job.log), 4) << std::endl;
    }

    bool report() const {
        std::printf(
            "\nFuzz run, seed %llu: %d s of processor time%s a run, %u at a time\n",
            static_cast<unsigned long long>(options_.seed), static_cast<int>(cpuLimitSeconds),
            sanitized ? " (no memory cap under AddressSanitizer)" : " and 1 GB", options_.jobs);
        std::printf("%-10s %7s %8s %9s %10s %11s %9s %9s\n", "format", "runs", "crashes",
                    "over time", "over 1 GB", "misreported", "most CPU", "largest");
        Tally total;
        for (const std::string& name : order_) {
            const Tally& t = tallies_.at(name);
            std::printf("%-10s %7llu %8llu %9llu %10llu %11llu %7.2f s %6ld MB\n", name.c_str(),
                        static_cast<unsigned long long>(t.runs),
                        static_cast<unsigned long long>(t.crashes),
                        static_cast<unsigned long long>(t.overTime),
                        static_cast<unsigned long long>(t.overMemory),
                        static_cast<unsigned long long>(t.misreported), t.mostCpuSeconds,
                        t.largestKilobytes / 1024);
            total.runs += t.runs;
            total.crashes += t.crashes;
            total.overTime += t.overTime;
            total.overMemory += t.overMemory;
            total.misreported += t.misreported;
        }
        std::printf("%-10s %7llu %8llu %9llu %10llu %11llu\n", "all",
                    static_cast<unsigned long long>(total.runs),
                    static_cast<unsigned long long>(total.crashes),
                    static_cast<unsigned long long>(total.overTime),
                    static_cast<unsigned long long>(total.overMemory),
                    static_cast<unsigned long long>(total.misreported));
        std::fflush(stdout);
        return total.crashes + total.overTime + total.overMemory + total.misreported == 0;
    }

    Options options_;
    std::string scratch_;
    std::vector<std::string> order_;
    std::map<std::string, std::vector<std::string>> seeds_;
    std::deque<std::pair<const Format*, std::uint64_t>> pending_;
    std::map<std::string, Tally> tallies_;
    std::map<std::string, std::uint64_t> expected_;
    std::map<std::string, std::string> intact_;  // the probe's output for each intact seed
    const Clock::time_point started_ = Clock::now();
    std::uint64_t serial_ = 0;
    int kept_ = 0;
};

int usage() {
    std::cerr << "usage: fuzz_run --probe PATH --resources DIR [--runs N] [--seed S] [--jobs J]"
                 " [--format NAME] [--keep DIR]"
              << std::endl;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const std::string value = argv[i + 1];
        if (flag == "--probe")
            options.probe = value;
        else if (flag == "--resources")
            options.resources = value;
        else if (flag == "--runs")
            options.runs = std::stoull(value);
        else if (flag == "--seed")
            options.seed = std::stoull(value);
        else if (flag == "--jobs")
            options.jobs = static_cast<unsigned>(std::max(1, std::stoi(value)));
        else if (flag == "--format")
            options.only = value;
        else if (flag == "--keep")
            options.keep = value;
        else
            return usage();
    }
    if (argc % 2 == 0 || options.probe.empty() || options.resources.empty()) return usage();
    try {
        return Harness(options).run() ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "fuzz_run: " << error.what() << std::endl;
        return 2;
    }
}
