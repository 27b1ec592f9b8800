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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace qv;
using namespace qv::test;

class OptionsDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void tabsAndFreshValues();
    void loaderShowsWhatIsStoredAndOkWritesItBack();
    void aFailedCheckStopsTheSaveAtItsField();
    void plotLocationsLoadBrowseAndSave();
    void changesShowInTheMainWindowAtOnce();
    void locateDatabaseWritesTheAddressByApplyOrOkAndReportsAFailedWrite();
    void loadReportsDatabaseProblems();
    void aProgramThatCannotStartIsSavedWithAWarning();
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

    // A fresh settings file (what the readers give for missing keys is the core's): the script folder is the
    // program's, and the sort is off with its fields.
    QCOMPARE(dialog.m_locationEdits[2]->text(), env.folder());
    QVERIFY(!dialog.m_fieldSortCheck->isChecked());
    for (QWidget* field : std::initializer_list<QWidget*>{dialog.m_fieldDelimiterEdit, dialog.m_fieldNumberEdit,
                                                          dialog.m_fieldDelimiterLabel, dialog.m_fieldNumberLabel})
        QVERIFY(!field->isEnabled());
    QVERIFY(!dialog.m_startupSwitchEdit->isEnabled());
    QVERIFY(!dialog.m_applyButton->isEnabled());

    // Any change offers Apply; ticking the sort offers its fields. (The extra switches' button: the failed check test.)
    dialog.show();
    dialog.m_fieldSortCheck->click();
    QVERIFY(dialog.m_applyButton->isEnabled() && dialog.m_fieldDelimiterEdit->isEnabled() &&
            dialog.m_fieldNumberLabel->isEnabled());
    // Cancel writes nothing.
    dialog.m_cancelButton->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(env.settingsValue("FieldOption", "SortOnOff"), std::string("Unknown"));
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

void OptionsDialogTest::aFailedCheckStopsTheSaveAtItsField()
{
    // Which values each check refuses, and what is written before it, are the core's (the options settings tests);
    // here each check stops Apply and OK alike, tells, and puts the focus on its field.
    const UserMessage badNumber{"The Field Number under Sort by Field is incorrect this must be\r\n"
                                "a valid number. Please revise.\r\n",
                                "Quorvel Error", MessageIcon::Information};
    const UserMessage noSwitches{"Please Enter The Startup Switches or Select No Extra Startup Switches", "Error",
                                 MessageIcon::Exclamation};
    for (const bool fieldSort : {true, false}) {
        GuiEnvironment env;
        OptionsDialog dialog;
        dialog.show();
        dialog.m_locationEdits[0]->setText(QStringLiteral("/opt/cad/acad.exe"));
        QLineEdit* field = fieldSort ? dialog.m_fieldNumberEdit : dialog.m_startupSwitchEdit;
        if (fieldSort) {
            dialog.m_fieldSortCheck->click();
            dialog.m_fieldDelimiterEdit->setText(QStringLiteral("-"));
        } else {
            dialog.m_startupSwitchButtons->button(1)->click();
        }
        field->setText(fieldSort ? QStringLiteral("x") : QStringLiteral("   "));
        for (QPushButton* button : {dialog.m_applyButton, dialog.m_okButton}) {
            env.dialogs().clear();
            button->click();
            QVERIFY(dialog.isVisible());
            QVERIFY(dialog.m_cancelButton->isEnabled());
            QCOMPARE(env.dialogs().messages(), QList{fieldSort ? badNumber : noSwitches});
            QCOMPARE(dialog.m_tabs->currentIndex(),
                     int(fieldSort ? OptionsDialog::TabAdvanced : OptionsDialog::TabStartupSwitches));
            QCOMPARE(dialog.focusWidget(), field);
            QCOMPARE(field->selectedText(), field->text());
        }
        // Written before the check: kept.
        QCOMPARE(env.settingsValue("Acad_Address", "AcadAddress"), std::string("/opt/cad/acad.exe"));
    }
}

void OptionsDialogTest::plotLocationsLoadBrowseAndSave()
{
    GuiEnvironment env;
    {
        // Nothing stored: both show "<Default>", and OK writes neither (their place in the file is the core's).
        OptionsDialog dialog;
        QCOMPARE(dialog.m_plotterFolderEdit->text(), QStringLiteral("<Default>"));
        QCOMPARE(dialog.m_plotStyleFolderEdit->text(), QStringLiteral("<Default>"));
        dialog.show();
        dialog.m_plotStyleFolderEdit->setText(QStringLiteral("/styles/"));
        dialog.m_okButton->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), std::string("Unknown"));
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
    // Which boxes are saved (not a blank or "<Default>" one) is the core's.
    dialog.m_applyButton->click();
    QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), std::string("/new/Plotters/"));

    env.dialogs().clear();
    dialog.m_plotFilesHelpButton->click();
    QCOMPARE(env.dialogs().messages().value(0).title, std::string("Plot File Locations"));
    QCOMPARE(env.dialogs().messages().value(0).icon, MessageIcon::Information);
}

void OptionsDialogTest::changesShowInTheMainWindowAtOnce()
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
    ActionPanel* panel = window.actionPanel();
    QVERIFY(!itemTexts(panel->m_routineCombo).contains(QStringLiteral("From the other database")));
    QCOMPARE(panel->m_productLabel->text(), QStringLiteral("Acad 2005/2006"));
    QVERIFY(window.m_sortByFieldButton->isHidden());
    // A browsed database is written and the panel refilled at once, and Apply alone writes and shows a new product,
    // leaving the dialog open without Cancel: what the dialog and the panel show while the dialog is still open.
    std::string writtenAtOnce;
    QString boxText;
    bool applyOffered = false;
    QStringList panelList;
    QString labelAfterApply;
    bool openWithoutCancel = false;
    {
        ModalDriver driver;
        driver.on<OptionsDialog>([&](OptionsDialog* dialog) {
            env.dialogs().queueFiles({QString::fromStdString(other)});
            dialog->m_browseDatabaseButton->click();
            writtenAtOnce = env.settingsValue("db_Address", "dbAddress");
            boxText = dialog->m_locationEdits[1]->text();
            applyOffered = dialog->m_applyButton->isEnabled();
            panelList = itemTexts(panel->m_routineCombo);
            dialog->m_productButtons->button(12)->click(); // Cad2010
            dialog->m_applyButton->click();
            labelAfterApply = panel->m_productLabel->text();
            openWithoutCancel = dialog->isVisible() && !dialog->m_cancelButton->isEnabled();
            dialog->m_productButtons->button(0)->click(); // not applied
            dialog->reject();
            return true;
        });
        auto* properties = control<QAction>(&window, "MnuOptionsFile");
        QVERIFY(properties->isEnabled());
        properties->trigger();
        QCOMPARE(driver.handled(), QStringList{QStringLiteral("qv::OptionsDialog")});
    }
    QCOMPARE(writtenAtOnce, other);
    QCOMPARE(boxText, QString::fromStdString(other));
    QVERIFY(applyOffered);
    QVERIFY(panelList.contains(QStringLiteral("From the other database")));
    QCOMPARE(env.dialogs().calls().value(0).kind, ScriptedUserDialogs::Call::OpenFiles);
    QCOMPARE(env.dialogs().calls().value(0).filter, QString::fromUtf8(options_text::kDatabaseFilter.data()));
    QCOMPARE(labelAfterApply, QStringLiteral("Acad 2010/2011/2012"));
    QVERIFY(openWithoutCancel);
    QVERIFY(programState().release2004OrLater);
    // Closing without OK takes nothing back and writes nothing more.
    QCOMPARE(env.settingsValue("db_Address", "dbAddress"), other);
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("Cad2010"));
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
    QCOMPARE(env.settingsValue("FieldOption", "FieldNum"), std::string("1"));
    QVERIFY(!window.m_sortByFieldButton->isHidden());
    QVERIFY(env.dialogs().messages().isEmpty());
}

void OptionsDialogTest::locateDatabaseWritesTheAddressByApplyOrOkAndReportsAFailedWrite()
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
    QCOMPARE(env.settingsValue("db_Address", "dbAddress"), std::string("Unknown"));
    QCOMPARE(env.dialogs().messages().value(0), (UserMessage{"Please Enter The Address for the Routine Database file.",
                                                             "Error", MessageIcon::Exclamation}));

    // A folder where the settings file should be makes every write fail: reported, and the dialog stays.
    QVERIFY(QDir(env.folder()).mkdir(QStringLiteral("Quorvel.ini")));
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
    QVERIFY(QDir(env.folder()).rmdir(QStringLiteral("Quorvel.ini")));

    // Browse fills the address and enables Apply, which writes it and keeps the dialog open.
    env.dialogs().clear();
    const QString chosen = env.file(QStringLiteral("Batch_CAD.dat"));
    env.dialogs().queueFiles({chosen});
    dialog.m_browseButton->click();
    QCOMPARE(dialog.m_databasePathEdit->text(), chosen);
    dialog.m_applyButton->click();
    QCOMPARE(env.settingsValue("db_Address", "dbAddress"), chosen.toStdString());
    QVERIFY(dialog.isVisible());
    QVERIFY(env.dialogs().messages().isEmpty());

    // A typed path is taken as it stands, whether or not the file exists yet; OK closes.
    const QString typed = env.file(QStringLiteral("elsewhere/Routines.dat"));
    dialog.m_databasePathEdit->setText(typed);
    dialog.m_okButton->click();
    QCOMPARE(env.settingsValue("db_Address", "dbAddress"), typed.toStdString());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(env.dialogs().messages().value(0),
             (UserMessage{"You will have to restart Quorvel for the changes to take affect.", "Quorvel Explanation",
                          MessageIcon::Information}));
    dialog.show();
    dialog.m_cancelButton->click();
    QVERIFY(!dialog.isVisible());
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
    QCOMPARE(env.settingsValue("db_Address", "dbAddress"), fixed.toStdString());

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

void OptionsDialogTest::aProgramThatCannotStartIsSavedWithAWarning()
{
    GuiEnvironment env;
    // Windows runs a file by its extension, other systems by its permission.
#ifdef Q_OS_WIN
    const QString program = env.file(QStringLiteral("cad/acad.exe"));
    const QString text = env.file(QStringLiteral("cad/readme.txt"));
#else
    const QString program = env.file(QStringLiteral("cad/acad"));
    const QString text = env.file(QStringLiteral("cad/readme"));
#endif
    writeFile(program);
    writeFile(text);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // the program typed, the warning's first line (none: no warning); each saved all the same
    const std::pair<QString, std::string> cases[] = {
        {env.file(QStringLiteral("gone/acad")), "The CAD program under Program Executable does not exist:"},
        {env.file(QStringLiteral("cad")), "The Program Executable is a folder, not a program:"},
        {text, "The Program Executable is not a program you may run:"},
        {program, ""},
    };
    for (const auto& [typed, warning] : cases) {
        OptionsDialog dialog;
        dialog.show();
        dialog.m_locationEdits[0]->setText(typed);
        env.dialogs().clear();
        dialog.m_applyButton->click();
        QCOMPARE(env.settingsValue("Acad_Address", "AcadAddress"), typed.toStdString());
        const auto messages = env.dialogs().messages();
        QCOMPARE(messages.size(), warning.empty() ? 0 : 1);
        if (!warning.empty())
            QVERIFY2(messages[0].text.starts_with(warning + "\r\n" + typed.toStdString() + "\r\n"),
                     messages[0].text.c_str());
        // Said once is enough: OK with the same program closes without a word.
        env.dialogs().clear();
        dialog.m_okButton->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(env.dialogs().messages().isEmpty());
    }

    // Browse offers the programs of this system: outside Windows they have no extension to filter by.
    OptionsDialog dialog;
    env.dialogs().queueFiles({});
    dialog.m_browseExecutableButton->click();
#ifdef Q_OS_WIN
    QCOMPARE(env.dialogs().calls().back().filter, QStringLiteral("Exe Files (*.exe)|*.exe|All Files (*.*)|*.*"));
#else
    QCOMPARE(env.dialogs().calls().back().filter, QStringLiteral("Programs|<executable>|All Files (*)|*"));
#endif
}

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
