#pragma once

#include <string>
#include <vector>

namespace qv::platform {

// Where the first-run setup looks for the CAD program and for its plot files, in the order searched.
// Windows: "\Program Files\" of the current drive for the program, the whole current drive for the plot
// files. Elsewhere: the places hosts are installed, Windows hosts under the user's Wine prefix first.
std::vector<std::string> executableSearchRoots();
std::vector<std::string> plotFileSearchRoots();

// Folders a search never enters: the kernel's views of processes and devices, which are no files.
std::vector<std::string> foldersNeverSearched();

} // namespace qv::platform
