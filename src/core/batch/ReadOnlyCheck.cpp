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
    scan.rowIsReadOnly.reserve(rows.size());
    for (const DrawingRow& row : rows) {
        scan.currentPath = JoinPath(row.folder, row.file);
        const Result<unsigned> found = attributes(scan.currentPath);
        if (!found) {
            UserMessage message = ErrorMessage(found.error(), "CheckReadOnly");
            message.text += std::string(kCrLf) + std::string(kCrLf) + "Please remove " + scan.currentPath +
                            " from the drawing list before proceeding";
            scan.error = std::move(message);
            scan.readOnly.clear();
            scan.rowIsReadOnly.clear();
            return scan;
        }
        const bool readOnly = (found.value() & kReadOnlyAttribute) != 0;
        scan.rowIsReadOnly.push_back(readOnly);
        if (readOnly)
            scan.readOnly.push_back({row.file, row.folder});
    }
    return scan;
}

bool ReadOnlyDecisionAllowsRun(std::string_view decision)
{
    return decision != kReadOnlyStop;
}

} // namespace qv
