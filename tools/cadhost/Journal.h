#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace cadhost {

// The record of a run: one line per event, "LINE<TAB>EVENT<TAB>DRAWING<TAB>DETAIL", UTF-8, LF line ends.
// Each line is flushed as it is written so that a crash still leaves everything up to it.
class Journal
{
public:
    Journal() = default;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;
    ~Journal();

    // Creates or truncates the file; on failure returns the system's description.
    bool open(const std::string& path, std::string& error);

    // Control characters in a field would break the line format; they are written as \xHH.
    void write(int line, std::string_view event, std::string_view drawing, std::string_view detail);

private:
    std::FILE* m_file = nullptr;
};

} // namespace cadhost
