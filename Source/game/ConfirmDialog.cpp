// Game::UpdateConfirmDialog: the yes/no question asked before quitting, restarting the
// level, returning to the main menu or going to the credits. The game update runs it while
// confirmDialogOpen is set and carries out ConfirmAction on yes.
#include "core/Game.h"

#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "game/ScreenObjects.h"

#include <array>

namespace {

namespace Screen = Engine::ScreenObjects;

constexpr float GrayOutAlpha = 0.65f;

// Placed from the frame, which opens where the camera looks.
const std::array<Screen::Part, 5> ConfirmParts = {{
    {"Confirm", 0.0f, 0.0f, -6.0f, 275.0f, 216.0f, "MenuFrame.png"},
    {"ConfirmText", 0.0f, 150.0f, -7.0f, 200.0f, 40.0f, "AreYouSure.png"},
    {"YesButton", 0.0f, 30.0f, -7.0f, 194.6f, 53.3f, ""},
    {"NoButton", 0.0f, -115.0f, -7.0f, 194.6f, 53.3f, ""},
    {"GrayOut", 0.0f, 0.0f, -5.0f, 1000.0f, 550.0f, "Empty.png", {0.0f, 0.0f, 0.0f, GrayOutAlpha}},
}};

constexpr std::array<const char*, 5> ConfirmNames = {"Confirm", "ConfirmText", "YesButton", "NoButton", "GrayOut"};

}  // namespace

bool Game::UpdateConfirmDialog()
{
    confirmDialogOpen = 1;
    if (!Screen::Exists("Confirm")) {
        float x = 0.0f;
        float y = 0.0f;
        Screen::ViewCentre(x, y);
        Screen::Create(ConfirmParts, x, y);
        confirmSelection = 0;  // yes
    }

    if (confirmSelection == 0 && !Screen::Shows("YesButton", "YesHighlight.png")) {
        Screen::Show("YesButton", "YesHighlight.png");
        Screen::Show("NoButton", "No.png");
    } else if (confirmSelection == 1 && !Screen::Shows("NoButton", "NoHighlight.png")) {
        Screen::Show("YesButton", "Yes.png");
        Screen::Show("NoButton", "NoHighlight.png");
    }

    if (!enterHeld)
        return false;
    Engine::GetSystem<Engine::SoundSystem>()->PlayEvent("Button_GoForward");
    enterHeld = 0;
    if (confirmSelection == 1) {
        Screen::Remove(ConfirmNames);
        confirmDialogOpen = 0;
        return false;
    }
    // Yes: the objects stay; the action's level load or the quit takes them.
    return true;
}
