// The script editor's widget on a generated Lua file of 5,000 lines, in headless Dear ImGui
// frames. Targets: the whole file is coloured within 501 frames (the comment pass, then 500
// frames of ten lines); one frame's colouring step has a median under 1 ms; typing one
// character into line 2,500, with the frames' work it causes, has a median under 1 ms.
#include "widgets/text_editor/TextEditor.h"

#include <benchmark/benchmark.h>
#include <imgui.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

constexpr int LineCount = 5000;

// Script-like text: functions with locals, calls, strings, numbers, line and block comments.
std::string GeneratedScript()
{
    std::string text;
    int line = 0;
    while (line < LineCount - 1) {
        const std::string n = std::to_string(line);
        const std::vector<std::string> block = {
            "-- behaviour " + n + ": moves the object and plays its sound",
            "function Update" + n + "(object, delta)",
            "\tlocal transform = GetTransform(object)",
            "\tlocal speed = 250.5 * delta + " + n,
            "\tif transform.x_pos > 1280 and not isGrounded then",
            "\t\ttransform.x_pos = math.max(0, transform.x_pos - speed) -- wrap",
            "\t\tPlaySound(\"Player_Jump\", 0x1F, 'left')",
            "\telseif transform.y_pos <= -720 then",
            "\t\tprint(string.format(\"fell at %d\", transform.y_pos))",
            "\tend",
            "\t--[[ disabled: RespawnEnemies()",
            "\t     SetCheckpoint(object) ]]",
            "\treturn transform",
            "end",
            "",
        };
        for (const std::string& row : block) {
            if (line == LineCount - 1)
                break;
            text += row;
            text += '\n';
            ++line;
        }
    }
    return text + "end";  // the last line, coloured last
}

const std::string& Script()
{
    static const std::string script = GeneratedScript();
    return script;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// A headless UI: display, font atlas and the frame that draws the editor in a window.
class HeadlessUi {
public:
    HeadlessUi()
    {
        mContext = ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;
        io.DisplaySize = ImVec2(1280.0f, 720.0f);
        unsigned char* pixels = nullptr;
        int width = 0;
        int height = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    }
    ~HeadlessUi() { ImGui::DestroyContext(mContext); }

    void Frame(TextEditor& editor)
    {
        ImGui::GetIO().DeltaTime = 1.0f / 60.0f;
        ImGui::NewFrame();
        ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
        ImGui::SetNextWindowSize(ImVec2(1280.0f, 720.0f));
        ImGui::Begin("Script Editor", nullptr, ImGuiWindowFlags_NoSavedSettings);
        editor.Render("TextEditor", ImVec2(760.0f, 680.0f));
        ImGui::End();
        ImGui::Render();
    }

private:
    ImGuiContext* mContext = nullptr;
};

// The script in the editor, drawn until its colouring is done.
void ShowColoured(HeadlessUi& ui, TextEditor& editor)
{
    editor.SetLanguageDefinition(TextEditor::LanguageDefinition::Lua());
    editor.SetText(Script());
    for (int frame = 0; frame < 520; ++frame)
        ui.Frame(editor);
}

using Clock = std::chrono::steady_clock;

double MicrosecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Colours the whole file from SetText on, one ColorizeStep per frame as Render calls it.
void BM_FullColouring(benchmark::State& state)
{
    TextEditor editor;
    editor.SetLanguageDefinition(TextEditor::LanguageDefinition::Lua());
    std::vector<double> frameTimes;
    int frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        editor.SetText(Script());
        frameTimes.clear();
        const auto& lastLine = editor.GetLines().back();
        state.ResumeTiming();
        // The last line ("end") is coloured last: its first glyph turns Keyword then.
        const auto keyword = static_cast<std::uint8_t>(TextEditor::PaletteIndex::Keyword);
        frames = 0;
        while ((lastLine.front().mColorIndex & TextEditor::ColorMask) != keyword && frames < 10 * LineCount) {
            const auto start = Clock::now();
            editor.ColorizeStep();
            frameTimes.push_back(MicrosecondsSince(start));
            ++frames;
        }
    }
    state.counters["frames"] = frames;
    state.counters["median_step_us"] = Median(frameTimes);
    state.counters["max_step_us"] = frameTimes.empty() ? 0.0 : *std::max_element(frameTimes.begin(), frameTimes.end());
}
BENCHMARK(BM_FullColouring)->Unit(benchmark::kMillisecond);

// The whole-text block-comment pass that the frame after any edit runs.
void BM_CommentPass(benchmark::State& state)
{
    TextEditor editor;
    editor.SetLanguageDefinition(TextEditor::LanguageDefinition::Lua());
    editor.SetText(Script());
    for (auto _ : state) {
        editor.Colorize(0, 1);  // due again
        editor.ColorizeStep();
    }
}
BENCHMARK(BM_CommentPass)->Unit(benchmark::kMicrosecond);

// One character typed through the input queue into line 2,500: the frame that takes it (the
// edit, the comment pass and the drawing) and the next (token colouring of the lines around it).
void BM_TypeIntoLine2500(benchmark::State& state)
{
    HeadlessUi ui;
    TextEditor editor;
    ShowColoured(ui, editor);
    editor.MoveDown(2499);
    editor.MoveEnd();
    for (int frame = 0; frame < 3; ++frame)
        ui.Frame(editor);

    std::vector<double> typingTimes;
    bool typed = true;
    for (auto _ : state) {
        const auto start = Clock::now();
        ImGui::GetIO().AddInputCharacter('x');
        ui.Frame(editor);
        ui.Frame(editor);
        typingTimes.push_back(MicrosecondsSince(start));

        state.PauseTiming();
        typed = typed && editor.CanUndo() && editor.GetCursorPosition().mLine == 2499;
        editor.Undo();  // keep line 2,500 as it was
        ui.Frame(editor);
        ui.Frame(editor);
        state.ResumeTiming();
    }
    if (!typed)
        state.SkipWithError("the typing did not reach line 2,500");
    state.counters["median_us"] = Median(typingTimes);
}
BENCHMARK(BM_TypeIntoLine2500)->Unit(benchmark::kMicrosecond);

// An idle frame of the same file: drawing the visible lines, nothing to colour.
void BM_IdleFrame(benchmark::State& state)
{
    HeadlessUi ui;
    TextEditor editor;
    ShowColoured(ui, editor);
    for (auto _ : state)
        ui.Frame(editor);
}
BENCHMARK(BM_IdleFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
