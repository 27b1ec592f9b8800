#include "Host.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace cadhost {

namespace {

enum class Command
{
    None,
    Open,
    Recover,
    Zoom,
    Close,
    Quit,
    Qsave,
    SaveAs,
    Purge,
};

std::string upperAscii(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char ch) { return static_cast<char>(std::toupper(static_cast<unsigned char>(ch))); });
    return upper;
}

// Command names match without case, after an optional "_" (language-independent name) and "-" (command-line
// form) in either order.
Command findCommand(std::string_view entry)
{
    bool underscore = false;
    bool hyphen = false;
    while (!entry.empty()) {
        if (entry.front() == '_' && !underscore) {
            underscore = true;
        } else if (entry.front() == '-' && !hyphen) {
            hyphen = true;
        } else {
            break;
        }
        entry.remove_prefix(1);
    }
    const std::string name = upperAscii(entry);
    static const std::pair<const char*, Command> kCommands[] = {
        {"OPEN", Command::Open}, {"RECOVER", Command::Recover}, {"ZOOM", Command::Zoom},     {"CLOSE", Command::Close},
        {"QUIT", Command::Quit}, {"QSAVE", Command::Qsave},     {"SAVEAS", Command::SaveAs}, {"PURGE", Command::Purge},
    };
    for (const auto& [text, command] : kCommands) {
        if (name == text) {
            return command;
        }
    }
    return Command::None;
}

std::string commandEvent(Command command)
{
    switch (command) {
    case Command::Open:
        return "open";
    case Command::Recover:
        return "recover";
    case Command::Zoom:
        return "zoom";
    case Command::Close:
        return "close";
    case Command::Quit:
        return "quit";
    case Command::Qsave:
        return "qsave";
    case Command::SaveAs:
        return "saveas";
    case Command::Purge:
        return "purge";
    case Command::None:
        break;
    }
    return "command";
}

// File names may be typed in double quotes (they must be when they hold spaces).
std::string stripQuotes(const std::string& entry)
{
    if (entry.size() >= 2 && entry.front() == '"' && entry.back() == '"') {
        return entry.substr(1, entry.size() - 2);
    }
    return entry;
}

const std::regex& numberPattern()
{
    static const std::regex pattern(R"([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)");
    return pattern;
}

// A zoom factor: "2" (relative to the limits), "2X" (to the current view) or "2XP" (to paper space units).
bool isScaleFactor(std::string_view entry)
{
    std::string text = upperAscii(entry);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "XP") == 0) {
        text.resize(text.size() - 2);
    } else if (!text.empty() && text.back() == 'X') {
        text.pop_back();
    }
    return std::regex_match(text, numberPattern()) && std::strtod(text.c_str(), nullptr) > 0.0;
}

// "x,y" or "x,y,z", optionally relative ("@").
bool isPoint(std::string_view entry)
{
    if (!entry.empty() && entry.front() == '@') {
        entry.remove_prefix(1);
    }
    std::vector<std::string> parts;
    std::stringstream stream{std::string(entry)};
    for (std::string part; std::getline(stream, part, ',');) {
        parts.push_back(part);
    }
    if (entry.empty() || entry.back() == ',' || parts.size() < 2 || parts.size() > 3) {
        return false;
    }
    return std::all_of(parts.begin(), parts.end(),
                       [](const std::string& part) { return std::regex_match(part, numberPattern()); });
}

bool isRegularFile(const std::string& path)
{
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Writable for this process. The mode bits are checked too, so that a file without any write bit counts
// as write protected also for root, as a read-only file does on Windows.
bool isWritable(const std::string& path)
{
    struct stat status = {};
    if (::stat(path.c_str(), &status) != 0) {
        return false;
    }
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool isSameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace

Host::Host(Product product, Journal& journal) : product_(std::move(product)), journal_(journal)
{
    drawings_.push_back({std::string(kStartupDrawing), true, false, false});
}

bool Host::type(int line, const std::string& entry)
{
    line_ = line;
    switch (prompt_) {
    case Prompt::Command:
        commandEntry(entry);
        break;
    case Prompt::OpenName:
        openName(entry);
        break;
    case Prompt::OpenReadOnly:
        openReadOnly(entry);
        break;
    case Prompt::Zoom:
        zoom(entry);
        break;
    case Prompt::ZoomFirstCorner:
    case Prompt::ZoomOppositeCorner:
        zoomCorner(entry);
        break;
    case Prompt::ZoomScale:
        zoomScale(entry);
        break;
    case Prompt::SaveChanges:
        saveChanges(entry);
        break;
    case Prompt::SaveAsFormat:
        saveAsFormat(entry);
        break;
    case Prompt::SaveAsName:
        saveAsName(entry);
        break;
    case Prompt::SaveAsReplace:
        saveAsReplace(entry);
        break;
    case Prompt::PurgeType:
        purgeType(entry);
        break;
    case Prompt::PurgeNames:
        purgeNames(entry);
        break;
    case Prompt::PurgeVerify:
        purgeVerify(entry);
        break;
    }
    return !quit_;
}

void Host::endOfScript()
{
    line_ = 0;
    if (prompt_ != Prompt::Command) {
        fail("script ended at prompt " + promptId() + ": " + promptText());
    }
    log("end", std::to_string(drawings_.size()) + " drawing(s) open");
}

void Host::commandEntry(const std::string& entry)
{
    if (entry.empty()) {
        // A real host repeats the last command here; scripts only rely on it as a harmless Enter.
        log("enter", "");
        return;
    }
    const Command command = findCommand(entry);
    const bool needsDrawing = command != Command::Open && command != Command::Recover && command != Command::Quit;
    if (needsDrawing && drawings_.empty()) {
        reject(entry, "No drawing is open.");
        return;
    }
    log(commandEvent(command), entry);
    switch (command) {
    case Command::None:
        break;
    case Command::Open:
    case Command::Recover:
        recover_ = command == Command::Recover;
        prompt_ = Prompt::OpenName;
        break;
    case Command::Zoom:
        prompt_ = Prompt::Zoom;
        break;
    case Command::Close:
        if (drawings_.back().modified) {
            prompt_ = Prompt::SaveChanges;
        } else {
            closeCurrent("unmodified");
        }
        break;
    case Command::Quit:
        quitting_ = true;
        continueQuit();
        break;
    case Command::Qsave:
        // A drawing that has never been named is saved as with SAVEAS, skipping the format.
        if (drawings_.back().startup) {
            prompt_ = Prompt::SaveAsName;
        } else {
            save(drawings_.back());
        }
        break;
    case Command::SaveAs:
        prompt_ = Prompt::SaveAsFormat;
        break;
    case Command::Purge:
        prompt_ = Prompt::PurgeType;
        break;
    }
}

void Host::openName(const std::string& entry)
{
    const std::string path = stripQuotes(entry);
    if (path.empty()) {
        reject(entry, "No drawing name given.");
        prompt_ = Prompt::Command;
        return;
    }
    if (!isRegularFile(path)) {
        reject(entry, "Cannot find the specified drawing file.");
        prompt_ = Prompt::Command;
        return;
    }
    answer(entry);
    if (isWritable(path)) {
        openDrawing(path, false);
        return;
    }
    pending_ = path;
    prompt_ = Prompt::OpenReadOnly;
}

void Host::openReadOnly(const std::string& entry)
{
    const std::optional<bool> yes = yesNo(entry, true);
    if (!yes) {
        reject(entry, "Invalid option keyword.");
        return;
    }
    answer(entry);
    if (*yes) {
        openDrawing(pending_, true);
    } else {
        prompt_ = Prompt::Command;
    }
}

void Host::openDrawing(const std::string& path, bool readOnly)
{
    drawings_.push_back({path, false, readOnly, false});
    prompt_ = Prompt::Command;
    std::string detail = readOnly ? "read-only" : "read-write";
    log("opened", recover_ ? detail + ", recovered" : detail);
}

void Host::zoom(const std::string& entry)
{
    if (entry.empty() || isScaleFactor(entry)) {
        answer(entry);
        zoomDone();
        return;
    }
    if (isPoint(entry)) {
        answer(entry);
        prompt_ = Prompt::ZoomOppositeCorner;
        return;
    }
    const std::optional<std::size_t> keyword = matchKeyword(zoomKeywords(), entry);
    if (!keyword) {
        reject(entry, "Point or option keyword required.");
        return;
    }
    answer(entry);
    const std::string& option = zoomKeywords()[*keyword].display;
    if (option == "Window") {
        prompt_ = Prompt::ZoomFirstCorner;
    } else if (option == "Scale") {
        prompt_ = Prompt::ZoomScale;
    } else if (option == "All" || option == "Extents" || option == "Previous") {
        zoomDone();
    } else {
        // Center, Dynamic and Object ask for more than this model knows; the zoom ends here.
        log("unmodelled", "zoom option " + option);
        zoomDone();
    }
}

void Host::zoomCorner(const std::string& entry)
{
    if (!isPoint(entry)) {
        reject(entry, "Requires a point.");
        return;
    }
    answer(entry);
    if (prompt_ == Prompt::ZoomFirstCorner) {
        prompt_ = Prompt::ZoomOppositeCorner;
    } else {
        zoomDone();
    }
}

void Host::zoomScale(const std::string& entry)
{
    if (!isScaleFactor(entry)) {
        reject(entry, "Requires a scale factor (nX or nXP).");
        return;
    }
    answer(entry);
    zoomDone();
}

void Host::zoomDone()
{
    // Changing the view marks the drawing changed; scripts rely on it to make CLOSE ask about saving.
    drawings_.back().modified = true;
    prompt_ = Prompt::Command;
}

void Host::saveChanges(const std::string& entry)
{
    const std::optional<bool> yes = yesNo(entry, true);
    if (!yes) {
        reject(entry, "Invalid option keyword.");
        return;
    }
    answer(entry);
    // A save that fails is journaled as an error; the drawing still closes, its changes lost.
    const bool saved = *yes && save(drawings_.back());
    closeCurrent(saved ? "saved" : "changes discarded");
    if (quitting_) {
        continueQuit();
    } else {
        prompt_ = Prompt::Command;
    }
}

void Host::closeCurrent(std::string_view detail)
{
    log("closed", detail);
    drawings_.pop_back();
}

// QUIT asks about each changed drawing in turn, current first, closing each as it goes.
void Host::continueQuit()
{
    while (!drawings_.empty()) {
        if (drawings_.back().modified) {
            prompt_ = Prompt::SaveChanges;
            return;
        }
        closeCurrent("unmodified");
    }
    prompt_ = Prompt::Command;
    quit_ = true;
}

bool Host::save(Drawing& drawing)
{
    if (drawing.startup) {
        // The start-up drawing has no file; it is taken as saved under its own name without writing.
        drawing.modified = false;
        log("saved", "start-up drawing, not written");
        return true;
    }
    if (drawing.readOnly || !isWritable(drawing.path)) {
        fail("drawing is write protected and cannot be saved: " + drawing.path);
        return false;
    }
    // The stand-in never changes a drawing's bytes; the new modification time shows the save.
    if (::utimensat(AT_FDCWD, drawing.path.c_str(), nullptr, 0) != 0) {
        fail("cannot save " + drawing.path + ": " + std::strerror(errno));
        return false;
    }
    drawing.modified = false;
    log("saved", "modification time set");
    return true;
}

void Host::saveAsFormat(const std::string& entry)
{
    if (!entry.empty() && !matchKeyword(saveFormats(product_), entry)) {
        reject(entry, "Invalid option keyword.");
        return;
    }
    answer(entry);
    prompt_ = Prompt::SaveAsName;
}

void Host::saveAsName(const std::string& entry)
{
    const Drawing& current = drawings_.back();
    const std::string target = entry.empty() ? current.path : stripQuotes(entry);
    answer(entry);
    prompt_ = Prompt::Command;
    if (::access(target.c_str(), F_OK) == 0 && (current.startup || !isSameFile(target, current.path))) {
        pending_ = target;
        prompt_ = Prompt::SaveAsReplace;
        return;
    }
    saveAs(target);
}

void Host::saveAsReplace(const std::string& entry)
{
    const std::optional<bool> yes = yesNo(entry, false);
    if (!yes) {
        reject(entry, "Invalid option keyword.");
        return;
    }
    answer(entry);
    prompt_ = Prompt::Command;
    if (*yes) {
        saveAs(pending_);
    }
}

void Host::saveAs(const std::string& target)
{
    Drawing& drawing = drawings_.back();
    if (!drawing.startup && isSameFile(target, drawing.path)) {
        save(drawing);
        return;
    }
    if (::access(target.c_str(), F_OK) == 0 && !isWritable(target)) {
        fail("cannot replace write protected file " + target);
        return;
    }
    // The new file is a copy of the drawing as it is on disk; the start-up drawing has no content.
    std::string bytes;
    if (!drawing.startup) {
        std::ifstream in(drawing.path, std::ios::binary);
        if (!in) {
            fail("cannot read " + drawing.path + ": " + std::strerror(errno));
            return;
        }
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        fail("cannot write " + target + ": " + std::strerror(errno));
        return;
    }
    const std::string detail =
        drawing.startup ? "written empty (start-up drawing)" : "written as a copy of " + drawing.path;
    drawing = {target, false, false, false};
    log("saved", detail);
}

void Host::purgeType(const std::string& entry)
{
    if (entry.empty()) {
        // The type prompt has no default: Enter ends the command.
        answer(entry);
        prompt_ = Prompt::Command;
        return;
    }
    const std::vector<Keyword> types = purgeTypes(product_);
    const std::optional<std::size_t> type = matchKeyword(types, entry);
    if (!type) {
        reject(entry, "Invalid option keyword.");
        return;
    }
    answer(entry);
    purgeType_ = types[*type].display;
    if (types[*type].takesNames) {
        prompt_ = Prompt::PurgeNames;
    } else {
        purgeDone(purgeType_);
    }
}

void Host::purgeNames(const std::string& entry)
{
    answer(entry);
    purgeNames_ = entry.empty() ? "*" : entry;
    prompt_ = Prompt::PurgeVerify;
}

void Host::purgeVerify(const std::string& entry)
{
    const std::optional<bool> yes = yesNo(entry, true);
    if (!yes) {
        reject(entry, "Invalid option keyword.");
        return;
    }
    answer(entry);
    purgeDone(purgeType_ + " names=" + purgeNames_ + " verify=" + (*yes ? "Yes" : "No"));
}

void Host::purgeDone(const std::string& detail)
{
    drawings_.back().modified = true;
    prompt_ = Prompt::Command;
    log("purged", detail);
}

std::optional<bool> Host::yesNo(const std::string& entry, bool byDefault) const
{
    if (entry.empty()) {
        return byDefault;
    }
    const std::optional<std::size_t> keyword = matchKeyword(yesNoKeywords(), entry);
    if (!keyword) {
        return std::nullopt;
    }
    return *keyword == 0;
}

std::string Host::promptId() const
{
    switch (prompt_) {
    case Prompt::Command:
        return "command";
    case Prompt::OpenName:
        return "open-name";
    case Prompt::OpenReadOnly:
        return "open-readonly";
    case Prompt::Zoom:
        return "zoom";
    case Prompt::ZoomFirstCorner:
        return "zoom-first-corner";
    case Prompt::ZoomOppositeCorner:
        return "zoom-opposite-corner";
    case Prompt::ZoomScale:
        return "zoom-scale";
    case Prompt::SaveChanges:
        return "save-changes";
    case Prompt::SaveAsFormat:
        return "saveas-format";
    case Prompt::SaveAsName:
        return "saveas-name";
    case Prompt::SaveAsReplace:
        return "saveas-replace";
    case Prompt::PurgeType:
        return "purge-type";
    case Prompt::PurgeNames:
        return "purge-names";
    case Prompt::PurgeVerify:
        return "purge-verify";
    }
    return {};
}

std::string Host::promptText() const
{
    switch (prompt_) {
    case Prompt::Command:
        return "Command:";
    case Prompt::OpenName:
        return "Enter name of drawing to open <.>:";
    case Prompt::OpenReadOnly:
        return "Drawing is write protected. Open read-only? <Y>";
    case Prompt::Zoom:
        return "Specify corner of window, enter a scale factor (nX or nXP), or "
               "[All/Center/Dynamic/Extents/Previous/Scale/Window/Object] <real time>:";
    case Prompt::ZoomFirstCorner:
        return "Specify first corner:";
    case Prompt::ZoomOppositeCorner:
        return "Specify opposite corner:";
    case Prompt::ZoomScale:
        return "Enter a scale factor (nX or nXP):";
    case Prompt::SaveChanges:
        return "Save changes to " + currentName() + "? [Yes/No] <Y>:";
    case Prompt::SaveAsFormat:
        return saveFormatPrompt(product_);
    case Prompt::SaveAsName:
        return "Save drawing as <" + currentName() + ">:";
    case Prompt::SaveAsReplace:
        return "A drawing with this name already exists. Do you want to replace it? <N>";
    case Prompt::PurgeType:
        return purgeTypePrompt(product_);
    case Prompt::PurgeNames:
        return "Enter name(s) to purge <*>:";
    case Prompt::PurgeVerify:
        return "Verify each name to be purged? [Yes/No] <Y>:";
    }
    return {};
}

std::string Host::currentName() const
{
    return drawings_.empty() ? std::string("-") : drawings_.back().path;
}

void Host::log(std::string_view event, std::string_view detail)
{
    journal_.write(line_, event, currentName(), detail);
}

void Host::answer(const std::string& entry)
{
    log("answer", promptId() + ": " + entry);
}

void Host::reject(const std::string& entry, std::string_view message)
{
    fail(promptId() + ": " + entry + ": " + std::string(message) + " (" + promptText() + ")");
}

void Host::fail(std::string_view detail)
{
    failed_ = true;
    log("error", detail);
}

} // namespace cadhost
