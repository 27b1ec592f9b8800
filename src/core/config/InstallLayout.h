#pragma once

#include <string>

namespace qv {

// Where the files shipped with the program are (the default routine database, the help page and
// the demo samples), and how the program was installed:
// - beside the executable: a build folder or a portable copy, which may keep its settings in its
//   own folder;
// - an installed tree: the executable in PREFIX/bin and the shipped files in PREFIX/share/quorvel.
//   Such a program is shared by every user of the machine, so each user keeps settings and data in
//   a per-user folder, whether or not the program folder happens to be writable.
struct InstallLayout
{
    std::string shippedFolder;
    bool installed = false;
};

// The shipped-files folder for an executable in the program folder. A folder beside the
// executable wins over the installed tree; when neither holds the shipped files the program
// folder is used as it always was. The folder comes without a trailing separator.
InstallLayout findInstallLayout(const std::string& programFolder);

} // namespace qv
