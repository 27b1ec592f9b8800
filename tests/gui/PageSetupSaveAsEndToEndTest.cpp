// Page-setup plot, page-setup import, Save As and DXF routines built through the editor's real tabs,
// saved into the routine database, assigned to drawings in a list file and run by the real quorvel
// program through the stand-in CAD host: the host must accept every line and write every output, for
// every product family.
#include "builders/ImportPageSetupTab.h"
#include "builders/PageSetupPlotTab.h"
#include "builders/SaveAsTab.h"
#include "routines/RoutineEditor.h"
#include "routines/SaveRoutineDialog.h"
#include "support/GuiTestSupport.h"
#include "support/HostRun.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace qv;
using namespace qv::test;

class PageSetupSaveAsEndToEndTest final : public QObject
{
    Q_OBJECT

private slots:
    void hostRunsEveryRoutine_data();
    void hostRunsEveryRoutine();
};

namespace {

// Presses a builder's save button and names the routine in the save dialog that opens.
void saveThrough(QPushButton* save, const QString& name)
{
    QTimer::singleShot(0, save, [name] {
        auto* dialog = qobject_cast<SaveRoutineDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->m_nameEdit->setText(name);
        dialog->m_saveButton->click();
    });
    save->click();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

void PageSetupSaveAsEndToEndTest::hostRunsEveryRoutine_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("drawingRelease");
    QTest::addColumn<QString>("dxfRelease");
    QTest::addColumn<bool>("binary");
    QTest::newRow("2000") << "Cad2000"
                          << "AutoCAD R14/LT98/LT97 Drawing"
                          << "AutoCAD R12/LT2 Dxf" << false;
    QTest::newRow("2007") << "Cad2007"
                          << "AutoCAD 2004/LT2004 Drawing"
                          << "AutoCAD 2007/LT2007 Dxf" << true;
    QTest::newRow("2013") << "Cad2013"
                          << "AutoCAD 2007/LT2007 Drawing"
                          << "AutoCAD 2013/LT2013 Dxf" << false;
    QTest::newRow("2018") << "Cad2018"
                          << "AutoCAD 2013/LT2013 Drawing"
                          << "AutoCAD 2000/LT2000 Dxf" << false;
    QTest::newRow("LT2000") << "CadLT2000"
                            << "AutoCAD R14/LT98/LT97 Drawing"
                            << "AutoCAD 2000/2002 LT2000/2002 Dxf" << true;
    QTest::newRow("LT2010") << "CadLT2010"
                            << "AutoCAD 2010/LT2010 Drawing"
                            << "AutoCAD R12/LT2 Dxf" << true;
    QTest::newRow("LT2018") << "CadLT2018"
                            << "AutoCAD 2000/LT2000 Drawing"
                            << "AutoCAD 2018/LT2018 Dxf" << false;
    QTest::newRow("Bricscad") << "Bricscad"
                              << "AutoCAD R14/LT98/LT97 Drawing"
                              << "AutoCAD R14/LT98/LT97 Dxf" << false;
    QTest::newRow("ZWCAD") << "ZWCAD"
                           << "AutoCAD R14/LT98/LT97 Drawing"
                           << "AutoCAD 2000/2002 LT2000/2002 Dxf" << true;
}

void PageSetupSaveAsEndToEndTest::hostRunsEveryRoutine()
{
    QFETCH(QString, product);
    QFETCH(QString, drawingRelease);
    QFETCH(QString, dxfRelease);
    QFETCH(bool, binary);
    GuiEnvironment env;
    const QString out = env.file(QStringLiteral("Out"));
    QVERIFY(QDir().mkpath(out));
    useStandInHost(env, product);

    // The drawings declare their tabs and page setups to the stand-in host.
    const QString standard = env.file(QStringLiteral("Standard.dwg"));
    writeFile(standard, "CADHOST pagesetups=Std-A1=Default%20Windows%20System%20Printer.pc3,Std%20A3=Default%20"
                        "Windows%20System%20Printer.pc3\r\nDWG");
    writeFile(env.file(QStringLiteral("One.dwg")), "CADHOST tab=Layout1 layouts=Layout1,Layout2\r\nDWG");
    writeFile(env.file(QStringLiteral("Two.dwg")), "CADHOST pagesetups=Std-A1\r\nDWG");
    writeFile(env.file(QStringLiteral("Three.dwg")), "DWG");
    writeFile(env.file(QStringLiteral("Four.dwg")), "DWG");

    RoutineEditor editor;
    programState().editorTab = RoutineEditor::TabPlotPage;
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
    plot->m_pageSetupNameEdit->setText(QStringLiteral("Std A3"));
    plot->m_allTabsCheck->setChecked(allTabs);
    plot->m_plotToFileCheck->setChecked(true);
    plot->m_copiesCombo->setCurrentText(QStringLiteral("2"));
    saveThrough(plot->m_saveRoutineButton, QStringLiteral("Page Plot"));

    // Tab 6: every page setup of the standard drawing.
    editor.selectTab(RoutineEditor::TabImportPageSetup);
    auto* import = editor.findChild<ImportPageSetupTab*>();
    import->m_loadScopeButtons->button(1)->click();
    env.dialogs().queueFiles({standard});
    import->m_browseDrawingButton->click();
    saveThrough(import->m_saveRoutineButton, QStringLiteral("Import All"));

    // Tab 4: an older release and a DXF file, into the target folder where the product runs AutoLISP.
    editor.selectTab(RoutineEditor::TabSaveAs);
    auto* saveAs = editor.findChild<SaveAsTab*>();
    QVERIFY(saveAs->isSetUp());
    const bool folder = saveAs->m_folderEdit->isEnabled();
    if (folder) {
        env.dialogs().queueFolder(out);
        saveAs->m_browseFolderButton->click();
    }
    saveAs->m_releaseCombo->setCurrentText(drawingRelease);
    QCOMPARE(saveAs->shownRelease(), drawingRelease);
    saveThrough(saveAs->m_saveRoutineButton, QStringLiteral("Save Older"));
    saveAs->m_fileKindButtons->button(1)->click();
    saveAs->m_releaseCombo->setCurrentText(dxfRelease);
    QCOMPARE(saveAs->shownRelease(), dxfRelease);
    saveAs->m_dxfFormatButtons->button(binary ? 1 : 0)->click();
    saveThrough(saveAs->m_saveRoutineButton, QStringLiteral("Export DXF"));

    // Only the tabs' own information may have been shown (and, for BricsCAD and ZWCAD, the notice that the
    // page-setup wizards were written for AutoCAD): nothing refused, no check found a fault.
    for (const UserMessage& message : env.dialogs().messages()) {
        if (message.title != "Wizard Information")
            QVERIFY2(message.icon == MessageIcon::Information,
                     qPrintable(
                         QString::fromStdString(message.text).replace(QStringLiteral("\r\n"), QStringLiteral(" | "))));
    }
    for (const char* name : {"Page Plot", "Import All", "Save Older", "Export DXF"})
        QVERIFY2(editor.selectRoutine(QString::fromLatin1(name)), name);

    const QString text = runListThroughHost(env, {{QStringLiteral("One.dwg"), QStringLiteral("Page Plot")},
                                                  {QStringLiteral("Two.dwg"), QStringLiteral("Import All")},
                                                  {QStringLiteral("Three.dwg"), QStringLiteral("Save Older")},
                                                  {QStringLiteral("Four.dwg"), QStringLiteral("Export DXF")}});
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(!text.contains(QStringLiteral("\terror\t")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("0\texit\t-\t0 unmodelled=0")), qPrintable(text));

    // The plots: one per copy, and per layout where every layout is plotted, each to its file.
    QCOMPARE(int(text.count(QStringLiteral("\tpagesetups-imported\t"))), 3);
    QCOMPARE(int(text.count(QStringLiteral("pagesetup=Std A3 device=Default Windows System Printer.pc3 file="))),
             allTabs ? 4 : 2);
    QVERIFY(!QDir(env.folder()).entryList({QStringLiteral("One-Layout1.*")}).isEmpty());
    QCOMPARE(QDir(env.folder()).entryList({QStringLiteral("One-Layout2.*")}).isEmpty(), !allTabs);
    QVERIFY2(text.contains(QStringLiteral("\tpagesetups-imported\t") + env.file(QStringLiteral("Two.dwg")) +
                           QStringLiteral("\tStd-A1,Std A3")),
             qPrintable(text));

    // The older release and the DXF file, in the target folder when one was chosen.
    const QString three = env.file(QStringLiteral("Three.dwg"));
    if (folder) {
        QVERIFY(QFile::exists(out + QStringLiteral("/Three.dwg")));
        QVERIFY2(text.contains(QStringLiteral("\tsaved\t") + out + QStringLiteral("/Three.dwg\twritten as a copy of ") +
                               three),
                 qPrintable(text));
        QVERIFY(QFile::exists(out + QStringLiteral("/Four.dxf")));
    } else {
        QVERIFY2(text.contains(QStringLiteral("\tsaved\t") + three + QStringLiteral("\tmodification time set")),
                 qPrintable(text));
        QVERIFY(QFile::exists(env.file(QStringLiteral("Four.dxf"))));
    }
    QVERIFY2(text.contains(binary ? QStringLiteral(" binary") : QStringLiteral(" ASCII accuracy=16")),
             qPrintable(text));
}

QTEST_MAIN(PageSetupSaveAsEndToEndTest)
#include "PageSetupSaveAsEndToEndTest.moc"
