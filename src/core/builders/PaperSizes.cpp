#include "PaperSizes.h"

#include "io/FileIo.h"
#include "text/CodePage.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <array>

namespace qv {
namespace {

constexpr std::array<PaperStandard, 8> kStandards = {{
    {kManualStandard, kManualPaperCode},
    {kCustomStandard, kCustomPaperCode},
    {"ANSI", 1},
    {"ISO", 2},
    {"ARCH", 3},
    {"DIN", 4},
    {"JIS", 5},
    {"Pixels", kPixelPaperCode},
}};

// The CAD application's own paper names, spelled and ordered as it lists them.
// clang-format off
constexpr std::array<std::string_view, 37> kAnsiPapers = {
    "ANSI A (11.00 x 8.50 Inches)", "ANSI A (8.50 x 11.00 Inches)", "ANSI B (11.00 x 17.00 Inches)",
    "ANSI B (17.00 x 11.00 Inches)", "ANSI C (17.00 x 22.00 Inches)", "ANSI C (22.00 x 17.00 Inches)",
    "ANSI D (22.00 x 34.00 Inches)", "ANSI D (34.00 x 22.00 Inches)", "ANSI E (34.00 x 44.00 Inches)",
    "ANSI E (44.00 x 34.00 Inches)", "ANSI F (28.00 x 40.00 Inches)", "ANSI F (40.00 x 28.00 Inches)",
    "ANSI Super B (13.00 x 19.00 Inches)", "ANSI Super B (19.00 x 13.00 Inches)",
    "ANSI expand A (11.00 x 8.50 Inches)", "ANSI expand A (8.50 x 11.00 Inches)",
    "ANSI expand B (11.00 x 17.00 Inches)", "ANSI expand B (17.00 x 11.00 Inches)",
    "ANSI expand C (17.00 x 22.00 Inches)", "ANSI expand C (22.00 x 17.00 Inches)",
    "ANSI expand D (22.00 x 34.00 Inches)", "ANSI expand D (34.00 x 22.00 Inches)",
    "ANSI expand E (34.00 x 44.00 Inches)", "ANSI expand E (44.00 x 34.00 Inches)",
    "ANSI expand F (28.00 x 40.00 Inches)", "ANSI expand F (40.00 x 28.00 Inches)",
    "ANSI expand Super B (13.00 x 19.00 Inches)", "ANSI expand Super B (19.00 x 13.00 Inches)", "A+ 9x12 in",
    "B 11x17 in", "B+ 12x18 in", "C 17x22 in", "C+ 18x24 in", "D 22x34 in", "D+ 24x36 in", "E 34x44 in",
    "E+ 36x48 in",
};

constexpr std::array<std::string_view, 47> kIsoPapers = {
    "A4", "A0 841x1189 mm", "A2 420x594 mm", "A4 210 x 297 mm", "B2 500x707 mm", "ISO A0 (841.00 x 1189.00 MM)",
    "ISO A1 (841.00 x 594.00 MM)", "ISO A2 (594.00 x 420.00 MM)", "ISO A3 (420.00 x 297.00 MM)",
    "ISO A4 (297.00 x 210.00 MM)", "ISO A5 (210.00 x 148.50 MM)", "ISO A6 (148.50 x 105.00 MM)",
    "ISO B1 (707.00 x 1000.00 MM)", "ISO B2 (707.00 x 500.00 MM)", "ISO B3 (500.00 x 353.00 MM)",
    "ISO B4 (354.00 x 250.00 MM)", "ISO B5 (237.00 x 182.00 MM)", "500 mm (700.00 x 500.00 MM)",
    "700 mm (700.00 x 1000.00 MM)", "ISO RA0 (860.00 x 1220.00 MM)", "ISO RA1 (860.00 x 610.00 MM)",
    "ISO RA2 (610.00 x 430.00 MM)", "ISO SRA0 (900.00 x 1280.00 MM)", "ISO SRA1 (900.00 x 640.00 MM)",
    "ISO SRA2 (640.00 x 450.00 MM)", "ISO Super A3 (483.00 x 330.00 MM)", "ISO expand A0 (841.00 x 1189.00 MM)",
    "ISO expand A1 (841.00 x 594.00 MM)", "ISO expand A2 (594.00 x 420.00 MM)",
    "ISO expand A3 (420.00 x 297.00 MM)", "ISO expand A4 (297.00 x 210.00 MM)",
    "ISO expand A5 (210.00 x 148.50 MM)", "ISO expand A6 (148.50 x 105.00 MM)",
    "ISO expand B1 (707.00 x 1000.00 MM)", "ISO expand B2 (707.00 x 500.00 MM)",
    "ISO expand B3 (500.00 x 353.00 MM)", "ISO expand B4 (354.00 x 250.00 MM)",
    "ISO expand B5 (237.00 x 182.00 MM)", "ISO expand RA0 (860.00 x 1220.00 MM)",
    "ISO expand RA1 (610.00 x 860.00 MM)", "ISO expand RA2 (430.00 x 610.00 MM)",
    "ISO expand SRA0 (1280.00 x 900.00 MM)", "ISO expand SRA1 (640.00 x 900.00 MM)",
    "ISO expand SRA2 (450.00 x 640.00 MM)", "ISO expand Super A3 (330.00 x 483.00 MM)",
    "Expand 500 mm (500.00 x 700.00 MM)", "Expand 700 mm (1000.00 x 700.00 MM)",
};

constexpr std::array<std::string_view, 32> kArchPapers = {
    "ARCH A (9.00 x 12.00 Inches)", "ARCH A (12.00 x 9.00 Inches)", "ARCH B (12.00 x 18.00 Inches)",
    "ARCH B (18.00 x 12.00 Inches)", "ARCH C (18.00 x 24.00 Inches)", "ARCH C (24.00 x 18.00 Inches)",
    "ARCH D (24.00 x 36.00 Inches)", "ARCH D (36.00 x 24.00 Inches)", "ARCH E (36.00 x 48.00 Inches)",
    "ARCH E (48.00 x 36.00 Inches)", "ARCH E1 (30.00 x 42.00 Inches)", "ARCH E1 (42.00 x 30.00 Inches)",
    "ARCH E2 (26.00 x 38.00 Inches)", "ARCH E2 (38.00 x 26.00 Inches)", "ARCH E3 (27.00 x 39.00 Inches)",
    "ARCH E3 (39.00 x 27.00 Inches)", "ARCH expand A (12.00 x 9.00 Inches)", "ARCH expand A (9.00 x 12.00 Inches)",
    "ARCH expand B (12.00 x 18.00 Inches)", "ARCH expand B (18.00 x 12.00 Inches)",
    "ARCH expand C (18.00 x 24.00 Inches)", "ARCH expand C (24.00 x 18.00 Inches)",
    "ARCH expand D (24.00 x 36.00 Inches)", "ARCH expand D (36.00 x 24.00 Inches)",
    "ARCH expand E (36.00 x 48.00 Inches)", "ARCH expand E (48.00 x 36.00 Inches)",
    "ARCH expand E1 (30.00 x 42.00 Inches)", "ARCH expand E1 (42.00 x 30.00 Inches)",
    "ARCH expand E2 (26.00 x 38.00 Inches)", "ARCH expand E2 (38.00 x 26.00 Inches)",
    "ARCH expand E3 (27.00 x 39.00 Inches)", "ARCH expand E3 (39.00 x 27.00 Inches)",
};

constexpr std::array<std::string_view, 10> kDinPapers = {
    "DIN C0 (917.00 x 1297.00 MM)", "DIN C1 (917.00 x 648.00 MM)", "DIN C2 (648.00 x 458.00 MM)",
    "DIN C3 (458.00 x 324.00 MM)", "DIN C4 (324.00 x 229.00 MM)", "DIN expand C0 (917.00 x 1297.00 MM)",
    "DIN expand C1 (917.00 x 648.00 MM)", "DIN expand C2 (648.00 x 458.00 MM)",
    "DIN expand C3 (458.00 x 324.00 MM)", "DIN expand C4 (324.00 x 229.00 MM)",
};

constexpr std::array<std::string_view, 11> kJisPapers = {
    "JIS B1 (728.00 x 1030.00 MM)", "JIS B2 (728.00 x 515.00 MM)", "JIS B3 (515.00 x 364.00 MM)",
    "JIS B4 (364.00 x 257.00 MM)", "JIS B5 (257.00 x 182.00 MM)", "JIS expand B1 (728.00 x 1030.00 MM)",
    "JIS expand B2 (728.00 x 515.00 MM)", "JIS expand B3 (515.00 x 364.00 MM)",
    "JIS expand B4 (364.00 x 257.00 MM)", "JIS expand B5 (257.00 x 182.00 MM)", "B5 (JIS)",
};

constexpr std::array<std::string_view, 71> kPixelsPapers = {
    "User 1 (1115.00 x 1723.00 Pixels)", "User 1 (1723.00 x 1115.00 Pixels)", "User 1 (1576.00 x 1218.00 Pixels)",
    "User 1 (1218.00 x 1576.00 Pixels)", "User 1 (1131.00 x 1697.00 Pixels)", "User 1 (1697.00 x 1131.00 Pixels)",
    "User 1 (1600.00 x 1200.00 Pixels)", "User 1 (1200.00 x 1600.00 Pixels)", "User 1 (1640.00 x 1171.00 Pixels)",
    "User 1 (1171.00 x 1640.00 Pixels)", "User 1 (1165.00 x 1648.00 Pixels)", "User 1 (1648.00 x 1165.00 Pixels)",
    "User 1 (921.00 x 1423.00 Pixels)", "User 1 (1423.00 x 921.00 Pixels)", "User 1 (1302.00 x 1006.00 Pixels)",
    "User 1 (1006.00 x 1302.00 Pixels)", "User 1 (935.00 x 1402.00 Pixels)", "User 1 (1402.00 x 935.00 Pixels)",
    "User 1 (1322.00 x 991.00 Pixels)", "User 1 (991.00 x 1322.00 Pixels)", "User 1 (968.00 x 1355.00 Pixels)",
    "User 1 (1355.00 x 968.00 Pixels)", "User 1 (962.00 x 1362.00 Pixels)", "User 1 (1362.00 x 962.00 Pixels)",
    "User 1 (558.00 x 862.00 Pixels)", "User 1 (862.00 x 558.00 Pixels)", "User 1 (610.00 x 789.00 Pixels)",
    "User 1 (789.00 x 610.00 Pixels)", "User 1 (566.00 x 849.00 Pixels)", "User 1 (849.00 x 566.00 Pixels)",
    "User 1 (586.00 x 820.00 Pixels)", "User 1 (820.00 x 586.00 Pixels)", "User 1 (824.00 x 583.00 Pixels)",
    "User 1 (583.00 x 824.00 Pixels)", "User 1 (87.00 x 134.00 Pixels)", "User 1 (134.00 x 87.00 Pixels)",
    "User 1 (91.00 x 129.00 Pixels)", "T_129x91_1.416(ISO_A1)", "User 1 (123.00 x 95.00 Pixels)",
    "User 1 (95.00 x 123.00 Pixels)", "User 1 (124.00 x 93.00 Pixels)", "User 1 (93.00 x 124.00 Pixels)",
    "User 1 (132.00 x 88.00 Pixels)", "User 1 (88.00 x 132.00 Pixels)", "User 1 (127.00 x 91.00 Pixels)",
    "User 1 (91.00 x 127.00 Pixels)", "User 1 (746.00 x 1055.00 Pixels)", "User 1 (1055.00 x 746.00 Pixels)",
    "User 1 (1050.00 x 750.00 Pixels)", "User 1 (750.00 x 1050.00 Pixels)", "User 1 (1087.00 x 725.00 Pixels)",
    "User 1 (725.00 x 1087.00 Pixels)", "User 1 (1009.00 x 780.00 Pixels)", "User 1 (780.00 x 1009.00 Pixels)",
    "User 1 (1103.00 x 714.00 Pixels)", "User 1 (714.00 x 1103.00 Pixels)",
    "Previous paper size (215.90 x 279.40 MM)", "Sun Hi-Res (1600.00 x 1280.00 Pixels)",
    "XGA Hi-Res (1600.00 x 1200.00 Pixels)", "Super XGA (1280.00 x 1024.00 Pixels)",
    "Sun Standard (1152.00 x 900.00 Pixels)", "XGA (1024.00 x 768.00 Pixels)", "Super VGA (800.00 x 600.00 Pixels)",
    "VGA (640.00 x 480.00 Pixels)", "Sun Hi-Res (1280.00 x 1600.00 Pixels)",
    "XGA Hi-Res (1200.00 x 1600.00 Pixels)", "Super XGA (1024.00 x 1280.00 Pixels)",
    "Sun Standard (900.00 x 1152.00 Pixels)", "XGA (768.00 x 1024.00 Pixels)", "Super VGA (600.00 x 800.00 Pixels)",
    "VGA (480.00 x 640.00 Pixels)",
};
// clang-format on

struct StandardList
{
    int code;
    std::span<const std::string_view> names;
    std::string_view prompt;
};

const std::array<StandardList, 6> kStandardLists = {{
    {1, kAnsiPapers, "Select ANSI Size"},
    {2, kIsoPapers, "Select ISO Size"},
    {3, kArchPapers, "Select ARCH Size"},
    {4, kDinPapers, "Select DIN Size"},
    {5, kJisPapers, "Select JIS Size"},
    {kPixelPaperCode, kPixelsPapers, "Select Pixels"},
}};

const StandardList& listFor(int code)
{
    for (const StandardList& list : kStandardLists) {
        if (list.code == code)
            return list;
    }
    return kStandardLists.front();
}

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// Skips one line break (CR LF, CR or LF) at `pos`, if there is one.
std::size_t skipLineBreak(std::string_view text, std::size_t pos)
{
    if (pos < text.size() && text[pos] == '\r')
        ++pos;
    if (pos < text.size() && text[pos] == '\n')
        ++pos;
    return pos;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool sameName(std::string_view a, std::string_view b)
{
    return equalsIgnoreCaseAscii(a, b);
}

UserMessage paperInformation(std::string text, std::string title)
{
    return {std::move(text), std::move(title), MessageIcon::Information, MessageButtons::Ok};
}

} // namespace

std::span<const PaperStandard> paperStandards()
{
    return kStandards;
}

std::span<const std::string_view> standardPaperNames(int code)
{
    return listFor(code).names;
}

std::string_view standardPaperPrompt(int code)
{
    return listFor(code).prompt;
}

PaperStandardView paperStandardView(int code, const CustomPaperEntries& custom)
{
    PaperStandardView view;
    if (code == kManualPaperCode) {
        view.showList = false;
        view.paperLabel = std::string(kEnterPaperSize);
        return view;
    }
    if (code == kCustomPaperCode) {
        // The prompt follows the last entry read: a blank last line (or an empty file) reads as no sizes.
        if (custom) {
            view.names = *custom;
            view.listText = std::string(custom->empty() || custom->back().empty() ? kNoCustomSizes : kSelectCustomSize);
        } else {
            view.listText = std::string(kNoCustomSizes);
        }
        return view;
    }
    const StandardList& list = listFor(code);
    view.names.assign(list.names.begin(), list.names.end());
    view.listText = std::string(list.prompt);
    return view;
}

std::string customPaperPath(std::string_view settingsFolder)
{
    return joinPath(settingsFolder, kCustomPaperFileName);
}

std::vector<std::string> parseCustomPaperEntries(std::string_view bytes)
{
    std::vector<std::string> entries;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        while (pos < bytes.size() && isBlank(bytes[pos]))
            ++pos;
        std::string_view entry;
        if (pos < bytes.size() && bytes[pos] == '"') {
            // A quoted entry runs to the next quote; what follows it up to the delimiter is dropped. Each line
            // holds one name, so a quote left open ends with its line: running on would swallow the names
            // after it into one that holds line breaks, which the file could never hold again.
            const std::size_t close = std::min(bytes.find_first_of("\"\r\n", pos + 1), bytes.size());
            entry = bytes.substr(pos + 1, close - pos - 1);
            pos = close < bytes.size() && bytes[close] == '"' ? close + 1 : close;
            while (pos < bytes.size() && bytes[pos] != ',' && !isLineBreak(bytes[pos]))
                ++pos;
        } else {
            const std::size_t start = pos;
            while (pos < bytes.size() && bytes[pos] != ',' && !isLineBreak(bytes[pos]))
                ++pos;
            entry = bytes.substr(start, pos - start);
            while (!entry.empty() && isBlank(entry.back()))
                entry.remove_suffix(1);
        }
        entries.push_back(cp1252ToUtf8(entry));
        if (pos < bytes.size() && bytes[pos] == ',')
            ++pos;
        else
            pos = skipLineBreak(bytes, pos);
    }
    return entries;
}

CustomPaperEntries readCustomPaperEntries(std::string_view settingsFolder)
{
    const Result<std::string> bytes = readFileBytes(customPaperPath(settingsFolder));
    if (!bytes)
        return std::nullopt;
    return parseCustomPaperEntries(bytes.value());
}

Result<std::string> encodeCustomPapers(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) {
        if (breaksQuotedLine(name))
            return Error{ErrInvalidText, "The paper size \"" + name + "\" holds a double quote or a line break."};
        text.append("\"").append(name).append("\"").append(kCrLf);
    }
    return utf8ToCp1252(text);
}

Status writeCustomPapers(std::string_view settingsFolder, const std::vector<std::string>& names)
{
    const Result<std::string> bytes = encodeCustomPapers(names);
    if (!bytes)
        return bytes.error();
    return writeFileAtomically(customPaperPath(settingsFolder), bytes.value());
}

CustomPaperList customPapersFromEntries(const CustomPaperEntries& entries)
{
    CustomPaperList list;
    if (!entries)
        return list;
    for (const std::string& entry : *entries) {
        const bool seen = std::any_of(list.names.begin(), list.names.end(),
                                      [&](const std::string& name) { return sameName(name, entry); });
        if (!seen)
            list.names.push_back(entry);
    }
    list.loaded = true;
    return list;
}

CustomPaperList loadCustomPapers(std::string_view settingsFolder)
{
    return customPapersFromEntries(readCustomPaperEntries(settingsFolder));
}

std::vector<std::string> listedCustomPapers(const CustomPaperList& list)
{
    std::vector<std::string> listed;
    for (const std::string& name : list.names) {
        if (!trimSpaces(name).empty())
            listed.push_back(name);
    }
    return listed;
}

AddPaperOutcome addCustomPaper(CustomPaperList& list, std::string_view typed)
{
    AddPaperOutcome outcome;
    const std::string name(trimSpaces(typed));
    if (name.empty()) {
        outcome.message = paperInformation("Please Enter a Paper Size", "Quorvel Error");
        outcome.focusNewPaper = true;
        return outcome;
    }
    // The file holds each name between quotes on a line of its own in Windows-1252: anything else
    // would come back as another name, or not at all, and no list holding it could be saved.
    if (breaksQuotedLine(name) || !fitsCp1252(name)) {
        outcome.message = paperInformation("A paper size name cannot hold a double quote, a line break or a "
                                           "character outside the Windows-1252 code page.",
                                           "Quorvel Error");
        outcome.focusNewPaper = true;
        return outcome;
    }
    outcome.clearText = true;
    const std::string upper = toUpperAscii(name);
    for (const std::string& existing : list.names) {
        if (toUpperAscii(trimSpaces(existing)) == upper) {
            outcome.message =
                paperInformation("This name already exists in the custom paper size list", "Quorvel Information");
            return outcome;
        }
    }
    list.names.push_back(name);
    list.changed = true;
    outcome.added = true;
    return outcome;
}

void removeCustomPaper(CustomPaperList& list, std::string_view name)
{
    const auto found = std::find_if(list.names.begin(), list.names.end(),
                                    [&](const std::string& existing) { return sameName(existing, name); });
    if (found == list.names.end())
        return;
    list.names.erase(found);
    list.changed = true;
}

Status saveCustomPapersIfChanged(std::string_view settingsFolder, const CustomPaperList& list)
{
    if (!list.changed)
        return {};
    return writeCustomPapers(settingsFolder, listedCustomPapers(list));
}

} // namespace qv
