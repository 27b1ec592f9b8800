#include "config/CadProducts.h"
#include "config/FrmAcadVer.h"
#include "config/SettingsKeys.h"
#include "config/SetupWizard.h"
#include "config/frmLocateFile.h"
#include "config/frmSetPlotFiles.h"
#include "config/frmSetup.h"
#include "support/GuiTestSupport.h"
#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <atomic>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

QString Text(std::string_view text)
{
    QString out = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void MakeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A machine with a CAD program and its plot files under a folder of the test's own.
struct FakeMachine
{
    QTemporaryDir root;
    QString exe() const { return root.filePath(QStringLiteral("Program Files/Autodesk/AutoCAD LT 2018/acadlt.exe")); }
    QString plotters() const { return root.filePath(QStringLiteral("Users/me/AppData/Plotters")); }
    QString styles() const { return root.filePath(QStringLiteral("Users/me/AppData/Plotters/Plot Styles")); }

    FakeMachine()
    {
        MakeFile(exe());
        MakeFile(plotters() + QStringLiteral("/PublishToWeb JPG.pc3"));
        MakeFile(styles() + QStringLiteral("/DWF Virtual Pens.ctb"));
        const std::string top = root.path().toStdString();
        frmLocateFile::SetSearchRoots([top](LocateMode) { return std::vector<std::string>{top}; });
    }
    ~FakeMachine() { frmLocateFile::SetSearchRoots({}); }
};

// Confirms what a locate window found once its search has ended, or closes it when it found nothing.
bool ConfirmFound(frmLocateFile* window)
{
    if (window->searching())
        return false;
    if (window->txtAddress->text().isEmpty())
        window->reject();
    else
        window->cmdok->click();
    return true;
}

} // namespace

class SetupWizardTest final : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        frmLocateFile::SetSearchRoots({});
        frmLocateFile::SetFileSearch({});
    }
    void versionWindowRecordsEachChoice();
    void wizardRunsEndToEnd();
    void plotFilesNoLeavesTheLocationsAlone();
    void cancelAsksAndYesQuits();
    void heldScriptForcesAnotherFolder();
    void locateWithNothingFoundExplainsAndInsists();
    void searchShowsProgressAndStops();
    void plotFolderIsLocatedBrowsedAndSaved();
    void plotFilesStepExplainsWhereFilesAre();
};

void SetupWizardTest::versionWindowRecordsEachChoice()
{
    GuiEnvironment env;
    frmSetup setup;
    setup.ExecutableName = QStringLiteral("before.exe");
    FrmAcadVer version(&setup);
    QCOMPARE(version.windowTitle(), QStringLiteral("AutoCAD Version Selection"));
    QCOMPARE(version.lblHeading->text(), QStringLiteral("Please select your current version of AutoCAD"));
    QCOMPARE(version.optCadVer->buttons().size(), 20);
    QVERIFY(!version.cmdOKAcadver->isEnabled());
    QCOMPARE(version.cmdOKAcadver->text(), QStringLiteral("Next"));

    // The placeholder changes nothing.
    version.optCadVer_Click(12);
    QVERIFY(!version.cmdOKAcadver->isEnabled());
    QVERIFY(!QFile::exists(env.file(QStringLiteral("Quorvel.ini"))));
    QCOMPARE(setup.ExecutableName, QStringLiteral("before.exe"));

    // What each choice writes is the core's; the window ticks the step and follows the executable name.
    version.optCadVer->button(1)->click();
    QVERIFY(version.cmdOKAcadver->isEnabled());
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("Cad14"));
    QVERIFY(setup.Chk_AcadVer->isChecked());
    QCOMPARE(setup.lbl_AcadVer->text(), QStringLiteral("AutoCAD Version Acad R14 Selected"));
    QCOMPARE(setup.ExecutableName, QStringLiteral("Acad.exe"));

    // BricsCAD keeps the executable name known before.
    version.optCadVer->button(5)->click();
    QCOMPARE(setup.ExecutableName, QStringLiteral("Acad.exe"));
    version.optCadVer->button(11)->click();
    QCOMPARE(setup.ExecutableName, QStringLiteral("Acadlt.exe"));

    version.show();
    version.cmdOKAcadver->click();
    QVERIFY(!version.isVisible());
}

void SetupWizardTest::wizardRunsEndToEnd()
{
    GuiEnvironment env;
    FakeMachine machine;
    frmSetup setup;
    QCOMPARE(setup.lblExplainEnd->text(),
             QStringLiteral("\nQuorvel will now locate files needed for operation.\nClick Start to continue"));
    QCOMPARE(setup.lbl_DatAddress->text(), QStringLiteral("Setup Location for Routine Database."));
    QCOMPARE(setup.lbl_ExeAddress->text(), QStringLiteral("Setup Location of CAD .exe File."));
    QCOMPARE(setup.cmdSetupExit->text(), QStringLiteral("Start"));
    for (QCheckBox* check : {setup.Chk_AcadVer, setup.Chk_DatAddress, setup.Chk_ScrAddress, setup.Chk_ExeAddress})
        QVERIFY(!check->isChecked());

    ModalDriver driver;
    QString searchingShown;
    driver.on<FrmAcadVer>([](FrmAcadVer* window) {
        window->optCadVer->button(18)->click(); // AutoCAD LT 2018 - 2025: Acadlt.exe
        window->cmdOKAcadver->click();
        return true;
    });
    driver.on<frmLocateFile>([&](frmLocateFile* window) {
        if (window->mode() == LocateMode::ACADEXE && searchingShown.isEmpty())
            searchingShown = setup.lbl_ExeAddress->text();
        return ConfirmFound(window);
    });
    driver.on<frmSetPlotFiles>([](frmSetPlotFiles* window) {
        window->cmdSetupExit->click();
        return true;
    });
    env.dialogs().queueAnswer(MessageAnswer::Yes); // locate the plot files now
    setup.show();
    setup.cmdSetupExit->click();

    QCOMPARE(driver.handled(), (QStringList{QStringLiteral("qv::FrmAcadVer"), QStringLiteral("qv::frmLocateFile"), QStringLiteral("qv::frmLocateFile"),
                                            QStringLiteral("qv::frmLocateFile"), QStringLiteral("qv::frmSetPlotFiles")}));
    QCOMPARE(searchingShown, QStringLiteral("Searching for Acadlt.exe..............."));
    const auto messages = env.dialogs().messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0], setup_text::PlotFilesQuestion());

    const QString database = env.file(QStringLiteral("Batch_Cad.dat"));
    const QString sep = QDir::separator();
    QCOMPARE(env.settingsValue("db_Address", "dbAddress"), database.toStdString());
    QCOMPARE(env.settingsValue("Batch_Address", "BatchAddress"), env.folder().toStdString());
    QCOMPARE(ReadAll(env.file(QStringLiteral("Batch.scr"))), QByteArray("Test\r\n"));
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("CadLT2018"));
    QCOMPARE(env.settingsValue("Acad_Address", "AcadAddress"), machine.exe().toStdString());
    QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), (machine.plotters() + sep).toStdString());
    QCOMPARE(env.settingsValue("PlotWizard_Set", "Style_Loc"), (machine.styles() + sep).toStdString());
    QCOMPARE(env.settingsValue("Startup_Set", "Setup"), std::string("Unknown"));

    for (QCheckBox* check : {setup.Chk_AcadVer, setup.Chk_DatAddress, setup.Chk_ScrAddress, setup.Chk_ExeAddress})
        QVERIFY2(check->isChecked(), qPrintable(check->objectName()));
    QCOMPARE(setup.lbl_AcadVer->text(), QStringLiteral("AutoCAD Version Acad LT 2018 - 2025 Selected"));
    QCOMPARE(setup.lbl_DatAddress->text(), Text(setup_text::DatabaseLocated(database.toStdString())));
    QVERIFY(setup.lbl_ScrAddress->text().startsWith(QStringLiteral("Routine Script File Batch.Scr located at\n")));
    QCOMPARE(setup.lbl_ExeAddress->text(), Text(setup_text::ExecutableLocated(machine.exe().toStdString())));
    QCOMPARE(setup.SetupStatus, env.folder());
    QCOMPARE(setup.lblExplainEnd->text(), Text(setup_text::WizardComplete()));
    QCOMPARE(setup.cmdSetupExit->text(), QStringLiteral("Finish"));
    QVERIFY(setup.cmdSetupExit->isEnabled());
    QVERIFY(!setup.cmdCancel->isEnabled());

    setup.cmdSetupExit->click();
    QVERIFY(!setup.isVisible());
    QCOMPARE(setup.result(), int(QDialog::Accepted));
    QCOMPARE(env.settingsValue("Startup_Set", "Setup"), std::string("YES"));
}

void SetupWizardTest::plotFilesNoLeavesTheLocationsAlone()
{
    GuiEnvironment env;
    FakeMachine machine;
    QVERIFY(Program().ini.WriteValue("PlotWizard_Set", "PC3_Loc", "/kept/").ok());
    // A database recorded before is kept.
    QVERIFY(Program().ini.WriteValue("db_Address", "dbAddress", "/shared/Batch_Cad.dat").ok());
    frmSetup setup;
    ModalDriver driver;
    driver.on<FrmAcadVer>([](FrmAcadVer* window) {
        window->optCadVer->button(17)->click();
        window->cmdOKAcadver->click();
        return true;
    });
    driver.on<frmLocateFile>(&ConfirmFound);
    env.dialogs().queueAnswer(MessageAnswer::No);
    setup.show();
    setup.cmdSetupExit->click();
    QCOMPARE(driver.handled(), (QStringList{QStringLiteral("qv::FrmAcadVer"), QStringLiteral("qv::frmLocateFile")}));
    QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), std::string("/kept/"));
    QCOMPARE(env.settingsValue("PlotWizard_Set", "Style_Loc"), std::string("Unknown"));
    QCOMPARE(env.settingsValue("db_Address", "dbAddress"), std::string("/shared/Batch_Cad.dat"));
    QCOMPARE(setup.lbl_DatAddress->text(), QStringLiteral("Routine Database Batch_CAD.Dat located at\n/shared/Batch_Cad.dat"));
    // Acad.exe is not on this machine: nothing was found, so the window waited for an address.
    QCOMPARE(env.settingsValue("Acad_Address", "AcadAddress"), std::string("Unknown"));
    QVERIFY(!setup.Chk_ExeAddress->isChecked());
    QCOMPARE(setup.lbl_ExeAddress->text(), QStringLiteral("Setup Location of CAD .exe File."));
}

void SetupWizardTest::cancelAsksAndYesQuits()
{
    GuiEnvironment env;
    frmSetup setup;
    setup.show();
    env.dialogs().queueAnswer(MessageAnswer::No);
    setup.cmdCancel->click();
    QVERIFY(setup.isVisible());
    QVERIFY(setup.SetupStatus.isEmpty());
    const UserMessage question{"The setup process is not complete. If you quit now, Quorvel\r\nwill not be properly "
                               "installed. Are you sure that you want to quit\r\n",
                               "Installation", MessageIcon::Question, MessageButtons::YesNo};
    QCOMPARE(env.dialogs().messages().value(0), question);

    // The close button asks the same question.
    env.dialogs().queueAnswer(MessageAnswer::No);
    setup.close();
    QVERIFY(setup.isVisible());
    QCOMPARE(env.dialogs().messages().size(), 2);

    env.dialogs().queueAnswer(MessageAnswer::Yes);
    setup.cmdCancel->click();
    QVERIFY(!setup.isVisible());
    QCOMPARE(setup.SetupStatus, QStringLiteral("FALSE"));
    QCOMPARE(env.settingsValue("Startup_Set", "Setup"), std::string("Unknown"));
    QVERIFY(!IsSetupDone(Program().ini));
}

void SetupWizardTest::heldScriptForcesAnotherFolder()
{
    GuiEnvironment env;
    // A CAD host is running the script in the settings folder.
    const QString held = env.file(QStringLiteral("Batch.scr"));
    {
        QFile script(held);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("_Open\r\nA.dwg\r\n");
    }
    const int host = ::open(held.toLocal8Bit().constData(), O_RDONLY);
    QVERIFY(host >= 0);
    QCOMPARE(::flock(host, LOCK_SH), 0);
    // The first answer cancels the folder dialog, the second picks a folder whose script is a folder, the
    // third a writable folder.
    const QString blocked = env.file(QStringLiteral("blocked"));
    QVERIFY(QDir().mkpath(blocked + QStringLiteral("/Batch.scr")));
    const QString chosen = env.file(QStringLiteral("scripts"));
    QVERIFY(QDir().mkpath(chosen));
    env.dialogs().queueFolder(QString());
    env.dialogs().queueFolder(blocked);
    env.dialogs().queueFolder(chosen);

    frmSetup setup;
    setup.LocateScriptFolder();
    ::close(host);

    QCOMPARE(ReadAll(held), QByteArray("_Open\r\nA.dwg\r\n"));
    QCOMPARE(ReadAll(chosen + QStringLiteral("/Batch.scr")), QByteArray("Test\r\n"));
    QCOMPARE(env.settingsValue("batch_address", "batchaddress"), chosen.toStdString());
    QCOMPARE(setup.SetupStatus, chosen);
    QVERIFY(setup.Chk_ScrAddress->isChecked());
    int refusals = 0;
    int browses = 0;
    for (const auto& call : env.dialogs().calls()) {
        if (call.kind == ScriptedUserDialogs::Call::Message) {
            QCOMPARE(call.message, ReadWriteFolderMessage());
            ++refusals;
        }
        browses += call.kind == ScriptedUserDialogs::Call::BrowseFolder;
    }
    QCOMPARE(refusals, 3);
    QCOMPARE(browses, 3);
}

void SetupWizardTest::locateWithNothingFoundExplainsAndInsists()
{
    GuiEnvironment env;
    // A machine without the folder searched: the search ends with the explanation, not an error.
    frmLocateFile::SetSearchRoots(
        [missing = env.file(QStringLiteral("Program Files")).toStdString()](LocateMode) {
            return std::vector<std::string>{missing};
        });
    QCheckBox check;
    QLabel label(QStringLiteral("Setup Location of CAD .exe File."));
    frmLocateFile window(LocateMode::ACADEXE, QStringLiteral("Aclt.exe"), &check, &label);
    QSignalSpy finished(&window, &frmLocateFile::searchFinished);
    window.show();
    QTRY_COMPARE(finished.size(), 1);
    QVERIFY(!window.searching());
    QVERIFY(window.txtAddress->text().isEmpty());
    QCOMPARE(window.lblFileLocate->text(), QStringLiteral("Aclt.exe Location"));
    QCOMPARE(window.lblLocateFileExplain->text(),
             Text(LocateTextsFor(LocateMode::ACADEXE, "Aclt.exe").notFound));
    QCOMPARE(window.cmdok->text(), QStringLiteral("Next"));
    QVERIFY(env.dialogs().messages().isEmpty());

    window.txtAddress->setText(QStringLiteral("   "));
    window.cmdok->click();
    QVERIFY(window.isVisible());
    QCOMPARE(env.dialogs().messages().value(0), EmptyAddressMessage());
    QCOMPARE(window.focusWidget(), window.txtAddress);
    QCOMPARE(window.txtAddress->selectedText(), QStringLiteral("   "));
    QVERIFY(!check.isChecked());

    // Browse offers the filter of the executable searched for.
    const QString exe = env.file(QStringLiteral("cad/Aclt.exe"));
    env.dialogs().queueFiles({exe});
    window.cmdDatabaseBrowse->click();
    QCOMPARE(env.dialogs().calls().back().filter,
             QStringLiteral("AutoCAD LT (Aclt.exe)|Aclt.exe|AutoCAD Full (Acad.exe)|Acad.exe|All Files (*.*)|*.*"));
    QCOMPARE(window.txtAddress->text(), exe);
    window.cmdok->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(env.settingsValue("Acad_Address", "AcadAddress"), exe.toStdString());
    QVERIFY(check.isChecked());
    QCOMPARE(label.text(), Text(setup_text::ExecutableLocated(exe.toStdString())));

    // A settings file that cannot be written: reported, nothing ticked, the window stays.
    GuiEnvironment blockedEnv;
    QVERIFY(QDir(blockedEnv.folder()).mkdir(QStringLiteral("Quorvel.ini")));
    QCheckBox unticked;
    frmLocateFile failing(LocateMode::ACADEXE, QStringLiteral("Acad.exe"), &unticked, nullptr);
    failing.show();
    QTRY_VERIFY(!failing.searching());
    failing.txtAddress->setText(QStringLiteral("/cad/acad.exe"));
    failing.cmdok->click();
    QVERIFY(failing.isVisible());
    QVERIFY(!unticked.isChecked());
    QVERIFY(blockedEnv.dialogs().messages().value(0).text.find("in routine LocateAcadcmdOK_Click") !=
            std::string::npos);
}

void SetupWizardTest::searchShowsProgressAndStops()
{
    GuiEnvironment env;
    std::atomic<bool> sawStop = false;
    frmLocateFile::SetFileSearch([&](const std::vector<std::string>&, const std::string& name,
                                     const FileSearchOptions& options) {
        // A search of a whole disk: it reports where it is until it is told to stop.
        for (int i = 0; !options.stop.stop_requested(); ++i) {
            options.onFolder("/mnt/big/folder" + std::to_string(i) + "/" + name);
            QThread::msleep(2);
        }
        sawStop = true;
        return std::string("/mnt/big/last/") + name;
    });
    QLabel label(QStringLiteral("before"));
    frmLocateFile window(LocateMode::PC3, QString(), nullptr, &label);
    QSignalSpy finished(&window, &frmLocateFile::searchFinished);
    window.show();
    QVERIFY(window.searching());
    QCOMPARE(label.text(), QStringLiteral("Searching for Plot Setup ..............."));
    QVERIFY(!window.cmdok->isEnabled() && !window.cmdDatabaseBrowse->isEnabled());
    QVERIFY(window.cmdStop->isVisible() && window.prgSearch->isVisible());
    // The window stays responsive and shows where the search is.
    QTRY_VERIFY(window.lblSearchFolder->text().contains(QStringLiteral("/mnt/big/folder")));
    window.cmdStop->click();
    QTRY_COMPARE(finished.size(), 1);
    QVERIFY(sawStop);
    QVERIFY(!window.searching());
    QVERIFY(window.cmdok->isEnabled() && !window.cmdStop->isVisible());
    // A stopped search offers what it found; this one found its file as it stopped.
    QCOMPARE(window.txtAddress->text(), QStringLiteral("/mnt/big/last/"));

    // Closing the window while a search runs stops it and leaves the checklist as it was.
    frmLocateFile::SetFileSearch([](const std::vector<std::string>&, const std::string&,
                                    const FileSearchOptions& options) {
        while (!options.stop.stop_requested())
            QThread::msleep(2);
        return std::string();
    });
    QLabel second(QStringLiteral("Setup Location for Plot Style Files."));
    {
        frmLocateFile closing(LocateMode::CTB, QString(), nullptr, &second);
        closing.show();
        QCOMPARE(second.text(), QStringLiteral("Searching for Plot Style ..............."));
        closing.reject();
        QVERIFY(!closing.searching());
    }
    QCOMPARE(second.text(), QStringLiteral("Setup Location for Plot Style Files."));
}

void SetupWizardTest::plotFolderIsLocatedBrowsedAndSaved()
{
    GuiEnvironment env;
    FakeMachine machine;
    QCheckBox check;
    QLabel label;
    frmLocateFile window(LocateMode::PC3, QString(), &check, &label);
    QCOMPARE(window.windowTitle(), QStringLiteral("Locate Plotter Configuration File"));
    QCOMPARE(window.fraLocateFile->title(), QStringLiteral("Locate PC3 File"));
    window.show();
    QTRY_VERIFY(!window.searching());
    const QString sep = QDir::separator();
    QCOMPARE(window.txtAddress->text(), machine.plotters() + sep);
    QCOMPARE(window.lblFileLocate->text(), QStringLiteral("PC3 Location"));
    QCOMPARE(window.lblLocateFileExplain->text(), Text(LocateTextsFor(LocateMode::PC3, "").found));

    // Browse picks a folder; OK stores it with one trailing separator.
    const QString other = env.file(QStringLiteral("MyPlotters"));
    env.dialogs().queueFolder(other);
    window.cmdDatabaseBrowse->click();
    QCOMPARE(env.dialogs().calls().back().kind, ScriptedUserDialogs::Call::BrowseFolder);
    QCOMPARE(window.txtAddress->text(), other);
    window.cmdok->click();
    QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), (other + sep).toStdString());
    QVERIFY(check.isChecked());
    QCOMPARE(label.text(), QStringLiteral("Plotter configuration File Located at\n") + other + sep);
}

void SetupWizardTest::plotFilesStepExplainsWhereFilesAre()
{
    GuiEnvironment env;
    frmSetPlotFiles window;
    QCOMPARE(window.lbl_Pc3Address->text(), QStringLiteral("Setup Location for Plotter Configuration Files."));
    QCOMPARE(window.lbl_CtbAddress->text(), QStringLiteral("Setup Location for Plot Style Files."));
    QCOMPARE(window.lblExplainEnd->text(), QStringLiteral("Quorvel will now locate Plotter configuration files used "
                                                          "by the plot creation wizard\n\nClick Next to start"));
    QVERIFY(!window.Chk_PC3Address->isChecked() && !window.Chk_CtbAddress->isChecked());
    QCOMPARE(window.cmdSetupExit->text(), QStringLiteral("Next"));
    window.cmdWhere->click();
    QCOMPARE(env.dialogs().messages().value(0).title, std::string("Plot File Locations"));
    window.show();
    window.cmdCancel->click();
    QVERIFY(!window.isVisible());
    QVERIFY(!QFile::exists(env.file(QStringLiteral("Quorvel.ini"))));
}

QTEST_MAIN(SetupWizardTest)
#include "SetupWizardTest.moc"
