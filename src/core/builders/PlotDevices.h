#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class SettingsFile;

// Plot devices and plot style tables: installed printers and the CAD application's plotter
// configuration (".pc3") and plot style (".ctb"/".stb") files.

inline constexpr std::string_view kNetworkDevice = "Network"; // an installed printer
inline constexpr std::string_view kPc3Device = "PC3";         // a plotter configuration file

// One entry of the device list.
struct PlotDevice
{
    std::string type;   // kNetworkDevice or kPc3Device
    std::string name;   // the printer's name, or the file name with extension (no folder)
    std::string driver; // printers only
    std::string port;   // printers only

    // The paper names the printer reports, in the driver's order; empty for ".pc3" files and for
    // printers that report none.
    std::vector<std::string> paperNames;
};

// The CAD folder: the configured executable path cut after its last separator (one trailing separator
// removed first), so it ends with a separator. "" when the path holds no separator.
std::string cadFolder(std::string_view acadAddress);

// The folders the lists search: the "PC3_Loc"/"Style_Loc" setting when it names a folder, else the CAD
// folder's "Plotters" or "Plot Styles" subfolder. The result ends with a separator.
std::string plotterConfigFolder(const SettingsFile& ini);
std::string plotStyleFolder(const SettingsFile& ini);

// Search patterns of the two lists: plotterConfigFolder + "*.pc3", plotStyleFolder + "*." + extension.
std::string plotterConfigPattern(const SettingsFile& ini);
std::string plotStylePattern(const SettingsFile& ini, std::string_view extension);

// True when a location setting names a folder of its own (not "Unknown", "" or "<Default>").
bool isOwnPlotLocation(std::string_view stored);

// The names of the files matching a pattern of "*" wildcards in its last component (letter case is not
// significant, as on Windows), in name order. A missing or unreadable folder gives an empty list.
std::vector<std::string> listMatchingFiles(std::string_view pattern);

// A wildcard match of a file name, ignoring ASCII letter case.
bool matchesFilePattern(std::string_view name, std::string_view pattern);

// The device list's ".pc3" entries for the files of Pc3Folder, in listing order.
std::vector<PlotDevice> listPlotterConfigDevices(const SettingsFile& ini);

// What choosing a device does to "Plot to file".
enum class PlotToFileRule
{
    Keep,                    // enabled, its state kept
    DisableAndClear,         // the DWF configurations always write a file
    DisableClearAndPixels,   // the web raster configurations also switch the units to pixels
};
PlotToFileRule plotToFileRuleFor(std::string_view device);

// The device entry a name picks: the first whose name equals it exactly; nullptr when none does.
const PlotDevice* findDevice(const std::vector<PlotDevice>& devices, std::string_view name);

// The options dialog's location boxes: a stored "Unknown" or "" shows as "<Default>", anything else as
// it is; a box is written back only when its trimmed text is neither "" nor "<Default>".
std::string plotLocationShown(std::string_view stored);
bool isPlotLocationToSave(std::string_view text);

// The folder part of a chosen file, up to and including its last separator.
std::string folderOfChosenFile(std::string_view path);

} // namespace qv
