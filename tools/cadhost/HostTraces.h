#pragma once

#include "HostModel.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadhost {

// A fault a drawing asks the stand-in host to act out, from "fault=..." on its CADHOST line.
struct Fault
{
    enum class Kind
    {
        None,
        Crash, // the host ends abnormally as soon as the drawing is open
        Hang,  // the host stops reading its script with the drawing open
        Slow,  // the host takes `seconds` to open the drawing
    };
    Kind kind = Kind::None;
    double seconds = 0.0;
};

// The fault on a drawing's first line; nullopt (and what is wrong in `problem`) for a value it does not know.
std::optional<Fault> parseFault(std::string_view firstLine, std::string& problem);

// What a real host leaves on disk beside its work, modelled from the events of the host model: the lock file
// beside each drawing it has open for writing ("NAME.dwl", removed at close, left behind by a crash) and the
// command-line log ("NAME.log" per drawing in the log folder) while the log is on. It also acts out the faults
// the drawings ask for.
class HostTraces
{
public:
    struct Setup
    {
        std::string logFolder; // LOGFILEPATH
        bool logOn = false;    // LOGFILEMODE: the log is kept from the start
    };

    HostTraces(Setup setup, const qv::hostmodel::HostFiles& files);

    // Follows one event, after the journal has it. Returns a problem to journal as an error, if any.
    std::string observe(const qv::hostmodel::HostEvent& event);

private:
    struct OpenDrawing
    {
        std::string name;
        std::string lock; // empty: no lock file (the start-up drawing, a drawing open read-only)
    };

    void lock(OpenDrawing& drawing, const std::string& path);
    void logLine(const std::string& drawing, std::string_view text);
    std::string actOut(const std::string& path);

    Setup m_setup;
    const qv::hostmodel::HostFiles& m_files;
    std::vector<OpenDrawing> m_open;
    std::string m_prompt; // the prompt text that the next answer follows
};

} // namespace cadhost
