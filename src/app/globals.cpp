// Storage of the process-wide game state.
#include "app/globals.h"

#include "app/game_state.h"

namespace tarn::app {

int screenWidth = 800;
int screenHeight = 600;
float aspectRatio = 800.0f / 600.0f;
GLFWwindow* window = nullptr;

const glm::vec3 lightPos(0.0f, 20.0f, 0.0f);

std::unique_ptr<gfx::Shader> megaShader;
std::unique_ptr<gfx::Shader> unlitShader;
std::unique_ptr<gfx::Shader> lightshaftShader;
std::unique_ptr<gfx::Shader> shadowDepthShader;
std::unique_ptr<gfx::Shader> depthShader;
std::unique_ptr<gfx::Shader> textShader;

sound::Engine* soundEngine = nullptr;

GameState game;
Settings settings;
WorldTimers worldTimers;

scene::World world;
render::PassCounts lastPassCounts;

ActionMap actionMap;
SoundLevel soundLevel;
GameClock gameClock;

}  // namespace tarn::app
