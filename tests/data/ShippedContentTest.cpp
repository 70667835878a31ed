// A walk over the content the game ships: every image, script and animation that the code,
// the levels, the archetypes or the scripts name exists, and the levels keep their rules of
// depth, size and placement.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using Json = nlohmann::json;
namespace fs = std::filesystem;

namespace {

const fs::path Root = VANTREL_SOURCE_DIR;

std::string Text(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

Json Read(const fs::path& path) { return Json::parse(Text(path)); }

std::set<std::string> FilesIn(const fs::path& folder, const std::string& extension, bool stem)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == extension)
            names.insert(stem ? entry.path().stem().string() : entry.path().filename().string());
    return names;
}

// Every match of the pattern's first group in the files of a folder tree with an extension.
std::set<std::string> Quoted(const fs::path& folder, const std::vector<std::string>& extensions, const std::regex& pattern)
{
    std::set<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (std::find(extensions.begin(), extensions.end(), entry.path().extension().string()) == extensions.end())
            continue;
        const std::string text = Text(entry.path());
        for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it)
            found.insert((*it)[1].str());
    }
    return found;
}

struct Level {
    std::string name;
    Json entries;
};

std::vector<Level> Levels()
{
    std::vector<Level> levels;
    const Json list = Read(Root / "Resources/Levels/LevelNames.json");
    for (const auto& [name, path] : list.items())
        levels.push_back({name, Read(Root / path.get<std::string>())});
    return levels;
}

float Number(const Json& component, const char* field) { return component.at(field).at(0).get<float>(); }

// A box: centre and half extents.
struct Box {
    std::string key;
    float x, y, halfWidth, halfHeight;
    bool ghost;
};

}  // namespace

TEST(ShippedContent, EveryImageNamedByCodeDataOrScriptsExists)
{
    const std::set<std::string> images = FilesIn(Root / "Resources/Images", ".png", false);
    std::map<std::string, std::string> named;  // image -> who names it
    const std::regex png("\"([A-Za-z0-9_]+\\.png)\"");
    for (const std::string& image : Quoted(Root / "Source", {".cpp", ".h"}, png))
        named[image] = "the code";
    for (const std::string& image : Quoted(Root / "Resources/Scripts", {".lua"}, png))
        named[image] = "a script";
    // The player's poses are put together by name in the pose script.
    for (const char* pose : {"Idle0", "Idle1", "Run0", "Run1", "Run2", "Run3", "Jump", "Fall", "Dash"})
        for (const char* side : {"L", "R"})
            named[std::string("Player") + pose + side + ".png"] = "PlayerPose.lua";
    for (const Level& level : Levels())
        for (const auto& [key, entry] : level.entries.items())
            if (entry.contains("Sprite"))
                named[entry["Sprite"]["Texture"][0].get<std::string>()] = level.name + " " + key;
    const Json archetypes = Read(Root / "Resources/Archetypes/ArchetypeList.json");
    for (const auto& [key, entry] : archetypes.items())
        if (entry.contains("Sprite"))
            named[entry["Sprite"]["Texture"][0].get<std::string>()] = "archetype " + key;
    const Json animations = Read(Root / "Resources/Animations/AnimationData.json");
    for (const auto& [key, animation] : animations.items())
        named[animation["Sprite Sheet"].get<std::string>()] = "animation " + key;

    ASSERT_GT(named.size(), 100u);  // the renderer's list of expected images alone has 67
    for (const auto& [image, who] : named)
        EXPECT_TRUE(images.contains(image)) << image << ", named by " << who;
    EXPECT_TRUE(images.contains("debug.png"));
    EXPECT_TRUE(images.contains("Empty.png"));
}

TEST(ShippedContent, EveryHandlerAndEveryAnimationHandleExists)
{
    const std::set<std::string> scripts = FilesIn(Root / "Resources/Scripts", ".lua", true);
    // Handles the engine queues itself, and those the scripts register every frame.
    std::map<std::string, std::string> handlers;
    for (const char* handle : {"ApplyGravity", "ApplyFriction", "IsGrounded", "RunLeft", "RunRight", "Jump", "CancelJump",
                               "AirDash", "WaterSkill", "DestroyBullet"})
        handlers[handle] = "the engine";
    for (const std::string& handle : Quoted(Root / "Resources/Scripts", {".lua"}, std::regex("RegisterEveryFrame\\(\"([^\"]+)\"\\)")))
        handlers[handle] = "a script's RegisterEveryFrame";

    const Json animations = Read(Root / "Resources/Animations/AnimationData.json");
    std::set<std::string> animationHandles;
    for (const auto& [key, animation] : animations.items())
        animationHandles.insert(animation["Handle"].get<std::string>());
    std::map<std::string, std::string> used = {{"DigitsAnim", "the scoreboard"}, {"LettersAnim", "the scoreboard"}};

    const auto walk = [&](const std::string& where, const Json& entries) {
        for (const auto& [key, entry] : entries.items()) {
            if (entry.contains("Events"))
                for (const auto& [event, list] : entry["Events"].items())
                    for (const Json& item : list)
                        handlers[item[0].get<std::string>()] = where + " " + key + " on " + event;
            if (entry.contains("Animation"))
                used[entry["Animation"]["Handle"][0].get<std::string>()] = where + " " + key;
        }
    };
    for (const Level& level : Levels())
        walk(level.name, level.entries);
    const Json archetypes = Read(Root / "Resources/Archetypes/ArchetypeList.json");
    walk("archetype", archetypes);

    for (const auto& [handler, who] : handlers)
        EXPECT_TRUE(scripts.contains(handler)) << handler << ".lua, named by " << who;
    for (const auto& [handle, who] : used)
        EXPECT_TRUE(animationHandles.contains(handle)) << handle << ", used by " << who;
    // The scoreboard shows the digits 0 to 9 and the letters A to Z as frames of these.
    EXPECT_EQ(animations["DigitsAnim"]["Frame Count"][0], 10);
    EXPECT_EQ(animations["LettersAnim"]["Frame Count"][0], 26);
}

TEST(ShippedContent, PlayLevelsKeepTheirRulesOfDepthSizeAndPlacement)
{
    for (const Level& level : Levels()) {
        if (level.name.rfind("Level ", 0) != 0)
            continue;
        SCOPED_TRACE(level.name);
        std::set<int> depths;
        std::vector<Box> boxes;
        int players = 0, goals = 0, checkpoints = 0, killZones = 0, enemies = 0;
        for (const auto& [key, entry] : level.entries.items()) {
            const Json& t = entry.at("Transform");
            const float x = Number(t, "PosX"), y = Number(t, "PosY"), z = Number(t, "PosZ");
            if (entry.contains("Parallax")) {
                depths.insert(entry["Parallax"]["Level"][0].get<int>());
                continue;
            }
            // The play field: in front of the nearest parallax depth (-1), behind the pause menu (-2).
            if (entry.contains("Sprite")) {
                EXPECT_TRUE(z < -1.0f && z > -2.0f) << key << " is drawn at z " << z;
            }
            if (entry.contains("RigidBody")) {
                const Json& body = entry["RigidBody"];
                const float sx = Number(t, "ScaleX"), sy = Number(t, "ScaleY");
                if (entry.contains("Sprite")) {  // both are half extents
                    EXPECT_EQ(Number(body, "Left"), -sx) << key;
                    EXPECT_EQ(Number(body, "Right"), sx) << key;
                    EXPECT_EQ(Number(body, "Bottom"), -sy) << key;
                    EXPECT_EQ(Number(body, "Top"), sy) << key;
                }
                boxes.push_back({key, x + (Number(body, "Left") + Number(body, "Right")) / 2,
                                 y + (Number(body, "Bottom") + Number(body, "Top")) / 2,
                                 (Number(body, "Right") - Number(body, "Left")) / 2,
                                 (Number(body, "Top") - Number(body, "Bottom")) / 2, body["Ghost"][0].get<bool>()});
            }
            const std::string handle = entry["Handle"];
            players += handle == "Player";
            enemies += handle == "Enemy" && entry.contains("Range");
            if (entry.contains("Events"))
                for (const auto& [event, list] : entry["Events"].items())
                    for (const Json& item : list) {
                        goals += item[0] == "LevelGoal";
                        checkpoints += item[0] == "CheckPoint";
                        killZones += item[0] == "KillZone";
                    }
        }
        EXPECT_EQ(depths, (std::set<int>{1, 2, 3, 4}));
        EXPECT_EQ(players, 1);
        EXPECT_EQ(goals, 1);
        EXPECT_GE(checkpoints, 2);
        EXPECT_GE(killZones, 2);
        EXPECT_GE(enemies, 1);

        // Nothing overlaps a solid object: touching is fine, sharing area is not.
        for (std::size_t i = 0; i < boxes.size(); ++i)
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                const Box& a = boxes[i];
                const Box& b = boxes[j];
                if (a.ghost && b.ghost)
                    continue;
                const float overlapX = a.halfWidth + b.halfWidth - std::abs(a.x - b.x);
                const float overlapY = a.halfHeight + b.halfHeight - std::abs(a.y - b.y);
                EXPECT_FALSE(overlapX > 0.5f && overlapY > 0.5f) << a.key << " overlaps " << b.key;
            }
    }
}

TEST(ShippedContent, ScoreEntryHoldsTheScoreDigitsItShows)
{
    Json scores;
    for (const Level& level : Levels()) {
        if (level.name == "Scores")
            scores = level.entries;
    }
    std::set<std::string> digits;
    for (const auto& [key, entry] : scores.items())
        if (entry.contains("Animation") && entry["Animation"]["Handle"][0] == "DigitsAnim" && entry.contains("Sprite") &&
            entry["Sprite"]["Color"]["W"].get<float>() > 0.0f)
            digits.insert(entry["Handle"].get<std::string>());
    EXPECT_EQ(digits, (std::set<std::string>{"ScoreDigit0", "ScoreDigit1", "ScoreDigit2"}));
}
