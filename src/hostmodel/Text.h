#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::hostmodel {

// File names may be typed in double quotes (they must be when they hold spaces).
std::string stripQuotes(const std::string& entry);

// A real number as the host reads it: "12", "-1.5", ".5", "1e3".
std::optional<double> parseNumber(std::string_view text);
std::optional<long long> parseInteger(std::string_view text);

// "x,y" or "x,y,z", optionally relative ("@"); the coordinates.
std::optional<std::vector<double>> parsePoint(std::string_view entry);

// A distance as the host reads it in any unit format: "12", "1/4", "1'", "1'-6\"", "1'6-1/2\"", "3\"".
std::optional<double> parseDistance(std::string_view text);

// The folder of a path with its separator ("C:\\a\\" or "/a/"), and the name after it.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);
// The path with its extension (after the last '.' of the name) replaced.
std::string withExtension(const std::string& path, std::string_view extension);

} // namespace qv::hostmodel
