// Process-wide state of the running game: the window, the light, the shader programs and
// the sound engine. Each holder has one owner; start-up fills them and cleanup empties them.
#pragma once

#include <glm/glm.hpp>
#include <memory>

#include "app/actions.h"
#include "app/game_clock.h"
#include "app/session.h"
#include "gfx/shader.h"
#include "render/scene_pass.h"
#include "scene/world.h"
#include "sound/sound.h"

struct GLFWwindow;

namespace tarn::app {

// Window size in pixels: the command line's request until the window opens, then the
// framebuffer size the window system reports.
extern int screenWidth;
extern int screenHeight;
extern float aspectRatio;
extern GLFWwindow* window;

// The light and sun position.
extern const glm::vec3 lightPos;

extern std::unique_ptr<gfx::Shader> megaShader;
// The sky and the sun: the main program's vertex stage, the colour without the lighting.
extern std::unique_ptr<gfx::Shader> unlitShader;
extern std::unique_ptr<gfx::Shader> lightshaftShader;
extern std::unique_ptr<gfx::Shader> shadowDepthShader;
extern std::unique_ptr<gfx::Shader> depthShader;
extern std::unique_ptr<gfx::Shader> textShader;

// Null when no audio device could be opened; every sound call then does nothing.
extern sound::Engine* soundEngine;

// The lake's 30 objects.
extern scene::World world;
// The counts of the last scene pass of the previous frame, for the statistics.
extern render::PassCounts lastPassCounts;

// The player's input as actions, with the preferences' key table; and the sound's level.
extern ActionMap actionMap;
extern SoundLevel soundLevel;

// The frame clock: GLFW's wall clock in, the game's own time out.
extern GameClock gameClock;

}  // namespace tarn::app
