#include "TextUtil.h"

#include <algorithm>

namespace qv {

std::string_view trimLeadingSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view trimTrailingSpaces(std::string_view text)
{
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string_view trimSpaces(std::string_view text)
{
    return trimTrailingSpaces(trimLeadingSpaces(text));
}

std::string toUpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && toUpperAscii(a) == toUpperAscii(b);
}

std::optional<int> parseInt16(std::string_view text)
{
    text = trimSpaces(text);
    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return std::nullopt;
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 32768)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > 32767 || value < -32768)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace qv
