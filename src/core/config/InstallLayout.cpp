#include "InstallLayout.h"

#include "io/FileIo.h"
#include "text/Paths.h"

namespace qv {

namespace {

// A folder holds the shipped files when it has the default routine database or the help page.
bool HoldsShippedFiles(const std::string& folder)
{
    return FileExists(JoinPath(JoinPath(folder, "defaults"), "Batch_Cad.dat")) ||
           FileExists(JoinPath(JoinPath(folder, "help"), "Quorvel.html"));
}

} // namespace

InstallLayout FindInstallLayout(const std::string& programFolder)
{
    const std::string program(StripTrailingSeparator(programFolder));
    if (HoldsShippedFiles(program))
        return {program, false};
    const std::string prefix = SplitAtLastSeparator(program).first;
    if (!prefix.empty()) {
        const std::string shared = JoinPath(JoinPath(prefix, "share"), "quorvel");
        if (HoldsShippedFiles(shared))
            return {shared, true};
    }
    return {program, false};
}

} // namespace qv
