// scripts/install-deps's groups against what this machine really uses: the libraries the game
// and the asset generator load and the programs the build runs come with the game group, and
// the programs the tests, their scripts and the Makefile call with the groups together. Each
// group is followed through the dependencies dpkg records; Debian's base system (Essential
// and required packages) counts as present.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "support/process.h"

using namespace tarn::test;
namespace fs = std::filesystem;

namespace {

const std::string sourceDir = TARNHOLLOW_SOURCE_DIR;
using Strings = std::vector<std::string>;

Strings split(const std::string& text, char separator) {
    Strings parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

// The installed packages and what dpkg says each needs.
class InstalledPackages {
public:
    InstalledPackages() {
        const std::string table = shellOutput(
            "dpkg-query -W -f='${db:Status-Status}\\t${Package}\\t${Essential}\\t${Priority}"
            "\\t${Provides}\\t${Pre-Depends}, ${Depends}\\n'");
        for (const std::string& line : split(table, '\n')) {
            const Strings field = split(line, '\t');
            if (field.size() < 6 || field[0] != "installed") continue;
            if (field[2] == "yes" || field[3] == "required") base_.push_back(field[1]);
            // "a (>= 1) | b:any, c" is a list of choices; every installed choice counts.
            Strings& needs = needs_[field[1]];
            for (const std::string& choice : split(std::regex_replace(field[5], bar, ","), ','))
                if (!nameOf(choice).empty()) needs.push_back(nameOf(choice));
            for (const std::string& provided : split(field[4], ','))
                if (!nameOf(provided).empty()) providers_[nameOf(provided)].insert(field[1]);
        }
    }

    // The packages installing these would bring, with the base system.
    std::set<std::string> withBase(Strings roots) const {
        std::set<std::string> reached;
        roots.insert(roots.end(), base_.begin(), base_.end());
        while (!roots.empty()) {
            const std::string name = roots.back();
            roots.pop_back();
            std::set<std::string> real =
                providers_.count(name) ? providers_.at(name) : std::set<std::string>{};
            if (needs_.count(name)) real.insert(name);
            for (const std::string& package : real)
                if (reached.insert(package).second)
                    roots.insert(roots.end(), needs_.at(package).begin(), needs_.at(package).end());
        }
        return reached;
    }

private:
    static std::string nameOf(const std::string& relation) {
        static const std::regex name(R"(^\s*([^\s:(]+))");
        std::smatch match;
        return std::regex_search(relation, match, name) ? match[1].str() : "";
    }

    const std::regex bar{"\\|"};
    Strings base_;
    std::map<std::string, Strings> needs_;
    std::map<std::string, std::set<std::string>> providers_;
};

// Which package installed each file, from dpkg's own lists.
class FileOwners {
public:
    FileOwners() {
        for (const fs::directory_entry& entry : fs::directory_iterator("/var/lib/dpkg/info")) {
            if (entry.path().extension() != ".list") continue;
            std::ifstream list(entry.path());
            for (std::string file; std::getline(list, file);)
                owners_.emplace(file, split(entry.path().stem().string(), ':')[0]);
        }
    }

    // With /usr merged, dpkg may know a file by the other half of the merge, or only by the
    // file a link names.
    std::string of(const std::string& path) const {
        std::error_code ignored;
        for (const std::string& name : {path, fs::canonical(path, ignored).string()})
            for (const std::string& known :
                 {name, name.rfind("/usr/", 0) == 0 ? name.substr(4) : "/usr" + name})
                if (owners_.count(known)) return owners_.at(known);
        return "";
    }

private:
    std::map<std::string, std::string> owners_;
};

// Each file must belong to a package the named groups bring, or to the base system.
void expectBrought(const std::string& groups, const std::map<std::string, std::string>& files) {
    const Strings roots =
        split(shellOutput(sourceDir + "/scripts/install-deps --list " + groups), '\n');
    ASSERT_GT(roots.size(), 5u) << "scripts/install-deps --list " << groups << " gave no packages";
    const std::set<std::string> brought = InstalledPackages().withBase(roots);
    const FileOwners owners;
    for (const auto& [what, file] : files) {
        const std::string owner = owners.of(file);
        EXPECT_TRUE(brought.count(owner))
            << what << " (" << file << ") is " << (owner.empty() ? "no package" : owner)
            << "'s, which " << groups << " does not bring";
    }
}

// Programs a command line runs: the first word of each part between |, ;, &&, $( and
// quotes, after assignments and shell keywords, and the program a wrapper (timeout, env,
// unshare, xvfb-run) runs in turn.
void addCommands(std::string text, std::set<std::string>& commands) {
    static const std::regex arrays(R"([A-Za-z_]\w*=\([^)]*\))");
    static const std::regex parts(R"(\$\(|`|\|\||&&|[|;&'(){}])");
    static const std::regex word(R"([A-Za-z/][\w.+/-]*)");
    static const std::set<std::string> keywords = {
        "if",  "then", "else", "elif", "fi",   "while", "until",  "do",    "done",
        "for", "case", "esac", "!",    "exec", "local", "export", "return"};
    static const std::set<std::string> wrappers = {"timeout", "env",      "unshare",
                                                   "nice",    "xvfb-run", "exec"};
    text = std::regex_replace(text, arrays, " ");
    for (std::sregex_token_iterator it(text.begin(), text.end(), parts, -1), end; it != end; ++it) {
        std::istringstream in(it->str());
        Strings words;
        for (std::string w; in >> w;) words.push_back(w[0] == '@' ? w.substr(1) : w);  // make's @
        size_t i = 0;
        while (i < words.size() &&
               (keywords.count(words[i]) || words[i].find('=') != std::string::npos))
            ++i;
        if (i < words.size() && (words[i] == "[" || words[i] == "[[")) continue;
        for (; i < words.size() && std::regex_match(words[i], word); ++i) {
            commands.insert(words[i]);
            if (!wrappers.count(fs::path(words[i]).filename().string())) break;
            while (i + 1 < words.size() &&
                   (words[i + 1][0] == '-' || words[i + 1].find('=') != std::string::npos ||
                    std::isdigit(static_cast<unsigned char>(words[i + 1][0]))))
                ++i;
        }
    }
}

// Every program the tests call: argument vectors ({"lintian", ...}) and shell command lines
// (shellOutput("...")) in the test sources, COMMAND in their CMake files, and the command
// lines of the scripts they run and of the Makefile's recipes.
std::set<std::string> programsTheTestsCall() {
    std::set<std::string> commands;
    static const std::regex argv(R"re(\{\s*"([A-Za-z/][\w.+/-]*)"\s*[,}])re");
    static const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
    static const std::regex cmakeCommand(R"(COMMAND\s+([A-Za-z/][\w.+/-]*))");
    const auto each = [](const std::string& text, const std::regex& pattern, auto take) {
        for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
            take((*it)[1].str());
    };
    const auto insert = [&](const std::string& command) { commands.insert(command); };
    for (const auto& entry : fs::recursive_directory_iterator(sourceDir + "/tests")) {
        const std::string extension = entry.path().extension().string();
        const std::string source = readFile(entry.path().string());
        if (extension == ".cmake" || entry.path().filename() == "CMakeLists.txt")
            each(source, cmakeCommand, insert);
        if (extension != ".cpp" && extension != ".h") continue;
        each(source, argv, insert);
        for (size_t at = source.find("shellOutput("); at != std::string::npos;
             at = source.find("shellOutput(", at + 1)) {
            size_t close = at + 11;  // the call's closing parenthesis
            for (int depth = 0; close < source.size(); ++close) {
                if (source[close] == '(') ++depth;
                if (source[close] == ')' && --depth == 0) break;
            }
            std::string line;
            each(source.substr(at + 12, close - at - 12), literal,
                 [&](const std::string& part) { line += part; });
            addCommands(line, commands);
        }
    }
    for (const std::string file : {"scripts/with-display", "scripts/soak", "Makefile"})
        for (const std::string& line : split(readFile(sourceDir + "/" + file), '\n'))
            if (file == "Makefile" ? line.rfind('\t', 0) == 0
                                   : line.find_first_not_of(" \t") != line.find('#'))
                addCommands(line, commands);
    return commands;
}

// The file a command name runs, as a shell with the default PATH finds it; empty when none.
std::string programFile(const std::string& command) {
    if (command[0] == '/') return fs::is_regular_file(command) ? command : "";
    for (const char* folder : {"/usr/local/bin", "/usr/bin", "/bin", "/usr/sbin", "/sbin"}) {
        const std::string path = std::string(folder) + "/" + command;
        if (command.find('/') == std::string::npos && access(path.c_str(), X_OK) == 0 &&
            fs::is_regular_file(path))
            return path;
    }
    return "";
}

}  // namespace

TEST(InstallDeps, TheGameGroupHoldsEveryLibraryTheGameLoadsAndEveryProgramItsBuildRuns) {
    std::map<std::string, std::string> files;
    static const std::regex loaded(R"((?:=>\s*)?(/\S+)\s+\(0x)");
    for (const std::string program : {TARNHOLLOW_GAME_BINARY, TARNHOLLOW_ASSETS_BINARY}) {
        const size_t before = files.size();
        std::smatch match;
        for (const std::string& line : split(shellOutput("ldd '" + program + "'"), '\n'))
            if (std::regex_search(line, match, loaded))
                files[program + " loads " + match[1].str()] = match[1];
        EXPECT_GT(files.size() - before, 10u) << program;
    }
    std::ifstream cache(std::string(TARNHOLLOW_BINARY_DIR) + "/CMakeCache.txt");
    std::map<std::string, std::string> cached;
    for (std::string line; std::getline(cache, line);)
        cached[line.substr(0, line.find(':'))] = line.substr(line.find('=') + 1);
    for (const char* entry : {"CMAKE_CXX_COMPILER", "CMAKE_MAKE_PROGRAM", "CMAKE_COMMAND",
                              "PKG_CONFIG_EXECUTABLE", "CMAKE_STRIP", "TARNHOLLOW_FONT_FILE"}) {
        EXPECT_FALSE(cached[entry].empty()) << entry;
        if (!cached[entry].empty()) files[entry] = cached[entry];
    }
    expectBrought("game", files);
}

TEST(InstallDeps, TheGroupsTogetherHoldEveryProgramTheTestsCall) {
    const std::set<std::string> commands = programsTheTestsCall();
    for (const std::string expected : {"xdotool", "import", "lintian", "xvfb-run"})
        EXPECT_TRUE(commands.count(expected)) << "the scan missed " << expected;
    std::map<std::string, std::string> files;
    for (const std::string& command : commands)  // builtins, functions, words have no file
        if (!programFile(command).empty())
            files["the tests call " + command] = programFile(command);
    expectBrought("game test package", files);
}
