// SAVEAS, QSAVE of an unnamed drawing, and DXFOUT.

#include "Host.h"
#include "Text.h"

#include <cctype>

namespace qv::hostmodel {

namespace {

struct Format
{
    const char* display;
    std::vector<std::string> words;
    int since;
    int until;
    bool clones = false; // BricsCAD and ZWCAD offer it whatever their release
};

// The file formats SAVEAS offers, oldest first; a product offers those of its own release and before, down to
// the oldest its release still writes. R12 on release 14 and R13 up to 2000 and on BricsCAD and ZWCAD are
// what the routines written for those products save to.
const std::vector<Format>& allFormats()
{
    static const std::vector<Format> formats = {
        {"R12", {"R12"}, 13, 14},
        {"R13", {"R13"}, 13, 2000, true},
        {"R14(LT98&LT97)", {"R14", "LT98", "LT97"}, 14, 9999},
        {"2000(LT2000)", {"2000", "LT2000"}, 2000, 9999},
        {"2004(LT2004)", {"2004", "LT2004"}, 2004, 9999},
        {"2007(LT2007)", {"2007", "LT2007"}, 2007, 9999},
        {"2010(LT2010)", {"2010", "LT2010"}, 2010, 9999},
        {"2013(LT2013)", {"2013", "LT2013"}, 2013, 9999},
        {"2018(LT2018)", {"2018", "LT2018"}, 2018, 9999},
        {"Standards", {"Standards"}, 2004, 9999},
        {"DXF", {"DXF"}, 13, 9999},
        {"Template", {"Template"}, 13, 9999},
    };
    return formats;
}

bool isVersion(const Keyword& format)
{
    return std::isdigit(static_cast<unsigned char>(format.words.front().back())) != 0;
}

std::vector<Keyword> saveFormats(const Product& product)
{
    std::vector<Keyword> formats;
    for (const Format& format : allFormats()) {
        if (format.since <= product.release && (product.release <= format.until || (format.clones && product.clone))) {
            formats.push_back({format.display, format.words, true});
        }
    }
    return formats;
}

// DXFOUT writes R12 and every drawing version the product saves.
std::vector<Keyword> dxfVersions(const Product& product)
{
    std::vector<Keyword> versions = {keyword("R12")};
    for (const Keyword& format : saveFormats(product)) {
        if (isVersion(format) && format.words.front() != "R12") {
            versions.push_back({format.words.front(), {format.words.front()}, true});
        }
    }
    return versions;
}

} // namespace

// An existing file of that name brings the replace question, which EXPERT 2 and above answer yes unasked.
Task<bool> Host::mayReplace(std::string id, std::string target)
{
    if (!m_setup.files->exists(target) || expert() >= 2) {
        co_return true;
    }
    // The host shows it on two lines: "A drawing with this name already exists." and the question.
    co_return co_await askYesNo(std::move(id),
                                "A drawing with this name already exists. Do you want to replace it? <N>", false);
}

Task<void> Host::saveAs()
{
    co_await saveAsName(true);
}

Task<void> Host::saveAsName(bool withFormat)
{
    bool ownFormat = true;
    if (withFormat) {
        const std::vector<Keyword> formats = saveFormats(m_setup.product);
        std::size_t own = 0;
        for (std::size_t i = 0; i < formats.size(); ++i) {
            own = isVersion(formats[i]) ? i : own;
        }
        const std::size_t chosen = co_await askKeyword(
            "saveas-format", "Enter file format [" + keywordList(formats) + "] <" + formats[own].words.front() + ">:",
            formats, own);
        // The releases before 2000 know no format of their own here: a chosen format is always another.
        ownFormat = chosen == own && m_setup.product.release >= 2000;
    }
    const std::string entry = co_await next("saveas-name", "Save drawing as <" + currentName() + ">:");
    const std::string target = entry.empty() ? current().path : stripQuotes(entry);
    accept(entry);
    // Over its own file the drawing is only saved when it keeps its own format; another format replaces it.
    const bool other = current().startup || !m_setup.files->sameFile(target, current().path);
    if ((other || !ownFormat) && !co_await mayReplace("saveas-replace", target)) {
        co_return;
    }
    saveAsFile(target, other);
}

void Host::saveAsFile(const std::string& target, bool other)
{
    Drawing& drawing = current();
    if (!other) {
        save(drawing);
        return;
    }
    if (!folderExists(target)) {
        return;
    }
    if (m_setup.files->exists(target) && !m_setup.files->isWritable(target)) {
        fail("cannot replace write protected file " + target);
        return;
    }
    // The new file is a copy of the drawing as it is on disk; the start-up drawing has no content.
    const std::string error =
        drawing.startup ? m_setup.files->write(target, std::string()) : m_setup.files->copy(drawing.path, target);
    if (!error.empty()) {
        fail("cannot write " + target + ": " + error);
        return;
    }
    const std::string detail =
        drawing.startup ? "written empty (start-up drawing)" : "written as a copy of " + drawing.path;
    drawing.path = target;
    drawing.startup = false;
    drawing.readOnly = false;
    drawing.markSaved();
    log("saved", detail);
}

// A file goes only into a folder that exists; the host does not make one.
bool Host::folderExists(const std::string& target)
{
    const std::string folder = folderOf(target);
    if (folder.empty() || m_setup.files->isFolder(folder)) {
        return true;
    }
    fail("cannot write " + target + ": the folder " + folder + " does not exist");
    return false;
}

Task<void> Host::dxfout()
{
    const std::string proposed = withExtension(current().path, ".dxf");
    const std::string entry = co_await next("dxfout-name", "Enter file name <" + proposed + ">:");
    const std::string target = entry.empty() ? proposed : stripQuotes(entry);
    accept(entry);
    if (!co_await mayReplace("dxfout-replace", target)) {
        co_return;
    }
    const std::vector<Keyword> versions = dxfVersions(m_setup.product);
    std::string version = versions.back().display;
    bool preview = false;
    bool objects = false;
    std::string format;
    static const std::vector<Keyword> options = keywordsOf("Objects", "Version", "Binary", "Preview");
    while (format.empty()) {
        const std::string answer = co_await next(
            "dxfout-accuracy", "Enter decimal places of accuracy (0 to 16) or [Objects/Version/Binary/Preview] <16>:");
        if (answer.empty()) {
            accept(answer);
            format = "ASCII accuracy=16";
            break;
        }
        if (const std::optional<long long> places = parseInteger(answer)) {
            if (*places < 0 || *places > 16) {
                reject(answer, "Value must be between 0 and 16.");
                continue;
            }
            accept(answer);
            format = "ASCII accuracy=" + std::to_string(*places);
            break;
        }
        const std::optional<std::size_t> option = matchKeyword(options, answer);
        if (!option) {
            reject(answer, "Requires an integer between 0 and 16, or option keyword.");
            continue;
        }
        accept(answer);
        if (*option == 0) {
            // Objects: a selection, ended by an empty entry, then the accuracy prompt again.
            for (;;) {
                const std::string selection = co_await next("dxfout-objects", "Select objects:");
                accept(selection);
                if (selection.empty()) {
                    break;
                }
                objects = true;
            }
        } else if (*option == 1) {
            const std::size_t chosen = co_await askKeyword(
                "dxfout-version", "Enter version to write [" + keywordList(versions) + "] <" + version + ">:", versions,
                versions.size() - 1);
            version = versions[chosen].display;
        } else if (*option == 2) {
            format = "binary";
        } else {
            preview = co_await askYesNo("dxfout-preview", "Save thumbnail preview image? [Yes/No] <Y>:", true);
        }
    }
    if (!folderExists(target)) {
        co_return;
    }
    const std::string error =
        current().startup ? m_setup.files->write(target, std::string()) : m_setup.files->copy(current().path, target);
    if (!error.empty()) {
        fail("cannot write " + target + ": " + error);
        co_return;
    }
    log("dxf-written", target + " version=" + version + " " + format + (preview ? " preview" : "") +
                           (objects ? " selected objects" : ""));
}

} // namespace qv::hostmodel
