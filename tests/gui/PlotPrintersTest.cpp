// The device list against a real print system: a private CUPS scheduler of the test's own, started by
// the "cups" fixture with two queues of the sample PCL driver (CUPS_SERVER points at its socket).
#include "builders/DetailedPlotTab.h"
#include "builders/PlotPrinter.h"
#include "support/GuiTestSupport.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

using namespace qv;
using namespace qv::test;

class PlotPrintersTest final : public QObject
{
    Q_OBJECT

private slots:
    void printersComeFirstWithTheirPapers();
    void choosingAPrinterOffersItsOwnPapers();
};

namespace {

const char* kOffice = "Quorvel_Office";
const char* kPlans = "Quorvel_Plans";

// A CAD folder with two plotter files, the printers' list built and answered.
void BuildDevices(const GuiEnvironment& env)
{
    QVERIFY2(qEnvironmentVariableIsSet("CUPS_SERVER"), "the cups fixture sets CUPS_SERVER");
    QDir(env.folder()).mkpath(QStringLiteral("cad/Plotters"));
    for (const char* name : {"DWG To PDF.pc3", "A Plotter.pc3"})
        QFile(env.file(QStringLiteral("cad/Plotters/") + QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    QVERIFY(Program().ini.WriteValue("Acad_Address", "AcadAddress", env.file(QStringLiteral("cad/acad.exe")).toStdString()).ok());
    QVERIFY(Program().ini.WriteValue("Cad_Ver", "CadVer", "Cad2018").ok());
    PlotDeviceList::instance().BuildDeviceList(Program().ini);
    QVERIFY(PlotDeviceList::instance().waitForPrinters(30000));
}

} // namespace

void PlotPrintersTest::printersComeFirstWithTheirPapers()
{
    GuiEnvironment env;
    BuildDevices(env);
    const std::vector<clsPrinter>& devices = PlotDeviceList::instance().devices();
    std::vector<std::string> names;
    for (const clsPrinter& device : devices)
        names.push_back(device.sPrinterType + ":" + device.sPrinterName);
    const std::vector<std::string> expected = {std::string("Network:") + kOffice, std::string("Network:") + kPlans,
                                               "PC3:A Plotter.pc3", "PC3:DWG To PDF.pc3"};
    QCOMPARE(names, expected);
    const clsPrinter& office = devices.front();
    QCOMPARE(office.sPrinterPort, std::string("Second floor"));
    QVERIFY(!office.sPrinterDriver.empty());
    QCOMPARE(office.paperNames.size(), std::size_t(13));
    QVERIFY(std::find(office.paperNames.begin(), office.paperNames.end(), "A4") != office.paperNames.end());
    PlotDeviceList::instance().Release();
}

void PlotPrintersTest::choosingAPrinterOffersItsOwnPapers()
{
    GuiEnvironment env;
    BuildDevices(env);
    DetailedPlotTab tab;
    tab.InitDetailedPlotTab();
    QCOMPARE(tab.CboPrinter->count(), 4);
    QCOMPARE(tab.CboPrinter->itemText(0), QString::fromLatin1(kOffice));
    QCOMPARE(tab.CboPrinter->currentText(), QStringLiteral("Select Plotter"));

    tab.CboPrinter->setCurrentIndex(0);
    tab.chooseDevice(tab.CboPrinter->currentText());
    QCOMPARE(tab.Label8->text(), QStringLiteral("Select paper size"));
    QVERIFY(!tab.cboPaperSize->isHidden() && tab.txtPaperSize->isHidden());
    QCOMPARE(tab.cboPaperSize->count(), 13);
    QCOMPARE(tab.cboPaperSize->currentText(), QStringLiteral("<Default>"));
    QVERIFY(!tab.cboStandards->isEnabled());

    // A plotter file: the paper catalogue instead.
    tab.CboPrinter->setCurrentIndex(3);
    tab.chooseDevice(tab.CboPrinter->currentText());
    QCOMPARE(tab.Label8->text(), QStringLiteral("Enter paper size"));
    QVERIFY(tab.cboPaperSize->isHidden() && !tab.txtPaperSize->isHidden());
    QVERIFY(tab.cboStandards->isEnabled());

    // The printer again, then pixels and back: its papers return.
    tab.CboPrinter->setCurrentIndex(1);
    tab.chooseDevice(tab.CboPrinter->currentText());
    tab.optUnit->button(2)->click();
    QCOMPARE(tab.cboPaperSize->count(), 71);
    tab.optUnit->button(0)->click();
    QCOMPARE(tab.cboPaperSize->count(), 13);
    QCOMPARE(tab.Label8->text(), QStringLiteral("Select paper size"));
    PlotDeviceList::instance().Release();
}

QTEST_MAIN(PlotPrintersTest)
#include "PlotPrintersTest.moc"
