#include "EditorFixture.h"

#include "TestSupport.h"
#include "core/InputManager.h"
#include "platform/VirtualKeys.h"

#include <imgui_internal.h>

#include <algorithm>

namespace EditorTest {

namespace {

class ScriptEditor : public EditorFixture {
protected:
    void SetUp() override
    {
        TestSupport::UseScratchGameFolder(Fixture("Scripts"));
        EditorFixture::SetUp();
        MoveMouse(500, 300);
        Draw();
    }

    void Draw()
    {
        Frame([this] { editor().ShowScriptEditorWindow(); });
    }

    // Double-clicks a row of the file list.
    void DoubleClickRow(const std::string& name)
    {
        const auto& names = editor().scriptNames;
        const auto row = std::find(names.begin(), names.end(), name) - names.begin();
        ImGuiWindow* files = ChildNamed("Script Editor", "FileChild");
        ASSERT_NE(files, nullptr);
        const float y = files->Pos.y + static_cast<float>(row) * 21.0f + 6.0f;
        DoubleClick(files->Pos.x + 20, y, [this] { editor().ShowScriptEditorWindow(); });
    }

    void Open(const std::string& name)
    {
        DoubleClickRow(name);
        ASSERT_EQ(editor().currentScript, name);
    }

    static std::string OnDisk(const std::string& name) { return TestSupport::ReadFile("Resources/Scripts/" + name); }

    // Ctrl+S as the window reports it.
    void PressCtrlS()
    {
        heldKeys = {Platform::VirtualKey::Control};
        Engine::InputManager::Instance().KeyPressed('S');
        Engine::InputManager::Instance().KeyReleased('S');
        heldKeys.clear();
    }
};

}  // namespace

TEST_F(ScriptEditor, OpensEditsAndSavesAScriptWithCtrlSAndReloadsEveryScript)
{
    editor().BindKeys(true);
    ASSERT_EQ(editor().scriptNames, (std::vector<std::string>{"Jump.lua", "Wait.lua"}));
    Open("Jump.lua");
    TextEditor& text = editor().textEditor;
    EXPECT_EQ(text.GetText(), OnDisk("Jump.lua"));
    EXPECT_EQ(editor().ScriptStatusLine(), "   Ln 1 | Col 0 | Lua | Jump.lua");
    EXPECT_TRUE(editor().scriptEditorFocused);

    text.MoveDown(2);
    text.EnterCharacter('#');
    text.MoveHome();
    EXPECT_EQ(editor().ScriptStatusLine(), "   Ln 3 | Col 0 | Lua | Jump.lua*");

    PressCtrlS();
    EXPECT_TRUE(editor().saveScriptRequested);
    EXPECT_FALSE(editor().saveLevelRequested);
    Draw();
    EXPECT_FALSE(editor().saveScriptRequested);
    EXPECT_EQ(OnDisk("Jump.lua"), text.GetText());
    EXPECT_NE(OnDisk("Jump.lua").find("#    player.y_vel"), std::string::npos);
    const auto& lines = editor().logLines;
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("Reloading all scripts...") != std::string::npos;
    }));

    EXPECT_EQ(editor().ScriptStatusLine(), "   Ln 3 | Col 0 | Lua | Jump.lua") << "saved: nothing changed since";

    text.Undo();  // the text differs from the file again
    EXPECT_EQ(editor().ScriptStatusLine(), "   Ln 3 | Col 0 | Lua | Jump.lua*");
}

TEST_F(ScriptEditor, OpeningTheOpenFileAgainDropsTheEditsAndTheirHistory)
{
    Open("Wait.lua");
    editor().textEditor.EnterCharacter('x');
    ASSERT_NE(editor().textEditor.GetText(), OnDisk("Wait.lua"));
    for (int frame = 0; frame < 30; ++frame)
        Draw();
    Open("Wait.lua");
    EXPECT_EQ(editor().textEditor.GetText(), OnDisk("Wait.lua"));
    EXPECT_FALSE(editor().textEditor.CanUndo());
}

TEST_F(ScriptEditor, AFailedSaveKeepsTheTextAndTheOldFileAndSaysSo)
{
    Open("Wait.lua");
    editor().textEditor.EnterCharacter('x');
    const std::string edited = editor().textEditor.GetText();
    editor().currentScript = "no such folder/Wait.lua";
    editor().SaveScript();
    EXPECT_EQ(editor().textEditor.GetText(), edited);
    const auto& lines = editor().logLines;
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("[error] Could not save the script Resources/Scripts/no such folder/Wait.lua") != std::string::npos;
    }));
    EXPECT_FALSE(std::filesystem::exists("Resources/Scripts/no such folder"));
}

TEST_F(ScriptEditor, AScriptThatCannotBeReadLeavesTheOpenScriptItsNameAndItsFile)
{
    Open("Jump.lua");
    editor().textEditor.EnterCharacter('#');
    const std::string edited = editor().textEditor.GetText();
    const std::string waitBefore = OnDisk("Wait.lua");
    std::filesystem::rename("Resources/Scripts/Wait.lua", "Wait.lua.gone");

    DoubleClickRow("Wait.lua");
    EXPECT_EQ(editor().currentScript, "Jump.lua");
    EXPECT_EQ(editor().textEditor.GetText(), edited);
    EXPECT_TRUE(editor().textEditor.CanUndo()) << "the edit and its history stay";
    EXPECT_EQ(editor().ScriptStatusLine().substr(editor().ScriptStatusLine().find("| Jump.lua")), "| Jump.lua*");
    const auto& lines = editor().logLines;
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("[error] Could not open the script Resources/Scripts/Wait.lua") != std::string::npos;
    }));

    // Saving now writes the open script's own file and makes no file of the missing one.
    editor().SaveScript();
    EXPECT_EQ(OnDisk("Jump.lua"), edited);
    EXPECT_FALSE(std::filesystem::exists("Resources/Scripts/Wait.lua"));

    // Once the file is back it opens as usual.
    std::filesystem::rename("Wait.lua.gone", "Resources/Scripts/Wait.lua");
    for (int frame = 0; frame < 30; ++frame)
        Draw();
    Open("Wait.lua");
    EXPECT_EQ(editor().textEditor.GetText(), waitBefore);
}

TEST_F(ScriptEditor, SavingBeforeOpeningAFileMakesUntitled)
{
    editor().textEditor.SetText("function main() end\n");
    editor().SaveScript();
    EXPECT_EQ(OnDisk("untitled"), "function main() end\n");
    // The list is the one made with the editor.
    EXPECT_EQ(editor().scriptNames.size(), 2u);
}

// Run as root in CI, where every open succeeds: the mode bits decide. A script behind a link
// is written where the link points, and the link stays.
TEST_F(ScriptEditor, ASaveRefusesAReadOnlyScriptAndWritesThroughALink)
{
    Open("Wait.lua");
    const std::string before = OnDisk("Wait.lua");
    editor().textEditor.EnterCharacter('x');
    const std::string edited = editor().textEditor.GetText();
    std::filesystem::permissions("Resources/Scripts/Wait.lua", std::filesystem::perms::owner_read);
    editor().SaveScript();
    EXPECT_EQ(OnDisk("Wait.lua"), before);
    const auto& lines = editor().logLines;
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
                  return line.find("[error] Could not save the script Resources/Scripts/Wait.lua") != std::string::npos;
              }),
              1);
    std::filesystem::permissions("Resources/Scripts/Wait.lua", std::filesystem::perms::owner_all);

    std::filesystem::create_symlink("Wait.lua", "Resources/Scripts/Linked.lua");
    editor().currentScript = "Linked.lua";
    editor().SaveScript();
    EXPECT_TRUE(std::filesystem::is_symlink("Resources/Scripts/Linked.lua"));
    EXPECT_EQ(OnDisk("Wait.lua"), edited);
}

}  // namespace EditorTest
