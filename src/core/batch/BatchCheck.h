#pragma once

#include "Message.h"
#include "Result.h"
#include "batch/DrawingRow.h"

#include <cstddef>
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
    bool warning = false; // a name the check cannot see in the real drawing or on this machine
    std::string entry;    // the entry that did not fit (may be empty: Enter)
    std::string asking;   // the prompt the host was showing
    std::string message;
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
};

struct BatchCheckReport
{
    std::vector<DrawingCheck> drawings;  // one per drawing of the script, in script order
    std::vector<CheckProblem> elsewhere; // problems outside every drawing's part (start and end of the script)
    int errors = 0;
    int warnings = 0;
    int unchecked = 0;
    bool stopped = false;
};

struct BatchCheckOptions
{
    std::string productCode;          // the configured CAD product
    std::vector<std::string> devices; // printers and plotter configurations of this machine
    // Asked before each script line with the count of lines; false stops the check.
    std::function<bool(std::size_t line, std::size_t lines)> keepGoing;
    // One read-only flag per row when the caller has just examined every drawing (the read-only check of a
    // start): the check then asks the system nothing more about them.
    std::vector<bool> rowIsReadOnly;
};

// Runs a batch script, as the writer built it for a start, through the model of the configured host's
// command line, without writing anything. Each drawing gets its first problem. Fails when the product is
// not one the model knows.
Result<BatchCheckReport> checkBatchScript(std::string_view scriptBytes, const DrawingRows& rows,
                                          const BatchCheckOptions& options);

// One routine on its own, on one scratch drawing: the problems the host would meet (UTF-8 text).
Result<std::vector<CheckProblem>> checkRoutineText(std::string_view text, const BatchCheckOptions& options);

// "OK" or a one-line account of the problem, for the command line and the result window.
std::string describeCheck(const DrawingCheck& drawing);
std::string describeProblem(const CheckProblem& problem);

// "Checked N drawing(s) for PRODUCT: A OK, B with errors, C with warnings." (and "stopped" when it was).
std::string checkSummary(const BatchCheckReport& report, std::string_view productCode);

// The question before saving a routine the host would reject: its first problems, and whether to save it
// anyway. None when the host would take it (warnings alone do not ask).
std::optional<UserMessage> routineCheckQuestion(const std::vector<CheckProblem>& problems);

} // namespace qv
