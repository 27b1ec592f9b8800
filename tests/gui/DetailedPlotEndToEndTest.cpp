// Detailed plot routines built through the real tab, saved into the routine database, assigned to
// drawings in a list file and run by the real quorvel program through the stand-in CAD host. The
// printers come from the private CUPS scheduler of the "cups" fixture; the host is told about them and
// their papers as the real host would know the installed printers.
#include "builders/DetailedPlotTab.h"
#include "builders/PlotDeviceList.h"
#include "routines/RoutineEditor.h"
#include "routines/SaveRoutineDialog.h"
#include "support/GuiTestSupport.h"
#include "support/HostRun.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTimer>

using namespace qv;
using namespace qv::test;

class DetailedPlotEndToEndTest final : public QObject
{
    Q_OBJECT

private slots:
    void hostPlotsEveryDrawingAndLayout_data();
    void hostPlotsEveryDrawingAndLayout();
};

namespace {

// The model-tab drawing and the layout-tab drawing every routine runs on.
const char* kModelDrawing = "CADHOST tab=Model layouts=Layout1,Layout2 views=Front\n";
const char* kLayoutDrawing = "CADHOST tab=Layout1 layouts=Layout1,Layout2 views=Front\n";

void pick(QComboBox* list, const QString& text)
{
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    list->setCurrentIndex(index);
    emit list->activated(index);
    emit list->textActivated(text);
}

// The layouts plotted per drawing file name, in order, from the journal's plotted events (line, event,
// drawing, detail "layout=NAME ...").
QMap<QString, QStringList> plottedLayouts(const QString& journal)
{
    QMap<QString, QStringList> plotted;
    for (const QString& line : journal.split(QLatin1Char('\n'))) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 4 || fields[1] != QLatin1String("plotted"))
            continue;
        const QString drawing = fields[2].section(QLatin1Char('/'), -1);
        plotted[drawing] << fields[3].section(QLatin1Char(' '), 0, 0).mid(7);
    }
    return plotted;
}

} // namespace

void DetailedPlotEndToEndTest::hostPlotsEveryDrawingAndLayout_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<int>("mode");         // optTilemode
    QTest::addColumn<bool>("allLayouts");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("paper");    // "" keeps the default; "STANDARD:NAME" picks from a standard; else a printer's paper
    QTest::addColumn<int>("area");         // OptPlotArea; 3 plots the view "Front"
    QTest::addColumn<QString>("scale");
    QTest::addColumn<bool>("toFile");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<QString>("layoutName");
    QTest::addColumn<QString>("expected"); // drawing:layouts per drawing run, separated by ";"

    // 2013 and later, automatic: a printer of the print system, two copies.
    QTest::newRow("2018 automatic printer copies")
        << "Cad2018" << 2 << false << "Quorvel_Office" << "A4" << 0 << "Scaled to Fit" << false << "2" << ""
        << "M:Model,Model;L:Layout1,Layout1";
    // All layouts to a file-only configuration, an ISO paper and a view.
    QTest::newRow("2018 automatic all layouts pdf view")
        << "Cad2018" << 2 << true << "DWG To PDF.pc3" << "ISO:ISO A3 (420.00 x 297.00 MM)" << 3 << "1:50" << false
        << "1" << "" << "M:Model;L:Layout1,Layout2";
    QTest::newRow("2013 model printer to file")
        << "Cad2013" << 1 << false << "Quorvel_Plans" << "US Letter" << 1 << "1:100" << true << "1" << "" << "M:Model";
    QTest::newRow("2010 layout named")
        << "Cad2010" << 0 << false << "DWF6 ePlot.pc3" << "ANSI:ANSI B (17.00 x 11.00 Inches)" << 2 << "Scaled to Fit"
        << false << "1" << "Layout2" << "L:Layout2";
    QTest::newRow("2000 automatic") << "Cad2000" << 2 << false << "Quorvel_Office" << "" << 1 << "1/4\" = 1'0\""
                                    << false << "1" << "" << "M:Model;L:Layout1";
    QTest::newRow("LT2010 model") << "CadLT2010" << 1 << false << "Quorvel_Office" << "A4" << 2 << "Scaled to Fit"
                                  << false << "3" << "" << "M:Model,Model,Model";
    QTest::newRow("LT2018 layout") << "CadLT2018" << 0 << false << "DWG To PDF.pc3" << "" << 0 << "1:1" << false
                                   << "1" << "" << "L:Layout1";
    QTest::newRow("Bricscad model raster") << "Bricscad" << 1 << false << "PublishToWeb PNG.pc3"
                                           << "Pixels:Super VGA (800.00 x 600.00 Pixels)" << 1 << "Scaled to Fit"
                                           << false << "1" << "" << "M:Model";
    QTest::newRow("ZWCAD layout printer") << "ZWCAD" << 0 << false << "Quorvel_Plans" << "A4" << 0 << "Scaled to Fit"
                                          << true << "2" << "" << "L:Layout1,Layout1";
}

void DetailedPlotEndToEndTest::hostPlotsEveryDrawingAndLayout()
{
    QFETCH(QString, product);
    QFETCH(int, mode);
    QFETCH(bool, allLayouts);
    QFETCH(QString, device);
    QFETCH(QString, paper);
    QFETCH(int, area);
    QFETCH(QString, scale);
    QFETCH(bool, toFile);
    QFETCH(QString, copies);
    QFETCH(QString, layoutName);
    QFETCH(QString, expected);
    QVERIFY2(qEnvironmentVariableIsSet("CUPS_SERVER"), "the cups fixture sets CUPS_SERVER");

    GuiEnvironment env;
    useStandInHost(env, product);
    const ProgramState& program = programState();
    QDir(env.folder()).mkpath(QStringLiteral("Plotters"));
    for (const char* name : {"DWG To PDF.pc3", "DWF6 ePlot.pc3", "PublishToWeb PNG.pc3"})
        QFile(env.file(QStringLiteral("Plotters/") + QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    QVERIFY(program.settings
                .writeValue("PlotWizard_Set", "PC3_Loc",
                            (env.folder() + QLatin1Char('/') + QStringLiteral("Plotters/")).toStdString())
                .ok());

    // Build and save the routine through the editor's tab, as a user would.
    programState().editorTab = RoutineEditor::TabPlotDetailed;
    RoutineEditor editor;
    editor.load();
    QVERIFY(PlotDeviceList::instance().waitForPrinters(30000));
    auto* tab = editor.findChild<DetailedPlotTab*>();
    QVERIFY(tab && tab->isSetUp());
    if (product == QLatin1String("Bricscad") || product == QLatin1String("ZWCAD")) {
        // The editor warns that the wizards were written for AutoCAD; the tab is still offered.
        QCOMPARE(env.dialogs().messages().size(), 1);
        QCOMPARE(env.dialogs().messages().first().title, std::string("Wizard Information"));
        env.dialogs().clear();
    }
    tab->m_tilemodeButtons->button(mode)->click();
    if (!layoutName.isEmpty())
        tab->m_layoutNameEdit->setText(layoutName);
    if (allLayouts)
        tab->m_allLayoutsCheck->click();
    if (tab->m_deviceCombo->findText(device) >= 0) {
        pick(tab->m_deviceCombo, device);
    } else {
        tab->m_deviceCombo->setEditText(device);
        tab->chooseDevice(device);
    }
    if (paper.contains(QLatin1Char(':'))) {
        const QString standard = paper.section(QLatin1Char(':'), 0, 0);
        if (standard != QLatin1String("Pixels"))
            pick(tab->m_paperStandardCombo, standard);
        pick(tab->m_paperCombo, paper.section(QLatin1Char(':'), 1));
    } else if (!paper.isEmpty()) {
        pick(tab->m_paperCombo, paper);
    }
    tab->m_plotAreaButtons->button(area)->click();
    if (area == 3)
        tab->m_viewNameEdit->setText(QStringLiteral("Front"));
    pick(tab->m_scaleCombo, scale);
    if (toFile)
        tab->m_plotToFileCheck->setChecked(true);
    tab->m_copiesCombo->setCurrentText(copies);
    QTimer::singleShot(0, &editor, [] {
        auto* dialog = qobject_cast<SaveRoutineDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->m_nameEdit->setText(QStringLiteral("Plot Test"));
        dialog->m_saveButton->click();
    });
    tab->m_saveRoutineButton->click();
    QVERIFY2(env.dialogs().messages().isEmpty(),
             env.dialogs().messages().isEmpty() ? "" : env.dialogs().messages().first().text.c_str());

    // The host knows the installed printers with their papers, and the plotter file.
    QStringList devices{QStringLiteral("DWG To PDF.pc3")};
    for (const PlotDevice& printer : PlotDeviceList::instance().devices()) {
        if (printer.type != kNetworkDevice)
            continue;
        QStringList papers;
        for (const std::string& name : printer.paperNames)
            papers << QString::fromStdString(name);
        devices << QString::fromStdString(printer.name) + QLatin1Char('=') + papers.join(QLatin1Char('|'));
    }
    editor.m_backButton->click();

    // The drawings of the row in a list file, run by the real program from this folder.
    std::vector<std::pair<QString, QString>> rows;
    for (const QString& part : expected.split(QLatin1Char(';'))) {
        const QString name = part.section(QLatin1Char(':'), 0, 0) + QStringLiteral(".dwg");
        QFile drawing(env.file(name));
        QVERIFY(drawing.open(QIODevice::WriteOnly));
        drawing.write(name.startsWith(QLatin1Char('M')) ? kModelDrawing : kLayoutDrawing);
        rows.emplace_back(name, QStringLiteral("Plot Test"));
    }
    QProcessEnvironment hostDevices;
    hostDevices.insert(QStringLiteral("CADHOST_DEVICES"), devices.join(QLatin1Char(';')));
    const QString text = runListThroughHost(env, rows, hostDevices);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(!text.contains(QStringLiteral("\terror\t")), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("\tunmodelled\t")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("0\texit\t-\t0")), qPrintable(text));

    const QMap<QString, QStringList> plotted = plottedLayouts(text);
    for (const QString& part : expected.split(QLatin1Char(';'))) {
        const QString name = part.section(QLatin1Char(':'), 0, 0) + QStringLiteral(".dwg");
        QVERIFY2(plotted.value(name).join(QLatin1Char(',')) == part.section(QLatin1Char(':'), 1),
                 qPrintable(name + QStringLiteral(" plotted ") + plotted.value(name).join(QLatin1Char(',')) +
                            QStringLiteral("\n") + text));
    }
    if (toFile)
        QVERIFY2(text.contains(QStringLiteral(" file=")), qPrintable(text));
}

QTEST_MAIN(DetailedPlotEndToEndTest)
#include "DetailedPlotEndToEndTest.moc"
