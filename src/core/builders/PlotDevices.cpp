#include "builders/PlotDevices.h"

#include "config/Settings.h"
#include "config/SettingsFile.h"
#include "io/FileIo.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace qv {

namespace fs = std::filesystem;

namespace {

std::string endWithSeparator(std::string folder)
{
    if (!folder.empty() && !isPathSeparator(folder.back()))
        folder += pathSeparator();
    return folder;
}

// The setting's folder, or the CAD folder's subfolder when the setting names none. A folder typed
// without its final separator still names that folder rather than a file prefix in its parent.
std::string locationFolder(const std::string& stored, const SettingsFile& ini, std::string_view subfolder)
{
    if (isOwnPlotLocation(stored))
        return endWithSeparator(stored);
    return endWithSeparator(cadFolder(readCadExecutable(ini)) + std::string(subfolder));
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return lowerAscii(x) < lowerAscii(y); });
}

} // namespace

std::string cadFolder(std::string_view acadAddress)
{
    const std::string_view path = stripTrailingSeparator(acadAddress);
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isPathSeparator(path[i - 1]))
            return std::string(path.substr(0, i));
    }
    return {};
}

bool isOwnPlotLocation(std::string_view stored)
{
    return stored != kUnknown && !stored.empty() && stored != "<Default>";
}

std::string plotterConfigFolder(const SettingsFile& ini)
{
    return locationFolder(readPlotterConfigFolder(ini), ini, "Plotters");
}

std::string plotStyleFolder(const SettingsFile& ini)
{
    return locationFolder(readPlotStyleFolder(ini), ini, "Plot Styles");
}

std::string plotterConfigPattern(const SettingsFile& ini)
{
    return plotterConfigFolder(ini) + "*.pc3";
}

std::string plotStylePattern(const SettingsFile& ini, std::string_view extension)
{
    return plotStyleFolder(ini) + "*." + std::string(extension);
}

bool matchesFilePattern(std::string_view name, std::string_view pattern)
{
    // Iterative wildcard match with backtracking to the last "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> listMatchingFiles(std::string_view pattern)
{
    const auto [folder, namePattern] = splitAtLastSeparator(pattern);
    std::vector<std::string> names;
    std::error_code error;
    const fs::path root = pathFromUtf8(folder.empty() ? std::string(".") : folder + pathSeparator());
    if (root.empty())
        return names;
    fs::directory_iterator it(root, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const std::u8string name = it->path().filename().u8string();
        std::string utf8(name.begin(), name.end());
        if (matchesFilePattern(utf8, namePattern))
            names.push_back(std::move(utf8));
    }
    // Listing order of the folder as Windows gives it: by name, letter case aside.
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

std::vector<PlotDevice> listPlotterConfigDevices(const SettingsFile& ini)
{
    std::vector<PlotDevice> devices;
    for (std::string& name : listMatchingFiles(plotterConfigPattern(ini)))
        devices.push_back(PlotDevice{std::string(kPc3Device), std::move(name), {}, {}, {}});
    return devices;
}

PlotToFileRule plotToFileRuleFor(std::string_view device)
{
    static constexpr std::array<std::string_view, 5> kDwf = {
        "DWF ePlot.pc3", "DWF Classic.pc3", "DWF eView (optimized for viewing).pc3",
        "DWF ePlot (optimized for plotting).pc3", "DWF6 ePlot.pc3"};
    static constexpr std::array<std::string_view, 2> kWebRaster = {"PublishToWeb JPG.pc3",
                                                                   "PublishToWeb PNG.pc3"};
    const std::string_view name = trimSpaces(device);
    const auto is = [name](std::string_view known) { return equalsIgnoreCaseAscii(name, known); };
    if (std::any_of(kDwf.begin(), kDwf.end(), is))
        return PlotToFileRule::DisableAndClear;
    if (std::any_of(kWebRaster.begin(), kWebRaster.end(), is))
        return PlotToFileRule::DisableClearAndPixels;
    return PlotToFileRule::Keep;
}

const PlotDevice* findDevice(const std::vector<PlotDevice>& devices, std::string_view name)
{
    const auto it =
        std::find_if(devices.begin(), devices.end(), [name](const PlotDevice& d) { return d.name == name; });
    return it == devices.end() ? nullptr : &*it;
}

std::string plotLocationShown(std::string_view stored)
{
    if (stored == kUnknown || stored.empty())
        return "<Default>";
    return std::string(stored);
}

bool isPlotLocationToSave(std::string_view text)
{
    const std::string_view trimmed = trimSpaces(text);
    return !trimmed.empty() && trimmed != "<Default>";
}

std::string folderOfChosenFile(std::string_view path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isPathSeparator(path[i - 1]))
            return std::string(path.substr(0, i));
    }
    return {};
}

} // namespace qv
