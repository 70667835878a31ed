// The script editor's keys as a level designer meets them: the real game with its editor
// opened by back-quote, a script opened and its text clicked into with the mouse, and keys
// sent as SDL sends them, through the game's message pump and the UI. While the text has
// the keyboard, Ctrl+S saves the script and back-quote closes the editor; neither reaches
// the text, and the character back-quote types is not typed.
#include "GameDriver.h"

#include "TestSupport.h"
#include "editor/Editor.h"
#include "platform/UiLayer.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

using EndToEnd::GameDriver;

Engine::Editor& Editor() { return Engine::Editor::Instance(); }

ImGuiWindow* ChildOfScriptEditor(const char* part)
{
    ImGuiWindow* parent = ImGui::FindWindowByName("Script Editor");
    for (ImGuiWindow* window : ImGui::GetCurrentContext()->Windows)
        if (window->RootWindow == parent && window != parent && std::strstr(window->Name, part) != nullptr)
            return window;
    return nullptr;
}

class EditorScriptKeys : public testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::UseScratchGameFolder();
        driver = std::make_unique<GameDriver>();
        driver->Frames(2);
        // The UI times a double click by the wall clock; a frame of the whole game on a busy
        // machine can outlast its 0.3 s, which would split the double click below in two.
        ImGui::GetIO().MouseDoubleClickTime = 60.0f;
        driver->game().debugEnabled = 1;
        driver->Tap(SDLK_BACKQUOTE);
        ASSERT_EQ(driver->game().editorActive, 1);
        driver->Frames(2);

        // Jump.lua opened from the file list, then the text clicked into.
        const auto& names = Editor().scriptNames;
        const auto row = std::find(names.begin(), names.end(), "Jump.lua") - names.begin();
        ASSERT_LT(row, static_cast<std::ptrdiff_t>(names.size()));
        ImGuiWindow* files = ChildOfScriptEditor("FileChild");
        ASSERT_NE(files, nullptr);
        const ImVec2 rowPoint(files->Pos.x + 20.0f, files->Pos.y + static_cast<float>(row) * 21.0f + 6.0f);
        Click(rowPoint);
        Click(rowPoint);
        ASSERT_EQ(Editor().currentScript, "Jump.lua");
        ImGuiWindow* text = ChildOfScriptEditor("TextEditor");
        ASSERT_NE(text, nullptr);
        Click(ImVec2(text->Pos.x + 150.0f, text->Pos.y + 30.0f));
        ASSERT_TRUE(Editor().scriptEditorFocused);
        ASSERT_TRUE(ImGui::GetIO().WantCaptureKeyboard) << "the script text holds the keyboard";
    }

    void TearDown() override { driver.reset(); }

    // A click at a point of the UI (view units), through the window's mouse events.
    void Click(ImVec2 point)
    {
        const Platform::Letterbox box = Platform::UiLayer::Active()->CurrentLetterbox();
        driver->MoveMouse(box.left + static_cast<int>(point.x * box.scaleX), box.top + static_cast<int>(point.y * box.scaleY));
        driver->Frames(1);
        driver->MouseButton(true, true);
        driver->Frames(1);
        driver->MouseButton(true, false);
        driver->Frames(1);
    }

    // A key as SDL reports it: the press with the modifiers held, the character it types
    // (when it types one), then the release in the next frame.
    void Press(SDL_Keycode key, Uint16 modifiers, const char* typed)
    {
        SDL_SetModState(static_cast<SDL_Keymod>(modifiers));
        PushKey(SDL_KEYDOWN, key, modifiers);
        if (typed != nullptr) {
            SDL_Event text{};
            text.text.type = SDL_TEXTINPUT;
            text.text.windowID = SDL_GetWindowID(driver->game().window.Handle());
            std::strncpy(text.text.text, typed, sizeof text.text.text - 1);
            SDL_PushEvent(&text);
        }
        driver->Frames(1);
        PushKey(SDL_KEYUP, key, modifiers);
        SDL_SetModState(KMOD_NONE);
        driver->Frames(1);
    }

    // A quick tap: the press, the character it types and the release all come before the
    // next frame, the Ctrl key around them when the tap has it. SDL's own state already says
    // every key is up again, as it does on a real keyboard.
    void QuickPress(SDL_Keycode key, Uint16 modifiers, const char* typed)
    {
        SDL_SetModState(KMOD_NONE);
        if ((modifiers & KMOD_CTRL) != 0)
            PushKey(SDL_KEYDOWN, SDLK_LCTRL, modifiers);
        if ((modifiers & KMOD_SHIFT) != 0)
            PushKey(SDL_KEYDOWN, SDLK_LSHIFT, modifiers);
        PushKey(SDL_KEYDOWN, key, modifiers);
        if (typed != nullptr) {
            SDL_Event text{};
            text.text.type = SDL_TEXTINPUT;
            text.text.windowID = SDL_GetWindowID(driver->game().window.Handle());
            std::strncpy(text.text.text, typed, sizeof text.text.text - 1);
            SDL_PushEvent(&text);
        }
        PushKey(SDL_KEYUP, key, modifiers);
        if ((modifiers & KMOD_SHIFT) != 0)
            PushKey(SDL_KEYUP, SDLK_LSHIFT, static_cast<Uint16>(modifiers & ~KMOD_SHIFT));
        if ((modifiers & KMOD_CTRL) != 0)
            PushKey(SDL_KEYUP, SDLK_LCTRL, KMOD_NONE);
        driver->Frames(1);
    }

    static void PushKey(Uint32 type, SDL_Keycode key, Uint16 modifiers)
    {
        SDL_Event event{};
        event.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        event.key.keysym.mod = modifiers;
        SDL_PushEvent(&event);
    }

    static std::string OnDisk(const char* path) { return TestSupport::ReadFile(path); }

    std::unique_ptr<GameDriver> driver;
};

}  // namespace

TEST_F(EditorScriptKeys, CtrlSOverTheScriptTextSavesTheScriptAndNotTheLevel)
{
    const std::string level = OnDisk("Resources/Levels/SplashScreen.json");
    Press(SDLK_x, KMOD_NONE, "x");
    const std::string edited = Editor().textEditor.GetText();
    const std::string original = OnDisk("Resources/Scripts/Jump.lua");
    ASSERT_EQ(edited.size(), original.size() + 1) << "typing reaches the text";
    ASSERT_EQ(std::count(edited.begin(), edited.end(), 'x'), std::count(original.begin(), original.end(), 'x') + 1);

    Press(SDLK_s, KMOD_LCTRL, nullptr);
    EXPECT_EQ(OnDisk("Resources/Scripts/Jump.lua"), edited);
    EXPECT_EQ(Editor().textEditor.GetText(), edited) << "the text saw no key";
    EXPECT_NE(EndToEnd::LogText().find("Reloading all scripts..."), std::string::npos);
    EXPECT_EQ(OnDisk("Resources/Levels/SplashScreen.json"), level);
    EXPECT_LT(Editor().savingBannerTimer, -2.0f) << "no level save, no banner";

    // A second Ctrl+S is a new press: the release of S reached the game too.
    Press(SDLK_y, KMOD_NONE, "y");
    Press(SDLK_s, KMOD_LCTRL, nullptr);
    EXPECT_EQ(OnDisk("Resources/Scripts/Jump.lua").size(), original.size() + 2);
    EXPECT_EQ(OnDisk("Resources/Scripts/Jump.lua"), Editor().textEditor.GetText());
}

TEST_F(EditorScriptKeys, BackQuoteOverTheScriptTextClosesTheEditorAndTypesNothing)
{
    const std::string before = Editor().textEditor.GetText();
    Press(SDLK_BACKQUOTE, KMOD_NONE, "`");
    EXPECT_EQ(driver->game().editorActive, 0);
    EXPECT_EQ(Editor().textEditor.GetText(), before);
    EXPECT_FALSE(Editor().textEditor.CanUndo());

    // Opened again, the text still has no back-quote, and the key closes the editor again.
    Press(SDLK_BACKQUOTE, KMOD_NONE, "`");
    ASSERT_EQ(driver->game().editorActive, 1);
    driver->Frames(2);
    EXPECT_EQ(Editor().textEditor.GetText(), before);

    // Shift+back-quote is "~", which Lua needs: over the text it is typed, and the editor stays.
    ImGuiWindow* text = ChildOfScriptEditor("TextEditor");
    ASSERT_NE(text, nullptr);
    Click(ImVec2(text->Pos.x + 150.0f, text->Pos.y + 30.0f));
    Press(SDLK_BACKQUOTE, KMOD_LSHIFT, "~");
    EXPECT_EQ(driver->game().editorActive, 1);
    EXPECT_NE(Editor().textEditor.GetText().find('~'), std::string::npos);
}

// Home, Shift+End, Ctrl+C, End, Enter: the End without Shift ends the selection (though the
// cursor stays put), so Enter breaks the line there instead of replacing the copied line.
// Home without Shift clears one too.
TEST_F(EditorScriptKeys, EndAndHomeWithoutShiftEndTheSelection)
{
    const std::string before = Editor().textEditor.GetText();
    const auto lineOf = [](const std::string& text, int line) {
        std::size_t start = 0;
        for (int i = 0; i < line; ++i)
            start = text.find('\n', start) + 1;
        return text.substr(start, text.find('\n', start) - start);
    };
    const int line = Editor().textEditor.GetCursorPosition().mLine;
    const std::string clicked = lineOf(before, line);
    ASSERT_FALSE(clicked.empty());

    Press(SDLK_HOME, KMOD_NONE, nullptr);
    Press(SDLK_END, KMOD_LSHIFT, nullptr);
    ASSERT_TRUE(Editor().textEditor.HasSelection());
    Press(SDLK_c, KMOD_LCTRL, nullptr);
    Press(SDLK_END, KMOD_NONE, nullptr);
    EXPECT_FALSE(Editor().textEditor.HasSelection());
    Press(SDLK_RETURN, KMOD_NONE, nullptr);
    const std::string after = Editor().textEditor.GetText();
    EXPECT_EQ(lineOf(after, line), clicked) << "the line is still there";
    EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), std::count(before.begin(), before.end(), '\n') + 1);

    Press(SDLK_UP, KMOD_NONE, nullptr);
    Press(SDLK_END, KMOD_NONE, nullptr);
    Press(SDLK_HOME, KMOD_LSHIFT, nullptr);  // the cursor at the line's start
    ASSERT_TRUE(Editor().textEditor.HasSelection());
    Press(SDLK_HOME, KMOD_NONE, nullptr);
    EXPECT_FALSE(Editor().textEditor.HasSelection());
}

// The status line's "*" marks a text changed since it was opened or last saved.
TEST_F(EditorScriptKeys, ASuccessfulSaveClearsTheChangedMark)
{
    const auto marked = [this] { return Editor().ScriptStatusLine().ends_with("Jump.lua*"); };
    EXPECT_FALSE(marked()) << Editor().ScriptStatusLine();
    Press(SDLK_x, KMOD_NONE, "x");
    EXPECT_TRUE(marked()) << Editor().ScriptStatusLine();
    Press(SDLK_s, KMOD_LCTRL, nullptr);
    EXPECT_FALSE(marked()) << Editor().ScriptStatusLine();
    Press(SDLK_z, KMOD_LCTRL, nullptr);  // back to before the save: changed again
    EXPECT_TRUE(marked()) << Editor().ScriptStatusLine();
}

// Every quick tap counts once, each seen by the UI in a frame of its own: a typed character,
// Ctrl+Z, Shift+Left and Ctrl+S, each pressed and released between two frames, however many
// follow one another before the game gets to them.
TEST_F(EditorScriptKeys, AQuickTapCountsOnceForTheTextAndTheShortcuts)
{
    const std::string original = Editor().textEditor.GetText();
    QuickPress(SDLK_x, KMOD_NONE, "x");
    driver->Frames(2);
    const std::string typed = Editor().textEditor.GetText();
    EXPECT_EQ(typed.size(), original.size() + 1);
    QuickPress(SDLK_z, KMOD_LCTRL, nullptr);
    driver->Frames(2);
    EXPECT_EQ(Editor().textEditor.GetText(), original) << "one undo";

    // Three characters and two Shift+Left taps sent in one go select the last two.
    for (const char* character : {"a", "b", "c"})
        QuickPress(static_cast<SDL_Keycode>(character[0]), KMOD_NONE, character);
    driver->Frames(1);
    for (int i = 0; i < 2; ++i) {
        SDL_SetModState(KMOD_NONE);
        PushKey(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT);
        PushKey(SDL_KEYDOWN, SDLK_LEFT, KMOD_LSHIFT);
        PushKey(SDL_KEYUP, SDLK_LEFT, KMOD_LSHIFT);
        PushKey(SDL_KEYUP, SDLK_LSHIFT, KMOD_NONE);
    }
    driver->Frames(8);
    EXPECT_EQ(Editor().textEditor.GetSelectedText(), "bc");

    // Ctrl+S straight behind Ctrl+Z, both quick, saves the text as the undo left it.
    QuickPress(SDLK_z, KMOD_LCTRL, nullptr);
    QuickPress(SDLK_s, KMOD_LCTRL, nullptr);
    driver->Frames(4);
    const std::string saved = Editor().textEditor.GetText();
    EXPECT_LT(saved.size(), original.size() + 3) << "the undo took something back";
    EXPECT_EQ(OnDisk("Resources/Scripts/Jump.lua"), saved);
}
