// The builder tabs of the routine editor for page setups (plot and import), purges and Save As / DXF: what they
// offer per product, their checks and the routine text they hand on. (The detailed plot tab has its own test.)
#include "builders/ImportPageSetupTab.h"
#include "builders/PageSetupPlotTab.h"
#include "builders/PlotDeviceList.h"
#include "builders/PurgeTab.h"
#include "builders/SaveAsTab.h"
#include "support/GuiTestSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace qv;
using namespace qv::test;

class BuilderTabsTest final : public QObject
{
    Q_OBJECT

private slots:
    void pageSetupFollowsTheProduct_data();
    void pageSetupFollowsTheProduct();
    void pageSetupBrowsesChecksAndRoutine();
    void pageSetupImportChecksAndLoadAll();
    void purgeSetUpFollowsTheProduct_data();
    void purgeSetUpFollowsTheProduct();
    void purgeRoutineFollowsTheTicks();
    void saveAsSetUpFollowsTheProduct_data();
    void saveAsSetUpFollowsTheProduct();
    void saveAsMessagesFolderAndRefusal();
    void release13CannotBuild();
};

namespace {

UserMessage exclamation(const char* text, const char* title)
{
    return {text, title, MessageIcon::Exclamation, MessageButtons::Ok};
}

} // namespace

void BuilderTabsTest::pageSetupFollowsTheProduct_data()
{
    // A full product from 2000 and one without AutoLISP show each setting both ways; what every product gets is
    // PageSetupRoutineTest's table.
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("allTabs");
    QTest::newRow("2018") << "Cad2018" << true;
    QTest::newRow("Bricscad") << "Bricscad" << false;
}

void BuilderTabsTest::pageSetupFollowsTheProduct()
{
    QFETCH(QString, code);
    QFETCH(bool, allTabs);
    GuiEnvironment env(code.toStdString());
    // Two plotter configurations in the CAD folder's "Plotters" folder make the device list.
    for (const char* name : {"A1 Plotter.pc3", "DWF6 ePlot.pc3"})
        writeFile(env.file(QStringLiteral("CAD/Plotters/") + QString::fromLatin1(name)));
    storeSetting("Acad_Address", "AcadAddress", toStd(env.file(QStringLiteral("CAD/acad.exe"))));
    PlotDeviceList::instance().build(programState().settings);

    PageSetupPlotTab tab;
    tab.setUp();
    QCOMPARE(tab.m_pageSetupPlotGroup->title(),
             QString::fromLatin1(allTabs ? "Plot Using Page Setup" : "Plot Using Page Setup in Rel 2000 - 2002"));
    QCOMPARE(tab.m_allTabsCheck->isEnabled(), allTabs);
    QCOMPARE(tab.m_lispNoteLabel->isVisibleTo(&tab), !allTabs);
    QCOMPARE(tab.m_pageSetupSourceButtons->checkedId(), 0);
    QVERIFY(!tab.m_sourceDrawingEdit->isEnabled());
    QVERIFY(!tab.m_browseDrawingButton->isEnabled());
    QCOMPARE(tab.m_copiesCombo->count(), 10);
    QCOMPARE(tab.m_copiesCombo->itemText(9), QStringLiteral("10"));
    QCOMPARE(tab.m_copiesCombo->currentText(), QStringLiteral("1"));
    QVERIFY(!tab.m_copiesCombo->isEditable());
    QCOMPARE(tab.m_setUpFlag, QStringLiteral("yes"));
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Select Plotter"));
    QVERIFY(tab.m_deviceCombo->findText(QStringLiteral("A1 Plotter.pc3")) >= 0);
    QVERIFY(tab.m_deviceCombo->findText(QStringLiteral("DWF6 ePlot.pc3")) >= 0);

    // The printers arrive later: the list refills and keeps what the user chose.
    tab.m_deviceCombo->setCurrentIndex(tab.m_deviceCombo->findText(QStringLiteral("DWF6 ePlot.pc3")));
    PlotDeviceList::instance().waitForPrinters(10000);
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("DWF6 ePlot.pc3"));
    PlotDeviceList::instance().release();
}

void BuilderTabsTest::pageSetupBrowsesChecksAndRoutine()
{
    GuiEnvironment env("Cad2018");
    storeSetting("Acad_Address", "AcadAddress", toStd(env.file(QStringLiteral("acad.exe"))));
    PageSetupPlotTab tab;
    tab.setUp();
    tab.m_pageSetupSourceButtons->button(1)->click();
    for (QWidget* control : std::initializer_list<QWidget*>{tab.m_sourceDrawingEdit, tab.m_browseDrawingButton,
                                                            tab.m_sourceDrawingLabel, tab.m_redefineNoteLabel})
        QVERIFY(control->isEnabled());

    env.dialogs().queueFiles({QStringLiteral("/standards/Std.dwg")});
    tab.m_browseDrawingButton->click();
    QCOMPARE(tab.m_sourceDrawingEdit->text(), QDir::toNativeSeparators(QStringLiteral("/standards/Std.dwg")));
    tab.m_browseDrawingButton->click(); // cancelled: the box is emptied
    QCOMPARE(tab.m_sourceDrawingEdit->text(), QString());
    const auto calls = env.dialogs().calls();
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[0].title, QStringLiteral("Select Drawing File"));
    QCOMPARE(calls[0].filter, QStringLiteral("Drawing Files(*.dwg)|*.dwg|Template Files(*.dwt)|*.dwt"));

    env.dialogs().queueFiles({QStringLiteral("/cad/Plotters/Big Plotter.pc3")});
    tab.m_browsePlotterButton->click();
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Big Plotter.pc3"));
    tab.m_browsePlotterButton->click(); // cancelled: the device stays
    QCOMPARE(tab.m_deviceCombo->currentText(), QStringLiteral("Big Plotter.pc3"));
    QCOMPARE(env.dialogs().calls()[2].title, QStringLiteral("Select Plotter Configuration File"));

    tab.m_pageSetupSourceButtons->button(0)->click();
    QVERIFY(!tab.m_sourceDrawingEdit->isEnabled());
    QVERIFY(!tab.m_redefineNoteLabel->isEnabled());

    // The checks show their message and focus their field; the tab keeps what was typed.
    QSignalSpy built(&tab, &PageSetupPlotTab::routineBuilt);

    tab.m_pageSetupNameEdit->setText(QStringLiteral("   "));
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 0);
    auto messages = env.dialogs().messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0], plottingInformationMessage());
    QCOMPARE(messages[1], exclamation("Please enter a PageSetup Name", "Page Setup"));
    QCOMPARE(tab.focusWidget(), tab.m_pageSetupNameEdit);

    tab.m_pageSetupNameEdit->setText(QStringLiteral("A1-Plot"));
    tab.m_pageSetupSourceButtons->button(1)->click();
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 0);
    messages = env.dialogs().messages();
    QCOMPARE(messages.size(), 4);
    QCOMPARE(messages[3], exclamation("Please select a drawing", "Page Setup Error"));
    QCOMPARE(tab.focusWidget(), tab.m_sourceDrawingEdit);
    QCOMPARE(tab.m_pageSetupNameEdit->text(), QStringLiteral("A1-Plot")); // the tab keeps its contents

    // Put right, the routine reads every control: the import, two copies, the page setup's own device, a file.
    tab.m_sourceDrawingEdit->setText(QStringLiteral("C:\\Std.dwg"));
    tab.m_copiesCombo->setCurrentText(QStringLiteral("2"));
    tab.m_deviceCombo->setEditText(QStringLiteral("<Default>"));
    tab.m_plotToFileCheck->setChecked(true);
    tab.m_saveRoutineButton->click();
    QCOMPARE(env.dialogs().messages().size(), 5); // the information only
    QCOMPARE(built.count(), 1);
    const QString once =
        QStringLiteral("_Expert\r\n2\r\n_-psetupin\r\n\"C:\\Std.dwg\"\r\n\"A1-Plot\"\r\n_Expert\r\n0\r\n"
                       "_-plot\r\n_No\r\n\r\nA1-Plot\r\n\r\n_Yes\r\n\r\n\r\n_Yes");
    QCOMPARE(built[0][0].toString(), once + QStringLiteral("\r\n") + once);
}

void BuilderTabsTest::pageSetupImportChecksAndLoadAll()
{
    GuiEnvironment env;
    ImportPageSetupTab tab;
    tab.showCaption();
    QCOMPARE(tab.m_importPageSetupGroup->title(), QStringLiteral("Import Page Setup"));
    QSignalSpy built(&tab, &ImportPageSetupTab::routineBuilt);
    QCOMPARE(tab.m_loadScopeButtons->button(1)->text(), QStringLiteral("Load All"));
    QCOMPARE(tab.m_loadScopeButtons->button(0)->text(), QStringLiteral("Load Individual"));

    tab.m_pageSetupNamesEdit->setText(QStringLiteral("A1-Plot"));
    tab.m_saveRoutineButton->click();
    QCOMPARE(env.dialogs().messages().last(), exclamation("Please select a drawing", "Page Setup Error"));
    QCOMPARE(tab.focusWidget(), tab.m_sourceDrawingEdit);

    env.dialogs().queueFiles({QStringLiteral("/standards/Std.dwg")});
    tab.m_browseDrawingButton->click();
    tab.m_pageSetupNamesEdit->clear();
    tab.m_saveRoutineButton->click();
    QCOMPARE(env.dialogs().messages().last(), exclamation("Please select a Page Setup name", "Page Setup Error"));
    QCOMPARE(tab.focusWidget(), tab.m_pageSetupNamesEdit);
    QCOMPARE(built.count(), 0);

    tab.m_loadScopeButtons->button(1)->click();
    QCOMPARE(tab.m_pageSetupNamesEdit->text(), QStringLiteral("*"));
    QVERIFY(!tab.m_pageSetupNamesEdit->isEnabled());
    QVERIFY(!tab.m_severalNamesNoteLabel->isEnabled());
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 1);
    const QString drawing = QDir::toNativeSeparators(QStringLiteral("/standards/Std.dwg"));
    QCOMPARE(built[0][0].toString(), QStringLiteral("_Expert\r\n2\r\n_-psetupin\r\n\"") + drawing +
                                         QStringLiteral("\"\r\n\"*\"\r\n_Qsave\r\n_Expert\r\n0"));

    tab.m_loadScopeButtons->button(0)->click();
    QVERIFY(tab.m_pageSetupNamesEdit->isEnabled());
    QCOMPARE(tab.m_pageSetupNamesEdit->text(), QString());
}

void BuilderTabsTest::purgeSetUpFollowsTheProduct_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("offered");
    QTest::addColumn<QString>("caption");
    // Each setting both ways; what every product gets is PurgeRoutineTest's table.
    QTest::newRow("2018") << "Cad2018" << 18 << "Purge";
    QTest::newRow("LT98") << "CadLT98" << 7 << "Purge in LT 97/98";
}

void BuilderTabsTest::purgeSetUpFollowsTheProduct()
{
    QFETCH(QString, code);
    QFETCH(int, offered);
    QFETCH(QString, caption);
    GuiEnvironment env(code.toStdString());
    PurgeTab tab;
    tab.setUp();
    QCOMPARE(tab.m_purgeGroup->title(), caption);
    for (int i = 0; i < kPurgeItemCount; ++i) {
        auto* box = qobject_cast<QCheckBox*>(tab.m_itemButtons->button(i));
        QCOMPARE(box->objectName(), QStringLiteral("chkPurge_%1").arg(i));
        QCOMPARE(box->isVisibleTo(&tab), i < offered);
        QCOMPARE(box->isChecked(), i < offered);
    }
    QCOMPARE(tab.m_itemButtons->button(7)->text(), QStringLiteral("Plot  Styles"));
    QCOMPARE(tab.m_passesCombo->count(), 10);
    QCOMPARE(tab.m_passesCombo->currentText(), QStringLiteral("3"));
    QVERIFY(!tab.m_passesCombo->isEditable());
    QCOMPARE(tab.m_toggleAllButton->text(), QStringLiteral("Clear All"));
    QCOMPARE(tab.m_allTickedFlag, QStringLiteral("Yes"));
    QCOMPARE(tab.m_setUpFlag, QStringLiteral("yes"));
    QVERIFY(tab.m_saveRoutineButton->isEnabled());

    // Clear All, then Select All: only the offered items are ticked again.
    tab.m_toggleAllButton->click();
    QCOMPARE(tab.m_toggleAllButton->text(), QStringLiteral("Select All"));
    QCOMPARE(tab.m_allTickedFlag, QStringLiteral("No"));
    for (int i = 0; i < kPurgeItemCount; ++i)
        QVERIFY(!tab.m_itemButtons->button(i)->isChecked());
    tab.m_toggleAllButton->click();
    QCOMPARE(tab.m_toggleAllButton->text(), QStringLiteral("Clear All"));
    QCOMPARE(tab.m_allTickedFlag, QStringLiteral("Yes"));
    for (int i = 0; i < kPurgeItemCount; ++i)
        QCOMPARE(tab.m_itemButtons->button(i)->isChecked(), i < offered);
}

void BuilderTabsTest::purgeRoutineFollowsTheTicks()
{
    GuiEnvironment env("Cad2013");
    PurgeTab tab;
    tab.setUp();
    QSignalSpy built(&tab, &PurgeTab::routineBuilt);
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 1);
    const QString all = QStringLiteral("_purge\r\n_A\r\n*\r\n_N");
    QCOMPARE(built[0][0].toString(),
             all + QStringLiteral("\r\n") + all + QStringLiteral("\r\n") + all + QStringLiteral("\r\n_Qsave"));

    // Nothing ticked is refused.
    tab.m_toggleAllButton->click();
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 1);
    QCOMPARE(
        env.dialogs().messages(),
        QList{exclamation("You must select some objects to purge before you can save the routine.", "Purge Error")});

    // Only "Empty Text Objects" ticked by hand, one pass: the single-item form.
    tab.m_itemButtons->button(12)->click();
    tab.m_passesCombo->setCurrentText(QStringLiteral("1"));
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 2);
    QCOMPARE(built[1][0].toString(), QStringLiteral("_purge\r\n_E\r\n_Qsave"));
    QCOMPARE(tab.m_allTickedFlag, QStringLiteral("No"));
}

void BuilderTabsTest::saveAsSetUpFollowsTheProduct_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("dxfShown");
    QTest::addColumn<QString>("dxfAccuracy");
    QTest::addColumn<bool>("preview");
    // Each setting both ways; what every product gets is SaveAsRoutineTest's table. LT98 keeps the accuracy shown.
    QTest::newRow("2018") << "Cad2018" << 7 << "AutoCAD 2018/LT2018 Drawing" << true << "AutoCAD 2018/LT2018 Dxf"
                          << "16" << true;
    QTest::newRow("LT98") << "CadLT98" << 2 << "AutoCAD R13/LT95 Drawing" << false << "AutoCAD R14/LT98/LT97 Dxf"
                          << "6" << false;
}

void BuilderTabsTest::saveAsSetUpFollowsTheProduct()
{
    QFETCH(QString, code);
    QFETCH(int, count);
    QFETCH(QString, shown);
    QFETCH(bool, folder);
    QFETCH(QString, dxfShown);
    QFETCH(QString, dxfAccuracy);
    QFETCH(bool, preview);
    GuiEnvironment env(code.toStdString());
    SaveAsTab tab;
    tab.setUp();
    QCOMPARE(tab.m_setUpFlag, QStringLiteral("yes"));
    QCOMPARE(tab.m_saveAsGroup->title(), QStringLiteral("Save As Drawing"));
    QCOMPARE(tab.m_fileKindButtons->checkedId(), 0);
    QCOMPARE(tab.m_dxfFormatButtons->checkedId(), 0);
    QCOMPARE(tab.m_releaseCombo->count(), count);
    QCOMPARE(tab.shownRelease(), shown);
    QVERIFY(!tab.m_releaseCombo->isEditable());
    QCOMPARE(itemTexts(tab.m_accuracyCombo).size(), 16);
    QCOMPARE(tab.m_accuracyCombo->currentText(), QStringLiteral("6"));
    QVERIFY(!tab.m_accuracyCombo->isEditable());
    QVERIFY(!tab.m_dxfFormatGroup->isVisibleTo(&tab));
    QVERIFY(!tab.m_previewCheck->isVisibleTo(&tab));
    QCOMPARE(tab.m_folderEdit->text(), QStringLiteral("<Default>"));
    QCOMPARE(tab.m_folderEdit->isEnabled(), folder);
    QCOMPARE(tab.m_browseFolderButton->isEnabled(), folder);
    QCOMPARE(tab.m_lispNoteLabel->isVisibleTo(&tab), !folder);
    QVERIFY(tab.m_saveRoutineButton->isEnabled());

    // The DXF type has its own list and controls; binary has no accuracy.
    tab.m_fileKindButtons->button(1)->click();
    QCOMPARE(tab.m_saveAsGroup->title(), QStringLiteral("Save As DXF"));
    QCOMPARE(itemTexts(tab.m_releaseCombo).first(), dxfShown);
    QCOMPARE(tab.m_accuracyCombo->currentText(), dxfAccuracy);
    QVERIFY(tab.m_dxfFormatGroup->isVisibleTo(&tab));
    QCOMPARE(tab.m_previewCheck->isVisibleTo(&tab), preview);
    tab.m_dxfFormatButtons->button(1)->click();
    QVERIFY(!tab.m_accuracyCombo->isEnabled());
    tab.m_dxfFormatButtons->button(0)->click();
    QVERIFY(tab.m_accuracyCombo->isEnabled());
    tab.m_fileKindButtons->button(0)->click();
    QCOMPARE(tab.shownRelease(), shown);
    QVERIFY(!tab.m_dxfFormatGroup->isVisibleTo(&tab));
}

void BuilderTabsTest::saveAsMessagesFolderAndRefusal()
{
    GuiEnvironment env("Cad2007");
    SaveAsTab tab;
    tab.setUp();
    QSignalSpy built(&tab, &SaveAsTab::routineBuilt);
    // The text shown first names the product's own release; without a folder the user is told of the overwrite.
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 1);
    QCOMPARE(built[0][0].toString(), QStringLiteral("_saveas\r\n2007\r\n"));
    QCOMPARE(env.dialogs().messages().size(), 1);
    const UserMessage notice = env.dialogs().messages().first();
    QCOMPARE(notice.title, std::string("Save As Drawing"));
    QVERIFY(notice.icon == MessageIcon::Information);
    QVERIFY(notice.text.find("specifing a folder") != std::string::npos);

    // A DXF of lower precision is warned of, and built all the same; binary has no precision to warn of.
    tab.m_fileKindButtons->button(1)->click();
    tab.m_releaseCombo->setCurrentText(QStringLiteral("AutoCAD 2000/LT2000 Dxf"));
    tab.m_accuracyCombo->setCurrentText(QStringLiteral("8"));
    tab.m_previewCheck->setChecked(true);
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 2);
    QCOMPARE(built[1][0].toString(), QStringLiteral("_dxfout \r\n_P\r\n_Yes\r\n_V\r\n2000\r\n8"));
    QCOMPARE(env.dialogs().messages().last().title, std::string("Dxf Message")); // its text is the core's
    tab.m_dxfFormatButtons->button(1)->click();
    tab.m_saveRoutineButton->click();
    QCOMPARE(built[2][0].toString(), QStringLiteral("_dxfout \r\n_P\r\n_Yes\r\n_V\r\n2000\r\n_B"));
    QCOMPARE(env.dialogs().messages().size(), 2);

    // A drawing into a chosen folder: no message.
    tab.m_fileKindButtons->button(0)->click();
    env.dialogs().queueFolder(env.folder());
    tab.m_browseFolderButton->click();
    QCOMPARE(tab.m_folderEdit->text(), QDir::toNativeSeparators(env.folder()));
    QCOMPARE(env.dialogs().calls().last().title, QStringLiteral("Select Folder to Save to"));
    tab.m_browseFolderButton->click(); // cancelled: the folder stays
    QCOMPARE(tab.m_folderEdit->text(), QDir::toNativeSeparators(env.folder()));

    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 4);
    QVERIFY(built[3][0].toString().endsWith(QStringLiteral("\r\n_saveas\r\n2007\r\n!draw_name")));
    QCOMPARE(env.dialogs().messages().size(), 2);

    tab.m_folderEdit->setText(QStringLiteral("C:\\Old \"Drawings\""));
    tab.m_saveRoutineButton->click();
    QCOMPARE(built.count(), 4);
    QCOMPARE(env.dialogs().messages().last().text,
             std::string("The folder name cannot hold a double quote or a line break:\r\nC:\\Old \"Drawings\""));
    QCOMPARE(tab.focusWidget(), tab.m_folderEdit);
}

void BuilderTabsTest::release13CannotBuild()
{
    // Neither the purge nor the Save As builder can make a routine for release 13: the caption says so and the
    // controls are off, whatever file type is chosen.
    GuiEnvironment env("Cad13");
    PurgeTab purge;
    purge.setUp();
    SaveAsTab saveAs;
    saveAs.setUp();
    QCOMPARE(purge.m_purgeGroup->title(), QStringLiteral("Not available in AutoCAD 13"));
    QCOMPARE(saveAs.m_saveAsGroup->title(), QStringLiteral("This option is unavailable in R13"));
    QCOMPARE(saveAs.m_releaseCombo->count(), 0);
    for (QWidget* control : std::initializer_list<QWidget*>{
             purge.m_saveRoutineButton, purge.m_toggleAllButton, purge.m_passesCombo, saveAs.m_saveRoutineButton,
             saveAs.m_releaseCombo, saveAs.m_browseFolderButton, saveAs.m_releaseLabel, saveAs.m_folderLabel})
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    saveAs.m_fileKindButtons->button(1)->click();
    QCOMPARE(saveAs.m_saveAsGroup->title(), QStringLiteral("This option is unavailable in R13"));
    QVERIFY(!saveAs.m_saveRoutineButton->isEnabled());
}

QTEST_MAIN(BuilderTabsTest)
#include "BuilderTabsTest.moc"
