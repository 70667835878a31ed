#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "widgets/text_editor/TextEditor.h"
#include "widgets/text_editor/TokenPattern.h"

namespace {

// The standard library's matcher defines what the expressions mean; on short lines, where its
// recursion and backtracking stay cheap, both must pick the same match at every position.
TEST(TokenPattern, MatchesAsTheStandardLibraryDoesOnShortLines)
{
    std::vector<std::string> expressions;
    for (const auto& language : {TextEditor::LanguageDefinition::HLSL(), TextEditor::LanguageDefinition::Lua()})
        for (const auto& [expression, index] : language.mTokenPatterns)
            expressions.push_back(expression);
    // Order of alternatives, lazy and greedy quantifiers, classes and escapes.
    for (const char* extra : {"a|ab", "(a|ab)(c|bcd)", "a*?b", "a+?", "x?x?x", "[^a-c]+", "(?:ab)+", R"(\d+\.\w*)",
                              R"(\s\S\W)", ".*", "[]a]", "[a-]+", R"([\]\-]+)", "(a*)*b", "(|a)+"})
        expressions.push_back(extra);

    const std::string alphabet = "ab0179.eE+-xX\"'\\L_# \t/*[]()\rfuUlc";
    std::mt19937 random(7u);
    for (const std::string& expression : expressions) {
        const TokenPattern pattern(expression);
        ASSERT_TRUE(pattern.IsValid()) << expression;
        const std::regex reference(expression, std::regex_constants::ECMAScript);
        for (int trial = 0; trial < 300; ++trial) {
            std::string line;
            const int length = static_cast<int>(random() % 24);
            for (int i = 0; i < length; ++i)
                line.push_back(alphabet[random() % alphabet.size()]);
            for (std::size_t start = 0; start <= line.size(); ++start) {
                std::cmatch match;
                const char* const begin = line.data() + start;
                const char* const end = line.data() + line.size();
                const bool found = std::regex_search(begin, end, match, reference, std::regex_constants::match_continuous);
                const std::size_t expected = found ? static_cast<std::size_t>(match.length(0)) : TokenPattern::NoMatch;
                ASSERT_EQ(pattern.MatchLength(std::string_view(begin, static_cast<std::size_t>(end - begin))), expected)
                    << expression << " on \"" << line.substr(start) << "\"";
            }
        }
    }
}

// Syntax beyond what the matcher knows is refused rather than matched as something else.
TEST(TokenPattern, UnknownSyntaxLeavesThePatternInvalid)
{
    for (const char* expression : {"a{2}", "^a", "a$", R"((a)\1)", "(?=a)", R"(\bword)", "[z-a]", R"([\d-z])", "(a", "a)",
                                   "[ab", "*a", "a**", R"(\q)", "\\"}) {
        const TokenPattern pattern(expression);
        EXPECT_FALSE(pattern.IsValid()) << expression;
        EXPECT_EQ(pattern.MatchLength("a"), TokenPattern::NoMatch) << expression;
    }
}

// A backtracking matcher takes exponential time on an unclosed string of backslashes, each of
// which can be an escape or a plain character; this one walks the line once per start.
TEST(TokenPattern, UnclosedStringOfBackslashesIsRefusedInOneWalk)
{
    const TokenPattern string(R"(L?\"(\\.|[^\"])*\")");
    EXPECT_EQ(string.MatchLength("\"" + std::string(100000, '\\')), TokenPattern::NoMatch);
    EXPECT_EQ(string.MatchLength("\"" + std::string(99999, '\\') + "\""), 100001u);
    EXPECT_EQ(string.MatchLength("\"" + std::string(100000, '\\') + "\"\"x"), 100002u);
}

}  // namespace
