#include "config/SetupWizard.h"

#include "config/CadProducts.h"
#include "config/LocateFileDialog.h"
#include "config/PlotFilesSetupDialog.h"
#include "config/ProductChoiceDialog.h"
#include "config/Settings.h"
#include "config/SetupWizardDialog.h"
#include "support/GuiTestSupport.h"
#include "support/HeldFile.h"
#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <atomic>

using namespace qv;
using namespace qv::test;

namespace {

QString asQString(std::string_view text)
{
    QString out = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A machine with a CAD program and its plot files under a folder of the test's own (cleanup() forgets it).
struct FakeMachine
{
    QTemporaryDir root;
    QString exe() const { return native(root.filePath(QStringLiteral("Program Files/Autodesk/AutoCAD LT 2018/acadlt.exe"))); }
    QString plotters() const { return native(root.filePath(QStringLiteral("Users/me/AppData/Plotters"))); }
    QString styles() const { return native(root.filePath(QStringLiteral("Users/me/AppData/Plotters/Plot Styles"))); }

    FakeMachine()
    {
        writeFile(exe());
        writeFile(plotters() + QStringLiteral("/PublishToWeb JPG.pc3"));
        writeFile(styles() + QStringLiteral("/DWF Virtual Pens.ctb"));
        const std::string top = native(root.path()).toStdString();
        LocateFileDialog::setSearchRoots([top](LocateMode) { return std::vector<std::string>{top}; });
    }
};

// Confirms what a locate window found once its search has ended, or closes it when it found nothing.
bool confirmFound(LocateFileDialog* window)
{
    if (window->isSearching())
        return false;
    if (window->m_locationEdit->text().isEmpty())
        window->reject();
    else
        window->m_nextButton->click();
    return true;
}

} // namespace

class SetupWizardTest final : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        LocateFileDialog::setSearchRoots({});
        LocateFileDialog::setFileSearch({});
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
    void closingTheProductWindowGoesBack();
    void runAgainStartsFromTheSettingsAndChangesNothingUnasked();
};

void SetupWizardTest::versionWindowRecordsEachChoice()
{
    GuiEnvironment env;
    SetupWizardDialog setup;
    setup.m_executableName = QStringLiteral("before.exe");
    ProductChoiceDialog version(&setup);
    QCOMPARE(version.windowTitle(), QStringLiteral("AutoCAD Version Selection"));
    QCOMPARE(version.m_headingLabel->text(), QStringLiteral("Please select your current version of AutoCAD"));
    QCOMPARE(version.m_productButtons->buttons().size(), 20);
    QVERIFY(!version.m_nextButton->isEnabled());
    QCOMPARE(version.m_nextButton->text(), QStringLiteral("Next"));

    // The placeholder changes nothing (that it records nothing is the core's).
    version.chooseProduct(12);
    QVERIFY(!version.m_nextButton->isEnabled());
    QCOMPARE(setup.m_executableName, QStringLiteral("before.exe"));

    // What each choice writes is the core's; the window ticks the step and follows the executable name.
    version.m_productButtons->button(1)->click();
    QVERIFY(version.m_nextButton->isEnabled());
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("Cad14"));
    QVERIFY(setup.m_productCheck->isChecked());
    QCOMPARE(setup.m_productLabel->text(), QStringLiteral("AutoCAD Version Acad R14 Selected"));
    QCOMPARE(setup.m_executableName, QStringLiteral("Acad.exe"));

    // BricsCAD keeps the executable name known before.
    version.m_productButtons->button(5)->click();
    QCOMPARE(setup.m_executableName, QStringLiteral("Acad.exe"));

    version.show();
    version.m_nextButton->click();
    QVERIFY(!version.isVisible());
}

void SetupWizardTest::wizardRunsEndToEnd()
{
    GuiEnvironment env;
    FakeMachine machine;
    SetupWizardDialog setup;
    QCOMPARE(setup.m_explanationLabel->text(),
             QStringLiteral("\nQuorvel will now locate files needed for operation.\nClick Start to continue"));
    QCOMPARE(setup.m_databaseLabel->text(), QStringLiteral("Setup Location for Routine Database."));
    QCOMPARE(setup.m_executableLabel->text(), QStringLiteral("Setup Location of CAD .exe File."));
    QCOMPARE(setup.m_startFinishButton->text(), QStringLiteral("Start"));
    for (QCheckBox* check :
         {setup.m_productCheck, setup.m_databaseCheck, setup.m_scriptFolderCheck, setup.m_executableCheck})
        QVERIFY(!check->isChecked());

    ModalDriver driver;
    QString searchingShown;
    driver.on<ProductChoiceDialog>([](ProductChoiceDialog* window) {
        window->m_productButtons->button(18)->click(); // AutoCAD LT 2018 - 2025: Acadlt.exe
        window->m_nextButton->click();
        return true;
    });
    driver.on<LocateFileDialog>([&](LocateFileDialog* window) {
        if (window->mode() == LocateMode::ACADEXE && searchingShown.isEmpty())
            searchingShown = setup.m_executableLabel->text();
        return confirmFound(window);
    });
    driver.on<PlotFilesSetupDialog>([](PlotFilesSetupDialog* window) {
        window->m_nextButton->click();
        return true;
    });
    env.dialogs().queueAnswer(MessageAnswer::Yes); // locate the plot files now
    setup.show();
    setup.m_startFinishButton->click();

    QCOMPARE(driver.handled(),
             (QStringList{QStringLiteral("qv::ProductChoiceDialog"), QStringLiteral("qv::LocateFileDialog"),
                          QStringLiteral("qv::LocateFileDialog"), QStringLiteral("qv::LocateFileDialog"),
                          QStringLiteral("qv::PlotFilesSetupDialog")}));
    QCOMPARE(searchingShown, QStringLiteral("Searching for Acadlt.exe..............."));
    QCOMPARE(env.dialogs().messages(), QList{setup_text::plotFilesQuestion()});

    const QString database = env.file(QStringLiteral("Batch_Cad.dat"));
    const QString sep = QDir::separator();
    QCOMPARE(env.settingsValue("db_Address", "dbAddress"), database.toStdString());
    QCOMPARE(env.settingsValue("Batch_Address", "BatchAddress"), env.folder().toStdString());
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("CadLT2018"));
    QCOMPARE(env.settingsValue("Acad_Address", "AcadAddress"), machine.exe().toStdString());
    QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), (machine.plotters() + sep).toStdString());
    QCOMPARE(env.settingsValue("PlotWizard_Set", "Style_Loc"), (machine.styles() + sep).toStdString());
    QCOMPARE(env.settingsValue("Startup_Set", "Setup"), std::string("Unknown"));

    for (QCheckBox* check :
         {setup.m_productCheck, setup.m_databaseCheck, setup.m_scriptFolderCheck, setup.m_executableCheck})
        QVERIFY2(check->isChecked(), qPrintable(check->objectName()));
    QCOMPARE(setup.m_productLabel->text(), QStringLiteral("AutoCAD Version Acad LT 2018 - 2025 Selected"));
    QCOMPARE(setup.m_databaseLabel->text(), asQString(setup_text::databaseLocated(database.toStdString())));
    QVERIFY(setup.m_scriptFolderLabel->text().startsWith(QStringLiteral("Routine Script File Batch.Scr located at\n")));
    QCOMPARE(setup.m_executableLabel->text(), asQString(setup_text::executableLocated(machine.exe().toStdString())));
    QCOMPARE(setup.m_setupStatus, env.folder());
    QCOMPARE(setup.m_explanationLabel->text(), asQString(setup_text::wizardComplete()));
    QCOMPARE(setup.m_startFinishButton->text(), QStringLiteral("Finish"));
    QVERIFY(setup.m_startFinishButton->isEnabled());
    QVERIFY(!setup.m_cancelButton->isEnabled());

    setup.m_startFinishButton->click();
    QVERIFY(!setup.isVisible());
    QCOMPARE(setup.result(), int(QDialog::Accepted));
    QCOMPARE(env.settingsValue("Startup_Set", "Setup"), std::string("YES"));
}

void SetupWizardTest::plotFilesNoLeavesTheLocationsAlone()
{
    GuiEnvironment env;
    FakeMachine machine;
    storeSetting("PlotWizard_Set", "PC3_Loc", "/kept/");
    // A database recorded before is kept (the core's) and shown.
    storeSetting("db_Address", "dbAddress", "/shared/Batch_Cad.dat");
    SetupWizardDialog setup;
    ModalDriver driver;
    driver.on<ProductChoiceDialog>([](ProductChoiceDialog* window) {
        window->m_productButtons->button(17)->click();
        window->m_nextButton->click();
        return true;
    });
    driver.on<LocateFileDialog>(&confirmFound);
    env.dialogs().queueAnswer(MessageAnswer::No);
    setup.show();
    setup.m_startFinishButton->click();
    QCOMPARE(driver.handled(),
             (QStringList{QStringLiteral("qv::ProductChoiceDialog"), QStringLiteral("qv::LocateFileDialog")}));
    QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), std::string("/kept/"));
    QCOMPARE(env.settingsValue("PlotWizard_Set", "Style_Loc"), std::string("Unknown"));
    QCOMPARE(setup.m_databaseLabel->text(),
             QStringLiteral("Routine Database Batch_CAD.Dat located at\n/shared/Batch_Cad.dat"));
    // Acad.exe is not on this machine: nothing was found, so the window waited for an address.
    QCOMPARE(env.settingsValue("Acad_Address", "AcadAddress"), std::string("Unknown"));
    QVERIFY(!setup.m_executableCheck->isChecked());
    QCOMPARE(setup.m_executableLabel->text(), QStringLiteral("Setup Location of CAD .exe File."));
}

void SetupWizardTest::cancelAsksAndYesQuits()
{
    GuiEnvironment env;
    SetupWizardDialog setup;
    setup.show();
    env.dialogs().queueAnswer(MessageAnswer::No);
    setup.m_cancelButton->click();
    QVERIFY(setup.isVisible());
    QVERIFY(setup.m_setupStatus.isEmpty());
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
    setup.m_cancelButton->click();
    QVERIFY(!setup.isVisible());
    QCOMPARE(setup.m_setupStatus, QStringLiteral("FALSE"));
    QCOMPARE(env.settingsValue("Startup_Set", "Setup"), std::string("Unknown"));
    QVERIFY(!readSetupDone(programState().settings));
}

void SetupWizardTest::heldScriptForcesAnotherFolder()
{
    GuiEnvironment env;
    // A CAD host is running the script in the settings folder.
    const QString held = env.file(QStringLiteral("Batch.scr"));
    writeFile(held, "_Open\r\nA.dwg\r\n");
    HeldFile host(held);
    QVERIFY(host.isHeld());
    // The first answer cancels the folder dialog, the second picks a writable folder. (Which folders are refused
    // is the core's.)
    const QString chosen = env.file(QStringLiteral("scripts"));
    QVERIFY(QDir().mkpath(chosen));
    env.dialogs().queueFolder(QString());
    env.dialogs().queueFolder(chosen);

    SetupWizardDialog setup;
    setup.locateScriptFolder();
    host.release();

    QCOMPARE(readFile(held), QByteArray("_Open\r\nA.dwg\r\n"));
    QCOMPARE(readFile(chosen + QStringLiteral("/Batch.scr")), QByteArray("Test\r\n"));
    QCOMPARE(env.settingsValue("batch_address", "batchaddress"), chosen.toStdString());
    QCOMPARE(setup.m_setupStatus, chosen);
    QVERIFY(setup.m_scriptFolderCheck->isChecked());
    // Refused for the held script and again for the cancelled folder dialog, each time followed by that dialog.
    using Call = ScriptedUserDialogs::Call;
    QList<int> kinds;
    for (const auto& call : env.dialogs().calls())
        kinds << call.kind;
    QCOMPARE(kinds, (QList<int>{Call::Message, Call::BrowseFolder, Call::Message, Call::BrowseFolder}));
    QCOMPARE(env.dialogs().messages(), (QList{readWriteFolderMessage(), readWriteFolderMessage()}));
}

void SetupWizardTest::locateWithNothingFoundExplainsAndInsists()
{
    GuiEnvironment env;
    // A machine without the folder searched: the search ends with the explanation, not an error.
    LocateFileDialog::setSearchRoots([missing = env.file(QStringLiteral("Program Files")).toStdString()](LocateMode) {
        return std::vector<std::string>{missing};
    });
    QCheckBox check;
    QLabel label(QStringLiteral("Setup Location of CAD .exe File."));
    LocateFileDialog window(LocateMode::ACADEXE, QStringLiteral("Aclt.exe"), &check, &label);
    QSignalSpy finished(&window, &LocateFileDialog::searchFinished);
    window.show();
    QTRY_COMPARE(finished.size(), 1);
    QVERIFY(!window.isSearching());
    QVERIFY(window.m_locationEdit->text().isEmpty());
    QCOMPARE(window.m_locationLabel->text(), QStringLiteral("Aclt.exe Location"));
    QCOMPARE(window.m_explanationLabel->text(), asQString(locateTextsFor(LocateMode::ACADEXE, "Aclt.exe").notFound));
    QCOMPARE(window.m_nextButton->text(), QStringLiteral("Next"));
    QVERIFY(env.dialogs().messages().isEmpty());

    window.m_locationEdit->setText(QStringLiteral("   "));
    window.m_nextButton->click();
    QVERIFY(window.isVisible());
    QCOMPARE(env.dialogs().messages().value(0), emptyAddressMessage());
    QCOMPARE(window.focusWidget(), window.m_locationEdit);
    QCOMPARE(window.m_locationEdit->selectedText(), QStringLiteral("   "));
    QVERIFY(!check.isChecked());

    // Browse offers the programs of this system (the Windows filter for each executable is the core's).
    const QString exe = env.file(QStringLiteral("cad/Aclt.exe"));
    env.dialogs().queueFiles({exe});
    window.m_browseButton->click();
#ifdef Q_OS_WIN
    QCOMPARE(env.dialogs().calls().back().filter,
             QStringLiteral("AutoCAD LT (Aclt.exe)|Aclt.exe|AutoCAD Full (Acad.exe)|Acad.exe|All Files (*.*)|*.*"));
#else
    QCOMPARE(env.dialogs().calls().back().filter, QStringLiteral("Programs|<executable>|All Files (*)|*"));
#endif
    QCOMPARE(window.m_locationEdit->text(), exe);
    window.m_nextButton->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(env.settingsValue("Acad_Address", "AcadAddress"), exe.toStdString());
    QVERIFY(check.isChecked());
    QCOMPARE(label.text(), asQString(setup_text::executableLocated(exe.toStdString())));

    // A settings file that cannot be written: reported, nothing ticked, the window stays.
    GuiEnvironment blockedEnv;
    QVERIFY(QDir(blockedEnv.folder()).mkdir(QStringLiteral("Quorvel.ini")));
    QCheckBox unticked;
    LocateFileDialog failing(LocateMode::ACADEXE, QStringLiteral("Acad.exe"), &unticked, nullptr);
    failing.show();
    QTRY_VERIFY(!failing.isSearching());
    failing.m_locationEdit->setText(QStringLiteral("/cad/acad.exe"));
    failing.m_nextButton->click();
    QVERIFY(failing.isVisible());
    QVERIFY(!unticked.isChecked());
    QVERIFY(blockedEnv.dialogs().messages().value(0).text.find("in routine LocateAcadcmdOK_Click") !=
            std::string::npos);
}

void SetupWizardTest::searchShowsProgressAndStops()
{
    GuiEnvironment env;
    std::atomic<bool> sawStop = false;
    LocateFileDialog::setFileSearch(
        [&](const std::vector<std::string>&, const std::string& name, const FileSearchOptions& options) {
            // A search of a whole disk: it reports where it is until it is told to stop.
            for (int i = 0; !options.stop.stop_requested(); ++i) {
                options.onFolder("/mnt/big/folder" + std::to_string(i) + "/" + name);
                QThread::msleep(2);
            }
            sawStop = true;
            return std::string("/mnt/big/last/") + name;
        });
    QLabel label(QStringLiteral("before"));
    LocateFileDialog window(LocateMode::PC3, QString(), nullptr, &label);
    QSignalSpy finished(&window, &LocateFileDialog::searchFinished);
    window.show();
    QVERIFY(window.isSearching());
    QCOMPARE(label.text(), QStringLiteral("Searching for Plot Setup ..............."));
    QVERIFY(!window.m_nextButton->isEnabled() && !window.m_browseButton->isEnabled());
    QVERIFY(window.m_stopButton->isVisible() && window.m_searchProgress->isVisible());
    // The window stays responsive and shows where the search is.
    QTRY_VERIFY(window.m_searchFolderLabel->text().contains(QStringLiteral("/mnt/big/folder")));
    window.m_stopButton->click();
    QTRY_COMPARE(finished.size(), 1);
    QVERIFY(sawStop);
    QVERIFY(!window.isSearching());
    QVERIFY(window.m_nextButton->isEnabled() && !window.m_stopButton->isVisible());
    // A stopped search offers what it found; this one found its file as it stopped.
    QCOMPARE(window.m_locationEdit->text(), QStringLiteral("/mnt/big/last") + QDir::separator());

    // Closing the window while a search runs stops it and leaves the checklist as it was.
    LocateFileDialog::setFileSearch(
        [](const std::vector<std::string>&, const std::string&, const FileSearchOptions& options) {
            while (!options.stop.stop_requested())
                QThread::msleep(2);
            return std::string();
        });
    QLabel second(QStringLiteral("Setup Location for Plot Style Files."));
    {
        LocateFileDialog closing(LocateMode::CTB, QString(), nullptr, &second);
        closing.show();
        QCOMPARE(second.text(), QStringLiteral("Searching for Plot Style ..............."));
        closing.reject();
        QVERIFY(!closing.isSearching());
    }
    QCOMPARE(second.text(), QStringLiteral("Setup Location for Plot Style Files."));
}

void SetupWizardTest::plotFolderIsLocatedBrowsedAndSaved()
{
    GuiEnvironment env;
    FakeMachine machine;
    QCheckBox check;
    QLabel label;
    LocateFileDialog window(LocateMode::PC3, QString(), &check, &label);
    QCOMPARE(window.windowTitle(), QStringLiteral("Locate Plotter Configuration File"));
    QCOMPARE(window.m_locateGroup->title(), QStringLiteral("Locate PC3 File"));
    window.show();
    QTRY_VERIFY(!window.isSearching());
    const QString sep = QDir::separator();
    QCOMPARE(window.m_locationEdit->text(), machine.plotters() + sep);
    QCOMPARE(window.m_explanationLabel->text(), asQString(locateTextsFor(LocateMode::PC3, "").found));

    // Browse picks a folder; OK stores it with one trailing separator.
    const QString other = env.file(QStringLiteral("MyPlotters"));
    env.dialogs().queueFolder(other);
    window.m_browseButton->click();
    QCOMPARE(env.dialogs().calls().back().kind, ScriptedUserDialogs::Call::BrowseFolder);
    QCOMPARE(window.m_locationEdit->text(), other);
    window.m_nextButton->click();
    QCOMPARE(env.settingsValue("PlotWizard_Set", "PC3_Loc"), (other + sep).toStdString());
    QVERIFY(check.isChecked());
    QCOMPARE(label.text(), QStringLiteral("Plotter configuration File Located at\n") + other + sep);
}

void SetupWizardTest::plotFilesStepExplainsWhereFilesAre()
{
    GuiEnvironment env;
    PlotFilesSetupDialog window;
    QCOMPARE(window.m_plotterFolderLabel->text(), QStringLiteral("Setup Location for Plotter Configuration Files."));
    QCOMPARE(window.m_plotStyleFolderLabel->text(), QStringLiteral("Setup Location for Plot Style Files."));
    QCOMPARE(window.m_explanationLabel->text(),
             QStringLiteral("Quorvel will now locate Plotter configuration files used "
                            "by the plot creation wizard\n\nClick Next to start"));
    QVERIFY(!window.m_plotterFolderCheck->isChecked() && !window.m_plotStyleFolderCheck->isChecked());
    QCOMPARE(window.m_nextButton->text(), QStringLiteral("Next"));
    window.m_plotFilesHelpButton->click();
    QCOMPARE(env.dialogs().messages().value(0).title, std::string("Plot File Locations"));
    window.show();
    window.m_cancelButton->click();
    QVERIFY(!window.isVisible());
    QVERIFY(!QFile::exists(env.file(QStringLiteral("Quorvel.ini"))));
}

void SetupWizardTest::closingTheProductWindowGoesBack()
{
    GuiEnvironment env;
    FakeMachine machine;
    SetupWizardDialog setup;
    ModalDriver driver;
    bool closeIt = true;
    driver.on<ProductChoiceDialog>([&closeIt](ProductChoiceDialog* window) {
        if (closeIt) {
            window->close(); // its X
        } else {
            window->m_productButtons->button(18)->click();
            window->m_nextButton->click();
        }
        return true;
    });
    driver.on<LocateFileDialog>(&confirmFound);
    setup.show();
    setup.m_startFinishButton->click();

    // Back at the checklist: nothing further was asked, no product, and Start offered again (never Finish).
    QCOMPARE(driver.handled(), QStringList{QStringLiteral("qv::ProductChoiceDialog")});
    QCOMPARE(setup.m_startFinishButton->text(), QStringLiteral("Start"));
    QVERIFY(setup.m_startFinishButton->isEnabled() && setup.m_cancelButton->isEnabled());
    QVERIFY(!setup.m_productCheck->isChecked());
    QCOMPARE(setup.m_productLabel->text(), QStringLiteral("Setup Cad Version Been Used."));
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("Unknown"));

    // Start again, choosing this time: the setup goes on to the end.
    closeIt = false;
    env.dialogs().queueAnswer(MessageAnswer::No);
    setup.m_startFinishButton->click();
    QCOMPARE(setup.m_startFinishButton->text(), QStringLiteral("Finish"));
    QCOMPARE(env.settingsValue("Cad_Ver", "CadVer"), std::string("CadLT2018"));
}

void SetupWizardTest::runAgainStartsFromTheSettingsAndChangesNothingUnasked()
{
    GuiEnvironment env;
    FakeMachine machine;
    const QString scripts = env.file(QStringLiteral("scripts"));
    QVERIFY(QDir().mkpath(scripts));
    // Set up before, the script folder chosen in Options, the executable somewhere the search would not look.
    storeSetting("Cad_Ver", "CadVer", "CadLT2018");
    storeSetting("batch_Address", "batchAddress", scripts.toStdString());
    storeSetting("Acad_Address", "AcadAddress", "/opt/cad/acadlt");
    storeSetting("db_Address", "dbAddress", "/shared/Batch_Cad.dat");
    storeSetting("PlotWizard_Set", "PC3_Loc", "/plotters/");
    storeSetting("PlotWizard_Set", "Style_Loc", "/styles/");
    const QByteArray before = readFile(env.file(QStringLiteral("Quorvel.ini")));

    SetupWizardDialog setup;
    ModalDriver driver;
    QStringList shown;
    driver.on<ProductChoiceDialog>([&shown](ProductChoiceDialog* window) {
        QAbstractButton* chosen = window->m_productButtons->checkedButton();
        shown << (chosen ? chosen->objectName() : QString());
        if (!window->m_nextButton->isEnabled())
            return false;
        window->m_nextButton->click();
        return true;
    });
    driver.on<LocateFileDialog>([&shown](LocateFileDialog* window) {
        shown << (window->isSearching() ? QStringLiteral("searching") : window->m_locationEdit->text());
        window->m_nextButton->click();
        return true;
    });
    driver.on<PlotFilesSetupDialog>([](PlotFilesSetupDialog* window) {
        window->m_nextButton->click();
        return true;
    });
    env.dialogs().queueAnswer(MessageAnswer::Yes);
    setup.show();
    setup.m_startFinishButton->click();

    // Every step showed what is stored, and confirming it wrote nothing: the settings are byte for byte as before.
    QCOMPARE(shown, (QStringList{QStringLiteral("optCadVer_18"), QStringLiteral("/opt/cad/acadlt"),
                                 QStringLiteral("/plotters/"), QStringLiteral("/styles/")}));
    QCOMPARE(readFile(env.file(QStringLiteral("Quorvel.ini"))), before);
    QCOMPARE(setup.m_setupStatus, scripts);
    QVERIFY(setup.m_productCheck->isChecked() && setup.m_executableCheck->isChecked());
    QCOMPARE(setup.m_executableLabel->text(), QStringLiteral("AutoCAD Executable Located at\n/opt/cad/acadlt"));
}

QTEST_MAIN(SetupWizardTest)
#include "SetupWizardTest.moc"
