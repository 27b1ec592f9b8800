#include "LispInternal.h"

#include <charconv>
#include <cmath>
#include <cstdint>

// Reading AutoLISP text into values, as the host reads a whole expression before it evaluates any of it.

namespace qv::hostmodel {
namespace lisp {
namespace {

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

} // namespace

Items readForms(std::string_view text)
{
    return Reader(text).readAll();
}

} // namespace lisp

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
        return lisp::readForms(text);
    } catch (const lisp::LispError& e) {
        if (error)
            *error = e.message;
        return std::nullopt;
    }
}

} // namespace qv::hostmodel
