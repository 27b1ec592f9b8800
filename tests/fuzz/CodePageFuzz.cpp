// The code page conversion: every Windows-1252 byte string survives the trip to UTF-8 and back, and UTF-8 is
// refused only when it holds a character that no Windows-1252 byte stands for (or is not UTF-8 at all).
//
// Input: any bytes, taken once as Windows-1252 and once as UTF-8.

#include "FuzzSupport.h"
#include "text/CodePage.h"

#include <array>

namespace {

using qv::fuzz::visible;

// The UTF-8 form of each of the 256 bytes, from the decoder alone.
const std::array<std::string, 256>& decodedBytes()
{
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        for (int b = 0; b < 256; ++b)
            t[b] = qv::cp1252ToUtf8(std::string(1, static_cast<char>(b)));
        return t;
    }();
    return table;
}

// True when the text is a sequence of decoded bytes, found without the encoder: UTF-8 is prefix-free, so at
// each position at most one byte's form can match.
bool isDecodedText(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        bool matched = false;
        for (const std::string& form : decodedBytes()) {
            if (text.substr(pos).starts_with(form)) {
                pos += form.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = qv::fuzz::asText(data, size);

    // Bytes -> UTF-8 -> bytes gives back every byte; the length in characters is the number of bytes.
    const std::string utf8 = qv::cp1252ToUtf8(bytes);
    const auto back = qv::utf8ToCp1252(utf8);
    FUZZ_REQUIRE(back.ok(), back.error().description);
    FUZZ_REQUIRE(back.value() == bytes, visible(bytes) + " came back as " + visible(back.value()));
    FUZZ_REQUIRE(qv::fitsCp1252(utf8));
    FUZZ_REQUIRE(qv::utf8Length(utf8) == bytes.size());

    // The same bytes as UTF-8: encoded exactly when they are decoded text, and then they decode back.
    const auto encoded = qv::utf8ToCp1252(bytes);
    FUZZ_REQUIRE(encoded.ok() == qv::fitsCp1252(bytes));
    FUZZ_REQUIRE(encoded.ok() == isDecodedText(bytes), visible(bytes));
    if (encoded.ok()) {
        FUZZ_REQUIRE(qv::cp1252ToUtf8(encoded.value()) == bytes, visible(bytes));
        FUZZ_REQUIRE(qv::utf8Length(bytes) == encoded.value().size());
    } else {
        FUZZ_REQUIRE(encoded.error().number == qv::ErrInvalidText);
    }
    return 0;
}
