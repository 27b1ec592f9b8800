#pragma once

#include "Result.h"

#include <string>
#include <string_view>

namespace qv {

// On-disk text is one byte per character in Windows-1252; inside the program text is UTF-8.

// Decodes Windows-1252 bytes to UTF-8. Every byte has a meaning (the five unassigned bytes map
// to the C1 control characters of the same value, as Windows does), so decoding never fails
// and a round trip keeps every byte.
std::string cp1252ToUtf8(std::string_view bytes);

// Encodes UTF-8 text as Windows-1252. Fails with ErrInvalidText naming the first character
// that Windows-1252 cannot hold, or on malformed UTF-8; nothing is ever replaced by "?".
Result<std::string> utf8ToCp1252(std::string_view text);

// True when utf8ToCp1252 would succeed.
bool fitsCp1252(std::string_view text);

// Length in characters (code points) of UTF-8 text; the on-disk length of text that fits.
std::size_t utf8Length(std::string_view text);

} // namespace qv
