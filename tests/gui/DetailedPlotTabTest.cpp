#include "builders/DetailedPlotTab.h"

#include "builders/AddPaperDialog.h"
#include "builders/PlotDeviceList.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <memory>

using namespace qv;
using namespace qv::test;

class DetailedPlotTabTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void preparationFollowsTheProduct_data();
    void preparationFollowsTheProduct();
    void fieldRulesBetweenTheControls();
    void savedRoutineIsTheTabsChoicesOrACheckAtItsField();
    void browsesStyleListsAndCustomPapers();
    void aPrintSystemThatIsDownNeverHoldsTheEditor();
    void closesWithTheFocusInAListBox();
};

namespace {

void click(QButtonGroup* group, int id)
{
    group->button(id)->click();
}

} // namespace

void DetailedPlotTabTest::initTestCase()
{
    // No print system here: the device list holds the plotter files only.
    qputenv("CUPS_SERVER", QDir::temp().filePath(QStringLiteral("quorvel-no-such-scheduler.sock")).toLocal8Bit());
}

void DetailedPlotTabTest::preparationFollowsTheProduct_data()
{
    // A full product from 2004 (AutoLISP, the shade and pixel controls) and one with neither show each setting both
    // ways; what every product gets is PlotTabRulesTest's table.
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("full");
    QTest::newRow("Cad2018") << "Cad2018" << true;
    QTest::newRow("Bricscad") << "Bricscad" << false;
}

void DetailedPlotTabTest::preparationFollowsTheProduct()
{
    QFETCH(QString, code);
    QFETCH(bool, full);
    GuiEnvironment env(code.toStdString());
    DetailedPlotTab tab;
    tab.setUp();

    QCOMPARE(tab.m_setUpFlag, QStringLiteral("yes"));
    QCOMPARE(tab.m_detailedPlotGroup->title(), QStringLiteral("Detailed Plot Routine"));
    QCOMPARE(tab.m_tilemodeButtons->checkedId(), full ? 2 : 0); // automatic, else the layout tab
    QCOMPARE(tab.m_tilemodeRadios[2]->isEnabled(), full);
    QCOMPARE(tab.m_allLayoutsCheck->isEnabled(), full);
    QCOMPARE(tab.m_lispNoteLabel->isHidden(), full);
    QCOMPARE(tab.m_layoutNameEdit->text(), QStringLiteral("<Default>"));
    QCOMPARE(tab.m_layoutNameEdit->isEnabled(), !full);
    QCOMPARE(tab.m_shadeGroup->isHidden(), !full);
    QCOMPARE(tab.m_unitRadios[2]->isHidden(), !full);
    QCOMPARE(tab.m_shadeCombo->isEnabled(), full);
    QCOMPARE(tab.m_shadeCombo->count(), full ? 4 : 0); // the entries are PlotTabRulesTest's
    QCOMPARE(tab.m_hideObjectsCheck->text(), QString::fromLatin1(full ? "Hide paperspace objects" : "Hide objects"));
    QCOMPARE(tab.m_automaticHintLabel->text(),
             QStringLiteral("This option automatically detects Model and Layout tabs when plotting. Recommended"));

    // What every product starts with (the choices a routine reads are savedRoutineIsTheTabsChoices').
    QCOMPARE(tab.m_orientationCode, 1);
    QVERIFY(!tab.m_paperStandardCombo->isEnabled());
    QCOMPARE(tab.m_paperStandardCombo->count(), 0);
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Select Plotter"));
    QCOMPARE(tab.m_paperEdit->text(), QStringLiteral("<Default>"));
    QCOMPARE(tab.m_paperLabel->text(), QStringLiteral("Enter paper size"));
    QCOMPARE(tab.m_scaleCombo->itemData(33).toInt(), 48); // the architectural entries carry their factor
    QCOMPARE(itemTexts(tab.m_copiesCombo).size(), 10);
    QCOMPARE(tab.m_copiesCombo->currentText(), QStringLiteral("1"));
    QCOMPARE(tab.m_styleKindButtons->checkedId(), 0);
    QCOMPARE(tab.m_styleTableCombo->currentText(), QStringLiteral("<Default>"));
    QVERIFY(tab.m_paperspaceLastCheck->isChecked()); // the model tab's routine does not ask it
    QVERIFY(tab.m_viewNameEdit->isHidden());
    QCOMPARE(tab.m_offsetLabels[0]->text(), QStringLiteral("Inches"));
}

void DetailedPlotTabTest::fieldRulesBetweenTheControls()
{
    GuiEnvironment env("Cad2018");
    DetailedPlotTab tab;
    tab.setUp();

    // Each choice shows the core's answer (PlotTabRulesTest has them all); one or two cases prove the wiring.
    click(tab.m_tilemodeButtons, 1);
    QCOMPARE(tab.m_tilemodeToken, QStringLiteral("_Model"));
    QCOMPARE(tab.m_layoutNameEdit->text(), QStringLiteral("<Model>"));
    QVERIFY(!tab.m_layoutNameEdit->isEnabled());
    QCOMPARE(tab.m_plotAreaRadios[2]->text(), QStringLiteral("Limits"));
    QVERIFY(!tab.m_paperspaceLastCheck->isEnabled() && !tab.m_scaleLineweightsCheck->isEnabled());
    click(tab.m_plotAreaButtons, 2);
    QCOMPARE(tab.m_plotAreaToken, QStringLiteral("_Limits"));

    tab.m_allLayoutsCheck->setChecked(true);
    click(tab.m_tilemodeButtons, 0);
    QCOMPARE(tab.m_tilemodeToken, QStringLiteral("_Layout"));
    QCOMPARE(tab.m_layoutNameEdit->text(), QStringLiteral("<Default>"));
    QVERIFY(tab.m_layoutNameEdit->isEnabled());
    QVERIFY(!tab.m_allLayoutsCheck->isEnabled() && !tab.m_allLayoutsCheck->isChecked());
    QVERIFY(!tab.m_shadeCombo->isEnabled());
    QCOMPARE(tab.m_plotAreaToken, QStringLiteral("Layout")); // the chosen area follows its new caption

    click(tab.m_tilemodeButtons, 2);
    QCOMPARE(tab.m_tilemodeToken, QStringLiteral("_Layout")); // the automatic mode leaves the token alone
    QVERIFY(!tab.m_layoutNameEdit->isEnabled() && tab.m_allLayoutsCheck->isEnabled() && tab.m_shadeCombo->isEnabled());

    click(tab.m_plotAreaButtons, 3);
    QCOMPARE(tab.m_plotAreaToken, QStringLiteral("_View"));
    QVERIFY(!tab.m_viewNameEdit->isHidden());
    click(tab.m_plotAreaButtons, 1);
    QVERIFY(tab.m_viewNameEdit->isHidden());

    // The pictures follow orientation and upside-down.
    click(tab.m_orientationButtons, 0);
    QCOMPARE(tab.m_orientationToken, QStringLiteral("_Portrait"));
    QCOMPARE(tab.m_orientationCode, 0);
    tab.m_upsideDownCheck->click();
    QCOMPARE(tab.m_orientationCode, 3);

    // Scale entries fill the boxes; typing makes the scale custom.
    chooseText(tab.m_scaleCombo, QStringLiteral("2:1"));
    QCOMPARE(tab.m_plottedUnitsEdit->text() + QLatin1Char('=') + tab.m_drawingUnitsEdit->text(),
             QStringLiteral("1=0.5"));
    chooseText(tab.m_scaleCombo, QStringLiteral("1:50"));
    QCOMPARE(tab.m_drawingUnitsEdit->text(), QStringLiteral("50"));
    chooseText(tab.m_scaleCombo, QStringLiteral("Scaled to Fit"));
    QCOMPARE(tab.m_drawingUnitsEdit->text(), QStringLiteral("1"));
    QCOMPARE(tab.m_scaleCombo->currentText(), QStringLiteral("Scaled to Fit"));
    QTest::keyClick(tab.m_drawingUnitsEdit, Qt::Key_4);
    QCOMPARE(tab.m_scaleCombo->currentText(), QStringLiteral("Custom"));
    QCOMPARE(tab.m_drawingUnitsEdit->text(), QStringLiteral("14"));

    tab.m_centrePlotCheck->click();
    QVERIFY(!tab.m_offsetXEdit->isEnabled() && !tab.m_offsetYEdit->isEnabled() && !tab.m_offsetLabels[3]->isEnabled());
    tab.m_centrePlotCheck->click();
    QVERIFY(tab.m_offsetXEdit->isEnabled());

    // Shading, units and the devices that only write files.
    tab.m_shadeCombo->setCurrentText(QStringLiteral("Rendered"));
    QVERIFY(tab.m_qualityCombo->isEnabled());
    tab.m_qualityCombo->setCurrentText(QStringLiteral("Maximum"));
    tab.m_shadeCombo->setCurrentText(QStringLiteral("Hidden"));
    QVERIFY(!tab.m_qualityCombo->isEnabled());
    QCOMPARE(tab.m_qualityCombo->currentText(), QStringLiteral("Normal"));

    click(tab.m_unitButtons, 2);
    QCOMPARE(tab.m_unitsToken, QStringLiteral("_Pixels"));
    QCOMPARE(tab.m_paperLabel->text(), QStringLiteral("Select pixel size"));
    QVERIFY(!tab.m_paperCombo->isHidden() && tab.m_paperEdit->isHidden());
    QCOMPARE(tab.m_paperCombo->count(), 71);
    QCOMPARE(tab.m_paperCombo->currentText(), QStringLiteral("Select Pixels"));
    QCOMPARE(tab.m_offsetLabels[1]->text(), QStringLiteral("Pixels"));
    // Leaving pixels with no device puts the typed paper box back.
    click(tab.m_unitButtons, 1);
    QCOMPARE(tab.m_unitsToken, QStringLiteral("_Millimeters"));
    QCOMPARE(tab.m_paperLabel->text(), QStringLiteral("Enter paper size"));
    QVERIFY(tab.m_paperCombo->isHidden() && !tab.m_paperEdit->isHidden());
    QCOMPARE(tab.m_offsetLabels[0]->text(), QStringLiteral("mm"));

    // The file-only configurations, in any letter case; a typed device is taken as a plotter file
    // only when the list knows it.
    tab.m_plotToFileCheck->setChecked(true);
    tab.m_deviceCombo->setEditText(QStringLiteral("dwf6 eplot.PC3"));
    tab.chooseDevice(tab.m_deviceCombo->currentText());
    QVERIFY(!tab.m_plotToFileCheck->isEnabled() && !tab.m_plotToFileCheck->isChecked());
    QCOMPARE(tab.m_paperLabel->text(), QStringLiteral("Enter paper size"));
    tab.m_deviceCombo->setEditText(QStringLiteral("PublishToWeb PNG.pc3"));
    tab.chooseDevice(tab.m_deviceCombo->currentText());
    QVERIFY(!tab.m_plotToFileCheck->isEnabled());
    QCOMPARE(tab.m_unitsToken, QStringLiteral("_Pixels"));
    QCOMPARE(tab.m_paperCombo->count(), 71);
    tab.m_deviceCombo->setEditText(QStringLiteral("Some Printer"));
    tab.chooseDevice(tab.m_deviceCombo->currentText());
    QVERIFY(tab.m_plotToFileCheck->isEnabled());
    QCOMPARE(tab.m_unitsToken, QStringLiteral("_Inches"));
    QVERIFY(!tab.m_paperStandardCombo->isEnabled());

    // A blank device shows what it stands for.
    tab.m_deviceCombo->setEditText(QString());
    emit tab.m_deviceCombo->lineEdit()->editingFinished();
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Select Plotter"));
}

void DetailedPlotTabTest::savedRoutineIsTheTabsChoicesOrACheckAtItsField()
{
    GuiEnvironment env("Cad2010");
    DetailedPlotTab tab;
    tab.setUp();
    tab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tab));
    QSignalSpy built(&tab, &DetailedPlotTab::routineBuilt);
    click(tab.m_tilemodeButtons, 1);
    tab.m_deviceCombo->setEditText(QStringLiteral("Office \\\\srv\\plot"));
    tab.m_copiesCombo->setCurrentText(QStringLiteral("2"));
    tab.m_saveRoutineButton->click();
    QVERIFY(env.dialogs().messages().isEmpty());
    QCOMPARE(built.size(), 1);
    // The text is the core's for exactly what the controls show.
    DetailedPlotChoices expected;
    expected.mode = PlotTabMode::Model;
    expected.layoutName = "<Model>";
    expected.device = "Office \\\\srv\\plot";
    expected.copies = "2";
    const DetailedPlotResult core = buildDetailedPlotRoutine(expected, "Cad2010");
    QVERIFY(core.ok());
    QCOMPARE(built.first().first().toString(), QString::fromStdString(core.text));
    QVERIFY(core.text.starts_with("_-plot\r\n_Yes\r\n\r\nOffice \\\\srv\\plot\r\n"));

    // Each refusal shows its message and focuses its field (the checks themselves are the core's).
    tab.m_deviceCombo->setEditText(QStringLiteral("Select Plotter"));
    tab.m_scaleCombo->setCurrentIndex(0);
    tab.m_plottedUnitsEdit->setText(QStringLiteral("1/"));
    tab.m_saveRoutineButton->click();
    QCOMPARE(env.dialogs().messages().size(), 1);
    QCOMPARE(QString::fromStdString(env.dialogs().messages().last().text),
             QStringLiteral("Please enter a Positive, Real or Fractional number"));
    QCOMPARE(tab.m_pageStack->currentIndex(), 1); // the page with the field is shown
    QCOMPARE(QApplication::focusWidget(), tab.m_plottedUnitsEdit);

    // No device: the device takes the focus only when its page is showing.
    tab.m_plottedUnitsEdit->setText(QStringLiteral("1"));
    tab.m_saveRoutineButton->click();
    QCOMPARE(env.dialogs().messages().size(), 2);
    QCOMPARE(QApplication::focusWidget(), tab.m_plottedUnitsEdit);
    tab.m_pageTabBar->setCurrentIndex(0);
    tab.m_saveRoutineButton->click();
    QCOMPARE(env.dialogs().messages().size(), 3);
    QVERIFY(tab.m_deviceCombo->hasFocus());

    tab.m_deviceCombo->setEditText(QStringLiteral("DWG To PDF.pc3"));
    tab.m_offsetYEdit->clear();
    tab.m_saveRoutineButton->click();
    QCOMPARE(QString::fromStdString(env.dialogs().messages().last().text),
             QStringLiteral("Please enter a Plot Offset"));
    QCOMPARE(QApplication::focusWidget(), tab.m_offsetYEdit);

    // A text holding a line break (pasted, or set by a caller) is refused at its own box, on its own page.
    tab.m_offsetXEdit->setText(QStringLiteral("0.00"));
    tab.m_offsetYEdit->setText(QStringLiteral("0.00"));
    tab.m_paperEdit->setText(QStringLiteral("two\nlines"));
    tab.m_saveRoutineButton->click();
    QCOMPARE(QString::fromStdString(env.dialogs().messages().last().text),
             QStringLiteral("The paper size cannot hold a line break."));
    QCOMPARE(QApplication::focusWidget(), tab.m_paperEdit);
    tab.m_paperEdit->setText(QStringLiteral("<Default>"));
    tab.m_styleTableCombo->setEditText(QStringLiteral("two\nlines"));
    tab.m_saveRoutineButton->click();
    QCOMPARE(QString::fromStdString(env.dialogs().messages().last().text),
             QStringLiteral("The plot style table cannot hold a line break."));
    QCOMPARE(QApplication::focusWidget(), tab.m_styleTableCombo);
    QCOMPARE(built.size(), 1);
}

void DetailedPlotTabTest::browsesStyleListsAndCustomPapers()
{
    GuiEnvironment env("Cad2018");
    for (const char* name : {"b.ctb", "a.CTB", "named.stb"})
        writeFile(env.file(QStringLiteral("cad/Plot Styles/") + QString::fromLatin1(name)));
    storeSetting("Acad_Address", "AcadAddress", env.file(QStringLiteral("cad/acad.exe")).toStdString());
    DetailedPlotTab tab;
    tab.setUp();

    QCOMPARE(itemTexts(tab.m_styleTableCombo), (QStringList{QStringLiteral("a.CTB"), QStringLiteral("b.ctb")}));
    QCOMPARE(tab.m_styleTableCombo->currentText(), QStringLiteral("<Default>"));
    click(tab.m_styleKindButtons, 1);
    QCOMPARE(itemTexts(tab.m_styleTableCombo), QStringList{QStringLiteral("named.stb")});

    env.dialogs().queueFiles({env.file(QStringLiteral("elsewhere/Big Plotter.pc3"))});
    tab.m_browsePlotterButton->click();
    const auto call = env.dialogs().calls().last();
    QCOMPARE(call.title, QStringLiteral("Select Plotter Configuration File"));
    QCOMPARE(call.filter, QStringLiteral("Plotter Configuration File (*.pc3)|*.pc3"));
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Big Plotter.pc3"));
    QVERIFY(tab.m_paperStandardCombo->isEnabled());
    QCOMPARE(tab.m_paperStandardCombo->currentText(), QStringLiteral("Manually Enter Size"));
    QCOMPARE(tab.m_paperStandardCombo->count(), 8);
    // Cancel changes nothing.
    tab.m_browsePlotterButton->click();
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Big Plotter.pc3"));

    // A standard fills the paper list; "Manually Enter Size" keeps the typed paper.
    tab.m_paperEdit->setText(QStringLiteral("My Sheet"));
    chooseText(tab.m_paperStandardCombo, QStringLiteral("ISO"));
    QCOMPARE(tab.m_paperCombo->count(), 47);
    QCOMPARE(tab.m_paperCombo->currentText(), QStringLiteral("Select ISO Size"));
    QCOMPARE(tab.m_paperLabel->text(), QStringLiteral("Select paper size"));
    chooseText(tab.m_paperStandardCombo, QStringLiteral("Manually Enter Size"));
    QVERIFY(!tab.m_paperEdit->isHidden());
    QCOMPARE(tab.m_paperEdit->text(), QStringLiteral("My Sheet"));
    QCOMPARE(tab.m_paperLabel->text(), QStringLiteral("Enter paper size"));

    env.dialogs().queueFiles({env.file(QStringLiteral("cad/Plot Styles/named.stb"))});
    tab.m_browseStyleTableButton->click();
    QCOMPARE(env.dialogs().calls().last().filter,
             QStringLiteral("Named Plot Style (*.stb)|*.stb|Color Dependent Plot Style (*.ctb)|*.ctb"));
    QCOMPARE(tab.m_styleTableCombo->currentText(), QStringLiteral("named.stb"));

    // The custom paper list, filled through its own dialog.
    chooseText(tab.m_paperStandardCombo, QStringLiteral("Custom List"));
    QCOMPARE(tab.m_paperCombo->currentText(), QStringLiteral("No Custom Sizes"));

    whenModalOpens<AddPaperDialog>(&tab, [&env](AddPaperDialog* dialog) {
        QVERIFY(!dialog->m_removeButton->isEnabled());
        dialog->m_addPaperButton->click(); // nothing typed (the dialog's rules are PaperSizesTest's)
        QCOMPARE(QString::fromStdString(env.dialogs().messages().last().text),
                 QStringLiteral("Please Enter a Paper Size"));
        dialog->m_newPaperEdit->setText(QStringLiteral("  Roll 914 "));
        dialog->m_addPaperButton->click();
        QVERIFY(dialog->m_newPaperEdit->text().isEmpty());
        dialog->m_newPaperEdit->setText(QStringLiteral("Sheet B"));
        dialog->m_addPaperButton->click();
        QCOMPARE(dialog->m_customPaperList->count(), 2);
        dialog->m_customPaperList->setCurrentRow(1);
        QVERIFY(dialog->m_removeButton->isEnabled());
        dialog->m_removeButton->click();
        QCOMPARE(dialog->m_customPaperList->count(), 1);
        dialog->m_okButton->click();
    });
    tab.m_addCustomPaperButton->click();

    QCOMPARE(readFile(env.file(QStringLiteral("NewPaper.txt"))), QByteArray("\"Roll 914\"\r\n"));
    QCOMPARE(tab.m_customPaperAddedFlag, QStringLiteral("Yes"));
    QCOMPARE(itemTexts(tab.m_paperCombo), QStringList{QStringLiteral("Roll 914")});
    QCOMPARE(tab.m_paperCombo->currentText(), QStringLiteral("Select Custom Size"));

    // Cancel leaves the file as it was.
    whenModalOpens<AddPaperDialog>(&tab, [](AddPaperDialog* dialog) {
        dialog->m_newPaperEdit->setText(QStringLiteral("Lost"));
        dialog->m_addPaperButton->click();
        dialog->m_cancelButton->click();
    });
    tab.m_addCustomPaperButton->click();
    QCOMPARE(readFile(env.file(QStringLiteral("NewPaper.txt"))), QByteArray("\"Roll 914\"\r\n"));
}

void DetailedPlotTabTest::aPrintSystemThatIsDownNeverHoldsTheEditor()
{
    GuiEnvironment env;
    writeFile(env.file(QStringLiteral("cad/Plotters/DWG To PDF.pc3")));
    storeSetting("Acad_Address", "AcadAddress", env.file(QStringLiteral("cad/acad.exe")).toStdString());
    PlotDeviceList& list = PlotDeviceList::instance();
    QElapsedTimer timer;
    timer.start();
    list.build(programState().settings);
    QVERIFY(timer.elapsed() < 1000);
    // The plotter files are there at once; the printers follow when the print system answers.
    QVERIFY(!list.devices().empty());
    QCOMPARE(list.devices().back().name, std::string("DWG To PDF.pc3"));
    QVERIFY(list.waitForPrinters(20000));
    QCOMPARE(list.devices().size(), std::size_t(1));
    list.release();
    QVERIFY(list.devices().empty());
}

void DetailedPlotTabTest::closesWithTheFocusInAListBox()
{
    // The list boxes finish their editing when the closing tab takes their focus away; their handlers must not
    // run on the half-destroyed tab (the sanitizer build reports that as a fault).
    GuiEnvironment env("Cad2018");
    for (const bool styleBox : {false, true}) {
        auto tab = std::make_unique<DetailedPlotTab>();
        tab->setUp();
        tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(tab.get()));
        QComboBox* box = styleBox ? tab->m_styleTableCombo : tab->m_deviceCombo;
        tab->m_pageTabBar->setCurrentIndex(styleBox ? 1 : 0);
        box->setFocus();
        box->setEditText(QString());
        QVERIFY(box->lineEdit()->hasFocus());
        tab.reset();
    }
}

QTEST_MAIN(DetailedPlotTabTest)
#include "DetailedPlotTabTest.moc"
