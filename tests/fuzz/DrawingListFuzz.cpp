// The drawing list file: whatever a file holds, the rows read from it save and read back unchanged; rows are
// refused on saving only when they could not be read back; and every drawing the add-files dialog lists can
// be saved and read back.
//
// Input: the file's bytes; the same bytes split at NUL are also rows (file, folder, routine) to save, and the
// paths of an add.

#include "FuzzSupport.h"
#include "batch/DrawingList.h"
#include "batch/DrawingListFile.h"
#include "text/CodePage.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <algorithm>

namespace {

using namespace qv::fuzz;

std::string show(const qv::DrawingRow& row)
{
    return "[" + visible(row.file) + "] [" + visible(row.folder) + "] [" + visible(row.routine) + "]";
}

bool fitsCodePage(const qv::DrawingRow& row)
{
    return qv::fitsCp1252(row.file) && qv::fitsCp1252(row.folder) && qv::fitsCp1252(row.routine);
}

// Saves the rows and reads them back: they must come back as they went, without their keys.
void checkSavesAndReadsBack(const qv::DrawingRows& rows)
{
    const qv::EncodedList encoded = qv::encodeList(rows);
    FUZZ_REQUIRE(encoded.ok(), encoded.refusal.front().text);
    const qv::ParsedList read = qv::parseList(encoded.bytes);
    FUZZ_REQUIRE(!read.lineError, "line " + std::to_string(read.lineError->line) + ": " + read.lineError->reason);
    FUZZ_REQUIRE(read.rows.size() == rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        qv::DrawingRow expected = rows[i];
        expected.key.clear();
        FUZZ_REQUIRE(read.rows[i] == expected, show(rows[i]) + " read back as " + show(read.rows[i]));
    }
}

void checkRead(std::string_view bytes)
{
    const qv::ParsedList parsed = qv::parseList(bytes);
    for (const qv::DrawingRow& row : parsed.rows) {
        FUZZ_REQUIRE(!row.file.empty() && !row.folder.empty(), show(row));
        FUZZ_REQUIRE(row.key.empty());
    }
    checkSavesAndReadsBack(parsed.rows);

    // Routines the catalogue lacks are emptied, the others kept as read.
    const auto known = [](std::string_view description) { return description.size() % 2 == 0; };
    const qv::RetrievedList retrieved = qv::applyCatalogue(parsed, known);
    FUZZ_REQUIRE(retrieved.rows.size() == parsed.rows.size());
    bool missing = false;
    for (std::size_t i = 0; i < parsed.rows.size(); ++i) {
        const bool kept = known(qv::trimSpaces(parsed.rows[i].routine));
        missing = missing || !kept;
        FUZZ_REQUIRE(retrieved.rows[i].routine == (kept ? parsed.rows[i].routine : ""));
    }
    FUZZ_REQUIRE(retrieved.missing == missing);
}

void checkWrite(const Fields& fields)
{
    qv::DrawingRows rows;
    for (std::size_t i = 0; i + 2 < fields.size(); i += 3)
        rows.push_back({fields.text(i), fields.text(i + 1), fields.text(i + 2), "key"});
    const qv::EncodedList encoded = qv::encodeList(rows);
    if (encoded.ok()) {
        checkSavesAndReadsBack(rows);
        return;
    }
    // Refused: some row holds text the code page cannot hold, or would not come back from a line of its own.
    bool justified = false;
    for (const qv::DrawingRow& row : rows) {
        if (!fitsCodePage(row)) {
            justified = true;
            break;
        }
        const std::string line = "\"" + row.file + "\",\"" + row.folder + "\",\"" + row.routine + "\"\r\n";
        const qv::ParsedList alone = qv::parseList(qv::utf8ToCp1252(line).value());
        qv::DrawingRow expected = row;
        expected.key.clear();
        if (alone.lineError || alone.rows.size() != 1 || alone.rows.front() != expected) {
            justified = true;
            break;
        }
    }
    FUZZ_REQUIRE(justified, "every row reads back, yet the list was refused: " + encoded.refusal.front().text);
}

void checkAdd(const Fields& fields)
{
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < fields.size(); ++i)
        paths.push_back(fields.text(i));
    qv::DrawingRows rows;
    const qv::AddOutcome outcome = qv::addFromDialog(rows, paths);
    std::size_t given = 0;
    for (const std::string& path : paths)
        given += path.empty() ? 0 : 1;
    FUZZ_REQUIRE(outcome.added == rows.size() && outcome.added + outcome.refused.size() == given);
    for (const std::string& path : outcome.refused) {
        const bool noFolder = std::none_of(path.begin(), path.end(), qv::isPathSeparator);
        const bool noName = qv::isPathSeparator(path.back());
        FUZZ_REQUIRE(noFolder || noName || qv::isUnsafeName(path), "refused " + visible(path));
    }
    bool fits = true;
    for (qv::DrawingRow& row : rows) {
        row.routine = "Zoom Extents";
        fits = fits && fitsCodePage(row);
    }
    if (fits)
        checkSavesAndReadsBack(rows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = qv::fuzz::asText(data, size);
    checkRead(bytes);
    const Fields fields(bytes);
    if (fields.size() >= 2) {
        checkWrite(fields);
        checkAdd(fields);
    }
    return 0;
}
