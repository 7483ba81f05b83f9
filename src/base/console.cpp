// Console helpers: the pause before an exit and the fatal stop.
#include "base/console.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace tarn::base {

void consolePause() {
    if (!isatty(STDIN_FILENO)) return;

    std::cout << "Press any key to continue . . ." << std::flush;
    termios saved{};
    const bool haveTermios = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (haveTermios) {
        // Non-canonical mode so that one key is enough, not a whole line.
        termios raw = saved;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
    char key = 0;
    [[maybe_unused]] const ssize_t got = read(STDIN_FILENO, &key, 1);
    if (haveTermios) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::cout << std::endl;
}

void fatalExit(const std::string& message, const std::string& hint) {
    std::cerr << message << std::endl;
    if (!hint.empty()) std::cerr << hint << std::endl;
    consolePause();
    std::exit(1);
}

}  // namespace tarn::base
