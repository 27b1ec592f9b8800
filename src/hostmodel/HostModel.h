#pragma once

#include "HostFiles.h"
#include "Products.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::hostmodel {

// One line of the journal: what happened at a script line (0 for events not tied to a line), the current
// drawing ("-" when none is open) and the details.
struct HostEvent
{
    int line = 0;
    std::string event;
    std::string drawing;
    std::string detail;
    // For "error" and "warning": the entry that did not fit and the prompt the host was showing.
    std::string entry;
    std::string asking;
};

using EventSink = std::function<void(const HostEvent&)>;

// An output device the host knows: a plotter configuration ("DWF6 ePlot.pc3") or a system printer.
// An empty paper list takes any paper name.
struct Device
{
    std::string name;
    std::vector<std::string> papers;
};

// The devices every host knows: the file-output configurations and the system printer configuration.
std::vector<Device> standardDevices();

// Devices as "Name;Other=Paper A|Paper B": names separated by ';', a paper list after '='.
std::vector<Device> parseDevices(std::string_view text);

struct HostSetup
{
    Product product;
    std::vector<Device> devices; // added to the standard devices
    HostFiles* files = nullptr;  // nullptr: the disk through std::filesystem
    // For a check of real drawings, whose layouts, page setups, views and layers the model cannot see, and
    // devices it may not know: such a name is taken with a "warning" event instead of an error.
    bool trustNames = false;
    // Only what a check needs: no "prompt" and "answer" events.
    bool problemsOnly = false;
    // Asked before each script line (1-based) with the number of lines; false stops the run ("stopped").
    std::function<bool(std::size_t line, std::size_t lines)> keepGoing;
};

struct HostOutcome
{
    int status = 0;     // 0 when every entry fitted its prompt and every save succeeded, else 1
    int errors = 0;     // error events
    int unmodelled = 0; // command-prompt entries the model does not know
    int warnings = 0;   // names taken on trust
    bool stopped = false;
    // An error suspended the script: the host stopped reading it at that line and stays open with the drawing,
    // as a real host does until someone types RESUME.
    bool suspended = false;
    int suspendedLine = 0; // the script line of the error that suspended it
    // The host did not quit: the script ran out, or was suspended, and the host is still open, waiting.
    bool leftWaiting = false;
};

// Replays a script (Windows-1252 bytes) against the model of the host's command line, as the host would
// when started with "/b script", and reports every event to the sink. The last event is "exit"; its detail
// ends with " left waiting" when the host did not quit. An error that suspends the script is followed by a
// "suspended" event, after which nothing more of the script is read. A close or quit that throws changes
// away reports "discarded": "edits" when the drawing had changes beyond its view, else "view".
HostOutcome runHostScript(std::string_view scriptBytes, const HostSetup& setup, const EventSink& sink);

} // namespace qv::hostmodel
