#include "InstallLayout.h"

#include "config/DataFiles.h"
#include "io/FileIo.h"
#include "text/Paths.h"

namespace qv {

namespace {

// A folder holds the shipped files when it has the default routine database or the help page.
bool holdsShippedFiles(const std::string& folder)
{
    return fileExists(joinPath(joinPath(folder, "defaults"), kDatabaseFileName)) ||
           fileExists(joinPath(joinPath(folder, "help"), "Quorvel.html"));
}

} // namespace

InstallLayout findInstallLayout(const std::string& programFolder)
{
    const std::string program(stripTrailingSeparator(programFolder));
    if (holdsShippedFiles(program))
        return {program, false};
    const std::string prefix = splitAtLastSeparator(program).first;
    if (!prefix.empty()) {
        const std::string shared = joinPath(joinPath(prefix, "share"), "quorvel");
        if (holdsShippedFiles(shared))
            return {shared, true};
    }
    return {program, false};
}

} // namespace qv
