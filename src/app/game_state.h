// The rules' state, the run-time settings switched by F2 to F9, and the world step's clocks.
#pragma once

namespace tarn::app {

struct GameState {
    int photosLeft = 5;
    float distanceToMorvie = 100.0f;
    bool lightOn = false;
    double lightOnSince = 0.0;       // debounce stamp and start of the running on-period
    double lightUsedSum = 0.0;       // seconds of light used in finished on-periods
    double maxLightDuration = 20.0;  // light budget in seconds
    double lastPhotoTime = 0.0;
    double settingsKeyTime = 0.0;  // one debounce stamp shared by all settings keys
    bool photoSuccess = false;
    bool gameOver = false;
    bool bonusFound = false;
    bool paused = false;  // nothing of the game moves or counts down
};

struct Settings {
    bool frametimeOutput = false;       // F2
    bool wireframe = false;             // F3
    bool nearestSampling = false;       // F4
    bool mipmappingEnabled = true;      // F5
    bool showDepthMap = false;          // F6
    bool lightshaftsEnabled = false;    // F7
    bool frustumCullingEnabled = true;  // F8
    bool blendingEnabled = true;        // F9
};

// Accumulators of the world step, each dropped back to 0 when it passes its period, so a
// slow frame never makes them catch up.
struct WorldTimers {
    float statsTimer = 0.0f;
    float causticsTimer = 0.0f;
    int causticsFrame = 0;  // the frame bound next, 0 to 31
    float sonarTimer = 0.0f;
};

extern GameState game;
extern Settings settings;
extern WorldTimers worldTimers;

}  // namespace tarn::app
