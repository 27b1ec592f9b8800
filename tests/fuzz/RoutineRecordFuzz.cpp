// The routine record: any 5236 bytes decode, and encode back to the same bytes when the command text carries
// its end marker (and are refused when it does not); and a routine the editor accepts is stored so that the
// look-ups give back its description, text and favourite flag exactly.
//
// Input: at least 5236 bytes are a record; shorter input is description, NUL, command text, NUL, flags.

#include "FuzzSupport.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineRecord.h"
#include "text/CodePage.h"
#include "text/TextUtil.h"

#include <algorithm>

namespace {

using namespace qv::fuzz;
namespace record = qv::record;

void checkRecordBytes(std::string_view bytes)
{
    const qv::Routine routine = qv::decodeRoutineRecord(bytes, 7);
    FUZZ_REQUIRE(routine.recordNumber() == 7);
    FUZZ_REQUIRE(qv::utf8ToCp1252(routine.description()).value() == bytes.substr(0, record::kDescriptionWidth));
    const bool marked = qv::trimTrailingSpaces(routine.scriptText()).ends_with(record::kEndMarker);
    const auto encoded = qv::encodeRoutineRecord(routine);
    FUZZ_REQUIRE(encoded.ok() == marked, encoded.ok() ? "accepted without the end marker"
                                                      : "refused: " + encoded.error().description);
    if (!encoded.ok())
        return;
    // Byte for byte, but for the availability field, which every write sets.
    std::string expected(bytes);
    expected.replace(record::kAvailabilityOffset, record::kAvailabilityWidth,
                     std::string(record::kAvailability) +
                         std::string(record::kAvailabilityWidth - record::kAvailability.size(), ' '));
    FUZZ_REQUIRE(encoded.value() == expected);
    FUZZ_REQUIRE(qv::decodeRoutineRecord(encoded.value(), 7) == routine);
}

void checkEditorRoutine(const Fields& fields)
{
    const std::string_view description = fields[0];
    const std::string text = fields.text(1);
    const bool nonFavourite = fields.byte(2) & 1;
    const auto refusal = qv::validateAdd({}, description, text);
    const qv::Routine routine = qv::makeRoutineForAdd(description, text, nonFavourite);
    const auto encoded = qv::encodeRoutineRecord(routine);
    if (refusal) {
        // Refused only what is blank, too long, holds a control character in the description, or would not
        // come back from the file.
        const std::string_view trimmed = qv::trimSpaces(description);
        const bool blank = trimmed.empty() || qv::trimSpaces(text).empty();
        const bool tooLong = qv::utf8Length(trimmed) > qv::kMaxDescriptionLength;
        const bool control =
            std::any_of(trimmed.begin(), trimmed.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
        bool returns = encoded.ok();
        if (returns) {
            const qv::RoutineList catalogue = {qv::decodeRoutineRecord(encoded.value(), 1)};
            const qv::RoutineLookup found = qv::findByDescription(catalogue, trimmed);
            returns = found.found && found.text == text;
        }
        FUZZ_REQUIRE(blank || tooLong || control || !returns,
                     "refused " + visible(description) + ": " + refusal->message.text);
        return;
    }
    FUZZ_REQUIRE(encoded.ok(), "accepted, but cannot be stored: " + encoded.error().description);
    FUZZ_REQUIRE(encoded.value().size() == record::kRecordLength);

    const qv::RoutineList catalogue = {qv::decodeRoutineRecord(encoded.value(), 3)};
    const qv::Routine& stored = catalogue.front();
    const std::string_view trimmed = qv::trimSpaces(description);
    // A record with a blank description or InUse 0 reads as deleted.
    FUZZ_REQUIRE(!qv::trimSpaces(stored.description()).empty() && stored.inUse() == 1 && stored.deleted() == 0);
    FUZZ_REQUIRE(qv::trimSpaces(stored.description()) == trimmed,
                 visible(description) + " stored as " + visible(stored.description()));
    FUZZ_REQUIRE(qv::isFavourite(stored) == !nonFavourite);
    const qv::RoutineLookup found = qv::findByDescription(catalogue, trimmed);
    FUZZ_REQUIRE(found.found && found.text == text, visible(text) + " read back as " + visible(found.text));
    const qv::RoutineLookup indexed = qv::RoutineIndex(catalogue).lookup(trimmed);
    FUZZ_REQUIRE(indexed.found && indexed.text == text, visible(text) + " looked up as " + visible(indexed.text));
    const auto shown = qv::routineToShow(catalogue, 3);
    FUZZ_REQUIRE(shown && shown->description == trimmed && shown->text == text && shown->nonFavourite == nonFavourite);
    // Stored again unchanged, it gives the same bytes.
    const auto again = qv::encodeRoutineRecord(stored);
    FUZZ_REQUIRE(again.ok() && again.value() == encoded.value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = qv::fuzz::asText(data, size);
    if (input.size() >= record::kRecordLength)
        checkRecordBytes(input.substr(0, record::kRecordLength));
    else
        checkEditorRoutine(Fields(input));
    return 0;
}
