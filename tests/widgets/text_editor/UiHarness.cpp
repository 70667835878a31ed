#include "UiHarness.h"

#include <SDL_scancode.h>

namespace {

const char* GetClipboard(void* userData)
{
    return static_cast<UiHarness*>(userData)->clipboard.c_str();
}

void SetClipboard(void* userData, const char* text)
{
    auto* harness = static_cast<UiHarness*>(userData);
    harness->clipboard = text;
    harness->clipboardSet = true;
}

}  // namespace

UiHarness::UiHarness()
{
    mContext = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(800.0f, 600.0f);
    ImFontConfig font;
    font.SizePixels = 16.0f;
    io.Fonts->AddFontDefault(&font);
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);

    // As Dear ImGui's SDL2 back-end sets it up: KeysDown is indexed by SDL scancode.
    io.KeyMap[ImGuiKey_Tab] = SDL_SCANCODE_TAB;
    io.KeyMap[ImGuiKey_LeftArrow] = SDL_SCANCODE_LEFT;
    io.KeyMap[ImGuiKey_RightArrow] = SDL_SCANCODE_RIGHT;
    io.KeyMap[ImGuiKey_UpArrow] = SDL_SCANCODE_UP;
    io.KeyMap[ImGuiKey_DownArrow] = SDL_SCANCODE_DOWN;
    io.KeyMap[ImGuiKey_PageUp] = SDL_SCANCODE_PAGEUP;
    io.KeyMap[ImGuiKey_PageDown] = SDL_SCANCODE_PAGEDOWN;
    io.KeyMap[ImGuiKey_Home] = SDL_SCANCODE_HOME;
    io.KeyMap[ImGuiKey_End] = SDL_SCANCODE_END;
    io.KeyMap[ImGuiKey_Insert] = SDL_SCANCODE_INSERT;
    io.KeyMap[ImGuiKey_Delete] = SDL_SCANCODE_DELETE;
    io.KeyMap[ImGuiKey_Backspace] = SDL_SCANCODE_BACKSPACE;
    io.KeyMap[ImGuiKey_Space] = SDL_SCANCODE_SPACE;
    io.KeyMap[ImGuiKey_Enter] = SDL_SCANCODE_RETURN;
    io.KeyMap[ImGuiKey_Escape] = SDL_SCANCODE_ESCAPE;
    io.KeyMap[ImGuiKey_KeyPadEnter] = SDL_SCANCODE_KP_ENTER;
    io.KeyMap[ImGuiKey_A] = SDL_SCANCODE_A;
    io.KeyMap[ImGuiKey_C] = SDL_SCANCODE_C;
    io.KeyMap[ImGuiKey_V] = SDL_SCANCODE_V;
    io.KeyMap[ImGuiKey_X] = SDL_SCANCODE_X;
    io.KeyMap[ImGuiKey_Y] = SDL_SCANCODE_Y;
    io.KeyMap[ImGuiKey_Z] = SDL_SCANCODE_Z;

    io.GetClipboardTextFn = GetClipboard;
    io.SetClipboardTextFn = SetClipboard;
    io.ClipboardUserData = this;
    io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
}

UiHarness::~UiHarness()
{
    ImGui::DestroyContext(mContext);
}

void UiHarness::Frame(TextEditor& editor, ImVec2 size, float deltaTime)
{
    ImGuiIO& io = ImGui::GetIO();
    io.DeltaTime = deltaTime;
    ImGui::NewFrame();
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0.0f, 0.0f));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowBorderSize, 0.0f);
    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
    ImGui::SetNextWindowSize(io.DisplaySize);
    ImGui::Begin("Script Editor", nullptr,
                 ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoSavedSettings);
    if (beforeEditor)
        beforeEditor();
    editor.Render("TextEditor", size);
    ImGui::End();
    ImGui::PopStyleVar(2);
    ImGui::Render();

    for (int i = 0; i < mPressedCount; ++i)
        io.KeysDown[mPressedKeys[i]] = false;
    mPressedCount = 0;
}

void UiHarness::PressKey(int keyIndex)
{
    ImGui::GetIO().KeysDown[keyIndex] = true;
    if (mPressedCount < 8)
        mPressedKeys[mPressedCount++] = keyIndex;
}

void UiHarness::SetModifiers(bool ctrl, bool shift, bool alt)
{
    ImGuiIO& io = ImGui::GetIO();
    io.KeyCtrl = ctrl;
    io.KeyShift = shift;
    io.KeyAlt = alt;
}

void UiHarness::Type(const std::string& text)
{
    ImGui::GetIO().AddInputCharactersUTF8(text.c_str());
}

void UiHarness::MoveMouse(ImVec2 position)
{
    ImGui::GetIO().MousePos = position;
}

void UiHarness::SetMouseDown(bool down)
{
    ImGui::GetIO().MouseDown[0] = down;
}

void UiHarness::Click(TextEditor& editor, ImVec2 position)
{
    MoveMouse(position);
    Frame(editor);
    SetMouseDown(true);
    Frame(editor);
    SetMouseDown(false);
    Frame(editor);
}

ImVec2 UiHarness::CellCentre(int line, float cell) const
{
    return ImVec2((7.0f + cell + 0.5f) * CellWidth(), (static_cast<float>(line) + 0.5f) * LineHeight());
}

float UiHarness::CellWidth() const
{
    const ImFont* font = ImGui::GetIO().Fonts->Fonts[0];
    return font->CalcTextSizeA(font->FontSize, FLT_MAX, -1.0f, "X").x;
}

float UiHarness::LineHeight() const
{
    return ImGui::GetIO().Fonts->Fonts[0]->FontSize;
}

bool UiHarness::DrewColour(ImU32 colour) const
{
    const ImDrawData* data = ImGui::GetDrawData();
    for (int list = 0; list < data->CmdListsCount; ++list) {
        const ImDrawList* drawList = data->CmdLists[list];
        for (const ImDrawVert& vertex : drawList->VtxBuffer)
            if (vertex.col == colour)
                return true;
    }
    return false;
}
