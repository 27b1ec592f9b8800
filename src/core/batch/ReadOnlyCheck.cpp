#include "ReadOnlyCheck.h"

#include "text/LineBreaks.h"
#include "text/Paths.h"

namespace qv {
namespace {

constexpr unsigned kReadOnlyAttribute = 1;

} // namespace

ReadOnlyScan findReadOnlyDrawings(const DrawingRows& rows, const AttributeQuery& attributes)
{
    ReadOnlyScan scan;
    scan.rowIsReadOnly.reserve(rows.size());
    scan.rowAttributes.reserve(rows.size());
    // Every drawing that cannot be examined is named at once, so the user mends the list in one go.
    std::optional<Error> firstError;
    std::vector<std::string> unreadable;
    for (const DrawingRow& row : rows) {
        scan.currentPath = joinPath(row.folder, row.file);
        const Result<unsigned> found = attributes(scan.currentPath);
        if (!found) {
            if (!firstError)
                firstError = found.error();
            unreadable.push_back(scan.currentPath);
            continue;
        }
        const bool readOnly = (found.value() & kReadOnlyAttribute) != 0;
        scan.rowIsReadOnly.push_back(readOnly);
        scan.rowAttributes.push_back(found.value());
        if (readOnly)
            scan.readOnly.push_back({row.file, row.folder});
    }
    if (firstError) {
        scan.error = unreadableDrawingsMessage(*firstError, unreadable);
        scan.readOnly.clear();
        scan.rowIsReadOnly.clear();
        scan.rowAttributes.clear();
    }
    return scan;
}

UserMessage unreadableDrawingsMessage(const Error& firstError, const std::vector<std::string>& paths)
{
    constexpr std::size_t kShown = 20;
    const std::string lineBreak(kCrLf);
    UserMessage message = errorMessage(firstError, "CheckReadOnly");
    message.text += lineBreak + lineBreak;
    if (paths.size() == 1) {
        message.text += "Please remove " + paths.front() + " from the drawing list before proceeding";
        return message;
    }
    message.text +=
        "Please remove these " + std::to_string(paths.size()) + " drawings from the drawing list before proceeding:";
    for (std::size_t i = 0; i < paths.size() && i < kShown; ++i)
        message.text += lineBreak + paths[i];
    if (paths.size() > kShown)
        message.text += lineBreak + "... and " + std::to_string(paths.size() - kShown) + " more.";
    return message;
}

bool readOnlyDecisionAllowsRun(std::string_view decision)
{
    return decision != kReadOnlyStop;
}

} // namespace qv
