#pragma once

#include "builders/PlotDevices.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QComboBox;

namespace qv {

class SettingsFile;
class UserDialogs;

// The program-wide device list: the installed printers (with the paper names each reports) followed by
// the plotter configuration files. The routine editor builds it when it opens and releases it when the
// user goes back to the main window.
//
// The ".pc3" files are listed at once. The printers are asked for on a worker thread, because a print
// system that is down or slow can take many seconds to answer, and the editor must stay usable in the
// meantime; `changed` tells the lists to refill when they arrive.
class PlotDeviceList final : public QObject
{
    Q_OBJECT

public:
    static PlotDeviceList& instance();

    // Lists the ".pc3" files now and starts asking the print system for its printers.
    void build(const SettingsFile& ini);
    // Empties the list; an answer still on its way is dropped.
    void release();

    const std::vector<PlotDevice>& devices() const { return m_devices; }
    // False while the print system has not answered yet.
    bool printersKnown() const { return m_printersKnown; }
    // Runs the event loop until the printers are known or the time is up; for tests and tools.
    bool waitForPrinters(int milliseconds);

signals:
    void changed();

private:
    PlotDeviceList() = default;
    void acceptPrinters(unsigned generation, std::vector<PlotDevice> printers);

    std::vector<PlotDevice> m_devices;
    bool m_printersKnown = false;
    unsigned m_generation = 0;
};

// The installed printers as the print system reports them, each with its paper names. Blocking: runs on
// the worker thread.
std::vector<PlotDevice> queryInstalledPrinters();

// Fills a device drop-down with every entry's name in list order and shows "Select Plotter". A refill
// when the printers arrive keeps the text the user has already chosen or typed.
void fillDeviceCombo(QComboBox* list, const std::vector<PlotDevice>& devices, bool keepText = false);

// What the paper controls follow for the device named in the drop-down: the list is walked in order to
// the first entry of exactly that name; a ".pc3" entry ends the walk, as does a printer reporting papers
// (its names, blank ones left out, in the driver's order); a printer reporting none lets the walk go on.
struct DevicePapers
{
    bool isPc3 = false;        // the walk ended at a configuration file
    bool printerFound = false; // the walk ended at a printer reporting papers
    std::vector<std::string> names;
};
DevicePapers papersForDevice(const std::vector<PlotDevice>& devices, const std::string& name);

// The file-open dialog of the device and style browses: the chosen file's name without its folder, or
// "" on Cancel.
QString pickFileName(UserDialogs& dialogs, const QString& title, const QString& filter, const QString& folder);

// A ".pc3" file chosen from the CAD folder's "Plotters" folder, or "".
QString pickPlotterFile(UserDialogs& dialogs, const SettingsFile& ini);

// A plot style table chosen from the CAD folder's "Plot Styles" folder, or ""; the colour-dependent
// filter comes first when `colourDependent`.
QString pickStyleTableFile(UserDialogs& dialogs, const SettingsFile& ini, bool colourDependent);

// The names of the ".ctb" or ".stb" files of the plot style folder, in listing order.
QStringList styleTableNames(const SettingsFile& ini, const QString& extension);

} // namespace qv
