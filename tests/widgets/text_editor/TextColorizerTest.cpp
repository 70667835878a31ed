#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "UiHarness.h"

namespace {

struct TokenCase {
    int column;
    PaletteIndex colour;
};

void ExpectTokens(const TextEditor::LanguageDefinition& language, const std::string& line,
                  const std::vector<TokenCase>& tokens)
{
    TextEditor editor;
    editor.SetLanguageDefinition(language);
    editor.SetText(line);
    ColorizeAll(editor);
    for (const TokenCase& token : tokens)
        EXPECT_EQ(TokenColour(editor, 0, token.column), token.colour) << line << " column " << token.column;
}

TEST(TextColorizer, LuaTokens)
{
    const auto lua = TextEditor::LanguageDefinition::Lua();
    ExpectTokens(lua, "local x = 10 print(x)",
                 {{0, PaletteIndex::Keyword}, {4, PaletteIndex::Keyword}, {6, PaletteIndex::Identifier},
                  {8, PaletteIndex::Punctuation}, {10, PaletteIndex::Number}, {11, PaletteIndex::Number},
                  {13, PaletteIndex::LibraryIdentifier}, {18, PaletteIndex::Punctuation}});
    ExpectTokens(lua, "x = 1 -- the rest \"is\" comment",
                 {{0, PaletteIndex::Identifier}, {6, PaletteIndex::Comment}, {20, PaletteIndex::Comment}});
    ExpectTokens(lua, "s = \"a -- b\" .. 'c--'",
                 {{4, PaletteIndex::String}, {7, PaletteIndex::String}, {11, PaletteIndex::String},
                  {13, PaletteIndex::Punctuation}, {16, PaletteIndex::String}, {19, PaletteIndex::String}});
    ExpectTokens(lua, "n = 0x1F + 3.5e2", {{4, PaletteIndex::Number}, {7, PaletteIndex::Number}, {11, PaletteIndex::Number}});
}

TEST(TextColorizer, HlslTokensAndPreprocessorLines)
{
    const auto hlsl = TextEditor::LanguageDefinition::HLSL();
    // On a preprocessor line a keyword is only an identifier.
    ExpectTokens(hlsl, "  #include float4",
                 {{0, PaletteIndex::Preprocessor}, {3, PaletteIndex::Preprocessor}, {11, PaletteIndex::Identifier}});
    ExpectTokens(hlsl, "float4 c = saturate(x); // done",
                 {{0, PaletteIndex::Keyword}, {7, PaletteIndex::Identifier}, {11, PaletteIndex::LibraryIdentifier},
                  {22, PaletteIndex::Punctuation}, {24, PaletteIndex::Comment}});
    // The decimal expressions come first: 0x1F is the number 0 and the identifier x1F.
    ExpectTokens(hlsl, "0x1F 'a'", {{0, PaletteIndex::Number}, {1, PaletteIndex::Identifier}, {5, PaletteIndex::Character}});
}

// Catches misspelt rows: each name must colour as its table says.
TEST(TextColorizer, BuiltInNamesAreKnown)
{
    struct NameCase {
        bool lua;
        const char* name;
        PaletteIndex colour;
    };
    const std::vector<NameCase> cases = {
        {false, "AppendStructuredBuffer", PaletteIndex::Keyword}, {false, "groupshared", PaletteIndex::Keyword},
        {false, "SamplerComparisonState", PaletteIndex::Keyword}, {false, "technique11", PaletteIndex::Keyword},
        {false, "min16float", PaletteIndex::Keyword},           {false, "half4x4", PaletteIndex::Keyword},
        {false, "Hullshader", PaletteIndex::Keyword},
        {false, "AllMemoryBarrierWithGroupSync", PaletteIndex::LibraryIdentifier},
        {false, "D3DCOLORtoUBYTE4", PaletteIndex::LibraryIdentifier},
        {false, "InterlockedCompareExchange", PaletteIndex::LibraryIdentifier},
        {false, "Process2DQuadTessFactorsAvg", PaletteIndex::LibraryIdentifier},
        {false, "texCUBEproj", PaletteIndex::LibraryIdentifier}, {false, "trunc", PaletteIndex::LibraryIdentifier},
        {true, "elseif", PaletteIndex::Keyword},                {true, "until", PaletteIndex::Keyword},
        {true, "goto", PaletteIndex::Identifier},               {true, "_VERSION", PaletteIndex::LibraryIdentifier},
        {true, "setmetatable", PaletteIndex::LibraryIdentifier}, {true, "maxinteger", PaletteIndex::LibraryIdentifier},
        {true, "searchpath", PaletteIndex::LibraryIdentifier},  {true, "charpattern", PaletteIndex::LibraryIdentifier},
        {true, "isyieldable", PaletteIndex::LibraryIdentifier}, {true, "bit32", PaletteIndex::LibraryIdentifier},
        {true, "__tostring", PaletteIndex::LibraryIdentifier},  {true, "GameObject", PaletteIndex::Identifier},
    };
    for (const bool lua : {false, true}) {
        TextEditor editor;
        editor.SetLanguageDefinition(lua ? TextEditor::LanguageDefinition::Lua() : TextEditor::LanguageDefinition::HLSL());
        std::vector<NameCase> names;
        std::string text;
        for (const NameCase& c : cases)
            if (c.lua == lua) {
                names.push_back(c);
                text += std::string(c.name) + "\n";
            }
        editor.SetText(text);
        ColorizeAll(editor);
        const auto& identifiers = editor.GetLanguageDefinition().mIdentifiers;
        for (int line = 0; line < static_cast<int>(names.size()); ++line) {
            const NameCase& c = names[static_cast<std::size_t>(line)];
            EXPECT_EQ(TokenColour(editor, line, 0), c.colour) << c.name;
            if (c.colour == PaletteIndex::LibraryIdentifier) {
                EXPECT_EQ(identifiers.at(c.name).mTooltip, "Built-in function") << c.name;
            }
        }
    }
}

// Block comments are marked in bit 7 up to and including the closing marker; strings hide
// markers inside them.
TEST(TextColorizer, BlockCommentsAreMarkedAcrossLines)
{
    struct Case {
        bool lua;
        std::string text;
        std::vector<std::string> marks;  // per line: 'c' inside the comment, '.' outside
    };
    const std::vector<Case> cases = {
        {false, "a /* b\nc */ d", {"..cccc", "cccc.."}},
        {false, "s = \"/*\"; t", {"..........."}},
        {true, "x --[[ one\ntwo ]] y", {"..cccccccc", "cccccc.."}},
        {true, "--[[\n\"]]\" ]]\nz", {"cccc", "ccccccc", "."}},
        {true, "-- a line comment\nb", {".................", "."}},
    };
    for (const Case& c : cases) {
        TextEditor editor;
        editor.SetLanguageDefinition(c.lua ? TextEditor::LanguageDefinition::Lua() : TextEditor::LanguageDefinition::HLSL());
        editor.SetText(c.text);
        editor.ColorizeStep();
        ASSERT_EQ(editor.GetLineCount(), static_cast<int>(c.marks.size())) << c.text;
        for (int line = 0; line < editor.GetLineCount(); ++line) {
            std::string marks;
            for (int column = 0; column < static_cast<int>(c.marks[static_cast<std::size_t>(line)].size()); ++column)
                marks.push_back(InBlockComment(editor, line, column) ? 'c' : '.');
            EXPECT_EQ(marks, c.marks[static_cast<std::size_t>(line)]) << c.text;
        }
    }
}

// The comment pass reads plain stretches four glyphs at a time; on random text full of quotes,
// escapes and marker characters at every alignment it must mark exactly what the rule, applied
// glyph by glyph, marks.
TEST(TextColorizer, CommentPassMatchesTheGlyphByGlyphRule)
{
    const auto mark = [](const std::vector<std::string>& lines, const std::string& opener, const std::string& closer) {
        std::string marks;
        bool inComment = false;
        bool inString = false;
        for (const std::string& line : lines) {
            std::string lineMarks(line.size(), '.');
            for (std::size_t column = 0; column < line.size(); ++column) {
                const char ch = line[column];
                if (inString) {
                    lineMarks[column] = inComment ? 'c' : '.';
                    if ((ch == '"' && column + 1 < line.size() && line[column + 1] == '"') ||
                        (ch == '\\' && column + 1 < line.size()))
                        lineMarks[++column] = inComment ? 'c' : '.';
                    else if (ch == '"')
                        inString = false;
                } else if (ch == '"') {
                    inString = true;
                    lineMarks[column] = inComment ? 'c' : '.';
                } else {
                    inComment = inComment || line.compare(column, opener.size(), opener) == 0;
                    lineMarks[column] = inComment ? 'c' : '.';
                    if (column + 1 >= closer.size() && line.compare(column + 1 - closer.size(), closer.size(), closer) == 0)
                        inComment = false;
                }
            }
            marks += lineMarks + "|";
        }
        return marks;
    };
    std::mt19937 random(7u);
    const std::vector<std::string> pieces = {"a", "b", "cd", " ", "\t", "-", "[", "]", "\"", "\\", "*", "/",
                                             "efgh", "--[[", "]]", "/*", "*/", "ijklmnop"};
    for (const bool lua : {true, false}) {
        const auto language = lua ? TextEditor::LanguageDefinition::Lua() : TextEditor::LanguageDefinition::HLSL();
        std::vector<std::string> lines;
        std::string text;
        for (int line = 0; line < 300; ++line) {
            std::string row;
            const int length = static_cast<int>(random() % 16);
            for (int piece = 0; piece < length; ++piece)
                row += pieces[random() % pieces.size()];
            lines.push_back(row);
            text += row + (line + 1 < 300 ? "\n" : "");
        }
        TextEditor editor;
        editor.SetLanguageDefinition(language);
        editor.SetText(text);
        editor.ColorizeStep();
        std::string marks;
        for (int line = 0; line < editor.GetLineCount(); ++line) {
            for (int column = 0; column < static_cast<int>(lines[static_cast<std::size_t>(line)].size()); ++column)
                marks.push_back(InBlockComment(editor, line, column) ? 'c' : '.');
            marks += "|";
        }
        EXPECT_EQ(marks, mark(lines, language.mCommentStart, language.mCommentEnd)) << language.mName;
        EXPECT_NE(marks.find('c'), std::string::npos) << language.mName;
    }
}

// An edit asks for the lines around it only: after the comment pass one step recolours them.
TEST(TextColorizer, AnEditRecoloursTheLinesAroundIt)
{
    TextEditor editor;
    editor.SetLanguageDefinition(TextEditor::LanguageDefinition::Lua());
    std::string text;
    for (int line = 0; line < 35; ++line)
        text += "local v" + std::to_string(line) + " = " + std::to_string(line) + "\n";
    editor.SetText(text);
    ColorizeAll(editor);
    editor.SetSelection({20, 0}, {20, 5});
    editor.EnterCharacter('x');
    EXPECT_EQ(TokenColour(editor, 20, 0), PaletteIndex::Default);
    editor.ColorizeStep();  // comment pass
    editor.ColorizeStep();
    EXPECT_EQ(TokenColour(editor, 20, 0), PaletteIndex::Identifier);
    EXPECT_EQ(TokenColour(editor, 21, 0), PaletteIndex::Keyword);
}

// Undo and redo recolour every line they change, the last one too.
TEST(TextColorizer, UndoAndRedoRecolourEveryLineTheyChange)
{
    struct Case {
        const char* name;
        std::string text;
        std::function<void(TextEditor&, UiHarness&)> edit;
        Coordinates probe;  // a glyph on the last line the edit changed
        PaletteIndex colour;
    };
    const std::vector<Case> cases = {
        {"a typed letter", "en",
         [](TextEditor& editor, UiHarness&) {
             editor.MoveEnd();
             editor.EnterCharacter('d');
         },
         {0, 2}, PaletteIndex::Keyword},
        {"a deleted letter", "endx",
         [](TextEditor& editor, UiHarness&) {
             editor.MoveEnd();
             editor.Backspace();
         },
         {0, 0}, PaletteIndex::Keyword},
        {"pasted lines", "local a",
         [](TextEditor& editor, UiHarness& ui) {
             editor.MoveEnd();
             ui.clipboard = " = 1\nreturn a";
             editor.Paste();
         },
         {1, 0}, PaletteIndex::Keyword},
        {"a line break", "x = xend",
         [](TextEditor& editor, UiHarness&) {
             editor.MoveEnd();
             for (int step = 0; step < 3; ++step)
                 editor.MoveLeft();
             editor.EnterCharacter('\n');
         },
         {1, 0}, PaletteIndex::Keyword},
    };
    for (const Case& c : cases) {
        UiHarness ui;
        TextEditor editor;
        editor.SetLanguageDefinition(TextEditor::LanguageDefinition::Lua());
        editor.SetText(c.text);
        ColorizeAll(editor);
        c.edit(editor, ui);
        ColorizeAll(editor);
        ASSERT_EQ(TokenColour(editor, c.probe.mLine, c.probe.mColumn), c.colour) << c.name;
        const std::string edited = editor.GetText();
        editor.Undo();
        ColorizeAll(editor);
        editor.Redo();
        ASSERT_EQ(editor.GetText(), edited) << c.name;
        ColorizeAll(editor);
        EXPECT_EQ(TokenColour(editor, c.probe.mLine, c.probe.mColumn), c.colour) << c.name << ", redone";
    }
}

// A string or comment longer than any fixed window is coloured whole, and what follows it on
// the line as usual. Lines of hundreds of kilobytes must not exhaust the stack either.
TEST(TextColorizer, LongTokensKeepTheirColourToTheirEnd)
{
    struct Case {
        bool lua;
        std::string line;
        std::size_t tokenStart;
        std::size_t tokenEnd;
        PaletteIndex colour;
        PaletteIndex after;  // of the glyph at tokenEnd, when there is one
    };
    const std::string a3000(3000, 'a');
    const std::vector<Case> cases = {
        {true, "s = \"" + a3000 + "\"..t", 4, 3006, PaletteIndex::String, PaletteIndex::Punctuation},
        {true, "s = '" + a3000 + "'+1", 4, 3006, PaletteIndex::String, PaletteIndex::Number},
        {true, "x = 1 -- " + a3000, 6, 3009, PaletteIndex::Comment, PaletteIndex::Default},
        {false, "x = 1; // " + a3000, 7, 3010, PaletteIndex::Comment, PaletteIndex::Default},
        {false, "s = \"" + std::string(1500, '\\') + a3000 + "\";", 4, 4506, PaletteIndex::String,
         PaletteIndex::Punctuation},
        {true, "s = \"" + std::string(200000, 'a') + "\"..x", 4, 200006, PaletteIndex::String, PaletteIndex::Punctuation},
        {true, "-- " + std::string(200000, 'b'), 0, 200003, PaletteIndex::Comment, PaletteIndex::Default},
        {true, std::string(100000, 'c') + "()", 0, 100000, PaletteIndex::Identifier, PaletteIndex::Punctuation},
    };
    for (const Case& c : cases) {
        TextEditor editor;
        editor.SetLanguageDefinition(c.lua ? TextEditor::LanguageDefinition::Lua() : TextEditor::LanguageDefinition::HLSL());
        editor.SetText(c.line);
        ColorizeAll(editor);
        const std::string name = c.line.substr(0, 12) + "... of " + std::to_string(c.line.size()) + " bytes";
        std::size_t wrong = 0;
        for (std::size_t column = c.tokenStart; column < c.tokenEnd; ++column)
            wrong += TokenColour(editor, 0, static_cast<int>(column)) != c.colour ? 1 : 0;
        EXPECT_EQ(wrong, 0u) << name;
        if (c.tokenEnd < c.line.size()) {
            EXPECT_EQ(TokenColour(editor, 0, static_cast<int>(c.tokenEnd)), c.after) << name;
        }
    }
}

}  // namespace
