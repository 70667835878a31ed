// TextEditor::Render: the child window, the per-line drawing (selection, markers, line numbers,
// current line, cursor, colour runs), the hover tooltip, the mapping from screen points to text
// positions and the scrolling that keeps the cursor in view.
#include "widgets/text_editor/TextEditor.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>

namespace {

// Cells 0-5 hold the right-aligned line number and cell 6 is a gap; the text starts after them.
constexpr int GutterCells = 7;

// Screen arithmetic can meet the "no mouse" position (-FLT_MAX) or a zero-sized cell; keep the
// result a sane int instead of overflowing the conversion.
int ToInt(float whole)
{
    if (std::isnan(whole))
        return 0;
    return static_cast<int>(std::clamp(whole, -1.0e9f, 1.0e9f));
}

int FloorToInt(float value)
{
    return ToInt(std::floor(value));
}

int CeilToInt(float value)
{
    return ToInt(std::ceil(value));
}

ImFont* EditorFont()
{
    ImFontAtlas* atlas = ImGui::GetIO().Fonts;
    return atlas->Fonts.empty() ? ImGui::GetFont() : atlas->Fonts[0];
}

}  // namespace

void TextEditor::Render(const char* /*title*/, const ImVec2& size, bool /*border*/)
{
    mInRender = true;
    const ImFont* font = EditorFont();
    mCellSize = ImVec2(font->CalcTextSizeA(font->FontSize, FLT_MAX, -1.0f, "X").x, font->FontSize + mLineSpacing);

    ImGui::PushStyleColor(ImGuiCol_ChildBg, ImGui::ColorConvertU32ToFloat4(Color(PaletteIndex::Background)));
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(0.0f, 0.0f));
    ImGui::BeginChild("##TextEditor", size, false, ImGuiWindowFlags_HorizontalScrollbar | ImGuiWindowFlags_NoMove);
    ImGui::PushAllowKeyboardFocus(true);

    HandleKeyboardInputs();
    HandleMouseInputs();
    ColorizeStep();

    float longest = GutterCells;
    DrawLines(longest);
    ImGui::Dummy(ImVec2((longest + 2.0f) * mCellSize.x, static_cast<float>(GetLineCount()) * mCellSize.y));

    if (mScrollPending) {
        RevealCursor();
        ImGui::SetWindowFocus();
        mScrollPending = false;
    }

    ImGui::PopAllowKeyboardFocus();
    ImGui::EndChild();
    ImGui::PopStyleVar(1);
    ImGui::PopStyleColor(1);
    mInRender = false;
}

void TextEditor::DrawLines(float& longest)
{
    assert(mState.mSelectionStart <= mState.mSelectionEnd);
    if (mLines.empty())
        return;
    ImFont* font = EditorFont();
    const float cellWidth = mCellSize.x;
    const float lineHeight = mCellSize.y;
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const ImVec2 contentMax = ImGui::GetWindowContentRegionMax();
    const float scrollX = ImGui::GetScrollX();
    const float scrollY = ImGui::GetScrollY();
    ImDrawList* drawList = ImGui::GetWindowDrawList();
    const bool focused = ImGui::IsWindowFocused();
    const Coordinates cursor = mState.mCursorPosition;

    const int first = std::max(0, FloorToInt(scrollY / lineHeight));
    const int last = std::max(0, std::min(GetLineCount() - 1, first + FloorToInt((scrollY + contentMax.y) / lineHeight)));
    for (int i = first; i <= last && i < GetLineCount(); ++i) {
        const Line& line = mLines[static_cast<std::size_t>(i)];
        const float y = origin.y + static_cast<float>(i) * lineHeight;
        const ImVec2 lineStart(origin.x, y);
        const float textX = origin.x + GutterCells * cellWidth;
        const ImVec2 rowEnd(origin.x + contentMax.x, y + lineHeight);

        // The selected line break of a fully selected line shows as one more cell.
        const Coordinates lineStartCoord(i, 0);
        const Coordinates lineEndCoord(i, static_cast<int>(line.size()));
        int selectionStart = -1;
        int selectionEnd = -1;
        if (mState.mSelectionStart <= lineEndCoord)
            selectionStart = mState.mSelectionStart > lineStartCoord ? CellsToColumn(mState.mSelectionStart) : 0;
        if (mState.mSelectionEnd > lineStartCoord)
            selectionEnd = CellsToColumn(std::min(mState.mSelectionEnd, lineEndCoord));
        if (mState.mSelectionEnd.mLine > i)
            ++selectionEnd;
        if (selectionStart != -1 && selectionEnd != -1 && selectionStart < selectionEnd)
            drawList->AddRectFilled(ImVec2(textX + selectionStart * cellWidth, y),
                                    ImVec2(textX + selectionEnd * cellWidth, y + lineHeight),
                                    Color(PaletteIndex::Selection));

        if (mBreakpoints.count(i + 1) != 0)
            drawList->AddRectFilled(lineStart, rowEnd, Color(PaletteIndex::Breakpoint));

        if (const auto marker = mErrorMarkers.find(i + 1); marker != mErrorMarkers.end()) {
            drawList->AddRectFilled(lineStart, rowEnd, Color(PaletteIndex::ErrorMarker));
            if (ImGui::IsMouseHoveringRect(lineStart, rowEnd)) {
                ImGui::BeginTooltip();
                ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1.0f, 0.2f, 0.2f, 1.0f));
                ImGui::Text("Error at line %d:", i + 1);
                ImGui::PopStyleColor();
                ImGui::Separator();
                ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1.0f, 1.0f, 0.2f, 1.0f));
                ImGui::Text("%s", marker->second.c_str());
                ImGui::PopStyleColor();
                ImGui::EndTooltip();
            }
        }

        char number[16];
        std::snprintf(number, sizeof number, "%6d", i + 1);
        drawList->AddText(font, font->FontSize, lineStart, Color(PaletteIndex::LineNumber), number);

        if (i == cursor.mLine) {
            if (!HasSelection()) {
                const ImVec2 fillStart(origin.x + scrollX, y);
                const ImVec2 fillEnd(fillStart.x + contentMax.x, y + lineHeight);
                drawList->AddRectFilled(fillStart, fillEnd,
                                        Color(focused ? PaletteIndex::CurrentLineFill : PaletteIndex::CurrentLineFillUnfocused));
                drawList->AddRect(fillStart, fillEnd, Color(PaletteIndex::CurrentLineFrame), 1.0f, ImDrawFlags_RoundCornersAll, 1.0f);
            }
            // Hidden for 400 ms, shown for 400 ms.
            if (focused) {
                const double now = ImGui::GetTime();
                if (mBlinkStart < 0.0 || now < mBlinkStart)
                    mBlinkStart = now;
                const double elapsedMs = (now - mBlinkStart) * 1000.0;
                if (elapsedMs > 400.0) {
                    const float x = textX + static_cast<float>(CellsToColumn(cursor)) * cellWidth;
                    const float width = mOverwrite ? cellWidth : 1.0f;
                    drawList->AddRectFilled(ImVec2(x, y), ImVec2(x + width, y + lineHeight), Color(PaletteIndex::Cursor));
                }
                if (elapsedMs > 800.0)
                    mBlinkStart = now;
            }
        }

        // One AddText per run of glyphs of one display colour, tabs expanded to spaces.
        mLineBuffer.clear();
        PaletteIndex runColor = PaletteIndex::Default;
        int runStartCell = 0;
        int cells = 0;
        const auto flush = [&] {
            if (mLineBuffer.empty())
                return;
            drawList->AddText(font, font->FontSize, ImVec2(textX + static_cast<float>(runStartCell) * cellWidth, y),
                              Color(runColor), mLineBuffer.data(), mLineBuffer.data() + mLineBuffer.size());
            mLineBuffer.clear();
            runStartCell = cells;
        };
        for (const Glyph& glyph : line) {
            const PaletteIndex color = (glyph.mColorIndex & CommentFlag) != 0
                                           ? PaletteIndex::MultiLineComment
                                           : static_cast<PaletteIndex>(glyph.mColorIndex & ColorMask);
            if (color != runColor)
                flush();
            runColor = color;
            if (glyph.mChar == '\t') {
                const int next = (cells / mTabSize + 1) * mTabSize;
                mLineBuffer.append(static_cast<std::size_t>(next - cells), ' ');
                cells = next;
            } else {
                mLineBuffer.push_back(glyph.mChar);
                ++cells;
            }
        }
        flush();
        longest = std::max(longest, static_cast<float>(GutterCells + cells));
    }
    DrawHoverTooltip();
}

// Only while the mouse is over the text: elsewhere the point would map to the nearest glyph and
// show a tooltip over some other window.
void TextEditor::DrawHoverTooltip()
{
    if (!ImGui::IsWindowHovered() || !ImGui::IsMousePosValid())
        return;
    const std::string word = GetWordAt(PointToCoordinates(ImGui::GetMousePos()));
    if (word.empty())
        return;
    const Identifier* identifier = nullptr;
    if (const auto found = mLanguageDefinition.mIdentifiers.find(word); found != mLanguageDefinition.mIdentifiers.end())
        identifier = &found->second;
    else if (const auto name = mLanguageDefinition.mPreprocessorNames.find(word); name != mLanguageDefinition.mPreprocessorNames.end())
        identifier = &name->second;
    if (identifier == nullptr)
        return;
    ImGui::BeginTooltip();
    ImGui::TextUnformatted(identifier->mTooltip.c_str());
    ImGui::EndTooltip();
}

TextEditor::Coordinates TextEditor::PointToCoordinates(const ImVec2& position) const
{
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const int line = std::max(0, FloorToInt((position.y - origin.y) / mCellSize.y));
    const int targetCell = FloorToInt((position.x - origin.x) / mCellSize.x) - GutterCells;
    int column = 0;
    if (line < GetLineCount() && targetCell > 0) {
        const Line& glyphs = mLines[static_cast<std::size_t>(line)];
        int cells = 0;
        while (cells < targetCell && column < static_cast<int>(glyphs.size())) {
            if (glyphs[static_cast<std::size_t>(column)].mChar == '\t')
                cells = (cells / mTabSize + 1) * mTabSize;
            else
                ++cells;
            ++column;
        }
    }
    return Coordinates(line, column);
}

std::string TextEditor::GetWordAt(const Coordinates& at) const
{
    return GetTextRange(FindWordStart(at), FindWordEnd(at));
}

// Inside Render it scrolls at once; between frames it leaves the request for the next Render.
void TextEditor::RevealCursor()
{
    if (!mInRender) {
        mScrollPending = true;
        return;
    }
    const float cellWidth = mCellSize.x;
    const float lineHeight = mCellSize.y;
    const float width = ImGui::GetWindowWidth();
    const float height = ImGui::GetWindowHeight();
    const float scrollX = ImGui::GetScrollX();
    const float scrollY = ImGui::GetScrollY();
    const int top = CeilToInt(scrollY / lineHeight);
    const int bottom = CeilToInt((scrollY + height) / lineHeight);
    const int left = CeilToInt(scrollX / cellWidth);
    const int right = CeilToInt((scrollX + width) / cellWidth);

    const Coordinates pos = SanitizeCoordinates(mState.mCursorPosition);
    const int length = CellsToColumn(pos);
    if (pos.mLine < top + 1)
        ImGui::SetScrollY(std::max(0.0f, static_cast<float>(pos.mLine - 1) * lineHeight));
    if (pos.mLine > bottom - 4)
        ImGui::SetScrollY(std::max(0.0f, static_cast<float>(pos.mLine + 4) * lineHeight - height));
    if (length + GutterCells < left + 4)
        ImGui::SetScrollX(std::max(0.0f, static_cast<float>(length + 3) * cellWidth));
    if (length + GutterCells > right - 4)
        ImGui::SetScrollX(std::max(0.0f, static_cast<float>(length + 11) * cellWidth - width));
}
