// Routines built through the routine editor's real builder tabs, saved into the routine database, assigned to
// drawings in a list file and run by the real quorvel program through the stand-in CAD host, for every product
// family: the host must accept every line and do what each routine asks. The detailed plot's printers come from
// the private CUPS scheduler of the "cups" fixture; the host is told about them and their papers as the real host
// would know the installed printers.
#include "builders/DetailedPlotTab.h"
#include "builders/ImportPageSetupTab.h"
#include "builders/PageSetupPlotTab.h"
#include "builders/PlotDeviceList.h"
#include "builders/PurgeTab.h"
#include "builders/SaveAsTab.h"
#include "routines/RoutineEditor.h"
#include "routines/SaveRoutineDialog.h"
#include "support/GuiTestSupport.h"
#include "support/HostRun.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <variant>

using namespace qv;
using namespace qv::test;
using namespace Qt::StringLiterals;

namespace {

// A detailed plot routine, run on a drawing per part of `expected`: "M" opens on its model tab, "L" on a layout.
struct DetailedPlotCase
{
    int mode; // optTilemode
    bool allLayouts;
    QString device;
    QString paper; // "STANDARD:NAME" picks from a standard ("Pixels:NAME" from the pixel sizes); else a printer's
    int area;      // OptPlotArea; 3 plots the view "Front"
    QString scale;
    bool toFile;
    QString copies;
    QString expected; // drawing:layouts plotted, per drawing, separated by ";"
};

// A page-setup plot, a page-setup import, an older release and a DXF file, one drawing each.
struct PageSetupSaveAsCase
{
    QString drawingRelease;
    QString dxfRelease;
    bool binary;
};

// A purge routine run on two drawings.
struct PurgeCase
{
    QList<int> items; // empty: every offered item (the "_A" form)
    QString passes;
};

using BuiltRoutines = std::variant<DetailedPlotCase, PageSetupSaveAsCase, PurgeCase>;
using ListRows = std::vector<std::pair<QString, QString>>;

const QByteArray kModelDrawing = "CADHOST tab=Model layouts=Layout1,Layout2 views=Front\n";
const QByteArray kLayoutDrawing = "CADHOST tab=Layout1 layouts=Layout1,Layout2 views=Front\n";

// Presses a builder's save button and names the routine in the save dialog that opens.
void saveThrough(QPushButton* save, const QString& name)
{
    whenModalOpens<SaveRoutineDialog>(save, [name](SaveRoutineDialog* dialog) {
        dialog->m_nameEdit->setText(name);
        dialog->m_saveButton->click();
    });
    save->click();
}

// The layouts plotted per drawing file name, in order, from the journal's plotted events (line, event,
// drawing, detail "layout=NAME ...").
QMap<QString, QStringList> plottedLayouts(const QString& journal)
{
    QMap<QString, QStringList> plotted;
    for (const QString& line : journal.split(u'\n')) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() >= 4 && fields[1] == "plotted"_L1)
            plotted[QDir::fromNativeSeparators(fields[2]).section(u'/', -1)] << fields[3].section(u' ', 0, 0).mid(7);
    }
    return plotted;
}

void buildAndRun(GuiEnvironment& env, const QString& product, const DetailedPlotCase& c)
{
    QVERIFY2(qEnvironmentVariableIsSet("CUPS_SERVER"), "the cups fixture sets CUPS_SERVER");
    for (const char* name : {"DWG To PDF.pc3", "DWF6 ePlot.pc3", "PublishToWeb PNG.pc3"})
        writeFile(env.file(u"Plotters/"_s + QString::fromLatin1(name)));
    storeSetting("PlotWizard_Set", "PC3_Loc", (env.folder() + u"/Plotters/"_s).toStdString());

    programState().editorTab = RoutineEditor::TabPlotDetailed;
    RoutineEditor editor;
    editor.load();
    QVERIFY(PlotDeviceList::instance().waitForPrinters(30000));
    auto* tab = editor.findChild<DetailedPlotTab*>();
    QVERIFY(tab && tab->isSetUp());
    if (product == "Bricscad"_L1 || product == "ZWCAD"_L1) {
        // The editor warns that the wizards were written for AutoCAD; the tab is still offered.
        QCOMPARE(env.dialogs().messages().size(), 1);
        QCOMPARE(env.dialogs().messages().first().title, std::string("Wizard Information"));
        env.dialogs().clear();
    }
    tab->m_tilemodeButtons->button(c.mode)->click();
    if (c.allLayouts)
        tab->m_allLayoutsCheck->click();
    if (tab->m_deviceCombo->findText(c.device) >= 0) {
        chooseText(tab->m_deviceCombo, c.device);
    } else {
        tab->m_deviceCombo->setEditText(c.device);
        tab->chooseDevice(c.device);
    }
    if (c.paper.contains(u':')) {
        const QString standard = c.paper.section(u':', 0, 0);
        if (standard != "Pixels"_L1)
            chooseText(tab->m_paperStandardCombo, standard);
        chooseText(tab->m_paperCombo, c.paper.section(u':', 1));
    } else {
        chooseText(tab->m_paperCombo, c.paper);
    }
    tab->m_plotAreaButtons->button(c.area)->click();
    if (c.area == 3)
        tab->m_viewNameEdit->setText(u"Front"_s);
    chooseText(tab->m_scaleCombo, c.scale);
    if (c.toFile)
        tab->m_plotToFileCheck->setChecked(true);
    tab->m_copiesCombo->setCurrentText(c.copies);
    saveThrough(tab->m_saveRoutineButton, u"Plot Test"_s);
    QVERIFY2(env.dialogs().messages().isEmpty(),
             env.dialogs().messages().isEmpty() ? "" : env.dialogs().messages().first().text.c_str());

    // The host knows the installed printers with their papers, and the plotter file.
    QStringList devices{u"DWG To PDF.pc3"_s};
    for (const PlotDevice& printer : PlotDeviceList::instance().devices()) {
        QStringList papers;
        for (const std::string& name : printer.paperNames)
            papers << QString::fromStdString(name);
        if (printer.type == kNetworkDevice)
            devices << QString::fromStdString(printer.name) + u'=' + papers.join(u'|');
    }
    editor.m_backButton->click();

    ListRows rows;
    for (const QString& part : c.expected.split(u';')) {
        const QString name = part.section(u':', 0, 0) + u".dwg"_s;
        writeFile(env.file(name), name.startsWith(u'M') ? kModelDrawing : kLayoutDrawing);
        rows.emplace_back(name, u"Plot Test"_s);
    }
    QProcessEnvironment hostDevices;
    hostDevices.insert(u"CADHOST_DEVICES"_s, devices.join(u';'));
    const QString text = runListThroughHost(env, rows, hostDevices);
    if (QTest::currentTestFailed())
        return;
    const QMap<QString, QStringList> plotted = plottedLayouts(text);
    for (const QString& part : c.expected.split(u';')) {
        const QString name = part.section(u':', 0, 0) + u".dwg"_s;
        const QString layouts = plotted.value(name).join(u',');
        QVERIFY2(layouts == part.section(u':', 1), qPrintable(name + u" plotted "_s + layouts + u'\n' + text));
    }
    if (c.toFile)
        QVERIFY2(text.contains(u" file="_s), qPrintable(text));
}

void buildAndRun(GuiEnvironment& env, const QString&, const PageSetupSaveAsCase& c)
{
    const QString out = env.file(u"Out"_s);
    QVERIFY(QDir().mkpath(out));
    // The drawings declare their tabs and page setups to the stand-in host.
    const QString standard = env.file(u"Standard.dwg"_s);
    writeFile(standard, "CADHOST pagesetups=Std-A1=Default%20Windows%20System%20Printer.pc3,Std%20A3=Default%20"
                        "Windows%20System%20Printer.pc3\r\nDWG");
    writeFile(env.file(u"One.dwg"_s), "CADHOST tab=Layout1 layouts=Layout1,Layout2\r\nDWG");
    writeFile(env.file(u"Two.dwg"_s), "CADHOST pagesetups=Std-A1\r\nDWG");
    writeFile(env.file(u"Three.dwg"_s), "DWG");
    writeFile(env.file(u"Four.dwg"_s), "DWG");

    programState().editorTab = RoutineEditor::TabPlotPage;
    RoutineEditor editor;
    editor.load();
    env.dialogs().clear();

    // Tab 3: the page setup imported from the standard drawing, every layout where AutoLISP runs, to a
    // file, two copies.
    auto* plot = editor.findChild<PageSetupPlotTab*>();
    QVERIFY(plot && plot->isSetUp());
    const bool allTabs = plot->m_allTabsCheck->isEnabled();
    plot->m_pageSetupSourceButtons->button(1)->click();
    env.dialogs().queueFiles({standard});
    plot->m_browseDrawingButton->click();
    plot->m_pageSetupNameEdit->setText(u"Std A3"_s);
    plot->m_allTabsCheck->setChecked(allTabs);
    plot->m_plotToFileCheck->setChecked(true);
    plot->m_copiesCombo->setCurrentText(u"2"_s);
    saveThrough(plot->m_saveRoutineButton, u"Page Plot"_s);

    // Tab 6: every page setup of the standard drawing.
    editor.selectTab(RoutineEditor::TabImportPageSetup);
    auto* import = editor.findChild<ImportPageSetupTab*>();
    import->m_loadScopeButtons->button(1)->click();
    env.dialogs().queueFiles({standard});
    import->m_browseDrawingButton->click();
    saveThrough(import->m_saveRoutineButton, u"Import All"_s);

    // Tab 4: an older release and a DXF file, into the target folder where the product runs AutoLISP.
    editor.selectTab(RoutineEditor::TabSaveAs);
    auto* saveAs = editor.findChild<SaveAsTab*>();
    QVERIFY(saveAs->isSetUp());
    const bool folder = saveAs->m_folderEdit->isEnabled();
    if (folder) {
        env.dialogs().queueFolder(out);
        saveAs->m_browseFolderButton->click();
    }
    saveAs->m_releaseCombo->setCurrentText(c.drawingRelease);
    QCOMPARE(saveAs->shownRelease(), c.drawingRelease);
    saveThrough(saveAs->m_saveRoutineButton, u"Save Older"_s);
    saveAs->m_fileKindButtons->button(1)->click();
    saveAs->m_releaseCombo->setCurrentText(c.dxfRelease);
    QCOMPARE(saveAs->shownRelease(), c.dxfRelease);
    saveAs->m_dxfFormatButtons->button(c.binary ? 1 : 0)->click();
    saveThrough(saveAs->m_saveRoutineButton, u"Export DXF"_s);

    // Only the tabs' own information may have been shown (and, for BricsCAD and ZWCAD, the notice that the
    // page-setup wizards were written for AutoCAD): nothing refused, no check found a fault.
    for (const UserMessage& message : env.dialogs().messages()) {
        if (message.title != "Wizard Information")
            QVERIFY2(message.icon == MessageIcon::Information,
                     qPrintable(QString::fromStdString(message.text).replace(u"\r\n"_s, u" | "_s)));
    }
    for (const char* name : {"Page Plot", "Import All", "Save Older", "Export DXF"})
        QVERIFY2(editor.selectRoutine(QString::fromLatin1(name)), name);

    const QString text = runListThroughHost(env, {{u"One.dwg"_s, u"Page Plot"_s},
                                                  {u"Two.dwg"_s, u"Import All"_s},
                                                  {u"Three.dwg"_s, u"Save Older"_s},
                                                  {u"Four.dwg"_s, u"Export DXF"_s}});
    if (QTest::currentTestFailed())
        return;
    // The plots: one per copy, and per layout where every layout is plotted, each to its file.
    QCOMPARE(int(text.count(u"\tpagesetups-imported\t"_s)), 3);
    QCOMPARE(int(text.count(u"pagesetup=Std A3 device=Default Windows System Printer.pc3 file="_s)), allTabs ? 4 : 2);
    QVERIFY(!QDir(env.folder()).entryList({u"One-Layout1.*"_s}).isEmpty());
    QCOMPARE(QDir(env.folder()).entryList({u"One-Layout2.*"_s}).isEmpty(), !allTabs);
    QVERIFY2(text.contains(u"\tpagesetups-imported\t"_s + env.file(u"Two.dwg"_s) + u"\tStd-A1,Std A3"_s),
             qPrintable(text));

    // The older release and the DXF file, in the target folder when one was chosen.
    const QString three = env.file(u"Three.dwg"_s);
    if (folder) {
        QVERIFY(QFile::exists(out + u"/Three.dwg"_s));
        // The routine names the folder inside AutoLISP text, where every separator is "/".
        QVERIFY2(text.contains(u"\tsaved\t"_s + QDir::fromNativeSeparators(out) + u"/Three.dwg\twritten as a copy of "_s + three),
                 qPrintable(text));
        QVERIFY(QFile::exists(out + u"/Four.dxf"_s));
    } else {
        QVERIFY2(text.contains(u"\tsaved\t"_s + three + u"\tmodification time set"_s), qPrintable(text));
        QVERIFY(QFile::exists(env.file(u"Four.dxf"_s)));
    }
    QVERIFY2(text.contains(c.binary ? u" binary"_s : u" ASCII accuracy=16"_s), qPrintable(text));
}

void buildAndRun(GuiEnvironment& env, const QString&, const PurgeCase& c)
{
    programState().editorTab = RoutineEditor::TabPurge;
    RoutineEditor editor;
    editor.load();
    auto* tab = editor.findChild<PurgeTab*>();
    QVERIFY(tab && tab->isSetUp());
    if (!c.items.isEmpty()) {
        tab->m_toggleAllButton->click(); // Clear All
        for (int item : c.items)
            tab->m_itemButtons->button(item)->click();
    }
    tab->m_passesCombo->setCurrentText(c.passes);
    saveThrough(tab->m_saveRoutineButton, u"Purge Test"_s);
    QVERIFY(env.dialogs().messages().isEmpty());

    writeFile(env.file(u"One.dwg"_s));
    writeFile(env.file(u"Two.dwg"_s));
    const QString text = runListThroughHost(env, {{u"One.dwg"_s, u"Purge Test"_s}, {u"Two.dwg"_s, u"Purge Test"_s}});
    if (QTest::currentTestFailed())
        return;
    const int perPass = c.items.isEmpty() ? 1 : int(c.items.size());
    QCOMPARE(int(text.count(u"\tpurged\t"_s)), 2 * perPass * c.passes.toInt());
    QCOMPARE(int(text.count(u"\tqsave\t"_s)), 2);
}

} // namespace

class BuilderEndToEndTest final : public QObject
{
    Q_OBJECT

private slots:
    void hostRunsTheBuiltRoutines_data();
    void hostRunsTheBuiltRoutines();
};

void BuilderEndToEndTest::hostRunsTheBuiltRoutines_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<BuiltRoutines>("routines");
    const auto row = [](const char* name, const char* product, const BuiltRoutines& routines) {
        QTest::newRow(name) << QString::fromLatin1(product) << routines;
    };
    // One row per builder and product family (each writer among them): the routines' answers for every choice
    // and product are replayed through the host model by DetailedPlotHostTest and PageSetupSaveAsHostTest.
    // Detailed plots: mode, all layouts, device, paper, area, scale, to file, copies, expected.
    // 2013 and later, automatic: a printer of the print system, two copies.
    row("plot 2018 automatic printer copies", "Cad2018",
        DetailedPlotCase{2, false, u"Quorvel_Office"_s, u"A4"_s, 0, u"Scaled to Fit"_s, false, u"2"_s,
                         u"M:Model,Model;L:Layout1,Layout1"_s});
    // All layouts to a file-only configuration, an ISO paper and a view.
    row("plot 2018 automatic all layouts pdf view", "Cad2018",
        DetailedPlotCase{2, true, u"DWG To PDF.pc3"_s, u"ISO:ISO A3 (420.00 x 297.00 MM)"_s, 3, u"1:50"_s, false,
                         u"1"_s, u"M:Model;L:Layout1,Layout2"_s});
    row("plot LT2010 model", "CadLT2010",
        DetailedPlotCase{1, false, u"Quorvel_Office"_s, u"A4"_s, 2, u"Scaled to Fit"_s, false, u"3"_s,
                         u"M:Model,Model,Model"_s});
    row("plot Bricscad model raster", "Bricscad",
        DetailedPlotCase{1, false, u"PublishToWeb PNG.pc3"_s, u"Pixels:Super VGA (800.00 x 600.00 Pixels)"_s, 1,
                         u"Scaled to Fit"_s, false, u"1"_s, u"M:Model"_s});
    row("plot ZWCAD layout printer", "ZWCAD",
        DetailedPlotCase{0, false, u"Quorvel_Plans"_s, u"A4"_s, 0, u"Scaled to Fit"_s, true, u"2"_s,
                         u"L:Layout1,Layout1"_s});

    // Page setups, Save As and DXF: the release of the older drawing, that of the DXF file, binary DXF. The full
    // product plots every layout and saves into a folder; the others cannot.
    row("page setup 2018", "Cad2018",
        PageSetupSaveAsCase{u"AutoCAD 2013/LT2013 Drawing"_s, u"AutoCAD 2000/LT2000 Dxf"_s, false});
    row("page setup LT2010", "CadLT2010",
        PageSetupSaveAsCase{u"AutoCAD 2010/LT2010 Drawing"_s, u"AutoCAD R12/LT2 Dxf"_s, true});
    row("page setup Bricscad", "Bricscad",
        PageSetupSaveAsCase{u"AutoCAD R14/LT98/LT97 Drawing"_s, u"AutoCAD R14/LT98/LT97 Dxf"_s, false});
    row("page setup ZWCAD", "ZWCAD",
        PageSetupSaveAsCase{u"AutoCAD R14/LT98/LT97 Drawing"_s, u"AutoCAD 2000/2002 LT2000/2002 Dxf"_s, true});

    // Purges: the items ticked, the passes. Only here does a purge routine meet a host, so each product's items
    // stay.
    row("purge 2018 all", "Cad2018", PurgeCase{{}, u"2"_s});
    row("purge 2018 some", "Cad2018", PurgeCase{{0, 12, 13, 15, 16, 17}, u"1"_s});
    row("purge LT2013 some", "CadLT2013", PurgeCase{{2, 9, 14}, u"1"_s});
    row("purge 2010 some", "Cad2010", PurgeCase{{2, 3, 8, 9, 10}, u"2"_s});
    row("purge 2005 some", "Cad2005", PurgeCase{{1, 7, 8}, u"1"_s});
    row("purge 2000 some", "Cad2000", PurgeCase{{5, 6, 7}, u"1"_s});
    row("purge 14 some", "Cad14", PurgeCase{{1, 2, 3, 4, 5, 6}, u"3"_s});
    row("purge LT98 all", "CadLT98", PurgeCase{{}, u"1"_s});
    row("purge Bricscad some", "Bricscad", PurgeCase{{0, 1, 2, 3, 4, 5, 6}, u"1"_s});
    row("purge ZWCAD all", "ZWCAD", PurgeCase{{}, u"1"_s});
}

void BuilderEndToEndTest::hostRunsTheBuiltRoutines()
{
    QFETCH(QString, product);
    QFETCH(BuiltRoutines, routines);
    GuiEnvironment env;
    useStandInHost(env, product);
    std::visit([&](const auto& c) { buildAndRun(env, product, c); }, routines);
}

QTEST_MAIN(BuilderEndToEndTest)
#include "BuilderEndToEndTest.moc"
