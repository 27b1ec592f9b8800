#include "builders/PlotDevices.h"

#include "config/Settings.h"
#include "config/clsIniControl.h"
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

std::string EndWithSeparator(std::string folder)
{
    if (!folder.empty() && !IsPathSeparator(folder.back()))
        folder += PathSeparator();
    return folder;
}

// The setting's folder, or the CAD folder's subfolder when the setting names none. A folder typed
// without its final separator still names that folder rather than a file prefix in its parent.
std::string LocationFolder(const std::string& stored, const clsIniControl& ini, std::string_view subfolder)
{
    if (IsOwnPlotLocation(stored))
        return EndWithSeparator(stored);
    return EndWithSeparator(CadFolder(GetAcadAddress(ini)) + std::string(subfolder));
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
}

} // namespace

std::string CadFolder(std::string_view acadAddress)
{
    const std::string_view path = StripTrailingSeparator(acadAddress);
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1]))
            return std::string(path.substr(0, i));
    }
    return {};
}

bool IsOwnPlotLocation(std::string_view stored)
{
    return stored != kUnknown && !stored.empty() && stored != "<Default>";
}

std::string Pc3Folder(const clsIniControl& ini)
{
    return LocationFolder(GetPc3Location(ini), ini, "Plotters");
}

std::string StyleFolder(const clsIniControl& ini)
{
    return LocationFolder(GetStyleLocation(ini), ini, "Plot Styles");
}

std::string GetPc3Pattern(const clsIniControl& ini)
{
    return Pc3Folder(ini) + "*.pc3";
}

std::string GetStylePattern(const clsIniControl& ini, std::string_view extension)
{
    return StyleFolder(ini) + "*." + std::string(extension);
}

bool MatchesFilePattern(std::string_view name, std::string_view pattern)
{
    // Iterative wildcard match with backtracking to the last "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
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

std::vector<std::string> ListMatchingFiles(std::string_view pattern)
{
    const auto [folder, namePattern] = SplitAtLastSeparator(pattern);
    std::vector<std::string> names;
    std::error_code error;
    const fs::path root = PathFromUtf8(folder.empty() ? std::string(".") : folder + PathSeparator());
    if (root.empty())
        return names;
    fs::directory_iterator it(root, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const std::u8string name = it->path().filename().u8string();
        std::string utf8(name.begin(), name.end());
        if (MatchesFilePattern(utf8, namePattern))
            names.push_back(std::move(utf8));
    }
    // Listing order of the folder as Windows gives it: by name, letter case aside.
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

std::vector<clsPrinter> ListPc3Devices(const clsIniControl& ini)
{
    std::vector<clsPrinter> devices;
    for (std::string& name : ListMatchingFiles(GetPc3Pattern(ini)))
        devices.push_back(clsPrinter{std::string(kPc3Device), std::move(name), {}, {}, {}});
    return devices;
}

PlotToFileRule PlotToFileRuleFor(std::string_view device)
{
    static constexpr std::array<std::string_view, 5> kDwf = {
        "DWF ePlot.pc3", "DWF Classic.pc3", "DWF eView (optimized for viewing).pc3",
        "DWF ePlot (optimized for plotting).pc3", "DWF6 ePlot.pc3"};
    static constexpr std::array<std::string_view, 2> kWebRaster = {"PublishToWeb JPG.pc3",
                                                                   "PublishToWeb PNG.pc3"};
    const std::string_view name = TrimSpaces(device);
    const auto is = [name](std::string_view known) { return EqualsIgnoreCaseAscii(name, known); };
    if (std::any_of(kDwf.begin(), kDwf.end(), is))
        return PlotToFileRule::DisableAndClear;
    if (std::any_of(kWebRaster.begin(), kWebRaster.end(), is))
        return PlotToFileRule::DisableClearAndPixels;
    return PlotToFileRule::Keep;
}

const clsPrinter* FindDevice(const std::vector<clsPrinter>& devices, std::string_view name)
{
    const auto it = std::find_if(devices.begin(), devices.end(),
                                 [name](const clsPrinter& d) { return d.sPrinterName == name; });
    return it == devices.end() ? nullptr : &*it;
}

std::string PlotLocationShown(std::string_view stored)
{
    if (stored == kUnknown || stored.empty())
        return "<Default>";
    return std::string(stored);
}

bool IsPlotLocationToSave(std::string_view text)
{
    const std::string_view trimmed = TrimSpaces(text);
    return !trimmed.empty() && trimmed != "<Default>";
}

std::string FolderOfChosenFile(std::string_view path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1]))
            return std::string(path.substr(0, i));
    }
    return {};
}

} // namespace qv
