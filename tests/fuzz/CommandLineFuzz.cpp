// The Windows command-line split and the launch parameters: every argument quoted by QuoteWindowsArgument
// splits back to itself, a split and re-quoted line splits the same, and the parameters built for the host
// split into the switch text's arguments, "/b" and the script path (unless the switch text is refused).
//
// Input: a command line, NUL, start option selector (first byte), NUL, switch text, NUL, script path, then
// NUL-separated arguments.

#include "FuzzSupport.h"
#include "batch/LaunchCommand.h"
#include "batch/WindowsCommandLine.h"

namespace {

using qv::fuzz::Fields;
using qv::fuzz::Visible;

std::string Show(const std::vector<std::string>& arguments)
{
    std::string out;
    for (const std::string& argument : arguments)
        out += "[" + Visible(argument) + "]";
    return out;
}

std::string QuotedLine(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += ' ';
        line += qv::QuoteWindowsArgument(argument);
    }
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fields fields(qv::fuzz::AsText(data, size));

    // Any line: its arguments, each quoted and joined again, split the same.
    const std::string_view line = fields[0];
    const std::vector<std::string> arguments = qv::SplitWindowsCommandLine(line);
    FUZZ_REQUIRE(qv::SplitWindowsCommandLine(QuotedLine(arguments)) == arguments, Visible(line) + " -> " + Show(arguments));
    // A line that leaves no quote open takes one more argument after a space as an argument of its own.
    if (!qv::EndsInsideQuotes(line)) {
        std::vector<std::string> more = arguments;
        more.push_back("/b");
        FUZZ_REQUIRE(qv::SplitWindowsCommandLine(std::string(line) + " /b") == more, Visible(line));
    }

    // Arbitrary arguments (an empty one, quotes, backslashes, blanks) survive quoting, alone and together.
    std::vector<std::string> given;
    for (std::size_t i = 4; i < fields.size(); ++i)
        given.push_back(fields.text(i));
    for (const std::string& argument : given) {
        const auto split = qv::SplitWindowsCommandLine(qv::QuoteWindowsArgument(argument));
        FUZZ_REQUIRE(split == std::vector<std::string>{argument}, Visible(argument) + " -> " + Show(split));
    }
    FUZZ_REQUIRE(qv::SplitWindowsCommandLine(QuotedLine(given)) == given, Show(given));

    // The host's parameters.
    static constexpr std::string_view kOptions[] = {"YesSwitch", "NoSwitch", "Unknown", "yesswitch"};
    const std::string_view option = kOptions[fields.byte(1) % 4];
    const std::string_view switchText = fields[2];
    const std::string path = fields.text(3);
    const auto refusal = qv::CheckSwitchText(option, switchText);
    const bool usesSwitch = option == "YesSwitch";
    FUZZ_REQUIRE(refusal.has_value() == (usesSwitch && qv::EndsInsideQuotes(switchText)));
    if (!refusal) {
        std::vector<std::string> expected = usesSwitch ? qv::SplitWindowsCommandLine(switchText)
                                                       : std::vector<std::string>{};
        expected.push_back("/b");
        expected.push_back(path);
        const std::string parameters = qv::BuildLaunchParameters(option, switchText, path);
        const auto split = qv::SplitWindowsCommandLine(parameters);
        FUZZ_REQUIRE(split == expected, Visible(parameters) + " -> " + Show(split) + ", expected " + Show(expected));

        const qv::LaunchSettings settings{"acad.exe", "Normal", std::string(option), std::string(switchText)};
        FUZZ_REQUIRE(qv::BuildLaunchRequest(settings, path).parameters == parameters);
    }
    return 0;
}
