#pragma once

#include <string_view>

namespace qv {

// Names of the files Quorvel keeps in its folders. Every installation uses the same names, so that
// databases, lists and scripts move between machines and the setup can find them before any of the
// modules that read or write them is involved.
inline constexpr std::string_view kDatabaseFileName = "Batch_Cad.dat"; // the routine database
inline constexpr std::string_view kScriptFileName = "Batch.scr";       // the script the CAD program runs

} // namespace qv
