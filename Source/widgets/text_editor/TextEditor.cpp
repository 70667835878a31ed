// The text model of TextEditor: construction, palettes, whole-text get and set, positions and
// their clamping, and line insertion and removal with the breakpoints and markers renumbered.
#include "widgets/text_editor/TextEditor.h"

#include <algorithm>

namespace {

constexpr TextEditor::Palette DarkPalette = {
    0xffffffff,  // Default
    0xffd69c56,  // Keyword
    0xff00ff00,  // Number
    0xff7070e0,  // String
    0xff70a0e0,  // Character
    0xffffffff,  // Punctuation
    0xff409090,  // Preprocessor
    0xffaaaaaa,  // Identifier
    0xff9bc64d,  // LibraryIdentifier
    0xffc040a0,  // PreprocessorName
    0xff206020,  // Comment
    0xff406020,  // MultiLineComment
    0xff101010,  // Background
    0xffe0e0e0,  // Cursor
    0x80a06020,  // Selection
    0x800020ff,  // ErrorMarker
    0x40f08000,  // Breakpoint
    0xff707000,  // LineNumber
    0x40000000,  // CurrentLineFill
    0x40808080,  // CurrentLineFillUnfocused
    0x40a0a0a0,  // CurrentLineFrame
};

constexpr TextEditor::Palette LightPalette = {
    0xff000000,  // Default
    0xffff0c06,  // Keyword
    0xff008000,  // Number
    0xff2020a0,  // String
    0xff304070,  // Character
    0xff000000,  // Punctuation
    0xff409090,  // Preprocessor
    0xff404040,  // Identifier
    0xff606010,  // LibraryIdentifier
    0xffc040a0,  // PreprocessorName
    0xff205020,  // Comment
    0xff405020,  // MultiLineComment
    0xffffffff,  // Background
    0xff000000,  // Cursor
    0x80600000,  // Selection
    0xa00010ff,  // ErrorMarker
    0x80f08000,  // Breakpoint
    0xff505000,  // LineNumber
    0x40000000,  // CurrentLineFill
    0x40808080,  // CurrentLineFillUnfocused
    0x40000000,  // CurrentLineFrame
};

}  // namespace

TextEditor::TextEditor()
    : mPalette(DarkPalette)
{
    SetLanguageDefinition(LanguageDefinition::HLSL());
    mLines.emplace_back();
}

TextEditor::~TextEditor() = default;

const TextEditor::Palette& TextEditor::GetDarkPalette()
{
    return DarkPalette;
}

const TextEditor::Palette& TextEditor::GetLightPalette()
{
    return LightPalette;
}

void TextEditor::SetPalette(const Palette& palette)
{
    mPalette = palette;
}

void TextEditor::SetText(const std::string& text)
{
    mLines.clear();
    for (const char ch : text) {
        if (mLines.empty())
            mLines.emplace_back();
        if (ch == '\n')
            mLines.emplace_back();
        else
            mLines.back().push_back(Glyph{ch, 0});
    }
    mUndoBuffer.clear();
    mUndoIndex = 0;
    SanitizeState();
    Colorize(0, -1);
    mCommentPassDue = true;
}

// A new text may be shorter than the old one: nothing may keep pointing past its end.
void TextEditor::SanitizeState()
{
    mState.mCursorPosition = SanitizeCoordinates(mState.mCursorPosition);
    mState.mSelectionStart = SanitizeCoordinates(mState.mSelectionStart);
    mState.mSelectionEnd = SanitizeCoordinates(mState.mSelectionEnd);
    if (mState.mSelectionStart > mState.mSelectionEnd)
        std::swap(mState.mSelectionStart, mState.mSelectionEnd);
    mSelectAnchor = SanitizeCoordinates(mSelectAnchor);
    mMovingEnd = SanitizeCoordinates(mMovingEnd);
}

std::string TextEditor::GetText() const
{
    return GetTextRange(Coordinates(), Coordinates(GetLineCount(), 0));
}

std::string TextEditor::GetSelectedText() const
{
    return GetTextRange(mState.mSelectionStart, mState.mSelectionEnd);
}

std::string TextEditor::GetTextRange(const Coordinates& start, const Coordinates& end) const
{
    std::string result;
    if (end <= start)
        return result;
    const int lastLine = std::min(end.mLine, GetLineCount() - 1);
    for (int lineIndex = start.mLine; lineIndex <= lastLine; ++lineIndex) {
        const Line& line = mLines[static_cast<std::size_t>(lineIndex)];
        if (lineIndex > start.mLine)
            result.push_back('\n');
        const int length = static_cast<int>(line.size());
        const int from = lineIndex == start.mLine ? std::min(start.mColumn, length) : 0;
        const int to = lineIndex == end.mLine ? std::min(end.mColumn, length) : length;
        for (int column = from; column < to; ++column)
            result.push_back(line[static_cast<std::size_t>(column)].mChar);
    }
    return result;
}

TextEditor::Coordinates TextEditor::SanitizeCoordinates(const Coordinates& position) const
{
    if (mLines.empty())
        return Coordinates();
    const int line = std::clamp(position.mLine, 0, GetLineCount() - 1);
    const int length = static_cast<int>(mLines[static_cast<std::size_t>(line)].size());
    return Coordinates(line, std::clamp(position.mColumn, 0, length));
}

void TextEditor::Advance(Coordinates& position) const
{
    if (position.mLine < 0 || position.mLine >= GetLineCount())
        return;
    const int length = static_cast<int>(mLines[static_cast<std::size_t>(position.mLine)].size());
    if (position.mColumn + 1 < length)
        ++position.mColumn;
    else
        position = Coordinates(position.mLine + 1, 0);
}

int TextEditor::CellsToColumn(const Coordinates& position) const
{
    if (position.mLine < 0 || position.mLine >= GetLineCount())
        return 0;
    const Line& line = mLines[static_cast<std::size_t>(position.mLine)];
    const int columns = std::min(position.mColumn, static_cast<int>(line.size()));
    int cells = 0;
    for (int column = 0; column < columns; ++column) {
        if (line[static_cast<std::size_t>(column)].mChar == '\t')
            cells = (cells / mTabSize + 1) * mTabSize;
        else
            ++cells;
    }
    return cells;
}

// Breakpoints and markers are keyed by 1-based line number: the line at index i is number i + 1.
// An inserted line moves every later entry down by one.
TextEditor::Line& TextEditor::InsertLine(int index)
{
    assert(!mReadOnly);
    const int number = index + 1;
    Breakpoints breakpoints;
    for (const int breakpoint : mBreakpoints)
        breakpoints.insert(breakpoint >= number ? breakpoint + 1 : breakpoint);
    mBreakpoints = std::move(breakpoints);
    ErrorMarkers markers;
    for (auto& [line, message] : mErrorMarkers)
        markers.emplace(line >= number ? line + 1 : line, std::move(message));
    mErrorMarkers = std::move(markers);
    return *mLines.insert(mLines.begin() + index, Line());
}

void TextEditor::RemoveLine(int index)
{
    RemoveLine(index, index + 1);
}

// Removing lines [start, end) drops the entries of those lines and moves later ones up.
void TextEditor::RemoveLine(int start, int end)
{
    assert(!mReadOnly);
    assert(start <= end);
    const int removed = end - start;
    const auto renumber = [&](int number) { return number > end ? number - removed : number; };
    const auto isRemoved = [&](int number) { return number > start && number <= end; };
    Breakpoints breakpoints;
    for (const int breakpoint : mBreakpoints)
        if (!isRemoved(breakpoint))
            breakpoints.insert(renumber(breakpoint));
    mBreakpoints = std::move(breakpoints);
    ErrorMarkers markers;
    for (auto& [line, message] : mErrorMarkers)
        if (!isRemoved(line))
            markers.emplace(renumber(line), std::move(message));
    mErrorMarkers = std::move(markers);
    mLines.erase(mLines.begin() + start, mLines.begin() + end);
}
