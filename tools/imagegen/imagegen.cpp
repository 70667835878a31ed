// Draws every image of the game into one folder: screens, buttons and their highlights,
// dialog texts, tutorial signs, credits pages, the letter and digit sheets, the player's and
// the enemy's pixel art, tiles, scenery for the four parallax depths, "Empty.png" and
// "debug.png". Text is set from a DejaVu font; everything else is drawn here in code.
//   imagegen FONT_FILE OUTPUT_FOLDER
#include "Art.h"
#include "Canvas.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace Palette;

namespace {

const Font* font = nullptr;
std::map<std::string, std::function<Canvas()>> images;

void Add(const std::string& name, std::function<Canvas()> draw) { images[name] = std::move(draw); }

// One line of text centred in the box, as large as fits.
void Line(Canvas& c, const std::string& text, float cx, float cy, float height, float maxWidth, const Colour& ink,
          float outline = 0.0f, const Colour& outlineInk = Ink)
{
    c.Text(*font, text, Canvas::FitHeight(*font, text, height, maxWidth), cx, cy, ink, outline, outlineInk);
}

// A lone text on a clear background, outlined so it reads on any scenery.
Canvas Label(const std::string& text, int w, int h, const Colour& ink, const Colour& outlineInk = Ink)
{
    Canvas c(w, h);
    const float outline = static_cast<float>(h) * 0.06f;
    Line(c, text, static_cast<float>(w) * 0.5f, static_cast<float>(h) * 0.5f, static_cast<float>(h) * 0.62f,
         static_cast<float>(w) - 4.0f * outline - 8.0f, ink, outline, outlineInk);
    return c;
}

// A menu button; the highlighted one is gold with dark text and a bright rim.
Canvas Button(const std::string& text, bool highlight)
{
    const int w = 340, h = 96;
    Canvas c(w, h);
    c.RoundRect(2, 2, w - 2, h - 2, 22, highlight ? Cream : Ink);
    c.RoundRect(7, 7, w - 7, h - 7, 18, highlight ? Gold : Navy);
    c.RoundRect(7, 7, w - 7, h * 0.45f, 18, highlight ? Colour{1, 1, 1, 0.25f} : Colour{1, 1, 1, 0.08f});
    Line(c, text, w * 0.5f, h * 0.5f, 44, w - 40, highlight ? Ink : Cream);
    return c;
}

// A panel of lines: a title and smaller lines below it.
Canvas Page(const std::string& title, const std::vector<std::string>& lines, int w, int h, bool frame = true)
{
    Canvas c(w, h);
    if (frame) {
        c.RoundRect(0, 0, w, h, 36, Ink);
        c.RoundRect(8, 8, w - 8, h - 8, 30, Navy);
    }
    const float top = title.empty() ? h * 0.12f : h * 0.2f;
    if (!title.empty())
        Line(c, title, w * 0.5f, h * 0.12f, h * 0.13f, w * 0.9f, Gold, h * 0.006f, Ink);
    if (!lines.empty()) {
        const float step = (h * 0.92f - top) / static_cast<float>(lines.size());
        const float size = std::min(step * 0.62f, h * 0.08f);
        for (std::size_t i = 0; i < lines.size(); ++i)
            Line(c, lines[i], w * 0.5f, top + step * (static_cast<float>(i) + 0.5f), size, w * 0.9f, Cream);
    }
    return c;
}

// A wooden tutorial sign on two posts; the text board is cream with dark letters.
Canvas Sign(const std::vector<std::string>& lines, const std::string& keys)
{
    const int w = 520, h = 300;
    Canvas c(w, h);
    c.Rect(90, 200, 112, h, DirtDark);
    c.Rect(w - 112, 200, w - 90, h, DirtDark);
    c.RoundRect(0, 0, w, 220, 22, DirtDark);
    c.RoundRect(8, 8, w - 8, 212, 16, Cream);
    const float step = keys.empty() ? 200.0f / static_cast<float>(lines.size()) : 140.0f / static_cast<float>(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        Line(c, lines[i], w * 0.5f, 10 + step * (static_cast<float>(i) + 0.5f), std::min(step * 0.6f, 46.0f), w - 40,
             Ink);
    if (!keys.empty()) {
        const float y = 180;
        const float kw = 64, gap = 10;
        const float total = static_cast<float>(keys.size()) * (kw + gap) - gap;
        float x = (w - total) * 0.5f;
        for (char key : keys) {
            c.RoundRect(x, y - 28, x + kw, y + 28, 10, Ink);
            c.RoundRect(x + 4, y - 24, x + kw - 4, y + 22, 8, Gold);
            Line(c, std::string(1, key), x + kw * 0.5f, y - 1, 34, kw - 12, Ink);
            x += kw + gap;
        }
    }
    return c;
}

// A sheet of characters, one per square cell, in rows of `columns`; with a backing tile
// or as outlined glyphs alone, which may stand closer than a cell apart. Each glyph keeps a
// clear margin to its cell's edge, so neighbouring cells never bleed in.
Canvas Sheet(const std::string& characters, int columns, const Colour& ink, const Colour* back)
{
    const int cell = 64;
    const int rows = static_cast<int>((characters.size() + columns - 1) / columns);
    Canvas c(columns * cell, rows * cell);
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const float cx = static_cast<float>((i % columns) * cell) + cell * 0.5f;
        const float cy = static_cast<float>((i / columns) * cell) + cell * 0.5f;
        if (back != nullptr)
            c.RoundRect(cx - 28, cy - 28, cx + 28, cy + 28, 10, *back);
        Line(c, std::string(1, characters[i]), cx, cy, 46, 50, ink, 3.0f, Ink);
    }
    return c;
}

Canvas Checkbox(bool checked)
{
    Canvas c(128, 128);
    c.RoundRect(4, 4, 124, 124, 20, Ink);
    c.RoundRect(12, 12, 116, 116, 14, Cream);
    if (checked)
        c.Polygon({{{26, 64}}, {{42, 48}}, {{58, 72}}, {{96, 24}}, {{110, 40}}, {{58, 102}}}, GrassDark);
    return c;
}

Canvas Frame(int w, int h)
{
    Canvas c(w, h);
    c.RoundRect(0, 0, w, h, 28, Ink);
    c.RoundRect(8, 8, w - 8, h - 8, 22, Gold);
    c.RoundRect(16, 16, w - 16, h - 16, 16, Navy);
    return c;
}

// Sky-blue page with the game's title, the splash and menu backdrops share it.
Canvas Backdrop(int w, int h)
{
    Canvas c(w, h);
    c.VerticalGradient(0, 0, w, h, Rgb(80, 150, 230), Rgb(170, 230, 255));
    // Rolling hills at the bottom.
    for (int layer = 0; layer < 2; ++layer) {
        std::vector<std::array<float, 2>> hill;
        hill.push_back({{0.0f, static_cast<float>(h)}});
        for (int x = 0; x <= w; x += 8) {
            const float y = h * (0.74f + layer * 0.1f) - std::sin(x * 0.006f + layer * 2.0f) * h * 0.05f;
            hill.push_back({{static_cast<float>(x), y}});
        }
        hill.push_back({{static_cast<float>(w), static_cast<float>(h)}});
        c.Polygon(hill, layer == 0 ? Rgb(110, 200, 110) : Grass);
    }
    return c;
}

// The sampler repeats images, so an edge blends with the opposite one: the player keeps a
// clear row above and below.
Canvas Player(Pose pose, bool left)
{
    Canvas c(64, 84);
    DrawPlayer(c, 0, 0, 4, pose, left);
    return c;
}

Canvas PlayerStrip(const std::vector<Pose>& poses)
{
    Canvas c(64 * static_cast<int>(poses.size()), 84);
    for (std::size_t i = 0; i < poses.size(); ++i)
        DrawPlayer(c, static_cast<int>(i) * 64, 0, 4, poses[i], false);
    return c;
}

Canvas EnemyImage(bool wingsUp)
{
    Canvas c(80, 80);
    DrawEnemy(c, 0, 0, 4, wingsUp);
    return c;
}

// A strip of rolling hills for a parallax layer; it repeats seamlessly.
Canvas Hills(int w, int h, float base, float height, float waves, const Colour& fill)
{
    Canvas c(w, h);
    std::vector<std::array<float, 2>> outline;
    outline.push_back({{0.0f, static_cast<float>(h)}});
    const float k = 2.0f * 3.14159265f * waves / static_cast<float>(w);
    for (int x = 0; x <= w; x += 4) {
        const float y = std::sin(x * k) * 0.6f + std::sin(x * k * 2.0f + 1.0f) * 0.3f + std::sin(x * k * 3.0f + 2.0f) * 0.1f;
        outline.push_back({{static_cast<float>(x), h * base - y * h * height}});
    }
    outline.push_back({{static_cast<float>(w), static_cast<float>(h - 2)}});
    outline.front()[1] = static_cast<float>(h - 2);  // clear bottom rows: the top edge blends with them
    c.Polygon(outline, fill);
    return c;
}

// A strip of snow-capped peaks; the first and last valleys meet, so it repeats seamlessly.
Canvas Mountains(int w, int h, int count, const Colour& rock, const Colour& snow)
{
    Canvas c(w, h);
    const float step = static_cast<float>(w) / static_cast<float>(count);
    const float valley = h * 0.55f;
    std::vector<std::array<float, 2>> outline = {{{0.0f, static_cast<float>(h)}}, {{0.0f, valley}}};
    std::vector<std::array<float, 3>> peaks;  // x, y, half width
    for (int i = 0; i < count; ++i) {
        const float x = step * (static_cast<float>(i) + 0.5f);
        const float y = h * (0.08f + 0.12f * static_cast<float>((i * 5) % 3));
        outline.push_back({{x, y}});
        outline.push_back({{step * static_cast<float>(i + 1), valley}});
        peaks.push_back({{x, y, step * 0.5f}});
    }
    outline.push_back({{static_cast<float>(w), static_cast<float>(h - 2)}});
    outline.front()[1] = static_cast<float>(h - 2);
    c.Polygon(outline, rock);
    for (const auto& [x, y, half] : peaks) {
        const float t = 0.3f;  // the top share of the slope under snow
        const float dy = (valley - y) * t, dx = half * t;
        c.Polygon({{{x, y}}, {{x + dx, y + dy}}, {{x + dx * 0.4f, y + dy * 0.8f}}, {{x, y + dy}},
                   {{x - dx * 0.4f, y + dy * 0.75f}}, {{x - dx, y + dy}}},
                  snow);
    }
    return c;
}

// Trees in the top 256 rows, then the dark forest floor down to the strip's bottom, which
// reaches below the ground line so that pits show no sky underneath.
Canvas TreeRow(int w, int count, const Colour& leaf, const Colour& leafDark)
{
    const int h = 256, full = 384;
    Canvas c(w, full);
    c.Rect(0, h - 10, w, full - 2, leafDark);
    for (int i = 0; i < count; ++i) {
        const float x = (static_cast<float>(i) + 0.5f) * w / count;
        const float size = h * (0.22f + 0.07f * static_cast<float>((i * 7) % 3));
        c.Rect(static_cast<int>(x - 6), static_cast<int>(h - size), static_cast<int>(x + 6), h, DirtDark);
        c.Disc(x, h - size * 1.2f, size * 0.55f, leafDark);
        c.Disc(x - size * 0.15f, h - size * 1.3f, size * 0.42f, leaf);
    }
    return c;
}

Canvas Tree(int w, int h, int crowns, const Colour& leaf)
{
    Canvas c(w, h);
    c.Rect(w / 2 - w / 12, h / 2, w / 2 + w / 12, h, DirtDark);
    for (int i = 0; i < crowns; ++i) {
        const float r = w * (0.42f - 0.07f * i);
        c.Disc(w * 0.5f, h * (0.42f - 0.14f * i), r, Mix(leaf, GrassDark, 0.3f * (crowns - 1 - i)));
    }
    return c;
}

void Catalogue()
{
    // Plain white for particles and grey-outs, the checkerboard for a missing image.
    Add("Empty.png", [] { return Canvas(8, 8, White); });
    Add("debug.png", [] {
        Canvas c(64, 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                c.Set(x, y, ((x / 8 + y / 8) % 2) ? Rgb(255, 0, 220) : Rgb(20, 20, 20));
        return c;
    });
    // The editor's new object: a light crate with a dark rim, plain enough to retint.
    Add("test.png", [] {
        Canvas c(32, 32, Rgb(40, 40, 48));
        c.Rect(3, 3, 29, 29, Rgb(210, 210, 220));
        return c;
    });

    // Screens.
    Add("SplashScreen.png", [] {
        Canvas c(1280, 720, Ink);
        c.Disc(640, 300, 120, Gold);
        c.Disc(640, 300, 96, Ink);
        Line(c, "KT", 640, 300, 110, 180, Gold);
        Line(c, "KESTREL TEAM PRESENTS", 640, 500, 56, 1000, Cream);
        return c;
    });
    Add("QuillmereSplashScreen.png", [] {
        Canvas c = Backdrop(1280, 720);
        Line(c, "PROJECT VANTREL", 640, 250, 130, 1150, Gold, 6, Ink);
        Line(c, "a Quillmere game", 640, 380, 52, 900, Cream, 3, Ink);
        Line(c, "Press Enter", 640, 620, 40, 600, Cream, 3, Ink);
        return c;
    });
    Add("MainMenu.png", [] {
        Canvas c = Backdrop(1280, 720);
        Line(c, "PROJECT VANTREL", 640, 80, 96, 1100, Gold, 5, Ink);
        Line(c, "Up / Down to choose, Enter to go", 640, 690, 28, 900, Cream, 2, Ink);
        return c;
    });
    Add("HowToPlayScreen.png", [] {
        return Page("HOW TO PLAY", {"Run:  A / D  or  Left / Right",
                                    "Jump:  Space, W, J or Z  (hold for higher)",
                                    "Air dash:  K or X  (hold W or Up: diagonal)",
                                    "Water kick:  L or C  (a second jump in the air)",
                                    "Touch a glowing orb to dash again",
                                    "Flags save your place; lava sends you back",
                                    "Reach the golden gate to finish the level",
                                    "Escape: pause"},
                    1000, 652, false);
    });
    Add("ScreenBackdrop.png", [] { return Backdrop(1280, 720); });
    Add("HowToPlayBG.png", [] { return Frame(512, 300); });
    Add("MenuFrame.png", [] { return Frame(512, 400); });
    Add("PressEnter.png", [] { return Label("Press Enter to continue", 600, 62, Cream); });
    Add("EnterToContinue.png", [] { return Label("Press Enter to continue", 600, 62, Cream); });

    // Buttons of the main menu, the pause menu and the confirm dialog.
    const std::vector<std::pair<std::string, std::string>> buttons = {
        {"Start", "Start"},           {"Leaderboard", "Leaderboard"},
        {"HowToPlayFinal", "How to Play"}, {"Options", "Options"},
        {"Credits", "Credits"},       {"Exit", "Exit"},
        {"ResumeGameFinal", "Resume"}, {"RestartLevelFinal", "Restart Level"},
        {"ReturnToMainMenuFinal", "Main Menu"}, {"Yes", "Yes"},
        {"No", "No"},
    };
    for (const auto& [name, text] : buttons) {
        Add(name + ".png", [text = text] { return Button(text, false); });
        Add(name + "Highlight.png", [text = text] { return Button(text, true); });
    }

    // Dialog texts: B is the plain look, W the highlighted one.
    Add("AreYouSure.png", [] { return Label("Are you sure?", 400, 80, Cream); });
    Add("Paused.png", [] { return Label("PAUSED", 320, 90, Gold); });
    Add("OptionsText.png", [] { return Label("OPTIONS", 750, 160, Gold); });
    Add("FullscreenB.png", [] { return Label("Full screen", 550, 90, Cream); });
    Add("FullscreenW.png", [] { return Label("Full screen", 550, 90, Gold); });
    Add("MusicB.png", [] { return Label("Music", 400, 90, Cream); });
    Add("MusicW.png", [] { return Label("Music", 400, 90, Gold); });
    Add("GodModeB.png", [] { return Label("GOD MODE", 400, 120, Coral); });
    Add("GodModeW.png", [] { return Label("GOD MODE", 400, 120, Cream); });
    Add("YouWinB.png", [] { return Label("YOU WIN!", 600, 160, Gold); });
    Add("YouWinW.png", [] { return Label("YOU WIN!", 600, 160, Cream); });
    Add("YouLoseB.png", [] { return Label("TRY AGAIN", 600, 160, Coral); });
    Add("YouLoseW.png", [] { return Label("TRY AGAIN", 600, 160, Cream); });
    Add("Score.png", [] { return Label("SCORE", 400, 120, Gold); });
    Add("Checkbox.png", [] { return Checkbox(false); });
    Add("CheckboxWithCheck.png", [] { return Checkbox(true); });
    Add("Plus.png", [] {
        Canvas c = Checkbox(false);
        c.Rect(30, 56, 98, 72, Ink);
        c.Rect(56, 30, 72, 98, Ink);
        return c;
    });
    Add("Minus.png", [] {
        Canvas c = Checkbox(false);
        c.Rect(30, 56, 98, 72, Ink);
        return c;
    });
    for (int level = 1; level <= 4; ++level)
        Add("Level" + std::to_string(level) + "Complete.png", [level] {
            Canvas c(1000, 260);
            Line(c, "LEVEL " + std::to_string(level) + " COMPLETE!", 500, 130, 150, 960, Gold, 8, Ink);
            return c;
        });

    // Letter and digit sheets of the scoreboard.
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    Add("LAB317_Morlith_LettersTest.png", [letters] { return Sheet(letters, 13, Cream, nullptr); });
    Add("LAB317_Morlith_LettersTest2.png", [letters] { return Sheet(letters, 13, Cream, &Navy); });
    Add("LAB317_Morlith_NumbersTest.png", [] { return Sheet("0123456789", 10, Gold, nullptr); });
    Add("LAB317_Morlith_NumbersTest2.png", [] { return Sheet("0123456789", 10, Cream, &Navy); });

    // Credits pages and the names behind the game.
    const std::vector<std::pair<std::string, std::vector<std::string>>> credits = {
        {"PROJECT VANTREL", {"A platformer in four levels", "", "Thank you for playing!"}},
        {"DESIGN", {"Levels, skills and tuning", "by the Kestrel Team"}},
        {"PROGRAMMING", {"Engine, renderer and editor", "written from scratch in C++"}},
        {"ART", {"Pixel art and screens drawn in code", "Text set in DejaVu Sans"}},
        {"SOUND", {"Every sound and tune synthesised", "by our own sound generator"}},
        {"LEVELS", {"Meadow Run, Dash Canyon,", "Water Falls and the Summit"}},
        {"TESTING", {"Played through, again and again,", "by a tireless robot"}},
        {"SPECIAL THANKS", {"Everyone who jumped one more time"}},
        {"THE END", {"Press Enter to return"}},
    };
    const std::string pages = "ABCDEFGHI";
    for (std::size_t i = 0; i < credits.size(); ++i)
        Add(std::string("Credit") + pages[i] + ".png",
            [page = credits[i]] { return Page(page.first, page.second, 1120, 560); });
    const std::vector<std::pair<std::string, std::vector<std::string>>> names = {
        {"QuillmereLogo", {"QUILLMERE"}},       {"QMProduction", {"A Quillmere production"}},
        {"Legalia", {"All rights reserved"}},    {"Morlith", {"Letters by Morlith"}},
        {"KTPresents", {"Kestrel Team presents"}}, {"KTWebsite", {"kestrel.team"}},
        {"Executives", {"Producers: the Kestrel Team"}}, {"Instructors", {"Mentors: the Quillmere crew"}},
        {"FMOD", {"Sound: our own studio layer"}},
    };
    for (const auto& [name, lines] : names)
        Add(name + ".png", [lines = lines] { return Page("", lines, 800, 200); });

    // Tutorial signs along the levels.
    Add("Movement.png", [] { return Sign({"Run with"}, "AD"); });
    Add("MovementFinal.png", [] { return Sign({"Run with A / D", "or the arrow keys"}, ""); });
    Add("Left_Right_Tutorial.png", [] { return Sign({"Left and right"}, "AD"); });
    Add("Jump.png", [] { return Sign({"Jump!"}, "WJZ"); });
    Add("Jump_Tutorial.png", [] { return Sign({"Hold jump to", "jump higher"}, ""); });
    Add("Right_AirDash_Tutorial.png", [] { return Sign({"Air dash across"}, "KX"); });
    Add("AirDashDiagonal.png", [] { return Sign({"Hold W + dash:", "diagonal!"}, "WK"); });
    Add("AirDashDiagonalL.png", [] { return Sign({"<  diagonal dash"}, "WK"); });
    Add("AirDashDiagonalR.png", [] { return Sign({"diagonal dash  >"}, "WK"); });
    Add("Diagonal_Dash_Tutorial.png", [] { return Sign({"Jump, hold W,", "then dash up high"}, ""); });
    Add("DashReset.png", [] { return Sign({"Orbs give your", "dash back"}, ""); });
    Add("SlideAfterJumping.png", [] { return Sign({"Water kick: jump", "again in the air"}, "LC"); });
    Add("WaterSlide.png", [] { return Sign({"Jump, then kick", "over the falls"}, "LC"); });
    Add("CheckpointSign.png", [] { return Sign({"Flags save", "your place"}, ""); });
    Add("LavaSign.png", [] { return Sign({"Lava! Jump over", "the pits"}, ""); });
    Add("GoalSign.png", [] { return Sign({"The golden gate", "ends the level  >"}, ""); });
    Add("HeatDot.png", [] { return Canvas(4, 4, Colour{1.0f, 0.43f, 0.35f, 0.8f}); });

    // The player's poses, each facing either way, and the animation sheets.
    const std::vector<std::pair<std::string, Pose>> poses = {
        {"Idle0", Pose::Idle0}, {"Idle1", Pose::Idle1}, {"Run0", Pose::Run0}, {"Run1", Pose::Run1},
        {"Run2", Pose::Run2},   {"Run3", Pose::Run3},   {"Jump", Pose::Jump}, {"Fall", Pose::Fall},
        {"Dash", Pose::Dash},
    };
    for (const auto& [name, pose] : poses) {
        Add("Player" + name + "R.png", [pose = pose] { return Player(pose, false); });
        Add("Player" + name + "L.png", [pose = pose] { return Player(pose, true); });
    }
    Add("PlayerIdle.png", [] { return PlayerStrip({Pose::Idle0, Pose::Idle1}); });
    Add("PlayerRun.png", [] { return PlayerStrip({Pose::Run0, Pose::Run1, Pose::Run2, Pose::Run3}); });
    Add("PlayerJump.png", [] { return PlayerStrip({Pose::Jump, Pose::Fall}); });
    Add("PlayerDash.png", [] { return PlayerStrip({Pose::Dash}); });
    Add("Enemy.png", [] { return EnemyImage(true); });
    Add("EnemyWingsDown.png", [] { return EnemyImage(false); });
    Add("EnemyFly.png", [] {
        Canvas c(160, 80);
        c.Paste(EnemyImage(true), 0, 0);
        c.Paste(EnemyImage(false), 80, 0);
        return c;
    });

    // Tiles. The ground's top and the platforms are bands, so they stretch along a run.
    Add("GroundTop.png", [] {
        Canvas c(64, 64, Dirt);
        c.Rect(0, 0, 64, 14, Grass);
        c.Rect(0, 14, 64, 19, GrassDark);
        c.Rect(0, 38, 64, 41, DirtDark);
        return c;
    });
    Add("GroundFill.png", [] {
        Canvas c(64, 64, Dirt);
        c.Rect(0, 20, 64, 23, DirtDark);
        c.Rect(0, 50, 64, 52, DirtDark);
        return c;
    });
    Add("Platform.png", [] {
        Canvas c(64, 32, Rgb(190, 130, 80));
        c.Rect(0, 0, 64, 4, Rgb(230, 180, 120));
        c.Rect(0, 26, 64, 32, DirtDark);
        c.Rect(0, 14, 64, 16, DirtDark);
        return c;
    });
    Add("Lava.png", [] {
        Canvas c(64, 64, Rgb(230, 70, 30));
        c.VerticalGradient(0, 10, 64, 64, Rgb(255, 140, 40), Rgb(190, 30, 20));
        for (int x = 0; x < 64; ++x) {
            const int top = 8 + static_cast<int>(std::lround(std::sin(x * 0.196f) * 5.0f));
            c.Rect(x, 0, x + 1, top, Clear);
            c.Set(x, top, Gold);
        }
        // Clear the top rows again (Rect blends, Set replaces), and the bottom row, which the
        // repeating sampler blends into the top edge.
        c.Rect(0, 63, 64, 64, Clear);
        for (int x = 0; x < 64; ++x) {
            c.Set(x, 63, Clear);
            for (int y = 0; y < 8 + static_cast<int>(std::lround(std::sin(x * 0.196f) * 5.0f)); ++y)
                c.Set(x, y, Clear);
        }
        return c;
    });
    Add("Checkpoint.png", [] {
        Canvas c(64, 104);
        c.Rect(8, 4, 14, 104, Ink);
        c.Polygon({{{14, 8}}, {{60, 24}}, {{14, 42}}}, Rgb(150, 150, 170));
        return c;
    });
    Add("CheckpointOn.png", [] {
        Canvas c(64, 104);
        c.Rect(8, 4, 14, 104, Ink);
        c.Polygon({{{14, 8}}, {{60, 24}}, {{14, 42}}}, Grass);
        c.Disc(11, 6, 6, Gold);
        return c;
    });
    Add("Goal.png", [] {
        Canvas c(128, 240);
        c.RoundRect(0, 0, 128, 240, 60, GoldDark);
        c.RoundRect(14, 14, 114, 240, 48, Gold);
        c.RoundRect(28, 28, 100, 240, 36, Rgb(255, 250, 200));
        c.Polygon({{{64, 70}}, {{76, 104}}, {{110, 104}}, {{82, 124}}, {{92, 158}}, {{64, 138}},
                   {{36, 158}}, {{46, 124}}, {{18, 104}}, {{52, 104}}}, GoldDark);
        return c;
    });
    Add("DashOrb.png", [] {
        Canvas c(64, 64);
        c.Disc(32, 32, 30, Colour{0.6f, 0.9f, 1.0f, 0.45f});
        c.Disc(32, 32, 20, Teal);
        c.Disc(27, 26, 7, White);
        return c;
    });

    // Decoration and scenery: trees in front of the scenery, and one strip per parallax depth.
    Add("Tree1A_1.png", [] { return Tree(128, 224, 1, Grass); });
    Add("Tree1A_2.png", [] { return Tree(128, 224, 2, Grass); });
    Add("Tree1A_3.png", [] { return Tree(128, 224, 3, Grass); });
    Add("Tree1B_1.png", [] { return Tree(160, 200, 1, Rgb(120, 200, 80)); });
    Add("Tree1B_2.png", [] { return Tree(160, 200, 2, Rgb(120, 200, 80)); });
    Add("Tree1C_1.png", [] { return Tree(100, 256, 2, Rgb(40, 150, 90)); });
    Add("Tree1C_2.png", [] { return Tree(100, 256, 1, Rgb(40, 150, 90)); });
    Add("TreeRow_1.png", [] { return TreeRow(1024, 7, Rgb(70, 160, 80), Rgb(40, 120, 60)); });
    Add("TreeRow_2.png", [] { return TreeRow(1024, 6, Rgb(90, 175, 95), Rgb(60, 140, 75)); });
    Add("TreeRow_3.png", [] { return TreeRow(1024, 8, Rgb(60, 140, 110), Rgb(35, 100, 80)); });
    Add("Hills.png", [] {
        return Hills(1024, 256, 0.7f, 0.25f, 3.0f, Rgb(120, 190, 130));
    });
    Add("Mountains.png", [] {
        return Mountains(1024, 320, 5, Rgb(120, 130, 190), Rgb(240, 245, 255));
    });
    Add("Sky.png", [] {
        Canvas c(1024, 256);
        c.Disc(150, 90, 60, Colour{1.0f, 0.95f, 0.6f, 0.5f});
        c.Disc(150, 90, 46, Rgb(255, 230, 120));
        for (const auto& [x, y, s] : std::vector<std::array<float, 3>>{{380, 80, 1.0f}, {560, 150, 0.7f}, {700, 60, 0.8f}}) {
            c.Disc(x, y, 30 * s, White);
            c.Disc(x + 34 * s, y - 10 * s, 38 * s, White);
            c.Disc(x + 74 * s, y, 28 * s, White);
            c.Rect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + 74 * s), static_cast<int>(y + 28 * s), White);
        }
        return c;
    });
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FONT_FILE OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    Font dejavu(argv[1]);
    if (!dejavu.Loaded()) {
        std::fprintf(stderr, "cannot read the font %s\n", argv[1]);
        return 1;
    }
    font = &dejavu;
    const std::filesystem::path folder = argv[2];
    std::filesystem::create_directories(folder);
    // The folder holds exactly what this program draws: older images go first.
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".png")
            std::filesystem::remove(entry.path());
    Catalogue();
    int failures = 0;
    for (const auto& [name, draw] : images) {
        const Canvas canvas = draw();
        if (!canvas.Save((folder / name).string())) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            ++failures;
        }
    }
    std::printf("%zu images written to %s\n", images.size(), folder.string().c_str());
    return failures == 0 ? 0 : 1;
}
