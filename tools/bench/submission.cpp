// The replay of both scene passes over a lake without geometry.
#include "submission.h"

#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <iostream>

#include "app/camera.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/startup.h"
#include "gfx/texture.h"
#include "render/scene_pass.h"
#include "render/shadow_map.h"
#include "scene/frustum.h"

namespace tarn::bench {

namespace {

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

void copyPlacement(const scene::SceneObject* from, scene::SceneObject* to) {
    if (from && to) to->modelMatrix = from->modelMatrix;
}

}  // namespace

SubmissionReplay::SubmissionReplay() {
    const std::filesystem::path runDir = std::filesystem::current_path();
    const std::filesystem::path empty =
        std::filesystem::temp_directory_path() / ("tarnhollow-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(empty);
    std::filesystem::current_path(empty);
    std::cout.setstate(std::ios::failbit);  // every model reports its missing file
    app::createSceneObjects(hollow_);
    std::cout.clear();
    std::filesystem::current_path(runDir);
    std::filesystem::remove_all(empty);
}

SubmissionReplay::~SubmissionReplay() { hollow_.release(); }

double SubmissionReplay::measure(const scene::World& real, int rounds) {
    if (hollow_.bonusCard) hollow_.bonusCard->placeOnce();  // before it takes the real place
    copyPlacement(real.lakebed.get(), hollow_.lakebed.get());
    copyPlacement(real.morvie.get(), hollow_.morvie.get());
    for (size_t i = 0; i < real.fishes.size(); ++i) copyPlacement(real.fishes[i].get(), hollow_.fishes[i].get());
    for (size_t i = 0; i < real.ducks.size(); ++i) copyPlacement(real.ducks[i].get(), hollow_.ducks[i].get());
    copyPlacement(real.bonusCard.get(), hollow_.bonusCard.get());
    copyPlacement(real.sky.get(), hollow_.sky.get());
    copyPlacement(real.sun.get(), hollow_.sun.get());
    copyPlacement(real.waterSurface.get(), hollow_.waterSurface.get());

    const render::CameraView camera{app::cameraPos, app::viewMatrix, app::projectionMatrix,
                                    app::viewProjectionMatrix};
    render::ScenePass shadow;
    shadow.camera = camera;
    shadow.bonusInPlay = !app::game.bonusFound;
    shadow.shadowPass = true;
    render::ScenePass lit;
    lit.camera = camera;
    lit.cullingFrustum = app::settings.frustumCullingEnabled ? &scene::viewFrustum : nullptr;
    lit.blending = app::settings.blendingEnabled;
    lit.unlitProgram = app::unlitShader.get();
    lit.bonusInPlay = shadow.bonusInPlay;

    glFinish();
    // The thread's own processor time: on a busy machine the wall clock would count the
    // time other processes held the core as well.
    const double start = threadCpuMs();
    for (int round = 0; round < rounds; ++round) {
        scene::viewFrustum.setCamera(app::cameraPos, app::cameraPos + app::cameraFront,
                                     app::cameraUp);
        app::shadowDepthShader->use();
        app::shadowDepthShader->setUniform("lightSpaceMatrix",
                                           render::buildLightSpaceMatrix(app::lightPos));
        render::renderScene(hollow_, *app::shadowDepthShader, shadow);
        render::useShadowMapInMainProgram(*app::megaShader);
        gfx::applyTextureSampling(app::settings.mipmappingEnabled, app::settings.nearestSampling);
        // The spotlight's cone and direction, as the frame sends them (the values are the
        // frame's business; the next frame sends its own).
        app::megaShader->setUniform("cones", 0.94f);
        app::megaShader->setUniform("outerCones", 0.87f);
        app::megaShader->setUniform("cameraFront", app::cameraFront.x, app::cameraFront.y,
                                    app::cameraFront.z);
        render::renderScene(hollow_, *app::megaShader, lit);
    }
    const double elapsed = threadCpuMs() - start;
    glFinish();
    return elapsed / rounds;
}

}  // namespace tarn::bench
