#pragma once

#include <functional>
#include <stop_token>
#include <string>
#include <vector>

namespace qv {

// How a search over folder trees is run. A search of a whole disk takes minutes, so it reports the
// folders it enters and can be stopped between any two of them.
struct FileSearchOptions
{
    // Folders never entered, nor anything below them (/proc, /sys, ...).
    std::vector<std::string> neverEnter;
    std::stop_token stop;
    // Called with each folder as it is entered (from the searching thread).
    std::function<void(const std::string& folder)> onFolder;
};

// `findFileInTree`: depth-first walk from `start`; in each folder the file `name` is looked for first
// (letter case ignored, hidden and system files included), then its subfolders are walked in name
// order. The first hit ends the walk; its full path is returned with the name as found. Empty when
// nothing was found, when `start` does not exist, or when the search was stopped. Folders that cannot
// be read are skipped, and links to folders are never followed, so a link loop cannot trap the walk.
std::string findFileInTree(const std::string& start, const std::string& name, const FileSearchOptions& options = {});

// The same over several starting folders in order. A folder already searched as an earlier start is not
// walked again below a later one.
std::string findFileInTrees(const std::vector<std::string>& starts, const std::string& name,
                            const FileSearchOptions& options = {});

} // namespace qv
