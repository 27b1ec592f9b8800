#pragma once

#include "Message.h"
#include "batch/DrawingRow.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Operations on the drawing list. The window keeps a DrawingRows vector and a model over it; every
// operation here rebuilds or reorders that vector in one pass (or one sort) so that lists of
// 100,000 drawings stay quick.

// The add-files dialog.
inline constexpr std::string_view kAddFilesTitle = "Select File(s)...";
inline constexpr std::string_view kAddFilesFilter =
    "Dwg Files (*.dwg)|*.dwg|Dxf Files (*.dxf)|*.dxf|Dwt Files (*.dwt)|*.dwt|All Files (*.*)|*.*";

// Selection state of the rows: selected[i] is true when row i is selected. Rows beyond the end of
// the vector count as not selected.
using RowSelection = std::vector<bool>;

// Builds a RowSelection from row indexes (any order; indexes past the list are ignored).
RowSelection selectionFromIndexes(const std::vector<std::size_t>& indexes, std::size_t rowCount);

// Column sorting of the list view: column 0 "Drawing File", 1 "Folder", 2 "Routine", 3 "Num".
struct ColumnSort
{
    int column = 0;
    bool descending = false;

    bool operator==(const ColumnSort&) const = default;
};

// Text of a column of a row (empty for a column outside 0..3).
const std::string& columnText(const DrawingRow& row, int column);

// The list's text comparison: ASCII letters compare without regard to case, every other byte by its
// value (for UTF-8 that is code point order). It does not depend on the machine's locale, so a list
// sorts the same way everywhere and the processing order is predictable.
int compareListText(std::string_view a, std::string_view b);
inline bool listTextLess(std::string_view a, std::string_view b)
{
    return compareListText(a, b) < 0;
}

// Stable sort of the rows by one column's text; rows with equal text keep their order.
void sortByColumn(DrawingRows& rows, const ColumnSort& sort);
// The same, with a selection that follows its rows to their new places.
void sortByColumn(DrawingRows& rows, const ColumnSort& sort, RowSelection& selection);

// Adds rows to a list that is already sorted by `sort`: each new row goes after the existing rows
// of equal text, and new rows of equal text keep their own order. O((n + m) log m).
void insertSorted(DrawingRows& rows, DrawingRows added, const ColumnSort& sort);

// Appends the rows, or inserts them in sorted place once column sorting is switched on.
void addRows(DrawingRows& rows, DrawingRows added, const std::optional<ColumnSort>& sort);

// A click on a column header flips the order held by `sortOrderFlag` ("0" ascending, "1" descending, "" before
// the first click): when its numeric value is 1 the list sorts ascending and the flag becomes "0"; otherwise
// it sorts descending and the flag becomes "1".
struct SortOrderStep
{
    bool descending = false;
    std::string sortOrderFlag;
};
SortOrderStep nextSortOrder(std::string_view sortOrderFlag);

// True when the text holds a control character (line breaks and tabs among them) or a double quote:
// such a name would break the batch script or could not be read back from a drawing list file, so it
// is never listed.
bool isUnsafeName(std::string_view text);

// What an add did: how many rows were added, and the paths that were refused (in the order given).
struct AddOutcome
{
    std::size_t added = 0;
    std::vector<std::string> refused;
};

// Rows read from paths, not listed yet, and the paths refused (in the order given).
struct PathRows
{
    DrawingRows rows;
    std::vector<std::string> refused;
};

// Reads the full paths returned by the add-files dialog, or dropped on the list, into rows: the rules of
// addFromDialog and addDropped below, without adding them.
PathRows rowsFromPaths(const std::vector<std::string>& paths);
using IsFolderFn = std::function<bool(const std::string& path)>;
PathRows rowsFromDrop(const std::vector<std::string>& paths, const IsFolderFn& isFolder);

// Which of the rows about to be added name a drawing the list holds already, or one that an earlier row of
// `added` names: their indexes in `added`, ascending. A final separator of a folder does not count, nor letter
// case where file names ignore it.
std::vector<std::size_t> findDuplicates(const DrawingRows& listed, const DrawingRows& added, bool ignoreCase);

// The question that offers to leave the duplicates out (Yes leaves them out), naming at most 20 of them.
UserMessage duplicateDrawingsQuestion(const DrawingRows& added, const std::vector<std::size_t>& duplicates);

// Adds the full paths returned by the add-files dialog, in order, each split at its last separator
// into folder and file name (a drawing in a root folder gets the root, "/" or "C:\", as its folder).
// Empty paths are skipped (a cancelled dialog returns none); a path without a folder or a file name,
// or whose name or folder is unsafe, is refused and the others are added.
AddOutcome addFromDialog(DrawingRows& rows, const std::vector<std::string>& paths,
                         const std::optional<ColumnSort>& sort = std::nullopt);

// Adds dropped paths in drop order, with the same rules. When the first dropped path is a folder
// nothing at all is added.
AddOutcome addDropped(DrawingRows& rows, const std::vector<std::string>& paths, const IsFolderFn& isFolder,
                      const std::optional<ColumnSort>& sort = std::nullopt);

// The one message that names the refused drawings (at most 20 of them, then how many more).
UserMessage refusedDrawingsMessage(const std::vector<std::string>& refused);

// How many rows carry a routine other than `name`: what giving every row `name` would replace.
std::size_t rowsWithOtherRoutine(const DrawingRows& rows, std::string_view name);

// The question asked before every row gets a routine while `replaced` of the `total` rows carry another one.
// `routine` is the name shown (empty: the rows are left without one).
UserMessage assignToAllQuestion(std::size_t replaced, std::size_t total, std::string_view routine);

// Every row gets the routine; the "Num" column is emptied. Order is kept.
void assignToAll(DrawingRows& rows, const std::string& name);

// The selected rows get the routine, the others keep theirs; every "Num" is emptied.
void assignToSelected(DrawingRows& rows, const RowSelection& selected, const std::string& name);

// Keeps the rows that are not selected, in order, with "Num" emptied.
void removeSelected(DrawingRows& rows, const RowSelection& selected);

void clearList(DrawingRows& rows);

// Count label `Label1`: "Drawings To Be Processed", or "12 Drawings To Be Processed".
std::string drawingCountText(std::size_t count);

} // namespace qv
