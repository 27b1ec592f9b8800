#include "RoutineStore.h"

#include "app/Program.h"
#include "routines/LocateDatabaseDialog.h"

namespace qv {

RoutineDatabase routineDatabase()
{
    return RoutineDatabase(programState().settings, programState().databaseFolder);
}

RoutineList& makeCatalogue()
{
    static RoutineList catalogue;
    return catalogue;
}

bool& databaseNoticeShown()
{
    static bool shown = false;
    return shown;
}

void showLocateDatabaseDialog(const QString& explanation)
{
    databaseNoticeShown() = true;
    if (programState().headless) {
        // Nobody is there to browse for the file; say what is wrong and go on.
        userDialogs().show(toStd(explanation), LocateDatabaseDialog::kCaption, MessageIcon::Exclamation);
        return;
    }
    LocateDatabaseDialog dialog(dialogParent());
    dialog.setExplanation(explanation);
    dialog.exec();
}

bool loadCatalogue()
{
    RoutineList& catalogue = makeCatalogue();
    catalogue.clear();
    auto records = routineDatabase().readAll();
    if (!records) {
        if (needsLocateDatabase(records.error()))
            showLocateDatabaseDialog(QString::fromLatin1(kLocateDatabaseText));
        else
            showError(records.error(), kRoutineGetAllRecords);
        return false;
    }
    catalogue = std::move(records.value().routines);
    if (records.value().notice)
        userDialogs().message(*records.value().notice);
    return true;
}

std::optional<std::int16_t> addRoutineToDatabase(const Routine& routine)
{
    auto added = routineDatabase().add(routine);
    if (!added) {
        showError(added.error(), kRoutineAddToDatabase);
        return std::nullopt;
    }
    return added.value();
}

bool updateRoutineInDatabase(const Routine& routine, std::int16_t recordNumber)
{
    auto updated = routineDatabase().update(routine, recordNumber);
    if (!updated) {
        showError(updated.error(), kRoutineUpdateDatabase);
        return false;
    }
    return true;
}

} // namespace qv
