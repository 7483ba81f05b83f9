// The frame loop, and the app's side of the rules: what they report becomes console lines,
// sound, uniforms and GL state here.
#include "app/frame_loop.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cmath>
#include <iostream>

#include "app/camera.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/hud.h"
#include "app/photos.h"
#include "app/process_input.h"
#include "app/rules.h"
#include "app/session.h"
#include "app/textures.h"
#include "app/window.h"
#include "app/world_step.h"
#include "base/tables.h"
#include "gfx/text.h"
#include "gfx/texture.h"
#include "render/gl_error.h"
#include "render/light_shafts.h"
#include "render/pass_timer.h"
#include "render/scene_pass.h"
#include "render/shadow_map.h"
#include "scene/frustum.h"

namespace tarn::app {

namespace {

// The spotlight's cone: full strength within 20 degrees of the view axis, gone at 30.
const float spotlightInnerCos = static_cast<float>(std::cos(double(20.0f * 0.017453292f)));
const float spotlightOuterCos = static_cast<float>(std::cos(double(30.0f * 0.017453292f)));

void printLines(const std::vector<std::string>& lines) {
    for (const std::string& text : lines) std::cout << text << std::endl;
}

void playSonar(float volume) {
    const sound::Sound ping = sound::play2D(soundEngine, paths::sonarSound, false, false, true);
    if (ping) sound::setVolume(soundEngine, ping, volume);
}

// The overlay lies on top of whatever is drawn: near geometry or the depth view's quad
// would otherwise hide it in the depth test.
void drawText(const HudText& text) {
    if (!textShader) return;
    const render::TimedPart timed(render::FramePart::Hud);
    glDisable(GL_DEPTH_TEST);
    gfx::renderText(*textShader, text.text, text.x, text.y, text.scale, text.colour);
    glEnable(GL_DEPTH_TEST);
}

// Carries out what the rules decided, in the order the rules themselves would.
void apply(const Outcome& outcome) {
    if (outcome.wireframe) glPolygonMode(GL_FRONT_AND_BACK, *outcome.wireframe ? GL_LINE : GL_FILL);
    for (int ping = 0; ping < outcome.sonarPings; ++ping)
        playSonar(sonarVolume(game.distanceToMorvie));
    if (outcome.creatureMaterial && world.morvie) {
        world.morvie->setMaterial(outcome.creatureMaterial->x, outcome.creatureMaterial->y);
    }
    if (outcome.spotlight) {
        megaShader->use();
        megaShader->setUniform("spotlight", *outcome.spotlight);
    }
    if (outcome.endText) {
        drawText(endOfGameText(*outcome.endText, screenWidth, screenHeight));
        megaShader->use();
    }
    printLines(outcome.lines);
    if (outcome.photo) notePhoto(*outcome.photo);
}

// Pausing hands the mouse back and holds the sounds; going on takes the mouse again with a
// fresh look reference, so its travel meanwhile does not turn the camera.
void apply(const SessionOutcome& outcome) {
    printLines(outcome.lines);
    if (outcome.paused) {
        if (window) {
            glfwSetInputMode(window, GLFW_CURSOR,
                             *outcome.paused ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_DISABLED);
        }
        sound::setAllPaused(soundEngine, *outcome.paused);
        if (!*outcome.paused) firstMouse = true;
    }
    if (outcome.newHunt) {
        world.placeAnimalsAnew();
        worldTimers = {};
        resetCamera();
        megaShader->use();
        megaShader->setUniform("spotlight", 0);
    }
    if (outcome.toggleFullscreen) toggleFullscreen(window);
    if (outcome.masterGain) sound::setMasterGain(soundEngine, *outcome.masterGain);
}

void apply(const WorldStepOutcome& outcome) {
    printLines(outcome.lines);
    if (outcome.causticsFrameToBind) bindCausticsFrame(*outcome.causticsFrameToBind);
    if (outcome.sonarVolume) playSonar(*outcome.sonarVolume);
}

// The camera's matrices, computed once per frame before any pass.
render::CameraView frameCamera() {
    viewMatrix = buildViewMatrix();
    projectionMatrix = buildProjectionMatrix(aspectRatio);
    viewProjectionMatrix = projectionMatrix * viewMatrix;
    return {cameraPos, viewMatrix, projectionMatrix, viewProjectionMatrix};
}

bool bonusInPlay() { return !game.bonusFound; }

// The lit scene straight into the window, or with light shafts through their texture.
render::PassCounts renderLitScene(const render::CameraView& camera) {
    render::ScenePass pass;
    pass.camera = camera;
    pass.cullingFrustum = settings.frustumCullingEnabled ? &scene::viewFrustum : nullptr;
    pass.blending = settings.blendingEnabled;
    pass.bonusInPlay = bonusInPlay();
    pass.unlitProgram = unlitShader.get();
    if (!settings.lightshaftsEnabled) {
        // The shadow pass has left the window bound and cleared.
        const render::TimedPart timed(render::FramePart::WindowPass);
        return render::renderScene(world, *megaShader, pass);
    }
    render::PassCounts counts;
    {
        const render::TimedPart timed(render::FramePart::WindowPass);
        render::beginLightShaftPass(screenWidth, screenHeight);
        counts = render::renderScene(world, *megaShader, pass);
    }
    const render::TimedPart timed(render::FramePart::LightShafts);
    const glm::vec3 sunPosition = world.sun ? world.sun->position() : lightPos;
    render::finishLightShaftPass(*lightshaftShader, sunPosition, camera.viewProjection,
                                 render::isSunInView(scene::viewFrustum, sunPosition));
    return counts;
}

}  // namespace

void renderWorld() {
    const render::CameraView camera = frameCamera();
    // The photo rule reads this frustum, so it follows the camera in the depth view too.
    scene::viewFrustum.setCamera(cameraPos, cameraPos + cameraFront, cameraUp);
    {
        const render::TimedPart timed(render::FramePart::ShadowPass);
        lastPassCounts =
            render::renderShadowPass(world, *shadowDepthShader, camera, lightPos, bonusInPlay(),
                                     settings.wireframe, {screenWidth, screenHeight});
    }
    if (settings.showDepthMap) {
        render::renderDepthView(*depthShader);
        return;
    }
    render::useShadowMapInMainProgram(*megaShader);
    gfx::applyTextureSampling(settings.mipmappingEnabled, settings.nearestSampling);
    megaShader->setUniform("cones", spotlightInnerCos);
    megaShader->setUniform("outerCones", spotlightOuterCos);
    megaShader->setUniform("cameraFront", cameraFront.x, cameraFront.y, cameraFront.z);
    lastPassCounts = renderLitScene(camera);
}

void runFrame(const InputSource& polled, double wallNow) {
    // Each key is asked once a frame, so a tap that sticky keys kept is seen by every rule.
    const FrameInput input(polled);
    const WindowEvents events = takeWindowEvents();
    printLines(events.lines);
    if (events.framebufferWidth) {
        resizeFramebuffer(*events.framebufferWidth, *events.framebufferHeight);
    }
    // A frame that ends a pause moves the game by nothing: the time paused is no time of play.
    gameClock.advance(wallNow, game.paused);
    const double now = gameClock.now;
    const float deltaTime = gameClock.deltaTime;
    const Actions actions =
        actionMap.read(input, events.gamepad ? &*events.gamepad : nullptr, deltaTime);
    apply(handleSession(actions, events.signals, actionMap.preferences().pauseWhenUnfocused,
                        game, soundLevel));
    const bool playing = !game.gameOver && !game.paused;
    developPhotos();

    if (playing) {
        WorldStepOutcome stepped;
        {
            const render::TimedPart timed(render::FramePart::WorldStep);
            stepped = updateScene(world, {deltaTime, gameClock.realFrameTime}, cameraPos, game,
                                  settings, worldTimers, lastPassCounts);
        }
        apply(stepped);
    }
    renderWorld();
    // The photo is the picture as it stands now, before the overlay goes on top.
    if (playing && shutterOpens(actions, static_cast<float>(now), game)) {
        openShutter(screenWidth, screenHeight);
    }

    Outcome lightOut;
    switchOffSpentLight(now, game, lightOut);
    apply(lightOut);
    for (const HudText& line : statusLines(game, screenWidth, screenHeight)) drawText(line);
    megaShader->use();

    if (actions.quit && window) glfwSetWindowShouldClose(window, GLFW_TRUE);
    if (playing) apply(processInput(actions, deltaTime, static_cast<float>(now), world));
    for (const HudText& banner : endBanners(game, screenWidth, screenHeight)) drawText(banner);
    if (game.paused) {
        for (const HudText& line : pauseOverlay(screenWidth, screenHeight)) drawText(line);
    }
    megaShader->use();
    // One look a frame, so a fault in any pass reaches the console instead of passing
    // silently; the soak counts these lines.
    render::checkGLError(__FILE__, __LINE__, "frame");
}

void runFrameLoop() {
    const GlfwInput input(window);
    watchWindow(window);
    gameClock.start(glfwGetTime());
    while (!glfwWindowShouldClose(window)) {
        runFrame(input, glfwGetTime());
        glfwSwapBuffers(window);
        glfwPollEvents();
    }
}

}  // namespace tarn::app
