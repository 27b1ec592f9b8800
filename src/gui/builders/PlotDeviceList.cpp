#include "PlotDeviceList.h"

#include "app/Program.h"
#include "app/UserDialogs.h"
#include "config/Settings.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinterInfo>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace qv {

namespace {

// The workers' way back to the list. When the application ends, answers still on their way are dropped,
// and the end waits a little for running workers so none is left inside the print system's library as
// the application unloads it.
struct WorkerGuard
{
    std::mutex mutex;
    std::condition_variable idle;
    bool closed = false;
    int running = 0;
};

WorkerGuard& workerGuard()
{
    static WorkerGuard guard;
    return guard;
}

void closeWorkers()
{
    WorkerGuard& guard = workerGuard();
    std::unique_lock lock(guard.mutex);
    guard.closed = true;
    guard.idle.wait_for(lock, std::chrono::seconds(3), [&guard] { return guard.running == 0; });
}

} // namespace

PlotDeviceList& PlotDeviceList::instance()
{
    static PlotDeviceList* list = [] {
        qAddPostRoutine(closeWorkers);
        return new PlotDeviceList();
    }();
    return *list;
}

std::vector<PlotDevice> queryInstalledPrinters()
{
    std::vector<PlotDevice> printers;
    const QList<QPrinterInfo> infos = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo& info : infos) {
        PlotDevice printer;
        printer.type = std::string(kNetworkDevice);
        printer.name = toStd(info.printerName());
        printer.driver = toStd(info.makeAndModel());
        printer.port = toStd(info.location());
        for (const QPageSize& size : info.supportedPageSizes())
            printer.paperNames.push_back(toStd(size.name()));
        printers.push_back(std::move(printer));
    }
    return printers;
}

void PlotDeviceList::build(const SettingsFile& ini)
{
    const unsigned generation = ++m_generation;
    m_devices = listPlotterConfigDevices(ini);
    m_printersKnown = false;
    emit changed();

    {
        std::lock_guard lock(workerGuard().mutex);
        if (workerGuard().closed)
            return;
        ++workerGuard().running;
    }
    std::thread([this, generation] {
        std::vector<PlotDevice> printers = queryInstalledPrinters();
        WorkerGuard& guard = workerGuard();
        std::lock_guard lock(guard.mutex);
        if (!guard.closed) {
            QMetaObject::invokeMethod(
                this,
                [this, generation, printers = std::move(printers)]() mutable {
                    acceptPrinters(generation, std::move(printers));
                },
                Qt::QueuedConnection);
        }
        --guard.running;
        guard.idle.notify_all();
    }).detach();
}

void PlotDeviceList::acceptPrinters(unsigned generation, std::vector<PlotDevice> printers)
{
    if (generation != m_generation)
        return; // released or rebuilt since this question was asked
    // Printers first, in the print system's order, then the configuration files.
    printers.insert(printers.end(), std::make_move_iterator(m_devices.begin()),
                    std::make_move_iterator(m_devices.end()));
    m_devices = std::move(printers);
    m_printersKnown = true;
    emit changed();
}

void PlotDeviceList::release()
{
    ++m_generation;
    m_devices.clear();
    m_printersKnown = false;
    emit changed();
}

bool PlotDeviceList::waitForPrinters(int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!m_printersKnown && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return m_printersKnown;
}

void fillDeviceCombo(QComboBox* list, const std::vector<PlotDevice>& devices, bool keepText)
{
    const QString typed = list->currentText();
    const QSignalBlocker blocker(list);
    list->clear();
    for (const PlotDevice& device : devices)
        list->addItem(toQString(device.name));
    list->setCurrentIndex(-1);
    list->setEditText(keepText && !typed.isEmpty() ? typed : QStringLiteral("Select Plotter"));
}

DevicePapers papersForDevice(const std::vector<PlotDevice>& devices, const std::string& name)
{
    DevicePapers result;
    for (const PlotDevice& device : devices) {
        if (device.name != name)
            continue;
        if (device.type != kNetworkDevice) {
            result.isPc3 = true;
            return result;
        }
        if (device.paperNames.empty())
            continue; // a printer reporting no papers: the walk goes on
        result.printerFound = true;
        for (const std::string& paper : device.paperNames) {
            if (!trimSpaces(paper).empty())
                result.names.push_back(paper);
        }
        return result;
    }
    return result;
}

QString pickFileName(UserDialogs& dialogs, const QString& title, const QString& filter, const QString& folder)
{
    const QStringList chosen = dialogs.openFileNames(title, filter, folder, false);
    if (chosen.isEmpty())
        return {};
    return QFileInfo(chosen.front()).fileName();
}

QString pickPlotterFile(UserDialogs& dialogs, const SettingsFile& ini)
{
    return pickFileName(dialogs, QStringLiteral("Select Plotter Configuration File"),
                        QStringLiteral("Plotter Configuration File (*.pc3)|*.pc3"),
                        toQString(cadFolder(readCadExecutable(ini)) + "Plotters"));
}

QString pickStyleTableFile(UserDialogs& dialogs, const SettingsFile& ini, bool colourDependent)
{
    const QString filter =
        colourDependent ? QStringLiteral("Color Dependent Plot Style (*.ctb)|*.ctb|Named Plot Style (*.stb)|*.stb")
                        : QStringLiteral("Named Plot Style (*.stb)|*.stb|Color Dependent Plot Style (*.ctb)|*.ctb");
    return pickFileName(dialogs, QStringLiteral("Select Plot Style Table"), filter,
                        toQString(cadFolder(readCadExecutable(ini)) + "Plot Styles"));
}

QStringList styleTableNames(const SettingsFile& ini, const QString& extension)
{
    QStringList names;
    for (const std::string& name : listMatchingFiles(plotStylePattern(ini, toStd(extension))))
        names.append(toQString(name));
    return names;
}

} // namespace qv
