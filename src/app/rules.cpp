// The game's rules and the messages they print.
#include "app/rules.h"

#include <sstream>

namespace tarn::app {

namespace {

// Numbers as the console stream writes them by default (six significant digits).
template <typename... Parts>
std::string line(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

struct SettingsKey {
    int key;  // F2 to F9, in order
    bool Settings::*flag;
    const char* onText;  // null: the key is silent
    const char* offText;
};

const SettingsKey settingsKeys[] = {
    {keys::f2, &Settings::frametimeOutput, "Activated frametime output.",
     "Deactivated frametime output."},
    {keys::f3, &Settings::wireframe, "Activated wireframe mode.", "Deactivated wireframe mode."},
    {keys::f4, &Settings::nearestSampling, "Changed Texture Sampling Quality to Nearest Neighbor.",
     "Changed Texture Sampling Quality to Bilinear."},
    {keys::f5, &Settings::mipmappingEnabled, "Activated MipMapping.", "Deactivated MipMapping."},
    {keys::f6, &Settings::showDepthMap, "Rendering depth map for shadow mapping.",
     "Re-activated default rendering."},
    {keys::f7, &Settings::lightshaftsEnabled, "Activated lightshafts effect.",
     "Deactivated lightshafts effect."},
    {keys::f8, &Settings::frustumCullingEnabled, "Activated View Frustrum Culling.",
     "Deactivated View Frustrum Culling."},
    {keys::f9, &Settings::blendingEnabled, nullptr, nullptr},
};

const glm::vec2 lightOnMaterial(0.9f, 0.9f);
const glm::vec2 lightOffMaterial(0.3f, 0.3f);

void toggleSpotlight(double now, GameState& game, Outcome& outcome) {
    if (!(now > game.lightOnSince + debounceSeconds)) return;
    if (!(game.maxLightDuration > game.lightUsedSum)) return;
    if (!game.lightOn) {
        outcome.creatureMaterial = lightOnMaterial;
        game.lightOn = true;
        outcome.lines.push_back("Light toggled ON.");
        outcome.spotlight = 1;
    } else {
        outcome.creatureMaterial = lightOffMaterial;
        game.lightOn = false;
        game.lightUsedSum = (now - game.lightOnSince) + game.lightUsedSum;
        outcome.lines.push_back(line("Light toggled OFF. Sum used so far: ", game.lightUsedSum));
        outcome.spotlight = 0;
    }
    game.lightOnSince = now;
}

// Runs only when shutterOpens said so.
void takePhoto(double now, GameState& game, const RuleView& view, Outcome& outcome) {
    const bool inView =
        view.frustum &&
        view.frustum->testSphere(view.morviePosition, photoSphereRadius) == scene::Frustum::Inside;
    const float distance = game.distanceToMorvie;
    const bool near = distance < photoRange || (game.lightOn && distance < photoRangeWithLight);
    const bool hit = inView && near;
    if (hit) {
        outcome.endText = "You have won the game!";
        outcome.lines.push_back(
            line("Success! You just captured Morvie at a distance of ", distance, "."));
        outcome.lines.push_back("You have won the game!");
        game.photoSuccess = true;
        game.gameOver = true;
    } else {
        // Distance first: a creature out of range is the reason even when it is also out
        // of the picture, as it always was.
        outcome.lines.push_back(near ? "Oh no - Morvie was not in the picture when you took "
                                       "the photo."
                                     : "Oh no - you were too far from Morvie when you took the "
                                       "photo.");
        game.photosLeft -= 1;
        outcome.lines.push_back(line("You have ", game.photosLeft, " photos left."));
        if (game.photosLeft == 0) {
            outcome.endText = "You have lost the game.";
            outcome.lines.push_back("You have lost the game.");
            game.gameOver = true;
        }
    }
    outcome.photo = PhotoTaken{hit, distance, game.lightOn, game.photosLeft, near};
    game.lastPhotoTime = now;
}

void pickUpBonus(GameState& game, const RuleView& view, Outcome& outcome) {
    if (!view.bonusPosition || game.bonusFound) return;
    if (!(glm::distance(view.cameraPos, *view.bonusPosition) < bonusRange)) return;
    game.photosLeft += bonusPhotos;
    outcome.lines.push_back(
        line("Found a bonus SD-Card! You now have ", game.photosLeft, " photos left."));
    game.bonusFound = true;
}

}  // namespace

void handleSettingsKeys(const Actions& actions, double now, GameState& game, Settings& settings,
                        Outcome& outcome) {
    for (const SettingsKey& k : settingsKeys) {
        if (!actions.settingsKeys[size_t(k.key - keys::f2)]) continue;
        if (now > game.settingsKeyTime + debounceSeconds) {
            bool& flag = settings.*k.flag;
            flag = !flag;
            const char* text = flag ? k.onText : k.offText;
            if (text) outcome.lines.push_back(text);
            if (k.flag == &Settings::wireframe) outcome.wireframe = flag;
        }
        game.settingsKeyTime = now;
    }
}

void handleGameCommands(const Actions& actions, double now, GameState& game, const RuleView& view,
                        Outcome& outcome) {
    if (actions.moreLight) game.maxLightDuration = cheatLightDuration;
    if (actions.sonar) ++outcome.sonarPings;
    if (actions.light) toggleSpotlight(now, game, outcome);
    if (shutterOpens(actions, now, game)) takePhoto(now, game, view, outcome);
    if (actions.card) pickUpBonus(game, view, outcome);
}

bool shutterOpens(const Actions& actions, double now, const GameState& game) {
    return actions.photo && now > game.lastPhotoTime + debounceSeconds && game.photosLeft > 0;
}

void switchOffSpentLight(double now, GameState& game, Outcome& outcome) {
    const double used = (now - game.lightOnSince) + game.lightUsedSum;
    if (!game.lightOn || !(used > game.maxLightDuration)) return;
    outcome.lines.push_back(line("Duration of Light used: ", used));
    game.lightOn = false;
    outcome.creatureMaterial = lightOffMaterial;
    game.lightUsedSum += now - game.lightOnSince;
    outcome.spotlight = 0;
}

float sonarVolume(float distanceToMorvie) { return 1.0f - distanceToMorvie / sonarFallOff; }

}  // namespace tarn::app
