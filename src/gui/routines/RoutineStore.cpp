#include "RoutineStore.h"

#include "app/Program.h"
#include "routines/frmLocateData.h"

namespace qv {

clsRadomAccess RoutineDatabase()
{
    return clsRadomAccess(Program().ini, Program().databaseFolder);
}

RoutineList& Catalogue()
{
    static RoutineList catalogue;
    return catalogue;
}

bool& DatabaseNoticeShown()
{
    static bool shown = false;
    return shown;
}

void ShowLocateDatabase(const QString& explanation)
{
    DatabaseNoticeShown() = true;
    if (Program().headless) {
        // Nobody is there to browse for the file; say what is wrong and go on.
        Dialogs().show(ToStd(explanation), frmLocateData::kCaption, MessageIcon::Exclamation);
        return;
    }
    frmLocateData dialog(DialogParent());
    dialog.setExplanation(explanation);
    dialog.exec();
}

bool LoadCatalogue()
{
    RoutineList& catalogue = Catalogue();
    catalogue.clear();
    auto records = RoutineDatabase().GetAllRecords();
    if (!records) {
        if (NeedsLocateDatabase(records.error()))
            ShowLocateDatabase(QString::fromLatin1(kLocateDatabaseText));
        else
            ShowError(records.error(), kRoutineGetAllRecords);
        return false;
    }
    catalogue = std::move(records.value().routines);
    if (records.value().notice)
        Dialogs().message(*records.value().notice);
    return true;
}

std::optional<std::int16_t> AddRoutineToDatabase(const clsRoutine& routine)
{
    auto added = RoutineDatabase().Add_to_Database(routine);
    if (!added) {
        ShowError(added.error(), kRoutineAddToDatabase);
        return std::nullopt;
    }
    return added.value();
}

bool UpdateRoutineInDatabase(const clsRoutine& routine, std::int16_t recordNumber)
{
    auto updated = RoutineDatabase().Update_Database(routine, recordNumber);
    if (!updated) {
        ShowError(updated.error(), kRoutineUpdateDatabase);
        return false;
    }
    return true;
}

} // namespace qv
