#include "PlotPrinter.h"

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

WorkerGuard& Guard()
{
    static WorkerGuard guard;
    return guard;
}

void CloseWorkers()
{
    WorkerGuard& guard = Guard();
    std::unique_lock lock(guard.mutex);
    guard.closed = true;
    guard.idle.wait_for(lock, std::chrono::seconds(3), [&guard] { return guard.running == 0; });
}

} // namespace

PlotDeviceList& PlotDeviceList::instance()
{
    static PlotDeviceList* list = [] {
        qAddPostRoutine(CloseWorkers);
        return new PlotDeviceList();
    }();
    return *list;
}

std::vector<clsPrinter> QueryInstalledPrinters()
{
    std::vector<clsPrinter> printers;
    const QList<QPrinterInfo> infos = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo& info : infos) {
        clsPrinter printer;
        printer.sPrinterType = std::string(kNetworkDevice);
        printer.sPrinterName = ToStd(info.printerName());
        printer.sPrinterDriver = ToStd(info.makeAndModel());
        printer.sPrinterPort = ToStd(info.location());
        for (const QPageSize& size : info.supportedPageSizes())
            printer.paperNames.push_back(ToStd(size.name()));
        printers.push_back(std::move(printer));
    }
    return printers;
}

void PlotDeviceList::BuildDeviceList(const clsIniControl& ini)
{
    const unsigned generation = ++m_generation;
    m_devices = ListPc3Devices(ini);
    m_printersKnown = false;
    emit changed();

    {
        std::lock_guard lock(Guard().mutex);
        if (Guard().closed)
            return;
        ++Guard().running;
    }
    std::thread([this, generation] {
        std::vector<clsPrinter> printers = QueryInstalledPrinters();
        WorkerGuard& guard = Guard();
        std::lock_guard lock(guard.mutex);
        if (!guard.closed) {
            QMetaObject::invokeMethod(
                this, [this, generation, printers = std::move(printers)]() mutable {
                    acceptPrinters(generation, std::move(printers));
                },
                Qt::QueuedConnection);
        }
        --guard.running;
        guard.idle.notify_all();
    }).detach();
}

void PlotDeviceList::acceptPrinters(unsigned generation, std::vector<clsPrinter> printers)
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

void PlotDeviceList::Release()
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

void FillPlotterList(QComboBox* list, const std::vector<clsPrinter>& devices, bool keepText)
{
    const QString typed = list->currentText();
    const QSignalBlocker blocker(list);
    list->clear();
    for (const clsPrinter& device : devices)
        list->addItem(ToQString(device.sPrinterName));
    list->setCurrentIndex(-1);
    list->setEditText(keepText && !typed.isEmpty() ? typed : QStringLiteral("Select Plotter"));
}

DevicePapers PapersForDevice(const std::vector<clsPrinter>& devices, const std::string& name)
{
    DevicePapers result;
    for (const clsPrinter& device : devices) {
        if (device.sPrinterName != name)
            continue;
        if (device.sPrinterType != kNetworkDevice) {
            result.isPc3 = true;
            return result;
        }
        if (device.paperNames.empty())
            continue; // a printer reporting no papers: the walk goes on
        result.printerFound = true;
        for (const std::string& paper : device.paperNames) {
            if (!TrimSpaces(paper).empty())
                result.names.push_back(paper);
        }
        return result;
    }
    return result;
}

QString ShowOpenDialog(UserDialogs& dialogs, const QString& title, const QString& filter, const QString& folder)
{
    const QStringList chosen = dialogs.openFileNames(title, filter, folder, false);
    if (chosen.isEmpty())
        return {};
    return QFileInfo(chosen.front()).fileName();
}

QString GetPlotterBrowse(UserDialogs& dialogs, const clsIniControl& ini)
{
    return ShowOpenDialog(dialogs, QStringLiteral("Select Plotter Configuration File"),
                          QStringLiteral("Plotter Configuration File (*.pc3)|*.pc3"),
                          ToQString(CadFolder(GetAcadAddress(ini)) + "Plotters"));
}

QString GetStyleTableBrowse(UserDialogs& dialogs, const clsIniControl& ini, bool colourDependent)
{
    const QString filter = colourDependent
        ? QStringLiteral("Color Dependent Plot Style (*.ctb)|*.ctb|Named Plot Style (*.stb)|*.stb")
        : QStringLiteral("Named Plot Style (*.stb)|*.stb|Color Dependent Plot Style (*.ctb)|*.ctb");
    return ShowOpenDialog(dialogs, QStringLiteral("Select Plot Style Table"), filter,
                          ToQString(CadFolder(GetAcadAddress(ini)) + "Plot Styles"));
}

QStringList StyleTableNames(const clsIniControl& ini, const QString& extension)
{
    QStringList names;
    for (const std::string& name : ListMatchingFiles(GetStylePattern(ini, ToStd(extension))))
        names.append(ToQString(name));
    return names;
}

} // namespace qv
