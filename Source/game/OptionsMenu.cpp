// Game::UpdateOptionsMenu: the options dialog with its full-screen and music boxes, opened
// from the main menu and the pause menu. The choices last for this run only.
#include "core/Game.h"

#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "game/GameKeys.h"
#include "game/ScreenObjects.h"
#include "game/ScreenTable.h"

#include <array>
#include <string_view>

namespace {

namespace Screen = Engine::ScreenObjects;

constexpr const char* Checked = "CheckboxWithCheck.png";
constexpr const char* Unchecked = "Checkbox.png";
constexpr float GrayOutAlpha = 0.65f;

namespace Entry = Engine::OptionsEntry;

// Placed from the frame, which opens where the camera looks.
std::array<Screen::Part, 8> OptionsParts(const Game& game)
{
    return {{
        {"OptionsBG", 0.0f, 0.0f, -6.0f, 700.0f, 400.0f, "MenuFrame.png"},
        {"OptionsText", 0.0f, 280.0f, -7.0f, 375.0f, 80.0f, "OptionsText.png"},
        {"FSText", -240.0f, 90.0f, -7.0f, 275.0f, 45.0f, "FullscreenW.png"},
        {"FSBox", 280.0f, 90.0f, -7.0f, 80.0f, 80.0f, game.fullscreen ? Checked : Unchecked},
        {"MText", -230.0f, -120.0f, -7.0f, 200.0f, 45.0f, "MusicB.png"},
        {"MusicBox", 280.0f, -120.0f, -7.0f, 80.0f, 80.0f, game.musicEnabled ? Checked : Unchecked},
        {"LeaveOptions", 0.0f, -300.0f, -7.0f, 200.0f, 56.0f, "ReturnToMainMenuFinal.png"},
        {"GrayOut", 0.0f, 0.0f, -5.0f, 1000.0f, 550.0f, "Empty.png", {0.0f, 0.0f, 0.0f, GrayOutAlpha}},
    }};
}

constexpr std::array<const char*, 8> OptionsNames = {"OptionsBG", "OptionsText", "FSBox", "MusicBox",
                                                     "FSText",    "MText",       "LeaveOptions", "GrayOut"};

// A confirmation opened over the dialog (by the close button) has the same depths and
// would be hidden behind it. While one is open, the dialog's own parts step back behind the
// gray-out, still in front of a pause menu; they come forward again when it closes.
constexpr float BehindConfirmation = 2.5f;

void StepBack(const Game& game, bool behind)
{
    for (const Screen::Part& part : OptionsParts(game)) {
        if (std::string_view(part.name) == "GrayOut")
            continue;
        if (Engine::Transform* transform = Screen::TransformOf(part.name))
            transform->z_pos = part.z + (behind ? BehindConfirmation : 0.0f);
    }
}

// The images of "FSText", "MText" and "LeaveOptions" for each highlighted entry.
constexpr std::array<std::array<const char*, 3>, Entry::Count> OptionsHighlights = {{
    {"FullscreenW.png", "MusicB.png", "ReturnToMainMenuFinal.png"},
    {"FullscreenB.png", "MusicW.png", "ReturnToMainMenuFinal.png"},
    {"FullscreenB.png", "MusicB.png", "ReturnToMainMenuFinalHighlight.png"},
}};

}  // namespace

void Game::UpdateOptionsMenu()
{
    if (!Screen::Exists("OptionsBG")) {
        float x = 0.0f;
        float y = 0.0f;
        Screen::ViewCentre(x, y);
        Screen::Create(OptionsParts(*this), x, y);
    }
    StepBack(*this, confirmDialogOpen != 0);
    if (optionsSelection >= 0 && optionsSelection < static_cast<std::int32_t>(OptionsHighlights.size())) {
        const auto& images = OptionsHighlights[static_cast<std::size_t>(optionsSelection)];
        Screen::Show("FSText", images[0]);
        Screen::Show("MText", images[1]);
        Screen::Show("LeaveOptions", images[2]);
    }

    // A confirmation opened over the dialog (the close button) takes Enter alone.
    if (!enterHeld || confirmDialogOpen)
        return;
    Engine::GetSystem<Engine::SoundSystem>()->PlayEvent("Button_GoForward");
    enterHeld = 0;
    switch (optionsSelection) {
    case Entry::FullScreen:
        Engine::GameKeys::ToggleFullScreen(*this);
        Screen::Show("FSBox", Screen::Shows("FSBox", Checked) ? Unchecked : Checked);
        break;
    case Entry::Music:
        Engine::GameKeys::SetMusicEnabled(*this, !musicEnabled);
        Screen::Show("MusicBox", musicEnabled ? Checked : Unchecked);
        break;
    case Entry::Leave:
        optionsOpen = 0;
        optionsSelection = 0;
        Screen::Remove(OptionsNames);
        break;
    default:
        break;
    }
}
