#include "Program.h"

#include "FileSystem.h"
#include "Result.h"
#include "app/QtUserDialogs.h"
#include "config/Settings.h"
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
    const std::string configured = GetDataBaseAddress(state.ini);
    if (configured != kUnknown && !configured.empty())
        return;
    namespace fs = std::filesystem;
    const fs::path target = fs::u8path(JoinPath(state.databaseFolder, "Batch_Cad.dat"));
    const fs::path shipped = fs::u8path(JoinPath(JoinPath(state.programFolder, "defaults"), "Batch_Cad.dat"));
    std::error_code ec;
    if (fs::exists(target, ec) || !fs::exists(shipped, ec))
        return;
    fs::copy_file(shipped, target, ec);
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
