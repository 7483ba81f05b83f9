// The source layers point one way: app uses render, render uses scene, scene uses gfx,
// gfx uses the damaged-file checks, and all of them may use base; sound stands beside them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

namespace fs = std::filesystem;

TEST(SourceLayers, NoFileIncludesALayerAboveItsOwn) {
    const std::map<std::string, std::set<std::string>> allowed = {
        {"base", {"base"}},
        {"check", {"base", "check"}},
        {"gfx", {"base", "check", "gfx"}},
        {"scene", {"base", "check", "gfx", "scene"}},
        {"render", {"base", "check", "gfx", "scene", "render"}},
        {"sound", {"base", "sound"}},
        {"app", {"base", "check", "gfx", "scene", "render", "sound", "app"}},
    };
    const std::regex include(R"re(^\s*#\s*include\s+"(\w+)/)re");
    int files = 0;
    for (const auto& [layer, uses] : allowed) {
        for (const auto& entry : fs::directory_iterator(fs::path(TARNHOLLOW_SOURCE_DIR) / "src" / layer)) {
            std::ifstream in(entry.path());
            std::string line;
            ++files;
            while (std::getline(in, line)) {
                std::smatch match;
                if (std::regex_search(line, match, include)) {
                    EXPECT_TRUE(uses.count(match[1].str()))
                        << entry.path().filename() << " in " << layer << "/ includes " << line;
                }
            }
        }
    }
    EXPECT_GT(files, 30);
}
