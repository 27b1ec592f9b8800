#include "app/mdiStart.h"
#include "config/OptionsSettings.h"
#include "config/frmFileLocation.h"
#include "routines/RoutineStore.h"
#include "routines/frmCommandButton.h"
#include "support/GuiTestSupport.h"
#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

using namespace qv;
using namespace qv::test;

namespace {

void Store(const char* section, const char* key, const std::string& value)
{
    QVERIFY(Program().ini.WriteValue(section, key, value).ok());
}

QAbstractButton* Option(QButtonGroup* group, int index)
{
    return group->button(index);
}

QStringList Items(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace

class OptionsDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void tabsAndFreshValues();
    void storedValuesRoundTrip_data();
    void storedValuesRoundTrip();
    void loaderShowsWhatIsStored();
    void fieldSortChecksStopTheSave();
    void blankSwitchesAreRefused();
    void applyThenOk();
    void plotLocationsLoadBrowseAndSave();
    void databaseBrowseWritesAtOnceAndRefreshesThePanel();
    void productChangeShowsAtOnce();
};

void OptionsDialogTest::tabsAndFreshValues()
{
    GuiEnvironment env;
    frmFileLocation dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
    const char* const captions[] = {"File Location", "AutoCAD Version", "Advanced", "Startup Switches",
                                    "PC3 and Plot Style Location"};
    const char* const tips[] = {"Location of Files", "Version of AutoCAD Used", "Set Advanced Options",
                                "Add Startup Switches", "Set default location for plot files"};
    QCOMPARE(dialog.tbsOptions->count(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(dialog.tbsOptions->tabText(i), QString::fromLatin1(captions[i]));
        QCOMPARE(dialog.tbsOptions->tabToolTip(i), QString::fromLatin1(tips[i]));
        QCOMPARE(dialog.tbsOptions->widget(i)->objectName(), QStringLiteral("picOptions_%1").arg(i));
    }
    QCOMPARE(dialog.tbsOptions->currentIndex(), 0);
    QCOMPARE(dialog.lblCad->text(), QStringLiteral("Program Excutable.\neg. Acad.exe, Aclt.exe, Acadlt.exe"));
    // The user cannot choose the versions the program no longer builds routines for.
    QCOMPARE(dialog.optCadVer->buttons().size(), 19);
    for (const OptionsProduct& product : OptionsProducts())
        QCOMPARE(Option(dialog.optCadVer, product.index)->isEnabled(), product.userSelectable);

    // A fresh settings file: what the readers give for missing keys.
    QCOMPARE(dialog.txtAddress[0]->text(), QStringLiteral("Unknown"));
    QCOMPARE(dialog.txtAddress[1]->text(), QStringLiteral("Unknown"));
    QCOMPARE(dialog.txtAddress[2]->text(), env.folder());
    QVERIFY(Option(dialog.optCadVer, 8)->isChecked()); // Cad2005
    QCOMPARE(dialog.lblCAdVer, QStringLiteral("Cad2005"));
    QCOMPARE(dialog.lblStartupSwitch->text(), QStringLiteral("Acad 2005"));
    QVERIFY(!dialog.chkSortOption->isChecked());
    for (QWidget* field : std::initializer_list<QWidget*>{dialog.txtFieldDelim, dialog.txtFieldNum,
                                                           dialog.lblFieldDelim, dialog.lblFieldNum})
        QVERIFY(!field->isEnabled());
    QVERIFY(!dialog.txtStartupSwitch->isEnabled());
    QVERIFY(!dialog.cmdApply->isEnabled());

    // Any change offers Apply; ticking the sort offers its fields.
    dialog.chkSortOption->click();
    QVERIFY(dialog.cmdApply->isEnabled() && dialog.txtFieldDelim->isEnabled() && dialog.lblFieldNum->isEnabled());
    Option(dialog.optStartSwitch, 1)->click();
    QVERIFY(dialog.txtStartupSwitch->isEnabled());
    QCOMPARE(dialog.lblStartSwitch, QStringLiteral("YesSwitch"));
}

void OptionsDialogTest::storedValuesRoundTrip_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored"); // empty: the key is missing
    QTest::addColumn<QString>("button"); // the button the loader chooses
    QTest::addColumn<QString>("written");
    QTest::newRow("Maximised") << "Acad_StartEnd" << "AcadWindow" << "Maximised" << "optWindowStyle_2" << "Maximised";
    QTest::newRow("Minimized") << "Acad_StartEnd" << "AcadWindow" << "Minimized" << "optWindowStyle_1" << "Minimized";
    QTest::newRow("odd window") << "Acad_StartEnd" << "AcadWindow" << "Maximized" << "optWindowStyle_0" << "Normal";
    QTest::newRow("no AcadStart") << "Acad_StartEnd" << "AcadStart" << "" << "optStartEnd_0" << "_Open";
    QTest::newRow("recover") << "Acad_StartEnd" << "AcadStart" << "_Recover" << "optStartEnd_1" << "_Recover";
    QTest::newRow("Cad14") << "Cad_Ver" << "CadVer" << "Cad14" << "optCadVer_1" << "Cad14";
    QTest::newRow("lower case") << "Cad_Ver" << "CadVer" << "cad2010" << "optCadVer_12" << "Cad2010";
    QTest::newRow("ZWCAD") << "Cad_Ver" << "CadVer" << "ZWCAD" << "optCadVer_18" << "ZWCAD";
    QTest::newRow("unknown code") << "Cad_Ver" << "CadVer" << "Cad2019" << "optCadVer_8" << "Cad2005";
    QTest::newRow("no switches") << "StartSwitch" << "StartOption" << "" << "optStartSwitch_0" << "NoSwitch";
}

void OptionsDialogTest::storedValuesRoundTrip()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, button);
    QFETCH(QString, written);
    GuiEnvironment env;
    if (!stored.isEmpty())
        Store(section.toLatin1().constData(), key.toLatin1().constData(), stored.toStdString());
    frmFileLocation dialog;
    auto* option = Control<QAbstractButton>(&dialog, button.toLatin1().constData());
    QVERIFY(option && option->isChecked());
    dialog.show();
    dialog.cmdok->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(env.settingsValue(section.toLatin1().constData(), key.toLatin1().constData()), written.toStdString());
}

void OptionsDialogTest::loaderShowsWhatIsStored()
{
    GuiEnvironment env;
    Store("Acad_Address", "AcadAddress", "/opt/cad/acad.exe");
    Store("db_Address", "dbAddress", "/data/Batch_Cad.dat");
    Store("Batch_Address", "BatchAddress", "/scripts");
    Store("StartSwitch", "StartOption", "YesSwitch");
    Store("StartSwitch", "Switch", "/nologo");
    Store("FieldOption", "SortOnOff", "ON");
    Store("FieldOption", "FieldDelim", "_");
    Store("Cad_Ver", "CadVer", "CadLT2013");
    frmFileLocation dialog;
    QCOMPARE(dialog.txtAddress[0]->text(), QStringLiteral("/opt/cad/acad.exe"));
    QCOMPARE(dialog.txtAddress[1]->text(), QStringLiteral("/data/Batch_Cad.dat"));
    QCOMPARE(dialog.txtAddress[2]->text(), QStringLiteral("/scripts"));
    QVERIFY(Option(dialog.optStartSwitch, 1)->isChecked());
    QCOMPARE(dialog.txtStartupSwitch->text(), QStringLiteral("/nologo"));
    QVERIFY(dialog.txtStartupSwitch->isEnabled());
    QVERIFY(!dialog.lblStartupSwitch->isHidden() && !dialog.lblStartupSwitchExplain->isHidden());
    QCOMPARE(dialog.lblStartupSwitch->text(), QStringLiteral("Acad LT 2013/2014/2015/2016/2017"));
    QVERIFY(dialog.chkSortOption->isChecked());
    QCOMPARE(dialog.txtFieldDelim->text(), QStringLiteral("_"));
    QCOMPARE(dialog.txtFieldNum->text(), QString()); // "Unknown" is not shown
    QVERIFY(dialog.txtFieldNum->isEnabled());
    QVERIFY(!dialog.cmdApply->isEnabled());

    // A button the user cannot choose leaves the label of the last product shown.
    Option(dialog.optCadVer, 0)->click();
    QCOMPARE(dialog.lblStartupSwitch->text(), QStringLiteral("Acad 2000/2002"));
    dialog.optCadVer_Click(2);
    QCOMPARE(dialog.lblCAdVer, QStringLiteral("Cad13"));
    QCOMPARE(dialog.lblStartupSwitch->text(), QStringLiteral("Acad 2000/2002"));
}

void OptionsDialogTest::fieldSortChecksStopTheSave()
{
    // Every refusal of the check is the core's; one shows how the dialog stops, tells and focuses.
    const QString delimiter = QStringLiteral("-");
    const QString number = QStringLiteral("x");
    const QString message = QStringLiteral("The Field Number under Sort by Field is incorrect this must be\r\n"
                                           "a valid number. Please revise.\r\n");
    const QString focus = QStringLiteral("txtFieldNum");
    GuiEnvironment env;
    frmFileLocation dialog;
    dialog.show();
    dialog.txtAddress[0]->setText(QStringLiteral("/opt/cad/acad.exe"));
    dialog.chkSortOption->click();
    dialog.txtFieldDelim->setText(delimiter);
    dialog.txtFieldNum->setText(number);
    for (QPushButton* button : {dialog.cmdApply, dialog.cmdok}) {
        env.dialogs().clear();
        button->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.cmdCancel->isEnabled());
        QCOMPARE(env.dialogs().messages(),
                 (QList<UserMessage>{{message.toStdString(), "Quorvel Error", MessageIcon::Information}}));
        QCOMPARE(dialog.tbsOptions->currentIndex(), int(frmFileLocation::TabAdvanced));
        QCOMPARE(dialog.focusWidget()->objectName(), focus);
        auto* box = qobject_cast<QLineEdit*>(dialog.focusWidget());
        QCOMPARE(box->selectedText(), box->text());
    }
    // Written before the check: kept. The field sort: nothing.
    QCOMPARE(env.settingsValue("Acad_Address", "AcadAddress"), std::string("/opt/cad/acad.exe"));
    QCOMPARE(env.settingsValue("StartSwitch", "StartOption"), std::string("NoSwitch"));
    for (const char* key : {"SortOnOff", "FieldDelim", "FieldNum"})
        QCOMPARE(env.settingsValue("FieldOption", key), std::string("Unknown"));
}

void OptionsDialogTest::blankSwitchesAreRefused()
{
    GuiEnvironment env;
    frmFileLocation dialog;
    dialog.show();
    Option(dialog.optStartSwitch, 1)->click();
    dialog.txtStartupSwitch->setText(QStringLiteral("   "));
    dialog.cmdok->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(env.dialogs().messages().value(0),
             (UserMessage{"Please Enter The Startup Switches or Select No Extra Startup Switches", "Error",
                          MessageIcon::Exclamation}));
    QCOMPARE(dialog.tbsOptions->currentIndex(), int(frmFileLocation::TabStartupSwitches));
    QCOMPARE(dialog.focusWidget(), dialog.txtStartupSwitch);
    QCOMPARE(env.settingsValue("StartSwitch", "StartOption"), std::string("YesSwitch"));
    QCOMPARE(env.settingsValue("StartSwitch", "Switch"), std::string("Unknown"));
    QCOMPARE(env.settingsValue("FieldOption", "SortOnOff"), std::string("Unknown"));

    dialog.txtStartupSwitch->setText(QStringLiteral("  /nologo "));
    dialog.cmdok->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(env.settingsValue("StartSwitch", "Switch"), std::string("/nologo"));
    QCOMPARE(env.settingsValue("FieldOption", "SortOnOff"), std::string("OFF"));
}

void OptionsDialogTest::applyThenOk()
{
    GuiEnvironment env;
    Program().Release2004OrLater = false;
    frmFileLocation dialog;
    dialog.show();
    Option(dialog.optCadVer, 16)->click(); // Cad2018
    Option(dialog.optStartEnd, 1)->click();
    dialog.chkSortOption->click();
    dialog.txtFieldDelim->setText(QStringLiteral("-"));
    dialog.txtFieldNum->setText(QStringLiteral("3"));
    QVERIFY(dialog.cmdApply->isEnabled());
    dialog.cmdApply->click();
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.cmdCancel->isEnabled());
    QVERIFY(env.dialogs().messages().isEmpty());
    QVERIFY(Program().Release2004OrLater);
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("Cad2018"));
    QCOMPARE(env.settingsValue("Acad_StartEnd", "AcadStart"), std::string("_Recover"));
    QCOMPARE(env.settingsValue("FieldOption", "FieldNum"), std::string("3"));

    dialog.cmdok->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // Cancel writes nothing.
    frmFileLocation again;
    again.show();
    Option(again.optCadVer, 0)->click();
    again.cmdCancel->click();
    QVERIFY(!again.isVisible());
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("Cad2018"));
}

void OptionsDialogTest::plotLocationsLoadBrowseAndSave()
{
    GuiEnvironment env;
    {
        // Nothing stored: both show "<Default>", and OK writes neither, right after the window style.
        frmFileLocation dialog;
        QCOMPARE(dialog.txtPlotterLoc->text(), QStringLiteral("<Default>"));
        QCOMPARE(dialog.txtPlotStyleLoc->text(), QStringLiteral("<Default>"));
        dialog.show();
        dialog.txtPlotStyleLoc->setText(QStringLiteral("/styles/"));
        dialog.cmdok->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), std::string("Unknown"));
        QFile file(env.file(QStringLiteral("Quorvel.ini")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const qsizetype window = bytes.indexOf("AcadWindow=Normal");
        const qsizetype plot = bytes.indexOf("[PlotWizard_Set]\r\nStyle_Loc=/styles/\r\n");
        const qsizetype switches = bytes.indexOf("[StartSwitch]");
        QVERIFY(window > 0 && plot > window && switches > plot);
    }
    QVERIFY(Program().ini.WriteValue("PlotWizard_Set", "PC3_Loc", "/old/pc3/").ok());
    frmFileLocation dialog;
    QCOMPARE(dialog.txtPlotterLoc->text(), QStringLiteral("/old/pc3/"));
    QCOMPARE(dialog.txtPlotStyleLoc->text(), QStringLiteral("/styles/"));
    dialog.show();
    env.dialogs().queueFiles({QStringLiteral("/new/Plotters/DWF6 ePlot.pc3")});
    dialog.cmdPlotLoc->click();
    QCOMPARE(dialog.txtPlotterLoc->text(), QStringLiteral("/new/Plotters/"));
    QVERIFY(dialog.cmdApply->isEnabled());
    QCOMPARE(env.dialogs().calls().back().filter, QStringLiteral("PC3 Files (*.pc3)|*.pc3|All Files (*.*)|*.*"));
    dialog.cmdBrowsePlotStyle->click(); // cancelled: the box stays
    QCOMPARE(dialog.txtPlotStyleLoc->text(), QStringLiteral("/styles/"));
    // A blank box leaves its key as it was.
    dialog.txtPlotStyleLoc->setText(QStringLiteral("   "));
    dialog.cmdApply->click();
    QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), std::string("/new/Plotters/"));
    QCOMPARE(env.settingsValue("PlotWizard_Set", "Style_Loc"), std::string("/styles/"));

    env.dialogs().clear();
    dialog.cmdWhere->click();
    QCOMPARE(env.dialogs().messages().size(), 1);
    QCOMPARE(env.dialogs().messages()[0].title, std::string("Plot File Locations"));
    QCOMPARE(env.dialogs().messages()[0].icon, MessageIcon::Information);
}

void OptionsDialogTest::databaseBrowseWritesAtOnceAndRefreshesThePanel()
{
    GuiEnvironment env;
    DatabaseNoticeShown() = true;
    // A second database beside the default one, holding a routine of its own.
    const std::string other = env.file(QStringLiteral("Other.dat")).toStdString();
    Store("db_Address", "dbAddress", other);
    QVERIFY(AddRoutineToDatabase(MakeRoutineForAdd("From the other database", "_zoom\r\n_e", false)).has_value());
    Store("db_Address", "dbAddress", env.file(QStringLiteral("Batch_Cad.dat")).toStdString());

    mdiStart window;
    window.FormLoad();
    QVERIFY(!Items(window.commandPanel()->cboActionList).contains(QStringLiteral("From the other database")));
    // What the dialog and the panel show right after the browse, while the dialog is still open.
    std::string writtenAtOnce;
    QString boxText;
    bool applyOffered = false;
    QStringList panelList;
    ModalDriver driver;
    driver.on<frmFileLocation>([&](frmFileLocation* dialog) {
        env.dialogs().queueFiles({QString::fromStdString(other)});
        dialog->cmdDatabaseBrowse->click();
        writtenAtOnce = env.settingsValue("db_Address", "dbAddress");
        boxText = dialog->txtAddress[1]->text();
        applyOffered = dialog->cmdApply->isEnabled();
        panelList = Items(window.commandPanel()->cboActionList);
        dialog->cmdCancel->click();
        return true;
    });
    auto* properties = Control<QAction>(&window, "MnuOptionsFile");
    QVERIFY(properties->isEnabled());
    properties->trigger();
    QCOMPARE(driver.handled(), QStringList{QStringLiteral("qv::frmFileLocation")});
    QCOMPARE(writtenAtOnce, other);
    QCOMPARE(boxText, QString::fromStdString(other));
    QVERIFY(applyOffered);
    QVERIFY(panelList.contains(QStringLiteral("From the other database")));
    const auto& calls = env.dialogs().calls();
    QCOMPARE(calls.value(0).kind, ScriptedUserDialogs::Call::OpenFiles);
    QCOMPARE(calls.value(0).filter, QString::fromUtf8(options_text::kDatabaseFilter.data()));
    // Cancel does not take the database back.
    QCOMPARE(env.settingsValue("db_Address", "dbAddress"), other);
}

void OptionsDialogTest::productChangeShowsAtOnce()
{
    GuiEnvironment env;
    DatabaseNoticeShown() = true;
    mdiStart window;
    window.FormLoad();
    frmCommandButton* panel = window.commandPanel();
    QCOMPARE(panel->lblAcadVersion->text(), QStringLiteral("Acad 2005/2006"));
    QVERIFY(window.cmdSortIso->isHidden());

    // Apply alone shows the new product in the panel while the dialog is still open.
    QString labelAfterApply;
    {
        ModalDriver driver;
        driver.on<frmFileLocation>([&](frmFileLocation* dialog) {
            Option(dialog->optCadVer, 12)->click(); // Cad2010
            dialog->cmdApply->click();
            labelAfterApply = panel->lblAcadVersion->text();
            dialog->reject();
            return true;
        });
        Control<QAction>(&window, "MnuOptionsFile")->trigger();
    }
    QCOMPARE(labelAfterApply, QStringLiteral("Acad 2010/2011/2012"));
    QCOMPARE(window.productCode, std::string("Cad2010"));

    {
        ModalDriver driver;
        driver.on<frmFileLocation>([](frmFileLocation* dialog) {
            Option(dialog->optCadVer, 3)->click(); // CadLT2000
            dialog->chkSortOption->click();
            dialog->txtFieldDelim->setText(QStringLiteral("-"));
            dialog->txtFieldNum->setText(QStringLiteral("1"));
            dialog->cmdok->click();
            return true;
        });
        Control<QAction>(&window, "MnuOptionsFile")->trigger();
    }
    QCOMPARE(panel->lblAcadVersion->text(), QStringLiteral("Acad LT 2000/2002"));
    QCOMPARE(window.productCode, std::string("CadLT2000"));
    QVERIFY(!window.cmdSortIso->isHidden());
}

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
