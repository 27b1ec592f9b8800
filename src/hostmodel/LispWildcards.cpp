#include "LispInternal.h"

#include <utility>

// Wild-card matching as wcmatch does it: case-sensitive, ',' separates patterns, '~' first negates.

namespace qv::hostmodel::lisp {
namespace {

struct WildToken
{
    enum class Type
    {
        Literal,
        Digit,
        Alpha,
        NonAlnum,
        Any,
        Star,
        Set,
    } type;
    char32_t ch = 0;
    bool negated = false;
    std::u32string set; // pairs of (low, high)
};

bool isAsciiDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

bool isAlpha(char32_t c)
{
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || c >= 0x80;
}

bool tokenMatches(const WildToken& t, char32_t c)
{
    switch (t.type) {
    case WildToken::Type::Literal:
        return c == t.ch;
    case WildToken::Type::Digit:
        return isAsciiDigit(c);
    case WildToken::Type::Alpha:
        return isAlpha(c);
    case WildToken::Type::NonAlnum:
        return !isAlpha(c) && !isAsciiDigit(c);
    case WildToken::Type::Any:
        return true;
    case WildToken::Type::Star:
        return true;
    case WildToken::Type::Set:
        for (std::size_t i = 0; i + 1 < t.set.size(); i += 2)
            if (c >= t.set[i] && c <= t.set[i + 1])
                return !t.negated;
        return t.negated;
    }
    return false;
}

// Splits a pattern into its alternatives, each a list of tokens, with its negation flag.
std::vector<std::pair<bool, std::vector<WildToken>>> parsePattern(const std::u32string& p)
{
    std::vector<std::pair<bool, std::vector<WildToken>>> alternatives(1);
    std::size_t i = 0;
    auto atStart = [&] { return alternatives.back().second.empty() && !alternatives.back().first; };
    while (i < p.size()) {
        const char32_t c = p[i++];
        auto& tokens = alternatives.back().second;
        WildToken t{WildToken::Type::Literal, c, false, {}};
        switch (c) {
        case U',':
            alternatives.emplace_back();
            continue;
        case U'~':
            if (atStart()) {
                alternatives.back().first = true;
                continue;
            }
            break;
        case U'`':
            if (i < p.size())
                t.ch = p[i++];
            break;
        case U'#':
            t.type = WildToken::Type::Digit;
            break;
        case U'@':
            t.type = WildToken::Type::Alpha;
            break;
        case U'.':
            t.type = WildToken::Type::NonAlnum;
            break;
        case U'?':
            t.type = WildToken::Type::Any;
            break;
        case U'*':
            t.type = WildToken::Type::Star;
            break;
        case U'[': {
            const std::size_t close = p.find(U']', i + 1);
            if (close == std::u32string::npos)
                break; // an unclosed bracket is an ordinary character
            t.type = WildToken::Type::Set;
            std::size_t k = i;
            if (p[k] == U'~' && k + 1 < close) {
                t.negated = true;
                ++k;
            }
            for (; k < close; ++k) {
                if (k + 2 < close && p[k + 1] == U'-') {
                    t.set += p[k];
                    t.set += p[k + 2];
                    k += 2;
                } else {
                    t.set += p[k];
                    t.set += p[k];
                }
            }
            i = close + 1;
            break;
        }
        default:
            break;
        }
        tokens.push_back(std::move(t));
    }
    return alternatives;
}

// Greedy matching with backtracking to the last '*' only: linear-ish and never exponential.
bool matchTokens(const std::u32string& s, const std::vector<WildToken>& tokens)
{
    std::size_t si = 0, ti = 0;
    std::size_t starToken = std::string::npos, starText = 0;
    while (si < s.size()) {
        if (ti < tokens.size() && tokens[ti].type == WildToken::Type::Star) {
            starToken = ti++;
            starText = si;
        } else if (ti < tokens.size() && tokenMatches(tokens[ti], s[si])) {
            ++ti;
            ++si;
        } else if (starToken != std::string::npos) {
            ti = starToken + 1;
            si = ++starText;
        } else {
            return false;
        }
    }
    while (ti < tokens.size() && tokens[ti].type == WildToken::Type::Star)
        ++ti;
    return ti == tokens.size();
}

// Like the host, compares only the first 500 characters of the text and of the pattern.
bool wildMatch(std::string_view text, std::string_view pattern)
{
    constexpr std::size_t kCompared = 500;
    const std::u32string s = decode(text.substr(0, byteOffset(text, kCompared)));
    for (const auto& [negated, tokens] : parsePattern(decode(pattern.substr(0, byteOffset(pattern, kCompared)))))
        if (matchTokens(s, tokens) != negated)
            return true;
    return false;
}

} // namespace

void addWildcardFunctions(BuiltinTable& table)
{
    using In = Interpreter;
    table.insert({
        {"WCMATCH", subr(2, 2, [](In&, Items& a) { return boolean(wildMatch(needString(a[0]), needString(a[1]))); })},
    });
}

} // namespace qv::hostmodel::lisp
