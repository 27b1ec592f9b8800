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

// The drawing list file (*.qvl): one line per row, "file","folder","routine" CR LF, Windows-1252,
// nothing escaped, no header. The "Num" column is not stored.

inline constexpr std::string_view kListFileFilter = "Quorvel List Files (*.qvl)|*.qvl";
inline constexpr std::string_view kSaveListTitle = "Save Quorvel Drawing List";
inline constexpr std::string_view kRetrieveListTitle = "Open Quorvel drawing List File";

// "There are no Drawings Listed" (title "Save List Error"): saving an empty list opens no dialog.
UserMessage noDrawingsListedMessage();
// Before a list is saved: the question (Yes saves anyway) when drawings carry "Combined Routines...", a
// combination kept only while the program runs, which a retrieved list cannot find; nothing otherwise.
std::optional<UserMessage> unsavedCombinationWarning(const DrawingRows& rows);

// ---- Writing ----

// True when the routine description holds no double quote (it could not be read back).
bool checkRoutineName(std::string_view description);
// What checkRoutineName says when it answers false.
UserMessage routineNameQuoteMessage();
// "The drawing list has not been saved."
UserMessage listNotSavedMessage();
// A write failure: "Error Number N in routine WriteList " and the description, with the advice lines.
UserMessage writeListErrorMessage(const Error& error);

// The file's bytes for the rows, or the messages (in order) that say why the list cannot be saved:
// a routine with a double quote, a name or routine with a line break or a double quote where one
// cannot be stored, or text that Windows-1252 cannot hold.
struct EncodedList
{
    std::string bytes;
    std::vector<UserMessage> refusal;
    bool ok() const { return refusal.empty(); }
};
EncodedList encodeList(const DrawingRows& rows);

// The name a list is saved under: ".qvl" is added when the file name has no extension of its own.
std::string withListExtension(std::string_view fileName);

// Saves the rows to the file in one atomic replace. A refused list or a failed write leaves an
// existing file as it was. `messages` are to be shown in order; empty when saved.
struct ListSaveOutcome
{
    bool saved = false;
    std::vector<UserMessage> messages;
};
ListSaveOutcome writeList(const std::string& fileName, const DrawingRows& rows);

// ---- Reading ----

// A line that is not a drawing list line: its number (from 1) and a short reason.
struct ListLineError
{
    std::size_t line = 0;
    std::string reason;

    bool operator==(const ListLineError&) const = default;
};

// The rows of a file's bytes as read (routine = field 3 as read, "Num" empty). Reading stops at the
// first malformed line; the rows before it are kept and the line is reported. Blank lines are
// skipped. Accepts any bytes.
struct ParsedList
{
    DrawingRows rows;
    std::optional<ListLineError> lineError;
};
ParsedList parseList(std::string_view bytes);

// Whether a routine description (already trimmed of spaces) is in the catalogue.
using DescriptionExistsFn = std::function<bool(std::string_view description)>;

// A retrieved list: the rows to show, whether some routine was not in the catalogue (its row then
// has an empty routine), and a malformed line or a read error, if any.
struct RetrievedList
{
    DrawingRows rows;
    bool missing = false;
    std::optional<ListLineError> lineError;
    std::optional<Error> error;
};

// Applies the catalogue to parsed rows: a routine whose trimmed text is a catalogue description is
// kept as read, any other is emptied and `missing` is set.
RetrievedList applyCatalogue(ParsedList parsed, const DescriptionExistsFn& descriptionExists);

// How a list file's bytes are read: handed to `block` a block at a time, once, from start to end. The
// platform's reader also takes pipes and refuses devices; without one the file is read as a regular file.
using ListBlockReader =
    std::function<Status(const std::string& path, const std::function<void(std::string_view block)>& block)>;

// Reads the whole file once (a pipe can be read only once), parses it and applies the catalogue.
RetrievedList retrieveList(const std::string& fileName, const DescriptionExistsFn& descriptionExists,
                           const ListBlockReader& read = {});

// Messages of a retrieve, in the order to show them (read error or malformed line, then the
// missing-routines notice once).
std::vector<UserMessage> retrieveMessages(const RetrievedList& list, const std::string& fileName);

// Only a complete read replaces the drawing list: a file that cannot be read, or that is damaged
// part-way, leaves the list in hand as it was.
bool replacesDrawingList(const RetrievedList& list);

// A start from the command line must not go on to run the batch: the file could not be read (the
// 52 and 53 "correct filename and path" case among them) or is damaged part-way, so the list in
// hand is not the list that was asked for.
bool stopsCommandLineRun(const RetrievedList& list);

// The messages one by one.
UserMessage retrieveListErrorMessage(const Error& error, const std::string& fileName);
UserMessage listLineErrorMessage(const ListLineError& lineError, const std::string& fileName);
UserMessage missingRoutinesMessage();

} // namespace qv
