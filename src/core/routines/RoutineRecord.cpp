#include "RoutineRecord.h"

#include "text/CodePage.h"
#include "text/TextUtil.h"

#include <algorithm>

namespace qv {
namespace {

// Converts one text field to Windows-1252 and places it left-aligned in its field; a longer value
// is cut at the field width (the buffer is already filled with spaces).
Status writeText(std::string& buffer, std::size_t offset, std::size_t width, std::string_view text,
                 std::string_view what)
{
    auto bytes = utf8ToCp1252(text);
    if (!bytes)
        return Error{ErrInvalidText, "The " + std::string(what) + " cannot be saved. " + bytes.error().description};
    buffer.replace(offset, std::min(width, bytes.value().size()), bytes.value(), 0, width);
    return {};
}

std::string readText(std::string_view buffer, std::size_t offset, std::size_t width)
{
    return cp1252ToUtf8(buffer.substr(offset, width));
}

} // namespace

void writeInt16Le(std::string& buffer, std::size_t offset, std::int16_t value)
{
    const auto bits = static_cast<std::uint16_t>(value);
    buffer[offset] = static_cast<char>(bits & 0xFF);
    buffer[offset + 1] = static_cast<char>(bits >> 8);
}

std::int16_t readInt16Le(std::string_view buffer, std::size_t offset)
{
    const auto low = static_cast<unsigned char>(buffer[offset]);
    const auto high = static_cast<unsigned char>(buffer[offset + 1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

Result<std::string> encodeRoutineRecord(const Routine& routine)
{
    using namespace record;
    const std::string& script = routine.scriptText();
    // The command text must never lose characters: it has to fit beside its end marker, and a text
    // without the marker would lose its last five characters when read back.
    if (!script.empty() && !trimTrailingSpaces(script).ends_with(kEndMarker)) {
        return Error{ErrInvalidText, "The command text of the routine cannot be saved: it lacks the end marker \"" +
                                         std::string(kEndMarker) + "\"."};
    }
    auto scriptBytes = utf8ToCp1252(script);
    if (!scriptBytes) {
        return Error{ErrInvalidText,
                     "The command text of the routine cannot be saved. " + scriptBytes.error().description};
    }
    if (scriptBytes.value().size() > kScriptTextWidth) {
        const std::size_t length = trimTrailingSpaces(scriptBytes.value()).size() - kEndMarker.size();
        if (length > kMaxCommandTextLength) {
            return Error{ErrInvalidText, "The command text of the routine is too long: it has " +
                                             std::to_string(length) + " characters and a routine can hold at most " +
                                             std::to_string(kMaxCommandTextLength) + ". Nothing was saved."};
        }
        // Only padding (as read) goes beyond the field; it is cut like any padding.
    }

    // Filled in the order of the record buffer: description, text, flags, favourite, availability.
    std::string buffer(kRecordLength, ' ');
    const Status description =
        writeText(buffer, kDescriptionOffset, kDescriptionWidth, routine.description(), "routine description");
    if (!description)
        return description.error();
    buffer.replace(kScriptTextOffset, std::min(kScriptTextWidth, scriptBytes.value().size()), scriptBytes.value(), 0,
                   kScriptTextWidth);
    writeInt16Le(buffer, kInUseOffset, routine.inUse());
    writeInt16Le(buffer, kRecordWrittenOffset, routine.recordWritten());
    const Status favourite =
        writeText(buffer, kFavouriteOffset, kFavouriteWidth, routine.favourite(), "favourite marker");
    if (!favourite)
        return favourite.error();
    buffer.replace(kAvailabilityOffset, kAvailability.size(), kAvailability);
    writeInt16Le(buffer, kDeletedOffset, routine.deleted());
    return buffer;
}

Routine decodeRoutineRecord(std::string_view bytes, std::int16_t recordNumber)
{
    using namespace record;
    Routine routine;
    routine.setRecordNumber(recordNumber);
    routine.setDescription(readText(bytes, kDescriptionOffset, kDescriptionWidth));
    routine.setStoredScriptText(bytes.substr(kScriptTextOffset, kScriptTextWidth));
    routine.setDeleted(readInt16Le(bytes, kDeletedOffset));
    routine.setFavourite(readText(bytes, kFavouriteOffset, kFavouriteWidth));
    routine.setRecordWritten(readInt16Le(bytes, kRecordWrittenOffset));
    routine.setInUse(readInt16Le(bytes, kInUseOffset));
    return routine;
}

} // namespace qv
