// Runs a program as a child process, as a console user would: its own working directory,
// standard input closed, standard output and error captured, and XDG_STATE_HOME a scratch
// folder of its own, so no game's log lands in the home folder.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "base/files.h"

namespace tarn::test {

struct ProcessResult {
    int exitStatus = -1;  // -1 when killed by a signal or timed out
    bool timedOut = false;
    std::string out;
    std::string err;
};

class ChildProcess {
public:
    // extraEnv entries are "NAME=value", or "NAME" to unset it.
    ChildProcess(const std::vector<std::string>& argv, const std::string& workingDir,
                 const std::vector<std::string>& extraEnv = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // What the child has written to standard output so far.
    std::string outputSoFar() const;
    // Waits until standard output holds the text; false when the time runs out first.
    bool waitForOutput(const std::string& text, double timeoutSeconds) const;
    // Waits up to the timeout; on time-out the child is killed and timedOut is set.
    ProcessResult wait(double timeoutSeconds);

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool reaped_ = false;
    std::string outputDir_;  // the captured output, removed with the process
    std::string outPath_;
    std::string errPath_;
};

// Starts, waits and collects in one call.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& workingDir,
                         double timeoutSeconds = 30.0, const std::vector<std::string>& extraEnv = {});

// Runs a shell command and returns its standard output (trailing newline removed).
std::string shellOutput(const std::string& command);

// A fresh empty directory under the system's temporary folder.
std::string makeTempDir();

void writeFile(const std::string& path, const std::string& contents);

// The names in a folder, hidden ones included, sorted; empty when there is no such folder.
std::vector<std::string> filesIn(const std::string& folder);

// How often part stands in text, overlaps included.
int occurrences(const std::string& text, const std::string& part);
using base::readFile;

}  // namespace tarn::test
