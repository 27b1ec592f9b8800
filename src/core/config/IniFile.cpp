#include "IniFile.h"

#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <optional>
#include <vector>

namespace qv::ini {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v';
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Upper case of a Windows-1252 byte: ASCII letters and the code page's own letters.
unsigned char foldCase(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

bool namesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(static_cast<unsigned char>(a[i])) != foldCase(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

// One physical line of the file, with the byte range of its text (without the line break).
struct Line
{
    std::size_t begin = 0;
    std::size_t end = 0;     // end of text
    std::size_t next = 0;    // start of the following line (after the line break)
    LineKind kind = LineKind::Blank;
    std::string_view name;   // section name or key name
    std::string_view value;  // raw value of a key line (after "=")
};

std::vector<Line> parseLines(std::string_view file)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < file.size()) {
        Line line;
        line.begin = pos;
        std::size_t end = file.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = file.size();
        line.end = end;
        line.next = end;
        if (line.next < file.size()) {
            if (file[line.next] == '\r' && line.next + 1 < file.size() && file[line.next + 1] == '\n')
                line.next += 2;
            else
                line.next += 1;
        }
        const std::string_view text = file.substr(line.begin, line.end - line.begin);
        const std::string_view trimmed = trimBlanks(text);
        if (trimmed.empty()) {
            line.kind = LineKind::Blank;
        } else if (trimmed.front() == ';') {
            line.kind = LineKind::Comment;
        } else if (trimmed.front() == '[') {
            line.kind = LineKind::Section;
            std::string_view name = trimmed.substr(1);
            const auto close = name.find(']');
            if (close != std::string_view::npos)
                name = name.substr(0, close);
            line.name = trimBlanks(name);
        } else if (const auto eq = text.find('='); eq != std::string_view::npos) {
            line.kind = LineKind::Key;
            line.name = trimBlanks(text.substr(0, eq));
            line.value = text.substr(eq + 1);
        } else {
            line.kind = LineKind::Other;
        }
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// Index range [first, last) of the lines inside the first section of that name.
struct SectionRange
{
    std::size_t header = 0;
    std::size_t first = 0;
    std::size_t last = 0;
};

std::optional<SectionRange> findSection(const std::vector<Line>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section || !namesEqual(lines[i].name, section))
            continue;
        SectionRange range{i, i + 1, i + 1};
        while (range.last < lines.size() && lines[range.last].kind != LineKind::Section)
            ++range.last;
        return range;
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line>& lines, const SectionRange& range, std::string_view key)
{
    for (std::size_t i = range.first; i < range.last; ++i) {
        if (lines[i].kind == LineKind::Key && namesEqual(lines[i].name, key))
            return i;
    }
    return std::nullopt;
}

std::string_view unquoteValue(std::string_view raw)
{
    std::string_view value = trimBlanks(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::string readValue(std::string_view file, std::string_view section, std::string_view key, std::string_view fallback)
{
    section = trimSpaces(section);
    key = trimSpaces(key);
    const std::vector<Line> lines = parseLines(file);
    std::string_view result = fallback;
    if (const auto range = findSection(lines, section)) {
        if (const auto index = findKey(lines, *range, key))
            result = unquoteValue(lines[*index].value);
    }
    if (result.size() > kMaxReadLength)
        result = result.substr(0, kMaxReadLength);
    return std::string(result);
}

Result<std::string> writeValue(std::string_view file, std::string_view section, std::string_view key,
                               std::string_view value)
{
    if (containsLineBreak(section) || containsLineBreak(key) || containsLineBreak(value))
        return Error{ErrInvalidText, "A setting cannot hold a line break."};
    section = trimSpaces(section);
    key = trimSpaces(key);
    if (section.empty() || key.empty())
        return Error{ErrInvalidProcedureCall, "A setting needs a section and a key name."};
    // A name must read back as itself: the reader trims tabs too, ends a section name at "]", splits a
    // key line at its first "=", and takes a line starting with "[" or ";" for a section or a comment.
    if (trimBlanks(section) != section || section.find(']') != std::string_view::npos)
        return Error{ErrInvalidText, "A setting's section name cannot hold \"]\" or begin or end with a tab: [" +
                                         std::string(section) + "]"};
    if (trimBlanks(key) != key || key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';')
        return Error{ErrInvalidText, "A setting's key name cannot hold \"=\", begin with \"[\" or \";\", or begin or "
                                     "end with a tab: " +
                                         std::string(key)};

    const std::string newLine = std::string(key) + "=" + std::string(value) + std::string(kCrLf);
    const std::vector<Line> lines = parseLines(file);
    const auto range = findSection(lines, section);
    std::string out;
    out.reserve(file.size() + newLine.size() + section.size() + 4);

    if (!range) {
        out.append(file);
        if (!file.empty() && file.back() != '\n' && file.back() != '\r')
            out += kCrLf;
        out += "[";
        out += section;
        out += "]";
        out += kCrLf;
        out += newLine;
        return out;
    }

    if (const auto index = findKey(lines, *range, key)) {
        // Same line, original key spelling, new value; the line break stays as it was.
        const Line& line = lines[*index];
        out.append(file.substr(0, line.begin));
        out.append(line.name);
        out += "=";
        out.append(value);
        out.append(file.substr(line.end));
        return out;
    }

    // New key after the last entry of the section, before its trailing comments and blank lines.
    std::size_t after = range->header;
    for (std::size_t i = range->first; i < range->last; ++i) {
        if (lines[i].kind == LineKind::Key || lines[i].kind == LineKind::Other)
            after = i;
    }
    const Line& anchor = lines[after];
    if (anchor.next == anchor.end) {
        // The anchor is the last line and has no line break of its own.
        out.append(file);
        out += kCrLf;
        out += newLine;
        return out;
    }
    out.append(file.substr(0, anchor.next));
    out += newLine;
    out.append(file.substr(anchor.next));
    return out;
}

} // namespace qv::ini
