// cadhost: a stand-in for a CAD host started as "cadhost [switches] /b <script>". It replays the script
// against a model of the host's command-line prompts and journals what happened to each drawing.

#include "HostModel.h"
#include "HostTraces.h"
#include "Journal.h"
#include "System.h"

#include <charconv>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr int kExitArguments = 2;
// The script ran without an error but the host did not quit: a real host would still be open, waiting.
constexpr int kExitLeftWaiting = 3;

struct Options
{
    std::string script;
    std::string journal;
    qv::hostmodel::Product product;
    std::vector<qv::hostmodel::Device> devices;
    std::vector<std::string> switches;
    int holdMs = 0;
    int startMs = 0;       // a real host's start-up: nothing is opened before it is over
    std::string logFolder; // LOGFILEPATH: where the command-line logs go
    bool logOn = false;    // LOGFILEMODE 1: the log is kept from the start, without LOGFILEON
};

using cadhost::environment;
using cadhost::HostTraces;

bool startsWith(const std::string& text, std::string_view prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Returns the options, or nullopt after telling on stderr what is wrong.
std::optional<Options> parseArguments(const std::vector<std::string>& args)
{
    Options options;
    std::string productCode = environment("CADHOST_PRODUCT");
    options.journal = environment("CADHOST_JOURNAL");
    bool haveScript = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (startsWith(arg, "--product=")) {
            productCode = arg.substr(10);
        } else if (startsWith(arg, "--journal=")) {
            options.journal = arg.substr(10);
        } else if (arg == "/b" || arg == "/B" || arg == "-b" || arg == "-B") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                std::cerr << "cadhost: " << arg << " must be followed by the script path\n";
                return std::nullopt;
            }
            if (haveScript) {
                std::cerr << "cadhost: only one script may be given\n";
                return std::nullopt;
            }
            options.script = args[++i];
            haveScript = true;
        } else {
            // Real hosts take more switches (a profile, no logo, ...); they do not change the script run.
            options.switches.push_back(arg);
        }
    }
    if (!haveScript) {
        std::cerr << "usage: cadhost [--product=CODE] [--journal=PATH] [switches] /b <script>\n";
        return std::nullopt;
    }
    const std::optional<qv::hostmodel::Product> product =
        qv::hostmodel::findProduct(productCode.empty() ? "Cad2018" : productCode);
    if (!product) {
        std::cerr << "cadhost: unknown product code \"" << productCode << "\"; known: " << qv::hostmodel::productCodes()
                  << "\n";
        return std::nullopt;
    }
    options.product = *product;
    options.devices = qv::hostmodel::parseDevices(environment("CADHOST_DEVICES"));
    if (options.journal.empty()) {
        options.journal = options.script + ".journal";
    }
    options.logFolder = environment("CADHOST_LOGFILEPATH");
    if (options.logFolder.empty()) {
        const std::size_t separator = options.script.find_last_of("/\\");
        options.logFolder = separator == std::string::npos ? "." : options.script.substr(0, separator);
    }
    options.logOn = environment("CADHOST_LOGFILEMODE") == "1";
    for (const auto& [name, value] :
         {std::pair{"CADHOST_HOLD_MS", &options.holdMs}, {"CADHOST_START_MS", &options.startMs}}) {
        const std::string text = environment(name);
        if (text.empty())
            continue;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
        if (error != std::errc() || end != text.data() + text.size() || *value < 0) {
            std::cerr << "cadhost: " << name << " must be a number of milliseconds\n";
            return std::nullopt;
        }
    }
    return options;
}

// The disk as the model sees it, with the system's own answer to whether this process may write a file.
class SystemFiles final : public qv::hostmodel::HostFiles
{
public:
    bool isWritable(const std::string& path) const override
    {
        return HostFiles::isWritable(path) && cadhost::systemAllowsWrite(path);
    }
};

// Journals a failure to read the script and ends the run as an argument error.
int scriptUnreadable(cadhost::Journal& journal, const std::string& detail)
{
    std::cerr << "cadhost: " << detail << "\n";
    journal.write(0, "error", "-", detail);
    journal.write(0, "exit", "-", std::to_string(kExitArguments));
    return kExitArguments;
}

} // namespace

int main(int argc, char** argv)
{
    const std::optional<Options> options = parseArguments(cadhost::arguments(argc, argv));
    if (!options) {
        return kExitArguments;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(options->startMs));
    cadhost::Journal journal;
    std::string journalError;
    if (!journal.open(options->journal, journalError)) {
        std::cerr << "cadhost: cannot write the journal " << options->journal << ": " << journalError << "\n";
        return kExitArguments;
    }
    journal.write(0, "start", "Drawing1.dwg", "product=" + options->product.code + " script=" + options->script);
    for (const std::string& arg : options->switches) {
        journal.write(0, "switch", "-", arg);
    }

    // Held as a running host holds its script, so that Quorvel writes its next script beside it.
    cadhost::HeldScript script;
    std::string bytes;
    std::string error;
    if (!script.open(options->script, error)) {
        return scriptUnreadable(journal, error);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(options->holdMs));
    if (!script.readAll(bytes, error)) {
        return scriptUnreadable(journal, error);
    }

    SystemFiles files;
    qv::hostmodel::HostSetup setup;
    setup.product = options->product;
    setup.devices = options->devices;
    setup.files = &files;
    HostTraces traces({options->logFolder, options->logOn}, files);
    bool traceError = false;
    const qv::hostmodel::HostOutcome outcome =
        qv::hostmodel::runHostScript(bytes, setup, [&](const qv::hostmodel::HostEvent& event) {
            journal.write(event.line, event.event, event.drawing, event.detail);
            const std::string problem = traces.observe(event);
            if (!problem.empty()) {
                journal.write(event.line, "error", event.drawing, problem);
                traceError = true;
            }
        });
    if (outcome.status == 0 && traceError) {
        return 1;
    }
    if (outcome.status == 0 && outcome.leftWaiting) {
        return kExitLeftWaiting;
    }
    return outcome.status;
}
