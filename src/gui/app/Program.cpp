#include "Program.h"

#include "FileSystem.h"
#include "Result.h"
#include "app/QtUserDialogs.h"
#include "config/InstallLayout.h"
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
    const InstallLayout layout = FindInstallLayout(programFolder);
    state.shippedFolder = layout.shippedFolder;
    // An installed program belongs to every user of the machine: each keeps its own files.
    const bool ownFolder = !layout.installed && platform::IsFolderWritable(programFolder);
    const std::string userFolder = ownFolder ? std::string() : platform::UserConfigFolder();
    state.settingsFolder = ResolveSettingsFolder(programFolder, ownFolder, userFolder);
    state.databaseFolder = ownFolder || userFolder.empty() ? programFolder : userFolder;
    state.scriptFolder = state.databaseFolder;
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
    const fs::path shipped = fs::u8path(JoinPath(JoinPath(state.shippedFolder, "defaults"), name));
    std::error_code ec;
    if (fs::exists(fs::u8path(target), ec) || !fs::exists(shipped, ec))
        return;
    fs::copy_file(shipped, fs::u8path(target), ec);
}

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToStd(const QString& text)
{
    return text.toStdString();
}

} // namespace qv
