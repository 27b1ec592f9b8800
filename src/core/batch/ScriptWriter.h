#pragma once

#include "Message.h"
#include "Result.h"
#include "batch/DrawingRow.h"
#include "config/DataFiles.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The three writers of the batch script. The general one is used for every start from the action
// panel; the timer and the command line pick by product code.
enum class ScriptWriterKind
{
    General,
    Zwcad,
    Bricscad
};

// Routine descriptions and texts the writer recognises.
inline constexpr std::string_view kCombinedRoutines = "Combined Routines..."; // exact, case-sensitive
inline constexpr std::string_view kRecoverDrawings = "Recover Drawings";
inline constexpr std::string_view kConvertDxfR14 = "Convert DXF to a Drawing R14";
inline constexpr std::string_view kPlaceholderRoutine =
    "First set up this routine by using the Automatic Routine Creation Wizards";

// Numbered scripts tried after a locked Batch.scr: Batch1.scr .. Batch20.scr.
inline constexpr int kMaxNumberedScripts = 20;

// What a watched run adds to its scripts. Openings are numbered from 0 in script order (with collated sets,
// each set's openings count), so a script can start where a hung or crashed host left off.
struct SupervisedScript
{
    std::size_t firstOpening = 0;
    std::size_t openings = 0; // how many from the first; 0: to the end
    // The run folder where AutoLISP lines write "drawing-N.begun" after each drawing is opened and
    // "drawing-N.done" before it is closed (N counted from 1). Empty for a product without AutoLISP, whose
    // watcher follows the lock file beside the open drawing instead.
    std::string progressFolder;
    // Types LOGFILEON first, so that the host's error lines reach its command-line log.
    bool commandLog = false;
};

// The file name of a watched run's script that starts at an opening: "Batch-0001.scr" for the first.
std::string supervisedScriptName(std::size_t firstOpening);

struct ScriptInputs;

// How many openings a script of the inputs makes: each row once, or once per set when collated (an unreadable
// number of sets counts as one; the writer reports it). A routine never built ends the script sooner.
std::size_t scriptOpenings(const ScriptInputs& inputs);

// Everything the writer reads, gathered by the caller: the drawing list, the settings values and
// the routine catalogue.
struct ScriptInputs
{
    std::vector<DrawingRow> rows;
    // The rows where the caller keeps them, used instead of `rows` when set: a run reads the drawing list
    // in place rather than copying it (a million rows are a third of the program's memory).
    const DrawingRows* rowsInPlace = nullptr;
    const DrawingRows& rowsToWrite() const { return rowsInPlace ? *rowsInPlace : rows; }
    std::string scriptFolder;   // readScriptFolder; one trailing separator is removed
    std::string openCommand;    // readOpenCommand; "Unknown" means the writer's default open command
    std::string sequenceText;   // text of CboSequence: how many times each routine is written
    // chkCollate: the whole list once per set (drawing 1 to n, then again), instead of each
    // drawing's sets together.
    bool collate = false;
    std::string combinedScript; // text used for kCombinedRoutines
    // Routine text for a description (findByDescription). Called once per distinct description.
    std::function<std::string(const std::string& description)> routineText;
    // Whether the drawing at a full path carries the read-only attribute.
    std::function<Result<bool>(const std::string& path)> isReadOnly;
    // Read-only flags per row, when a check has just read them; used instead of isReadOnly.
    std::vector<bool> readOnlyRows;
    // Set for a watched run: the script goes to the run's folder under supervisedScriptName, and covers the
    // openings asked for, with the progress lines of the product's signal.
    std::optional<SupervisedScript> supervised;
};

// The probe of a script path: 0 when this run may write the script there, else the error number (70 while
// a running host, or another run, holds it). It must never truncate a script another program is running;
// the platform's form also keeps the path claimed for this run until the script is written.
using ScriptProbe = std::function<int(const std::string& path)>;

// Hands the script over piece by piece, in order.
using ScriptPut = std::function<void(std::string_view piece)>;
// Puts the script on disk at the path the probe chose, from the pieces `produce` hands over. The platform's
// form writes a new file and moves it into place, so a failure leaves the previous script whole.
using ScriptSave =
    std::function<Status(const std::string& path, const std::function<void(const ScriptPut& put)>& produce)>;

// Outcome of choosing where the script goes.
struct ScriptPathChoice
{
    std::string path;           // the path chosen (also when the choice failed)
    std::optional<Error> error; // every candidate is locked or unusable
    bool folderInvalid = false; // error 76: the script folder does not exist; nothing may be written
    bool resetStartup = false;  // the user asked to redo the start-up sequence
};

// Batch.scr in the folder, or the next numbered script when it is locked (error 70 or 75). Error 76
// asks the user through `ask` whether to reset the start-up sequence.
ScriptPathChoice chooseScriptPath(std::string_view scriptFolder, const ScriptProbe& probe, const AskUser& ask);

// The script text in Windows-1252 bytes, and the placeholder message when a routine that was never
// built stopped it (the script is then complete up to that drawing and ends with quit).
struct ScriptText
{
    std::string bytes;
    std::optional<UserMessage> placeholderStop;
};

// Builds the whole script in memory. Fails without partial output on a read-only query error, text
// that Windows-1252 cannot hold, a sequence count that is not a number, a routine text with a lone CR
// or LF, or a drawing name or folder holding a double quote or a line break (each would break the
// script's one entry per line).
Result<ScriptText> buildScript(const ScriptInputs& inputs, ScriptWriterKind kind);

// What a writer run did.
struct ScriptResult
{
    std::string path;                  // the script-path field of the main window (set on every run)
    std::vector<UserMessage> messages; // to show, in order
    bool written = false;              // the script on disk is the one just built
    bool launch = false;               // the host may be started on `path`
    bool resetStartup = false;         // run the reset of the start-up sequence
};

// Chooses the path, builds the script and writes it with one write (through `save` when given, else
// straight into the file). A failure leaves `launch` false so the host never runs a stale script; the
// placeholder stop writes a complete script and launches.
ScriptResult writeBatchScript(const ScriptInputs& inputs, ScriptWriterKind kind, const ScriptProbe& probe,
                              const AskUser& ask, const ScriptSave& save = {});

ScriptResult writeGeneralScript(const ScriptInputs& inputs, const ScriptProbe& probe, const AskUser& ask);
ScriptResult writeZwcadScript(const ScriptInputs& inputs, const ScriptProbe& probe, const AskUser& ask);
ScriptResult writeBricscadScript(const ScriptInputs& inputs, const ScriptProbe& probe, const AskUser& ask);

// The routine name a writer uses in its error messages.
std::string_view writerRoutineName(ScriptWriterKind kind);

// The writer's error message: error 70 explains that a running host may hold the script.
UserMessage scriptWriterErrorMessage(ScriptWriterKind kind, const Error& error, int step);

// The information message shown when a drawing's routine was never built.
UserMessage placeholderRoutineMessage(const std::string& description);

} // namespace qv
