#pragma once

#include "routines/RoutineCatalogue.h"
#include "routines/clsRadomAccess.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace qv {

// The routine database of the running program: the file named by the settings, else Batch_Cad.dat in
// the program's database folder. Every call makes a fresh access object, so a changed setting takes
// effect on the next operation.
clsRadomAccess RoutineDatabase();

// The catalogue as the last LoadCatalogue read it, shared by every window.
RoutineList& Catalogue();

// Set once the locate-database dialog has been shown (by a failed load or by the action panel's
// missing-routines notice), so the notice is not shown twice.
bool& DatabaseNoticeShown();

// Replaces the catalogue with a fresh GetAllRecords and tells the user what went wrong: a recorded path
// that cannot be opened shows the locate-database dialog, any other failure the standard error
// message, and a file with an incomplete last record a warning. The catalogue is empty after a failure.
// True when the file was read.
bool LoadCatalogue();

// Store a routine and report a failure with the database operation's name. Add gives the record
// number used.
std::optional<std::int16_t> AddRoutineToDatabase(const clsRoutine& routine);
bool UpdateRoutineInDatabase(const clsRoutine& routine, std::int16_t recordNumber);

// Shows the locate-database dialog modally with the caller's explanation (written to standard error
// in an unattended run, which has nobody to answer it) and sets DatabaseNoticeShown.
void ShowLocateDatabase(const QString& explanation);

} // namespace qv
