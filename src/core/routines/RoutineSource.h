#pragma once

#include "Result.h"
#include "routines/Routine.h"

#include <string_view>
#include <vector>

namespace qv {

// The readable text form of a set of routines (the shipped default set is kept this way):
//
//   # comment lines start with "#" and may appear before a routine's "Description:" line
//   Description: Zoom Extents and Save
//   Favourite: Fav
//   _Zoom
//   _E
//   ---
//   Description: ...
//
// A routine is a "Description:" line, a "Favourite:" line ("Fav" or "Non"), then its command lines
// exactly as the CAD host receives them (an empty line is an Enter; empty lines at the start and end
// of the command lines are dropped). A line "---" ends a routine. Line breaks may be LF or CR LF; the
// command text is joined with CR LF.
//
// Every routine is checked as the editor checks it (description 1 to 75 characters and unique, command
// text not blank, at most 4995 characters, Windows-1252 only). The result holds the records to add, in
// order; an error names the line at fault.
Result<std::vector<Routine>> parseRoutineSource(std::string_view text);

} // namespace qv
