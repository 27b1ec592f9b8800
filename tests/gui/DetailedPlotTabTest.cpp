#include "builders/DetailedPlotTab.h"
#include "builders/PlotPrinter.h"
#include "builders/frmAddPaper.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

using namespace qv;
using namespace qv::test;

class DetailedPlotTabTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void preparationFollowsTheProduct_data();
    void preparationFollowsTheProduct();
    void modeAreaOrientationAndScaleRules();
    void unitsShadingAndFileOutputDevices();
    void checksShowTheirMessageAndFocusTheField();
    void savedRoutineIsTheTabsChoices();
    void browsesAndStyleLists();
    void customPaperDialog();
    void aPrintSystemThatIsDownNeverHoldsTheEditor();
    void closesWithTheFocusInAListBox();
};

namespace {

void UseProduct(const char* code)
{
    QVERIFY(Program().ini.WriteValue("Cad_Ver", "CadVer", code).ok());
}

QStringList Items(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

void Click(QButtonGroup* group, int id)
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
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("shadeFrame");
    QTest::addColumn<bool>("shadeEnabled");
    QTest::addColumn<QStringList>("shades");
    QTest::addColumn<QString>("hideCaption");
    QTest::addColumn<QString>("modelLayoutHint");
    const QString recommended = QStringLiteral("This option automatically detects Model and Layout tabs when plotting. Recommended");
    const QString ltHint = QStringLiteral("The Model/Layout option requires Lisp and is only available using AutoCAD full version.");
    const QStringList full = {QStringLiteral("As Displayed"), QStringLiteral("Wireframe"), QStringLiteral("Hidden"),
                              QStringLiteral("Rendered")};
    QTest::newRow("CadLT2010") << "CadLT2010" << 0 << true << false << full.mid(0, 3) << "Hide paperspace objects" << ltHint;
    QTest::newRow("Cad2018") << "Cad2018" << 2 << true << true << full << "Hide paperspace objects" << recommended;
    QTest::newRow("Bricscad") << "Bricscad" << 0 << false << false << QStringList{} << "Hide objects" << recommended;
}

void DetailedPlotTabTest::preparationFollowsTheProduct()
{
    QFETCH(QString, code);
    QFETCH(int, mode);
    QFETCH(bool, shadeFrame);
    QFETCH(bool, shadeEnabled);
    QFETCH(QStringList, shades);
    QFETCH(QString, hideCaption);
    QFETCH(QString, modelLayoutHint);
    GuiEnvironment env;
    UseProduct(code.toLatin1().constData());
    DetailedPlotTab tab;
    tab.InitDetailedPlotTab();

    QCOMPARE(tab.lblPlotDetailed, QStringLiteral("yes"));
    QCOMPARE(tab.fraPlotDetailed->title(), QStringLiteral("Detailed Plot Routine"));
    QCOMPARE(tab.optTilemode->checkedId(), mode);
    const bool automatic = mode == 2;
    QCOMPARE(tab.optTilemodeButtons[2]->isEnabled(), automatic);
    QCOMPARE(tab.chkAllLayouts->isEnabled(), automatic);
    QCOMPARE(!tab.LblLispExplain->isHidden(), !automatic);
    QCOMPARE(tab.txtLayoutName->text(), QStringLiteral("<Default>"));
    QCOMPARE(tab.txtLayoutName->isEnabled(), !automatic);
    QCOMPARE(!tab.fraShaded->isHidden(), shadeFrame);
    QCOMPARE(!tab.optUnitButtons[2]->isHidden(), shadeFrame);
    if (shadeFrame)
        QCOMPARE(tab.cboShade->isEnabled(), shadeEnabled);
    QCOMPARE(Items(tab.cboShade), shades);
    QCOMPARE(tab.chkRemovelines->text(), hideCaption);
    QCOMPARE(tab.lblstrModel_Layout->text(), modelLayoutHint);

    // What every product starts with.
    QCOMPARE(tab.txtPlot, QStringLiteral("_Display"));
    QCOMPARE(tab.txtOrient, QStringLiteral("_Landscape"));
    QCOMPARE(tab.lblUnits, QStringLiteral("_Inches"));
    QCOMPARE(tab.orientationPicture, 1);
    QVERIFY(!tab.cboStandards->isEnabled());
    QCOMPARE(tab.cboStandards->count(), 0);
    QCOMPARE(tab.CboPrinter->currentText(), QStringLiteral("Select Plotter"));
    QCOMPARE(tab.txtPaperSize->text(), QStringLiteral("<Default>"));
    QCOMPARE(tab.Label8->text(), QStringLiteral("Enter paper size"));
    QCOMPARE(tab.cmbScale->currentText(), QStringLiteral("Scaled to Fit"));
    QCOMPARE(tab.cmbScale->itemData(33).toInt(), 48); // the architectural entries carry their factor
    QCOMPARE(Items(tab.cmbNoCopies).size(), 10);
    QCOMPARE(tab.cmbNoCopies->currentText(), QStringLiteral("1"));
    QCOMPARE(tab.optCtb->checkedId(), 0);
    QCOMPARE(tab.cboPlotStyle->currentText(), QStringLiteral("<Default>"));
    QVERIFY(tab.chkPlotStyle->isChecked() && tab.chkpaperlast->isChecked() && tab.ChkPlotObject->isChecked());
    QVERIFY(tab.txtView->isHidden());
    QCOMPARE(tab.txtOffset_X->text(), QStringLiteral("0.00"));
    QCOMPARE(tab.txtOffset[0]->text(), QStringLiteral("Inches"));
}

void DetailedPlotTabTest::modeAreaOrientationAndScaleRules()
{
    GuiEnvironment env;
    UseProduct("Cad2018");
    DetailedPlotTab tab;
    tab.InitDetailedPlotTab();

    Click(tab.optTilemode, 1);
    QCOMPARE(tab.txtTilemode, QStringLiteral("_Model"));
    QCOMPARE(tab.txtLayoutName->text(), QStringLiteral("<Model>"));
    QVERIFY(!tab.txtLayoutName->isEnabled());
    QCOMPARE(tab.OptPlotAreaButtons[2]->text(), QStringLiteral("Limits"));
    QVERIFY(!tab.chkpaperlast->isEnabled() && !tab.chkScaleLine->isEnabled());
    Click(tab.OptPlotArea, 2);
    QCOMPARE(tab.txtPlot, QStringLiteral("_Limits"));

    tab.chkAllLayouts->setChecked(true);
    Click(tab.optTilemode, 0);
    QCOMPARE(tab.txtTilemode, QStringLiteral("_Layout"));
    QCOMPARE(tab.txtLayoutName->text(), QStringLiteral("<Default>"));
    QVERIFY(tab.txtLayoutName->isEnabled());
    QVERIFY(!tab.chkAllLayouts->isEnabled() && !tab.chkAllLayouts->isChecked());
    QVERIFY(!tab.cboShade->isEnabled());
    QCOMPARE(tab.txtPlot, QStringLiteral("Layout")); // the chosen area follows its new caption
    Click(tab.optTilemode, 1);
    QCOMPARE(tab.txtPlot, QStringLiteral("_Limits"));
    Click(tab.optTilemode, 0);
    Click(tab.OptPlotArea, 2);
    QCOMPARE(tab.txtPlot, QStringLiteral("Layout"));

    Click(tab.optTilemode, 2);
    QCOMPARE(tab.txtTilemode, QStringLiteral("_Layout")); // the automatic mode leaves the token alone
    QCOMPARE(tab.txtPlot, QStringLiteral("Layout"));
    QVERIFY(!tab.txtLayoutName->isEnabled());
    QVERIFY(tab.chkAllLayouts->isEnabled());
    QVERIFY(tab.cboShade->isEnabled());

    Click(tab.OptPlotArea, 3);
    QCOMPARE(tab.txtPlot, QStringLiteral("_View"));
    QVERIFY(!tab.txtView->isHidden());
    Click(tab.OptPlotArea, 1);
    QCOMPARE(tab.txtPlot, QStringLiteral("_Extents"));
    QVERIFY(tab.txtView->isHidden());

    // The four pictures follow orientation and upside-down.
    Click(tab.OptDwgOrient, 0);
    QCOMPARE(tab.txtOrient, QStringLiteral("_Portrait"));
    QCOMPARE(tab.orientationPicture, 0);
    tab.chkUpside->click();
    QCOMPARE(tab.orientationPicture, 3);
    Click(tab.OptDwgOrient, 1);
    QCOMPARE(tab.orientationPicture, 2);

    // Scale entries fill the boxes; typing makes the scale custom.
    const auto pick = [&tab](const QString& entry) {
        const int index = tab.cmbScale->findText(entry);
        QVERIFY(index >= 0);
        tab.cmbScale->setCurrentIndex(index);
        emit tab.cmbScale->activated(index);
    };
    pick(QStringLiteral("2:1"));
    QCOMPARE(tab.txtScale1->text() + QLatin1Char('=') + tab.txtScale2->text(), QStringLiteral("1=0.5"));
    pick(QStringLiteral("1:50"));
    QCOMPARE(tab.txtScale2->text(), QStringLiteral("50"));
    pick(QStringLiteral("Scaled to Fit"));
    QCOMPARE(tab.txtScale2->text(), QStringLiteral("1"));
    QCOMPARE(tab.cmbScale->currentText(), QStringLiteral("Scaled to Fit"));
    QTest::keyClick(tab.txtScale2, Qt::Key_4);
    QCOMPARE(tab.cmbScale->currentText(), QStringLiteral("Custom"));
    QCOMPARE(tab.txtScale2->text(), QStringLiteral("14"));

    tab.ChkPlotcenter->click();
    QVERIFY(!tab.txtOffset_X->isEnabled() && !tab.txtOffset_Y->isEnabled() && !tab.txtOffset[3]->isEnabled());
    tab.ChkPlotcenter->click();
    QVERIFY(tab.txtOffset_X->isEnabled());
}

void DetailedPlotTabTest::unitsShadingAndFileOutputDevices()
{
    GuiEnvironment env;
    UseProduct("Cad2018");
    DetailedPlotTab tab;
    tab.InitDetailedPlotTab();

    tab.cboShade->setCurrentText(QStringLiteral("Rendered"));
    QVERIFY(tab.CboQuality->isEnabled());
    tab.CboQuality->setCurrentText(QStringLiteral("Maximum"));
    tab.cboShade->setCurrentText(QStringLiteral("Hidden"));
    QVERIFY(!tab.CboQuality->isEnabled());
    QCOMPARE(tab.CboQuality->currentText(), QStringLiteral("Normal"));

    Click(tab.optUnit, 2);
    QCOMPARE(tab.lblUnits, QStringLiteral("_Pixels"));
    QCOMPARE(tab.Label8->text(), QStringLiteral("Select pixel size"));
    QVERIFY(!tab.cboPaperSize->isHidden() && tab.txtPaperSize->isHidden());
    QCOMPARE(tab.cboPaperSize->count(), 71);
    QCOMPARE(tab.cboPaperSize->currentText(), QStringLiteral("Select Pixels"));
    QCOMPARE(tab.txtOffset[1]->text(), QStringLiteral("Pixels"));
    // Leaving pixels with no device puts the typed paper box back.
    Click(tab.optUnit, 1);
    QCOMPARE(tab.lblUnits, QStringLiteral("_Millimeters"));
    QCOMPARE(tab.Label8->text(), QStringLiteral("Enter paper size"));
    QVERIFY(tab.cboPaperSize->isHidden() && !tab.txtPaperSize->isHidden());
    QCOMPARE(tab.txtOffset[0]->text(), QStringLiteral("mm"));

    // The file-only configurations, in any letter case; a typed device is taken as a plotter file
    // only when the list knows it.
    tab.chkPlotFile->setChecked(true);
    tab.CboPrinter->setEditText(QStringLiteral("dwf6 eplot.PC3"));
    tab.chooseDevice(tab.CboPrinter->currentText());
    QVERIFY(!tab.chkPlotFile->isEnabled() && !tab.chkPlotFile->isChecked());
    QCOMPARE(tab.Label8->text(), QStringLiteral("Enter paper size"));
    tab.CboPrinter->setEditText(QStringLiteral("PublishToWeb PNG.pc3"));
    tab.chooseDevice(tab.CboPrinter->currentText());
    QVERIFY(!tab.chkPlotFile->isEnabled());
    QCOMPARE(tab.lblUnits, QStringLiteral("_Pixels"));
    QCOMPARE(tab.cboPaperSize->count(), 71);
    tab.CboPrinter->setEditText(QStringLiteral("Some Printer"));
    tab.chooseDevice(tab.CboPrinter->currentText());
    QVERIFY(tab.chkPlotFile->isEnabled());
    QCOMPARE(tab.lblUnits, QStringLiteral("_Inches"));
    QVERIFY(!tab.cboStandards->isEnabled());

    // A blank device shows what it stands for.
    tab.CboPrinter->setEditText(QString());
    emit tab.CboPrinter->lineEdit()->editingFinished();
    QCOMPARE(tab.CboPrinter->currentText(), QStringLiteral("Select Plotter"));
}

void DetailedPlotTabTest::checksShowTheirMessageAndFocusTheField()
{
    GuiEnvironment env;
    UseProduct("Cad2018");
    DetailedPlotTab tab;
    tab.InitDetailedPlotTab();
    tab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tab));
    QSignalSpy built(&tab, &DetailedPlotTab::routineBuilt);

    tab.cmbScale->setCurrentIndex(0);
    tab.txtScale1->setText(QStringLiteral("1/"));
    tab.cmdSavePlot->click();
    QCOMPARE(env.dialogs().messages().size(), 1);
    QCOMPARE(QString::fromStdString(env.dialogs().messages().last().text),
             QStringLiteral("Please enter a Positive, Real or Fractional number"));
    QCOMPARE(tab.picDetailedPlot->currentIndex(), 1); // the page with the field is shown
    QCOMPARE(QApplication::focusWidget(), tab.txtScale1);

    // No device: the device takes the focus only when its page is showing.
    tab.txtScale1->setText(QStringLiteral("1"));
    tab.cmdSavePlot->click();
    QCOMPARE(env.dialogs().messages().size(), 2);
    QCOMPARE(QApplication::focusWidget(), tab.txtScale1);
    tab.TabStripPlotDetailed->setCurrentIndex(0);
    tab.cmdSavePlot->click();
    QCOMPARE(env.dialogs().messages().size(), 3);
    QVERIFY(tab.CboPrinter->hasFocus());

    tab.CboPrinter->setEditText(QStringLiteral("DWG To PDF.pc3"));
    tab.txtOffset_Y->clear();
    tab.cmdSavePlot->click();
    QCOMPARE(QString::fromStdString(env.dialogs().messages().last().text), QStringLiteral("Please enter a Plot Offset"));
    QCOMPARE(QApplication::focusWidget(), tab.txtOffset_Y);

    // A text holding a line break (pasted, or set by a caller) is refused at its own box, on its own page.
    tab.txtOffset_X->setText(QStringLiteral("0.00"));
    tab.txtOffset_Y->setText(QStringLiteral("0.00"));
    struct Broken
    {
        QWidget* box;
        QString message;
        std::function<void(const QString&)> set;
    };
    const bool paperList = tab.Label8->text() != QStringLiteral("Enter paper size");
    const std::vector<Broken> broken = {
        {paperList ? static_cast<QWidget*>(tab.cboPaperSize) : tab.txtPaperSize,
         QStringLiteral("The paper size cannot hold a line break."),
         [&](const QString& text) {
             if (paperList)
                 tab.cboPaperSize->setEditText(text);
             else
                 tab.txtPaperSize->setText(text);
         }},
        {tab.cboPlotStyle, QStringLiteral("The plot style table cannot hold a line break."),
         [&](const QString& text) { tab.cboPlotStyle->setEditText(text); }},
    };
    for (const Broken& b : broken) {
        b.set(QStringLiteral("two\nlines"));
        tab.cmdSavePlot->click();
        QCOMPARE(QString::fromStdString(env.dialogs().messages().last().text), b.message);
        QCOMPARE(QApplication::focusWidget(), b.box);
        b.set(QStringLiteral("<Default>"));
    }
    QCOMPARE(built.size(), 0);
}

void DetailedPlotTabTest::savedRoutineIsTheTabsChoices()
{
    GuiEnvironment env;
    UseProduct("Cad2010");
    DetailedPlotTab tab;
    tab.InitDetailedPlotTab();
    QSignalSpy built(&tab, &DetailedPlotTab::routineBuilt);
    Click(tab.optTilemode, 1);
    tab.CboPrinter->setEditText(QStringLiteral("Office \\\\srv\\plot"));
    tab.cmbNoCopies->setCurrentText(QStringLiteral("2"));
    tab.cmdSavePlot->click();
    QVERIFY(env.dialogs().messages().isEmpty());
    QCOMPARE(built.size(), 1);
    // The text is the core's for exactly what the controls show.
    DetailedPlotChoices expected;
    expected.mode = PlotTabMode::Model;
    expected.layoutName = "<Model>";
    expected.device = "Office \\\\srv\\plot";
    expected.copies = "2";
    const DetailedPlotResult core = BuildDetailedPlotRoutine(expected, "Cad2010");
    QVERIFY(core.ok());
    QCOMPARE(built.first().first().toString(), QString::fromStdString(core.text));
    QVERIFY(core.text.starts_with("_-plot\r\n_Yes\r\n\r\nOffice \\\\srv\\plot\r\n"));
}

void DetailedPlotTabTest::browsesAndStyleLists()
{
    GuiEnvironment env;
    UseProduct("Cad2018");
    QDir(env.folder()).mkpath(QStringLiteral("cad/Plot Styles"));
    for (const char* name : {"b.ctb", "a.CTB", "named.stb"})
        QFile(env.file(QStringLiteral("cad/Plot Styles/") + QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    QVERIFY(Program().ini.WriteValue("Acad_Address", "AcadAddress", env.file(QStringLiteral("cad/acad.exe")).toStdString()).ok());
    DetailedPlotTab tab;
    tab.InitDetailedPlotTab();

    QCOMPARE(Items(tab.cboPlotStyle), (QStringList{QStringLiteral("a.CTB"), QStringLiteral("b.ctb")}));
    QCOMPARE(tab.cboPlotStyle->currentText(), QStringLiteral("<Default>"));
    Click(tab.optCtb, 1);
    QCOMPARE(Items(tab.cboPlotStyle), QStringList{QStringLiteral("named.stb")});

    env.dialogs().queueFiles({env.file(QStringLiteral("elsewhere/Big Plotter.pc3"))});
    tab.cmdPlotterBrowse->click();
    const auto call = env.dialogs().calls().last();
    QCOMPARE(call.title, QStringLiteral("Select Plotter Configuration File"));
    QCOMPARE(call.filter, QStringLiteral("Plotter Configuration File (*.pc3)|*.pc3"));
    QCOMPARE(tab.CboPrinter->currentText(), QStringLiteral("Big Plotter.pc3"));
    QVERIFY(tab.cboStandards->isEnabled());
    QCOMPARE(tab.cboStandards->currentText(), QStringLiteral("Manually Enter Size"));
    QCOMPARE(tab.cboStandards->count(), 8);
    // Cancel changes nothing.
    tab.cmdPlotterBrowse->click();
    QCOMPARE(tab.CboPrinter->currentText(), QStringLiteral("Big Plotter.pc3"));

    // A standard fills the paper list; "Manually Enter Size" keeps the typed paper.
    tab.txtPaperSize->setText(QStringLiteral("My Sheet"));
    const int iso = tab.cboStandards->findText(QStringLiteral("ISO"));
    tab.cboStandards->setCurrentIndex(iso);
    emit tab.cboStandards->activated(iso);
    QCOMPARE(tab.cboPaperSize->count(), 47);
    QCOMPARE(tab.cboPaperSize->currentText(), QStringLiteral("Select ISO Size"));
    QCOMPARE(tab.Label8->text(), QStringLiteral("Select paper size"));
    tab.cboStandards->setCurrentIndex(0);
    emit tab.cboStandards->activated(0);
    QVERIFY(!tab.txtPaperSize->isHidden());
    QCOMPARE(tab.txtPaperSize->text(), QStringLiteral("My Sheet"));
    QCOMPARE(tab.Label8->text(), QStringLiteral("Enter paper size"));

    env.dialogs().queueFiles({env.file(QStringLiteral("cad/Plot Styles/named.stb"))});
    tab.cmdStyleTable->click();
    QCOMPARE(env.dialogs().calls().last().filter,
             QStringLiteral("Named Plot Style (*.stb)|*.stb|Color Dependent Plot Style (*.ctb)|*.ctb"));
    QCOMPARE(tab.cboPlotStyle->currentText(), QStringLiteral("named.stb"));
}

void DetailedPlotTabTest::customPaperDialog()
{
    GuiEnvironment env;
    UseProduct("Cad2018");
    DetailedPlotTab tab;
    tab.InitDetailedPlotTab();
    tab.EnableStandards();
    const int custom = tab.cboStandards->findText(QStringLiteral("Custom List"));
    tab.cboStandards->setCurrentIndex(custom);
    emit tab.cboStandards->activated(custom);
    QCOMPARE(tab.cboPaperSize->currentText(), QStringLiteral("No Custom Sizes"));

    QTimer::singleShot(0, &tab, [&env] {
        auto* dialog = qobject_cast<frmAddPaper*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QVERIFY(!dialog->cmdRemove->isEnabled());
        dialog->cmdAddPaper->click(); // nothing typed
        QCOMPARE(QString::fromStdString(env.dialogs().messages().last().text), QStringLiteral("Please Enter a Paper Size"));
        dialog->txtNewPaper->setText(QStringLiteral("  Roll 914 "));
        dialog->cmdAddPaper->click();
        QVERIFY(dialog->txtNewPaper->text().isEmpty());
        dialog->txtNewPaper->setText(QStringLiteral("ROLL 914"));
        dialog->cmdAddPaper->click();
        QCOMPARE(QString::fromStdString(env.dialogs().messages().last().title), QStringLiteral("Quorvel Information"));
        dialog->txtNewPaper->setText(QStringLiteral("Sheet B"));
        dialog->cmdAddPaper->click();
        QCOMPARE(dialog->lstCustomPaper->count(), 2);
        dialog->lstCustomPaper->setCurrentRow(1);
        QVERIFY(dialog->cmdRemove->isEnabled());
        dialog->cmdRemove->click();
        QCOMPARE(dialog->lstCustomPaper->count(), 1);
        dialog->cmdok->click();
    });
    tab.cmdAddPaperSize->click();

    QFile file(env.file(QStringLiteral("NewPaper.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\"Roll 914\"\r\n"));
    QCOMPARE(tab.lblCustomPaper, QStringLiteral("Yes"));
    QCOMPARE(Items(tab.cboPaperSize), QStringList{QStringLiteral("Roll 914")});
    QCOMPARE(tab.cboPaperSize->currentText(), QStringLiteral("Select Custom Size"));

    // Cancel leaves the file as it was.
    QTimer::singleShot(0, &tab, [] {
        auto* dialog = qobject_cast<frmAddPaper*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->txtNewPaper->setText(QStringLiteral("Lost"));
        dialog->cmdAddPaper->click();
        dialog->cmdCancel->click();
    });
    tab.cmdAddPaperSize->click();
    file.seek(0);
    QCOMPARE(file.readAll(), QByteArray("\"Roll 914\"\r\n"));
}

void DetailedPlotTabTest::aPrintSystemThatIsDownNeverHoldsTheEditor()
{
    GuiEnvironment env;
    QDir(env.folder()).mkpath(QStringLiteral("cad/Plotters"));
    QFile(env.file(QStringLiteral("cad/Plotters/DWG To PDF.pc3"))).open(QIODevice::WriteOnly);
    QVERIFY(Program().ini.WriteValue("Acad_Address", "AcadAddress", env.file(QStringLiteral("cad/acad.exe")).toStdString()).ok());
    PlotDeviceList& list = PlotDeviceList::instance();
    QElapsedTimer timer;
    timer.start();
    list.BuildDeviceList(Program().ini);
    QVERIFY(timer.elapsed() < 1000);
    // The plotter files are there at once; the printers follow when the print system answers.
    QVERIFY(!list.devices().empty());
    QCOMPARE(list.devices().back().sPrinterName, std::string("DWG To PDF.pc3"));
    QVERIFY(list.waitForPrinters(20000));
    QCOMPARE(list.devices().size(), std::size_t(1));
    list.Release();
    QVERIFY(list.devices().empty());
}

void DetailedPlotTabTest::closesWithTheFocusInAListBox()
{
    // The list boxes finish their editing when the closing tab takes their focus away; their handlers must not
    // run on the half-destroyed tab (the sanitizer build reports that as a fault).
    GuiEnvironment env;
    UseProduct("Cad2018");
    for (const bool styleBox : {false, true}) {
        auto tab = std::make_unique<DetailedPlotTab>();
        tab->InitDetailedPlotTab();
        tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(tab.get()));
        QComboBox* box = styleBox ? tab->cboPlotStyle : tab->CboPrinter;
        tab->TabStripPlotDetailed->setCurrentIndex(styleBox ? 1 : 0);
        box->setFocus();
        box->setEditText(QString());
        QVERIFY(box->lineEdit()->hasFocus());
        tab.reset();
    }
}

QTEST_MAIN(DetailedPlotTabTest)
#include "DetailedPlotTabTest.moc"
