#include "SaveAsRoutine.h"

#include "config/CadProducts.h"
#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <array>

namespace qv {
namespace {

using Codes = std::initializer_list<std::string_view>;

bool isOneOf(std::string_view code, Codes codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// AutoCAD LT runs no AutoLISP, which the folder and its file name need.
bool isLt(std::string_view code)
{
    return code.find("LT") != std::string_view::npos;
}

constexpr std::string_view kR13Caption = "This option is unavailable in R13";
constexpr std::string_view kLispNote = "This option requires Lisp and is only available using AutoCAD full version. ";

constexpr std::array<std::string_view, 7> kDrawings = {
    "AutoCAD 2018/LT2018 Drawing",   "AutoCAD 2013/LT2013 Drawing", "AutoCAD 2010/LT2010 Drawing",
    "AutoCAD 2007/LT2007 Drawing",   "AutoCAD 2004/LT2004 Drawing", "AutoCAD 2000/LT2000 Drawing",
    "AutoCAD R14/LT98/LT97 Drawing",
};
constexpr std::string_view kDrawing2005 = "AutoCAD 2004/2005/2006 LT2004/2005/2006 Drawing";
constexpr std::string_view kDrawing2000 = "AutoCAD 2000/2002 LT2000/2002 Drawing";
constexpr std::string_view kDrawingR14 = "AutoCAD R14/LT98/LT97 Drawing";
constexpr std::string_view kDrawingR13 = "AutoCAD R13/LT95 Drawing";
constexpr std::string_view kDrawingR12 = "AutoCAD R12/LT2 Drawing";

constexpr std::array<std::string_view, 7> kDxfs = {
    "AutoCAD 2018/LT2018 Dxf", "AutoCAD 2013/LT2013 Dxf", "AutoCAD 2010/LT2010 Dxf", "AutoCAD 2007/LT2007 Dxf",
    "AutoCAD 2004/LT2004 Dxf", "AutoCAD 2000/LT2000 Dxf", "AutoCAD R12/LT2 Dxf",
};
constexpr std::string_view kDxf2000 = "AutoCAD 2000/2002 LT2000/2002 Dxf";
constexpr std::string_view kDxfR14 = "AutoCAD R14/LT98/LT97 Dxf";
constexpr std::string_view kDxfR13 = "AutoCAD R13/LT95 Dxf";
constexpr std::string_view kDxfR12 = "AutoCAD R12/LT2 Dxf";

// The newest releases from `first` on, shown first unless another text is given.
void fromRelease(SaveAsReleases& releases, const std::array<std::string_view, 7>& all, std::size_t first,
                 std::string_view shown = {})
{
    releases.items.assign(all.begin() + static_cast<std::ptrdiff_t>(first), all.end());
    releases.shown = shown.empty() ? releases.items.front() : shown;
}

void listed(SaveAsReleases& releases, Codes items)
{
    releases.items.assign(items.begin(), items.end());
    releases.shown = releases.items.front();
}

// Release 13 writes nothing: the tab offers no release and no button.
void unavailable(SaveAsReleases& releases)
{
    releases.frameCaption = kR13Caption;
    releases.items.clear();
    releases.shown = {};
    releases.usable = false;
    releases.folderEnabled = false;
    releases.lispNoteShown = false;
    releases.dxfControlsShown = false;
    releases.previewShown = false;
    releases.accuracy.reset();
}

// A release named by a list entry, with its two answers and the products whose own release it is.
struct Release
{
    std::string_view prefix; // every entry naming the release begins so
    std::string_view drawingAnswer;
    std::string_view dxfAnswer;
    Codes ownProducts;
};

const std::array<Release, 9>& releases()
{
    static const std::array<Release, 9> releases = {{
        {"AutoCAD 2018", "2018", "2018", {"Cad2018", "CadLT2018"}},
        {"AutoCAD 2013", "2013", "2013", {"Cad2013", "CadLT2013"}},
        {"AutoCAD 2010", "2010", "2010", {"Cad2010", "CadLT2010"}},
        {"AutoCAD 2007", "2007", "2007", {"Cad2007", "CadLT2007"}},
        {"AutoCAD 2004", "2004", "2004", {"Cad2004", "CadLT2004", "Cad2005", "CadLT2005"}},
        {"AutoCAD 2000", "2000", "2000", {"Cad2000", "CadLT2000"}},
        {"AutoCAD R14", "_r14", "_R14", {}},
        {"AutoCAD R13", "_r13", "_R13", {}},
        {"AutoCAD R12", "_r12", "_R12", {}},
    }};
    return releases;
}

const Release* findRelease(std::string_view entry)
{
    entry = trimSpaces(entry);
    for (const Release& release : releases()) {
        if (entry.substr(0, release.prefix.size()) == release.prefix)
            return &release;
    }
    return nullptr;
}

UserMessage exclamation(std::string text, std::string title)
{
    return {std::move(text), std::move(title), MessageIcon::Exclamation, MessageButtons::Ok};
}

SaveAsRoutineResult refused(UserMessage message, SaveAsField focus)
{
    SaveAsRoutineResult result;
    result.refusal = std::move(message);
    result.focus = focus;
    return result;
}

// The first lines of a routine with a folder: the drawing's name, as the new file's, in that folder.
std::string drawingNameLines(bool dxf, const std::string& folder)
{
    std::vector<std::string> lines = {"(setq draw_name(getvar \"dwgname\"))"};
    if (dxf) {
        lines.emplace_back("(setq draw_len (strlen draw_name))");
        lines.emplace_back("(setq draw_name (strcat (substr draw_name 1 (- draw_len 4))\".dxf\"))");
    }
    lines.push_back("(setq draw_name (strcat \"" + folder + "\"draw_name ))");
    return joinCrLf(lines) + std::string(kCrLf);
}

// The release a routine writes, or why there is none.
const Release* chosenRelease(const SaveAsChoices& choices, std::string_view productCode, const std::string& title,
                             SaveAsRoutineResult& refusal)
{
    if (productCode == "Cad13") {
        refusal = refused(exclamation(std::string(kR13Caption), title), SaveAsField::None);
        return nullptr;
    }
    const Release* release = findRelease(choices.release);
    if (!release) {
        refusal = refused(exclamation("Please select the release to save to.", title), SaveAsField::Release);
        return nullptr;
    }
    return release;
}

// What both builders start from: the release and the folder in AutoLISP form, or the refusal of either.
struct Start
{
    const Release* release = nullptr;
    std::optional<std::string> folder;
    std::optional<SaveAsRoutineResult> refused;
};

Start startRoutine(const SaveAsChoices& choices, std::string_view productCode, const std::string& title)
{
    Start start;
    SaveAsRoutineResult refusal;
    start.release = chosenRelease(choices, productCode, title, refusal);
    if (!start.release) {
        start.refused = std::move(refusal);
        return start;
    }
    start.folder = lispFolder(choices.folder);
    if (!start.folder)
        return start;
    // The name goes into an AutoLISP string: a quote would end it early, a line break would end the line.
    const std::string_view typed = trimSpaces(choices.folder);
    if (breaksQuotedLine(typed)) {
        start.refused = refused(
            exclamation("The folder name cannot hold a double quote or a line break:\r\n" + std::string(typed), title),
            SaveAsField::Folder);
    } else if (isLt(productCode)) {
        start.refused = refused(exclamation(std::string(trimTrailingSpaces(kLispNote)), title), SaveAsField::Folder);
    }
    return start;
}

} // namespace

SaveAsReleases fillDrawingReleases(std::string_view code)
{
    SaveAsReleases releases;
    releases.frameCaption = "Save As Drawing";
    if (isOneOf(code, {"Cad2018", "CadLT2018"}))
        fromRelease(releases, kDrawings, 0);
    else if (isOneOf(code, {"Cad2013", "CadLT2013"}))
        fromRelease(releases, kDrawings, 1);
    else if (isOneOf(code, {"Cad2010", "CadLT2010"}))
        fromRelease(releases, kDrawings, 2);
    else if (code == "Cad2007")
        fromRelease(releases, kDrawings, 3, "AutoCAD 2007/2008/2009 LT2007/2008/2009 Drawing");
    else if (code == "CadLT2007")
        fromRelease(releases, kDrawings, 3, "AutoCAD 2007/2008 LT2007/2008 Drawing");
    else if (isOneOf(code, {"Cad2005", "CadLT2005"}))
        listed(releases, {kDrawing2005, kDrawing2000});
    else if (isOneOf(code, {"Cad2004", "CadLT2004"}))
        listed(releases, {"AutoCAD 2004/LT2004 Drawing", kDrawing2000});
    else if (code == "Cad2000")
        listed(releases, {kDrawing2000, kDrawingR14, kDrawingR13});
    else if (code == "CadLT2000")
        listed(releases, {"AutoCAD 2000/LT2000 Drawing", kDrawingR14, kDrawingR13});
    else if (code == "Cad14")
        listed(releases, {kDrawingR14, kDrawingR13, kDrawingR12});
    else if (code == "CadLT98")
        listed(releases, {kDrawingR13, kDrawingR12});
    else if (code != "Cad13")
        listed(releases, {kDrawingR14, kDrawingR13});

    releases.folderEnabled = !isLt(code);
    releases.lispNoteShown = isLt(code);
    if (code == "Cad13")
        unavailable(releases);
    return releases;
}

SaveAsReleases fillDxfReleases(std::string_view code)
{
    SaveAsReleases releases;
    releases.frameCaption = "Save As DXF";
    if (isOneOf(code, {"Cad2018", "CadLT2018"}))
        fromRelease(releases, kDxfs, 0);
    else if (isOneOf(code, {"Cad2013", "CadLT2013"}))
        fromRelease(releases, kDxfs, 1);
    else if (isOneOf(code, {"Cad2010", "CadLT2010"}))
        fromRelease(releases, kDxfs, 2);
    else if (isOneOf(code, {"Cad2007", "CadLT2007"}))
        fromRelease(releases, kDxfs, 3, "AutoCAD 2007/2008 LT2007/2008/2009 Dxf");
    else if (isOneOf(code, {"Cad2005", "CadLT2005"}))
        listed(releases, {"AutoCAD 2004/2005/2006 LT2004/2005/2006 Dxf", kDxf2000, kDxfR12});
    else if (isOneOf(code, {"Cad2004", "CadLT2004"}))
        listed(releases, {"AutoCAD 2004/LT2004 Dxf", kDxf2000, kDxfR12});
    else if (isOneOf(code, {"Cad14", "CadLT98"}))
        listed(releases, {kDxfR14, kDxfR13, kDxfR12});
    else if (code != "Cad13")
        listed(releases, {kDxf2000, kDxfR14, kDxfR13, kDxfR12});

    releases.dxfControlsShown = true;
    const bool old = isOneOf(code, {"Cad14", "CadLT98"});
    releases.previewShown = !old;
    if (!old)
        releases.accuracy = kFullDxfAccuracy;
    releases.folderEnabled = !isLt(code);
    releases.lispNoteShown = isLt(code);
    if (code == "Cad13")
        unavailable(releases);
    return releases;
}

std::optional<std::string> drawingFormatAnswer(std::string_view entry)
{
    if (const Release* release = findRelease(entry))
        return std::string(release->drawingAnswer);
    return std::nullopt;
}

std::optional<std::string> dxfVersionAnswer(std::string_view entry)
{
    if (const Release* release = findRelease(entry))
        return std::string(release->dxfAnswer);
    return std::nullopt;
}

bool isOwnRelease(std::string_view entry, std::string_view productCode)
{
    const Release* release = findRelease(entry);
    return release && isOneOf(productCode, release->ownProducts);
}

std::optional<std::string> lispFolder(std::string_view folderText)
{
    const std::string_view trimmed = trimSpaces(folderText);
    if (trimmed.empty() || trimmed == kDefaultFolder)
        return std::nullopt;
    std::string folder(trimmed);
    // A folder typed with forward slashes already ends with a separator of its own.
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return folder;
}

SaveAsRoutineResult buildSaveAsRoutine(const SaveAsChoices& choices, std::string_view productCode)
{
    const std::string title = "Save As Drawing";
    const Start start = startRoutine(choices, productCode, title);
    if (start.refused)
        return *start.refused;
    const Release* release = start.release;
    const std::optional<std::string>& folder = start.folder;
    SaveAsRoutineResult result;

    const std::string head = "_saveas" + std::string(kCrLf) + std::string(release->drawingAnswer);
    if (folder) {
        result.text = drawingNameLines(false, *folder) + head + std::string(kCrLf) + "!draw_name";
        return result;
    }

    if (isOwnRelease(choices.release, productCode)) {
        result.text = head + std::string(kCrLf);
    } else {
        // Saved over the drawing's own file in another release: the empty line keeps its name and folder,
        // "_y" answers the host's question whether to replace the file.
        result.text = joinCrLf({head, "", "_y"});
    }
    const std::string over = "Save As will save over the existing drawing." + std::string(kCrLf);
    result.notice = UserMessage{isLt(productCode)
                                    ? over
                                    : over + "If you wish you can save in a different folder by " + std::string(kCrLf) +
                                          "specifing a folder in the Save in Folder box" + std::string(kCrLf),
                                title, MessageIcon::Information, MessageButtons::Ok};
    return result;
}

SaveAsRoutineResult buildDxfRoutine(const SaveAsChoices& choices, std::string_view productCode)
{
    const std::string title = "Save As DXF";
    const Start start = startRoutine(choices, productCode, title);
    if (start.refused)
        return *start.refused;
    const Release* release = start.release;
    const std::optional<std::string>& folder = start.folder;
    SaveAsRoutineResult result;

    const bool newOptions = uses2000Syntax(productCode) || isRelease2004OrLater(productCode);
    std::vector<std::string> lines;
    if (folder) {
        result.text = drawingNameLines(true, *folder);
        lines = {"_dxfout", "!draw_name"};
    } else {
        // The space ends the command; the line end takes the proposed name, the drawing's own with ".dxf".
        lines = {"_dxfout "};
    }
    if (newOptions)
        lines.insert(lines.end(), {"_P", choices.preview ? "_Yes" : "_No"});
    lines.insert(lines.end(), {"_V", std::string(release->dxfAnswer), ""});
    result.text += joinCrLf(lines);

    if (choices.binary) {
        result.text += "_B";
    } else if (newOptions) {
        const std::string accuracy(trimSpaces(choices.accuracy));
        const std::optional<int> places = parseInt16(accuracy);
        if (!places || *places < 1 || *places > kMaxDxfAccuracy || std::to_string(*places) != accuracy)
            return refused(exclamation("Select the DXF accuracy, from 1 to 16 decimal places.", title),
                           SaveAsField::Accuracy);
        result.text += accuracy;
        if (accuracy != kFullDxfAccuracy)
            result.notice = UserMessage{"Warning:  You have specified a lower precision for the DXF file," +
                                            std::string(kCrLf) + "which may result in loss of drawing accuracy.",
                                        "Dxf Message", MessageIcon::Exclamation, MessageButtons::Ok};
    }
    return result;
}

} // namespace qv
