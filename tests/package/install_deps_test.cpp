// scripts/install-deps's groups against what this machine really uses: every library the
// game and the asset generator load and every program the build runs belong to what the
// game group installs, and every program the tests, their scripts and the Makefile call to
// what the groups install together. No clean machine is at hand, so each group is followed
// through the dependencies dpkg records for its packages; Debian's base system (Essential
// and required packages), which even a minimal image has, counts as present.
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

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

std::string trimmed(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
}

// The installed packages and what dpkg says each needs.
class InstalledPackages {
public:
    InstalledPackages() {
        const std::string table = shellOutput(
            "dpkg-query -W -f='${db:Status-Status}\\t${Package}\\t${Essential}\\t${Priority}"
            "\\t${Provides}\\t${Pre-Depends}, ${Depends}\\n'");
        for (const std::string& line : split(table, '\n')) {
            const std::vector<std::string> field = split(line, '\t');
            if (field.size() < 6 || field[0] != "installed") continue;
            Package& package = packages_[field[1]];
            package.base = field[2] == "yes" || field[3] == "required";
            // "a (>= 1) | b:any, c" is a list of choices; only the names count here.
            for (const std::string& clause : split(field[5], ',')) {
                std::vector<std::string> choices;
                for (const std::string& choice : split(clause, '|')) {
                    const std::string name = nameOf(choice);
                    if (!name.empty()) choices.push_back(name);
                }
                if (!choices.empty()) package.needs.push_back(choices);
            }
            for (const std::string& provided : split(field[4], ','))
                if (!nameOf(provided).empty()) providers_[nameOf(provided)].insert(field[1]);
        }
    }

    // The packages installing these would bring, with every installed choice taken.
    std::set<std::string> broughtBy(const std::vector<std::string>& roots) const {
        std::set<std::string> reached;
        std::vector<std::string> queue(roots.begin(), roots.end());
        while (!queue.empty()) {
            const std::string name = queue.back();
            queue.pop_back();
            for (const std::string& real : realPackages(name)) {
                if (!reached.insert(real).second) continue;
                for (const auto& choices : packages_.at(real).needs)
                    queue.insert(queue.end(), choices.begin(), choices.end());
            }
        }
        return reached;
    }

    std::set<std::string> base() const {
        std::vector<std::string> roots;
        for (const auto& [name, package] : packages_)
            if (package.base) roots.push_back(name);
        return broughtBy(roots);
    }

private:
    struct Package {
        bool base = false;
        std::vector<std::vector<std::string>> needs;
    };

    static std::string nameOf(const std::string& relation) {
        std::string name = trimmed(relation.substr(0, relation.find('(')));
        return name.substr(0, name.find(':'));
    }

    std::set<std::string> realPackages(const std::string& name) const {
        std::set<std::string> real;
        if (packages_.count(name)) real.insert(name);
        if (const auto it = providers_.find(name); it != providers_.end())
            real.insert(it->second.begin(), it->second.end());
        return real;
    }

    std::map<std::string, Package> packages_;
    std::map<std::string, std::set<std::string>> providers_;
};

std::vector<std::string> group(const std::string& names) {
    return split(shellOutput(sourceDir + "/scripts/install-deps --list " + names), '\n');
}

// Which package installed each file, from dpkg's own lists.
class FileOwners {
public:
    FileOwners() {
        for (const fs::directory_entry& entry : fs::directory_iterator("/var/lib/dpkg/info")) {
            if (entry.path().extension() != ".list") continue;
            const std::string package = split(entry.path().stem().string(), ':')[0];
            std::ifstream list(entry.path());
            for (std::string file; std::getline(list, file);) owners_.emplace(file, package);
        }
    }

    // With /usr merged, dpkg may know a file by the other half of the merge, or only by the
    // file a link names.
    std::string of(const std::string& path) const {
        std::error_code ignored;
        std::vector<std::string> names = {path, fs::canonical(path, ignored).string()};
        for (const std::string& name : std::vector<std::string>(names))
            names.push_back(name.rfind("/usr/", 0) == 0 ? name.substr(4) : "/usr" + name);
        for (const std::string& name : names)
            if (const auto it = owners_.find(name); it != owners_.end()) return it->second;
        return "";
    }

private:
    std::map<std::string, std::string> owners_;
};

// The shared libraries ldd finds for a program.
std::vector<std::string> librariesOf(const std::string& program) {
    std::vector<std::string> libraries;
    static const std::regex loaded(R"((?:=>\s*)?(/\S+)\s+\(0x)");
    for (const std::string& line : split(shellOutput("ldd '" + program + "'"), '\n')) {
        std::smatch match;
        if (std::regex_search(line, match, loaded)) libraries.push_back(match[1]);
    }
    return libraries;
}

// Programs a command line runs: the first word of each part between |, ;, &&, $( and
// quotes, after assignments and shell keywords, and the program a wrapper (timeout, env,
// unshare, xvfb-run) runs in turn.
void addCommands(std::string text, std::set<std::string>& commands) {
    static const std::regex arrays(R"([A-Za-z_]\w*=\([^)]*\))");
    static const std::regex parts(R"(\$\(|`|\|\||&&|[|;&'(){}])");
    static const std::set<std::string> keywords = {
        "if",  "then", "else", "elif", "fi",   "while", "until",  "do",    "done",
        "for", "case", "esac", "!",    "exec", "local", "export", "return"};
    static const std::set<std::string> wrappers = {"timeout", "env",      "unshare",
                                                   "nice",    "xvfb-run", "exec"};
    static const std::regex word(R"([A-Za-z/][\w.+/-]*)");
    text = std::regex_replace(text, arrays, " ");
    for (std::sregex_token_iterator it(text.begin(), text.end(), parts, -1), end; it != end; ++it) {
        std::istringstream in(it->str());
        std::vector<std::string> words;
        for (std::string w; in >> w;) words.push_back(w);
        size_t i = 0;
        while (i < words.size() &&
               (keywords.count(words[i]) || words[i].find('=') != std::string::npos))
            ++i;
        if (i < words.size() && (words[i] == "[" || words[i] == "[[")) continue;
        for (; i < words.size(); ++i) {
            if (words[i][0] == '@') words[i].erase(0, 1);  // a Makefile's silent recipe line
            if (!std::regex_match(words[i], word)) break;
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
    for (const fs::directory_entry& entry :
         fs::recursive_directory_iterator(sourceDir + "/tests")) {
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        const std::string source = readFile(entry.path().string());
        if (extension == ".cpp" || extension == ".h") {
            for (std::sregex_iterator it(source.begin(), source.end(), argv), end; it != end; ++it)
                commands.insert((*it)[1]);
            for (size_t at = source.find("shellOutput("); at != std::string::npos;
                 at = source.find("shellOutput(", at + 1)) {
                // The call's argument, up to its closing parenthesis.
                size_t close = at + 11;
                for (int depth = 0; close < source.size(); ++close) {
                    if (source[close] == '(') ++depth;
                    if (source[close] == ')' && --depth == 0) break;
                }
                const std::string argument = source.substr(at + 12, close - at - 12);
                std::string line;
                for (std::sregex_iterator it(argument.begin(), argument.end(), literal), end;
                     it != end; ++it)
                    line += (*it)[1];
                addCommands(line, commands);
            }
        } else if (extension == ".cmake" || name == "CMakeLists.txt") {
            for (std::sregex_iterator it(source.begin(), source.end(), cmakeCommand), end;
                 it != end; ++it)
                commands.insert((*it)[1]);
        }
    }
    for (const std::string script : {"scripts/with-display", "scripts/soak"}) {
        for (const std::string& line : split(readFile(sourceDir + "/" + script), '\n'))
            if (trimmed(line).rfind('#', 0) != 0) addCommands(line, commands);
    }
    for (const std::string& line : split(readFile(sourceDir + "/Makefile"), '\n'))
        if (!line.empty() && line[0] == '\t') addCommands(line, commands);
    return commands;
}

// The file a command name runs, as a shell with the default PATH finds it; empty when none.
std::string programFile(const std::string& command) {
    if (command[0] == '/') return fs::is_regular_file(command) ? command : "";
    if (command.find('/') != std::string::npos) return "";
    for (const char* folder : {"/usr/local/bin", "/usr/bin", "/bin", "/usr/sbin", "/sbin"}) {
        const std::string path = std::string(folder) + "/" + command;
        if (access(path.c_str(), X_OK) == 0 && fs::is_regular_file(path)) return path;
    }
    return "";
}

// The value of a CMake cache entry of this build.
std::string cached(const std::string& name) {
    std::ifstream cache(std::string(TARNHOLLOW_BINARY_DIR) + "/CMakeCache.txt");
    for (std::string line; std::getline(cache, line);) {
        if (line.rfind(name + ":", 0) == 0) return line.substr(line.find('=') + 1);
    }
    return "";
}

}  // namespace

TEST(InstallDeps, TheGameGroupHoldsEveryLibraryTheGameLoadsAndEveryProgramItsBuildRuns) {
    const InstalledPackages installed;
    const FileOwners owners;
    const std::set<std::string> base = installed.base();
    const std::set<std::string> game = installed.broughtBy(group("game"));
    ASSERT_GT(game.size(), 20u) << "scripts/install-deps --list game gave no packages";

    std::vector<std::string> files;
    for (const char* program : {TARNHOLLOW_GAME_BINARY, TARNHOLLOW_ASSETS_BINARY}) {
        const std::vector<std::string> libraries = librariesOf(program);
        EXPECT_GT(libraries.size(), 10u) << program;
        files.insert(files.end(), libraries.begin(), libraries.end());
    }
    for (const char* entry : {"CMAKE_CXX_COMPILER", "CMAKE_MAKE_PROGRAM", "CMAKE_COMMAND",
                              "PKG_CONFIG_EXECUTABLE", "CMAKE_STRIP", "TARNHOLLOW_FONT_FILE"}) {
        EXPECT_FALSE(cached(entry).empty()) << entry;
        if (!cached(entry).empty()) files.push_back(cached(entry));
    }
    for (const std::string& file : files) {
        const std::string owner = owners.of(file);
        EXPECT_FALSE(owner.empty()) << file << " belongs to no package";
        if (owner.empty()) continue;
        EXPECT_TRUE(game.count(owner) || base.count(owner))
            << file << " is " << owner << "'s, which the game group does not bring";
    }
}

TEST(InstallDeps, TheGroupsTogetherHoldEveryProgramTheTestsCall) {
    const InstalledPackages installed;
    const FileOwners owners;
    const std::set<std::string> base = installed.base();
    const std::set<std::string> all = installed.broughtBy(group("game test package"));

    const std::set<std::string> commands = programsTheTestsCall();
    for (const std::string expected : {"xdotool", "import", "lintian", "xvfb-run"})
        EXPECT_TRUE(commands.count(expected)) << "the scan missed " << expected;
    for (const std::string& command : commands) {
        const std::string file = programFile(command);
        if (file.empty()) continue;  // a shell builtin, a function, a word of the test's own
        const std::string owner = owners.of(file);
        EXPECT_FALSE(owner.empty()) << command << " (" << file << ") belongs to no package";
        if (owner.empty()) continue;
        EXPECT_TRUE(all.count(owner) || base.count(owner))
            << "the tests call " << command << ", " << owner << "'s, which no group brings";
    }
}
