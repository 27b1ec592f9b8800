#pragma once

#include "Message.h"
#include "Result.h"
#include "batch/DrawingRow.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Text of `lblReadOnlyMessage` in ReadOnlyDrawingsDialog, which stands below the list of drawings. It says what
// Continue does and no more: each drawing is opened read-only and its routine runs, but nothing is saved over it.
inline constexpr std::string_view kReadOnlyWindowMessage =
    "The files listed above are Read Only and therefore cannot be saved over.\r\n"
    "\r\n"
    "If your routine does not save the file e.g. Plotting, then select Continue Batch Process:\r\n"
    "Quorvel opens each of these drawings read-only and runs its routine; any change the routine\r\n"
    "makes to the drawing itself is not saved.\r\n"
    "\r\n"
    "If you wish to make adjustments to the list then select Stop Batch Process.";

// The read-only decision of the main window: "Yes" continues, "No" stops.
inline constexpr std::string_view kReadOnlyContinue = "Yes";
inline constexpr std::string_view kReadOnlyStop = "No";

// A drawing that carries the read-only attribute, as listed in `lstViewReadOnly`.
struct ReadOnlyDrawing
{
    std::string file;
    std::string folder;

    bool operator==(const ReadOnlyDrawing&) const = default;
};

// Outcome of looking through the drawing list.
struct ReadOnlyScan
{
    std::vector<ReadOnlyDrawing> readOnly; // in list order
    std::vector<bool> rowIsReadOnly;       // one flag per row of the list, for the script writer
    std::vector<unsigned> rowAttributes;   // the attributes read, one per row of the list
    std::string currentPath;               // the last path examined
    std::optional<UserMessage> error;      // set when an attribute could not be read: the run must not start
};

// File attributes of a full path (the platform's fileAttributes).
using AttributeQuery = std::function<Result<unsigned>(const std::string& path)>;

// The examining part of `checkReadOnlyDrawings`: every row's path is folder (one trailing separator removed)
// + separator + file; rows whose attributes include the read-only bit are collected. Drawings whose
// attributes cannot be read (missing files) give one message asking to remove every one of them.
ReadOnlyScan findReadOnlyDrawings(const DrawingRows& rows, const AttributeQuery& attributes);

// "Error Number N in routine CheckReadOnly" for the first failure, then the drawings to remove.
UserMessage unreadableDrawingsMessage(const Error& firstError, const std::vector<std::string>& paths);

// After ReadOnlyDrawingsDialog closes: the run goes on unless the decision is exactly "No".
bool readOnlyDecisionAllowsRun(std::string_view decision);

} // namespace qv
