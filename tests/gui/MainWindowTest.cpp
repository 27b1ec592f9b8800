#include "app/MainWindow.h"

#include "app/AppStartup.h"
#include "app/SplashWindow.h"
#include "config/SettingsKeys.h"
#include "config/SetupWizardDialog.h"
#include "routines/RoutineStore.h"
#include "support/GuiTestSupport.h"
#include "support/ModalDriver.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTreeView>

using namespace qv;
using namespace qv::test;

class MainWindowTest final : public QObject
{
    Q_OBJECT

private slots:
    void showsItsControlsAndMenus();
    void exitAsksAndCancelKeepsRunning();
    void resetWritesNoAfterOkAndReportsAFailedWrite();
    void splashTimerLoadsTheMainWindow();
    void setupRunsFirstUnlessStartedFromTheCommandLine_data();
    void setupRunsFirstUnlessStartedFromTheCommandLine();
    void commandLineIsTrimmedAndQuotesRemoved();
    void helpOpensTheShippedPage();
};

void MainWindowTest::showsItsControlsAndMenus()
{
    GuiEnvironment env;
    MainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Quorvel Ver. 25"));
    QCOMPARE(control<QGroupBox>(&window, "Frame2")->title(), QStringLiteral("Step 1. File Selection"));
    QCOMPARE(control<QGroupBox>(&window, "Frame1")->title(), QStringLiteral("Main Screen"));
    const struct
    {
        const char* name;
        const char* caption;
        const char* tip;
    } buttons[] = {
        {"cmdSortIso", "Sort by Field", "Sort by the field specified under options"},
        {"CmdAdd", "Add Files to List", "Add Drawings To The List"},
        {"cmdDelete", "Remove From List", "Delete Selected Drawings from List"},
        {"cmdClear", "Clear List", "Clear List"},
    };
    for (const auto& b : buttons) {
        auto* button = control<QPushButton>(&window, b.name);
        QVERIFY2(button, b.name);
        QCOMPARE(button->text(), QString::fromLatin1(b.caption));
        QCOMPARE(button->toolTip(), QString::fromLatin1(b.tip));
        QCOMPARE(button->isEnabled(), button == window.m_addFilesButton); // the others wait for drawings
    }
    auto* list = control<QTreeView>(&window, "lstvDrawings");
    QVERIFY(list);
    QCOMPARE(list->model()->columnCount(), 3);
    QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Drawing File"));
    QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Folder"));
    QCOMPARE(list->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Routine"));

    // The menus and their items in order; "&Timer" is an item of the bar itself, after "&Options".
    const struct
    {
        const char* menu;
        const char* title;
        const char* items; // separated by "|"
    } menus[] = {
        {"mnuFile", "&File",
         "Add Drawings|Add New Routines|Update Routines|Save Drawing List|Retrieve Drawing List|"
         "&Check Batch Before Running|Reset Quorvel Startup|E&xit"},
        {"mnuOptions", "&Options", "Properties"},
        {"mnuSave_Retrieve", "&Save/Retrieve List", "Save Drawing List|Retrieve Drawing List"},
        {"mnuWizards", "&Routine Wizards",
         "Edit and Create Your Own Routines|Plot - Detailed Setup|Plot - Page Setup|Save As Drawing  / Export DXF|"
         "Purge Objects|Import Page Setups"},
        {"mnuHelp", "&Help", "Contents and Index|About Quorvel"},
    };
    QStringList barTitles;
    for (QAction* action : window.menuBar()->actions())
        barTitles << action->text();
    QStringList expectedTitles;
    for (const auto& m : menus) {
        expectedTitles << QString::fromLatin1(m.title);
        if (expectedTitles.size() == 2)
            expectedTitles << QStringLiteral("&Timer");
        auto* menu = control<QMenu>(&window, m.menu);
        QVERIFY2(menu, m.menu);
        QCOMPARE(menu->title(), QString::fromLatin1(m.title));
        QStringList items;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                items << action->text();
        }
        QCOMPARE(items, QString::fromLatin1(m.items).split(QLatin1Char('|')));
    }
    QCOMPARE(barTitles, expectedTitles);
}

void MainWindowTest::exitAsksAndCancelKeepsRunning()
{
    GuiEnvironment env;
    MainWindow window;
    window.show();
    env.dialogs().queueAnswer(MessageAnswer::Cancel);
    control<QAction>(&window, "mnuFileExit")->trigger();
    QVERIFY(window.isVisible());
    const UserMessage asked = env.dialogs().messages().value(0);
    QCOMPARE(asked.text, std::string("You are now exiting Quorvel, press OK to continue exiting"));
    QCOMPARE(asked.title, std::string("Exit Quorvel"));
    QVERIFY(asked.buttons == MessageButtons::OkCancel);

    env.dialogs().queueAnswer(MessageAnswer::Ok);
    control<QAction>(&window, "mnuFileExit")->trigger();
    QVERIFY(!window.isVisible());
}

void MainWindowTest::resetWritesNoAfterOkAndReportsAFailedWrite()
{
    GuiEnvironment env;
    storeSetting("Startup_Set", "Setup", "YES");
    MainWindow window;
    env.dialogs().queueAnswer(MessageAnswer::Cancel);
    control<QAction>(&window, "MnuStartupReset")->trigger();
    QCOMPARE(env.settingsValue("Startup_Set", "Setup"), std::string("YES"));
    QCOMPARE(env.dialogs().messages().size(), 1);

    env.dialogs().queueAnswer(MessageAnswer::Ok);
    control<QAction>(&window, "MnuStartupReset")->trigger();
    QCOMPARE(env.settingsValue("Startup_Set", "Setup"), std::string("NO"));
    const auto messages = env.dialogs().messages();
    QCOMPARE(messages.size(), 3);
    QCOMPARE(messages[1].title, std::string("Reset Sartup Sequence"));
    QCOMPARE(messages[1].text, std::string("To reset the Quorvel startup sequence press OK."));
    QCOMPARE(messages[2].title, std::string("Quorvel Startup Sequence"));
    QCOMPARE(messages[2].text, std::string("You have now reset the Quorvel startup sequence. The next time you start "
                                           "Quorvel the \r\nstartup sequence will relocate your setup files."));
    QVERIFY(messages[2].icon == MessageIcon::Information);

    // A folder where the settings file should be makes every write fail.
    QVERIFY(QFile::remove(env.file(QStringLiteral("Quorvel.ini"))));
    QVERIFY(QDir(env.folder()).mkdir(QStringLiteral("Quorvel.ini")));
    env.dialogs().clear();
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    control<QAction>(&window, "MnuStartupReset")->trigger();
    const auto failed = env.dialogs().messages();
    QCOMPARE(failed.size(), 2);
    QCOMPARE(failed[1].title, std::string("Quorvel Error"));
    QVERIFY(failed[1].text.find("in routine MnuStartupReset_Click") != std::string::npos);
    QVERIFY(failed[1].text.find("Quorvel.ini") != std::string::npos);
}

void MainWindowTest::splashTimerLoadsTheMainWindow()
{
    GuiEnvironment env;
    databaseNoticeShown() = true;
    storeSetting("Startup_Set", "Setup", "YES");
    AppStartup startup(QString{});
    QSignalSpy loaded(&startup, &AppStartup::mainWindowLoaded);
    QElapsedTimer clock;
    clock.start();
    startup.start();
    QVERIFY(startup.splash()->isVisible());
    // The windows carry the application icon, every rendered size compiled into the program.
    const QList<QSize> iconSizes{{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    QCOMPARE(startup.splash()->windowIcon().availableSizes(), iconSizes);
    QCOMPARE(startup.splash()->timer()->interval(), 800);
    QVERIFY(startup.splash()->timer()->isSingleShot());
    QVERIFY(loaded.wait(5000));
    QVERIFY(clock.elapsed() >= 700);
    QVERIFY(startup.mainWindow());
    QVERIFY(startup.mainWindow()->isVisible());
    QCOMPARE(startup.mainWindow()->windowIcon().availableSizes(), iconSizes);
    QTRY_VERIFY(!startup.splash());
    QCOMPARE(programState().editorTab, std::int16_t(30));

    // Unattended, nobody sees a splash: the main window comes at once.
    programState().headless = true;
    AppStartup unattended(QString{});
    QSignalSpy unattendedLoaded(&unattended, &AppStartup::mainWindowLoaded);
    clock.restart();
    unattended.start();
    QVERIFY(!unattended.splash());
    QVERIFY(unattendedLoaded.wait(5000));
    QVERIFY(clock.elapsed() < 700);
    programState().headless = false;
}

void MainWindowTest::setupRunsFirstUnlessStartedFromTheCommandLine_data()
{
    QTest::addColumn<bool>("commandLine");
    QTest::newRow("first start") << false;
    QTest::newRow("command line") << true;
}

void MainWindowTest::setupRunsFirstUnlessStartedFromTheCommandLine()
{
    QFETCH(bool, commandLine);
    GuiEnvironment env;
    databaseNoticeShown() = true;
    // As "Reset Quorvel Startup" leaves it.
    storeSetting("Startup_Set", "Setup", "NO");
    bool mainWindowShownFirst = true;
    ModalDriver driver;
    driver.on<SetupWizardDialog>([&](SetupWizardDialog* setup) {
        mainWindowShownFirst = mainWindow() && mainWindow()->isVisible();
        env.dialogs().queueAnswer(MessageAnswer::Yes); // to the quit question
        setup->m_cancelButton->click();
        return true;
    });
    AppStartup startup(commandLine ? env.file(QStringLiteral("missing.qvl")) : QString());
    QSignalSpy loaded(&startup, &AppStartup::mainWindowLoaded);
    startup.start();
    if (commandLine)
        QVERIFY(loaded.wait(5000));
    else
        QTRY_COMPARE_WITH_TIMEOUT(driver.handled(), QStringList{QStringLiteral("qv::SetupWizardDialog")}, 5000);
    // Quitting the setup ends the start: the main window closes without being shown. A command-line run never
    // shows the setup; it ends on its missing list.
    QTRY_VERIFY(!startup.mainWindow());
    if (commandLine) {
        QVERIFY(driver.handled().isEmpty());
        QCOMPARE(programState().exitCode, 1);
    } else {
        QVERIFY(!mainWindowShownFirst);
        QCOMPARE(loaded.size(), 0);
    }
    QCOMPARE(env.settingsValue("Startup_Set", "Setup"), std::string("NO"));
}

void MainWindowTest::commandLineIsTrimmedAndQuotesRemoved()
{
    QCOMPARE(AppStartup::commandLineText({QStringLiteral("quorvel")}), QString());
    QCOMPARE(AppStartup::commandLineText({QStringLiteral("quorvel"), QStringLiteral("   ")}), QString());
    QCOMPARE(AppStartup::commandLineText({QStringLiteral("quorvel"), QStringLiteral("\"/a b/list.qvl\" ")}),
             QStringLiteral("\"/a b/list.qvl\""));
    QCOMPARE(AppStartup::commandLineText({QStringLiteral("quorvel"), QStringLiteral("/a"), QStringLiteral("b.qvl")}),
             QStringLiteral("/a b.qvl"));
}

void MainWindowTest::helpOpensTheShippedPage()
{
    GuiEnvironment env;
    MainWindow window;
    control<QAction>(&window, "mnuHelpHelp")->trigger();
    const auto& calls = env.dialogs().calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].kind, ScriptedUserDialogs::Call::OpenDocument);
    QVERIFY(calls[0].text.endsWith(QStringLiteral("help/Quorvel.html")));
    QVERIFY(!window.findChild<QDialog*>(QStringLiteral("frmHelp")));

    // Without a viewer on the desktop the page opens in a window of our own, once however often asked.
    QDir(env.folder()).mkdir(QStringLiteral("help"));
    QFile page(env.file(QStringLiteral("help/Quorvel.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h1>Quorvel help</h1></body></html>");
    page.close();
    env.dialogs().setOpensDocuments(false);
    control<QAction>(&window, "mnuHelpHelp")->trigger();
    control<QAction>(&window, "mnuHelpHelp")->trigger();
    const auto windows = window.findChildren<QDialog*>(QStringLiteral("frmHelp"));
    QCOMPARE(windows.size(), 1);
    QVERIFY(windows[0]->isVisible());
    QVERIFY(control<QTextBrowser>(windows[0], "txtHelp")->toPlainText().contains(QStringLiteral("Quorvel help")));
    QVERIFY(env.dialogs().messages().isEmpty());

    // No page at all: said so.
    QFile::remove(page.fileName());
    windows[0]->close();
    control<QAction>(&window, "mnuHelpHelp")->trigger();
    QCOMPARE(env.dialogs().messages().value(0).title, std::string("Quorvel Help"));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
