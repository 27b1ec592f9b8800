#pragma once

#include "routines/RoutineCatalogue.h"
#include "routines/RoutineDatabase.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace qv {

// The routine database of the running program: the file named by the settings, else Batch_Cad.dat in
// the program's database folder. Every call makes a fresh access object, so a changed setting takes
// effect on the next operation.
RoutineDatabase routineDatabase();

// The catalogue as the last loadCatalogue read it, shared by every window.
RoutineList& makeCatalogue();

// Set once the locate-database dialog has been shown (by a failed load or by the action panel's
// missing-routines notice), so the notice is not shown twice.
bool& databaseNoticeShown();

// Replaces the catalogue with a fresh readAll and tells the user what went wrong: a recorded path
// that cannot be opened shows the locate-database dialog, any other failure the standard error
// message, and a file with an incomplete last record a warning. The catalogue is empty after a failure.
// True when the file was read.
bool loadCatalogue();

// Store a routine and report a failure with the database operation's name. Add gives the record
// number used.
std::optional<std::int16_t> addRoutineToDatabase(const Routine& routine);
bool updateRoutineInDatabase(const Routine& routine, std::int16_t recordNumber);

// Shows the locate-database dialog modally with the caller's explanation (written to standard error
// in an unattended run, which has nobody to answer it) and sets databaseNoticeShown.
void showLocateDatabaseDialog(const QString& explanation);

} // namespace qv
