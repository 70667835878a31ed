// TextEditor's syntax colouring. After any change a single pass over the whole text marks the
// glyphs inside block comments (bit 7 of the colour byte); token colouring of the requested
// lines then follows over the next frames, ten lines per frame, from the ordered token
// expressions of the language definition.
#include "widgets/text_editor/TextEditor.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <climits>
#include <cstring>

namespace {

constexpr int NothingPending = INT_MAX;
constexpr int LinesPerFrame = 10;

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

// Glyphs are (character, colour) byte pairs. Most of a text holds none of the few characters
// the comment pass must look at, so it reads four glyphs as one 64-bit word, with each
// character in the low byte of a 16-bit lane and each colour's bit 7 in the lane's top bit.
static_assert(sizeof(TextEditor::Glyph) == 2, "a glyph is a character byte and a colour byte");
constexpr bool WordAtATime = std::endian::native == std::endian::little;
constexpr std::uint64_t LaneOnes = 0x0001000100010001u;
constexpr std::uint64_t LaneTopBits = 0x8000800080008000u;
constexpr std::uint64_t CharacterBytes = 0x00ff00ff00ff00ffu;

// True when a lane holds the character (it may also say so for a lane after one that does;
// that only sends the pass to its glyph-by-glyph path).
bool AnyLaneHolds(std::uint64_t characters, char ch)
{
    const std::uint64_t difference = characters ^ (LaneOnes * static_cast<unsigned char>(ch));
    return ((difference - LaneOnes) & ~difference & LaneTopBits) != 0;
}

// Sets bit 7 of every colour to flag over whole words of plain glyphs (none of the three
// characters) from column on; returns the first column it did not handle.
std::size_t MarkPlainGlyphs(TextEditor::Glyph* glyphs, std::size_t column, std::size_t length, bool inComment,
                            char quote, char openerFirst, char closerLast)
{
    const std::uint64_t flags = inComment ? LaneTopBits : 0;
    while (column + 4 <= length) {
        std::uint64_t word = 0;
        std::memcpy(&word, glyphs + column, sizeof word);
        const std::uint64_t characters = word & CharacterBytes;
        if (AnyLaneHolds(characters, quote) || AnyLaneHolds(characters, openerFirst) || AnyLaneHolds(characters, closerLast))
            break;
        word = (word & ~LaneTopBits) | flags;
        std::memcpy(static_cast<void*>(glyphs + column), &word, sizeof word);
        column += 4;
    }
    return column;
}

}  // namespace

void TextEditor::SetLanguageDefinition(const LanguageDefinition& definition)
{
    mLanguageDefinition = definition;
    mCompiledTokens.clear();
    for (const auto& [expression, index] : mLanguageDefinition.mTokenPatterns) {
        mCompiledTokens.emplace_back(TokenPattern(expression), index);
        assert(mCompiledTokens.back().first.IsValid() && "a token expression uses syntax the matcher does not know");
    }
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
            const std::string_view rest(position, static_cast<std::size_t>(bufferEnd - position));
            bool matched = false;
            for (const auto& [pattern, tokenIndex] : mCompiledTokens) {
                const std::size_t length = pattern.MatchLength(rest);
                if (length == TokenPattern::NoMatch || length == 0)
                    continue;
                PaletteIndex index = tokenIndex;
                if (index == PaletteIndex::Identifier) {
                    name.assign(position, length);
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
                const auto last = first + length;
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
// The glyph that completes the closing marker is still inside the comment. An opened comment
// lasts until a closer, across lines.
// This runs over the whole text after every edit, so the loop keeps what it reads in locals:
// the colour bytes it writes may alias anything, which would make the compiler reload
// members and string contents after every store.
void TextEditor::MarkBlockComments()
{
    const std::string& opener = mLanguageDefinition.mCommentStart;
    const std::string& closer = mLanguageDefinition.mCommentEnd;
    // A zero byte is a glyph too, so "no marker" must not be spelt with one.
    const bool hasOpener = !opener.empty();
    const bool hasCloser = !closer.empty();
    const char openerFirst = hasOpener ? opener.front() : '"';
    const char closerLast = hasCloser ? closer.back() : '"';
    const std::size_t closerLength = closer.size();
    std::uint8_t flag = 0;  // CommentFlag while inside a comment
    bool inString = false;
    for (Line& line : mLines) {
        Glyph* const glyphs = line.data();
        const std::size_t length = line.size();
        for (std::size_t column = 0; column < length; ++column) {
            if (WordAtATime && !inString) {
                column = MarkPlainGlyphs(glyphs, column, length, flag != 0, '"', openerFirst, closerLast);
                if (column == length)
                    break;
            }
            const char ch = glyphs[column].mChar;
            if (!inString && ch != '"' && ch != openerFirst && ch != closerLast) {
                glyphs[column].mColorIndex = static_cast<std::uint8_t>((glyphs[column].mColorIndex & ColorMask) | flag);
                continue;
            }
            if (inString) {
                SetCommentFlag(glyphs[column], flag != 0);
                if (ch == '"') {
                    if (column + 1 < length && glyphs[column + 1].mChar == '"')
                        SetCommentFlag(glyphs[++column], flag != 0);
                    else
                        inString = false;
                } else if (ch == '\\' && column + 1 < length) {
                    SetCommentFlag(glyphs[++column], flag != 0);
                }
            } else if (ch == '"') {
                inString = true;
                SetCommentFlag(glyphs[column], flag != 0);
            } else {
                if (hasOpener && ch == openerFirst && SpellsAt(line, column, opener))
                    flag = CommentFlag;
                SetCommentFlag(glyphs[column], flag != 0);
                if (hasCloser && ch == closerLast && column + 1 >= closerLength &&
                    SpellsAt(line, column + 1 - closerLength, closer))
                    flag = 0;
            }
        }
    }
}
