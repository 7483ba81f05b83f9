// Start-up and shutdown of the game.
#include "app/startup.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

#include "app/camera.h"
#include "base/console.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/photo_album.h"
#include "app/photos.h"
#include "app/preferences.h"
#include "app/startup_hints.h"
#include "app/window.h"
#include "app/textures.h"
#include "base/tables.h"
#include "gfx/text.h"
#include "gfx/texture.h"
#include "render/light_shafts.h"
#include "render/scene_pass.h"
#include "render/screen_quad.h"
#include "render/shadow_map.h"
#include "scene/frustum.h"
#include "scene/height_map.h"
#include "scene/lakebed.h"
#include "scene/random.h"
#include "scene/world.h"

namespace tarn::app {

namespace {

// Beyond this a GL 3.3 framebuffer may not hold the window (llvmpipe and most drivers
// stop at 16384), and X11 cannot describe sizes past 65535 at all.
constexpr int maxWindowSide = 16384;

const char* const introText =
    "You are running Tarnhollow. Press W, A, S, D to move. Press the Mouse Key to take a "
    "photo if you are close enough.";

[[noreturn]] void failWindow() {
    std::cerr << "ERROR: Could not open window." << std::endl;
    std::cerr << windowHint(screenWidth, screenHeight) << std::endl;
    glfwTerminate();
    base::consolePause();
    std::exit(1);
}

void printWorkingDirectory() {
    char buffer[2048];
    if (getcwd(buffer, sizeof buffer)) {
        std::cout << buffer << std::endl;
    } else {
        std::cout << std::endl;
    }
}

// Culling starts from the camera's start; its projection follows the framebuffer's size.
void setUpViewFrustum() {
    scene::viewFrustum.setCamera(cameraPos, cameraPos + cameraFront, cameraUp);
}

void loadHeightMap() {
    scene::heightMap = std::make_unique<scene::HeightMap>(paths::heightMap);
}

void setStartupUniformsAndBindTextures() {
    megaShader->use();
    render::setStartupUniforms(*megaShader, lightPos, cameraPos);
    bindTexturesToUnits();
}

void createFramebuffers() {
    render::createShadowMap();
    render::createLightShafts(screenWidth, screenHeight);
}

void releaseFramebuffers() {
    render::releaseShadowMap();
    render::releaseLightShafts();
    render::releaseScreenQuad();
}

}  // namespace

int swapIntervalFor(const char* vsyncVariable) {
    return vsyncVariable && std::string(vsyncVariable) == "0" ? 0 : 1;
}

bool isWindowSizeMakeable(int width, int height) {
    return width >= 1 && height >= 1 && width <= maxWindowSide && height <= maxWindowSide;
}

// In this order, which fixes the order of their random draws: the creature, the fish
// models, the fish, the ducks, the bonus card, the lakebed, the water surface, the sky
// and the sun.
void createSceneObjects(scene::World& world) {
    const glm::mat4 identity(1.0f);
    world.morvie = std::make_unique<scene::Morvie>(identity, units::morvie);
    world.fishModels = std::make_unique<scene::FishModels>();
    for (int i = 0; i < lake::fishCount; ++i) {
        world.fishes[i] = scene::createLakeFish(i, world.fishModels.get());
    }
    for (auto& duck : world.ducks) duck = std::make_unique<scene::Duck>(identity, units::duck);
    world.bonusCard = std::make_unique<scene::BonusObject>(identity, *megaShader);
    world.lakebed = std::make_unique<scene::Lakebed>(identity, units::moss);
    world.waterSurface = std::make_unique<scene::WaterSurface>(identity, units::caustics);
    world.sky = std::make_unique<scene::Sky>(identity, units::sky);
    world.sun = std::make_unique<scene::Sun>(identity, lightPos, units::caustics);
}

void init() {
    glGetError();  // whatever GLEW's probing left behind is not ours
    glEnable(GL_DEPTH_TEST);

    megaShader = std::make_unique<gfx::Shader>("Shader/megaShader.vert", "Shader/megaShader.frag");
    unlitShader = std::make_unique<gfx::Shader>("Shader/megaShader.vert", "Shader/unlit.frag");
    lightshaftShader =
        std::make_unique<gfx::Shader>("Shader/lightshafts.vert", "Shader/lightshafts.frag");
    shadowDepthShader = std::make_unique<gfx::Shader>("Shader/shadow_mapping_depth.vs",
                                                      "Shader/shadow_mapping_depth.frag");
    depthShader = std::make_unique<gfx::Shader>("Shader/depth.vert", "Shader/depth.frag");
    textShader = std::make_unique<gfx::Shader>("Shader/text.vert", "Shader/text.frag");

    applyFramebufferSize();
    megaShader->setUniform("projection", glm::mat4(1.0f));  // the real one comes per frame

    setUpViewFrustum();
    loadHeightMap();
    createSceneObjects(world);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    // A key or button pressed and released between two polls still counts once: on a
    // slow renderer a frame outlasts a quick tap.
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
    glfwSetInputMode(window, GLFW_STICKY_MOUSE_BUTTONS, GLFW_TRUE);
    gfx::checkImageLibraryVersion();
    printWorkingDirectory();
    loadTextures();
    setStartupUniformsAndBindTextures();
    // The model and image readers free their working memory, but the C library keeps it
    // for later allocations; hand it back, so the shadow map's cache comes on top of less.
    malloc_trim(0);
}

void cleanup() {
    // Photos still on their way are written before anything goes.
    endPhotos();
    // A program still in use is only marked for deletion; nothing may hold one back.
    glUseProgram(0);
    world.release();
    megaShader.reset();
    unlitShader.reset();
    lightshaftShader.reset();
    releaseTextures();
    scene::heightMap.reset();
    releaseCausticsTextures();
    releaseFramebuffers();
    dropEngine(soundEngine);
    // The remaining programs and the glyphs go too while the context lives; at process
    // exit it is gone.
    shadowDepthShader.reset();
    depthShader.reset();
    textShader.reset();
    gfx::releaseFont();
}

void resetToFirstStart() {
    game = {};
    settings = {};
    worldTimers = {};
    lastPassCounts = {};
    resetCamera();
    actionMap = ActionMap();
    soundLevel = {};
    scene::rng = std::mt19937();
    std::srand(1);  // what the C library starts from when nobody seeds it
}

void startGame(bool withSound) {
    init();
    glClearColor(0.325f, 0.325f, 0.65f, 0.3f);
    gfx::loadFont();
    if (withSound) {
        soundEngine = sound::createEngine();
        if (!soundEngine) std::cerr << "irrKlang Engine not working" << std::endl;
        sound::play2D(soundEngine, paths::ambientSound, true, false, false);
    }
    createFramebuffers();
    resetLookReference(screenWidth, screenHeight);
}

int runGame(int argc, const char* const* argv, const InstalledData& installed) {
    const CommandLine line = parseCommandLine(argc, argv);
    if (!line.usageError.empty()) {
        std::cerr << line.usageError << "\n\n" << usageText();
        return 2;
    }
    if (line.showHelp) {
        std::cout << usageText();
        return 0;
    }
    if (line.showVersion) {
        std::cout << "Tarnhollow " << TARNHOLLOW_VERSION << std::endl;
        return 0;
    }
    if (line.printIntro) std::cout << introText << std::endl << std::endl;
    if (!line.error.empty()) base::fatalExit(line.error);
    // A relative photo folder is the player's, from where the game was started.
    const std::string photoFolder = photoFolderFromEnvironment();
    // The settings file holds where the command line is silent.
    const Preferences preferences =
        readPreferences(settingsPath([](const char* name) { return std::getenv(name); }), std::cerr);
    actionMap = ActionMap(preferences);
    soundLevel = {preferences.masterVolume, preferences.mute};
    // Before any window: without its files the game has nothing to show.
    enterDataFolder(installed);
    screenWidth = line.sizeGiven ? line.width : preferences.windowWidth;
    screenHeight = line.sizeGiven ? line.height : preferences.windowHeight;
    const bool fullscreen = line.fullscreenGiven ? line.fullscreen : preferences.fullscreen;

    if (!glfwInit()) base::fatalExit("ERROR: Could not init glfw", windowSystemHint());
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    // The frame follows every change of the framebuffer's size (see window.h).
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    GLFWmonitor* monitor = nullptr;
    if (fullscreen) {
        monitor = glfwGetPrimaryMonitor();
        glfwWindowHint(GLFW_REFRESH_RATE, 60);
    }
    if (!isWindowSizeMakeable(screenWidth, screenHeight)) failWindow();
    window = glfwCreateWindow(screenWidth, screenHeight, "Tarnhollow", monitor, nullptr);
    if (!window) failWindow();

    // Full screen may pick another video mode and dense displays scale the framebuffer:
    // everything sized from the window follows what was really made.
    glfwGetFramebufferSize(window, &screenWidth, &screenHeight);
    if (screenWidth < 1 || screenHeight < 1) failWindow();

    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (const GLenum glew = glewInit(); glew != GLEW_OK) {
        std::cerr << "ERROR: Could not load glew." << std::endl;
        std::cerr << glewHint(glew) << std::endl;
        glfwTerminate();
        base::consolePause();
        return 1;
    }
    glfwSwapInterval(preferences.vsync ? swapIntervalFor(std::getenv("TARNHOLLOW_VSYNC")) : 0);

    startGame(true);
    sound::setMasterGain(soundEngine, soundLevel.gain());
    setWindowIcon(window);
    beginPhotos(photoFolder);
    runFrameLoop();

    cleanup();
    glfwTerminate();
    base::consolePause();
    return 0;
}

}  // namespace tarn::app
