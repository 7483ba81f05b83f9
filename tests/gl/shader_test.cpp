// Shader programs: the fatal paths, each in a process of its own. The game's own programs
// build in every test that starts the game, the game-resources test sees them released, and
// a uniform a program lacks would raise a GL error in every frame that sets it.
#include <gtest/gtest.h>

#include "support/process.h"

using namespace tarn::test;

namespace {

const char* const goodVertex = R"(#version 330 core
layout (location = 0) in vec3 position;
uniform mat4 transform;
void main() { gl_Position = transform * vec4(position, 1.0); }
)";
const char* const goodFragment = R"(#version 330 core
out vec4 color;
uniform vec4 tint;
void main() { color = tint; }
)";
const char* const brokenFragment = R"(#version 330 core
out vec4 color;
void main() { color = vec4(1.0) }
)";
// Compiles alone, but calls a function no stage defines.
const char* const unlinkableFragment = R"(#version 330 core
out vec4 color;
vec3 shade();
void main() { color = vec4(shade(), 1.0); }
)";

class ShaderFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeTempDir();
        writeFile(dir + "/good.vert", goodVertex);
        writeFile(dir + "/good.frag", goodFragment);
        writeFile(dir + "/broken.frag", brokenFragment);
        writeFile(dir + "/unlinkable.frag", unlinkableFragment);
    }
    ProcessResult probe(const std::string& vertex, const std::string& fragment) {
        return runProcess({SHADER_PROBE, vertex, fragment}, dir, 60.0);
    }
    std::string dir;
};

}  // namespace

TEST_F(ShaderFiles, AMissingFileIsFatalAndNamed) {
    const ProcessResult result = probe("Shader/megaShader.vert", dir + "/good.frag");
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Failed to open shader file: Shader/megaShader.vert\n");
}

TEST_F(ShaderFiles, CompileAndLinkErrorsAreFatalWithTheDriversLogAfterTheirLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"broken.frag", "Failed to compile shader\n"},
        {"unlinkable.frag", "Failed to link program\n"},
    };
    for (const auto& [fragment, line] : cases) {
        const ProcessResult result = probe(dir + "/good.vert", dir + "/" + fragment);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitStatus, 1);
        ASSERT_EQ(result.err.rfind(line, 0), 0u) << result.err;
        EXPECT_GT(result.err.size(), line.size() + 2) << "the driver's log is missing";
        EXPECT_EQ(result.out, "");
    }
}
