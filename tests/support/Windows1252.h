#pragma once

#include <string>
#include <string_view>

// Scripts, lists and settings hold text as Windows-1252 bytes; tests build them from UTF-8 text (paths of
// the temporary folder among them). Bytes that are not part of a UTF-8 sequence pass as they are, so a
// test may still write Windows-1252 bytes of its own.
inline std::string toWindows1252(std::string_view utf8)
{
    // The characters of 0x80..0x9F; 0 where the code page has none.
    static constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                           0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t length = 0;
        if ((b & 0xE0) == 0xC0 && i + 1 < utf8.size() && (utf8[i + 1] & 0xC0) == 0x80) {
            cp = ((b & 0x1Fu) << 6) | (utf8[i + 1] & 0x3Fu);
            length = 2;
        } else if ((b & 0xF0) == 0xE0 && i + 2 < utf8.size() && (utf8[i + 1] & 0xC0) == 0x80 &&
                   (utf8[i + 2] & 0xC0) == 0x80) {
            cp = ((b & 0x0Fu) << 12) | ((utf8[i + 1] & 0x3Fu) << 6) | (utf8[i + 2] & 0x3Fu);
            length = 3;
        }
        int byte = -1;
        if (length == 2 && cp >= 0xA0 && cp <= 0xFF) {
            byte = static_cast<int>(cp);
        } else if (length != 0) {
            for (int k = 0; k < 32; ++k) {
                if (kHigh[k] != 0 && kHigh[k] == cp) {
                    byte = 0x80 + k;
                }
            }
        }
        if (byte < 0) {
            out += utf8[i];
            continue;
        }
        out += static_cast<char>(byte);
        i += length - 1;
    }
    return out;
}
