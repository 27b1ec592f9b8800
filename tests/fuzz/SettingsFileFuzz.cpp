// The settings file: any bytes read without harm, and a write changes exactly the one setting it names, to a
// value that reads back, while refusing only names that could not be read back.
//
// Input: the file's bytes, then NUL, section, NUL, key, NUL, value.

#include "FuzzSupport.h"
#include "config/IniFile.h"

#include <utility>

namespace {

using namespace qv::fuzz;

constexpr std::string_view kMissing = "\x01missing";
// Each probe reads the whole file again: enough of them to cover a file, few enough to keep runs quick.
constexpr std::size_t kMaxProbes = 32;

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

// Every (section, key) the file seems to hold, found the simple way: a line starting with "[" opens a
// section, a line with "=" names a key.
std::vector<std::pair<std::string, std::string>> namesIn(std::string_view file)
{
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    std::size_t start = 0;
    while (start <= file.size()) {
        std::size_t end = file.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = file.size();
        const std::string_view line = trimBlanks(file.substr(start, end - start));
        if (!line.empty() && line.front() == '[') {
            section = std::string(trimBlanks(line.substr(1, line.find(']') - 1)));
        } else if (const auto eq = line.find('='); eq != std::string_view::npos && !line.starts_with(";")) {
            names.emplace_back(section, std::string(trimBlanks(line.substr(0, eq))));
            if (names.size() == kMaxProbes)
                break;
        }
        start = end + 1;
    }
    return names;
}

// The oracle's own trim and line-break test: the ones of the core are what the settings file itself uses.
std::string_view trimSpaces(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool holdsLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

void checkRead(std::string_view file, std::string_view section, std::string_view key)
{
    const std::string value = qv::ini::readValue(file, section, key, kMissing);
    FUZZ_REQUIRE(value.size() <= qv::ini::kMaxReadLength);
    FUZZ_REQUIRE(!holdsLineBreak(value), "value " + visible(value));
}

void checkWrite(std::string_view file, std::string_view section, std::string_view key, std::string_view value)
{
    const auto written = qv::ini::writeValue(file, section, key, value);
    if (!written.ok()) {
        // Refused: a line break anywhere, a blank name, or a name that a file holding it would not give back.
        if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value))
            return;
        if (trimSpaces(section).empty() || trimSpaces(key).empty())
            return;
        const std::string plain = "[" + std::string(section) + "]\r\n" + std::string(key) + "=v\r\n";
        const bool readsBack = qv::ini::readValue(plain, section, key, kMissing) == "v";
        FUZZ_REQUIRE(!readsBack,
                     "refused [" + visible(section) + "] " + visible(key) + ": " + written.error().description);
        return;
    }
    const std::string& out = written.value();

    // The value reads back as it does from a file holding nothing else.
    const auto alone = qv::ini::writeValue("", section, key, value);
    FUZZ_REQUIRE(alone.ok());
    const std::string expected = qv::ini::readValue(alone.value(), section, key, kMissing);
    const std::string read = qv::ini::readValue(out, section, key, kMissing);
    FUZZ_REQUIRE(read == expected, "read " + visible(read) + ", expected " + visible(expected));
    // A value without blanks or quotes around it and short enough reads back exactly.
    const bool plainValue = value.size() <= qv::ini::kMaxReadLength && trimBlanks(value) == value &&
                            !value.starts_with("\"") && !value.starts_with("'");
    if (plainValue)
        FUZZ_REQUIRE(read == value, "read " + visible(read) + ", written " + visible(value));

    // Writing the same again changes nothing.
    const auto again = qv::ini::writeValue(out, section, key, value);
    FUZZ_REQUIRE(again.ok() && again.value() == out);

    // Every other setting of the file reads as before. A probe names the same setting when a write of a
    // marker to (section, key) shows through it.
    const auto marked = qv::ini::writeValue(file, section, key, "\x02");
    FUZZ_REQUIRE(marked.ok());
    for (const auto& [otherSection, otherKey] : namesIn(file)) {
        if (qv::ini::readValue(marked.value(), otherSection, otherKey, kMissing) == "\x02")
            continue;
        const std::string before = qv::ini::readValue(file, otherSection, otherKey, kMissing);
        const std::string after = qv::ini::readValue(out, otherSection, otherKey, kMissing);
        FUZZ_REQUIRE(before == after, "[" + visible(otherSection) + "] " + visible(otherKey) + " was " +
                                          visible(before) + ", now " + visible(after));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = qv::fuzz::asText(data, size);

    // The whole input as a file, read with names it may or may not hold.
    for (const auto& [section, key] : namesIn(input))
        checkRead(input, section, key);
    checkRead(input, "Acad_Address", "AcadAddress");

    const Fields fields(input);
    if (fields.size() >= 4)
        checkWrite(fields[0], fields[1], fields[2], fields[3]);
    return 0;
}
