#pragma once

#include "Result.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qv::platform {

// How a file that may be a stream is read: at most `limit` bytes, and how long a named pipe may wait for
// a program to start writing into it.
struct StreamLimits
{
    std::size_t limit = std::size_t(1) << 30;
    std::chrono::milliseconds writerWait{10000};
};

// Reads the file once, from its start to its end, handing the bytes to `block` a block at a time: a
// regular file, or a pipe (`<(...)`, /dev/stdin fed by a pipe, a named pipe), which can be read only once.
// Anything else is refused with an error that names the file and says what it is: a device (/dev/zero, a
// terminal), a socket, a folder. A named pipe that no program opens for writing within `writerWait` is
// refused too, and so is a file or stream longer than `limit`. A missing file is ErrFileNotFound.
Status readStreamInBlocks(const std::string& path, const StreamLimits& limits,
                          const std::function<void(std::string_view block)>& block);

} // namespace qv::platform
