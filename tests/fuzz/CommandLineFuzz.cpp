// The Windows command-line split and the launch parameters: every argument quoted by quoteWindowsArgument
// splits back to itself, a split and re-quoted line splits the same, and the parameters built for the host
// split into the switch text's arguments, "/b" and the script path (unless the switch text is refused).
//
// Input: a command line, NUL, start option selector (first byte), NUL, switch text, NUL, script path, then
// NUL-separated arguments.

#include "FuzzSupport.h"
#include "batch/LaunchCommand.h"
#include "batch/WindowsCommandLine.h"

namespace {

using namespace qv::fuzz;

std::string quotedLine(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += ' ';
        line += qv::quoteWindowsArgument(argument);
    }
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fields fields(qv::fuzz::asText(data, size));

    // Any line: its arguments, each quoted and joined again, split the same.
    const std::string_view line = fields[0];
    const std::vector<std::string> arguments = qv::splitWindowsCommandLine(line);
    FUZZ_REQUIRE(qv::splitWindowsCommandLine(quotedLine(arguments)) == arguments,
                 visible(line) + " -> " + visibleList(arguments));
    // A line that leaves no quote open takes one more argument after a space as an argument of its own.
    if (!qv::endsInsideQuotes(line)) {
        std::vector<std::string> more = arguments;
        more.push_back("/b");
        FUZZ_REQUIRE(qv::splitWindowsCommandLine(std::string(line) + " /b") == more, visible(line));
    }

    // Arbitrary arguments (an empty one, quotes, backslashes, blanks) survive quoting and joining.
    std::vector<std::string> given;
    for (std::size_t i = 4; i < fields.size(); ++i)
        given.push_back(fields.text(i));
    const auto back = qv::splitWindowsCommandLine(quotedLine(given));
    FUZZ_REQUIRE(back == given, visibleList(given) + " -> " + visibleList(back));

    // The host's parameters.
    static constexpr std::string_view kOptions[] = {"YesSwitch", "NoSwitch", "Unknown", "yesswitch"};
    const std::string_view option = kOptions[fields.byte(1) % 4];
    const std::string_view switchText = fields[2];
    const std::string path = fields.text(3);
    const auto refusal = qv::checkSwitchText(option, switchText);
    const bool usesSwitch = option == "YesSwitch";
    FUZZ_REQUIRE(refusal.has_value() == (usesSwitch && qv::endsInsideQuotes(switchText)));
    if (!refusal) {
        std::vector<std::string> expected =
            usesSwitch ? qv::splitWindowsCommandLine(switchText) : std::vector<std::string>{};
        expected.push_back("/b");
        expected.push_back(path);
        const std::string parameters = qv::buildLaunchParameters(option, switchText, path);
        const auto split = qv::splitWindowsCommandLine(parameters);
        FUZZ_REQUIRE(split == expected,
                     visible(parameters) + " -> " + visibleList(split) + ", expected " + visibleList(expected));

        const qv::LaunchSettings settings{"acad.exe", "Normal", std::string(option), std::string(switchText)};
        FUZZ_REQUIRE(qv::buildLaunchRequest(settings, path).parameters == parameters);
    }
    return 0;
}
