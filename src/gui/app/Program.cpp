#include "Program.h"

#include "FileSystem.h"
#include "Result.h"
#include "app/QtUserDialogs.h"
#include "config/Settings.h"
#include "routines/clsRadomAccess.h"
#include "text/Paths.h"

#include <filesystem>

namespace qv {

ProgramState& Program()
{
    static ProgramState state;
    return state;
}

UserDialogs& Dialogs()
{
    ProgramState& state = Program();
    if (!state.dialogs)
        state.dialogs = std::make_unique<QtUserDialogs>();
    return *state.dialogs;
}

void ShowError(const Error& error, const std::string& routine)
{
    Dialogs().message(ErrorMessage(error, routine));
}

void InitialiseProgram(const std::string& programFolder)
{
    ProgramState& state = Program();
    state.programFolder = programFolder;
    const bool writable = platform::IsFolderWritable(programFolder);
    const std::string userFolder = writable ? std::string() : platform::UserConfigFolder();
    state.settingsFolder = ResolveSettingsFolder(programFolder, writable, userFolder);
    state.databaseFolder = writable ? programFolder : (userFolder.empty() ? programFolder : userFolder);
    state.ini = clsIniControl(state.settingsFolder);
    state.editorTab = 30;
    InstallDefaultRoutines();
}

void InstallDefaultRoutines()
{
    // Only when the default database location is in use and holds no database yet: a user's own
    // routines are never replaced.
    const ProgramState& state = Program();
    // The database path in use is the default one only when no path is configured.
    const std::string target = clsRadomAccess(state.ini, state.databaseFolder).GetDatabasePath();
    const std::string name = clsRadomAccess::DatabaseFileName();
    if (target != JoinPath(state.databaseFolder, name))
        return;
    namespace fs = std::filesystem;
    const fs::path shipped = fs::u8path(JoinPath(JoinPath(state.programFolder, "defaults"), name));
    std::error_code ec;
    if (fs::exists(fs::u8path(target), ec) || !fs::exists(shipped, ec))
        return;
    fs::copy_file(shipped, fs::u8path(target), ec);
}

QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string ToStd(const QString& text)
{
    return text.toStdString();
}

} // namespace qv
