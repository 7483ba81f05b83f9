// Shader programs on a real GL context: building, uniforms, ownership and the fatal paths.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <glm/gtc/type_ptr.hpp>
#include <memory>

#include "gfx/shader.h"
#include "support/gl_context.h"
#include "support/process.h"

using tarn::gfx::Shader;
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

TEST_F(ShaderFiles, GoodFilesBuildAProgramThatTakesUniformsAndIsReleasedWithItsHolder) {
    ensureGLContext();
    auto shader = std::make_unique<Shader>(dir + "/good.vert", dir + "/good.frag");
    GLint linked = 0;
    glGetProgramiv(shader->program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    shader->use();
    glm::mat4 m(1.0f);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) m[c][r] = static_cast<float>(10 * c + r);
    shader->setUniform("transform", m);
    std::array<float, 16> back{};
    glGetUniformfv(shader->program, glGetUniformLocation(shader->program, "transform"), back.data());
    for (int i = 0; i < 16; ++i) EXPECT_EQ(back[i], glm::value_ptr(m)[i]) << "column-major, as glm holds it";
    shader->setUniform("tint", 0.25f, 0.5f, 0.75f, 1.0f);
    std::array<float, 4> tint{};
    glGetUniformfv(shader->program, glGetUniformLocation(shader->program, "tint"), tint.data());
    EXPECT_EQ(tint, (std::array<float, 4>{0.25f, 0.5f, 0.75f, 1.0f}));
    // A name the program lacks is ignored without a GL error.
    shader->setUniform("noSuchUniform", 3);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glUseProgram(0);

    // Replacing the holder deletes the old program and both its stages.
    const GLuint program = shader->program, vertex = shader->vertexStage, fragment = shader->fragmentStage;
    shader = std::make_unique<Shader>(dir + "/good.vert", dir + "/good.frag");
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsShader(vertex));
    EXPECT_FALSE(glIsShader(fragment));
    EXPECT_TRUE(glIsProgram(shader->program));
}

TEST(GameShaders, AllFivePairsBuildAndLink) {
    ensureGLContext();
    const std::string root = std::string(TARNHOLLOW_SOURCE_DIR) + "/Shader/";
    const std::array<std::array<const char*, 2>, 5> pairs{{
        {"megaShader.vert", "megaShader.frag"},
        {"lightshafts.vert", "lightshafts.frag"},
        {"shadow_mapping_depth.vs", "shadow_mapping_depth.frag"},
        {"depth.vert", "depth.frag"},
        {"text.vert", "text.frag"},
    }};
    for (const auto& [vertex, fragment] : pairs) {
        Shader shader(root + vertex, root + fragment);
        EXPECT_NE(shader.program, 0u) << vertex;
        // Scene geometry and the screen quads put their position at location 0.
        EXPECT_LE(glGetAttribLocation(shader.program, "position"), 0) << vertex;
    }
}

TEST_F(ShaderFiles, MissingVertexFileIsFatalAndTheFragmentFileIsNeverOpened) {
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, (dir + "/good.frag").c_str(), IN_OPEN), 0);

    const ProcessResult result = probe("Shader/megaShader.vert", dir + "/good.frag");
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Failed to open shader file: Shader/megaShader.vert\n");

    char events[4096];
    EXPECT_LE(read(watch, events, sizeof events), 0) << "the fragment file was opened";
    close(watch);
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
