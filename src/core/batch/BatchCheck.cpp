#include "batch/BatchCheck.h"

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

namespace {

// The disk as the check sees it: each drawing is looked at once (one attribute query), its content is never
// read (real drawings declare nothing to the model) and nothing is written. What the run would write is
// remembered, so a later step that looks for it finds it.
class ReadOnlyFiles final : public hm::HostFiles
{
public:
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
    // A scratch drawing in a declared state (the stand-in host's drawing line).
    void declare(const std::string& path, std::string line)
    {
        m_known[path] = {true, true, true};
        m_lines[path] = std::move(line);
    }
    // What the caller already knows of an existing drawing.
    void remember(const std::string& path, bool writable) { m_known[path] = {true, true, writable}; }
    std::string touch(const std::string&) override { return {}; }
    std::string copy(const std::string&, const std::string& to) override
    {
        m_known[to] = {true, true, true};
        return {};
    }
    std::string write(const std::string& path, const std::string&) override
    {
        m_known[path] = {true, true, true};
        return {};
    }

private:
    std::map<std::string, std::string> m_lines;

    struct Look
    {
        bool exists = false;
        bool file = false;
        bool writable = false;
    };

    const Look& look(const std::string& path) const
    {
        const auto found = m_known.find(path);
        if (found != m_known.end()) {
            return found->second;
        }
        std::error_code error;
        const std::filesystem::file_status status =
            std::filesystem::status(std::filesystem::path(std::u8string(path.begin(), path.end())), error);
        const auto writeBits = std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                               std::filesystem::perms::others_write;
        Look look;
        look.exists = !error && std::filesystem::exists(status);
        look.file = look.exists && std::filesystem::is_regular_file(status);
        look.writable = look.exists && (status.permissions() & writeBits) != std::filesystem::perms::none;
        return m_known.emplace(path, look).first->second;
    }

    mutable std::unordered_map<std::string, Look> m_known;
};

Result<hm::HostSetup> setupFor(const BatchCheckOptions& options, hm::HostFiles& files)
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
    setup.files = &files;
    setup.trustNames = true;
    setup.problemsOnly = true;
    setup.keepGoing = options.keepGoing;
    return setup;
}

CheckProblem problemOf(const hm::HostEvent& event)
{
    CheckProblem problem;
    problem.line = event.line;
    problem.warning = event.event == "warning";
    problem.entry = event.entry;
    problem.asking = event.asking;
    // The detail repeats the prompt id, the entry and the prompt text around the message; keep the message.
    problem.message = event.detail;
    if (!event.asking.empty()) {
        const std::string head = ": " + event.entry + ": ";
        if (const std::size_t at = problem.message.find(head); at != std::string::npos) {
            problem.message.erase(0, at + head.size());
        }
        const std::string tail = " (" + event.asking + ")";
        if (problem.message.size() >= tail.size() &&
            problem.message.compare(problem.message.size() - tail.size(), tail.size(), tail) == 0) {
            problem.message.resize(problem.message.size() - tail.size());
        }
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

} // namespace

Result<BatchCheckReport> checkBatchScript(std::string_view scriptBytes, const DrawingRows& rows,
                                          const BatchCheckOptions& options)
{
    ReadOnlyFiles files;
    Result<hm::HostSetup> setup = setupFor(options, files);
    if (!setup) {
        return setup.error();
    }

    // Each drawing's part of the script starts at its open (or recover) command, followed by its quoted path.
    BatchCheckReport report;
    const std::vector<std::string_view> lines = hm::splitLineViews(scriptBytes);
    std::size_t cursor = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string_view next = lines[i + 1];
        if (next.size() < 2 || next.front() != '"' || !isOpenCommand(lines[i])) {
            continue;
        }
        DrawingCheck drawing;
        drawing.firstLine = static_cast<int>(i) + 1;
        drawing.path = cp1252ToUtf8(next.substr(1, next.find('"', 1) - 1));
        // Rows come in list order, once per set when the sets are collated: the next row of that path.
        bool matched = false;
        for (std::size_t step = 0; step < rows.size(); ++step) {
            const std::size_t candidate = (cursor + step) % rows.size();
            if (rowPath(rows[candidate]) == drawing.path) {
                matched = true;
                drawing.row = candidate;
                drawing.routine = rows[candidate].routine;
                cursor = candidate + 1;
                break;
            }
        }
        if (matched && drawing.row < options.rowIsReadOnly.size())
            files.remember(drawing.path, !options.rowIsReadOnly[drawing.row]);
        report.drawings.push_back(std::move(drawing));
        ++i;
    }

    auto drawingAt = [&](int line) -> DrawingCheck* {
        if (report.drawings.empty() || line < report.drawings.front().firstLine) {
            return line == 0 && !report.drawings.empty() ? &report.drawings.back() : nullptr;
        }
        const auto after = std::upper_bound(report.drawings.begin(), report.drawings.end(), line,
                                            [](int value, const DrawingCheck& d) { return value < d.firstLine; });
        return &*(after - 1);
    };
    const hm::HostOutcome outcome = hm::runHostScript(scriptBytes, setup.value(), [&](const hm::HostEvent& event) {
        const bool problem = event.event == "error" || event.event == "warning";
        const bool unchecked = event.event == "command" || event.event == "unmodelled";
        if (!problem && !unchecked) {
            return;
        }
        DrawingCheck* drawing = drawingAt(event.line);
        // A question about a drawing left open earlier (the save question of the final quit) belongs to it.
        if (drawing != nullptr && event.drawing != "-" && event.drawing != drawing->path) {
            for (auto index = static_cast<std::size_t>(drawing - report.drawings.data()); index-- > 0;) {
                if (report.drawings[index].path == event.drawing) {
                    drawing = &report.drawings[index];
                    break;
                }
            }
        }
        if (unchecked) {
            ++(drawing != nullptr ? drawing->unchecked : report.unchecked);
            return;
        }
        CheckProblem found = problemOf(event);
        if (drawing == nullptr) {
            report.elsewhere.push_back(std::move(found));
            return;
        }
        ++(found.warning ? drawing->warnings : drawing->errors);
        if (!drawing->problem || (drawing->problem->warning && !found.warning)) {
            drawing->problem = std::move(found);
        }
    });
    report.errors = outcome.errors;
    report.warnings = outcome.warnings;
    report.unchecked = outcome.unmodelled;
    report.stopped = outcome.stopped;
    return report;
}

Result<std::vector<CheckProblem>> checkRoutineText(std::string_view text, const BatchCheckOptions& options)
{
    ReadOnlyFiles files;
    Result<hm::HostSetup> setup = setupFor(options, files);
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
        files.declare(std::string(kScratch), std::move(drawingLine));
        std::vector<CheckProblem> problems;
        hm::runHostScript(script, setup.value(), [&](const hm::HostEvent& event) {
            if (event.event == "error" || event.event == "warning") {
                CheckProblem problem = problemOf(event);
                // A routine that leaves its command open shows at the frame: that is past its own last line.
                problem.line = std::clamp(problem.line - 2, 0, routineLines + 1);
                problems.push_back(std::move(problem));
            }
        });
        return problems;
    };
    // A routine may be meant for drawings saved on the model tab or on a layout (a plot of the layout tab
    // answers other questions): what counts is the state in which the host finds no error. When both
    // fail, the model tab's problems are shown.
    const auto errors = [](const std::vector<CheckProblem>& problems) {
        return std::count_if(problems.begin(), problems.end(), [](const CheckProblem& p) { return !p.warning; });
    };
    std::vector<CheckProblem> problems = runOn({});
    if (errors(problems) > 0) {
        std::vector<CheckProblem> onLayout = runOn("CADHOST tab=Layout1 layouts=Layout1,Layout2");
        if (errors(onLayout) == 0) {
            problems = std::move(onLayout);
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
    if (!drawing.problem) {
        return drawing.unchecked > 0 ? "OK (" + std::to_string(drawing.unchecked) + " command(s) not checked)"
                                     : std::string("OK");
    }
    return describeProblem(*drawing.problem);
}

std::string checkSummary(const BatchCheckReport& report, std::string_view productCode)
{
    std::size_t ok = 0;
    std::size_t errors = 0;
    std::size_t warnings = 0;
    for (const DrawingCheck& drawing : report.drawings) {
        ++(!drawing.problem ? ok : drawing.problem->warning ? warnings : errors);
    }
    std::string text = "Checked " + std::to_string(report.drawings.size()) + " drawing(s) for " +
                       std::string(productCode) + ": " + std::to_string(ok) + " OK, " + std::to_string(errors) +
                       " with errors, " + std::to_string(warnings) + " with warnings.";
    if (!report.elsewhere.empty()) {
        text += " " + std::to_string(report.elsewhere.size()) + " problem(s) outside the drawings.";
    }
    if (report.stopped) {
        text += " The check was stopped before the end.";
    }
    return text;
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
