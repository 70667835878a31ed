// TokenPattern: one token expression of a TextEditor language definition, compiled for the
// colouring, which asks how long the token starting at a given byte of a line is. All ways of
// matching advance together, one byte at a time (no backtracking, no recursion), so a match
// costs at most the pattern's size times the token's length, however long or odd the line.
#pragma once

#include <bitset>
#include <cstddef>
#include <string_view>
#include <vector>

class TokenPattern {
public:
    static constexpr std::size_t NoMatch = std::string_view::npos;

    // The part of the ECMAScript grammar that token expressions use: characters and escaped
    // characters, ".", bracket classes with ranges, \d \w \s and their negations, groups
    // (capturing or not), alternation and the quantifiers * + ? with their lazy forms.
    // Anything else leaves the pattern invalid; an invalid pattern matches nothing.
    explicit TokenPattern(std::string_view expression);

    bool IsValid() const { return mValid; }

    // The length of the match that ECMAScript's rules pick among those starting at text[0]
    // (alternatives tried left to right, quantifiers greedy unless lazy), or NoMatch.
    std::size_t MatchLength(std::string_view text) const;

private:
    using ByteSet = std::bitset<256>;
    enum class Op : unsigned char { Byte, Split, Jump, Match };
    // Jump and split targets are relative to the instruction, so compiled pieces can be
    // placed anywhere; a split prefers its first target.
    struct Instruction {
        Op op;
        int first = 0;
        int second = 0;
        int set = 0;  // index into mSets for Byte
    };
    using Code = std::vector<Instruction>;
    class Parser;

    void AddThread(std::vector<int>& list, int pc, unsigned stamp) const;
    unsigned NextStamp() const;

    Code mCode;
    std::vector<ByteSet> mSets;
    ByteSet mFirstBytes;  // bytes a non-empty match can start with
    bool mMatchesEmpty = false;
    bool mValid = false;

    // Scratch of MatchLength, kept so that colouring does not allocate per token.
    mutable std::vector<int> mCurrent;
    mutable std::vector<int> mNext;
    mutable std::vector<int> mStack;
    mutable std::vector<unsigned> mListed;  // the stamp of the list each instruction is on
    mutable unsigned mStamp = 0;
};
