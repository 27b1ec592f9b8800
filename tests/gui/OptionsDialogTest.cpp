#include "config/OptionsDialog.h"

#include "app/MainWindow.h"
#include "config/OptionsSettings.h"
#include "config/SettingsKeys.h"
#include "routines/ActionPanel.h"
#include "routines/LocateDatabaseDialog.h"
#include "routines/RoutineStore.h"
#include "support/GuiTestSupport.h"
#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>

using namespace qv;
using namespace qv::test;

namespace {

std::string databaseSetting(const GuiEnvironment& env)
{
    return env.settingsValue(keys::kDatabaseSection, keys::kDatabaseKey);
}

} // namespace

class OptionsDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void tabsAndFreshValues();
    void loaderShowsWhatIsStoredAndOkWritesItBack();
    void fieldSortChecksStopTheSave();
    void blankSwitchesAreRefused();
    void applyThenOk();
    void plotLocationsLoadBrowseAndSave();
    void databaseBrowseWritesAtOnceAndRefreshesThePanel();
    void productChangeShowsAtOnce();
    void locateDatabaseWritesTheAddressByApplyOrOk();
    void locateDatabaseReportsAFailedWriteAndStays();
    void loadReportsDatabaseProblems();
};

void OptionsDialogTest::tabsAndFreshValues()
{
    GuiEnvironment env;
    OptionsDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
    const char* const captions[] = {"File Location", "AutoCAD Version", "Advanced", "Startup Switches",
                                    "PC3 and Plot Style Location"};
    const char* const tips[] = {"Location of Files", "Version of AutoCAD Used", "Set Advanced Options",
                                "Add Startup Switches", "Set default location for plot files"};
    QCOMPARE(dialog.m_tabs->count(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(dialog.m_tabs->tabText(i), QString::fromLatin1(captions[i]));
        QCOMPARE(dialog.m_tabs->tabToolTip(i), QString::fromLatin1(tips[i]));
        QCOMPARE(dialog.m_tabs->widget(i)->objectName(), QStringLiteral("picOptions_%1").arg(i));
    }
    QCOMPARE(dialog.m_tabs->currentIndex(), 0);
    QCOMPARE(dialog.m_executableLabel->text(),
             QStringLiteral("Program Excutable.\neg. Acad.exe, Aclt.exe, Acadlt.exe"));
    // The user cannot choose the versions the program no longer builds routines for.
    QCOMPARE(dialog.m_productButtons->buttons().size(), 19);
    for (const OptionsProduct& product : optionsProducts())
        QCOMPARE(dialog.m_productButtons->button(product.index)->isEnabled(), product.userSelectable);

    // A fresh settings file: what the readers give for missing keys.
    QCOMPARE(dialog.m_locationEdits[0]->text(), QStringLiteral("Unknown"));
    QCOMPARE(dialog.m_locationEdits[1]->text(), QStringLiteral("Unknown"));
    QCOMPARE(dialog.m_locationEdits[2]->text(), env.folder());
    QVERIFY(dialog.m_productButtons->button(8)->isChecked()); // Cad2005
    QCOMPARE(dialog.m_productCode, QStringLiteral("Cad2005"));
    QCOMPARE(dialog.m_startupSwitchLabel->text(), QStringLiteral("Acad 2005"));
    QVERIFY(!dialog.m_fieldSortCheck->isChecked());
    for (QWidget* field : std::initializer_list<QWidget*>{dialog.m_fieldDelimiterEdit, dialog.m_fieldNumberEdit,
                                                          dialog.m_fieldDelimiterLabel, dialog.m_fieldNumberLabel})
        QVERIFY(!field->isEnabled());
    QVERIFY(!dialog.m_startupSwitchEdit->isEnabled());
    QVERIFY(!dialog.m_applyButton->isEnabled());

    // Any change offers Apply; ticking the sort offers its fields.
    dialog.m_fieldSortCheck->click();
    QVERIFY(dialog.m_applyButton->isEnabled() && dialog.m_fieldDelimiterEdit->isEnabled() &&
            dialog.m_fieldNumberLabel->isEnabled());
    dialog.m_startupSwitchButtons->button(1)->click();
    QVERIFY(dialog.m_startupSwitchEdit->isEnabled());
    QCOMPARE(dialog.m_startupSwitchOption, QStringLiteral("YesSwitch"));
}

void OptionsDialogTest::loaderShowsWhatIsStoredAndOkWritesItBack()
{
    GuiEnvironment env;
    storeSetting("Acad_Address", "AcadAddress", "/opt/cad/acad.exe");
    storeSetting("db_Address", "dbAddress", "/data/Batch_Cad.dat");
    storeSetting("Batch_Address", "BatchAddress", "/scripts");
    storeSetting("StartSwitch", "StartOption", "YesSwitch");
    storeSetting("StartSwitch", "Switch", "/nologo");
    storeSetting("FieldOption", "SortOnOff", "ON");
    storeSetting("FieldOption", "FieldDelim", "_");
    storeSetting("Cad_Ver", "CadVer", "cadlt2013");
    storeSetting("Acad_StartEnd", "AcadStart", "_Recover");
    storeSetting("Acad_StartEnd", "AcadWindow", "Minimized");
    OptionsDialog dialog;
    QCOMPARE(dialog.m_locationEdits[0]->text(), QStringLiteral("/opt/cad/acad.exe"));
    QCOMPARE(dialog.m_locationEdits[1]->text(), QStringLiteral("/data/Batch_Cad.dat"));
    QCOMPARE(dialog.m_locationEdits[2]->text(), QStringLiteral("/scripts"));
    QCOMPARE(dialog.m_startupSwitchEdit->text(), QStringLiteral("/nologo"));
    QVERIFY(dialog.m_startupSwitchEdit->isEnabled());
    QVERIFY(!dialog.m_startupSwitchLabel->isHidden() && !dialog.m_startupSwitchHelpLabel->isHidden());
    QCOMPARE(dialog.m_startupSwitchLabel->text(), QStringLiteral("Acad LT 2013/2014/2015/2016/2017"));
    QVERIFY(dialog.m_fieldSortCheck->isChecked());
    QCOMPARE(dialog.m_fieldDelimiterEdit->text(), QStringLiteral("_"));
    QCOMPARE(dialog.m_fieldNumberEdit->text(), QString()); // "Unknown" is not shown
    QVERIFY(dialog.m_fieldNumberEdit->isEnabled());
    QVERIFY(!dialog.m_applyButton->isEnabled());

    // Which button a stored value chooses and what that button writes back are the core's (the options
    // settings test); here every group's stored value reaches its button and OK writes the button's value.
    for (const char* button : {"optCadVer_15", "optStartEnd_1", "optWindowStyle_1", "optStartSwitch_1"})
        QVERIFY2(control<QAbstractButton>(&dialog, button)->isChecked(), button);
    dialog.show();
    dialog.m_fieldNumberEdit->setText(QStringLiteral("2"));
    dialog.m_okButton->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("CadLT2013"));
    QCOMPARE(env.settingsValue("Acad_StartEnd", "AcadStart"), std::string("_Recover"));
    QCOMPARE(env.settingsValue("Acad_StartEnd", "AcadWindow"), std::string("Minimized"));
    QCOMPARE(env.settingsValue("StartSwitch", "StartOption"), std::string("YesSwitch"));

    // A button the user cannot choose leaves the label of the last product shown.
    dialog.m_productButtons->button(0)->click();
    QCOMPARE(dialog.m_startupSwitchLabel->text(), QStringLiteral("Acad 2000/2002"));
    dialog.chooseProduct(2);
    QCOMPARE(dialog.m_productCode, QStringLiteral("Cad13"));
    QCOMPARE(dialog.m_startupSwitchLabel->text(), QStringLiteral("Acad 2000/2002"));
}

void OptionsDialogTest::fieldSortChecksStopTheSave()
{
    // Every refusal of the check is the core's; one shows how the dialog stops, tells and focuses.
    GuiEnvironment env;
    OptionsDialog dialog;
    dialog.show();
    dialog.m_locationEdits[0]->setText(QStringLiteral("/opt/cad/acad.exe"));
    dialog.m_fieldSortCheck->click();
    dialog.m_fieldDelimiterEdit->setText(QStringLiteral("-"));
    dialog.m_fieldNumberEdit->setText(QStringLiteral("x"));
    const UserMessage message{"The Field Number under Sort by Field is incorrect this must be\r\n"
                              "a valid number. Please revise.\r\n",
                              "Quorvel Error", MessageIcon::Information};
    for (QPushButton* button : {dialog.m_applyButton, dialog.m_okButton}) {
        env.dialogs().clear();
        button->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.m_cancelButton->isEnabled());
        QCOMPARE(env.dialogs().messages(), QList{message});
        QCOMPARE(dialog.m_tabs->currentIndex(), int(OptionsDialog::TabAdvanced));
        QCOMPARE(dialog.focusWidget()->objectName(), QStringLiteral("txtFieldNum"));
        QCOMPARE(dialog.m_fieldNumberEdit->selectedText(), QStringLiteral("x"));
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
    OptionsDialog dialog;
    dialog.show();
    dialog.m_startupSwitchButtons->button(1)->click();
    dialog.m_startupSwitchEdit->setText(QStringLiteral("   "));
    dialog.m_okButton->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(env.dialogs().messages().value(0),
             (UserMessage{"Please Enter The Startup Switches or Select No Extra Startup Switches", "Error",
                          MessageIcon::Exclamation}));
    QCOMPARE(dialog.m_tabs->currentIndex(), int(OptionsDialog::TabStartupSwitches));
    QCOMPARE(dialog.focusWidget(), dialog.m_startupSwitchEdit);
    QCOMPARE(env.settingsValue("StartSwitch", "StartOption"), std::string("YesSwitch"));
    QCOMPARE(env.settingsValue("StartSwitch", "Switch"), std::string("Unknown"));
    QCOMPARE(env.settingsValue("FieldOption", "SortOnOff"), std::string("Unknown"));

    dialog.m_startupSwitchEdit->setText(QStringLiteral("  /nologo "));
    dialog.m_okButton->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(env.settingsValue("StartSwitch", "Switch"), std::string("/nologo"));
    QCOMPARE(env.settingsValue("FieldOption", "SortOnOff"), std::string("OFF"));
}

void OptionsDialogTest::applyThenOk()
{
    GuiEnvironment env;
    programState().release2004OrLater = false;
    OptionsDialog dialog;
    dialog.show();
    dialog.m_productButtons->button(16)->click(); // Cad2018
    dialog.m_startCommandButtons->button(1)->click();
    dialog.m_fieldSortCheck->click();
    dialog.m_fieldDelimiterEdit->setText(QStringLiteral("-"));
    dialog.m_fieldNumberEdit->setText(QStringLiteral("3"));
    QVERIFY(dialog.m_applyButton->isEnabled());
    dialog.m_applyButton->click();
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.m_cancelButton->isEnabled());
    QVERIFY(env.dialogs().messages().isEmpty());
    QVERIFY(programState().release2004OrLater);
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("Cad2018"));
    QCOMPARE(env.settingsValue("Acad_StartEnd", "AcadStart"), std::string("_Recover"));
    QCOMPARE(env.settingsValue("FieldOption", "FieldNum"), std::string("3"));

    dialog.m_okButton->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // Cancel writes nothing.
    OptionsDialog again;
    again.show();
    again.m_productButtons->button(0)->click();
    again.m_cancelButton->click();
    QVERIFY(!again.isVisible());
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("Cad2018"));
}

void OptionsDialogTest::plotLocationsLoadBrowseAndSave()
{
    GuiEnvironment env;
    {
        // Nothing stored: both show "<Default>", and OK writes neither, right after the window style.
        OptionsDialog dialog;
        QCOMPARE(dialog.m_plotterFolderEdit->text(), QStringLiteral("<Default>"));
        QCOMPARE(dialog.m_plotStyleFolderEdit->text(), QStringLiteral("<Default>"));
        dialog.show();
        dialog.m_plotStyleFolderEdit->setText(QStringLiteral("/styles/"));
        dialog.m_okButton->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), std::string("Unknown"));
        const QByteArray bytes = readFile(env.file(QStringLiteral("Quorvel.ini")));
        const qsizetype window = bytes.indexOf("AcadWindow=Normal");
        const qsizetype plot = bytes.indexOf("[PlotWizard_Set]\r\nStyle_Loc=/styles/\r\n");
        const qsizetype switches = bytes.indexOf("[StartSwitch]");
        QVERIFY(window > 0 && plot > window && switches > plot);
    }
    storeSetting("PlotWizard_Set", "PC3_Loc", "/old/pc3/");
    OptionsDialog dialog;
    QCOMPARE(dialog.m_plotterFolderEdit->text(), QStringLiteral("/old/pc3/"));
    QCOMPARE(dialog.m_plotStyleFolderEdit->text(), QStringLiteral("/styles/"));
    dialog.show();
    env.dialogs().queueFiles({QStringLiteral("/new/Plotters/DWF6 ePlot.pc3")});
    dialog.m_browsePlotterFolderButton->click();
    QCOMPARE(dialog.m_plotterFolderEdit->text(), QStringLiteral("/new/Plotters/"));
    QVERIFY(dialog.m_applyButton->isEnabled());
    QCOMPARE(env.dialogs().calls().back().filter, QStringLiteral("PC3 Files (*.pc3)|*.pc3|All Files (*.*)|*.*"));
    dialog.m_browsePlotStyleFolderButton->click(); // cancelled: the box stays
    QCOMPARE(dialog.m_plotStyleFolderEdit->text(), QStringLiteral("/styles/"));
    // A blank box leaves its key as it was.
    dialog.m_plotStyleFolderEdit->setText(QStringLiteral("   "));
    dialog.m_applyButton->click();
    QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), std::string("/new/Plotters/"));
    QCOMPARE(env.settingsValue("PlotWizard_Set", "Style_Loc"), std::string("/styles/"));

    env.dialogs().clear();
    dialog.m_plotFilesHelpButton->click();
    QCOMPARE(env.dialogs().messages().size(), 1);
    QCOMPARE(env.dialogs().messages()[0].title, std::string("Plot File Locations"));
    QCOMPARE(env.dialogs().messages()[0].icon, MessageIcon::Information);
}

void OptionsDialogTest::databaseBrowseWritesAtOnceAndRefreshesThePanel()
{
    GuiEnvironment env;
    databaseNoticeShown() = true;
    // A second database beside the default one, holding a routine of its own.
    const std::string other = env.file(QStringLiteral("Other.dat")).toStdString();
    storeSetting("db_Address", "dbAddress", other);
    QVERIFY(addRoutineToDatabase(makeRoutineForAdd("From the other database", "_zoom\r\n_e", false)).has_value());
    storeSetting("db_Address", "dbAddress", env.file(QStringLiteral("Batch_Cad.dat")).toStdString());

    MainWindow window;
    window.load();
    QVERIFY(!itemTexts(window.actionPanel()->m_routineCombo).contains(QStringLiteral("From the other database")));
    // What the dialog and the panel show right after the browse, while the dialog is still open.
    std::string writtenAtOnce;
    QString boxText;
    bool applyOffered = false;
    QStringList panelList;
    ModalDriver driver;
    driver.on<OptionsDialog>([&](OptionsDialog* dialog) {
        env.dialogs().queueFiles({QString::fromStdString(other)});
        dialog->m_browseDatabaseButton->click();
        writtenAtOnce = env.settingsValue("db_Address", "dbAddress");
        boxText = dialog->m_locationEdits[1]->text();
        applyOffered = dialog->m_applyButton->isEnabled();
        panelList = itemTexts(window.actionPanel()->m_routineCombo);
        dialog->m_cancelButton->click();
        return true;
    });
    auto* properties = control<QAction>(&window, "MnuOptionsFile");
    QVERIFY(properties->isEnabled());
    properties->trigger();
    QCOMPARE(driver.handled(), QStringList{QStringLiteral("qv::OptionsDialog")});
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
    databaseNoticeShown() = true;
    MainWindow window;
    window.load();
    ActionPanel* panel = window.actionPanel();
    QCOMPARE(panel->m_productLabel->text(), QStringLiteral("Acad 2005/2006"));
    QVERIFY(window.m_sortByFieldButton->isHidden());

    // Apply alone shows the new product in the panel while the dialog is still open.
    QString labelAfterApply;
    {
        ModalDriver driver;
        driver.on<OptionsDialog>([&](OptionsDialog* dialog) {
            dialog->m_productButtons->button(12)->click(); // Cad2010
            dialog->m_applyButton->click();
            labelAfterApply = panel->m_productLabel->text();
            dialog->reject();
            return true;
        });
        control<QAction>(&window, "MnuOptionsFile")->trigger();
    }
    QCOMPARE(labelAfterApply, QStringLiteral("Acad 2010/2011/2012"));
    QCOMPARE(window.m_productCode, std::string("Cad2010"));

    {
        ModalDriver driver;
        driver.on<OptionsDialog>([](OptionsDialog* dialog) {
            dialog->m_productButtons->button(3)->click(); // CadLT2000
            dialog->m_fieldSortCheck->click();
            dialog->m_fieldDelimiterEdit->setText(QStringLiteral("-"));
            dialog->m_fieldNumberEdit->setText(QStringLiteral("1"));
            dialog->m_okButton->click();
            return true;
        });
        control<QAction>(&window, "MnuOptionsFile")->trigger();
    }
    QCOMPARE(panel->m_productLabel->text(), QStringLiteral("Acad LT 2000/2002"));
    QCOMPARE(window.m_productCode, std::string("CadLT2000"));
    QVERIFY(!window.m_sortByFieldButton->isHidden());
}

void OptionsDialogTest::locateDatabaseWritesTheAddressByApplyOrOk()
{
    GuiEnvironment env;
    LocateDatabaseDialog dialog;
    dialog.show();
    dialog.m_browseButton->click(); // cancelled: nothing queued
    QVERIFY(dialog.m_databasePathEdit->text().isEmpty() && !dialog.m_applyButton->isEnabled());
    QCOMPARE(env.dialogs().calls().value(0).filter,
             QStringLiteral("Routine Database File (Batch_CAD.dat)|Batch_CAD.dat|All Database File (*.dat)|*.dat|"
                            "All Files (*.*)|*.*"));
    dialog.m_databasePathEdit->setText(QStringLiteral("   "));
    dialog.m_okButton->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(databaseSetting(env), std::string("Unknown"));
    QCOMPARE(env.dialogs().messages().value(0), (UserMessage{"Please Enter The Address for the Routine Database file.",
                                                             "Error", MessageIcon::Exclamation}));

    // Browse fills the address and enables Apply, which writes it and keeps the dialog open.
    env.dialogs().clear();
    const QString chosen = env.file(QStringLiteral("Batch_CAD.dat"));
    env.dialogs().queueFiles({chosen});
    dialog.m_browseButton->click();
    QCOMPARE(dialog.m_databasePathEdit->text(), chosen);
    dialog.m_applyButton->click();
    QCOMPARE(databaseSetting(env), chosen.toStdString());
    QVERIFY(dialog.isVisible());
    QVERIFY(env.dialogs().messages().isEmpty());

    // A typed path is taken as it stands, whether or not the file exists yet; OK closes.
    const QString typed = env.file(QStringLiteral("elsewhere/Routines.dat"));
    dialog.m_databasePathEdit->setText(typed);
    dialog.m_okButton->click();
    QCOMPARE(databaseSetting(env), typed.toStdString());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(env.dialogs().messages().value(0),
             (UserMessage{"You will have to restart Quorvel for the changes to take affect.", "Quorvel Explanation",
                          MessageIcon::Information}));
    dialog.show();
    dialog.m_cancelButton->click();
    QVERIFY(!dialog.isVisible());
}

void OptionsDialogTest::locateDatabaseReportsAFailedWriteAndStays()
{
    GuiEnvironment env;
    // A folder where the settings file should be makes every write fail.
    QVERIFY(QDir(env.folder()).mkdir(QStringLiteral("Quorvel.ini")));
    LocateDatabaseDialog dialog;
    dialog.show();
    dialog.m_databasePathEdit->setText(env.file(QStringLiteral("Batch_Cad.dat")));
    for (auto [button, routine] : {std::pair{dialog.m_applyButton, "in routine cmdApply_Click"},
                                   std::pair{dialog.m_okButton, "in routine cmdOK_Click"}}) {
        env.dialogs().clear();
        button->setEnabled(true);
        button->click();
        QVERIFY(dialog.isVisible());
        const auto messages = env.dialogs().messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].title == "Quorvel Error" && messages[0].text.find(routine) != std::string::npos,
                 messages[0].text.c_str());
    }
}

void OptionsDialogTest::loadReportsDatabaseProblems()
{
    GuiEnvironment env;
    // A recorded path in a missing folder: the locate dialog explains, and the user can point elsewhere.
    const std::string missing = env.file(QStringLiteral("missing/Batch_Cad.dat")).toStdString();
    storeSetting(keys::kDatabaseSection, keys::kDatabaseKey, missing);
    databaseNoticeShown() = false;
    makeCatalogue().resize(1);
    QString shownText;
    const QString fixed = env.file(QStringLiteral("Batch_Cad.dat"));
    whenModalOpens<LocateDatabaseDialog>(qApp, [&](LocateDatabaseDialog* dialog) {
        shownText = dialog->m_explanationLabel->text();
        dialog->m_databasePathEdit->setText(fixed);
        dialog->m_okButton->click();
    });
    QVERIFY(!loadCatalogue());
    QCOMPARE(shownText, QString::fromLatin1(kLocateDatabaseText));
    QVERIFY(databaseNoticeShown());
    QVERIFY(makeCatalogue().empty());
    QCOMPARE(databaseSetting(env), fixed.toStdString());

    // The new path works; a file ending in part of a record is read with a warning, and not written to.
    QVERIFY(routineDatabase().add(makeRoutineForAdd("Zoom", "_Zoom\r\n_E", false)).ok());
    writeFile(fixed, readFile(fixed) + "partial");
    env.dialogs().clear();
    QVERIFY(loadCatalogue());
    QCOMPARE(makeCatalogue().size(), std::size_t{1});
    QCOMPARE(env.dialogs().messages().size(), 1);
    QCOMPARE(env.dialogs().messages()[0].title, std::string("Quorvel Warning"));
    QVERIFY(addRoutineToDatabase(makeRoutineForAdd("Regen", "_Regen", false)) == std::nullopt);
    QVERIFY(env.dialogs().messages().value(1).text.find("in routine Add_to_Database") != std::string::npos);
}

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
