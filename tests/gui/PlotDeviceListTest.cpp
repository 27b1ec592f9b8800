// The device list against a real print system: a private CUPS scheduler of the test's own, started by
// the "cups" fixture with two queues of the sample PCL driver (CUPS_SERVER points at its socket).
#include "builders/PlotDeviceList.h"

#include "builders/DetailedPlotTab.h"
#include "support/GuiTestSupport.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace qv;
using namespace qv::test;

class PlotDeviceListTest final : public QObject
{
    Q_OBJECT

private slots:
    void printersComeFirstAndTheTabOffersTheirOwnPapers();
};

namespace {

const char* kOffice = "Quorvel_Office";
const char* kPlans = "Quorvel_Plans";

// A CAD folder with two plotter files, the printers' list built and answered.
void buildDevices(const GuiEnvironment& env)
{
    QVERIFY2(qEnvironmentVariableIsSet("CUPS_SERVER"), "the cups fixture sets CUPS_SERVER");
    for (const char* name : {"DWG To PDF.pc3", "A Plotter.pc3"})
        writeFile(env.file(QStringLiteral("cad/Plotters/") + QString::fromLatin1(name)));
    storeSetting("Acad_Address", "AcadAddress", env.file(QStringLiteral("cad/acad.exe")).toStdString());
    useProduct("Cad2018");
    PlotDeviceList::instance().build(programState().settings);
    QVERIFY(PlotDeviceList::instance().waitForPrinters(30000));
}

} // namespace

void PlotDeviceListTest::printersComeFirstAndTheTabOffersTheirOwnPapers()
{
    GuiEnvironment env;
    buildDevices(env);
    const std::vector<PlotDevice>& devices = PlotDeviceList::instance().devices();
    std::vector<std::string> names;
    for (const PlotDevice& device : devices)
        names.push_back(device.type + ":" + device.name);
    const std::vector<std::string> expected = {std::string("Network:") + kOffice, std::string("Network:") + kPlans,
                                               "PC3:A Plotter.pc3", "PC3:DWG To PDF.pc3"};
    QCOMPARE(names, expected);
    const PlotDevice& office = devices.front();
    QCOMPARE(office.port, std::string("Second floor"));
    QVERIFY(!office.driver.empty());
    QCOMPARE(office.paperNames.size(), std::size_t(13));
    QVERIFY(std::find(office.paperNames.begin(), office.paperNames.end(), "A4") != office.paperNames.end());

    // Choosing a printer in the tab offers its own papers.
    DetailedPlotTab tab;
    tab.setUp();
    QCOMPARE(tab.m_deviceCombo->count(), 4);
    QCOMPARE(tab.m_deviceCombo->itemText(0), QString::fromLatin1(kOffice));
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Select Plotter"));

    tab.m_deviceCombo->setCurrentIndex(0);
    tab.chooseDevice(tab.m_deviceCombo->currentText());
    QCOMPARE(tab.m_paperLabel->text(), QStringLiteral("Select paper size"));
    QVERIFY(!tab.m_paperCombo->isHidden() && tab.m_paperEdit->isHidden());
    QCOMPARE(tab.m_paperCombo->count(), 13);
    QCOMPARE(tab.m_paperCombo->currentText(), QStringLiteral("<Default>"));
    QVERIFY(!tab.m_paperStandardCombo->isEnabled());

    // A plotter file: the paper catalogue instead.
    tab.m_deviceCombo->setCurrentIndex(3);
    tab.chooseDevice(tab.m_deviceCombo->currentText());
    QCOMPARE(tab.m_paperLabel->text(), QStringLiteral("Enter paper size"));
    QVERIFY(tab.m_paperCombo->isHidden() && !tab.m_paperEdit->isHidden());
    QVERIFY(tab.m_paperStandardCombo->isEnabled());

    // The printer again, then pixels and back: its papers return.
    tab.m_deviceCombo->setCurrentIndex(1);
    tab.chooseDevice(tab.m_deviceCombo->currentText());
    tab.m_unitButtons->button(2)->click();
    QCOMPARE(tab.m_paperCombo->count(), 71);
    tab.m_unitButtons->button(0)->click();
    QCOMPARE(tab.m_paperCombo->count(), 13);
    QCOMPARE(tab.m_paperLabel->text(), QStringLiteral("Select paper size"));
    PlotDeviceList::instance().release();
}

QTEST_MAIN(PlotDeviceListTest)
#include "PlotDeviceListTest.moc"
