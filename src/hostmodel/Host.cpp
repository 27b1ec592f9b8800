#include "Host.h"

#include "Text.h"

#include <algorithm>
#include <cctype>

namespace qv::hostmodel {

namespace {

// System variables the model knows. Integers take values in [low, high]; texts are checked by the host.
struct Variable
{
    const char* name;
    bool text;
    int low;
    int high;
    int byDefault;
    bool readOnly;
};

constexpr Variable kVariables[] = {
    {"ATTDIA", false, 0, 1, 0, false},      {"ATTREQ", false, 0, 1, 1, false},
    {"BACKGROUNDPLOT", false, 0, 3, 2, false}, {"CLAYER", true, 0, 0, 0, false},
    {"CMDDIA", false, 0, 1, 1, false},      {"CTAB", true, 0, 0, 0, false},
    {"DWGNAME", true, 0, 0, 0, true},       {"DWGPREFIX", true, 0, 0, 0, true},
    {"EXPERT", false, 0, 5, 0, false},      {"FILEDIA", false, 0, 1, 1, false},
    {"PROXYNOTICE", false, 0, 1, 1, false}, {"TILEMODE", false, 0, 1, 1, false},
};

const Variable* findVariable(std::string_view name)
{
    for (const Variable& variable : kVariables) {
        if (equalsNoCase(variable.name, name)) {
            return &variable;
        }
    }
    return nullptr;
}

// Command names match without case, after an optional "_" (language-independent name), "." (the built-in
// command) and "-" (command-line form), in any order.
std::string commandName(std::string_view entry, bool& hyphen)
{
    hyphen = false;
    while (!entry.empty() && (entry.front() == '_' || entry.front() == '.' || entry.front() == '-')) {
        hyphen = hyphen || entry.front() == '-';
        entry.remove_prefix(1);
    }
    return upperAscii(entry);
}

// False for an entry that cannot be a command of any host: a number, a point, a path, a quoted name, or
// an answer word of the prompts this model knows that no host has as a command (an answer too many lands
// here). Other unknown names may be real commands the model does not follow.
bool isCommandName(const std::string& name)
{
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char ch) {
            return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '-' || ch == '+';
        })) {
        return false;
    }
    if (std::all_of(name.begin(), name.end(), [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); })) {
        return false;
    }
    static const char* const kAnswers[] = {
        "Y", "N", "YES", "NO", "INCHES", "MILLIMETERS", "PORTRAIT", "LANDSCAPE", "DISPLAY", "EXTENTS", "WINDOW",
        "FIT", "CENTER", "AS", "ASDISPLAYED", "WIREFRAME", "LEGACYWIREFRAME", "HIDDEN", "LEGACYHIDDEN", "VISUAL",
        "VISUALSTYLES", "RENDERED", "QUALITY", "DRAFT", "NORMAL", "PRESENTATION", "MAXIMUM", "CUSTOM", "OBJECTS",
        "BINARY", "ALL", "BLOCKS", "LAYERS", "LTYPES", "DIMSTYLES", "TEXTSTYLES", "MLINESTYLES", "SHAPES",
        "PLOTSTYLES", "REGAPPS", "TABLESTYLES", "ZERO-LENGTH", "EMPTY", "ORPHANED", "MAKE", "SET", "ON", "OFF",
        "FREEZE", "THAW", "DYNAMIC", "PREVIOUS", "OBJECT", "R14", "LT98", "LT2000", "LT2004", "LT2007", "LT2010",
        "LT2013", "LT2018", "R12", "R13",
    };
    return std::none_of(std::begin(kAnswers), std::end(kAnswers), [&](const char* answer) { return name == answer; });
}

} // namespace

Host::Host(const HostSetup& setup, const EventSink& sink) : m_setup(setup), m_sink(sink), m_loop(commandLoop())
{
    static HostFiles diskFiles;
    if (m_setup.files == nullptr) {
        m_setup.files = &diskFiles;
    }
    m_devices = standardDevices();
    m_devices.insert(m_devices.end(), setup.devices.begin(), setup.devices.end());
    Drawing startup;
    startup.path = std::string(kStartupDrawing);
    startup.startup = true;
    if (m_setup.trustNames) {
        startup.device = std::string(Drawing::kOwnDevice);
    }
    m_drawings.push_back(std::move(startup));
    for (const Variable& variable : kVariables) {
        if (!variable.text) {
            m_variables[variable.name] = LispValue::fromInteger(variable.byDefault);
        }
    }
    m_loop.start();
}

Host::~Host() = default;

// ---- feeding ------------------------------------------------------------------------------------------

void Host::type(int line, const std::string& entry)
{
    if (m_quit || !m_waiting) {
        return;
    }
    m_line = line;
    if (entry.size() > 1 && entry.front() == '!') {
        std::optional<std::string> value = evaluateAnswer(entry);
        if (!value) {
            return;
        }
        m_entry = std::move(*value);
    } else {
        m_entry = entry;
    }
    resume();
}

// Lets the command waiting for an entry run on until it waits again, or until the host quits.
void Host::resume()
{
    std::exchange(m_waiting, {}).resume();
    if (m_loop.done()) {
        m_quit = true;
        m_loop.rethrow();
    }
}

bool Host::lispAvailable(const std::string& shown)
{
    if (m_setup.product.hasLisp()) {
        return true;
    }
    reject(shown, "AutoLISP is not available in " + m_setup.product.code + ".");
    return false;
}

// A value from AutoLISP answers the prompt in front of the user; at the command prompt the host prints it.
std::optional<std::string> Host::lispAnswerFor(const std::string& shown, const LispValue& value,
                                               std::string_view printedAs)
{
    if (m_prompt.id == "command") {
        log("lisp-value", std::string(printedAs) + printLisp(value));
        return std::nullopt;
    }
    std::optional<std::string> answer = lispAnswer(value);
    if (!answer) {
        reject(shown, printLisp(value) + " cannot answer this prompt; it is asked again.");
    }
    return answer;
}

// "!name": AutoLISP's value of the symbol.
std::optional<std::string> Host::evaluateAnswer(const std::string& entry)
{
    if (!lispAvailable(entry)) {
        return std::nullopt;
    }
    const auto found = symbols().find(upperAscii(std::string_view(entry).substr(1)));
    return lispAnswerFor(entry, found == symbols().end() ? LispValue::nil() : found->second, entry + " = ");
}

void Host::lispExpression(int line, const std::string& text)
{
    if (m_quit) {
        return;
    }
    m_line = line;
    std::string shown = text;
    std::replace_if(shown.begin(), shown.end(), [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
    if (!lispAvailable(shown)) {
        return;
    }
    const bool atCommand = m_prompt.id == "command";
    log("lisp", shown);
    const LispOutcome outcome = evaluateLisp(text, *this);
    m_line = line;
    if (!outcome.error.empty()) {
        fail("lisp: " + outcome.error);
        // An AutoLISP error suspends the script; the command it was feeding stays where it is.
        suspend();
        return;
    }
    if (atCommand) {
        log("lisp-value", printLisp(outcome.value));
        return;
    }
    if (const std::optional<std::string> answer = lispAnswerFor(shown, outcome.value, {})) {
        m_entry = *answer;
        resume();
    }
}

void Host::endOfScript(int untypedLine)
{
    if (m_quit) {
        return;
    }
    if (untypedLine > 0) {
        log(untypedLine, "untyped", "the script's last line has no line end, so the host never types it");
    }
    m_line = 0;
    if (m_prompt.id != "command") {
        fail("script ended at prompt " + m_prompt.id + ": " + m_prompt.text);
    }
    log("end", std::to_string(m_drawings.size()) + " drawing(s) open; the host waits for input");
}

HostOutcome Host::outcome() const
{
    HostOutcome outcome = m_outcome;
    outcome.leftWaiting = !m_quit && !outcome.stopped;
    return outcome;
}

void Host::suspend()
{
    if (m_suspended) {
        return;
    }
    m_suspended = true;
    m_outcome.suspended = true;
    m_outcome.suspendedLine = m_line;
    m_sink(HostEvent{m_line, "suspended", currentName(),
                     "the script is suspended: the host reads no more of it and waits" +
                         std::string(m_drawings.empty() ? "" : " with " + currentName() + " open"),
                     {}, m_prompt.text});
}

// ---- prompts ------------------------------------------------------------------------------------------

Host::EntryAwaiter Host::next(std::string id, std::string text, EntryKind kind)
{
    m_prompt = {std::move(id), std::move(text), kind};
    m_wanted = kind;
    return EntryAwaiter{*this};
}

std::string Host::EntryAwaiter::await_resume()
{
    if (host.m_cancelRequested) {
        host.m_cancelRequested = false;
        throw Cancel{};
    }
    std::string entry = std::move(host.m_entry).value_or(std::string());
    host.m_entry.reset();
    return entry;
}

void Host::accept(const std::string& entry)
{
    if (m_setup.problemsOnly) {
        return;
    }
    log("prompt", m_prompt.id + ": " + m_prompt.text);
    log("answer", m_prompt.id + ": " + entry);
}

void Host::reject(const std::string& entry, std::string_view message)
{
    m_outcome.status = 1;
    ++m_outcome.errors;
    m_sink(HostEvent{m_line, "error", currentName(),
                     m_prompt.id + ": " + entry + ": " + std::string(message) + " (" + m_prompt.text + ")", entry,
                     m_prompt.text});
}

bool Host::trusted(const std::string& entry, std::string_view message)
{
    if (!m_setup.trustNames) {
        reject(entry, message);
        return false;
    }
    ++m_outcome.warnings;
    m_sink(HostEvent{m_line, "warning", currentName(),
                     m_prompt.id + ": " + entry + ": " + std::string(message) +
                         " The check cannot see the real drawing or every device; make sure it exists.",
                     entry, m_prompt.text});
    accept(entry);
    return true;
}

void Host::stopped()
{
    m_outcome.stopped = true;
    log(0, "stopped", "the run was stopped before the end of the script");
}

void Host::fail(std::string_view detail)
{
    m_outcome.status = 1;
    ++m_outcome.errors;
    m_sink(HostEvent{m_line, "error", currentName(), std::string(detail), std::string(), m_prompt.text});
}

void Host::cancel(const std::string& entry, std::string_view message)
{
    reject(entry, message);
    throw Cancel{};
}

void Host::log(std::string_view event, std::string_view detail)
{
    log(m_line, event, detail);
}

void Host::log(int line, std::string_view event, std::string_view detail)
{
    // A check hears of what goes wrong and of what is lost or left undone; not of every prompt and answer.
    static constexpr std::string_view kProblemEvents[] = {"stopped", "lisp-value", "discarded", "kept-open",
                                                          "untyped", "end", "unread"};
    if (event == "unmodelled" || event == "command") {
        ++m_outcome.unmodelled;
    } else if (m_setup.problemsOnly &&
               std::find(std::begin(kProblemEvents), std::end(kProblemEvents), event) == std::end(kProblemEvents)) {
        return;
    }
    m_sink(HostEvent{line, std::string(event), currentName(), std::string(detail), {}, {}});
}

std::string Host::currentName() const
{
    return m_drawings.empty() ? std::string("-") : m_drawings.back().path;
}

Task<std::size_t> Host::askKeyword(std::string id, std::string text, const std::vector<Keyword>& options,
                                   std::optional<std::size_t> byDefault)
{
    for (;;) {
        const std::string entry = co_await next(id, text);
        if (entry.empty() && byDefault) {
            accept(entry);
            co_return *byDefault;
        }
        if (const std::optional<std::size_t> chosen = matchKeyword(options, entry)) {
            accept(entry);
            co_return *chosen;
        }
        if (m_keywordEndsCommand) {
            cancel(entry, "Invalid option keyword. The command ends; the next entry goes to the command prompt.");
        }
        reject(entry, "Invalid option keyword.");
    }
}

Task<bool> Host::askYesNo(std::string id, std::string text, bool byDefault)
{
    static const std::vector<Keyword> yesNo = keywordsOf("Yes", "No");
    const std::size_t chosen = co_await askKeyword(std::move(id), std::move(text), yesNo, byDefault ? 0 : 1);
    co_return chosen == 0;
}

Task<Point> Host::askPoint(std::string id, std::string text, std::optional<Point> byDefault)
{
    for (;;) {
        const std::string entry = co_await next(id, text);
        if (entry.empty() && byDefault) {
            accept(entry);
            co_return *byDefault;
        }
        if (const std::optional<std::vector<double>> point = parsePoint(entry)) {
            accept(entry);
            co_return Point{(*point)[0], (*point)[1]};
        }
        reject(entry, "Requires a point.");
    }
}

// ---- the command prompt -------------------------------------------------------------------------------

Task<void> Host::commandLoop()
{
    for (;;) {
        std::string entry = co_await next("command", "Command:");
        if (entry.empty()) {
            // Enter alone repeats the last command.
            log("enter", m_lastCommand.empty() ? std::string() : "repeats " + m_lastCommand);
            if (m_lastCommand.empty()) {
                continue;
            }
            entry = m_lastCommand;
        }
        m_keywordEndsCommand = false;
        try {
            co_await runCommand(entry);
        } catch (const Cancel&) {
            m_commandCancelled = true;
            log("cancelled", "the command was cancelled");
        }
        if (m_quit) {
            co_return;
        }
    }
}

Task<void> Host::runCommand(std::string entry)
{
    bool hyphen = false;
    const std::string name = commandName(entry, hyphen);
    const bool needsDrawing = name != "OPEN" && name != "RECOVER" && name != "QUIT";
    if (needsDrawing && m_drawings.empty()) {
        reject(entry, "No drawing is open.");
        co_return;
    }
    struct Entry
    {
        const char* name;
        const char* event;
    };
    static const Entry kEvents[] = {
        {"OPEN", "open"},     {"RECOVER", "recover"},   {"ZOOM", "zoom"},         {"CLOSE", "close"},
        {"QUIT", "quit"},     {"QSAVE", "qsave"},       {"SAVEAS", "saveas"},     {"PURGE", "purge"},
        {"PLOT", "plot"},     {"PSETUPIN", "psetupin"}, {"DXFOUT", "dxfout"},     {"LAYER", "layer"},
        {"AUDIT", "audit"},   {"REGEN", "regen"},       {"REGENALL", "regenall"}, {"SETVAR", "setvar"},
    };
    const auto known = std::find_if(std::begin(kEvents), std::end(kEvents),
                                    [&](const Entry& e) { return name == e.name; });
    const Variable* variable = findVariable(name);
    if (known == std::end(kEvents) && variable == nullptr && !isCommandName(name)) {
        reject(entry, "Unknown command \"" + name + "\".  Press F1 for help.");
        co_return;
    }
    m_lastCommand = entry;
    if (known == std::end(kEvents) && variable == nullptr) {
        // Not modelled (yet): the host stays at the command prompt. The count shows in the last journal line.
        log("command", entry);
        co_return;
    }
    // Without the hyphen these open a dialog box, which a script cannot answer (PLOT only while CMDDIA is 1).
    static const std::pair<const char*, const char*> kDialogForms[] = {
        {"PLOT", "PLOT opens the Plot dialog box, which a script cannot answer; use -PLOT."},
        {"PSETUPIN", "PSETUPIN opens a dialog box, which a script cannot answer; use -PSETUPIN."},
    };
    log(known != std::end(kEvents) ? known->event : "setvar", entry);
    for (const auto& [dialogName, message] : kDialogForms) {
        if (!hyphen && name == dialogName && (name != "PLOT" || m_variables["CMDDIA"].integer != 0)) {
            cancel(entry, message);
        }
    }
    if (variable != nullptr) {
        co_await systemVariable(variable->name);
    } else if (name == "OPEN" || name == "RECOVER") {
        co_await open(name == "RECOVER");
    } else if (name == "ZOOM") {
        co_await zoom();
    } else if (name == "CLOSE") {
        co_await close();
    } else if (name == "QUIT") {
        co_await quit();
    } else if (name == "QSAVE") {
        co_await qsave();
    } else if (name == "SAVEAS") {
        co_await saveAs();
    } else if (name == "PURGE") {
        co_await purge();
    } else if (name == "PLOT") {
        co_await plot();
    } else if (name == "PSETUPIN") {
        co_await psetupin();
    } else if (name == "DXFOUT") {
        co_await dxfout();
    } else if (name == "LAYER") {
        co_await layer();
    } else if (name == "AUDIT") {
        co_await audit();
    } else if (name == "REGEN" || name == "REGENALL") {
        log("regenerated", name == "REGEN" ? "current viewport" : "all viewports");
    } else if (name == "SETVAR") {
        co_await setvarCommand();
    }
}

// ---- system variables ---------------------------------------------------------------------------------

std::optional<LispValue> Host::getvar(const std::string& name)
{
    const Variable* variable = findVariable(name);
    if (variable == nullptr) {
        return std::nullopt;
    }
    const std::string key = variable->name;
    if (m_drawings.empty()) {
        if (variable->text || key == "TILEMODE") {
            return LispValue::nil();
        }
        return m_variables[key];
    }
    const Drawing& drawing = current();
    if (key == "CTAB") {
        return LispValue::fromString(drawing.tab);
    }
    if (key == "CLAYER") {
        return LispValue::fromString(drawing.currentLayer);
    }
    if (key == "TILEMODE") {
        return LispValue::fromInteger(drawing.onModel() ? 1 : 0);
    }
    if (key == "DWGNAME" || key == "DWGPREFIX") {
        return LispValue::fromString(key == "DWGNAME" ? nameOf(drawing.path) : folderOf(drawing.path));
    }
    return m_variables[key];
}

std::string Host::setvar(const std::string& name, const LispValue& value)
{
    const std::string rejected = "AutoCAD variable setting rejected: \"" + upperAscii(name) + "\" " +
                                 printLisp(value);
    const Variable* variable = findVariable(name);
    if (variable == nullptr || variable->readOnly) {
        return rejected;
    }
    const std::string key = variable->name;
    if (variable->text != (value.kind == LispValue::Kind::String)) {
        return rejected;
    }
    if (!variable->text && (value.kind != LispValue::Kind::Integer || value.integer < variable->low ||
                            value.integer > variable->high)) {
        return rejected;
    }
    if (key == "CTAB" || key == "CLAYER" || key == "TILEMODE") {
        if (m_drawings.empty()) {
            return rejected;
        }
        Drawing& drawing = current();
        if (key == "CTAB") {
            const std::string layout = drawing.findLayout(value.text);
            if (layout.empty()) {
                return rejected;
            }
            drawing.tab = layout;
        } else if (key == "CLAYER") {
            const std::string layer = drawing.findLayer(value.text);
            if (layer.empty()) {
                return rejected;
            }
            drawing.currentLayer = layer;
        } else if (value.integer == 1) {
            drawing.tab = std::string(Drawing::kModel);
        } else if (drawing.onModel() && !drawing.layouts.empty()) {
            drawing.tab = drawing.layouts.front();
        }
        return {};
    }
    m_variables[key] = value;
    return {};
}

int Host::expert() const
{
    const auto found = m_variables.find("EXPERT");
    return found == m_variables.end() ? 0 : static_cast<int>(found->second.integer);
}

// A system variable typed at the command prompt asks for its new value.
Task<void> Host::systemVariable(std::string name)
{
    const Variable* variable = findVariable(name);
    const LispValue value = getvar(name).value_or(LispValue::nil());
    if (variable->readOnly) {
        log("variable", name + " = " + printLisp(value) + " (read only)");
        co_return;
    }
    const std::string text = "Enter new value for " + name + " <" +
                             (variable->text ? printLisp(value) : std::to_string(value.integer)) + ">:";
    for (;;) {
        const std::string entry = co_await next("variable-value", text, variable->text ? EntryKind::Line : EntryKind::Word);
        if (entry.empty()) {
            accept(entry);
            co_return;
        }
        LispValue typed;
        if (variable->text) {
            typed = LispValue::fromString(stripQuotes(entry));
        } else if (const std::optional<long long> number = parseInteger(entry)) {
            typed = LispValue::fromInteger(*number);
        } else {
            reject(entry, "Requires an integer value.");
            continue;
        }
        const std::string error = setvar(name, typed);
        if (error.empty()) {
            accept(entry);
            log("variable", name + " = " + printLisp(typed));
            co_return;
        }
        if (variable->text) {
            reject(entry, "Invalid value for " + name + ".");
        } else {
            reject(entry, "Requires an integer between " + std::to_string(variable->low) + " and " +
                              std::to_string(variable->high) + ".");
        }
    }
}

Task<void> Host::setvarCommand()
{
    for (;;) {
        const std::string entry = co_await next("setvar-name", "Enter variable name or [?]:");
        if (entry == "?" || entry == "_?") {
            accept(entry);
            continue;
        }
        if (entry.empty()) {
            accept(entry);
            co_return;
        }
        const Variable* variable = findVariable(entry);
        if (variable == nullptr) {
            // A variable the model does not know: its value prompt is taken on trust.
            accept(entry);
            log("unmodelled", "system variable " + upperAscii(entry));
            const std::string value = co_await next("variable-value", "Enter new value for " + upperAscii(entry) + ":");
            accept(value);
            co_return;
        }
        accept(entry);
        co_await systemVariable(variable->name);
        co_return;
    }
}

// ---- AutoLISP -----------------------------------------------------------------------------------------

bool Host::command(const std::string& entry)
{
    if (m_quit) {
        fail("lisp: (command \"" + entry + "\") after the host has quit");
        return true;
    }
    if (!m_waiting) {
        return true;
    }
    m_entry = entry;
    m_commandCancelled = false;
    resume();
    return !m_commandCancelled;
}

void Host::cancelCommand()
{
    if (m_quit || !m_waiting || m_prompt.id == "command") {
        return;
    }
    m_cancelRequested = true;
    resume();
}

std::vector<std::string> Host::layoutList()
{
    return m_drawings.empty() ? std::vector<std::string>() : current().layouts;
}

std::map<std::string, LispValue>& Host::symbols()
{
    return m_drawings.empty() ? m_noDrawingSymbols : current().symbols;
}

std::string Host::writeFile(const std::string& path, const std::string& bytes)
{
    return m_setup.files->write(path, bytes);
}

} // namespace qv::hostmodel
