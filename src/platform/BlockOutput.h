#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

namespace qv::platform {

// Hands the pieces a producer puts to `writeOut(data, size)` in blocks of a mebibyte, so that a script made of
// many small pieces takes few system calls; a piece larger than a block goes out on its own. The last call
// may be empty.
template <typename WriteOut>
void putInBlocks(const std::function<void(const std::function<void(std::string_view)>& put)>& produce,
                 WriteOut&& writeOut)
{
    constexpr std::size_t kBlock = std::size_t(1) << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBlock);
    std::size_t used = 0;
    produce([&](std::string_view piece) {
        if (used + piece.size() > kBlock) {
            writeOut(buffer.get(), used);
            used = 0;
            if (piece.size() > kBlock) {
                writeOut(piece.data(), piece.size());
                return;
            }
        }
        std::memcpy(buffer.get() + used, piece.data(), piece.size());
        used += piece.size();
    });
    writeOut(buffer.get(), used);
}

} // namespace qv::platform
