#pragma once

// What the fuzz targets share: the input split into fields, the report of a property that does not hold, the
// product codes the tabs are built for and the digits of a number's text.

#include "config/CadProducts.h"
#include "text/TextUtil.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qv::fuzz {

// The text with control characters, quotes, backslashes and bytes above 0x7E written as escapes, so a
// report shows exactly which bytes were involved.
inline std::string visible(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b > 0x7E || c == '\\' || c == '"') {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

// The texts one after another, each in brackets.
inline std::string visibleList(const std::vector<std::string>& texts)
{
    std::string out;
    for (const std::string& text : texts)
        out += "[" + visible(text) + "]";
    return out;
}

// Every product code of the settings, the placeholder's empty code among them, then `extra` codes: ones
// spelt otherwise or unknown.
inline std::vector<std::string> productCodes(std::initializer_list<const char*> extra)
{
    std::vector<std::string> codes;
    for (const qv::CadProduct& product : qv::cadProducts())
        codes.emplace_back(product.code);
    codes.insert(codes.end(), extra.begin(), extra.end());
    return codes;
}

// The digits of a number's text without the spaces around it and the zeros in front; empty when it is not all
// digits.
inline std::string_view digitsOf(std::string_view text)
{
    std::string_view digits = qv::trimSpaces(text);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return {};
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    return digits;
}

// Ends the run: libFuzzer keeps the input that broke the property, the replay test fails.
[[noreturn]] inline void fail(const char* file, int line, const char* property, const std::string& detail)
{
    std::fprintf(stderr, "\n%s:%d: property does not hold: %s\n", file, line, property);
    if (!detail.empty())
        std::fprintf(stderr, "%s\n", detail.c_str());
    std::fflush(stderr);
    std::abort();
}

// FUZZ_REQUIRE(condition) or FUZZ_REQUIRE(condition, detail): detail is a std::string built only on failure.
#define FUZZ_REQUIRE(condition, ...)                                                                                   \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::qv::fuzz::fail(__FILE__, __LINE__, #condition, std::string(__VA_ARGS__));                                \
    } while (false)

// The input as text.
inline std::string_view asText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// The input split at NUL bytes into fields, so that one hand-made seed can give a target several texts and
// switches. A field past the end reads as empty, a byte past the end of a field as 0.
class Fields
{
public:
    explicit Fields(std::string_view data)
    {
        std::size_t start = 0;
        while (true) {
            const std::size_t end = data.find('\0', start);
            m_fields.push_back(data.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
            if (end == std::string_view::npos)
                break;
            start = end + 1;
        }
    }

    std::size_t size() const { return m_fields.size(); }
    std::string_view operator[](std::size_t index) const { return index < m_fields.size() ? m_fields[index] : ""; }
    std::string text(std::size_t index) const { return std::string((*this)[index]); }
    std::uint8_t byte(std::size_t index, std::size_t at = 0) const
    {
        const std::string_view field = (*this)[index];
        return at < field.size() ? static_cast<std::uint8_t>(field[at]) : 0;
    }

private:
    std::vector<std::string_view> m_fields;
};

// Lines of text split at CR LF only. Ok is false when a CR or an LF stands alone.
struct CrLfLines
{
    std::vector<std::string_view> lines;
    bool ok = true;
};

inline CrLfLines splitCrLf(std::string_view text)
{
    CrLfLines out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out.lines.push_back(text.substr(start, i - start));
            start = i + 2;
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            out.ok = false;
        }
    }
    out.lines.push_back(text.substr(start));
    return out;
}

} // namespace qv::fuzz
