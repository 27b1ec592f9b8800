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

using qv::fuzz::visible;

// The routines in the source form, one command line per line.
std::string source(const std::vector<qv::Routine>& routines)
{
    std::string text = "# written again\n";
    for (const qv::Routine& routine : routines) {
        text += "Description: " + routine.description() + "\n";
        text += "Favourite: " + std::string(qv::trimSpaces(routine.favourite())) + "\n";
        const std::string commands = qv::stripEndMarker(routine.scriptText());
        for (const std::string_view line : qv::fuzz::splitCrLf(commands).lines)
            text += std::string(line) + "\n";
        text += "---\n";
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = qv::fuzz::asText(data, size);
    const auto parsed = qv::parseRoutineSource(text);
    if (!parsed.ok()) {
        const std::string& message = parsed.error().description;
        FUZZ_REQUIRE(message.starts_with("Line "), message);
        const std::size_t line = std::stoul(message.substr(5));
        FUZZ_REQUIRE(line >= 1 && line <= qv::splitLines(text).size() + 1, message);
        return 0;
    }

    std::set<std::string> descriptions;
    for (const qv::Routine& routine : parsed.value()) {
        const std::string& description = routine.description();
        FUZZ_REQUIRE(!description.empty() && qv::trimSpaces(description) == description, visible(description));
        FUZZ_REQUIRE(qv::utf8Length(description) <= qv::kMaxDescriptionLength, visible(description));
        FUZZ_REQUIRE(descriptions.insert(description).second, "twice: " + visible(description));
        const std::string commands = qv::stripEndMarker(routine.scriptText());
        FUZZ_REQUIRE(!qv::trimSpaces(commands).empty());
        const auto lines = qv::fuzz::splitCrLf(commands);
        FUZZ_REQUIRE(lines.ok, visible(commands));
        for (const std::string_view line : lines.lines)
            FUZZ_REQUIRE(line != "---");
        FUZZ_REQUIRE(routine.inUse() == 1 && routine.deleted() == 0);
        const auto record = qv::encodeRoutineRecord(routine);
        FUZZ_REQUIRE(record.ok(), record.error().description);
    }

    const std::string again = source(parsed.value());
    const auto reparsed = qv::parseRoutineSource(again);
    FUZZ_REQUIRE(reparsed.ok(), reparsed.error().description + "\n" + visible(again));
    FUZZ_REQUIRE(reparsed.value().size() == parsed.value().size());
    for (std::size_t i = 0; i < parsed.value().size(); ++i) {
        const qv::Routine& a = parsed.value()[i];
        const qv::Routine& b = reparsed.value()[i];
        FUZZ_REQUIRE(a.description() == b.description() && a.scriptText() == b.scriptText() &&
                         qv::isFavourite(a) == qv::isFavourite(b),
                     visible(a.description()) + " came back as " + visible(b.description()) + ": " +
                         visible(a.scriptText()) + " / " + visible(b.scriptText()));
    }
    return 0;
}
