#include "DrawingList.h"

#include "text/LineBreaks.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <unordered_set>

namespace qv {
namespace {

unsigned char foldCase(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

// Orders rows by a column, ascending or descending, through a strict weak ordering on their text.
struct ColumnLess
{
    ColumnSort sort;
    bool operator()(const DrawingRow& a, const DrawingRow& b) const
    {
        const int c = compareListText(columnText(a, sort.column), columnText(b, sort.column));
        return sort.descending ? c > 0 : c < 0;
    }
};

// Sorts through an index vector so that the rows' strings move only once; the order taken is returned.
std::vector<std::size_t> stableSortRows(DrawingRows& rows, const ColumnSort& sort)
{
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const ColumnLess less{sort};
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return less(rows[a], rows[b]); });
    DrawingRows sorted;
    sorted.reserve(rows.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
    return order;
}

// True for "C:" and the like: a drive of its own, which names a current folder, not the root.
bool isDriveName(std::string_view folder)
{
    const auto letter = static_cast<unsigned char>(folder.empty() ? 0 : folder[0]);
    return folder.size() == 2 && folder[1] == ':' && ((letter | 0x20) >= 'a' && (letter | 0x20) <= 'z');
}

// Splits a path into a row, or says why it cannot be listed. A drawing in a root folder keeps the
// root's separator ("/", "C:\"), so its folder is never empty and reads back from a saved list.
std::optional<DrawingRow> rowFromPath(const std::string& path)
{
    auto [folder, file] = splitAtLastSeparator(path);
    const bool hasFolder = file.size() < path.size();
    if (hasFolder && (folder.empty() || isDriveName(folder)))
        folder += path[folder.size()];
    if (folder.empty() || file.empty() || isUnsafeName(file) || isUnsafeName(folder))
        return std::nullopt;
    return DrawingRow{std::move(file), std::move(folder), {}, {}};
}

AddOutcome addRead(DrawingRows& rows, PathRows read, const std::optional<ColumnSort>& sort)
{
    AddOutcome outcome{read.rows.size(), std::move(read.refused)};
    addRows(rows, std::move(read.rows), sort);
    return outcome;
}

// A drawing's path as compared for duplicates: folder without a final separator, then the name.
std::string pathIdentity(const DrawingRow& row, bool ignoreCase)
{
    std::string path = joinPath(stripTrailingSeparator(row.folder), row.file);
    for (char& c : path) {
        if (isPathSeparator(c))
            c = '/';
        else if (ignoreCase && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return path;
}

// A refused name may hold line breaks; show them so the message stays one name per line.
std::string visible(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        if (c == '\r')
            out += "<CR>";
        else if (c == '\n')
            out += "<LF>";
        else if (c == '\t')
            out += "<TAB>";
        else if (static_cast<unsigned char>(c) < 0x20)
            out += "<" + std::to_string(static_cast<int>(c)) + ">";
        else
            out += c;
    }
    return out;
}

} // namespace

RowSelection selectionFromIndexes(const std::vector<std::size_t>& indexes, std::size_t rowCount)
{
    RowSelection selected(rowCount, false);
    for (const std::size_t i : indexes) {
        if (i < rowCount)
            selected[i] = true;
    }
    return selected;
}

const std::string& columnText(const DrawingRow& row, int column)
{
    static const std::string kNone;
    switch (column) {
    case 0:
        return row.file;
    case 1:
        return row.folder;
    case 2:
        return row.routine;
    case 3:
        return row.key;
    default:
        return kNone;
    }
}

int compareListText(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = foldCase(a[i]);
        const unsigned char y = foldCase(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

void sortByColumn(DrawingRows& rows, const ColumnSort& sort)
{
    stableSortRows(rows, sort);
}

void sortByColumn(DrawingRows& rows, const ColumnSort& sort, RowSelection& selection)
{
    const std::vector<std::size_t> order = stableSortRows(rows, sort);
    RowSelection moved(order.size(), false);
    for (std::size_t i = 0; i < order.size(); ++i)
        moved[i] = order[i] < selection.size() && selection[order[i]];
    selection = std::move(moved);
}

void insertSorted(DrawingRows& rows, DrawingRows added, const ColumnSort& sort)
{
    if (added.empty())
        return;
    stableSortRows(added, sort);
    // std::merge takes from the first range on ties, so existing rows stay ahead of equal new ones.
    DrawingRows merged;
    merged.reserve(rows.size() + added.size());
    std::merge(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()), std::back_inserter(merged),
               ColumnLess{sort});
    rows = std::move(merged);
}

void addRows(DrawingRows& rows, DrawingRows added, const std::optional<ColumnSort>& sort)
{
    if (sort) {
        insertSorted(rows, std::move(added), *sort);
        return;
    }
    rows.reserve(rows.size() + added.size());
    std::move(added.begin(), added.end(), std::back_inserter(rows));
}

SortOrderStep nextSortOrder(std::string_view sortOrderFlag)
{
    if (parseInt16(sortOrderFlag) == 1)
        return {false, "0"};
    return {true, "1"};
}

bool isUnsafeName(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == '"' || static_cast<unsigned char>(c) < 0x20; });
}

PathRows rowsFromPaths(const std::vector<std::string>& paths)
{
    PathRows read;
    read.rows.reserve(paths.size());
    for (const std::string& path : paths) {
        if (path.empty())
            continue;
        if (auto row = rowFromPath(path))
            read.rows.push_back(std::move(*row));
        else
            read.refused.push_back(path);
    }
    return read;
}

PathRows rowsFromDrop(const std::vector<std::string>& paths, const IsFolderFn& isFolder)
{
    if (paths.empty() || (isFolder && isFolder(paths.front())))
        return {};
    return rowsFromPaths(paths);
}

AddOutcome addFromDialog(DrawingRows& rows, const std::vector<std::string>& paths,
                         const std::optional<ColumnSort>& sort)
{
    return addRead(rows, rowsFromPaths(paths), sort);
}

AddOutcome addDropped(DrawingRows& rows, const std::vector<std::string>& paths, const IsFolderFn& isFolder,
                      const std::optional<ColumnSort>& sort)
{
    return addRead(rows, rowsFromDrop(paths, isFolder), sort);
}

std::vector<std::size_t> findDuplicates(const DrawingRows& listed, const DrawingRows& added, bool ignoreCase)
{
    std::unordered_set<std::string> seen;
    seen.reserve(listed.size() + added.size());
    for (const DrawingRow& row : listed)
        seen.insert(pathIdentity(row, ignoreCase));
    std::vector<std::size_t> duplicates;
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (!seen.insert(pathIdentity(added[i], ignoreCase)).second)
            duplicates.push_back(i);
    }
    return duplicates;
}

UserMessage duplicateDrawingsQuestion(const DrawingRows& added, const std::vector<std::size_t>& duplicates)
{
    constexpr std::size_t kShown = 20;
    std::string text = duplicates.size() == 1
                           ? std::string("This drawing is already in the list:")
                           : std::to_string(duplicates.size()) + " of the drawings added are already in the list:";
    text += kCrLf;
    for (std::size_t i = 0; i < duplicates.size() && i < kShown; ++i) {
        text += kCrLf;
        text += joinPath(added[duplicates[i]].folder, added[duplicates[i]].file);
    }
    const std::string br(kCrLf);
    if (duplicates.size() > kShown)
        text += br + "... and " + std::to_string(duplicates.size() - kShown) + " more.";
    text += br + br +
            "Leave them out? Yes adds only the drawings not listed yet; No adds every one, and a drawing listed "
            "twice is processed twice.";
    return UserMessage{text, "Duplicate Drawings", MessageIcon::Question, MessageButtons::YesNo};
}

UserMessage refusedDrawingsMessage(const std::vector<std::string>& refused)
{
    constexpr std::size_t kShown = 20;
    std::string text = "These drawings were not added to the list. A file name or folder that holds a control "
                       "character (such as a line break or a tab) or a double quote, or a path without a folder or "
                       "a file name, cannot be processed:";
    text += kCrLf;
    for (std::size_t i = 0; i < refused.size() && i < kShown; ++i) {
        text += kCrLf;
        text += visible(refused[i]);
    }
    if (refused.size() > kShown) {
        text += kCrLf;
        text += "... and " + std::to_string(refused.size() - kShown) + " more.";
    }
    text += kCrLf;
    return UserMessage{text, "Quorvel Error", MessageIcon::Exclamation, MessageButtons::Ok};
}

std::size_t rowsWithOtherRoutine(const DrawingRows& rows, std::string_view name)
{
    return std::size_t(std::count_if(rows.begin(), rows.end(), [name](const DrawingRow& row) {
        return !row.routine.empty() && row.routine != name;
    }));
}

UserMessage assignToAllQuestion(std::size_t replaced, std::size_t total, std::string_view routine)
{
    std::string text = routine.empty()
                           ? std::string("Every drawing in the list will be left without a routine.")
                           : "Every drawing in the list will get the routine \"" + std::string(routine) + "\".";
    const std::string br(kCrLf);
    text += br + br + std::to_string(replaced) + " of the " + std::to_string(total) +
            (total == 1 ? " drawing" : " drawings") + " already " + (replaced == 1 ? "has" : "have") +
            " another routine, which this replaces (Edit > Undo takes it back). To give the routine to some "
            "drawings only, select them in the list first." +
            br + br + "Assign to every drawing?";
    return UserMessage{text, "Assign Routine to Files", MessageIcon::Question, MessageButtons::YesNo};
}

void assignToAll(DrawingRows& rows, const std::string& name)
{
    for (DrawingRow& row : rows) {
        row.routine = name;
        row.key.clear();
    }
}

void assignToSelected(DrawingRows& rows, const RowSelection& selected, const std::string& name)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i < selected.size() && selected[i])
            rows[i].routine = name;
        rows[i].key.clear();
    }
}

void removeSelected(DrawingRows& rows, const RowSelection& selected)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i < selected.size() && selected[i])
            continue;
        if (kept != i)
            rows[kept] = std::move(rows[i]);
        rows[kept].key.clear();
        ++kept;
    }
    rows.resize(kept);
}

void clearList(DrawingRows& rows)
{
    rows.clear();
}

std::string drawingCountText(std::size_t count)
{
    if (count == 0)
        return "Drawings To Be Processed";
    return std::to_string(count) + " Drawings To Be Processed";
}

} // namespace qv
