// The scoreboard system driven as the game flow drives it: GameStateIndex, the frame time and
// the score written on a restart. Leaderboard files live in the test's temporary HOME.
#include "TestSupport.h"
#include "core/LogCapture.h"

#include "core/Animation.h"
#include "core/ComponentStore.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "game/GameState.h"
#include "game/Scoreboard.h"
#include "gameplay/AnimationUpdate.h"
#include "graphics/Camera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace Engine;

namespace {

constexpr std::int32_t MainMenu = 1;
constexpr std::int32_t FirstLevel = 3;
constexpr std::int32_t SecondLevel = 4;
constexpr std::int32_t ScoreEntryScreen = 7;
constexpr std::int32_t LeaderboardScreen = 8;

std::filesystem::path BoardFile() { return TestSupport::TemporaryHome() / "Documents" / "Scoreboard.txt"; }

// What a glyph object shows and where; frame -1 when it has no Animation.
struct Glyph {
    std::string name;
    std::int32_t frame;
    float x;
    float y;

    bool operator==(const Glyph&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Glyph& glyph)
{
    return out << glyph.name << " frame " << glyph.frame << " at (" << glyph.x << ", " << glyph.y << ")";
}

Transform* TransformOf(std::uint32_t id) { return ComponentStore::Instance().GetComponent<Transform>(id); }
Animation* AnimationOf(std::uint32_t id) { return ComponentStore::Instance().GetComponent<Animation>(id); }
Sprite* SpriteOf(std::uint32_t id) { return ComponentStore::Instance().GetComponent<Sprite>(id); }

// Every live object whose name starts with `prefix`, in id order.
std::vector<Glyph> GlyphsNamed(const std::string& prefix)
{
    std::vector<Glyph> glyphs;
    const GameObjectTable& table = GameObjectTable::Instance();
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id) {
        const GameObject* object = table.Get(id);
        if (object == nullptr || object->name.rfind(prefix, 0) != 0)
            continue;
        const Transform* transform = TransformOf(id);
        const Animation* animation = AnimationOf(id);
        glyphs.push_back({object->name, animation != nullptr ? animation->frame : -1,
                          transform != nullptr ? transform->x_pos : 0.0f, transform != nullptr ? transform->y_pos : 0.0f});
    }
    return glyphs;
}

// What a level load does to the world: every object goes.
void RemoveEveryObject()
{
    GameObjectTable& table = GameObjectTable::Instance();
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id) {
        if (table.Get(id) != nullptr)
            table.RemoveGameObject(id);
    }
}

// A digit object as a level file would hold it.
std::uint32_t LevelDigit(const std::string& name, bool withTransform = true)
{
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(name);
    if (withTransform)
        ComponentStore::Instance().AddComponent<Transform>(id);
    ComponentStore::Instance().AddComponent<Sprite>(id);
    ComponentStore::Instance().AddComponent<Animation>(id);
    return id;
}

class ScoreboardFlow : public testing::Test {
protected:
    void SetUp() override
    {
        InitializeLogging();
        std::filesystem::remove(BoardFile());
        GameStateIndex = 0;
        FrameDeltaTime = 0.0f;
        Camera& camera = *Camera::Instance();
        camera.eye[0] = 0.0f;
        camera.eye[1] = 0.0f;
    }

    void StartWithFile(const std::string& text)
    {
        TestSupport::WriteFile(BoardFile(), text);
        board.Init();
    }

    void Frame(std::int32_t state, float seconds = 0.0f)
    {
        GameStateIndex = state;
        FrameDeltaTime = seconds;
        board.Update();
    }

    // A level played to its end with the given score, then the score-entry screen.
    void FinishLevelWith(std::uint32_t score)
    {
        Frame(FirstLevel);
        board.score = score;
        Frame(ScoreEntryScreen);
    }

    Scoreboard board;
};

struct EntryCase {
    const char* what;
    std::string fileBefore;
    std::uint32_t score;
    std::string fileAfter;
};

TEST(Scoreboard, NewScoreTakesItsPlaceAndTheFileIsRewritten)
{
    InitializeLogging();
    const std::string six = "A 600\nB 500\nC 400\nD 300\nE 200\nF 100\n";
    // Hand-edited: eight lines, not sorted.
    const std::string eight = "A 100\nB 900\nC 50\nD 800\nE 40\nF 700\nG 30\nH 20\n";
    const std::vector<EntryCase> cases = {
        {"first entry on an empty board, even 0", "", 0, "PLAYER 0\n"},
        {"first entry when there is no file", "-", 120, "PLAYER 120\n"},
        {"a tie goes after the older entry", "ANN 200\nBOB 100\n", 200, "ANN 200\nPLAYER 200\nBOB 100\n"},
        {"lowest of fewer than six is appended", "ANN 200\nBOB 100\n", 50, "ANN 200\nBOB 100\nPLAYER 50\n"},
        {"higher than the last of six: the last drops out", six, 150,
         "A 600\nB 500\nC 400\nD 300\nE 200\nPLAYER 150\n"},
        {"best of six goes first", six, 999, "PLAYER 999\nA 600\nB 500\nC 400\nD 300\nE 200\n"},
        {"not higher than any of six is dropped", six, 100, six},
        {"eight lines keep their length, before the first lower score", eight, 60,
         "A 100\nB 900\nPLAYER 60\nC 50\nD 800\nE 40\nF 700\nG 30\n"},
        {"eight lines: lower than all is dropped", eight, 10, eight},
        {"a score above the signed range still ranks unsigned", "BIG 2147483647\n", 3000000000u,
         "PLAYER 3000000000\nBIG 2147483647\n"},
    };
    for (const EntryCase& entryCase : cases) {
        SCOPED_TRACE(entryCase.what);
        std::filesystem::remove(BoardFile());
        if (entryCase.fileBefore != "-")
            TestSupport::WriteFile(BoardFile(), entryCase.fileBefore);
        Scoreboard board;
        board.Init();
        GameStateIndex = FirstLevel;
        FrameDeltaTime = 0.0f;
        board.Update();
        board.score = entryCase.score;
        GameStateIndex = ScoreEntryScreen;
        board.Update();
        EXPECT_EQ(TestSupport::ReadFile(BoardFile()), entryCase.fileAfter);
        EXPECT_EQ(board.entries.size(), std::count(entryCase.fileAfter.begin(), entryCase.fileAfter.end(), '\n'));
    }
}

TEST_F(ScoreboardFlow, TheScoreIsEnteredOncePerLevelPlayed)
{
    StartWithFile("");
    FinishLevelWith(250);
    Frame(ScoreEntryScreen);
    Frame(ScoreEntryScreen);
    Frame(LeaderboardScreen);
    EXPECT_EQ(board.entries, (std::vector<ScoreEntry>{{"PLAYER", 250}}));

    FinishLevelWith(270);
    EXPECT_EQ(TestSupport::ReadFile(BoardFile()), "PLAYER 270\nPLAYER 250\n");
}

struct CountdownCase {
    const char* what;
    std::vector<float> frames;
    std::uint32_t expected;
};

TEST_F(ScoreboardFlow, TheCountdownLosesAPointPerFullSecondAndDropsTheExcess)
{
    const std::vector<CountdownCase> cases = {
        {"just short of a second", {0.5f, 0.49f}, 300},
        {"a second exactly", {0.5f, 0.5f}, 299},
        {"one long frame is one point", {3.5f}, 299},
        {"the excess is dropped", {0.6f, 0.6f, 0.6f}, 299},  // 1.2 s: 0.2 s lost, then 0.6 s
        {"the excess is dropped, twice", {0.6f, 0.6f, 0.6f, 0.6f}, 298},
    };
    for (const CountdownCase& countdownCase : cases) {
        SCOPED_TRACE(countdownCase.what);
        Frame(MainMenu);
        Frame(FirstLevel);
        for (float seconds : countdownCase.frames)
            Frame(FirstLevel, seconds);
        EXPECT_EQ(board.score, countdownCase.expected);
    }
}

TEST_F(ScoreboardFlow, TheScoreStopsAtZeroAndOnlyLevelTimeCounts)
{
    Frame(FirstLevel);
    for (int second = 0; second < 305; ++second)
        Frame(FirstLevel, 1.0f);
    EXPECT_EQ(board.score, 0u);

    // From one level state straight to another is no level start.
    Frame(SecondLevel);
    board.score = 120;
    Frame(FirstLevel, 1.0f);
    EXPECT_EQ(board.score, 119u);

    // A half second, then time outside a level, then another half: no point lost.
    Frame(FirstLevel, 0.5f);
    Frame(ScoreEntryScreen, 5.0f);
    EXPECT_EQ(board.scoreTimer, 0.0f);
    Frame(LeaderboardScreen, 5.0f);
    Frame(FirstLevel, 0.5f);  // a new level: 300 again
    EXPECT_EQ(board.score, 300u);
}

TEST_F(ScoreboardFlow, ARestartSetsTheScoreBackWithoutALevelStart)
{
    Frame(FirstLevel);
    Frame(FirstLevel, 1.0f);
    Frame(FirstLevel, 0.5f);
    const std::uint32_t created = GameObjectTable::Instance().FindGameObject("ScoreDigit0");

    // The game update's restart: the level is reloaded (here with a digit of its own), then
    // the scoreboard restarts; the state stays.
    RemoveEveryObject();
    LevelDigit("ScoreDigit0");
    board.RestartLevel();
    Frame(FirstLevel, 0.25f);
    EXPECT_EQ(board.score, 300u);
    EXPECT_EQ(GlyphsNamed("ScoreDigit"), (std::vector<Glyph>{{"ScoreDigit0", 0, 590.0f, 310.0f},
                                                              {"ScoreDigit1", 0, 540.0f, 310.0f},
                                                              {"ScoreDigit2", 3, 490.0f, 310.0f}}));
    EXPECT_EQ(GameObjectTable::Instance().FindGameObject("ScoreDigit0"), created);  // the level's, in the same slot
    Frame(FirstLevel, 0.25f);  // no level start: the countdown's second carries on
    EXPECT_EQ(board.score, 299u);
}

TEST_F(ScoreboardFlow, ScoreDigitsStandInTheTopRightCornerOfTheView)
{
    Camera& camera = *Camera::Instance();
    camera.eye[0] = 100.0f;
    camera.eye[1] = 50.0f;
    camera.viewWidth = 1280.0f;
    camera.viewHeight = 720.0f;

    Frame(FirstLevel);
    board.score = 7;
    Frame(FirstLevel);
    const std::vector<Glyph> expected = {
        {"ScoreDigit0", 7, 690.0f, 360.0f},
        {"ScoreDigit1", 0, 640.0f, 360.0f},
        {"ScoreDigit2", 0, 590.0f, 360.0f},
    };
    EXPECT_EQ(GlyphsNamed("ScoreDigit"), expected);

    for (const char* name : {"ScoreDigit0", "ScoreDigit1", "ScoreDigit2"}) {
        const std::uint32_t id = GameObjectTable::Instance().FindGameObject(name);
        EXPECT_EQ(SpriteOf(id)->Color[3], 1.0f) << name;  // shown, not hidden
        EXPECT_EQ(TransformOf(id)->x_sca, 30.0f);
        EXPECT_EQ(TransformOf(id)->z_pos, -1.0f);
        EXPECT_EQ(AnimationOf(id)->Handle, "DigitsAnim");
        EXPECT_FALSE(AnimationOf(id)->playing);
    }

    // A second level start replaces the digits rather than adding to them.
    Frame(MainMenu);
    Frame(FirstLevel);
    EXPECT_EQ(GlyphsNamed("ScoreDigit").size(), 3u);
}

TEST_F(ScoreboardFlow, TheScoreEntryScreenShowsItsOwnDigitsLarge)
{
    Camera::Instance()->eye[0] = 20.0f;
    Frame(FirstLevel);
    board.score = 42;

    // The "Scores" level replaces the world; it holds two of the three digits.
    RemoveEveryObject();
    LevelDigit("ScoreDigit1");
    LevelDigit("ScoreDigit0");
    Frame(ScoreEntryScreen);
    const std::vector<Glyph> expected = {
        {"ScoreDigit1", 4, 105.0f, 0.0f},
        {"ScoreDigit0", 2, 180.0f, 0.0f},
    };
    EXPECT_EQ(GlyphsNamed("ScoreDigit"), expected);
    const std::uint32_t ones = GameObjectTable::Instance().FindGameObject("ScoreDigit0");
    EXPECT_EQ(TransformOf(ones)->x_sca, 50.0f);
    EXPECT_EQ(AnimationOf(ones)->Handle, "DigitsAnim");

    // A level digit without a Transform ends the pass; nothing stops.
    RemoveEveryObject();
    LevelDigit("ScoreDigit0", false);
    LevelDigit("ScoreDigit1");
    Frame(ScoreEntryScreen);
    EXPECT_EQ(GlyphsNamed("ScoreDigit1"), (std::vector<Glyph>{{"ScoreDigit1", 0, 0.0f, 0.0f}}));
}

TEST_F(ScoreboardFlow, TheLeaderboardSpellsTheTitleNamesAndSixDigitScores)
{
    StartWithFile("ANN 1234\n");
    FinishLevelWith(300);
    Frame(LeaderboardScreen);

    EXPECT_TRUE(GlyphsNamed("ScoreDigit").empty());

    const std::string title = "LEADERBOARD";
    std::vector<Glyph> expectedTitle;
    for (std::size_t i = 0; i < title.size(); ++i)
        expectedTitle.push_back({"Leaderboard" + std::to_string(i), title[i] - 'A', -265.0f + 50.0f * i, 425.0f});
    EXPECT_EQ(GlyphsNamed("Leaderboard"), expectedTitle);

    const std::vector<Glyph> letters = {
        {"Letter0", 0, -575.0f, 300.0f},   {"Letter1", 13, -525.0f, 300.0f}, {"Letter2", 13, -475.0f, 300.0f},
        {"Letter0", 15, -575.0f, 200.0f},  {"Letter1", 11, -525.0f, 200.0f}, {"Letter2", 0, -475.0f, 200.0f},
        {"Letter3", 24, -425.0f, 200.0f},  {"Letter4", 4, -375.0f, 200.0f},  {"Letter5", 17, -325.0f, 200.0f},
    };
    EXPECT_EQ(GlyphsNamed("Letter"), letters);

    std::vector<Glyph> digits;
    for (const auto& [score, y] : {std::pair{1234, 300.0f}, std::pair{300, 200.0f}}) {
        int value = score;
        for (int d = 0; d < 6; ++d, value /= 10)
            digits.push_back({"EntryDigit" + std::to_string(d), value % 10, 475.0f - 50.0f * d, y});
    }
    EXPECT_EQ(GlyphsNamed("EntryDigit"), digits);  // 001234 and 000300
    for (std::uint32_t id = 0; id <= GameObjectTable::Instance().highestUsed; ++id) {
        if (SpriteOf(id) != nullptr) {
            EXPECT_EQ(SpriteOf(id)->Color[3], 1.0f) << id;
        }
    }

    // Built once per visit; leaving the screen removes every piece.
    Frame(LeaderboardScreen);
    EXPECT_EQ(GlyphsNamed("Letter").size(), letters.size());
    Frame(MainMenu);
    EXPECT_TRUE(GlyphsNamed("Leaderboard").empty());
    EXPECT_TRUE(GlyphsNamed("Letter").empty());
    EXPECT_TRUE(GlyphsNamed("EntryDigit").empty());
    EXPECT_TRUE(board.titleLetterNames.empty() && board.entryLetterNames.empty() && board.entryDigitNames.empty());
}

TEST_F(ScoreboardFlow, PlayerIsDrawnFromTheLetterSheetCells)
{
    LevelManager::Instance().animationDataPath = std::string(VANTREL_TEST_DIR) + "/game/fixtures/ScoreSheets.json";
    AnimationUpdate animations;
    LevelManager::Instance().LoadAnimationData();

    StartWithFile("PLAYER 7\n");
    Frame(LeaderboardScreen);
    animations.Update();

    struct Cell {
        std::int32_t frame;
        float u;
        float v;
    };
    std::vector<Cell> cells;
    const GameObjectTable& table = GameObjectTable::Instance();
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id) {
        if (table.Get(id) != nullptr && table.Get(id)->name.rfind("Letter", 0) == 0)
            cells.push_back({AnimationOf(id)->frame, AnimationOf(id)->u, AnimationOf(id)->v});
    }
    const std::vector<std::int32_t> frames = {15, 11, 0, 24, 4, 17};  // P L A Y E R
    ASSERT_EQ(cells.size(), frames.size());
    for (std::size_t k = 0; k < frames.size(); ++k) {
        EXPECT_EQ(cells[k].frame, frames[k]) << k;
        EXPECT_FLOAT_EQ(cells[k].u, static_cast<float>(frames[k] % 13) / 13.0f) << k;
        EXPECT_FLOAT_EQ(cells[k].v, frames[k] < 13 ? 0.0f : 0.5f) << k;
    }
    const std::uint32_t seven = table.FindGameObject("EntryDigit0");
    EXPECT_FLOAT_EQ(AnimationOf(seven)->u, 0.7f);

    // Still frames: the animation update does not step them.
    FrameDeltaTime = 2.0f;
    animations.Update();
    EXPECT_EQ(AnimationOf(seven)->frame, 7);
}

// Runs in a child process: a score entered but not yet saved, then a normal exit, which
// takes the registry down with the other singletons; only its shutdown can write the file.
[[noreturn]] void EnterScoresAndExit()
{
    InitializeLogging();
    GetSystem<Scoreboard>()->entries = {{"PLAYER", 288}, {"ANN", 120}};
    std::exit(0);
}

TEST(Scoreboard, TheFileIsWrittenAtExit)
{
    std::filesystem::remove(BoardFile());
    EXPECT_EXIT(EnterScoresAndExit(), testing::ExitedWithCode(0), "");
    EXPECT_EQ(TestSupport::ReadFile(BoardFile()), "PLAYER 288\nANN 120\n");
}

// Before, only line feeds ended a line: a file of carriage-return line ends read as one entry,
// silently, and the next save kept only that one.
TEST(Scoreboard, EveryKindOfLineEndEndsALineAndNoEntryIsLostOnTheNextSave)
{
    InitializeLogging();
    for (const std::string& text : {std::string("AAA 310\rBBB 200\rCCC 100\r"), std::string("AAA 310\r\nBBB 200\rCCC 100\n"),
                                    std::string("AAA 310\n\rBBB 200\r\rCCC 100")}) {
        SCOPED_TRACE(text);
        TestSupport::WriteFile(BoardFile(), text);
        Scoreboard board;
        board.Init();
        EXPECT_EQ(board.entries, (std::vector<ScoreEntry>{{"AAA", 310}, {"BBB", 200}, {"CCC", 100}}));
        board.Shutdown();
        EXPECT_EQ(TestSupport::ReadFile(BoardFile()), "AAA 310\nBBB 200\nCCC 100\n");
    }
}

TEST(Scoreboard, WithoutADocumentsFolderNothingIsReadOrWritten)
{
    InitializeLogging();
    const std::filesystem::path blocker = TestSupport::TemporaryHome() / "not-a-folder";
    TestSupport::WriteFile(blocker, "a file where the folder should be");
    setenv("XDG_DOCUMENTS_DIR", (blocker / "Documents").c_str(), 1);
    {
        Scoreboard board;
        board.Init();
        GameStateIndex = FirstLevel;
        board.Update();
        GameStateIndex = ScoreEntryScreen;
        board.Update();
        board.Shutdown();
        EXPECT_EQ(board.entries, (std::vector<ScoreEntry>{{"PLAYER", 300}}));
    }
    unsetenv("XDG_DOCUMENTS_DIR");
    EXPECT_EQ(CoreTest::CountLogged("Documents path not found"), 1u);
    EXPECT_EQ(TestSupport::ReadFile(blocker), "a file where the folder should be");
}

}  // namespace

TEST(Scoreboard, TheShippedAnimationDataHoldsTheDigitAndLetterSheets)
{
    InitializeLogging();
    AnimationUpdate animations;
    LevelManager::Instance().LoadAnimationData();  // the game's own file, from the repository root
    struct Sheet {
        const char* name;
        std::int32_t frames;
        std::int32_t columns;
        std::int32_t rows;
    };
    for (const Sheet& sheet : {Sheet{"DigitsAnim", 10, 10, 1}, Sheet{"LettersAnim", 26, 13, 2}}) {
        ASSERT_EQ(animations.animations.count(sheet.name), 1u) << sheet.name;
        const AnimationData& data = animations.animations.at(sheet.name);
        EXPECT_EQ(data.frameCount, sheet.frames) << sheet.name;
        EXPECT_EQ(data.columns, sheet.columns) << sheet.name;
        EXPECT_EQ(data.rows, sheet.rows) << sheet.name;
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path("Resources/Images") / data.spriteSheet))
            << data.spriteSheet;
    }
}

// A hand-edited file of 100 lines used to come back as 64 after one run. The file is moved
// aside whole before the first save, so every line a person wrote stays on disk.
TEST(Scoreboard, LinesTheGameDoesNotReadAreMovedAsideBeforeTheFirstSave)
{
    InitializeLogging();
    std::string hundred;
    for (int i = 0; i < 100; ++i)
        hundred += "P" + std::to_string(i) + " " + std::to_string(1000 - i) + "\n";
    TestSupport::WriteFile(BoardFile(), hundred);
    {
        Scoreboard board;
        board.Init();
        GameStateIndex = FirstLevel;
        FrameDeltaTime = 0.0f;
        board.Update();
        GameStateIndex = ScoreEntryScreen;
        board.Update();
        board.Shutdown();
    }
    const std::filesystem::path aside = TestSupport::TemporaryHome() / "Documents" / "Scoreboard-with-unread-lines.txt";
    const std::string onDisk = TestSupport::ReadFile(BoardFile()) + TestSupport::ReadFile(aside);
    for (int i = 0; i < 100; ++i) {
        const std::string line = "P" + std::to_string(i) + " " + std::to_string(1000 - i) + "\n";
        EXPECT_NE(onDisk.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(TestSupport::ReadFile(aside), hundred);
    const std::vector<std::string> logged = CoreTest::LoggedMessages();
    EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                            [&](const std::string& line) { return line.ends_with("moved it to " + aside.string() + " before saving"); }),
              1);

    // A file that the game read whole is saved over in place, and the moved one is kept.
    Scoreboard again;
    again.Init();
    again.Shutdown();
    EXPECT_FALSE(std::filesystem::exists(TestSupport::TemporaryHome() / "Documents" / "Scoreboard-with-unread-lines-2.txt"));
    EXPECT_EQ(TestSupport::ReadFile(aside), hundred);
}
