#pragma once

#include "HostModel.h"
#include "Windows1252.h"

#include <algorithm>
#include <string>
#include <vector>

namespace testsupport {

// Script lines as a host reads them: Windows-1252 bytes, each line ended by CR LF.
inline std::string hostScript(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += toWindows1252(line) + "\r\n";
    return text;
}

// The events of one host run in journal order, as the host model reports them and the stand-in host journals
// them, and what the tests read from them.
struct HostEvents
{
    std::vector<qv::hostmodel::HostEvent> events;

    // "event:detail" of the events whose name is in the list.
    std::vector<std::string> trace(const std::vector<std::string>& names) const
    {
        std::vector<std::string> found;
        for (const qv::hostmodel::HostEvent& e : events) {
            if (std::find(names.begin(), names.end(), e.event) != names.end())
                found.push_back(e.event + ":" + e.detail);
        }
        return found;
    }
    int firstErrorLine() const
    {
        const auto error = std::find_if(events.begin(), events.end(), [](const auto& e) { return e.event == "error"; });
        return error == events.end() ? -1 : error->line;
    }
    // The errors one a line, for a failure's message.
    std::string errors() const
    {
        std::string text;
        for (const std::string& error : trace({"error"}))
            text += error + "\n";
        return text;
    }
};

} // namespace testsupport
