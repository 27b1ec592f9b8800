#pragma once

#include "Drawing.h"
#include "HostModel.h"
#include "Keywords.h"
#include "Lisp.h"
#include "Task.h"

#include <coroutine>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::hostmodel {

// How the host reads the next entry from a script line: up to the next space (most prompts), or the rest
// of the line, spaces included (the name prompts of the plot and page-setup commands).
enum class EntryKind
{
    Word,
    Line,
};

struct Point
{
    double x = 0.0;
    double y = 0.0;
};

// The model of the host's command line. Each command is a coroutine that pulls its answers one prompt at a
// time; the script driver feeds entries as the host asks for them, and AutoLISP's (command ...) feeds the
// same stream, so a command typed line by line and one inside (command ...) run the same code.
class Host final : public LispHost
{
public:
    static constexpr std::string_view kStartupDrawing = "Drawing1.dwg";

    Host(const HostSetup& setup, const EventSink& sink);
    ~Host() override;
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Feeding the host from the script.
    bool running() const { return !m_quit && !m_suspended; }
    EntryKind wantedEntry() const { return m_wanted; }
    void type(int line, const std::string& entry);
    void lispExpression(int line, const std::string& text);
    // untypedLine: the script's last line when no line end follows it, which the host never types (else 0).
    void endOfScript(int untypedLine);
    void log(int line, std::string_view event, std::string_view detail);
    HostOutcome outcome() const;
    void stopped();

    // What AutoLISP asks of the host.
    bool command(const std::string& entry) override;
    void cancelCommand() override;
    std::optional<LispValue> getvar(const std::string& name) override;
    std::string setvar(const std::string& name, const LispValue& value) override;
    std::vector<std::string> layoutList() override;
    std::map<std::string, LispValue>& symbols() override;
    std::string writeFile(const std::string& path, const std::string& bytes) override;

private:
    struct Cancel
    {
    };

    struct Prompt
    {
        std::string id;
        std::string text;
        EntryKind kind = EntryKind::Word;
    };

    struct EntryAwaiter
    {
        Host& host;
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> waiting) noexcept { host.m_waiting = waiting; }
        std::string await_resume();
    };

    // The prompt machinery every command uses.
    EntryAwaiter next(std::string id, std::string text, EntryKind kind = EntryKind::Word);
    void accept(const std::string& entry);
    void reject(const std::string& entry, std::string_view message);
    // In a check of real drawings: a name the model cannot know is taken, with a warning.
    bool trusted(const std::string& entry, std::string_view message);
    void fail(std::string_view detail);
    void log(std::string_view event, std::string_view detail);
    [[noreturn]] void cancel(const std::string& entry, std::string_view message);
    // An error that suspends the script: the host stops reading it and waits.
    void suspend();
    // The options must outlive the question: a static list, or one the calling command keeps.
    Task<std::size_t> askKeyword(std::string id, std::string text, const std::vector<Keyword>& options,
                                 std::optional<std::size_t> byDefault);
    Task<bool> askYesNo(std::string id, std::string text, bool byDefault);
    Task<Point> askPoint(std::string id, std::string text, std::optional<Point> byDefault);

    void resume();
    Task<void> commandLoop();
    Task<void> runCommand(std::string entry);

    // Session: open, recover, close, quit, save; system variables typed as commands.
    Task<void> open(bool recover);
    Task<void> close();
    Task<void> quit();
    Task<void> qsave();
    Task<bool> closeChanged();
    void discardCurrent();
    Task<void> systemVariable(std::string name);
    Task<void> setvarCommand();
    void openDrawing(const std::string& path, bool readOnly, bool recover);
    void closeCurrent(std::string_view detail);
    bool save(Drawing& drawing);

    // Zoom and display.
    Task<void> zoom();

    // Save and export.
    Task<void> saveAs();
    Task<void> saveAsName(bool withFormat);
    Task<bool> mayReplace(std::string id, std::string target);
    Task<void> dxfout();
    void saveAsFile(const std::string& target, bool other);
    bool folderExists(const std::string& target);

    // Purge.
    Task<void> purge();

    // Plot.
    Task<void> plot();
    Task<std::string> askLayout();
    Task<const Device*> askDevice(std::string current);
    Task<std::string> askPlotFile(const Device& device, const std::string& layout);
    Task<void> proceed(bool saveSetup, const Device& device, std::string detail, std::string file);
    void plotted(const std::string& detail, const std::string& file);

    // Page setups.
    Task<void> psetupin();

    // Layers and audit.
    Task<void> layer();
    Task<void> audit();

    Drawing& current() { return m_drawings.back(); }
    std::string currentName() const;
    const Device* findDevice(std::string_view name) const;
    int expert() const;
    bool lispAvailable(const std::string& shown);
    std::optional<std::string> lispAnswerFor(const std::string& shown, const LispValue& value,
                                             std::string_view printedAs);
    std::optional<std::string> evaluateAnswer(const std::string& entry);

    HostSetup m_setup;
    const EventSink& m_sink;
    std::vector<Device> m_devices;
    std::vector<Keyword> m_purgeTypes; // the product's, made on first use
    std::string m_purgeTypePrompt;
    // Devices named in a check that this machine does not list, one per name however often it is named.
    std::map<std::string, Device, std::less<>> m_trustedDevices;
    std::vector<Drawing> m_drawings;                     // the last one is current
    std::map<std::string, LispValue> m_variables;        // system variables that belong to the session
    std::map<std::string, LispValue> m_noDrawingSymbols; // AutoLISP typed while no drawing is open
    Prompt m_prompt;
    EntryKind m_wanted = EntryKind::Word;
    std::coroutine_handle<> m_waiting;
    std::optional<std::string> m_entry;
    bool m_cancelRequested = false;
    bool m_commandCancelled = false;  // the last command ended early (an entry it refused, or an Escape)
    bool m_keywordEndsCommand = false; // -PLOT: an answer that is none of a prompt's options ends the command
    std::string m_lastCommand;         // what an empty entry at the command prompt repeats
    bool m_suspended = false;
    Task<void> m_loop;
    int m_line = 0;
    bool m_quit = false;
    HostOutcome m_outcome;
};

} // namespace qv::hostmodel
