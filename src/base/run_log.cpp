// The log of the last run: the console streams' buffers are wrapped by ones that hand every
// character to the console as before and to the log file.
#include "base/run_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <mutex>
#include <streambuf>

namespace tarn::base {

namespace {

bool isAbsolute(const char* path) { return path && path[0] == '/'; }

// The one line a log that fails costs, straight to the console's own buffer: the wrapped
// streams would hand it back to the log.
void reportOnConsole(std::streambuf* console, const std::string& line) {
    console->sputn(line.data(), std::streamsize(line.size()));
    console->pubsync();
}

// The file the three streams share. The photo writer's thread prints too, so one writer at
// a time. Each line reaches the file when it ends, so a crash loses at most the line it
// was printing.
class LogFile {
public:
    LogFile(std::FILE* file, std::string path, std::streambuf* errorConsole)
        : file_(file), path_(std::move(path)), errorConsole_(errorConsole) {}

    void write(const char* text, std::streamsize count) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (file_ && std::fwrite(text, 1, size_t(count), file_) != size_t(count)) fail(errno);
    }
    void flush() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (file_ && std::fflush(file_) != 0) fail(errno);
    }

private:
    void fail(int error) {
        reportOnConsole(errorConsole_,
                        "Could not write the log " + path_ + ": " + std::strerror(error) + "\n");
        std::fclose(file_);
        file_ = nullptr;
    }

    std::mutex mutex_;
    std::FILE* file_;
    const std::string path_;
    std::streambuf* const errorConsole_;
};

// Unbuffered, so the console sees each piece when it did before. It always reports
// success: a console that is closed (a menu launch may close it) must not stop the stream,
// and with it the log.
class TeeBuffer : public std::streambuf {
public:
    TeeBuffer(std::streambuf* console, LogFile& log) : console_(console), log_(log) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char character = traits_type::to_char_type(c);
        console_->sputc(character);
        log_.write(&character, 1);
        return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        console_->sputn(text, count);
        log_.write(text, count);
        return count;
    }
    int sync() override {
        console_->pubsync();
        log_.flush();
        return 0;
    }

private:
    std::streambuf* const console_;
    LogFile& log_;
};

// Each missing folder on the way, readable by its owner alone as the XDG rules want state
// folders. Returns 0 or the first failure's errno.
int makeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (slash == std::string::npos) return 0;
    }
}

}  // namespace

std::string runLogPath(const std::function<const char*(const char*)>& lookup) {
    const char* state = lookup("XDG_STATE_HOME");
    if (isAbsolute(state)) return std::string(state) + "/tarnhollow/last-run.log";
    const char* home = lookup("HOME");
    if (isAbsolute(home)) return std::string(home) + "/.local/state/tarnhollow/last-run.log";
    return "";
}

bool startRunLog(const std::string& path) {
    std::streambuf* const errorConsole = std::cerr.rdbuf();
    if (path.empty()) {
        reportOnConsole(errorConsole,
                        "Could not keep a log of this run: neither XDG_STATE_HOME nor HOME names "
                        "a folder\n");
        return false;
    }
    const int folderError = makeFolders(path.substr(0, path.rfind('/')));
    // A new file rather than the old one emptied: a game still running from before keeps
    // writing into its own, and the two runs do not mix.
    if (folderError == 0) unlink(path.c_str());
    const int fd =
        folderError == 0 ? open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    std::FILE* file = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (!file) {
        const int error = folderError != 0 ? folderError : errno;
        if (fd >= 0) close(fd);
        reportOnConsole(errorConsole,
                        "Could not keep the log " + path + ": " + std::strerror(error) + "\n");
        return false;
    }
    std::setvbuf(file, nullptr, _IOLBF, BUFSIZ);

    // Never freed: the streams flush through them up to the process's very end.
    LogFile* const log = new LogFile(file, path, errorConsole);
    std::cout.rdbuf(new TeeBuffer(std::cout.rdbuf(), *log));
    std::cerr.rdbuf(new TeeBuffer(std::cerr.rdbuf(), *log));
    std::clog.rdbuf(new TeeBuffer(std::clog.rdbuf(), *log));
    return true;
}

}  // namespace tarn::base
