#pragma once

#include "Message.h"
#include "Result.h"
#include "config/CadProducts.h"
#include "config/SettingsFile.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The first-run setup: where the routine database and the script go, which CAD product is used, where
// its executable and its plot files are. The windows show what these decide.

// What the locate-file window is locating.
enum class LocateMode
{
    ACADEXE, // the CAD executable
    PC3,     // the folder of the plotter configuration files
    CTB,     // the folder of the plot style tables
};

// The files the plot-file searches look for: one that every CAD installation of its kind carries.
inline constexpr std::string_view kPc3SearchFile = "PublishToWeb JPG.pc3";
inline constexpr std::string_view kCtbSearchFile = "DWF Virtual Pens.ctb";

// Writes "YES" to "Setup" of "Startup_Set" (readSetupDone then answers true): the wizard does not run again.
Status markSetupDone(const SettingsFile& ini);

// Text for a label: a text of 60 characters or more becomes its first 30 characters, nine dots and its
// last 46 characters; a shorter one is returned unchanged. Counts characters, not bytes.
std::string shortenPath(std::string_view text);

// The routine database step: the stored path, or (nothing stored) the default database in
// `defaultFolder`, which is then written. `written` fails when that write failed.
struct DatabaseLocation
{
    std::string path;
    Status written;
};
DatabaseLocation locateRoutineDatabase(const SettingsFile& ini, const std::string& defaultFolder);

// The probe that tells whether a script may be written without harming a host that runs it
// (the script writer's `probeForWriting`: 0 when it may).
using WriteProbe = std::function<int(const std::string& path)>;

// Whether the script can be written in the folder: the script there is probed first, so a script that a
// running host holds is never touched; then it is created or overwritten with the line "Test". On
// failure the message to show before the user picks another folder.
std::optional<UserMessage> testWriteFolder(const std::string& folder, const WriteProbe& probe);

// The message when a folder cannot be written.
UserMessage readWriteFolderMessage();

// The version step: what choosing the product of a row records. The placeholder row records nothing.
// Writes "CadVer"; for the old releases also "Off" in "Acad_StartEnd" under the key last set ("CadVer").
Status recordProductChoice(SettingsFile& ini, const CadProduct& product);
// "AutoCAD Version " + selection label + " Selected".
std::string productSelectedText(const CadProduct& product);

// Checklist texts of the wizard, before and after each step (line breaks CR LF).
namespace setup_text {
inline constexpr std::string_view kAcadVerBefore = "Setup Cad Version Been Used.";
inline constexpr std::string_view kDatAddressBefore = "Setup Location for Routine Database.";
inline constexpr std::string_view kScrAddressBefore = "Setup Location of Script Routine";
inline constexpr std::string_view kExeAddressBefore = "Setup Location of CAD .exe File.";
inline constexpr std::string_view kPc3AddressBefore = "Setup Location for Plotter Configuration Files.";
inline constexpr std::string_view kCtbAddressBefore = "Setup Location for Plot Style Files.";

std::string databaseLocated(std::string_view path);
std::string scriptLocated(std::string_view folder);
std::string executableLocated(std::string_view path);
std::string plotterConfigLocated(std::string_view folder);
std::string plotStyleLocated(std::string_view folder);

std::string wizardOpening();
std::string wizardComplete();
std::string plotFilesOpening();
UserMessage plotFilesQuestion();
UserMessage cancelQuestion();
} // namespace setup_text

// What the locate-file window shows for a mode: the search, its captions and its explanations.
struct LocateTexts
{
    std::string searching;  // shown on the caller's checklist while the search runs
    std::string fileLabel;  // lblFileLocate
    std::string frameCaption;  // empty: the window's own
    std::string windowCaption; // empty: the window's own
    std::string notFound;   // explanation when nothing was found
    std::string found;      // explanation when the file was found
    std::string stored;     // explanation when the settings already hold a location (no search is made)
};
LocateTexts locateTextsFor(LocateMode mode, std::string_view executableName);

// What the settings already hold for the setup's steps, so that running the setup again starts every step
// from it and changes only what the user changes. Empty (or null) where nothing usable is stored.
struct StoredSetup
{
    const CadProduct* product = nullptr; // a product code of the catalogue (never the placeholder)
    std::string scriptFolder;
    std::string executable;
    std::string plotterConfigFolder;
    std::string plotStyleFolder;
};
StoredSetup readStoredSetup(const SettingsFile& ini);
// The stored location a locate window starts from, by mode.
std::string storedLocation(const StoredSetup& stored, LocateMode mode);

// The file each search looks for.
std::string searchFileName(LocateMode mode, std::string_view executableName);

// What a search hit becomes in the address box: the full path of the executable, or for the plot files
// the folder with one trailing separator.
std::string locatedAddress(LocateMode mode, const std::string& hitPath);

// The file-open filter offered when browsing for an executable of that name.
std::string executableFilter(std::string_view executableName);

// The message when OK is pressed with an empty address (the same in every mode).
UserMessage emptyAddressMessage();

// Writes what OK confirms: "AcadAddress" = the text; "PC3_Loc" / "Style_Loc" = the folder with exactly
// one trailing separator. Returns the value written.
Result<std::string> saveLocation(const SettingsFile& ini, LocateMode mode, const std::string& address);

} // namespace qv
