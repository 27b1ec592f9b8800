// Sort by field: the rows come out as the same rows, each with the key of its own file name, ordered by key,
// rows of equal keys in their old order; and the fields of a name joined by the delimiter give the name back.
//
// Input: delimiter, NUL, field number text, NUL, then NUL-separated file names.

#include "FuzzSupport.h"
#include "batch/DrawingList.h"
#include "batch/FieldSort.h"
#include "config/Settings.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <string>

namespace {

using namespace qv::fuzz;

void checkFields(std::string_view name, std::string_view delimiter)
{
    // ".dwg" is removed before the split; a name without it splits as it stands.
    if (qv::toUpperAscii(name).find(".DWG") != std::string::npos)
        return;
    if (delimiter.size() != 1) {
        FUZZ_REQUIRE(qv::fileNameField(name, delimiter, 1) == name);
        FUZZ_REQUIRE(qv::fileNameField(name, delimiter, 2).empty());
        return;
    }
    const auto count = static_cast<int>(std::count(name.begin(), name.end(), delimiter.front())) + 1;
    std::string joined;
    for (int field = 1; field <= count; ++field) {
        const std::string key = qv::fileNameField(name, delimiter, field);
        FUZZ_REQUIRE(key.find(delimiter.front()) == std::string::npos, visible(key));
        if (field > 1)
            joined += delimiter;
        joined += key;
    }
    FUZZ_REQUIRE(joined == name, visible(name) + " joined back as " + visible(joined));
    FUZZ_REQUIRE(qv::fileNameField(name, delimiter, count + 1).empty());
    FUZZ_REQUIRE(qv::fileNameField(name, delimiter, 0).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fields fields(qv::fuzz::asText(data, size));
    const std::string_view delimiter = fields[0];
    const std::string_view numberText = fields[1];

    // The field number: a whole number of at least 1, which prints back as the trimmed text without zeros
    // in front.
    const auto number = qv::parseFieldNumber(numberText);
    if (number) {
        FUZZ_REQUIRE(*number >= 1);
        FUZZ_REQUIRE(std::to_string(*number) == digitsOf(numberText), visible(numberText));
    }

    qv::DrawingRows rows;
    for (std::size_t i = 2; i < fields.size(); ++i) {
        // The folder numbers the row, so its old place can be told after the sort.
        rows.push_back({fields.text(i), std::to_string(rows.size()), "Routine", "stale key"});
        checkFields(fields[i], delimiter);
    }

    qv::DrawingRows sorted = rows;
    qv::sortByField(sorted, delimiter, numberText);
    FUZZ_REQUIRE(sorted.size() == rows.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const qv::DrawingRow& row = sorted[i];
        const qv::DrawingRow& original = rows[std::stoul(row.folder)];
        FUZZ_REQUIRE(row.file == original.file && row.routine == original.routine);
        const std::string key = number ? qv::fileNameField(row.file, delimiter, *number) : std::string();
        FUZZ_REQUIRE(row.key == key, visible(row.file) + ": key " + visible(row.key));
        if (i == 0)
            continue;
        const qv::DrawingRow& before = sorted[i - 1];
        const int order = qv::compareListText(before.key, row.key);
        FUZZ_REQUIRE(order <= 0, visible(before.key) + " before " + visible(row.key));
        if (order == 0)
            FUZZ_REQUIRE(std::stoul(before.folder) < std::stoul(row.folder), "equal keys out of their order");
    }
    // Every row once: the old places are a permutation.
    std::vector<bool> seen(rows.size());
    for (const qv::DrawingRow& row : sorted) {
        const auto place = std::stoul(row.folder);
        FUZZ_REQUIRE(!seen[place]);
        seen[place] = true;
    }
    return 0;
}
