// The script writer: a script it builds has only CR LF line breaks, ends with one, and opens every drawing
// (once per set when collated, until a routine that was never built stops it) with its path as one quoted
// entry right after the open command; it refuses exactly the inputs that would break those lines.
//
// Input, NUL-separated: switches (writer, collate, read-only source), number of sets, open command (empty
// for "Unknown"), routine text A, routine text B, the combined routines' text, one byte per row choosing its
// routine, then file name and folder of each row.

#include "FuzzSupport.h"
#include "batch/ScriptWriter.h"
#include "text/CodePage.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

namespace {

using namespace qv::fuzz;

constexpr const char* kRoutines[] = {"A", "B", "Recover Drawings", "Convert DXF to a Drawing R14",
                                     "Combined Routines...", "Placeholder", "", "recover drawings"};

std::string showRows(const qv::DrawingRows& rows)
{
    std::string out;
    for (const qv::DrawingRow& row : rows)
        out += "[" + visible(row.folder) + " | " + visible(row.file) + " | " + visible(row.routine) + "]";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fields fields(qv::fuzz::asText(data, size));
    const std::uint8_t switches = fields.byte(0);
    const auto kind = static_cast<qv::ScriptWriterKind>(switches % 3);
    qv::ScriptInputs inputs;
    inputs.collate = switches & 4;
    inputs.sequenceText = fields.text(1);
    inputs.openCommand = fields[2].empty() ? "Unknown" : fields.text(2);
    // The open command comes from the settings file, whose values never hold a line break.
    if (qv::fuzz::splitCrLf(inputs.openCommand).lines.size() > 1 || !splitCrLf(inputs.openCommand).ok)
        return 0;
    // Thousands of sets are the user's to ask for, but make scripts too large to check quickly.
    const auto sets = qv::parseInt16(inputs.sequenceText);
    if (sets && *sets > 20)
        return 0;
    const std::string textA = fields.text(3);
    const std::string textB = fields.text(4);
    inputs.combinedScript = fields.text(5);
    const std::string_view choices = fields[6];
    for (std::size_t i = 7; i + 1 < fields.size(); i += 2) {
        // The choices repeat when there are more rows; without any, every row has routine A.
        const char* routine = choices.empty() ? "A" : kRoutines[fields.byte(6, (i - 7) / 2 % choices.size()) % 8];
        inputs.rows.push_back({fields.text(i), fields.text(i + 1), routine, ""});
    }
    const auto textOf = [&](const std::string& description) -> std::string {
        if (description == "B")
            return textB;
        if (description == "Placeholder")
            return std::string(qv::kPlaceholderRoutine);
        if (description.empty())
            return {};
        return textA;
    };
    inputs.routineText = textOf;
    if (switches & 8) {
        for (std::size_t i = 0; i < inputs.rows.size(); ++i)
            inputs.readOnlyRows.push_back((switches >> (4 + i % 4)) & 1);
    } else {
        inputs.isReadOnly = [](const std::string& path) -> qv::Result<bool> { return path.size() % 3 == 0; };
    }

    // What the writer should make of it: the rows it reaches (up to a routine never built), and whether
    // anything on the way cannot be written as lines of the script.
    std::size_t reached = inputs.rows.size();
    bool stopped = false;
    bool unwritable = !qv::fitsCp1252(inputs.openCommand) || (!inputs.rows.empty() && !sets);
    for (std::size_t i = 0; i < inputs.rows.size(); ++i) {
        const qv::DrawingRow& row = inputs.rows[i];
        const bool dxf = qv::toUpperAscii(row.routine) == qv::toUpperAscii(qv::kConvertDxfR14);
        const std::string text = row.routine == qv::kCombinedRoutines ? inputs.combinedScript : textOf(row.routine);
        if (!dxf && qv::toUpperAscii(text) == qv::toUpperAscii(qv::kPlaceholderRoutine)) {
            reached = i;
            stopped = true;
            break;
        }
        if (!dxf && (!splitCrLf(text).ok || !qv::fitsCp1252(text)))
            unwritable = true;
        const std::string_view folder = qv::stripTrailingSeparator(row.folder);
        if (qv::breaksQuotedLine(folder) || qv::breaksQuotedLine(row.file) || !qv::fitsCp1252(folder) ||
            !qv::fitsCp1252(row.file))
            unwritable = true;
        else if (dxf && qv::utf8ToCp1252(row.file).value().size() < 3)
            unwritable = true;
    }

    const auto script = qv::buildScript(inputs, kind);
    FUZZ_REQUIRE(script.ok() == !unwritable,
                 showRows(inputs.rows) + ": " + (script.ok() ? "written" : "refused: " + script.error().description));
    if (!script.ok())
        return 0;
    FUZZ_REQUIRE(script.value().placeholderStop.has_value() == stopped);

    // Only CR LF line breaks, and one after the last line.
    const std::string& bytes = script.value().bytes;
    const auto split = qv::fuzz::splitCrLf(bytes);
    FUZZ_REQUIRE(split.ok, "a lone line break in the script");
    FUZZ_REQUIRE(bytes.ends_with("\r\n"));
    const std::vector<std::string_view>& lines = split.lines;
    const std::string_view last = lines[lines.size() - 2];
    FUZZ_REQUIRE(last == "_Quit" || last == "Quit" || (stopped && (last == "_Y" || last == "Y")), visible(last));

    // Every drawing reached, in order, once per set (the sets in passes when collated, and one pass when a
    // routine stopped the script), as one quoted entry after an open line.
    std::string open = inputs.openCommand == "Unknown" ? (kind == qv::ScriptWriterKind::Bricscad ? "Open" : "_Open")
                                                       : inputs.openCommand;
    if (kind == qv::ScriptWriterKind::Bricscad && open.starts_with('_'))
        open.erase(0, 1);
    const std::string openLine = qv::utf8ToCp1252(open).value();
    std::vector<std::string> expected;
    const int passes = stopped || !inputs.collate || !sets ? 1 : std::max(1, *sets);
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t i = 0; i < reached; ++i) {
            const qv::DrawingRow& row = inputs.rows[i];
            // One trailing separator of the folder is dropped, then exactly one written.
            const std::string path =
                std::string(qv::stripTrailingSeparator(row.folder)) + qv::pathSeparator() + row.file;
            expected.push_back("\"" + qv::utf8ToCp1252(path).value() + "\"");
        }
    }
    std::size_t found = 0;
    for (std::size_t i = 1; i < lines.size() && found < expected.size(); ++i) {
        const std::string_view before = lines[i - 1];
        const bool opens = before == openLine || before == "_Recover" || before == "Recover";
        if (opens && lines[i] == expected[found])
            ++found;
    }
    FUZZ_REQUIRE(found == expected.size(),
                 "entry " + std::to_string(found) + " of " + std::to_string(expected.size()) + " not found: " +
                     (found < expected.size() ? visible(expected[found]) : "") + "\n" + visible(bytes.substr(0, 2000)));
    return 0;
}
