#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Splits a parameter string into arguments the way a Windows program's C runtime does
// (CommandLineToArgvW with the current CRT rules), so a host started without a shell receives the
// same arguments it would on Windows:
// - arguments are separated by spaces and tabs outside double quotes;
// - a double quote starts or ends a quoted part; inside one, "" is a literal quote;
// - 2n backslashes before a quote give n backslashes and the quote delimits; 2n+1 give n backslashes
//   and a literal quote; backslashes not before a quote are literal.
// The string holds arguments only: the first is not treated as a program name.
std::vector<std::string> splitWindowsCommandLine(std::string_view commandLine);

// True when the text, split by those rules, ends inside a quoted part: anything appended to it would
// join its last argument.
bool endsInsideQuotes(std::string_view commandLine);

// One argument in double quotes, so that splitWindowsCommandLine gives it back unchanged: a quote is
// escaped with a backslash, and backslashes before a quote (or before the closing one) are doubled.
// Other backslashes stay single, so a Windows path reads as it always has.
std::string quoteWindowsArgument(std::string_view argument);

} // namespace qv
