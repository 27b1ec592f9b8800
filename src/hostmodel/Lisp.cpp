#include "Lisp.h"

#include "ScriptText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <new>
#include <numbers>
#include <span>
#include <unordered_map>
#include <utility>

namespace qv::hostmodel {
namespace {

std::string utf8Of(char32_t codePoint)
{
    std::string out;
    appendUtf8(out, codePoint);
    return out;
}

using Kind = LispValue::Kind;
using Items = std::vector<LispValue>;
using Forms = std::span<const LispValue>;

// Limits that keep a faulty or hostile script from hanging or crashing the host that judges it.
constexpr int kMaxDepth = 1000;                   // nesting of the text, of the evaluation and of built lists
constexpr long long kMaxLoopIterations = 1000000; // per while or repeat loop
constexpr long long kMaxWork = 20000000;          // evaluation steps plus the size of copied values, per text
constexpr std::size_t kMaxValueWeight = 200000;   // list elements plus string bytes / 8 in one value
constexpr std::size_t kMaxStringLength = 1 << 20;

const char* const kStackLimit = "Hard error occurred *** internal stack limit reached (simulated)";

struct LispError
{
    std::string message;
};

[[noreturn]] void fail(const std::string& what)
{
    throw LispError{"; error: " + what};
}

std::string toUpper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string toLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// --- Characters: strings are UTF-8; a byte that does not start a well-formed sequence counts as one character.

std::size_t charWidth(std::string_view s, std::size_t i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0xC2 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 1;
    if (n == 1 || i + n > s.size())
        return 1;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 1;
    return n;
}

std::size_t charCount(std::string_view s)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); i += charWidth(s, i))
        ++count;
    return count;
}

// Byte offset of the character with the given index, or the size when the text is shorter.
std::size_t byteOffset(std::string_view s, std::size_t chars)
{
    std::size_t i = 0;
    for (; chars > 0 && i < s.size(); --chars)
        i += charWidth(s, i);
    return i;
}

std::u32string decode(std::string_view s)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = charWidth(s, i);
        auto cp = static_cast<char32_t>(static_cast<unsigned char>(s[i]));
        if (n > 1) {
            cp &= (0x7F >> n);
            for (std::size_t k = 1; k < n; ++k)
                cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        out += cp;
        i += n;
    }
    return out;
}

// --- Numbers as text. std::to_chars is used throughout because it ignores the C locale a GUI may have set.

// A real as the command line shows it: six significant digits, always a decimal point, a three-digit exponent.
std::string realText(double v)
{
    if (std::isnan(v))
        return "1.#QNAN";
    if (std::isinf(v))
        return v > 0 ? "1.#INF" : "-1.#INF";
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6).ptr;
    const std::string s(buf, end);
    const std::size_t e = s.find('e');
    std::string mantissa = s.substr(0, e);
    if (mantissa.find('.') == std::string::npos)
        mantissa += ".0";
    if (e == std::string::npos)
        return mantissa;
    std::string digits = s.substr(e + 2);
    while (digits.size() < 3)
        digits.insert(0, 1, '0');
    return mantissa + 'e' + s[e + 1] + digits;
}

// A real as typed at a prompt: plain decimal notation, as short as still reads back to the same value.
std::string plainDecimal(double v)
{
    if (v == 0)
        return "0";
    char buf[512];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed).ptr;
    return std::string(buf, end);
}

// AutoLISP integers are 32 bits wide and wrap around.
long long wrap32(long long v)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

// The numeric value of a token, or nullopt when the token is a symbol name.
std::optional<LispValue> parseNumber(std::string_view token)
{
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < token.size() && isDigit(token[i]))
        ++i, ++digits;
    bool real = false;
    if (i < token.size() && token[i] == '.') {
        real = true;
        ++i;
        while (i < token.size() && isDigit(token[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        real = true;
        ++i;
        if (i < token.size() && (token[i] == '+' || token[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < token.size() && isDigit(token[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != token.size())
        return std::nullopt;

    const std::string_view number = token.front() == '+' ? token.substr(1) : token;
    if (!real) {
        long long value = 0;
        const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (ec == std::errc{} && value >= INT32_MIN && value <= INT32_MAX)
            return LispValue::fromInteger(value);
        // An integer beyond 32 bits reads as a real, as the host's reader does.
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range)
        value = number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    return LispValue::fromReal(value);
}

// The longest leading number of a text, for atoi and atof (which, like C's, ignore what follows).
std::string_view leadingNumber(std::string_view s, bool allowReal)
{
    std::size_t start = 0;
    while (start < s.size() && isBlank(s[start]))
        ++start;
    std::size_t i = start;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (allowReal && i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return {};
    if (allowReal && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return s.substr(start, i - start);
}

// --- Reader

class Reader
{
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    Items readAll()
    {
        Items forms;
        while (skipBlank()) {
            if (m_text[m_pos] == ')')
                fail("extra right paren on input");
            forms.push_back(readExpression(0, false));
        }
        return forms;
    }

private:
    // Skips white space and comments; false at the end of the text.
    bool skipBlank()
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (isBlank(c)) {
                ++m_pos;
            } else if (c == ';' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '|') {
                const std::size_t end = m_text.find("|;", m_pos + 2);
                m_pos = end == std::string_view::npos ? m_text.size() : end + 2;
            } else if (c == ';') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n' && m_text[m_pos] != '\r')
                    ++m_pos;
            } else {
                return true;
            }
        }
        return false;
    }

    LispValue readExpression(int depth, bool inList)
    {
        if (depth > kMaxDepth)
            fail(kStackLimit);
        const char c = m_text[m_pos];
        if (c == '(')
            return readList(depth);
        if (c == '"')
            return readString();
        if (c == '\'') {
            ++m_pos;
            if (!skipBlank() || m_text[m_pos] == ')')
                fail("malformed list on input");
            return LispValue::list({LispValue::symbol("QUOTE"), readExpression(depth + 1, inList)});
        }
        return readAtom(inList);
    }

    LispValue readList(int depth)
    {
        ++m_pos;
        Items items;
        for (;;) {
            if (!skipBlank())
                fail("malformed list on input");
            if (m_text[m_pos] == ')') {
                ++m_pos;
                break;
            }
            items.push_back(readExpression(depth + 1, true));
        }
        return items.empty() ? LispValue::nil() : LispValue::list(std::move(items));
    }

    LispValue readString()
    {
        ++m_pos;
        std::string text;
        for (;;) {
            if (m_pos >= m_text.size())
                fail("malformed string on input");
            const char c = m_text[m_pos++];
            if (c == '"')
                break;
            if (c != '\\') {
                text += c;
                continue;
            }
            if (m_pos >= m_text.size())
                fail("malformed string on input");
            const char e = m_text[m_pos++];
            switch (e) {
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case 'r':
                text += '\r';
                break;
            case 'e':
                text += '\x1b';
                break;
            default:
                if (e >= '0' && e <= '7') {
                    int code = e - '0';
                    for (int k = 0; k < 2 && m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '7'; ++k)
                        code = code * 8 + (m_text[m_pos++] - '0');
                    text += static_cast<char>(code & 0xFF);
                } else {
                    text += e; // \" and \\ and any other escaped character stand for themselves
                }
            }
        }
        return LispValue::fromString(std::move(text));
    }

    LispValue readAtom(bool inList)
    {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (isBlank(c) || c == '(' || c == ')' || c == '\'' || c == '"' || c == ';')
                break;
            ++m_pos;
        }
        const std::string_view token = m_text.substr(start, m_pos - start);
        if (token == ".")
            fail(inList ? "dotted pairs are not modelled by this host" : "misplaced dot on input");
        if (auto number = parseNumber(token))
            return *number;
        std::string name = toUpper(std::string(token));
        if (name == "NIL")
            return LispValue::nil();
        return LispValue::symbol(std::move(name));
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// --- Values

LispValue boolean(bool b)
{
    return b ? LispValue::t() : LispValue::nil();
}

LispValue makeList(Items items)
{
    return items.empty() ? LispValue::nil() : LispValue::list(std::move(items));
}

bool isNumber(const LispValue& v)
{
    return v.kind == Kind::Integer || v.kind == Kind::Real;
}

double numberOf(const LispValue& v)
{
    return v.kind == Kind::Integer ? static_cast<double>(v.integer) : v.real;
}

const std::string& needString(const LispValue& v)
{
    if (v.kind != Kind::String)
        fail("bad argument type: stringp " + printLisp(v));
    return v.text;
}

long long needFixnum(const LispValue& v)
{
    if (v.kind != Kind::Integer)
        fail("bad argument type: fixnump: " + printLisp(v));
    return v.integer;
}

double needNumber(const LispValue& v)
{
    if (!isNumber(v))
        fail("bad argument type: numberp: " + printLisp(v));
    return numberOf(v);
}

// The elements of a list argument; nil is the empty list. `predicate` names the type in the error.
const Items& needList(const LispValue& v, const char* predicate = "listp")
{
    static const Items empty;
    if (v.kind == Kind::Nil || (v.kind == Kind::List && v.items.empty()))
        return empty;
    if (v.kind != Kind::List)
        fail(std::string("bad argument type: ") + predicate + ' ' + printLisp(v));
    return v.items;
}

// A symbol a value may be given to.
const std::string& needVariable(const LispValue& v)
{
    if (v.kind != Kind::Symbol || v.text == "T" || v.text.empty())
        fail("bad argument type: symbolp " + printLisp(v));
    return v.text;
}

std::string checkedString(std::string text)
{
    if (text.size() > kMaxStringLength)
        fail("insufficient string space");
    return text;
}

bool lispEqual(const LispValue& a, const LispValue& b, double fuzz)
{
    if (isNumber(a) && isNumber(b))
        return std::fabs(numberOf(a) - numberOf(b)) <= fuzz;
    if (a.isNil() || b.isNil())
        return a.isNil() && b.isNil();
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case Kind::String:
    case Kind::Symbol:
        return a.text == b.text;
    case Kind::List:
        return a.items.size() == b.items.size() &&
               std::equal(a.items.begin(), a.items.end(), b.items.begin(),
                          [fuzz](const LispValue& x, const LispValue& y) { return lispEqual(x, y, fuzz); });
    default:
        return true; // T
    }
}

void printTo(std::string& out, const LispValue& v)
{
    switch (v.kind) {
    case Kind::Nil:
        out += "nil";
        break;
    case Kind::True:
        out += 'T';
        break;
    case Kind::Integer:
        out += std::to_string(v.integer);
        break;
    case Kind::Real:
        out += realText(v.real);
        break;
    case Kind::Symbol:
        out += v.text;
        break;
    case Kind::String:
        out += '"';
        for (const char c : v.text) {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\x1b':
                out += "\\e";
                break;
            default:
                out += c;
            }
        }
        out += '"';
        break;
    case Kind::List:
        if (v.items.empty()) {
            out += "nil";
            break;
        }
        out += '(';
        for (std::size_t i = 0; i < v.items.size(); ++i) {
            if (i > 0)
                out += ' ';
            printTo(out, v.items[i]);
        }
        out += ')';
        break;
    }
}

// --- Wild-card matching as wcmatch does it: case-sensitive, ',' separates patterns, '~' first negates.

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

// --- Interpreter

class Interpreter
{
public:
    explicit Interpreter(LispHost& lispHost) : m_host(lispHost) {}

    LispValue eval(const LispValue& form);
    LispValue evalBody(Forms body);
    LispValue callValue(const LispValue& function, Items args);

    // Charges a copied or stored value against the work limit and refuses one too large or too deep.
    void charge(const LispValue& value);
    void spend(long long units)
    {
        m_work += units;
        if (m_work > kMaxWork)
            fail("evaluation limit reached: the expression runs too long for the host to wait");
    }
    static void loopStep(long long& count)
    {
        if (++count > kMaxLoopIterations)
            fail("loop limit reached: more than " + std::to_string(kMaxLoopIterations) + " iterations");
    }

    LispValue lookup(const std::string& name);
    void assign(const std::string& name, LispValue value);

    LispHost& m_host;

private:
    LispValue evalCall(const LispValue& form);
    LispValue callUser(const LispValue& function, Items args);
    Items evalArgs(Forms forms);

    int m_depth = 0;
    long long m_work = 0;
};

class DepthGuard
{
public:
    explicit DepthGuard(int& depth) : m_depth(depth)
    {
        if (m_depth >= kMaxDepth)
            fail(kStackLimit);
        ++m_depth;
    }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& m_depth;
};

// Gives symbols a value for the extent of a function call or loop and restores the old values after,
// also when an error unwinds the evaluation (AutoLISP binds dynamically).
class LocalBindings
{
public:
    explicit LocalBindings(Interpreter& in) : m_in(in) {}
    ~LocalBindings()
    {
        try {
            for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
                m_in.assign(it->first, std::move(it->second));
        } catch (...) {
            // Out of memory while restoring: the evaluation is failing anyway.
        }
    }
    LocalBindings(const LocalBindings&) = delete;
    LocalBindings& operator=(const LocalBindings&) = delete;

    void bind(const std::string& name, LispValue value)
    {
        auto& symbols = m_in.m_host.symbols();
        const auto it = symbols.find(name);
        m_saved.emplace_back(name, it == symbols.end() ? LispValue::nil() : it->second);
        m_in.assign(name, std::move(value));
    }

private:
    Interpreter& m_in;
    std::vector<std::pair<std::string, LispValue>> m_saved;
};

using Subr = LispValue (*)(Interpreter&, Items&);
using Special = LispValue (*)(Interpreter&, Forms);

struct Builtin
{
    int minArgs = 0;
    int maxArgs = -1; // -1: any number
    Subr subr = nullptr;
    Special special = nullptr;
};

void checkArity(const Builtin& b, std::size_t count)
{
    if (count < static_cast<std::size_t>(b.minArgs))
        fail("too few arguments");
    if (b.maxArgs >= 0 && count > static_cast<std::size_t>(b.maxArgs))
        fail("too many arguments");
}

// --- Built-in functions that receive their arguments evaluated

LispValue arithmetic(Items& args, char op)
{
    if (args.empty())
        return LispValue::fromInteger(0);
    LispValue acc = std::move(args[0]);
    needNumber(acc);
    if (args.size() == 1 && op == '-')
        return acc.kind == Kind::Integer ? LispValue::fromInteger(wrap32(-acc.integer))
                                         : LispValue::fromReal(-acc.real);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const LispValue& b = args[i];
        needNumber(b);
        if (acc.kind == Kind::Integer && b.kind == Kind::Integer) {
            const long long x = acc.integer, y = b.integer;
            if ((op == '/' || op == '%') && y == 0)
                fail("divide by zero");
            const long long r = op == '+' ? x + y : op == '-' ? x - y : op == '*' ? x * y : op == '/' ? x / y : x % y;
            acc = LispValue::fromInteger(wrap32(r));
        } else {
            const double x = numberOf(acc), y = numberOf(b);
            if ((op == '/' || op == '%') && y == 0)
                fail("divide by zero");
            acc = LispValue::fromReal(op == '+'   ? x + y
                                      : op == '-' ? x - y
                                      : op == '*' ? x * y
                                      : op == '/' ? x / y
                                                  : std::fmod(x, y));
        }
    }
    return acc;
}

// Compares two values for =, /=, < and friends: numbers by value, strings by character codes.
int compareOrdered(const LispValue& a, const LispValue& b)
{
    if (a.kind == Kind::String) {
        const int c = a.text.compare(needString(b));
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    const double x = needNumber(a), y = needNumber(b);
    return x < y ? -1 : x > y ? 1 : 0;
}

// Applies a test to each pair of neighbouring arguments, as =, /=, < and friends do.
template <typename Test> LispValue chain(const Items& args, Test test)
{
    if (args.size() == 1)
        test(args[0], args[0]); // a single argument is still type-checked
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (!test(args[i], args[i + 1]))
            return LispValue::nil();
    return LispValue::t();
}

LispValue strcatOf(Items& args)
{
    std::string out;
    for (const LispValue& a : args) {
        out += needString(a);
        if (out.size() > kMaxStringLength)
            fail("insufficient string space");
    }
    return LispValue::fromString(std::move(out));
}

LispValue substrOf(Items& args)
{
    const std::string& s = needString(args[0]);
    const long long start = needFixnum(args[1]);
    if (start < 1)
        fail("bad argument value: positive " + printLisp(args[1]));
    const std::size_t from = byteOffset(s, static_cast<std::size_t>(start - 1));
    std::size_t to = s.size();
    if (args.size() > 2 && !args[2].isNil()) {
        const long long length = needFixnum(args[2]);
        if (length < 0)
            fail("bad argument value: non-negative " + printLisp(args[2]));
        to = from + byteOffset(std::string_view(s).substr(from), static_cast<std::size_t>(length));
    }
    return LispValue::fromString(s.substr(from, to - from));
}

// rtos in decimal (2) and scientific (1) units; LUNITS, LUPREC and DIMZIN supply the defaults as in the host.
LispValue rtosOf(Interpreter& in, Items& args)
{
    const double value = needNumber(args[0]);
    auto hostInteger = [&](const char* name, long long fallback) {
        const auto v = in.m_host.getvar(name);
        return v && v->kind == Kind::Integer ? v->integer : fallback;
    };
    const long long mode = args.size() > 1 && !args[1].isNil() ? needFixnum(args[1]) : hostInteger("LUNITS", 2);
    long long precision = args.size() > 2 && !args[2].isNil() ? needFixnum(args[2]) : hostInteger("LUPREC", 4);
    if (mode < 1 || mode > 5)
        fail("bad argument value: " + printLisp(LispValue::fromInteger(mode)));
    if (mode > 2)
        fail("rtos units mode " + std::to_string(mode) + " is not modelled by this host");
    precision = std::clamp(precision, 0LL, 8LL);
    if (!std::isfinite(value))
        return LispValue::fromString(realText(value));
    char buf[512];
    const auto format = mode == 1 ? std::chars_format::scientific : std::chars_format::fixed;
    const auto end = std::to_chars(buf, buf + sizeof buf, value, format, static_cast<int>(precision)).ptr;
    std::string text(buf, end);
    if (mode == 1) {
        std::replace(text.begin(), text.end(), 'e', 'E');
        return LispValue::fromString(text);
    }
    const long long dimzin = hostInteger("DIMZIN", 0);
    if ((dimzin & 8) && text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (dimzin & 4) {
        const std::size_t digit = text.front() == '-' ? 1 : 0;
        if (text.size() > digit + 1 && text[digit] == '0' && text[digit + 1] == '.')
            text.erase(digit, 1);
    }
    if (text == "-0")
        text = "0";
    return LispValue::fromString(text);
}

LispValue atoiOf(Items& args)
{
    const std::string_view digits = leadingNumber(needString(args[0]), false);
    long long value = 0;
    for (const char c : digits)
        if (isDigit(c) && value < 100000000000LL)
            value = value * 10 + (c - '0');
    return LispValue::fromInteger(wrap32(!digits.empty() && digits.front() == '-' ? -value : value));
}

LispValue atofOf(Items& args)
{
    std::string_view number = leadingNumber(needString(args[0]), true);
    if (!number.empty() && number.front() == '+')
        number.remove_prefix(1);
    double value = 0;
    if (!number.empty())
        std::from_chars(number.data(), number.data() + number.size(), value);
    return LispValue::fromReal(value);
}

std::size_t lastSeparator(const std::string& path)
{
    return path.find_last_of("\\/");
}

LispValue filenameBase(Items& args)
{
    const std::string& path = needString(args[0]);
    const std::size_t sep = lastSeparator(path);
    std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return LispValue::fromString(name);
}

LispValue filenameExtension(Items& args)
{
    const std::string& path = needString(args[0]);
    const std::size_t sep = lastSeparator(path);
    const std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return LispValue::nil();
    return LispValue::fromString(name.substr(dot));
}

LispValue filenameDirectory(Items& args)
{
    const std::string& path = needString(args[0]);
    const std::size_t sep = lastSeparator(path);
    return LispValue::fromString(sep == std::string::npos ? std::string() : path.substr(0, sep));
}

LispValue stringSubst(Items& args)
{
    const std::string& replacement = needString(args[0]);
    const std::string& pattern = needString(args[1]);
    std::string text = needString(args[2]);
    const std::size_t start =
        args.size() > 3 ? byteOffset(text, static_cast<std::size_t>(std::max(0LL, needFixnum(args[3])))) : 0;
    const std::size_t at = text.find(pattern, start);
    if (at == std::string::npos)
        return LispValue::fromString(std::move(text));
    text.replace(at, pattern.size(), replacement);
    return LispValue::fromString(checkedString(std::move(text)));
}

LispValue stringSearch(Items& args)
{
    const std::string& pattern = needString(args[0]);
    const std::string& text = needString(args[1]);
    const std::size_t start =
        args.size() > 2 ? byteOffset(text, static_cast<std::size_t>(std::max(0LL, needFixnum(args[2])))) : 0;
    const std::size_t at = text.find(pattern, start);
    if (at == std::string::npos)
        return LispValue::nil();
    return LispValue::fromInteger(static_cast<long long>(charCount(std::string_view(text).substr(0, at))));
}

LispValue car(const LispValue& v)
{
    const Items& items = needList(v, "consp");
    return items.empty() ? LispValue::nil() : items.front();
}

LispValue cdr(const LispValue& v)
{
    const Items& items = needList(v, "consp");
    if (items.size() < 2)
        return LispValue::nil();
    return LispValue::list(Items(items.begin() + 1, items.end()));
}

LispValue consOf(Items& args)
{
    if (!args[1].isNil() && args[1].kind != Kind::List)
        fail("dotted pairs are not modelled by this host: (cons " + printLisp(args[0]) + ' ' + printLisp(args[1]) +
             ')');
    Items items;
    items.reserve(args[1].items.size() + 1);
    items.push_back(std::move(args[0]));
    for (LispValue& v : args[1].items)
        items.push_back(std::move(v));
    return LispValue::list(std::move(items));
}

LispValue appendOf(Items& args)
{
    Items items;
    for (LispValue& a : args) {
        needList(a);
        for (LispValue& v : a.items)
            items.push_back(std::move(v));
    }
    return makeList(std::move(items));
}

LispValue memberOf(Items& args)
{
    const Items& items = needList(args[1]);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (lispEqual(args[0], items[i], 0))
            return LispValue::list(Items(items.begin() + static_cast<std::ptrdiff_t>(i), items.end()));
    return LispValue::nil();
}

LispValue assocOf(Items& args)
{
    for (const LispValue& entry : needList(args[1]))
        if (entry.kind == Kind::List && !entry.items.empty() && lispEqual(args[0], entry.items.front(), 0))
            return entry;
    return LispValue::nil();
}

LispValue removeOf(Items& args)
{
    Items kept;
    for (const LispValue& v : needList(args[1]))
        if (!lispEqual(args[0], v, 0))
            kept.push_back(v);
    return makeList(std::move(kept));
}

LispValue positionOf(Items& args)
{
    const Items& items = needList(args[1]);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (lispEqual(args[0], items[i], 0))
            return LispValue::fromInteger(static_cast<long long>(i));
    return LispValue::nil();
}

LispValue nthOf(Items& args)
{
    const long long n = needFixnum(args[0]);
    const Items& items = needList(args[1]);
    if (n < 0 || static_cast<std::size_t>(n) >= items.size())
        return LispValue::nil();
    return items[static_cast<std::size_t>(n)];
}

LispValue typeOf(Items& args)
{
    switch (args[0].kind) {
    case Kind::Nil:
        return LispValue::nil();
    case Kind::Integer:
        return LispValue::symbol("INT");
    case Kind::Real:
        return LispValue::symbol("REAL");
    case Kind::String:
        return LispValue::symbol("STR");
    case Kind::List:
        return args[0].items.empty() ? LispValue::nil() : LispValue::symbol("LIST");
    default:
        return LispValue::symbol("SYM");
    }
}

LispValue commandOf(Interpreter& in, Items& args)
{
    if (args.empty()) {
        in.m_host.cancelCommand();
        return LispValue::nil();
    }
    // Every argument is checked before the first is typed, so a bad call types nothing.
    std::vector<std::string> entries;
    for (const LispValue& a : args) {
        if (a.isNil())
            continue;
        auto entry = lispAnswer(a);
        if (!entry)
            fail("invalid AutoCAD command: " + printLisp(a));
        entries.push_back(std::move(*entry));
    }
    for (const std::string& entry : entries)
        in.m_host.command(entry);
    return LispValue::nil();
}

LispValue setvarOf(Interpreter& in, Items& args)
{
    const std::string name = toUpper(needString(args[0]));
    const std::string error = in.m_host.setvar(name, args[1]);
    if (!error.empty())
        throw LispError{error};
    return std::move(args[1]);
}

LispValue mapcarOf(Interpreter& in, Items& args)
{
    std::size_t count = SIZE_MAX;
    for (std::size_t i = 1; i < args.size(); ++i)
        count = std::min(count, needList(args[i]).size());
    Items results;
    for (std::size_t k = 0; k < count; ++k) {
        Items callArgs;
        for (std::size_t i = 1; i < args.size(); ++i)
            callArgs.push_back(args[i].items[k]);
        results.push_back(in.callValue(args[0], std::move(callArgs)));
    }
    return makeList(std::move(results));
}

// princ, prin1 and print give back their argument; what they would show is not part of the model.
// Without an argument they give the empty symbol, which the command line shows as nothing.
LispValue printFunction(Items& args)
{
    if (args.empty())
        return LispValue::symbol("");
    return std::move(args[0]);
}

// --- Special forms: they receive their argument forms unevaluated

LispValue quoteForm(Interpreter& in, Forms f)
{
    in.charge(f[0]);
    return f[0];
}

LispValue ifForm(Interpreter& in, Forms f)
{
    if (!in.eval(f[0]).isNil())
        return in.eval(f[1]);
    return f.size() > 2 ? in.eval(f[2]) : LispValue::nil();
}

LispValue condForm(Interpreter& in, Forms f)
{
    for (const LispValue& clause : f) {
        const Items& parts = needList(clause);
        if (parts.empty())
            continue;
        LispValue test = in.eval(parts.front());
        if (!test.isNil())
            return parts.size() > 1 ? in.evalBody(Forms(parts).subspan(1)) : test;
    }
    return LispValue::nil();
}

LispValue setqForm(Interpreter& in, Forms f)
{
    if (f.size() % 2 != 0)
        fail("too few arguments");
    LispValue last;
    for (std::size_t i = 0; i < f.size(); i += 2) {
        const std::string& name = needVariable(f[i]);
        last = in.eval(f[i + 1]);
        in.charge(last);
        in.assign(name, last);
    }
    return last;
}

LispValue andForm(Interpreter& in, Forms f)
{
    for (const LispValue& form : f)
        if (in.eval(form).isNil())
            return LispValue::nil();
    return LispValue::t();
}

LispValue orForm(Interpreter& in, Forms f)
{
    for (const LispValue& form : f)
        if (!in.eval(form).isNil())
            return LispValue::t();
    return LispValue::nil();
}

LispValue whileForm(Interpreter& in, Forms f)
{
    LispValue last;
    long long count = 0;
    while (!in.eval(f[0]).isNil()) {
        Interpreter::loopStep(count);
        last = in.evalBody(f.subspan(1));
    }
    return last;
}

LispValue repeatForm(Interpreter& in, Forms f)
{
    const long long times = needFixnum(in.eval(f[0]));
    LispValue last;
    long long count = 0;
    for (long long i = 0; i < times; ++i) {
        Interpreter::loopStep(count);
        last = in.evalBody(f.subspan(1));
    }
    return last;
}

LispValue foreachForm(Interpreter& in, Forms f)
{
    const std::string& name = needVariable(f[0]);
    const LispValue list = in.eval(f[1]);
    const Items& items = needList(list);
    LocalBindings bindings(in);
    bindings.bind(name, LispValue::nil());
    LispValue last;
    for (const LispValue& item : items) {
        in.charge(item);
        in.assign(name, item);
        last = in.evalBody(f.subspan(2));
    }
    return last;
}

LispValue lambdaForm(Interpreter& in, Forms f)
{
    Items items{LispValue::symbol("LAMBDA")};
    items.insert(items.end(), f.begin(), f.end());
    LispValue lambda = LispValue::list(std::move(items));
    in.charge(lambda);
    return lambda;
}

// A function defined by defun is kept, as AutoLISP once kept it, as the list (parameters body...).
LispValue defunForm(Interpreter& in, Forms f)
{
    const std::string& name = needVariable(f[0]);
    needList(f[1]);
    LispValue function = LispValue::list(Items(f.begin() + 1, f.end()));
    in.charge(function);
    in.assign(name, std::move(function));
    return LispValue::symbol(name);
}

const std::unordered_map<std::string_view, Builtin>& builtins()
{
    auto subr = [](int minArgs, int maxArgs, Subr run) { return Builtin{minArgs, maxArgs, run, nullptr}; };
    auto special = [](int minArgs, int maxArgs, Special run) { return Builtin{minArgs, maxArgs, nullptr, run}; };
    using In = Interpreter;
    static const std::unordered_map<std::string_view, Builtin> table = {
        // control
        {"QUOTE", special(1, 1, quoteForm)},
        {"FUNCTION", special(1, 1, quoteForm)},
        {"IF", special(2, 3, ifForm)},
        {"COND", special(0, -1, condForm)},
        {"PROGN", special(0, -1, [](In& in, Forms f) { return in.evalBody(f); })},
        {"SETQ", special(1, -1, setqForm)},
        {"AND", special(0, -1, andForm)},
        {"OR", special(0, -1, orForm)},
        {"WHILE", special(1, -1, whileForm)},
        {"REPEAT", special(1, -1, repeatForm)},
        {"FOREACH", special(2, -1, foreachForm)},
        {"LAMBDA", special(1, -1, lambdaForm)},
        {"DEFUN", special(2, -1, defunForm)},
        {"EVAL", subr(1, 1, [](In& in, Items& a) { return in.eval(a[0]); })},
        {"APPLY", subr(2, 2, [](In& in, Items& a) { return in.callValue(a[0], needList(a[1])); })},
        {"MAPCAR", subr(2, -1, mapcarOf)},
        {"SET", subr(2, 2,
                     [](In& in, Items& a) {
                         in.assign(needVariable(a[0]), a[1]);
                         return std::move(a[1]);
                     })},
        // numbers
        {"+", subr(0, -1, [](In&, Items& a) { return arithmetic(a, '+'); })},
        {"-", subr(0, -1, [](In&, Items& a) { return arithmetic(a, '-'); })},
        {"*", subr(0, -1, [](In&, Items& a) { return arithmetic(a, '*'); })},
        {"/", subr(0, -1, [](In&, Items& a) { return arithmetic(a, '/'); })},
        {"REM", subr(1, -1, [](In&, Items& a) { return arithmetic(a, '%'); })},
        {"1+", subr(1, 1,
                    [](In&, Items& a) {
                        Items two{std::move(a[0]), LispValue::fromInteger(1)};
                        return arithmetic(two, '+');
                    })},
        {"1-", subr(1, 1,
                    [](In&, Items& a) {
                        Items two{std::move(a[0]), LispValue::fromInteger(1)};
                        return arithmetic(two, '-');
                    })},
        {"ABS", subr(1, 1,
                     [](In&, Items& a) {
                         needNumber(a[0]);
                         return a[0].kind == Kind::Integer ? LispValue::fromInteger(wrap32(std::llabs(a[0].integer)))
                                                           : LispValue::fromReal(std::fabs(a[0].real));
                     })},
        {"FIX", subr(1, 1,
                     [](In&, Items& a) {
                         const double t = std::trunc(needNumber(a[0]));
                         // Beyond the integer range the host gives back the truncated real.
                         if (t >= INT32_MIN && t <= INT32_MAX)
                             return LispValue::fromInteger(static_cast<long long>(t));
                         return LispValue::fromReal(t);
                     })},
        {"FLOAT", subr(1, 1, [](In&, Items& a) { return LispValue::fromReal(needNumber(a[0])); })},
        {"MAX", subr(1, -1,
                     [](In&, Items& a) {
                         bool real = false;
                         for (const LispValue& v : a) {
                             needNumber(v);
                             real = real || v.kind == Kind::Real;
                         }
                         auto best = std::max_element(a.begin(), a.end(), [](const LispValue& x, const LispValue& y) {
                             return numberOf(x) < numberOf(y);
                         });
                         return real ? LispValue::fromReal(numberOf(*best)) : *best;
                     })},
        {"MIN", subr(1, -1,
                     [](In&, Items& a) {
                         bool real = false;
                         for (const LispValue& v : a) {
                             needNumber(v);
                             real = real || v.kind == Kind::Real;
                         }
                         auto best = std::min_element(a.begin(), a.end(), [](const LispValue& x, const LispValue& y) {
                             return numberOf(x) < numberOf(y);
                         });
                         return real ? LispValue::fromReal(numberOf(*best)) : *best;
                     })},
        {"ZEROP", subr(1, 1, [](In&, Items& a) { return boolean(needNumber(a[0]) == 0); })},
        {"MINUSP", subr(1, 1, [](In&, Items& a) { return boolean(needNumber(a[0]) < 0); })},
        {"NUMBERP", subr(1, 1, [](In&, Items& a) { return boolean(isNumber(a[0])); })},
        // comparisons and logic
        {"=", subr(1, -1, [](In&, Items& a) { return chain(a, [](auto& x, auto& y) { return lispEqual(x, y, 0); }); })},
        {"/=",
         subr(1, -1, [](In&, Items& a) { return chain(a, [](auto& x, auto& y) { return !lispEqual(x, y, 0); }); })},
        {"<", subr(1, -1,
                   [](In&, Items& a) {
                       return chain(a, [](auto& x, auto& y) {
                           const int c = compareOrdered(x, y);
                           return c < 0;
                       });
                   })},
        {">", subr(1, -1,
                   [](In&, Items& a) {
                       return chain(a, [](auto& x, auto& y) {
                           const int c = compareOrdered(x, y);
                           return c > 0;
                       });
                   })},
        {"<=", subr(1, -1,
                    [](In&, Items& a) {
                        return chain(a, [](auto& x, auto& y) {
                            const int c = compareOrdered(x, y);
                            return c <= 0;
                        });
                    })},
        {">=", subr(1, -1,
                    [](In&, Items& a) {
                        return chain(a, [](auto& x, auto& y) {
                            const int c = compareOrdered(x, y);
                            return c >= 0;
                        });
                    })},
        {"EQ", subr(2, 2, [](In&, Items& a) { return boolean(lispEqual(a[0], a[1], 0)); })},
        {"EQUAL", subr(2, 3,
                       [](In&, Items& a) {
                           const double fuzz = a.size() > 2 ? needNumber(a[2]) : 0.0;
                           return boolean(lispEqual(a[0], a[1], fuzz));
                       })},
        {"NOT", subr(1, 1, [](In&, Items& a) { return boolean(a[0].isNil()); })},
        {"NULL", subr(1, 1, [](In&, Items& a) { return boolean(a[0].isNil()); })},
        {"ATOM", subr(1, 1, [](In&, Items& a) { return boolean(a[0].kind != Kind::List || a[0].items.empty()); })},
        {"LISTP", subr(1, 1, [](In&, Items& a) { return boolean(a[0].isNil() || a[0].kind == Kind::List); })},
        {"TYPE", subr(1, 1, [](In&, Items& a) { return typeOf(a); })},
        // strings
        {"STRCAT", subr(0, -1, [](In&, Items& a) { return strcatOf(a); })},
        {"STRLEN", subr(0, -1,
                        [](In&, Items& a) {
                            std::size_t length = 0;
                            for (const LispValue& v : a)
                                length += charCount(needString(v));
                            return LispValue::fromInteger(static_cast<long long>(length));
                        })},
        {"SUBSTR", subr(2, 3, [](In&, Items& a) { return substrOf(a); })},
        {"STRCASE", subr(1, 2,
                         [](In&, Items& a) {
                             const std::string& s = needString(a[0]);
                             return LispValue::fromString(a.size() > 1 && !a[1].isNil() ? toLower(s) : toUpper(s));
                         })},
        {"ITOA", subr(1, 1, [](In&, Items& a) { return LispValue::fromString(std::to_string(needFixnum(a[0]))); })},
        {"ATOI", subr(1, 1, [](In&, Items& a) { return atoiOf(a); })},
        {"ATOF", subr(1, 1, [](In&, Items& a) { return atofOf(a); })},
        {"RTOS", subr(1, 3, rtosOf)},
        {"ASCII", subr(1, 1,
                       [](In&, Items& a) {
                           const std::u32string s = decode(needString(a[0]));
                           return LispValue::fromInteger(s.empty() ? 0 : static_cast<long long>(s.front()));
                       })},
        {"CHR", subr(1, 1,
                     [](In&, Items& a) {
                         const long long code = needFixnum(a[0]);
                         if (code < 0 || code > 0x10FFFF)
                             fail("bad argument value: " + printLisp(a[0]));
                         return LispValue::fromString(utf8Of(static_cast<char32_t>(code)));
                     })},
        {"WCMATCH", subr(2, 2, [](In&, Items& a) { return boolean(wildMatch(needString(a[0]), needString(a[1]))); })},
        {"VL-STRING-SUBST", subr(3, 4, [](In&, Items& a) { return stringSubst(a); })},
        {"VL-STRING-SEARCH", subr(2, 3, [](In&, Items& a) { return stringSearch(a); })},
        {"VL-FILENAME-BASE", subr(1, 1, [](In&, Items& a) { return filenameBase(a); })},
        {"VL-FILENAME-EXTENSION", subr(1, 1, [](In&, Items& a) { return filenameExtension(a); })},
        {"VL-FILENAME-DIRECTORY", subr(1, 1, [](In&, Items& a) { return filenameDirectory(a); })},
        {"VL-PRINC-TO-STRING", subr(1, 1,
                                    [](In&, Items& a) {
                                        return LispValue::fromString(a[0].kind == Kind::String ? a[0].text
                                                                                               : printLisp(a[0]));
                                    })},
        {"VL-PRIN1-TO-STRING", subr(1, 1, [](In&, Items& a) { return LispValue::fromString(printLisp(a[0])); })},
        // lists
        {"LIST", subr(0, -1, [](In&, Items& a) { return makeList(std::move(a)); })},
        {"CONS", subr(2, 2, [](In&, Items& a) { return consOf(a); })},
        {"CAR", subr(1, 1, [](In&, Items& a) { return car(a[0]); })},
        {"CDR", subr(1, 1, [](In&, Items& a) { return cdr(a[0]); })},
        {"CADR", subr(1, 1, [](In&, Items& a) { return car(cdr(a[0])); })},
        {"CDDR", subr(1, 1, [](In&, Items& a) { return cdr(cdr(a[0])); })},
        {"CADDR", subr(1, 1, [](In&, Items& a) { return car(cdr(cdr(a[0]))); })},
        {"CAAR", subr(1, 1, [](In&, Items& a) { return car(car(a[0])); })},
        {"LAST", subr(1, 1,
                      [](In&, Items& a) {
                          const Items& items = needList(a[0]);
                          return items.empty() ? LispValue::nil() : items.back();
                      })},
        {"NTH", subr(2, 2, [](In&, Items& a) { return nthOf(a); })},
        {"LENGTH",
         subr(1, 1,
              [](In&, Items& a) { return LispValue::fromInteger(static_cast<long long>(needList(a[0]).size())); })},
        {"APPEND", subr(0, -1, [](In&, Items& a) { return appendOf(a); })},
        {"REVERSE", subr(1, 1,
                         [](In&, Items& a) {
                             needList(a[0]);
                             std::reverse(a[0].items.begin(), a[0].items.end());
                             return std::move(a[0]);
                         })},
        {"MEMBER", subr(2, 2, [](In&, Items& a) { return memberOf(a); })},
        {"ASSOC", subr(2, 2, [](In&, Items& a) { return assocOf(a); })},
        {"VL-REMOVE", subr(2, 2, [](In&, Items& a) { return removeOf(a); })},
        {"VL-POSITION", subr(2, 2, [](In&, Items& a) { return positionOf(a); })},
        // the host
        {"LAYOUTLIST", subr(0, 0,
                            [](In& in, Items&) {
                                Items names;
                                for (std::string& name : in.m_host.layoutList())
                                    names.push_back(LispValue::fromString(std::move(name)));
                                return makeList(std::move(names));
                            })},
        {"GETVAR",
         subr(1, 1,
              [](In& in, Items& a) { return in.m_host.getvar(toUpper(needString(a[0]))).value_or(LispValue::nil()); })},
        {"SETVAR", subr(2, 2, setvarOf)},
        {"COMMAND", subr(0, -1, commandOf)},
        {"PRINC", subr(0, 2, [](In&, Items& a) { return printFunction(a); })},
        {"PRIN1", subr(0, 2, [](In&, Items& a) { return printFunction(a); })},
        {"PRINT", subr(0, 2, [](In&, Items& a) { return printFunction(a); })},
        {"TERPRI", subr(0, 0, [](In&, Items&) { return LispValue::nil(); })},
        {"PROMPT", subr(1, 1,
                        [](In&, Items& a) {
                            needString(a[0]);
                            return LispValue::nil();
                        })},
        {"VL-LOAD-COM", subr(0, 0, [](In&, Items&) { return LispValue::nil(); })},
    };
    return table;
}

// --- Interpreter, the evaluation itself

void measure(const LispValue& v, int depth, int& maxDepth, std::size_t& weight)
{
    maxDepth = std::max(maxDepth, depth);
    weight += 1 + v.text.size() / 8;
    if (depth > kMaxDepth + 1)
        return; // deep enough to refuse; no need to walk further
    for (const LispValue& item : v.items)
        measure(item, depth + 1, maxDepth, weight);
}

void Interpreter::charge(const LispValue& value)
{
    if (value.kind != Kind::List) {
        spend(1 + static_cast<long long>(value.text.size() / 8));
        return;
    }
    int maxDepth = 0;
    std::size_t weight = 0;
    measure(value, 0, maxDepth, weight);
    if (maxDepth > kMaxDepth)
        fail(kStackLimit);
    if (weight > kMaxValueWeight)
        fail("insufficient node space");
    spend(static_cast<long long>(weight));
}

LispValue Interpreter::lookup(const std::string& name)
{
    auto& symbols = m_host.symbols();
    if (const auto it = symbols.find(name); it != symbols.end()) {
        charge(it->second);
        return it->second;
    }
    if (name == "T")
        return LispValue::t();
    if (name == "PI")
        return LispValue::fromReal(std::numbers::pi);
    return LispValue::nil();
}

void Interpreter::assign(const std::string& name, LispValue value)
{
    auto& symbols = m_host.symbols();
    if (value.isNil())
        symbols.erase(name); // a symbol whose value is nil is unbound
    else
        symbols.insert_or_assign(name, std::move(value));
}

LispValue Interpreter::eval(const LispValue& form)
{
    spend(1);
    switch (form.kind) {
    case Kind::Symbol:
        return lookup(form.text);
    case Kind::List:
        if (!form.items.empty()) {
            DepthGuard guard(m_depth);
            return evalCall(form);
        }
        return LispValue::nil();
    case Kind::String:
        charge(form);
        return form;
    default:
        return form;
    }
}

LispValue Interpreter::evalBody(Forms body)
{
    LispValue last;
    for (const LispValue& form : body)
        last = eval(form);
    return last;
}

Items Interpreter::evalArgs(Forms forms)
{
    Items args;
    args.reserve(forms.size());
    for (const LispValue& form : forms)
        args.push_back(eval(form));
    return args;
}

LispValue Interpreter::evalCall(const LispValue& form)
{
    const LispValue& head = form.items.front();
    const Forms rest = Forms(form.items).subspan(1);
    if (head.kind == Kind::Symbol) {
        // A symbol with a value (a defun, a lambda) takes precedence over the built-in function of that name.
        LispValue value = lookup(head.text);
        if (value.kind == Kind::List)
            return callUser(value, evalArgs(rest));
        if (!value.isNil() && head.text != "T")
            fail("bad function: " + printLisp(value));
        const auto& table = builtins();
        const auto it = table.find(head.text);
        if (it == table.end())
            fail("no function definition: " + head.text);
        const Builtin& b = it->second;
        if (b.special) {
            checkArity(b, rest.size());
            return b.special(*this, rest);
        }
        Items args = evalArgs(rest);
        checkArity(b, args.size());
        return b.subr(*this, args);
    }
    if (head.kind == Kind::List)
        return callValue(eval(head), evalArgs(rest));
    fail("bad function: " + printLisp(head));
}

LispValue Interpreter::callValue(const LispValue& function, Items args)
{
    if (function.kind == Kind::List && !function.items.empty())
        return callUser(function, std::move(args));
    if (function.kind != Kind::Symbol)
        fail("bad function: " + printLisp(function));
    const auto& symbols = m_host.symbols();
    if (const auto it = symbols.find(function.text); it != symbols.end()) {
        if (it->second.kind != Kind::List)
            fail("bad function: " + printLisp(it->second));
        const LispValue user = it->second;
        return callUser(user, std::move(args));
    }
    const auto& table = builtins();
    const auto it = table.find(function.text);
    if (it == table.end())
        fail("no function definition: " + function.text);
    if (!it->second.subr)
        fail("bad function: " + function.text);
    checkArity(it->second, args.size());
    return it->second.subr(*this, args);
}

LispValue Interpreter::callUser(const LispValue& function, Items args)
{
    DepthGuard guard(m_depth);
    const Items& items = function.items;
    const std::size_t start = items.front().kind == Kind::Symbol && items.front().text == "LAMBDA" ? 1 : 0;
    if (start >= items.size() || (!items[start].isNil() && items[start].kind != Kind::List))
        fail("bad function: " + printLisp(function));

    // (parameters / locals)
    std::vector<std::string> parameters;
    std::vector<std::string> locals;
    bool afterSlash = false;
    for (const LispValue& p : items[start].items) {
        if (p.kind == Kind::Symbol && p.text == "/" && !afterSlash) {
            afterSlash = true;
            continue;
        }
        (afterSlash ? locals : parameters).push_back(needVariable(p));
    }
    if (args.size() < parameters.size())
        fail("too few arguments");
    if (args.size() > parameters.size())
        fail("too many arguments");

    LocalBindings bindings(*this);
    for (std::size_t i = 0; i < parameters.size(); ++i)
        bindings.bind(parameters[i], std::move(args[i]));
    for (const std::string& local : locals)
        bindings.bind(local, LispValue::nil());
    return evalBody(Forms(items).subspan(start + 1));
}

} // namespace

LispValue LispValue::t()
{
    LispValue v;
    v.kind = Kind::True;
    return v;
}

LispValue LispValue::fromInteger(long long value)
{
    LispValue v;
    v.kind = Kind::Integer;
    v.integer = value;
    return v;
}

LispValue LispValue::fromReal(double value)
{
    LispValue v;
    v.kind = Kind::Real;
    v.real = value;
    return v;
}

LispValue LispValue::fromString(std::string value)
{
    LispValue v;
    v.kind = Kind::String;
    v.text = std::move(value);
    return v;
}

LispValue LispValue::symbol(std::string name)
{
    LispValue v;
    v.kind = Kind::Symbol;
    v.text = toUpper(std::move(name));
    return v;
}

LispValue LispValue::list(std::vector<LispValue> items)
{
    LispValue v;
    v.kind = Kind::List;
    v.items = std::move(items);
    return v;
}

int lispDepth(std::string_view text)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == ';') {
            if (i + 1 < text.size() && text[i + 1] == '|') {
                const std::size_t end = text.find("|;", i + 2);
                if (end == std::string_view::npos)
                    break;
                i = end + 1;
            } else {
                while (i + 1 < text.size() && text[i + 1] != '\n' && text[i + 1] != '\r')
                    ++i;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            // More closed than opened cannot be mended by more text.
            if (--depth < 0)
                return depth;
        }
    }
    return depth;
}

std::optional<std::vector<LispValue>> readLisp(std::string_view text, std::string* error)
{
    try {
        return Reader(text).readAll();
    } catch (const LispError& e) {
        if (error)
            *error = e.message;
        return std::nullopt;
    }
}

LispOutcome evaluateLisp(std::string_view text, LispHost& host)
{
    LispOutcome outcome;
    try {
        // The whole text is read before anything runs, so a malformed text has no effect on the drawing.
        const Items forms = Reader(text).readAll();
        Interpreter interpreter(host);
        for (const LispValue& form : forms)
            outcome.value = interpreter.eval(form);
    } catch (const LispError& e) {
        outcome.value = LispValue::nil();
        outcome.error = e.message;
    } catch (const std::bad_alloc&) {
        outcome.value = LispValue::nil();
        outcome.error = "; error: insufficient node space";
    } catch (const std::exception& e) {
        outcome.value = LispValue::nil();
        outcome.error = std::string("; error: ") + e.what();
    }
    return outcome;
}

std::string printLisp(const LispValue& value)
{
    std::string out;
    printTo(out, value);
    return out;
}

std::optional<std::string> lispAnswer(const LispValue& value)
{
    switch (value.kind) {
    case Kind::String:
        return value.text;
    case Kind::Integer:
        return std::to_string(value.integer);
    case Kind::Real:
        if (!std::isfinite(value.real))
            return std::nullopt;
        return plainDecimal(value.real);
    case Kind::List: {
        if (value.items.size() < 2 || value.items.size() > 3)
            return std::nullopt;
        std::string point;
        for (const LispValue& c : value.items) {
            if (!isNumber(c) || !std::isfinite(numberOf(c)))
                return std::nullopt;
            if (!point.empty())
                point += ',';
            point += c.kind == Kind::Integer ? std::to_string(c.integer) : plainDecimal(c.real);
        }
        return point;
    }
    default:
        return std::nullopt;
    }
}

} // namespace qv::hostmodel
