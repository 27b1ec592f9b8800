#include "batch/BatchCheck.h"

#include "Drawing.h"
#include "HostModel.h"
#include "ScriptText.h"
#include "text/CodePage.h"
#include "text/Paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <unordered_map>

namespace qv {

namespace hm = hostmodel;
namespace fs = std::filesystem;

namespace {

fs::path nativePath(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The disk as the check sees it: each path is looked at once (its attributes only: a drawing is never opened
// or read, so a pipe or a device given as a drawing cannot hang the check) and nothing is written. What the
// run would write is remembered, so a later step that looks for it finds it; a write into a folder that does
// not exist fails as it would in the run. Drawings declare nothing, except a tab the check chose for them.
class CheckFiles final : public hm::HostFiles
{
public:
    struct Look
    {
        bool exists = false;
        bool file = false;
        bool writable = false;
    };

    bool isFile(const std::string& path) const override { return look(path).file; }
    bool exists(const std::string& path) const override { return look(path).exists; }
    bool isWritable(const std::string& path) const override { return look(path).writable; }
    bool sameFile(const std::string& a, const std::string& b) const override
    {
        return a == b || HostFiles::sameFile(a, b);
    }
    std::string firstLine(const std::string& path) const override
    {
        const auto found = m_lines.find(path);
        return found == m_lines.end() ? std::string() : found->second;
    }
    // The state a drawing opens in (the stand-in host's drawing line).
    void declare(const std::string& path, std::string line) { m_lines[path] = std::move(line); }
    // A drawing the check makes up, in a declared state.
    void scratch(const std::string& path, std::string line)
    {
        m_known[path] = {true, true, true};
        declare(path, std::move(line));
    }
    // The read-only flag the caller has just read for a drawing; what the path is still comes from the disk.
    void remember(const std::string& path, bool writable)
    {
        Look& known = entry(path);
        known.writable = known.file && writable;
    }
    // What another check's disk knows of a path.
    void know(const std::string& path, const Look& look) { m_known.insert_or_assign(path, look); }
    // What the caller has just read of a drawing (kAttrFolder, kAttrNotFile, read-only), the read-only flag
    // given apart when it is.
    static Look lookOf(unsigned attributes, std::optional<bool> writable)
    {
        const bool file = (attributes & (kAttrFolder | kAttrNotFile)) == 0;
        return Look{true, file, file && writable.value_or((attributes & kAttrReadOnly) == 0)};
    }
    // Paths answered before the disk is asked (the drawings of the list, from what the caller read); none when
    // it returns nullptr. Paths written or looked at are answered first.
    void answerFirst(std::function<Look*(const std::string&)> listed) { m_listed = std::move(listed); }
    std::string touch(const std::string&) override { return {}; }
    std::string copy(const std::string&, const std::string& to) override { return write(to, {}); }
    std::string write(const std::string& path, const std::string&) override
    {
        const Look& target = look(path);
        if (target.exists && !target.file) {
            return "there is a folder of that name";
        }
        const std::string folder = utf8Of(nativePath(path).parent_path());
        if (!folder.empty() && !isFolder(folder)) {
            return "the folder " + folder + " does not exist";
        }
        m_known[path] = {true, true, true};
        return {};
    }

    const Look& look(const std::string& path) const { return entry(path); }

    bool isFolder(const std::string& folder) const override
    {
        const auto found = m_folders.find(folder);
        if (found != m_folders.end()) {
            return found->second;
        }
        std::error_code error;
        return m_folders.emplace(folder, fs::is_directory(nativePath(folder), error)).first->second;
    }

private:
    Look& entry(const std::string& path) const
    {
        const auto found = m_known.find(path);
        if (found != m_known.end()) {
            return found->second;
        }
        if (Look* listed = m_listed ? m_listed(path) : nullptr) {
            return *listed;
        }
        std::error_code error;
        const fs::file_status status = fs::status(nativePath(path), error);
        const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        Look look;
        look.exists = !error && fs::exists(status);
        look.file = look.exists && fs::is_regular_file(status);
        look.writable = look.exists && (status.permissions() & writeBits) != fs::perms::none;
        return m_known.emplace(path, look).first->second;
    }

    std::map<std::string, std::string> m_lines;
    mutable std::unordered_map<std::string, Look> m_known;
    std::function<Look*(const std::string&)> m_listed;
    mutable std::unordered_map<std::string, bool> m_folders;
};

// The line that opens an unseen drawing on a layout tab, keeping its own plot device.
std::string layoutTabLine()
{
    std::string device;
    for (const char ch : hm::Drawing::kOwnDevice) {
        device += ch == ' ' ? std::string("%20") : std::string(1, ch);
    }
    return "CADHOST tab=Layout1 device=" + device;
}

Result<hm::HostSetup> setupFor(const BatchCheckOptions& options)
{
    const std::optional<hm::Product> product = hm::findProduct(options.productCode);
    if (!product) {
        return Error{ErrInvalidProcedureCall,
                     "The CAD product \"" + options.productCode +
                         "\" is not one the check knows. Choose the CAD product in the options first."};
    }
    hm::HostSetup setup;
    setup.product = *product;
    for (const std::string& device : options.devices) {
        setup.devices.push_back({device, {}});
    }
    setup.trustNames = true;
    setup.problemsOnly = true;
    return setup;
}

// Prompt ids are words joined by hyphens ("plot-proceed").
bool startsWithPromptId(std::string_view text)
{
    const std::size_t colon = text.find(": ");
    if (colon == std::string_view::npos || colon == 0) {
        return false;
    }
    const std::string_view id = text.substr(0, colon);
    return id.find('-') != std::string_view::npos && std::all_of(id.begin(), id.end(), [](char ch) {
               return std::islower(static_cast<unsigned char>(ch)) || std::isdigit(static_cast<unsigned char>(ch)) ||
                      ch == '-';
           });
}

constexpr std::string_view kMisaligns =
    " If it is missing, the host asks again and the lines that follow answer the wrong questions.";

// What the host would have made of an event, when it is a problem: an error, a name taken on trust, or changes
// that the close throws away.
std::optional<CheckProblem> problemOf(const hm::HostEvent& event)
{
    CheckProblem problem;
    problem.line = event.line;
    if (event.event == "discarded") {
        if (event.detail != "edits") {
            return std::nullopt; // only the view changed (the zoom before every close)
        }
        problem.warning = true;
        problem.message = "The routine changes the drawing but does not save it: the changes are discarded at close.";
        return problem;
    }
    if (event.event != "error" && event.event != "warning") {
        return std::nullopt;
    }
    problem.warning = event.event == "warning";
    problem.entry = event.entry;
    problem.asking = event.asking;
    // A problem at a prompt reads "id: entry: message (prompt)"; keep the message.
    problem.message = event.detail;
    if (!event.asking.empty()) {
        const std::string head = ": " + event.entry + ": ";
        if (const std::size_t at = problem.message.find(head); at != std::string::npos) {
            problem.message.erase(0, at + head.size());
        } else {
            // Not about an entry (a save or a plot that fails, an AutoLISP error): the message says it all.
            if (startsWithPromptId(problem.message)) {
                problem.message.erase(0, problem.message.find(": ") + 2);
            }
            problem.asking.clear();
        }
        const std::string tail = " (" + event.asking + ")";
        if (problem.message.size() >= tail.size() &&
            problem.message.compare(problem.message.size() - tail.size(), tail.size(), tail) == 0) {
            problem.message.resize(problem.message.size() - tail.size());
        }
    }
    // A name taken on trust at its prompt: when it is missing, the host asks again.
    if (problem.warning && !problem.entry.empty()) {
        problem.stopsScript = true;
        problem.message += kMisaligns;
    }
    return problem;
}

bool isOpenCommand(std::string_view line)
{
    while (!line.empty() && (line.front() == '_' || line.front() == '.' || line.front() == '-')) {
        line.remove_prefix(1);
    }
    const auto is = [line](std::string_view name) {
        return line.size() == name.size() && std::equal(line.begin(), line.end(), name.begin(), [](char a, char b) {
                   return std::toupper(static_cast<unsigned char>(a)) == b;
               });
    };
    return is("OPEN") || is("RECOVER");
}

std::string rowPath(const DrawingRow& row)
{
    std::string_view folder = row.folder;
    if (!folder.empty() && isPathSeparator(folder.back())) {
        folder.remove_suffix(1);
    }
    return joinPath(folder, row.file);
}

std::string fileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Which tab a routine needs on a drawing whose tab the check cannot see.
enum class TabNeed
{
    Either,
    Model,
    Layout,
};

int errorsOf(const std::vector<CheckProblem>& problems)
{
    return static_cast<int>(
        std::count_if(problems.begin(), problems.end(), [](const CheckProblem& p) { return !p.warning; }));
}

// One drawing's part of the script (from its open command to its close), where the lines of a script are.
struct Part
{
    std::size_t open = 0; // index of the open command's line
    std::size_t end = 0;  // one past its last line
    std::size_t at = 0;   // where the open command's line begins in the script's bytes
    bool listed = false;  // its drawing is a row of the list (the path matches)
};

// Calls `line(index, text, at)` for each line of a script, in order; `at` is where the line begins. Lines end
// at CR LF, CR or LF, as the host model splits them. Returns the number of lines.
template <typename Visit> std::size_t forEachLine(std::string_view bytes, std::size_t at, Visit&& line)
{
    std::size_t index = 0;
    while (at < bytes.size()) {
        std::size_t end = at;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        if (!line(index, bytes.substr(at, end - at), at)) {
            return index + 1;
        }
        ++index;
        at = end + (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
    }
    return index;
}

// The lines of one drawing's part.
std::vector<std::string_view> partLines(std::string_view scriptBytes, const Part& part)
{
    std::vector<std::string_view> lines;
    lines.reserve(part.end - part.open);
    forEachLine(scriptBytes, part.at, [&](std::size_t index, std::string_view text, std::size_t) {
        if (index >= part.end - part.open) {
            return false;
        }
        lines.push_back(text);
        return true;
    });
    return lines;
}

// Runs a script on its own, the drawing at `path` opening on the given tab line; its problems.
std::vector<CheckProblem> problemsOfRun(std::string_view script, const hm::HostSetup& base, const std::string& path,
                                        const CheckFiles::Look& look, std::string tabLine)
{
    CheckFiles files;
    files.know(path, look);
    files.declare(path, std::move(tabLine));
    hm::HostSetup setup = base;
    setup.files = &files;
    std::vector<CheckProblem> problems;
    hm::runHostScript(script, setup, [&](const hm::HostEvent& event) {
        if (std::optional<CheckProblem> problem = problemOf(event)) {
            problems.push_back(std::move(*problem));
        }
    });
    return problems;
}

TabNeed tabNeedOf(const std::vector<CheckProblem>& onModel, const std::vector<CheckProblem>& onLayout)
{
    const bool modelWorks = errorsOf(onModel) == 0;
    const bool layoutWorks = errorsOf(onLayout) == 0;
    if (modelWorks == layoutWorks) {
        return TabNeed::Either; // both work, or neither: the model tab's problems tell
    }
    return modelWorks ? TabNeed::Model : TabNeed::Layout;
}

CheckProblem tabWarning(TabNeed need, int line)
{
    CheckProblem warning;
    warning.line = line;
    warning.warning = true;
    warning.stopsScript = true;
    warning.message = need == TabNeed::Model
                          ? "The routine works only when the drawing opens on the model tab; the check cannot see "
                            "which tab it was saved on. On a layout tab its lines answer the wrong questions."
                          : "The routine works only when the drawing opens on a layout tab; the check cannot see "
                            "which tab it was saved on. On the model tab its lines answer the wrong questions.";
    return warning;
}

// " The script would stop at this drawing, and A.dwg, B.dwg and 3 more would not be reached.": the nearest
// drawings after it, and how many there are.
std::string laterDrawingsText(const std::vector<std::string>& nearest, std::size_t count)
{
    if (count == 0) {
        return {};
    }
    std::string text = " The script would stop at this drawing, and ";
    for (std::size_t i = 0; i < nearest.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == nearest.size() && count == nearest.size() ? " and " : ", ") + nearest[i];
    }
    if (count > nearest.size()) {
        text += " and " + std::to_string(count - nearest.size()) + " more";
    }
    return text + " would not be reached.";
}

} // namespace

CheckVerdict verdictOf(const DrawingCheck& drawing)
{
    // The host reads nothing of a drawing it does not reach: an error it has is one of the drawing itself.
    if (drawing.problem && !drawing.problem->warning) {
        return CheckVerdict::Error;
    }
    if (!drawing.reached) {
        return CheckVerdict::NotReached;
    }
    return drawing.problem ? CheckVerdict::Warning : CheckVerdict::Ok;
}

// Stands for a drawing's own path in the texts of a stored problem, so that drawings share it.
constexpr char kPathMark = '\x01';

// Fills a report's verdicts as the check finds them, each problem stored once.
class BatchCheckBuilder
{
public:
    explicit BatchCheckBuilder(DrawingChecks& checks) : m_checks(checks) {}

    void reserve(std::size_t drawings) { m_checks.m_drawings.reserve(drawings); }

    std::size_t add(std::size_t row, std::string_view path, const std::string& routine, int firstLine)
    {
        DrawingChecks::Compact drawing;
        drawing.row = row;
        drawing.pathAt = m_checks.m_paths.size();
        drawing.pathSize = static_cast<std::uint32_t>(path.size());
        m_checks.m_paths.append(path);
        auto [found, added] = m_routines.try_emplace(routine, static_cast<std::uint32_t>(m_checks.m_routines.size()));
        if (added) {
            m_checks.m_routines.push_back(routine);
        }
        drawing.routine = found->second;
        drawing.firstLine = firstLine;
        m_checks.m_drawings.push_back(drawing);
        return m_checks.m_drawings.size() - 1;
    }

    std::size_t size() const { return m_checks.size(); }
    std::string path(std::size_t d) const { return std::string(m_checks.pathOf(m_checks.m_drawings[d])); }
    std::string_view pathView(std::size_t d) const { return m_checks.pathOf(m_checks.m_drawings[d]); }
    bool pathIs(std::size_t d, std::string_view path) const { return m_checks.pathOf(m_checks.m_drawings[d]) == path; }
    int firstLine(std::size_t d) const { return m_checks.m_drawings[d].firstLine; }
    std::size_t row(std::size_t d) const { return m_checks.m_drawings[d].row; }
    int& unchecked(std::size_t d) { return m_checks.m_drawings[d].unchecked; }
    const DrawingChecks::Compact& counts(std::size_t d) const { return m_checks.m_drawings[d]; }

    // The problem the drawing shows (the first error, else the first warning), without what follows from the
    // drawings after it.
    std::optional<CheckProblem> problem(std::size_t d) const
    {
        const DrawingChecks::Compact& drawing = m_checks.m_drawings[d];
        if (drawing.problem == DrawingChecks::kNone) {
            return std::nullopt;
        }
        return m_checks.problemFor(drawing);
    }

    void addProblem(std::size_t d, const CheckProblem& problem)
    {
        DrawingChecks::Compact& drawing = m_checks.m_drawings[d];
        ++(problem.warning ? drawing.warnings : drawing.errors);
        if (drawing.problem == DrawingChecks::kNone || (drawing.warning && !problem.warning)) {
            setProblem(d, problem);
        }
    }

    // Replaces the problem the drawing shows, its counts unchanged.
    void setProblem(std::size_t d, const CheckProblem& problem)
    {
        DrawingChecks::Compact& drawing = m_checks.m_drawings[d];
        DrawingChecks::StoredProblem stored{problem, problem.line != 0, false};
        stored.problem.line = stored.tied ? problem.line - drawing.firstLine : 0;
        const std::string_view path = m_checks.pathOf(drawing);
        CheckProblem& texts = stored.problem;
        const auto has = [](const std::string& text, std::string_view part) {
            return text.find(part) != std::string::npos;
        };
        const std::string_view mark(&kPathMark, 1);
        if (!path.empty() && !has(texts.entry, mark) && !has(texts.asking, mark) && !has(texts.message, mark) &&
            (has(texts.entry, path) || has(texts.asking, path) || has(texts.message, path))) {
            stored.marked = true;
            for (std::string* text : {&texts.entry, &texts.asking, &texts.message}) {
                for (std::size_t at = 0; (at = text->find(path, at)) != std::string::npos; ++at) {
                    text->replace(at, path.size(), mark);
                }
            }
        }
        std::string key;
        for (const std::string* text : {&texts.entry, &texts.asking, &texts.message}) {
            key.append(std::to_string(text->size())).append(":").append(*text);
        }
        key.append(std::to_string(texts.line))
            .append({texts.warning ? 'w' : 'e', texts.stopsScript ? 's' : '-', stored.tied ? 't' : '-',
                     stored.marked ? 'm' : '-'});
        auto [found, added] = m_problems.try_emplace(std::move(key), static_cast<std::uint32_t>(m_checks.m_problems.size()));
        if (added) {
            m_checks.m_problems.push_back(std::move(stored));
        }
        drawing.problem = found->second;
        drawing.warning = problem.warning;
    }

    // The host stops reading the script at this line: the drawings after it are never opened.
    void stopAt(int line)
    {
        m_checks.m_reached = 0;
        for (DrawingChecks::Compact& drawing : m_checks.m_drawings) {
            drawing.reached = line <= 0 || drawing.firstLine <= line;
            m_checks.m_reached += drawing.reached ? 1 : 0;
        }
    }

private:
    DrawingChecks& m_checks;
    std::unordered_map<std::string, std::uint32_t> m_routines;
    std::unordered_map<std::string, std::uint32_t> m_problems;
};

CheckProblem DrawingChecks::problemFor(const Compact& drawing) const
{
    const StoredProblem& stored = m_problems[drawing.problem];
    CheckProblem problem = stored.problem;
    problem.line = stored.tied ? drawing.firstLine + problem.line : 0;
    if (stored.marked) {
        const std::string_view path = pathOf(drawing);
        for (std::string* text : {&problem.entry, &problem.asking, &problem.message}) {
            for (std::size_t at = 0; (at = text->find(kPathMark, at)) != std::string::npos; at += path.size()) {
                text->replace(at, 1, path);
            }
        }
    }
    return problem;
}

DrawingCheck DrawingChecks::operator[](std::size_t index) const
{
    const Compact& compact = m_drawings[index];
    DrawingCheck drawing;
    drawing.row = compact.row;
    drawing.path = pathOf(compact);
    drawing.routine = m_routines[compact.routine];
    drawing.firstLine = compact.firstLine;
    drawing.errors = compact.errors;
    drawing.warnings = compact.warnings;
    drawing.unchecked = compact.unchecked;
    drawing.reached = compact.reached;
    if (compact.problem != kNone) {
        drawing.problem = problemFor(compact);
        // What a warning that does not hold would cost: the drawings after it that the host would reach.
        if (drawing.problem->warning && drawing.problem->stopsScript && compact.reached) {
            constexpr std::size_t kNamed = 3;
            std::vector<std::string> nearest;
            for (std::size_t next = index + 1; next < m_reached && nearest.size() < kNamed; ++next) {
                nearest.push_back(fileNameOf(std::string(pathOf(m_drawings[next]))));
            }
            drawing.problem->message += laterDrawingsText(nearest, m_reached - index - 1);
        }
    }
    return drawing;
}

CheckVerdict DrawingChecks::verdict(std::size_t index) const
{
    const Compact& drawing = m_drawings[index];
    if (drawing.problem != kNone && !drawing.warning) {
        return CheckVerdict::Error;
    }
    if (!drawing.reached) {
        return CheckVerdict::NotReached;
    }
    return drawing.problem != kNone ? CheckVerdict::Warning : CheckVerdict::Ok;
}

Result<BatchCheckReport> checkBatchScript(std::string_view scriptBytes, const DrawingRows& rows,
                                          const BatchCheckOptions& options)
{
    Result<hm::HostSetup> setup = setupFor(options);
    if (!setup) {
        return setup.error();
    }

    // Each drawing's part of the script starts at its open (or recover) command, followed by its quoted path.
    BatchCheckReport report;
    BatchCheckBuilder drawings(report.drawings);
    std::vector<Part> parts;
    // One part per row, unless sets repeat them.
    drawings.reserve(rows.size());
    parts.reserve(rows.size());
    std::size_t cursor = 0;
    std::string_view previous;
    std::size_t previousAt = 0;
    const std::size_t lineCount = forEachLine(scriptBytes, 0, [&](std::size_t i, std::string_view next, std::size_t at) {
        const std::size_t openAt = previousAt;
        const bool opens = i > 0 && next.size() >= 2 && next.front() == '"' && isOpenCommand(previous);
        previous = next;
        previousAt = at;
        if (!opens) {
            return true;
        }
        const std::string path = cp1252ToUtf8(next.substr(1, next.find('"', 1) - 1));
        // Rows come in list order, once per set when the sets are collated: the next row of that path.
        bool listed = false;
        std::size_t row = 0;
        for (std::size_t step = 0; step < rows.size(); ++step) {
            const std::size_t candidate = (cursor + step) % rows.size();
            if (rowPath(rows[candidate]) == path) {
                row = candidate;
                cursor = candidate + 1;
                listed = true;
                break;
            }
        }
        if (!parts.empty()) {
            parts.back().end = i - 1;
        }
        parts.push_back({i - 1, 0, openAt, listed});
        static const std::string kNoRoutine;
        drawings.add(row, path, listed ? rows[row].routine : kNoRoutine, static_cast<int>(i));
        return true;
    });
    if (!parts.empty()) {
        // The script's own last line (the final quit) belongs to no drawing.
        parts.back().end = std::max(parts.back().open + 2, lineCount - 1);
    }

    CheckFiles files;
    const auto writableOf = [&](std::size_t d) -> std::optional<bool> {
        const std::size_t row = drawings.row(d);
        if (parts[d].listed && row < options.rowIsReadOnly.size()) {
            return !options.rowIsReadOnly[row];
        }
        return std::nullopt;
    };
    const auto attributesOf = [&](std::size_t d) -> std::optional<unsigned> {
        const std::size_t row = drawings.row(d);
        if (parts[d].listed && row < options.rowAttributes.size()) {
            return options.rowAttributes[row];
        }
        return std::nullopt;
    };
    const std::string onLayout = layoutTabLine();
    std::unordered_map<std::string, TabNeed> needs; // by the part's text without its path, and how it opens
    std::string key;
    std::vector<std::optional<CheckFiles::Look>> looks(drawings.size());
    std::unordered_map<std::string_view, std::size_t> listed; // paths into the report's block of paths
    for (std::size_t d = 0; d < drawings.size(); ++d) {
        const std::string path = drawings.path(d);
        const std::optional<bool> writable = writableOf(d);
        const std::optional<unsigned> attributes = attributesOf(d);
        // The drawings the caller has read are kept beside the check's disk, without a copy of their paths.
        if (attributes) {
            looks[d] = CheckFiles::lookOf(*attributes, writable);
            listed.insert_or_assign(drawings.pathView(d), d);
        } else if (writable) {
            files.remember(path, *writable);
        }
        // Only a file can be opened as a drawing; a folder or a device is named here, the host refuses it.
        const CheckFiles::Look& look = looks[d] ? *looks[d] : files.look(path);
        const std::vector<std::string_view> lines = partLines(scriptBytes, parts[d]);
        if (look.exists && !look.file) {
            std::error_code error;
            const bool folder =
                attributes ? (*attributes & kAttrFolder) != 0 : fs::is_directory(nativePath(path), error);
            CheckProblem problem;
            problem.line = drawings.firstLine(d) + 1;
            problem.entry = cp1252ToUtf8(lines[1]);
            problem.message = folder ? "This is a folder, not a drawing file: the host cannot open it."
                                     : "This is not a regular file (a device, a pipe or a socket): the host cannot "
                                       "open it as a drawing.";
            drawings.addProblem(d, problem);
            continue;
        }
        // The tab the drawing was saved on is unseen: a routine that works on only one tab opens it there.
        key.assign(!look.exists ? "M" : look.writable ? "W" : "R");
        for (std::size_t i = 0; i < lines.size(); ++i) {
            key.append(i == 1 ? std::string_view() : lines[i]).append("\r\n");
        }
        auto found = needs.find(key);
        if (found == needs.end()) {
            std::string script;
            for (const std::string_view line : lines) {
                script.append(line).append("\r\n");
            }
            script += "_Quit\r\n";
            const std::vector<CheckProblem> model = problemsOfRun(script, setup.value(), path, look, {});
            const std::vector<CheckProblem> layout = problemsOfRun(script, setup.value(), path, look, onLayout);
            found = needs.emplace(key, tabNeedOf(model, layout)).first;
        }
        if (found->second != TabNeed::Either) {
            drawings.addProblem(d, tabWarning(found->second, drawings.firstLine(d) + 2));
        }
        if (found->second == TabNeed::Layout) {
            files.declare(path, onLayout);
        }
    }

    // The drawing whose part holds a line; events not tied to a line are the last drawing's.
    constexpr std::size_t kNoDrawing = static_cast<std::size_t>(-1);
    auto drawingAtLine = [&](int line) -> std::size_t {
        if (drawings.size() == 0 || (line > 0 && line < drawings.firstLine(0))) {
            return kNoDrawing;
        }
        if (line == 0) {
            return drawings.size() - 1;
        }
        const auto after = std::upper_bound(parts.begin(), parts.end(), static_cast<std::size_t>(line - 1),
                                            [](std::size_t open, const Part& part) { return open < part.open; });
        return static_cast<std::size_t>(after - parts.begin()) - 1;
    };
    auto drawingAt = [&](const hm::HostEvent& event) -> std::size_t {
        const std::size_t drawing = drawingAtLine(event.line);
        // A question about a drawing left open earlier (the save question of the final quit) belongs to it.
        if (drawing != kNoDrawing && event.drawing != "-" && !drawings.pathIs(drawing, event.drawing)) {
            for (std::size_t index = drawing; index-- > 0;) {
                if (drawings.pathIs(index, event.drawing)) {
                    return index;
                }
            }
        }
        return drawing;
    };

    // Where the host is in the script: the last line it began to read.
    std::size_t lastLine = 0;
    // The drawings the caller has read are answered from what it read.
    files.answerFirst([&](const std::string& path) -> CheckFiles::Look* {
        const auto found = listed.find(path);
        return found == listed.end() ? nullptr : &*looks[found->second];
    });
    setup.value().files = &files;
    setup.value().keepGoing = [&](std::size_t line, std::size_t count) {
        lastLine = line;
        return !options.keepGoing || options.keepGoing(line, count);
    };
    const hm::HostOutcome outcome = hm::runHostScript(scriptBytes, setup.value(), [&](const hm::HostEvent& event) {
        const bool unchecked = event.event == "command" || event.event == "unmodelled";
        std::optional<CheckProblem> found = unchecked ? std::nullopt : problemOf(event);
        if (!found && !unchecked) {
            return;
        }
        const std::size_t drawing = drawingAt(event);
        if (unchecked) {
            ++(drawing != kNoDrawing ? drawings.unchecked(drawing) : report.unchecked);
            return;
        }
        if (drawing == kNoDrawing) {
            report.elsewhere.push_back(std::move(*found));
            return;
        }
        // The host's refusal of a path that is not a file is the problem already named.
        if (!found->warning && found->line == drawings.firstLine(drawing) + 1) {
            const std::optional<CheckProblem> named = drawings.problem(drawing);
            if (named && !named->warning && named->line == found->line) {
                return;
            }
        }
        drawings.addProblem(drawing, *found);
    });
    report.stopped = outcome.stopped;

    // Where the host stops reading before the script's end. A suspension says so; a routine that quits the
    // host, or an AutoLISP expression left open that takes in the rest, ends the reading inside a drawing's
    // part, before its close.
    if (outcome.suspended) {
        report.stopLine = outcome.suspendedLine;
        const std::size_t at = drawingAtLine(outcome.suspendedLine);
        report.stopReason = "an error suspends the script at line " + std::to_string(report.stopLine) +
                            (at != kNoDrawing && outcome.suspendedLine > 0 ? " (" + fileNameOf(drawings.path(at)) + ")"
                                                                           : "");
    } else if (!outcome.stopped && drawings.size() > 0) {
        const int last = static_cast<int>(lastLine);
        if (const std::size_t inside = last > 0 ? drawingAtLine(last) : kNoDrawing; inside != kNoDrawing) {
            const std::string name = fileNameOf(drawings.path(inside));
            const Part& part = parts[inside];
            // The part ends with the close (or quit) command and its answer.
            const int closeLine = static_cast<int>(part.end) - 1;
            if (last < closeLine) {
                CheckProblem problem;
                problem.line = last;
                problem.entry = cp1252ToUtf8(partLines(scriptBytes, part)[lastLine - 1 - part.open]);
                const bool lisp = !problem.entry.empty() && problem.entry.find('(') != std::string::npos;
                if (outcome.leftWaiting && lisp) {
                    problem.message = "The AutoLISP expression that starts here is not closed: it takes in the "
                                      "rest of the script and the host is left waiting.";
                    report.stopReason = "an AutoLISP expression at line " + std::to_string(last) + " (" + name +
                                        ") takes in the rest of the script";
                } else if (outcome.leftWaiting) {
                    problem.message = "The script ends here with the host still inside a command: it is left "
                                      "waiting.";
                    report.stopReason = "the host is left waiting at line " + std::to_string(last) + " (" + name + ")";
                } else {
                    problem.message = "The routine quits the host: the drawings after it are never opened.";
                    report.stopReason =
                        "the routine of " + name + " quits the host at line " + std::to_string(last);
                }
                report.stopLine = last;
                drawings.addProblem(inside, problem);
            }
        } else {
            report.stopLine = last;
            report.stopReason = "the host stops reading the script at line " + std::to_string(last);
        }
    }
    drawings.stopAt(report.stopLine);
    // An entry that did not fit among the lines that zoom and close a drawing: the routine left its command open.
    for (std::size_t d = 0; d < drawings.size(); ++d) {
        const int closeLine = static_cast<int>(parts[d].end) - 1;
        std::optional<CheckProblem> problem = drawings.problem(d);
        if (problem && !problem->warning && !problem->asking.empty() && problem->asking != "Command:" &&
            problem->line >= closeLine - 2 && problem->line <= closeLine + 1) {
            problem->message = "The routine leaves a command open, and the lines that zoom and close the drawing "
                               "answer its questions. " +
                               problem->message;
            drawings.setProblem(d, *problem);
        }
    }
    for (std::size_t d = 0; d < report.drawings.size(); ++d) {
        const auto& drawing = drawings.counts(d);
        const CheckVerdict verdict = report.drawings.verdict(d);
        report.notReached += verdict == CheckVerdict::NotReached ? 1 : 0;
        report.errors += verdict == CheckVerdict::NotReached ? 0 : drawing.errors;
        report.warnings += drawing.reached ? drawing.warnings : 0;
        report.unchecked += drawing.unchecked;
    }
    for (const CheckProblem& problem : report.elsewhere) {
        ++(problem.warning ? report.warnings : report.errors);
    }
    return report;
}

Result<std::vector<CheckProblem>> checkRoutineText(std::string_view text, const BatchCheckOptions& options)
{
    Result<hm::HostSetup> setup = setupFor(options);
    if (!setup) {
        return setup.error();
    }
    // The routine runs on a scratch drawing, framed as the script frames every drawing, in the script's code
    // page. Lines are counted from the routine's first line.
    Result<std::string> encoded = utf8ToCp1252(text);
    if (!encoded) {
        return encoded.error();
    }
    constexpr std::string_view kScratch = "Scratch.dwg";
    // The script writer ends every routine with a line break of its own, also one that already ends with
    // one: that last empty line is an answer (Enter) the routine relies on.
    std::string routine = std::move(encoded.value()) + "\r\n";
    const int routineLines = static_cast<int>(std::count(routine.begin(), routine.end(), '\n'));
    const std::string script = "_Open\r\n\"" + std::string(kScratch) + "\"\r\n" + routine +
                               "_Zoom\r\n0.999x\r\n_Close\r\n_Y\r\n_Quit\r\n";
    const auto runOn = [&](std::string drawingLine) {
        CheckFiles files;
        files.scratch(std::string(kScratch), std::move(drawingLine));
        hm::HostSetup scratchSetup = setup.value();
        scratchSetup.files = &files;
        std::vector<CheckProblem> problems;
        hm::runHostScript(script, scratchSetup, [&](const hm::HostEvent& event) {
            if (std::optional<CheckProblem> problem = problemOf(event)) {
                // A routine that leaves its command open shows at the frame: that is past its own last line.
                problem->line = std::clamp(problem->line - 2, 0, routineLines + 1);
                problems.push_back(std::move(*problem));
            }
        });
        return problems;
    };
    // A routine may be meant for drawings saved on the model tab or on a layout (a plot of the layout tab
    // answers other questions): what counts is the state in which the host finds no error. When both
    // fail, the model tab's problems are shown.
    std::vector<CheckProblem> problems = runOn({});
    if (errorsOf(problems) > 0) {
        std::vector<CheckProblem> layout = runOn(layoutTabLine());
        if (errorsOf(layout) == 0) {
            problems = std::move(layout);
        }
    }
    return problems;
}

std::string describeProblem(const CheckProblem& problem)
{
    std::string text = problem.warning ? "warning" : "error";
    if (problem.line > 0) {
        text += " at line " + std::to_string(problem.line);
    }
    if (!problem.asking.empty()) {
        text += ": \"" + problem.entry + "\" at \"" + problem.asking + "\"";
    }
    return text + ": " + problem.message;
}

std::string describeCheck(const DrawingCheck& drawing)
{
    switch (verdictOf(drawing)) {
    case CheckVerdict::NotReached:
        return "not reached: the host stops reading the script before this drawing";
    case CheckVerdict::Ok:
        return drawing.unchecked > 0 ? "OK (" + std::to_string(drawing.unchecked) + " command(s) not checked)"
                                     : std::string("OK");
    default:
        return describeProblem(*drawing.problem);
    }
}

std::string checkSummary(const BatchCheckReport& report, std::string_view productCode)
{
    std::size_t counts[4] = {};
    for (std::size_t d = 0; d < report.drawings.size(); ++d) {
        ++counts[static_cast<std::size_t>(report.drawings.verdict(d))];
    }
    const auto count = [&](CheckVerdict verdict) { return std::to_string(counts[static_cast<std::size_t>(verdict)]); };
    std::string text = "Checked " + std::to_string(report.drawings.size()) + " drawing(s) for " +
                       std::string(productCode) + ": " + count(CheckVerdict::Ok) + " OK, " +
                       count(CheckVerdict::Error) + " with errors, " + count(CheckVerdict::Warning) + " with warnings";
    if (report.notReached > 0) {
        text += ", " + count(CheckVerdict::NotReached) + " not reached";
    }
    text += ".";
    if (!report.stopReason.empty()) {
        std::string reason = report.stopReason;
        reason.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(reason.front())));
        text += " " + reason + ": the host reads no more of it.";
    }
    if (!report.elsewhere.empty()) {
        text += " " + std::to_string(report.elsewhere.size()) + " problem(s) outside the drawings.";
    }
    if (report.stopped) {
        text += " The check was stopped before the end.";
    }
    return text;
}

bool checkFoundErrors(const BatchCheckReport& report)
{
    bool errors = false;
    for (std::size_t d = 0; d < report.drawings.size() && !errors; ++d) {
        errors = report.drawings.verdict(d) == CheckVerdict::Error;
    }
    return report.notReached > 0 || errors ||
           std::any_of(report.elsewhere.begin(), report.elsewhere.end(),
                       [](const CheckProblem& p) { return !p.warning; });
}

std::optional<UserMessage> routineCheckQuestion(const std::vector<CheckProblem>& problems)
{
    constexpr std::size_t kShown = 3;
    std::string list;
    std::size_t errors = 0;
    for (const CheckProblem& problem : problems) {
        if (problem.warning) {
            continue;
        }
        if (++errors <= kShown) {
            list += describeProblem(problem) + "\r\n";
        }
    }
    if (errors == 0) {
        return std::nullopt;
    }
    return UserMessage{"The CAD host would not accept this routine as it stands (lines counted from its first "
                       "line):\r\n\r\n" +
                           list + "\r\nSave it anyway?",
                       "Check Routine", MessageIcon::Exclamation, MessageButtons::YesNo};
}

} // namespace qv
