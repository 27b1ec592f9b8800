#include "Program.h"

#include "FileSystem.h"
#include "SafeWrite.h"
#include "Result.h"
#include "app/QtUserDialogs.h"
#include "config/DataFiles.h"
#include "config/InstallLayout.h"
#include "config/Settings.h"
#include "routines/RoutineDatabase.h"
#include "text/Paths.h"


namespace qv {

ProgramState& programState()
{
    static ProgramState state;
    return state;
}

UserDialogs& userDialogs()
{
    ProgramState& state = programState();
    if (!state.dialogs)
        state.dialogs = std::make_unique<QtUserDialogs>();
    return *state.dialogs;
}

void showError(const Error& error, const std::string& routine)
{
    userDialogs().message(errorMessage(error, routine));
}

void initialiseProgram(const std::string& programFolder, bool createFiles)
{
    // Every file written from here on survives a kill whole and keeps its identity.
    platform::installSafeWrites();
    ProgramState& state = programState();
    state.programFolder = programFolder;
    const InstallLayout layout = findInstallLayout(programFolder);
    state.shippedFolder = layout.shippedFolder;
    // An installed program belongs to every user of the machine: each keeps its own files.
    const bool ownFolder = !layout.installed && platform::isFolderWritable(programFolder);
    const std::string userFolder = ownFolder ? std::string() : platform::userConfigFolder(createFiles);
    state.settingsFolder = resolveSettingsFolder(programFolder, ownFolder, userFolder);
    state.databaseFolder = ownFolder || userFolder.empty() ? programFolder : userFolder;
    state.scriptFolder = state.databaseFolder;
    state.settings = SettingsFile(state.settingsFolder);
    state.editorTab = 30;
    if (createFiles)
        installDefaultRoutines();
}

void installDefaultRoutines()
{
    // Only when the default database location is in use and holds no database yet: a user's own
    // routines are never replaced.
    const ProgramState& state = programState();
    // The database path in use is the default one only when no path is configured.
    const std::string target = RoutineDatabase(state.settings, state.databaseFolder).filePath();
    const std::string name(kDatabaseFileName);
    if (target != joinPath(state.databaseFolder, name))
        return;
    // Whole or not at all: a half copy would show a few routines on every later start.
    (void)installDefaultDatabase(joinPath(joinPath(state.shippedFolder, "defaults"), name), target);
}

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toStd(const QString& text)
{
    return text.toStdString();
}

} // namespace qv
