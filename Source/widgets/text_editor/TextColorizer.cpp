// TextEditor's syntax colouring. After any change a single pass over the whole text marks the
// glyphs inside block comments (bit 7 of the colour byte); token colouring of the requested
// lines then follows over the next frames, ten lines per frame, from the ordered token
// expressions of the language definition.
#include "widgets/text_editor/TextEditor.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace {

constexpr int NothingPending = INT_MAX;
constexpr int LinesPerFrame = 10;

// libstdc++ matches by recursion, one level per matched character, so a very long token (a
// string or comment of tens of thousands of bytes on one line) would overflow the stack. Each
// search sees at most this many bytes; a longer token is coloured in pieces.
constexpr std::ptrdiff_t LongestToken = 2048;

void SetCommentFlag(TextEditor::Glyph& glyph, bool inComment)
{
    if (inComment)
        glyph.mColorIndex |= TextEditor::CommentFlag;
    else
        glyph.mColorIndex &= TextEditor::ColorMask;
}

bool SpellsAt(const TextEditor::Line& line, std::size_t column, const std::string& text)
{
    if (text.empty() || column + text.size() > line.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (line[column + i].mChar != text[i])
            return false;
    return true;
}

}  // namespace

void TextEditor::SetLanguageDefinition(const LanguageDefinition& definition)
{
    mLanguageDefinition = definition;
    mCompiledTokens.clear();
    for (const auto& [pattern, index] : mLanguageDefinition.mTokenPatterns)
        mCompiledTokens.emplace_back(std::regex(pattern, std::regex_constants::ECMAScript | std::regex_constants::optimize), index);
}

void TextEditor::Colorize(int fromLine, int lines)
{
    const int to = lines == -1 ? GetLineCount() : std::min(GetLineCount(), fromLine + lines);
    mColorizeFrom = std::max(0, std::min(mColorizeFrom, fromLine));
    mColorizeTo = std::max(mColorizeFrom, std::max(mColorizeTo, to));
    mCommentPassDue = true;
}

void TextEditor::ColorizeStep()
{
    if (mLines.empty())
        return;
    if (mCommentPassDue) {
        MarkBlockComments();
        mCommentPassDue = false;
        return;
    }
    if (mColorizeFrom < mColorizeTo) {
        const int to = std::min(mColorizeTo, mColorizeFrom + LinesPerFrame);
        ColorizeLines(mColorizeFrom, to);
        mColorizeFrom = to;
        if (to == mColorizeTo) {
            mColorizeFrom = NothingPending;
            mColorizeTo = 0;
        }
    }
}

void TextEditor::ColorizeLines(int fromLine, int toLine)
{
    const int end = std::min(toLine, GetLineCount());
    std::cmatch match;
    std::string name;
    for (int lineIndex = std::max(0, fromLine); lineIndex < end; ++lineIndex) {
        Line& line = mLines[static_cast<std::size_t>(lineIndex)];
        mLineBuffer.clear();
        for (const Glyph& glyph : line)
            mLineBuffer.push_back(glyph.mChar);
        const char* const bufferStart = mLineBuffer.data();
        const char* const bufferEnd = bufferStart + mLineBuffer.size();
        bool preprocessorLine = false;
        const char* position = bufferStart;
        while (position < bufferEnd) {
            const char* const searchEnd = std::min(bufferEnd, position + LongestToken);
            bool matched = false;
            for (const auto& [expression, tokenIndex] : mCompiledTokens) {
                if (!std::regex_search(position, searchEnd, match, expression, std::regex_constants::match_continuous) ||
                    match.length(0) == 0)
                    continue;
                PaletteIndex index = tokenIndex;
                if (index == PaletteIndex::Identifier) {
                    name.assign(match[0].first, match[0].second);
                    if (!mLanguageDefinition.mCaseSensitive)
                        std::transform(name.begin(), name.end(), name.begin(),
                                       [](char ch) { return static_cast<char>(std::toupper(static_cast<unsigned char>(ch))); });
                    const LanguageDefinition& language = mLanguageDefinition;
                    if (!preprocessorLine) {
                        if (language.mKeywords.count(name) != 0)
                            index = PaletteIndex::Keyword;
                        else if (language.mIdentifiers.count(name) != 0)
                            index = PaletteIndex::LibraryIdentifier;
                        else if (language.mPreprocessorNames.count(name) != 0)
                            index = PaletteIndex::PreprocessorName;
                    } else if (language.mPreprocessorNames.count(name) != 0) {
                        index = PaletteIndex::PreprocessorName;
                    }
                } else if (index == PaletteIndex::Preprocessor) {
                    preprocessorLine = true;
                }
                const auto first = static_cast<std::size_t>(position - bufferStart);
                const auto last = first + static_cast<std::size_t>(match.length(0));
                for (std::size_t column = first; column < last; ++column) {
                    std::uint8_t& color = line[column].mColorIndex;
                    color = static_cast<std::uint8_t>((color & CommentFlag) | static_cast<std::uint8_t>(index));
                }
                position = bufferStart + last;
                matched = true;
                break;
            }
            if (!matched)
                ++position;
        }
    }
}

// Walks every glyph in text order, tracking double-quoted strings (a doubled quote or a
// backslash escape stays inside), so that a comment marker inside a string opens nothing.
// The glyph that completes the closing marker is still inside the comment.
void TextEditor::MarkBlockComments()
{
    const std::string& opener = mLanguageDefinition.mCommentStart;
    const std::string& closer = mLanguageDefinition.mCommentEnd;
    const Coordinates afterText(GetLineCount(), 0);
    Coordinates commentStart = afterText;
    bool inString = false;
    for (int lineIndex = 0; lineIndex < GetLineCount(); ++lineIndex) {
        Line& line = mLines[static_cast<std::size_t>(lineIndex)];
        const std::size_t length = line.size();
        for (std::size_t column = 0; column < length; ++column) {
            const Coordinates here(lineIndex, static_cast<int>(column));
            bool inComment = commentStart <= here;
            const char ch = line[column].mChar;
            if (inString) {
                SetCommentFlag(line[column], inComment);
                if (ch == '"') {
                    if (column + 1 < length && line[column + 1].mChar == '"')
                        SetCommentFlag(line[++column], inComment);
                    else
                        inString = false;
                } else if (ch == '\\' && column + 1 < length) {
                    SetCommentFlag(line[++column], inComment);
                }
            } else if (ch == '"') {
                inString = true;
                SetCommentFlag(line[column], inComment);
            } else {
                if (SpellsAt(line, column, opener)) {
                    commentStart = here;
                    inComment = true;
                }
                SetCommentFlag(line[column], inComment);
                if (!closer.empty() && column + 1 >= closer.size() && SpellsAt(line, column + 1 - closer.size(), closer))
                    commentStart = afterText;
            }
        }
    }
}
