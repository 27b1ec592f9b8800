#include "Text.h"

#include <cctype>
#include <cstdlib>

namespace qv::hostmodel {

std::string stripQuotes(const std::string& entry)
{
    if (entry.size() >= 2 && entry.front() == '"' && entry.back() == '"') {
        return entry.substr(1, entry.size() - 2);
    }
    return entry;
}

std::optional<double> parseNumber(std::string_view text)
{
    // sign, digits with at most one point and at least one digit, optional exponent
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        const std::size_t start = j;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            ++j;
        }
        if (j == start) {
            return std::nullopt;
        }
        i = j;
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return std::strtod(std::string(text).c_str(), nullptr);
}

std::optional<long long> parseInteger(std::string_view text)
{
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i == text.size() || text.size() > 18) {
        return std::nullopt;
    }
    for (std::size_t j = i; j < text.size(); ++j) {
        if (!std::isdigit(static_cast<unsigned char>(text[j]))) {
            return std::nullopt;
        }
    }
    return std::strtoll(std::string(text).c_str(), nullptr, 10);
}

std::optional<std::vector<double>> parsePoint(std::string_view entry)
{
    if (!entry.empty() && entry.front() == '@') {
        entry.remove_prefix(1);
    }
    std::vector<double> coordinates;
    std::size_t start = 0;
    while (start <= entry.size()) {
        const std::size_t comma = entry.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? entry.size() : comma;
        const std::optional<double> value = parseNumber(entry.substr(start, end - start));
        if (!value) {
            return std::nullopt;
        }
        coordinates.push_back(*value);
        start = end + 1;
    }
    if (coordinates.size() < 2 || coordinates.size() > 3) {
        return std::nullopt;
    }
    return coordinates;
}

namespace {

// "1/4", "3" or "1.5"; "2-1/2" when mixed is allowed.
std::optional<double> parseInches(std::string_view text)
{
    if (const std::size_t dash = text.find('-', 1); dash != std::string_view::npos) {
        const std::optional<double> whole = parseNumber(text.substr(0, dash));
        const std::optional<double> part = parseInches(text.substr(dash + 1));
        if (!whole || !part || text.substr(dash + 1).find('/') == std::string_view::npos) {
            return std::nullopt;
        }
        return *whole + *part;
    }
    if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
        const std::optional<double> top = parseNumber(text.substr(0, slash));
        const std::optional<double> bottom = parseNumber(text.substr(slash + 1));
        if (!top || !bottom || *bottom == 0.0) {
            return std::nullopt;
        }
        return *top / *bottom;
    }
    return parseNumber(text);
}

} // namespace

std::optional<double> parseDistance(std::string_view text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    const std::size_t foot = text.find('\'');
    if (foot == std::string_view::npos) {
        if (text.back() == '"') {
            text.remove_suffix(1);
        }
        return parseInches(text);
    }
    const std::optional<double> feet = parseNumber(text.substr(0, foot));
    if (!feet) {
        return std::nullopt;
    }
    std::string_view rest = text.substr(foot + 1);
    if (rest.empty()) {
        return *feet * 12.0;
    }
    if (rest.front() == '-') {
        rest.remove_prefix(1);
    }
    if (rest.empty() || rest.back() != '"') {
        return std::nullopt;
    }
    rest.remove_suffix(1);
    const std::optional<double> inches = parseInches(rest);
    if (!inches) {
        return std::nullopt;
    }
    return *feet * 12.0 + *inches;
}

std::string folderOf(const std::string& path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string nameOf(const std::string& path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string withExtension(const std::string& path, std::string_view extension)
{
    const std::string name = nameOf(path);
    const std::size_t dot = name.find_last_of('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    return folderOf(path) + stem + std::string(extension);
}

} // namespace qv::hostmodel
