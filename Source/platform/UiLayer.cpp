#include "platform/UiLayer.h"

#include "platform/Cursor.h"
#include "platform/DrawableSize.h"
#include "platform/HeldKeys.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

#include <cfloat>

namespace Platform {

namespace {
UiLayer* activeLayer = nullptr;
}  // namespace

UiLayer::~UiLayer() { Shutdown(); }

UiLayer* UiLayer::Active() { return activeLayer; }

bool UiLayer::Start(SDL_Window* gameWindow, void* glContext, int width, int height)
{
    if (started || activeLayer != nullptr || gameWindow == nullptr)
        return false;
    window = gameWindow;
    viewWidth = width;
    viewHeight = height;
    ImGui::CreateContext();
    ImGui::GetIO().Fonts->AddFontDefault();
    if (!ImGui_ImplSDL2_InitForOpenGL(window, glContext)) {
        ImGui::DestroyContext();
        return false;
    }
    if (!ImGui_ImplOpenGL3_Init("#version 330 core")) {
        ImGui_ImplSDL2_Shutdown();
        ImGui::DestroyContext();
        return false;
    }
    started = true;
    activeLayer = this;
    return true;
}

void UiLayer::Shutdown()
{
    if (!started)
        return;
    if (frameStarted)
        ImGui::EndFrame();
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    started = false;
    frameStarted = false;
    if (activeLayer == this)
        activeLayer = nullptr;
}

Letterbox UiLayer::CurrentLetterbox() const
{
    int drawableWidth = 0;
    int drawableHeight = 0;
    Platform::DrawableSize(window, drawableWidth, drawableHeight);
    return Letterbox::Fit(drawableWidth, drawableHeight, viewWidth, viewHeight);
}

void UiLayer::WindowToView(int windowX, int windowY, float& viewX, float& viewY) const
{
    // Window coordinates are points; the letterbox is in drawable pixels (they differ on HiDPI).
    int pointsWide = 0;
    int pointsHigh = 0;
    int drawableWidth = 0;
    int drawableHeight = 0;
    Platform::WindowPointSize(window, pointsWide, pointsHigh);
    Platform::DrawableSize(window, drawableWidth, drawableHeight);
    const float pixelsPerPointX = pointsWide > 0 ? static_cast<float>(drawableWidth) / static_cast<float>(pointsWide) : 1.0f;
    const float pixelsPerPointY = pointsHigh > 0 ? static_cast<float>(drawableHeight) / static_cast<float>(pointsHigh) : 1.0f;
    const Letterbox box = Letterbox::Fit(drawableWidth, drawableHeight, viewWidth, viewHeight);
    // A UI rectangle [a, b) of the view covers the drawable pixels [a x scale + left, b x scale + left),
    // so a pixel's own position maps straight back.
    viewX = box.ViewX(static_cast<float>(windowX) * pixelsPerPointX);
    viewY = box.ViewY(static_cast<float>(windowY) * pixelsPerPointY);
}

void UiLayer::ProcessEvent(const SDL_Event& event)
{
    if (!started)
        return;
    ImGui_ImplSDL2_ProcessEvent(&event);
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
        // The back-end reads the modifiers from SDL, which already knows the events still
        // queued behind this one; the UI must see them as they were at this key.
        const std::uint16_t modifiers = Platform::HeldModifiers();
        ImGuiIO& io = ImGui::GetIO();
        io.KeyShift = (modifiers & KMOD_SHIFT) != 0;
        io.KeyCtrl = (modifiers & KMOD_CTRL) != 0;
        io.KeyAlt = (modifiers & KMOD_ALT) != 0;
        io.KeySuper = (modifiers & KMOD_GUI) != 0;
    }
    // The mouse position comes from the events, mapped into the view.
    switch (event.type) {
    case SDL_MOUSEMOTION:
        WindowToView(event.motion.x, event.motion.y, mouseX, mouseY);
        mouseInWindow = true;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        WindowToView(event.button.x, event.button.y, mouseX, mouseY);
        mouseInWindow = true;
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_LEAVE)
            mouseInWindow = false;
        break;
    default:
        break;
    }
}

bool UiLayer::WantsKeyboard() const { return started && ImGui::GetIO().WantCaptureKeyboard; }

void UiLayer::BeginFrame()
{
    if (!started || frameStarted)
        return;
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGuiIO& io = ImGui::GetIO();
    const Letterbox box = CurrentLetterbox();
    io.DisplaySize = ImVec2(static_cast<float>(viewWidth), static_cast<float>(viewHeight));
    io.DisplayFramebufferScale = ImVec2(box.scaleX, box.scaleY);
    io.MousePos = mouseInWindow ? ImVec2(mouseX, mouseY) : ImVec2(-FLT_MAX, -FLT_MAX);
    ImGui::NewFrame();
    frameStarted = true;
}

void UiLayer::Render()
{
    if (!started || !frameStarted)
        return;
    frameStarted = false;
    ImGui::Render();
    ImDrawData* drawData = ImGui::GetDrawData();
    const Letterbox box = CurrentLetterbox();
    if (box.width <= 0 || box.height <= 0)
        return;
    // The back-end draws over the whole drawable from DisplayPos on, scaled by
    // FramebufferScale: widening the display by the bars puts the view where the world is.
    int drawableWidth = 0;
    int drawableHeight = 0;
    Platform::DrawableSize(window, drawableWidth, drawableHeight);
    drawData->DisplayPos = ImVec2(-static_cast<float>(box.left) / box.scaleX, -static_cast<float>(box.top) / box.scaleY);
    drawData->DisplaySize = ImVec2(static_cast<float>(drawableWidth) / box.scaleX, static_cast<float>(drawableHeight) / box.scaleY);
    drawData->FramebufferScale = ImVec2(box.scaleX, box.scaleY);
    ImGui_ImplOpenGL3_RenderDrawData(drawData);
}

void UiLayer::SetCursorVisible(bool visible)
{
    // The SDL back-end would show the cursor again at every new frame; it may only while visible.
    if (activeLayer != nullptr) {
        ImGuiIO& io = ImGui::GetIO();
        if (visible)
            io.ConfigFlags &= ~ImGuiConfigFlags_NoMouseCursorChange;
        else
            io.ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;
    }
    Platform::SetCursorVisible(visible);
}

}  // namespace Platform
