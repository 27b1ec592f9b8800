#include "Program.h"

#include "FileSystem.h"
#include "Result.h"
#include "app/QtUserDialogs.h"
#include "config/Settings.h"

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
