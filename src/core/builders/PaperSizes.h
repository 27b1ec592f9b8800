#pragma once

#include "Message.h"
#include "Result.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The paper catalogue offered for plotter configuration files: eight standards, each with the CAD
// application's own paper names, and the user's custom list kept in "NewPaper.txt".

inline constexpr int kManualPaperCode = 7;
inline constexpr int kCustomPaperCode = 6;
inline constexpr int kPixelPaperCode = 8;

inline constexpr std::string_view kManualStandard = "Manually Enter Size";
inline constexpr std::string_view kCustomStandard = "Custom List";
inline constexpr std::string_view kSelectCustomSize = "Select Custom Size";
inline constexpr std::string_view kNoCustomSizes = "No Custom Sizes";
inline constexpr std::string_view kDefaultPaper = "<Default>";

// Label8 captions: which paper control is live.
inline constexpr std::string_view kEnterPaperSize = "Enter paper size";
inline constexpr std::string_view kSelectPaperSize = "Select paper size";
inline constexpr std::string_view kSelectPixelSize = "Select pixel size";

inline constexpr std::string_view kCustomPaperFileName = "NewPaper.txt";

// One entry of cboStandards: its caption and the code carried as item data.
struct PaperStandard
{
    std::string_view entry;
    int code;
};

// The eight standards in list order; cboStandards then shows kManualStandard.
std::span<const PaperStandard> paperStandards();

// The fixed names of codes 1 to 5 and 8 in list order; any other code gives the ANSI list.
std::span<const std::string_view> standardPaperNames(int code);

// The text cboPaperSize shows after the list of codes 1 to 5 and 8 is filled ("Select ANSI Size", ...);
// any other code gives the ANSI prompt.
std::string_view standardPaperPrompt(int code);

// What the paper controls show for a standard.
struct PaperStandardView
{
    bool showList = true;              // cboPaperSize shown, txtPaperSize hidden; false: the reverse
    std::vector<std::string> names;    // cboPaperSize entries (unused when !showList)
    std::string listText;              // cboPaperSize text (unused when !showList)
    std::optional<std::string> paperLabel; // a new Label8 caption, when the standard sets one
};

// The custom list as the plot tab fills it: every entry of the file in file order, blank ones included;
// nullopt when the file cannot be read.
using CustomPaperEntries = std::optional<std::vector<std::string>>;

// The paper controls for a standard code. Code 6 shows `custom`; code 7 keeps the typed paper text.
PaperStandardView paperStandardView(int code, const CustomPaperEntries& custom);

// ---- "NewPaper.txt": one quoted name per line, CR LF, Windows-1252 ----

// settings folder + "NewPaper.txt"
std::string customPaperPath(std::string_view settingsFolder);

// The entries of the file's bytes, read as a sequential-file reader reads them: a quoted entry is its
// text without the quotes (a quote left open ends at the end of its line); an unquoted line is split at
// commas with surrounding blanks dropped; an empty line is one empty entry. No entry holds a line break.
// The bytes are Windows-1252.
std::vector<std::string> parseCustomPaperEntries(std::string_view bytes);

// The file's entries, or nullopt when it cannot be read (missing, a folder, no permission).
CustomPaperEntries readCustomPaperEntries(std::string_view settingsFolder);

// The file's bytes for the names: each quoted on its own line ending in CR LF. Fails (nothing to write)
// on a name that holds a double quote or a line break, or that Windows-1252 cannot hold.
Result<std::string> encodeCustomPapers(const std::vector<std::string>& names);

// Replaces the file atomically, so a failure leaves the previous list whole.
Status writeCustomPapers(std::string_view settingsFolder, const std::vector<std::string>& names);

// ---- The custom paper dialog (AddPaperDialog) ----

// The dialog's collection: names in file order, then the names added since it opened.
struct CustomPaperList
{
    std::vector<std::string> names;
    bool loaded = false;  // the file could be read
    bool changed = false; // a name was added or removed
};

// The collection as the dialog opens it. A name that occurs again in the file (ignoring case) is kept
// once, so a hand-edited file never hides the whole list nor loses the names after the repeat.
CustomPaperList loadCustomPapers(std::string_view settingsFolder);
CustomPaperList customPapersFromEntries(const CustomPaperEntries& entries);

// lstCustomPaper: the names whose trimmed text is not empty, in collection order.
std::vector<std::string> listedCustomPapers(const CustomPaperList& list);

// cmdAddPaper with the typed text. On success the trimmed name is appended and `changed` is set.
struct AddPaperOutcome
{
    bool added = false;
    std::optional<UserMessage> message;
    bool clearText = false;     // txtNewPaper is cleared
    bool focusNewPaper = false; // txtNewPaper gets the focus with its text selected
};
AddPaperOutcome addCustomPaper(CustomPaperList& list, std::string_view typed);

// cmdRemove: removes the chosen name (matched ignoring case, as the collection's key) and sets `changed`.
void removeCustomPaper(CustomPaperList& list, std::string_view name);

// cmdok: rewrites the file with the listed names when something changed. The error, if any, is the one
// to report; the file keeps its previous contents then.
Status saveCustomPapersIfChanged(std::string_view settingsFolder, const CustomPaperList& list);

} // namespace qv
