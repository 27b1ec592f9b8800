#pragma once

#include "batch/DrawingRow.h"

#include <string>
#include <string_view>

namespace qv {

// Sort by field: drawings named by a numbering scheme (A-12-rev.dwg) are ordered by one
// delimiter-separated field of their file name.

// The key of a file name: when its upper-cased form holds ".DWG", every ".dwg" (lower case, exactly)
// is removed first; then the fieldNumber-th field (from 1) between delimiters is the key, the last
// field running to the end of the name. Only a one-character delimiter splits the name. A name with
// fewer fields than fieldNumber, or a fieldNumber below 1, gives an empty key.
// For A-12-rev.dwg, "-", 2 the key is "12"; with 3 it is "rev".
std::string fileNameField(std::string_view fileName, std::string_view delimiter, int fieldNumber);

// Gives every row its key ("Num") and sorts the rows by key, ascending, with the list's text
// comparison; rows with equal keys keep their order. A field number that selects no field gives
// every row an empty key and keeps the order.
void sortByField(DrawingRows& rows, std::string_view delimiter, std::string_view fieldNumber);

} // namespace qv
