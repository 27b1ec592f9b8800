#pragma once

#include "app/UserDialogs.h"
#include "config/SettingsFile.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qv {

// Program-wide state shared by every window, set up once at start-up.
struct ProgramState
{
    std::string programFolder;   // folder of the executable
    std::string shippedFolder;   // files shipped with the program: defaults/, help/, samples/
    std::string settingsFolder;  // the settings folder: holds Quorvel.ini and the data files
    std::string databaseFolder;  // where the default routine database lives
    std::string scriptFolder;    // where the script goes when no script folder is set
    SettingsFile settings;       // the one settings access object
    std::int16_t editorTab = 30; // requested tab of the routine editor (1-6, 30 for none)
    bool routineIsNonFavourite = false;
    bool release2004OrLater = false;
    std::string combinedScript;   // text of "Combined Routines..."
    bool combinationMade = false; // a combination was assigned in this run
    bool headless = false;        // no display: messages go to standard error
    int exitCode = 0;             // status of a command-line run: 0 host started, 1 not
    std::unique_ptr<UserDialogs> dialogs;
};

ProgramState& programState();

// The dialog service of the program.
UserDialogs& userDialogs();

// Shows a core error in the standard message box ("Quorvel Error", critical).
void showError(const struct Error& error, const std::string& routine);

// Sets the folders and the settings object: the redirect file, else the program folder, else (an
// installed program, or a read-only program folder) the per-user folder. Without `createFiles` (a check)
// nothing is created: no per-user folder, no copy of the default routines.
void initialiseProgram(const std::string& programFolder, bool createFiles = true);

// Copies the shipped default routine database into the database folder when the default location
// is in use and no database is there yet.
void installDefaultRoutines();

QString toQString(std::string_view text); // from UTF-8
std::string toStd(const QString& text);

} // namespace qv
