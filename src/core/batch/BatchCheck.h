#pragma once

#include "Message.h"
#include "Result.h"
#include "batch/DrawingRow.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// What the host would have made of one entry of the script.
struct CheckProblem
{
    int line = 0;         // script line, 0 when not tied to one
    bool warning = false; // something the check cannot see in the real drawing or on this machine
    std::string entry;    // the entry that did not fit (may be empty: Enter)
    std::string asking;   // the prompt the host was showing
    std::string message;
    // A warning that, when it does not hold, throws the lines that follow out of step (the host asks again):
    // the script would stop at this drawing.
    bool stopsScript = false;
};

// The verdict on one drawing of the list.
struct DrawingCheck
{
    std::size_t row = 0; // index in the drawing list
    std::string path;
    std::string routine;
    int firstLine = 0; // where its part of the script begins
    std::optional<CheckProblem> problem; // the first error, else the first warning; none: OK
    int errors = 0;
    int warnings = 0;
    int unchecked = 0; // entries the host model does not follow (commands it does not know)
    // False when the host stops reading the script before this drawing's part: it is never opened.
    bool reached = true;
};

enum class CheckVerdict
{
    Ok,
    Warning,
    Error,
    NotReached,
};

// A drawing that cannot be opened at all (a folder, a device) is an error even when not reached.
CheckVerdict verdictOf(const DrawingCheck& drawing);

// The verdicts of a check, one per drawing of the script in script order, kept compactly: a million drawings
// share a table of their distinct problems (a drawing's path and line stand apart from its problem's text), a
// table of routine names and one block of paths. Each is handed out whole, as a DrawingCheck.
class DrawingChecks
{
public:
    std::size_t size() const { return m_drawings.size(); }
    bool empty() const { return m_drawings.empty(); }
    DrawingCheck operator[](std::size_t index) const;
    CheckVerdict verdict(std::size_t index) const;

    class Iterator
    {
    public:
        using value_type = DrawingCheck;
        using difference_type = std::ptrdiff_t;
        Iterator(const DrawingChecks& checks, std::size_t index) : m_checks(&checks), m_index(index) {}
        DrawingCheck operator*() const { return (*m_checks)[m_index]; }
        Iterator& operator++()
        {
            ++m_index;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_index == other.m_index; }

    private:
        const DrawingChecks* m_checks;
        std::size_t m_index;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size()}; }

private:
    friend class BatchCheckBuilder;
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;

    // A problem with its line counted from its drawing's first line, and its drawing's path marked.
    struct StoredProblem
    {
        CheckProblem problem;
        bool tied = false;   // the problem's line is a script line (else 0)
        bool marked = false; // kPathMark in its texts stands for the drawing's path
    };

    struct Compact
    {
        std::size_t row = 0;
        std::size_t pathAt = 0;
        std::uint32_t pathSize = 0;
        std::uint32_t routine = 0;
        std::uint32_t problem = kNone;
        int firstLine = 0;
        int errors = 0;
        int warnings = 0;
        int unchecked = 0;
        bool warning = false; // the problem is a warning
        bool reached = true;
    };

    CheckProblem problemFor(const Compact& drawing) const;
    std::string_view pathOf(const Compact& drawing) const
    {
        return std::string_view(m_paths).substr(drawing.pathAt, drawing.pathSize);
    }

    std::vector<Compact> m_drawings;
    std::string m_paths;
    std::vector<std::string> m_routines;
    std::vector<StoredProblem> m_problems;
    std::size_t m_reached = 0; // the drawings reached are the first ones
};

struct BatchCheckReport
{
    DrawingChecks drawings;              // one per drawing of the script, in script order
    std::vector<CheckProblem> elsewhere; // problems outside every drawing's part (start and end of the script)
    int errors = 0;
    int warnings = 0;
    int unchecked = 0;
    bool stopped = false; // the user stopped the check
    // Where the host stops reading the script before its end (suspended by an error, quit by a routine, or
    // left inside an unclosed AutoLISP expression), and why; 0 and empty when it reads the whole script.
    int stopLine = 0;
    std::string stopReason;
    int notReached = 0;
};

struct BatchCheckOptions
{
    std::string productCode;          // the configured CAD product
    // Printers of this machine and the plotter configurations Quorvel offers from the configured folder.
    std::vector<std::string> devices;
    // Asked before each script line with the count of lines; false stops the check.
    std::function<bool(std::size_t line, std::size_t lines)> keepGoing;
    // One read-only flag per row when the caller has just examined every drawing (the read-only check of a
    // start): the check then asks the system nothing more about them.
    std::vector<bool> rowIsReadOnly;
    // The attributes that examination read, one per row, where they tell a regular file from a folder
    // (kAttrFolder) and from a device or a pipe (kAttrNotFile): the check then looks at no drawing itself.
    std::vector<unsigned> rowAttributes = {};
};

inline constexpr unsigned kAttrReadOnly = 1;
inline constexpr unsigned kAttrFolder = 16;
inline constexpr unsigned kAttrNotFile = 64;

// Runs a batch script, as the writer built it for a start, through the model of the configured host's
// command line, without writing anything and without reading any drawing. Each drawing gets its first problem,
// or is not reached when the host stops reading the script before it. Drawings are unseen: each is opened on
// the tab its routine needs (with a warning naming it) and keeps its own plot device. Fails when the product
// is not one the model knows.
Result<BatchCheckReport> checkBatchScript(std::string_view scriptBytes, const DrawingRows& rows,
                                          const BatchCheckOptions& options);

// One routine on its own, on one scratch drawing: the problems the host would meet (UTF-8 text).
Result<std::vector<CheckProblem>> checkRoutineText(std::string_view text, const BatchCheckOptions& options);

// "OK" or a one-line account of the problem, for the command line and the result window.
std::string describeCheck(const DrawingCheck& drawing);
std::string describeProblem(const CheckProblem& problem);

// "Checked N drawing(s) for PRODUCT: A OK, B with errors, C with warnings[, D not reached]." then where the
// host stops reading the script, and "stopped" when the user stopped the check.
std::string checkSummary(const BatchCheckReport& report, std::string_view productCode);

// True when the batch would not run through: a drawing with an error or not reached, or an error outside them.
bool checkFoundErrors(const BatchCheckReport& report);

// The question before saving a routine the host would reject: its first problems, and whether to save it
// anyway. None when the host would take it (warnings alone do not ask).
std::optional<UserMessage> routineCheckQuestion(const std::vector<CheckProblem>& problems);

} // namespace qv
