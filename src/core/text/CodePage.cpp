#include "CodePage.h"

#include <array>
#include <cstdint>

namespace qv {
namespace {

// Unicode code points of the bytes 0x80..0x9F in Windows-1252.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t decodeByte(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return kHighControls[b - 0x80];
    return b;
}

int encodeCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Reads one code point at pos; returns false on malformed UTF-8.
bool nextCodePoint(std::string_view text, std::size_t& pos, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    int extra = 0;
    if (lead < 0x80) {
        cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        cp = lead & 0x1F;
        extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
        cp = lead & 0x0F;
        extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
        cp = lead & 0x07;
        extra = 3;
    } else {
        return false;
    }
    if (pos + extra >= text.size())
        return false;
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr std::array<char32_t, 4> kMin = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    pos += extra + 1;
    return true;
}

} // namespace

// Length of the run of ASCII bytes at the start of the text.
static std::size_t asciiRun(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size() && static_cast<unsigned char>(text[n]) < 0x80)
        ++n;
    return n;
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    // Text is mostly ASCII: each run is copied at once, only the other bytes are converted one by one.
    while (!bytes.empty()) {
        const std::size_t run = asciiRun(bytes);
        out.append(bytes.data(), run);
        bytes.remove_prefix(run);
        if (!bytes.empty()) {
            appendUtf8(out, decodeByte(static_cast<unsigned char>(bytes.front())));
            bytes.remove_prefix(1);
        }
    }
    return out;
}

Result<std::string> utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t run = asciiRun(text.substr(pos));
        if (run > 0) {
            out.append(text.data() + pos, run);
            pos += run;
            continue;
        }
        const std::size_t start = pos;
        char32_t cp = 0;
        if (!nextCodePoint(text, pos, cp))
            return Error{ErrInvalidText, "The text is not valid UTF-8."};
        const int encoded = encodeCodePoint(cp);
        if (encoded < 0) {
            return Error{ErrInvalidText, "The character \"" + std::string(text.substr(start, pos - start)) +
                                             "\" cannot be stored: files use the Windows-1252 character set."};
        }
        out += static_cast<char>(encoded);
    }
    return out;
}

bool fitsCp1252(std::string_view text)
{
    return utf8ToCp1252(text).ok();
}

std::size_t utf8Length(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

} // namespace qv
