#include "ReadOnlyCheck.h"

#include "text/LineBreaks.h"
#include "text/Paths.h"

namespace qv {
namespace {

constexpr unsigned kReadOnlyAttribute = 1;

} // namespace

ReadOnlyScan FindReadOnlyDrawings(const DrawingRows& rows, const AttributeQuery& attributes)
{
    ReadOnlyScan scan;
    for (const DrawingRow& row : rows) {
        scan.currentPath = JoinPath(row.folder, row.file);
        const Result<unsigned> found = attributes(scan.currentPath);
        if (!found) {
            UserMessage message = ErrorMessage(found.error(), "CheckReadOnly");
            message.text += std::string(kCrLf) + std::string(kCrLf) + "Please remove " + scan.currentPath +
                            " from the drawing list before proceeding";
            scan.error = std::move(message);
            scan.readOnly.clear();
            return scan;
        }
        if (found.value() & kReadOnlyAttribute)
            scan.readOnly.push_back({row.file, row.folder});
    }
    return scan;
}

bool ReadOnlyDecisionAllowsRun(std::string_view decision)
{
    return decision != kReadOnlyStop;
}

} // namespace qv
