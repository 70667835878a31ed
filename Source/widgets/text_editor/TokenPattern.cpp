// TokenPattern: a small compiler from the expression to a list of instructions, and a matcher
// that keeps every live way of matching in one ordered list per byte. The order is the order
// in which a backtracking matcher would try them, so the first to reach the end of the
// pattern gives the same match that matcher would report.
#include "widgets/text_editor/TokenPattern.h"

#include <algorithm>
#include <optional>

namespace {

bool IsAsciiLetter(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

}  // namespace

// Recursive descent over the expression; it recurses as deep as the expression nests its
// groups, which the language definitions keep shallow. Each piece is compiled on its own
// and combined with relative jumps.
class TokenPattern::Parser {
public:
    Parser(std::string_view expression, std::vector<ByteSet>& sets) : mText(expression), mSets(sets) {}

    std::optional<Code> Parse()
    {
        std::optional<Code> code = Alternation();
        if (!code || mAt != mText.size())
            return std::nullopt;
        code->push_back({Op::Match});
        return code;
    }

private:
    bool AtEnd() const { return mAt >= mText.size(); }
    char Peek() const { return mText[mAt]; }

    // a|b|c: each alternative is tried before the ones after it.
    std::optional<Code> Alternation()
    {
        std::optional<Code> code = Sequence();
        while (code && !AtEnd() && Peek() == '|') {
            ++mAt;
            std::optional<Code> other = Sequence();
            if (!other)
                return std::nullopt;
            Code both;
            both.push_back({Op::Split, 1, static_cast<int>(code->size()) + 2});
            both.insert(both.end(), code->begin(), code->end());
            both.push_back({Op::Jump, static_cast<int>(other->size()) + 1});
            both.insert(both.end(), other->begin(), other->end());
            code = std::move(both);
        }
        return code;
    }

    std::optional<Code> Sequence()
    {
        Code code;
        while (!AtEnd() && Peek() != '|' && Peek() != ')') {
            std::optional<Code> piece = Quantified();
            if (!piece)
                return std::nullopt;
            code.insert(code.end(), piece->begin(), piece->end());
        }
        return code;
    }

    std::optional<Code> Quantified()
    {
        std::optional<Code> atom = Atom();
        if (!atom || AtEnd())
            return atom;
        const char quantifier = Peek();
        if (quantifier != '*' && quantifier != '+' && quantifier != '?')
            return atom;
        ++mAt;
        const bool greedy = AtEnd() || Peek() != '?';
        if (!greedy)
            ++mAt;
        const int length = static_cast<int>(atom->size());
        const auto split = [greedy](int preferred, int other) {
            return greedy ? Instruction{Op::Split, preferred, other} : Instruction{Op::Split, other, preferred};
        };
        Code code;
        if (quantifier == '+') {
            code = std::move(*atom);
            code.push_back(split(-length, 1));
        } else {
            code.push_back(split(1, length + (quantifier == '*' ? 2 : 1)));
            code.insert(code.end(), atom->begin(), atom->end());
            if (quantifier == '*')
                code.push_back({Op::Jump, -(length + 1)});
        }
        return code;
    }

    std::optional<Code> Atom()
    {
        const char ch = Peek();
        ++mAt;
        switch (ch) {
        case '(': {
            if (mText.substr(mAt, 2) == "?:")
                mAt += 2;
            else if (!AtEnd() && Peek() == '?')
                return std::nullopt;  // lookahead
            std::optional<Code> inner = Alternation();
            if (!inner || AtEnd() || Peek() != ')')
                return std::nullopt;
            ++mAt;
            return inner;
        }
        case '[':
            return Bytes(Class());
        case '.': {
            ByteSet any;
            any.set();
            any.reset('\n');
            any.reset('\r');
            return Bytes(any);
        }
        case '\\':
            return Bytes(Escape(false));
        case '*':
        case '+':
        case '?':
        case '{':  // counted repetition is not supported
        case '^':
        case '$':
        case ')':
            return std::nullopt;
        default:
            return Bytes(Single(ch));
        }
    }

    std::optional<Code> Bytes(const std::optional<ByteSet>& set)
    {
        if (!set)
            return std::nullopt;
        mSets.push_back(*set);
        return Code{{Op::Byte, 0, 0, static_cast<int>(mSets.size()) - 1}};
    }

    static ByteSet Single(char ch)
    {
        ByteSet set;
        set.set(static_cast<unsigned char>(ch));
        return set;
    }

    static ByteSet Range(unsigned char low, unsigned char high)
    {
        ByteSet set;
        for (unsigned byte = low; byte <= high; ++byte)
            set.set(byte);
        return set;
    }

    // After a backslash. Inside a class \b is the backspace character; outside it is an
    // assertion, which is not supported, as are back-references and escapes of other letters.
    std::optional<ByteSet> Escape(bool inClass)
    {
        if (AtEnd())
            return std::nullopt;
        const char ch = Peek();
        ++mAt;
        const ByteSet digits = Range('0', '9');
        const ByteSet word = digits | Range('a', 'z') | Range('A', 'Z') | Single('_');
        const ByteSet space = Single(' ') | Single('\t') | Single('\n') | Single('\r') | Single('\f') | Single('\v');
        switch (ch) {
        case 'd': return digits;
        case 'D': return ~digits;
        case 'w': return word;
        case 'W': return ~word;
        case 's': return space;
        case 'S': return ~space;
        case 't': return Single('\t');
        case 'n': return Single('\n');
        case 'r': return Single('\r');
        case 'f': return Single('\f');
        case 'v': return Single('\v');
        case '0': return Single('\0');
        case 'b':
            if (inClass)
                return Single('\b');
            return std::nullopt;
        default:
            if (IsAsciiLetter(ch) || (ch >= '1' && ch <= '9'))
                return std::nullopt;
            return Single(ch);
        }
    }

    // After the opening bracket, up to and including the closing one. A range's ends must be
    // single characters.
    std::optional<ByteSet> Class()
    {
        const bool negated = !AtEnd() && Peek() == '^';
        if (negated)
            ++mAt;
        ByteSet set;
        while (!AtEnd() && Peek() != ']') {
            std::optional<ByteSet> low = ClassAtom();
            if (!low)
                return std::nullopt;
            if (mAt + 1 < mText.size() && Peek() == '-' && mText[mAt + 1] != ']') {
                ++mAt;
                std::optional<ByteSet> high = ClassAtom();
                if (!high || low->count() != 1 || high->count() != 1)
                    return std::nullopt;
                const unsigned char from = ByteOf(*low);
                const unsigned char to = ByteOf(*high);
                if (from > to)
                    return std::nullopt;
                set |= Range(from, to);
            } else {
                set |= *low;
            }
        }
        if (AtEnd())
            return std::nullopt;
        ++mAt;
        return negated ? ~set : set;
    }

    std::optional<ByteSet> ClassAtom()
    {
        const char ch = Peek();
        ++mAt;
        return ch == '\\' ? Escape(true) : std::optional<ByteSet>(Single(ch));
    }

    static unsigned char ByteOf(const ByteSet& single)
    {
        unsigned byte = 0;
        while (!single.test(byte))
            ++byte;
        return static_cast<unsigned char>(byte);
    }

    std::string_view mText;
    std::size_t mAt = 0;
    std::vector<ByteSet>& mSets;
};

TokenPattern::TokenPattern(std::string_view expression)
{
    std::optional<Code> code = Parser(expression, mSets).Parse();
    if (!code) {
        mSets.clear();
        return;
    }
    mCode = std::move(*code);
    mValid = true;
    mListed.assign(mCode.size(), 0);
    // What the first byte may be, from the instructions reachable without consuming one.
    AddThread(mCurrent, 0, NextStamp());
    for (const int pc : mCurrent) {
        const Instruction& instruction = mCode[static_cast<std::size_t>(pc)];
        if (instruction.op == Op::Match)
            mMatchesEmpty = true;
        else
            mFirstBytes |= mSets[static_cast<std::size_t>(instruction.set)];
    }
    mCurrent.clear();
}

unsigned TokenPattern::NextStamp() const
{
    if (++mStamp == 0) {
        std::fill(mListed.begin(), mListed.end(), 0u);
        mStamp = 1;
    }
    return mStamp;
}

// Follows jumps and splits from pc (a split's first target and everything it reaches before
// its second) and appends the byte tests and the match it reaches to the list, each once.
void TokenPattern::AddThread(std::vector<int>& list, int pc, unsigned stamp) const
{
    mStack.push_back(pc);
    while (!mStack.empty()) {
        const int at = mStack.back();
        mStack.pop_back();
        unsigned& listed = mListed[static_cast<std::size_t>(at)];
        if (listed == stamp)
            continue;
        listed = stamp;
        const Instruction& instruction = mCode[static_cast<std::size_t>(at)];
        switch (instruction.op) {
        case Op::Jump:
            mStack.push_back(at + instruction.first);
            break;
        case Op::Split:
            mStack.push_back(at + instruction.second);
            mStack.push_back(at + instruction.first);
            break;
        case Op::Byte:
        case Op::Match:
            list.push_back(at);
            break;
        }
    }
}

std::size_t TokenPattern::MatchLength(std::string_view text) const
{
    if (!mValid)
        return NoMatch;
    if (!mMatchesEmpty && (text.empty() || !mFirstBytes.test(static_cast<unsigned char>(text.front()))))
        return NoMatch;
    std::size_t match = NoMatch;
    mCurrent.clear();
    AddThread(mCurrent, 0, NextStamp());
    for (std::size_t at = 0; !mCurrent.empty(); ++at) {
        const bool atEnd = at == text.size();
        const unsigned stamp = NextStamp();
        mNext.clear();
        for (const int pc : mCurrent) {
            const Instruction& instruction = mCode[static_cast<std::size_t>(pc)];
            if (instruction.op == Op::Match) {
                // Ways listed after this one would only be tried if it failed.
                match = at;
                break;
            }
            if (!atEnd && mSets[static_cast<std::size_t>(instruction.set)].test(static_cast<unsigned char>(text[at])))
                AddThread(mNext, pc + 1, stamp);
        }
        if (atEnd)
            break;
        std::swap(mCurrent, mNext);
    }
    return match;
}
