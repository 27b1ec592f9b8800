#pragma once

#include "Result.h"
#include "routines/Routine.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Layout of one record of the routine database file (Batch_Cad.dat). The file is a plain sequence
// of these records, record n at byte (n - 1) * kRecordLength, with no header. Text fields are
// Windows-1252, left-aligned, cut at their width and padded with spaces; flags are 16-bit
// little-endian.
namespace record {

inline constexpr std::size_t kDescriptionOffset = 0;
inline constexpr std::size_t kDescriptionWidth = 150;
inline constexpr std::size_t kScriptTextOffset = 150;
inline constexpr std::size_t kScriptTextWidth = 5000;
inline constexpr std::size_t kFavouriteOffset = 5150;
inline constexpr std::size_t kFavouriteWidth = 50;
inline constexpr std::size_t kAvailabilityOffset = 5200;
inline constexpr std::size_t kAvailabilityWidth = 30;
inline constexpr std::size_t kRecordWrittenOffset = 5230;
inline constexpr std::size_t kDeletedOffset = 5232;
inline constexpr std::size_t kInUseOffset = 5234;
inline constexpr std::size_t kRecordLength = 5236;

static_assert(kScriptTextOffset == kDescriptionOffset + kDescriptionWidth);
static_assert(kFavouriteOffset == kScriptTextOffset + kScriptTextWidth);
static_assert(kAvailabilityOffset == kFavouriteOffset + kFavouriteWidth);
static_assert(kRecordWrittenOffset == kAvailabilityOffset + kAvailabilityWidth);
static_assert(kRecordLength == kInUseOffset + 2);

// Follows the command text so that trailing spaces and line breaks survive the padding.
inline constexpr std::string_view kEndMarker = ".....";
inline constexpr std::size_t kMaxCommandTextLength = kScriptTextWidth - kEndMarker.size(); // 4995

inline constexpr std::string_view kAvailability = "Avail";
inline constexpr std::string_view kFavourite = "Fav";
inline constexpr std::string_view kNonFavourite = "Non";

// Record numbers are 16-bit, so a file can hold at most this many records.
inline constexpr std::int16_t kMaxRecords = 32767;

} // namespace record

// Explicit little-endian access to the flag fields, whatever the machine's byte order.
void writeInt16Le(std::string& buffer, std::size_t offset, std::int16_t value);
std::int16_t readInt16Le(std::string_view buffer, std::size_t offset);

// The kRecordLength bytes of a routine. Fails, with a message for the user, when a text field holds
// a character Windows-1252 cannot hold, or when the command text would not fit with its end marker
// (more than 4995 characters) or lacks the end marker; nothing is cut but the description.
Result<std::string> encodeRoutineRecord(const Routine& routine);

// The routine held by kRecordLength bytes, every field exactly as stored (padding included).
Routine decodeRoutineRecord(std::string_view bytes, std::int16_t recordNumber);

} // namespace qv
