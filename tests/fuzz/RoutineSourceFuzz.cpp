// The default-routine source: what it accepts is a set of routines the editor would accept (unique, short
// enough, storable), written out again in the same form it reads back as the same routines; a refusal names
// a line of the text.
//
// Input: the source text.

#include "FuzzSupport.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineRecord.h"
#include "routines/RoutineSource.h"
#include "text/CodePage.h"
#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <set>

namespace {

using qv::fuzz::Visible;

// The routines in the source form, one command line per line.
std::string Source(const std::vector<qv::clsRoutine>& routines)
{
    std::string text = "# written again\n";
    for (const qv::clsRoutine& routine : routines) {
        text += "Description: " + routine.Description() + "\n";
        text += "Favourite: " + std::string(qv::TrimSpaces(routine.Favourite())) + "\n";
        const std::string commands = qv::StripEndMarker(routine.ScriptText());
        for (const std::string_view line : qv::fuzz::SplitCrLf(commands).lines)
            text += std::string(line) + "\n";
        text += "---\n";
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = qv::fuzz::AsText(data, size);
    const auto parsed = qv::ParseRoutineSource(text);
    if (!parsed.ok()) {
        const std::string& message = parsed.error().description;
        FUZZ_REQUIRE(message.starts_with("Line "), message);
        const std::size_t line = std::stoul(message.substr(5));
        FUZZ_REQUIRE(line >= 1 && line <= qv::SplitLines(text).size() + 1, message);
        return 0;
    }

    std::set<std::string> descriptions;
    for (const qv::clsRoutine& routine : parsed.value()) {
        const std::string& description = routine.Description();
        FUZZ_REQUIRE(!description.empty() && qv::TrimSpaces(description) == description, Visible(description));
        FUZZ_REQUIRE(qv::Utf8Length(description) <= qv::kMaxDescriptionLength, Visible(description));
        FUZZ_REQUIRE(descriptions.insert(description).second, "twice: " + Visible(description));
        const std::string commands = qv::StripEndMarker(routine.ScriptText());
        FUZZ_REQUIRE(!qv::TrimSpaces(commands).empty());
        const auto lines = qv::fuzz::SplitCrLf(commands);
        FUZZ_REQUIRE(lines.ok, Visible(commands));
        for (const std::string_view line : lines.lines)
            FUZZ_REQUIRE(line != "---");
        FUZZ_REQUIRE(routine.InUse() == 1 && routine.Deleted() == 0);
        const auto record = qv::EncodeRoutineRecord(routine);
        FUZZ_REQUIRE(record.ok(), record.error().description);
    }

    const std::string again = Source(parsed.value());
    const auto reparsed = qv::ParseRoutineSource(again);
    FUZZ_REQUIRE(reparsed.ok(), reparsed.error().description + "\n" + Visible(again));
    FUZZ_REQUIRE(reparsed.value().size() == parsed.value().size());
    for (std::size_t i = 0; i < parsed.value().size(); ++i) {
        const qv::clsRoutine& a = parsed.value()[i];
        const qv::clsRoutine& b = reparsed.value()[i];
        FUZZ_REQUIRE(a.Description() == b.Description() && a.ScriptText() == b.ScriptText() &&
                         qv::IsFavourite(a) == qv::IsFavourite(b),
                     Visible(a.Description()) + " came back as " + Visible(b.Description()) + ": " +
                         Visible(a.ScriptText()) + " / " + Visible(b.ScriptText()));
    }
    return 0;
}
