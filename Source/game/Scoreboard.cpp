#include "game/Scoreboard.h"

#include "core/Animation.h"
#include "core/ComponentStore.h"
#include "core/Game.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "game/GameState.h"
#include "game/ScoreFile.h"
#include "graphics/Camera.h"
#include "platform/DocumentsFolder.h"

#include <filesystem>
#include <system_error>

namespace Engine {

namespace {

constexpr const char* DigitsAnimation = "DigitsAnim";    // frames 0 to 9: the digits
constexpr const char* LettersAnimation = "LettersAnim";  // frames 0 to 25: A to Z
constexpr const char* PlayerName = "PLAYER";
constexpr std::uint32_t LevelStartScore = 300;

// Character codes count as signed bytes, so only A to Z land on the letter sheet's frames.
std::int32_t LetterFrame(char c) { return static_cast<std::int32_t>(static_cast<signed char>(c)) - 65; }

// Every digit and letter is made alike: 30 x 30, in front of the screen at z -1, its frame
// standing still. The animation update turns the frame into the sheet's cell every frame.
void CreateGlyph(const std::string& name, const char* animationName, std::int32_t frame, float x, float y)
{
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(name);
    if (id == InvalidObjectId)  // a full table has been logged; the glyph is simply missing
        return;
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<Transform>(id);
    store.AddComponent<Sprite>(id);
    store.AddComponent<Animation>(id);

    // Opaque white: the renderer hides what has colour alpha 0.
    Sprite& sprite = *store.GetComponent<Sprite>(id);
    sprite.Color[0] = sprite.Color[1] = sprite.Color[2] = sprite.Color[3] = 1.0f;

    Transform& transform = *store.GetComponent<Transform>(id);
    transform.x_pos = x;
    transform.y_pos = y;
    transform.z_pos = -1.0f;
    transform.x_sca = 30.0f;
    transform.y_sca = 30.0f;

    Animation& animation = *store.GetComponent<Animation>(id);
    animation.Handle = animationName;
    animation.frame = frame;
    animation.timer = 0.0f;
    animation.playing = false;
}

// Removes the lowest-id object of each name in turn; the first name with no object ends the
// walk (a level load has taken them all). The list is emptied either way.
void RemoveNamed(std::vector<std::string>& names)
{
    GameObjectTable& table = GameObjectTable::Instance();
    for (const std::string& name : names) {
        const std::uint32_t id = table.FindGameObject(name);
        if (id == InvalidObjectId)
            break;
        table.RemoveGameObject(id);
    }
    names.clear();
}

std::string LeaderboardFilePath()
{
    const std::filesystem::path folder = Platform::DocumentsFolder();
    std::error_code error;
    // The path is kept anyway: inside a folder that does not exist nothing is read or written.
    if (!std::filesystem::is_directory(folder, error))
        LogInfo("Documents path not found");
    return (folder / "Scoreboard.txt").string();
}

}  // namespace

Scoreboard::Scoreboard() : filePath(LeaderboardFilePath()) {}

void Scoreboard::Init() { Load(); }

void Scoreboard::Shutdown() { Save(); }

void Scoreboard::RestartLevel()
{
    score = LevelStartScore;
    // The reload removed the digits made at the level's start; the names point at nothing.
    scoreDigitNames.clear();
    CreateScoreDigits();
}

void Scoreboard::Load() { fileHoldsUnreadLines = ScoreFile::Read(filePath, entries); }

void Scoreboard::Save()
{
    // Lines a person wrote that the game could not take must not be lost to the rewrite.
    if (fileHoldsUnreadLines) {
        if (!ScoreFile::SetAside(filePath))
            return;
        fileHoldsUnreadLines = false;
    }
    ScoreFile::Write(filePath, entries);
}

void Scoreboard::Update()
{
    const std::int32_t state = GameStateIndex;
    if (GameState::IsLevel(state)) {
        // Moving straight from one level state to another is no level start.
        if (!levelRunning) {
            score = LevelStartScore;
            RemoveScoreDigits();
            CreateScoreDigits();
            levelRunning = true;
            scoreEntered = false;
        }
    } else {
        levelRunning = false;
        if (state == GameState::ScoreEntry && !scoreEntered) {
            AddEntry(ScoreEntry{PlayerName, score});
            Save();
            scoreEntered = true;
        }
        if (state == GameState::Leaderboard && !leaderboardShown) {
            RemoveScoreDigits();
            ShowLeaderboard();
            leaderboardShown = true;
        }
    }
    if (state != GameState::Leaderboard && leaderboardShown) {
        HideLeaderboard();
        leaderboardShown = false;
    }
    CountDown();
    PlaceScoreDigits();
}

void Scoreboard::CountDown()
{
    // Once the gate is reached (and while its overview shows) the score is the one entered.
    const Game* game = Camera::Instance()->game;
    const bool levelWon = game != nullptr && (game->levelChangeRequested || game->levelCompleteShown);
    if (!levelRunning || levelWon) {
        scoreTimer = 0.0f;
        return;
    }
    scoreTimer += FrameDeltaTime;
    if (scoreTimer >= 1.0f) {
        scoreTimer = 0.0f;  // the part beyond the second is dropped
        score = score < scoreStep ? 0 : score - scoreStep;
    }
}

void Scoreboard::AddEntry(ScoreEntry entry)
{
    if (entries.empty()) {
        entries.push_back(std::move(entry));
        return;
    }
    // Before the first lower score: an equal score keeps the older entry in front.
    for (auto at = entries.begin(); at != entries.end(); ++at) {
        if (at->score < entry.score) {
            entries.insert(at, std::move(entry));
            // A hand-edited longer list keeps its length: one entry in, one out.
            if (entries.size() > maxEntries)
                entries.pop_back();
            return;
        }
    }
    if (entries.size() < maxEntries)
        entries.push_back(std::move(entry));
}

void Scoreboard::CreateScoreDigits()
{
    const GameObjectTable& table = GameObjectTable::Instance();
    for (std::uint32_t i = 0; i < scoreDigitCount; ++i) {
        std::string name = "ScoreDigit" + std::to_string(i);
        // A digit that the level file holds is used as it is.
        if (table.FindGameObject(name) == InvalidObjectId)
            CreateGlyph(name, DigitsAnimation, 0, 0.0f, 0.0f);
        scoreDigitNames.push_back(std::move(name));
    }
}

void Scoreboard::PlaceScoreDigits()
{
    const Camera& camera = *Camera::Instance();
    const bool large = GameStateIndex == GameState::ScoreEntry;
    const GameObjectTable& table = GameObjectTable::Instance();
    ComponentStore& store = ComponentStore::Instance();

    float x = camera.eye[0];
    std::uint32_t value = score;
    for (const std::string& name : scoreDigitNames) {
        const auto digit = static_cast<std::int32_t>(value % 10);
        value /= 10;
        const std::uint32_t id = table.FindGameObject(name);
        if (id == InvalidObjectId)
            return;
        Transform* transform = store.GetComponent<Transform>(id);
        if (transform == nullptr)
            return;
        Animation* animation = store.GetComponent<Animation>(id);  // a level's own digit may lack one
        if (large) {
            // Centred on the score-entry screen: eye x + 160 (ones), + 85, + 10.
            transform->x_pos = x + 160.0f;
            transform->y_pos = 0.0f;
            transform->x_sca = 50.0f;
            transform->y_sca = 50.0f;
            if (animation != nullptr) {
                animation->frame = digit;
                animation->Handle = DigitsAnimation;
            }
            x -= 75.0f;
        } else {
            // The ones digit 50 units in from the view's top right corner, the others to its left.
            transform->x_pos = (camera.viewWidth * 0.5f + x) - 50.0f;
            transform->y_pos = (camera.viewHeight * 0.5f + camera.eye[1]) - 50.0f;
            if (animation != nullptr)
                animation->frame = digit;
            x -= 50.0f;
        }
    }
}

void Scoreboard::ShowLeaderboard()
{
    const GameObjectTable& table = GameObjectTable::Instance();
    float x = -265.0f;
    for (std::size_t i = 0; i < title.size(); ++i) {
        std::string name = "Leaderboard" + std::to_string(i);
        // A title letter that the level file holds is left alone, and the row does not advance.
        if (table.FindGameObject(name) == InvalidObjectId) {
            CreateGlyph(name, LettersAnimation, LetterFrame(title[i]), x, 425.0f);
            x += 50.0f;
        }
        titleLetterNames.push_back(std::move(name));
    }

    float y = 300.0f;
    for (const ScoreEntry& entry : entries) {
        x = -575.0f;
        for (std::size_t k = 0; k < entry.name.size(); ++k) {
            std::string name = "Letter" + std::to_string(k);
            CreateGlyph(name, LettersAnimation, LetterFrame(entry.name[k]), x, y);
            entryLetterNames.push_back(std::move(name));
            x += 50.0f;
        }

        // Leading zeros are drawn: 300 shows as 000300.
        std::uint32_t value = entry.score;
        x = 475.0f;
        for (std::uint32_t d = 0; d < maxEntries; ++d) {
            std::string name = "EntryDigit" + std::to_string(d);
            CreateGlyph(name, DigitsAnimation, static_cast<std::int32_t>(value % 10), x, y);
            entryDigitNames.push_back(std::move(name));
            value /= 10;
            x -= 50.0f;
        }
        y -= 100.0f;
    }
}

void Scoreboard::RemoveScoreDigits() { RemoveNamed(scoreDigitNames); }

void Scoreboard::HideLeaderboard()
{
    RemoveNamed(titleLetterNames);
    RemoveNamed(entryLetterNames);
    RemoveNamed(entryDigitNames);
}

}  // namespace Engine
