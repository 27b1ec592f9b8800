#include "app/MainWindow.h"

#include "app/AppStartup.h"
#include "app/SplashWindow.h"
#include "app/WindowPlacement.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "config/SettingsKeys.h"
#include "config/SetupWizardDialog.h"
#include "routines/ActionPanel.h"
#include "routines/RoutineStore.h"
#include "support/GuiTestSupport.h"
#include "support/ModalDriver.h"
#include "text/Paths.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTreeView>
#include <QUrl>
#include <QtTest/qtestspontaneevent.h>
#include <memory>

using namespace qv;
using namespace qv::test;

namespace {

QStringList strings(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* text : texts)
        out << QString::fromUtf8(text);
    return out;
}

// The same with each "/" as the program writes it on this system.
QStringList nativeStrings(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* text : texts)
        out << native(QString::fromUtf8(text));
    return out;
}

// "file|folder|routine|key" per row, or only the file names, for compact comparisons.
QStringList listedRows(const MainWindow& window, bool filesOnly = false)
{
    QStringList out;
    for (const DrawingRow& row : window.drawingList()->rows())
        out << QString::fromStdString(filesOnly ? row.file
                                                : row.file + "|" + row.folder + "|" + row.routine + "|" + row.key);
    return out;
}

void dropUrls(MainWindow& window, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    // A drop arrives after the drag has entered the list.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.m_drawingView->viewport(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.m_drawingView->viewport(), &drop);
}

} // namespace

class MainWindowTest final : public QObject
{
    Q_OBJECT

private slots:
    void showsItsControlsAndMenus();
    void exitAsksAndCancelKeepsRunning_data();
    void exitAsksAndCancelKeepsRunning();
    void resetWritesNoAfterOkAndReportsAFailedWrite();
    void splashTimerLoadsTheMainWindow();
    void setupRunsFirstUnlessStartedFromTheCommandLine_data();
    void setupRunsFirstUnlessStartedFromTheCommandLine();
    void helpOpensTheShippedPage();
    void installedProgramKeepsItsSettingsOutsideItsTree_data();
    void installedProgramKeepsItsSettingsOutsideItsTree();
    void addsFromTheFileDialogAndRemovesTheSelection();
    void dropsAndColumnClicksPlaceLaterAdds();
    void sortByFieldOrdersByKey();
    void windowsOpenOnTheirOwnerOnScreenAndTheMainWindowWhereItWasLeft();
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
    QStringList headers;
    for (int column = 0; column < list->model()->columnCount(); ++column)
        headers << list->model()->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(headers, strings({"Drawing File", "Folder", "Routine"}));

    // The menus and their items in order (with their shortcuts), each item with a mnemonic of its own in its menu;
    // "&Timer" is an item of the bar itself, after "&Options".
    const struct
    {
        const char* menu;
        const char* title;
        const char* items; // separated by "|"
    } menus[] = {
        {"mnuFile", "&File",
         "&Add Drawings=Ctrl+O|Add &New Routines|&Update Routines|&Save Drawing List=Ctrl+S|&Retrieve Drawing List|"
         "&Check Batch Before Running=Ctrl+K|Reset &Quorvel Startup|E&xit"},
        {"mnuEdit", "&Edit", "&Undo=Ctrl+Z|&Redo=Ctrl+Y"},
        {"mnuOptions", "&Options", "&Properties"},
        {"mnuSave_Retrieve", "&Save/Retrieve List", "&Save Drawing List|&Retrieve Drawing List"},
        {"mnuWizards", "&Routine Wizards",
         "&Edit and Create Your Own Routines|Plot - &Detailed Setup|Plot - P&age Setup|&Save As Drawing  / Export DXF|"
         "&Purge Objects|&Import Page Setups"},
        {"mnuHelp", "&Help", "&Contents and Index|&About Quorvel"},
    };
    QStringList barTitles;
    for (QAction* action : window.menuBar()->actions())
        barTitles << action->text();
    QStringList expectedTitles;
    for (const auto& m : menus) {
        expectedTitles << QString::fromLatin1(m.title);
        if (expectedTitles.size() == 3)
            expectedTitles << QStringLiteral("&Timer");
        auto* menu = control<QMenu>(&window, m.menu);
        QVERIFY2(menu, m.menu);
        QCOMPARE(menu->title(), QString::fromLatin1(m.title));
        QStringList items;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                items << action->text() + (action->shortcut().isEmpty()
                                               ? QString()
                                               : QLatin1Char('=') + action->shortcut().toString());
        }
        QCOMPARE(items, QString::fromLatin1(m.items).split(QLatin1Char('|')));
        QSet<QChar> mnemonics;
        for (const QString& item : items)
            mnemonics.insert(item.at(item.indexOf(QLatin1Char('&')) + 1).toLower());
        QCOMPARE(mnemonics.size(), items.size());
    }
    QCOMPARE(barTitles, expectedTitles);
}

void MainWindowTest::exitAsksAndCancelKeepsRunning_data()
{
    QTest::addColumn<bool>("titleBarClose");
    QTest::newRow("File > Exit") << false;
    // The title bar's X reaches the window as a close event from the window system (spontaneous), not as a
    // call of close().
    QTest::newRow("close button") << true;
}

void MainWindowTest::exitAsksAndCancelKeepsRunning()
{
    QFETCH(bool, titleBarClose);
    GuiEnvironment env;
    MainWindow window;
    window.show();
    // True when the window closes.
    const auto exit = [&] {
        if (!titleBarClose) {
            control<QAction>(&window, "mnuFileExit")->trigger();
            return !window.isVisible();
        }
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(&window, &event); // sendEvent would mark it as the program's own

        return event.isAccepted();
    };
    env.dialogs().queueAnswer(MessageAnswer::Cancel);
    QVERIFY(!exit());
    QVERIFY(window.isVisible());
    const UserMessage asked = env.dialogs().messages().value(0);
    QCOMPARE(asked.text, std::string("You are now exiting Quorvel, press OK to continue exiting"));
    QCOMPARE(asked.title, std::string("Exit Quorvel"));
    QVERIFY(asked.buttons == MessageButtons::OkCancel);
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    QVERIFY(exit());
    QCOMPARE(env.dialogs().messages().size(), 2);
    // A close made by the program itself (after File > Exit, at the end of a command-line run) asks nothing.
    QVERIFY(window.close());
    QCOMPARE(env.dialogs().messages().size(), 2);
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

void MainWindowTest::helpOpensTheShippedPage()
{
    GuiEnvironment env;
    MainWindow window;
    control<QAction>(&window, "mnuHelpHelp")->trigger();
    const auto& calls = env.dialogs().calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].kind, ScriptedUserDialogs::Call::OpenDocument);
    QVERIFY(calls[0].text.endsWith(native(QStringLiteral("help/Quorvel.html"))));
    QVERIFY(!window.findChild<QDialog*>(QStringLiteral("frmHelp")));

    // Without a viewer on the desktop the page opens in a window of our own, once however often asked.
    const QString page = env.file(QStringLiteral("help/Quorvel.html"));
    writeFile(page, "<html><body><h1>Quorvel help</h1></body></html>");
    env.dialogs().setOpensDocuments(false);
    control<QAction>(&window, "mnuHelpHelp")->trigger();
    control<QAction>(&window, "mnuHelpHelp")->trigger();
    const auto windows = window.findChildren<QDialog*>(QStringLiteral("frmHelp"));
    QCOMPARE(windows.size(), 1);
    QVERIFY(windows[0]->isVisible());
    QVERIFY(control<QTextBrowser>(windows[0], "txtHelp")->toPlainText().contains(QStringLiteral("Quorvel help")));
    QVERIFY(env.dialogs().messages().isEmpty());

    // No page at all: said so.
    QFile::remove(page);
    windows[0]->close();
    control<QAction>(&window, "mnuHelpHelp")->trigger();
    QCOMPARE(env.dialogs().messages().value(0).title, std::string("Quorvel Help"));
}

void MainWindowTest::installedProgramKeepsItsSettingsOutsideItsTree_data()
{
    QTest::addColumn<bool>("redirect");    // a QV_Locate.ini in bin/ naming net/
    QTest::addColumn<QString>("settings"); // where Quorvel.ini must be written (XDG_CONFIG_HOME=config)
    QTest::newRow("per-user") << false << QStringLiteral("config/Quorvel");
    QTest::newRow("redirected") << true << QStringLiteral("net");
}

// An installed program (bin/ + share/quorvel/) writes its settings in the per-user folder, unless a redirect
// file beside it names a folder, and never into its own tree. (A portable folder keeping its own settings is what
// every other window test does.)
void MainWindowTest::installedProgramKeepsItsSettingsOutsideItsTree()
{
    QFETCH(bool, redirect);
    QFETCH(QString, settings);

    QTemporaryDir root;
    const QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("net")) &&
            dir.mkpath(QStringLiteral("share/quorvel/help")));
    QVERIFY(QFile::copy(QStringLiteral(QUORVEL_BIN_DIR "/help/Quorvel.html"),
                        dir.filePath(QStringLiteral("share/quorvel/help/Quorvel.html"))));
    if (redirect)
        writeFile(dir.filePath(QStringLiteral("bin/QV_Locate.ini")),
                  "[QV_Address]\r\nQVAddress=" + native(dir.filePath(QStringLiteral("net"))).toUtf8() + "\r\n");

    GuiEnvironment env; // replaced below by the installed program
    // The per-user folder's parent: XDG_CONFIG_HOME outside Windows, APPDATA on Windows.
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldAppData = qgetenv("APPDATA");
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    qputenv("APPDATA", native(dir.filePath(QStringLiteral("config"))).toUtf8());
    initialiseProgram(native(dir.filePath(QStringLiteral("bin"))).toStdString());
    qputenv("XDG_CONFIG_HOME", oldConfig);
    qputenv("APPDATA", oldAppData);

    MainWindow window;
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    control<QAction>(&window, "MnuStartupReset")->trigger();
    QVERIFY(readFile(dir.filePath(settings + QStringLiteral("/Quorvel.ini"))).contains("Setup=NO\r\n"));
    if (redirect)
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("config/Quorvel/Quorvel.ini"))));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("bin"))).entryList(QDir::Files),
             redirect ? QStringList{QStringLiteral("QV_Locate.ini")} : QStringList{});

    // The help page is the installed one.
    control<QAction>(&window, "mnuHelpHelp")->trigger();
    QCOMPARE(env.dialogs().calls().back().kind, ScriptedUserDialogs::Call::OpenDocument);
    QCOMPARE(env.dialogs().calls().back().text, native(dir.filePath(QStringLiteral("share/quorvel/help/Quorvel.html"))));
}

void MainWindowTest::addsFromTheFileDialogAndRemovesTheSelection()
{
    GuiEnvironment env;
    MainWindow window;
    auto* add = control<QPushButton>(&window, "CmdAdd");
    env.dialogs().queueFiles({QStringLiteral("/d/c.dwg"), QStringLiteral("/d/a.dwg"), QStringLiteral("/d/b.dxf")});
    add->click();
    const auto call = env.dialogs().calls().value(0);
    QCOMPARE(call.kind, ScriptedUserDialogs::Call::OpenFiles);
    QCOMPARE(call.title, QStringLiteral("Select File(s)..."));
    QCOMPARE(call.filter, QStringLiteral("Dwg Files (*.dwg)|*.dwg|Dxf Files (*.dxf)|*.dxf|Dwt Files (*.dwt)|*.dwt|"
                                         "All Files (*.*)|*.*"));
    QCOMPARE(listedRows(window), nativeStrings({"c.dwg|/d||", "a.dwg|/d||", "b.dxf|/d||"}));
    QCOMPARE(window.m_drawingCountLabel->text(), QStringLiteral("3 Drawings To Be Processed"));
    QVERIFY(window.m_clearButton->isEnabled());
    QVERIFY(window.actionPanel()->m_assignButton->isEnabled());
    QVERIFY(window.actionPanel()->m_combineButton->isEnabled());
    // Long folders are cut in the middle so their end stays visible; the tip has the whole path.
    QCOMPARE(window.m_drawingView->textElideMode(), Qt::ElideMiddle);
    const QString path = QString::fromStdString(joinPath(native(QStringLiteral("/d")).toStdString(), "a.dwg"));
    for (const int column : {0, 1})
        QCOMPARE(window.drawingList()->index(1, column).data(Qt::ToolTipRole).toString(), path);

    add->click(); // cancelled
    QCOMPARE(window.drawingList()->rowCount(), 3);

    // The menu item does the same; names the script cannot carry are refused and named.
    // (Which names are refused is the core's.)
    env.dialogs().queueFiles({QStringLiteral("/d/bad\"name.dwg"), QStringLiteral("/e/ok.dwg")});
    control<QAction>(&window, "mnuFileAdd")->trigger();
    QCOMPARE(listedRows(window).mid(3), nativeStrings({"ok.dwg|/e||"}));
    QCOMPARE(env.dialogs().messages(), QList{refusedDrawingsMessage({native(QStringLiteral("/d/bad\"name.dwg")).toStdString()})});

    // A selection offers Remove, which keeps the rest; removing the last row switches off what needs drawings.
    ActionPanel* panel = window.actionPanel();
    QVERIFY(!window.m_removeButton->isEnabled());
    selectRows(window, {0, 2});
    QVERIFY(window.m_removeButton->isEnabled());
    window.m_removeButton->click();
    QCOMPARE(listedRows(window, true), strings({"a.dwg", "ok.dwg"}));
    QVERIFY(!window.m_removeButton->isEnabled());

    panel->m_startButton->setEnabled(true);
    selectRows(window, {0, 1});
    window.m_removeButton->click();
    QCOMPARE(window.drawingList()->rowCount(), 0);
    QCOMPARE(window.m_drawingCountLabel->text(), QStringLiteral("Drawings To Be Processed"));
    for (QPushButton* button : {window.m_clearButton, window.m_sortByFieldButton, panel->m_assignButton,
                                panel->m_combineButton, panel->m_startButton})
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
}

void MainWindowTest::dropsAndColumnClicksPlaceLaterAdds()
{
    GuiEnvironment env;
    MainWindow window;
    const QString folder = env.folder();
    QVERIFY(QDir(folder).mkdir(QStringLiteral("sub")));
    // A drop that starts with a folder adds nothing; otherwise local files are added in drop order.
    dropUrls(window, {QUrl::fromLocalFile(folder + QStringLiteral("/sub")),
                      QUrl::fromLocalFile(folder + QStringLiteral("/x.dwg"))});
    QCOMPARE(window.drawingList()->rowCount(), 0);
    window.addDrawings({QStringLiteral("/d/a.dwg")});
    dropUrls(window,
             {QUrl::fromLocalFile(folder + QStringLiteral("/C.dwg")), QUrl(QStringLiteral("https://example.com/w.dwg")),
              QUrl::fromLocalFile(folder + QStringLiteral("/b.dwg"))});
    QCOMPARE(listedRows(window, true), strings({"a.dwg", "C.dwg", "b.dwg"}));
    QCOMPARE(QString::fromStdString(window.drawingList()->rows()[1].folder), QDir::toNativeSeparators(folder));

    emit window.m_drawingView->header()->sectionClicked(0);
    QCOMPARE(listedRows(window, true), strings({"C.dwg", "b.dwg", "a.dwg"}));
    emit window.m_drawingView->header()->sectionClicked(0);
    QCOMPARE(listedRows(window, true), strings({"a.dwg", "b.dwg", "C.dwg"}));

    // Sorting stays on: new drawings are placed by the same column and order, dialog and drop alike.
    window.addDrawings({QStringLiteral("/d/bb.dwg"), QStringLiteral("/d/0.dwg")});
    QCOMPARE(listedRows(window, true), strings({"0.dwg", "a.dwg", "b.dwg", "bb.dwg", "C.dwg"}));
    dropUrls(window, {QUrl::fromLocalFile(QStringLiteral("/nowhere/ab.dwg"))});
    QCOMPARE(listedRows(window, true), strings({"0.dwg", "a.dwg", "ab.dwg", "b.dwg", "bb.dwg", "C.dwg"}));
}

void MainWindowTest::sortByFieldOrdersByKey()
{
    GuiEnvironment env;
    storeSetting(keys::kFieldSection, keys::kSortKey, "ON");
    storeSetting(keys::kFieldSection, keys::kDelimKey, "-");
    storeSetting(keys::kFieldSection, keys::kFieldNumKey, "2");
    databaseNoticeShown() = true;
    MainWindow window;
    window.load();
    QVERIFY(window.m_sortByFieldButton->isVisibleTo(&window));
    QVERIFY(!window.m_sortByFieldButton->isEnabled());
    window.addDrawings({QStringLiteral("/d/A-12-rev.dwg"), QStringLiteral("/d/A-3-x.dwg"), QStringLiteral("/d/B.dwg"),
                        QStringLiteral("/d/B-07.dwg")});
    QVERIFY(window.m_sortByFieldButton->isEnabled());
    emit window.m_drawingView->header()->sectionClicked(0); // column sorting on: descending by name
    selectRows(window, {1});
    QVERIFY(window.m_removeButton->isEnabled());

    window.m_sortByFieldButton->click();
    QCOMPARE(listedRows(window),
             nativeStrings({"B.dwg|/d||", "B-07.dwg|/d||07", "A-12-rev.dwg|/d||12", "A-3-x.dwg|/d||3"}));
    QCOMPARE(window.drawingList()->columnCount(), 4);
    QCOMPARE(window.drawingList()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Num"));
    QVERIFY(!window.m_removeButton->isEnabled());

    // The key order holds: later drawings are appended, not placed by the earlier column sort.
    window.addDrawings({QStringLiteral("/d/0-1.dwg")});
    QCOMPARE(listedRows(window, true).last(), QStringLiteral("0-1.dwg"));

    window.actionPanel()->clearDrawingList();
    window.m_sortByFieldButton->setEnabled(true);
    window.actionPanel()->m_startButton->setEnabled(true);
    window.m_sortByFieldButton->click();
    QVERIFY(!window.m_sortByFieldButton->isEnabled());
    QVERIFY(!window.actionPanel()->m_startButton->isEnabled());
}

void MainWindowTest::windowsOpenOnTheirOwnerOnScreenAndTheMainWindowWhereItWasLeft()
{
    GuiEnvironment env;
    WindowPlacement::install(true);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // A main window of the main window's name: where it opens and what is kept are the placement's.
    const auto mainWindow = [] {
        auto window = std::make_unique<QMainWindow>();
        window->setObjectName(QStringLiteral("mdiStart"));
        window->resize(500, 300);
        return window;
    };
    {
        const auto window = mainWindow();
        window->show();
        // Nothing kept yet: it opens in the middle of the screen, and a window it owns in the middle of it.
        QCOMPARE(window->frameGeometry().center(), screen.center());
        {
            QDialog owned(window.get());
            owned.resize(200, 120);
            owned.show();
            QCOMPARE(owned.frameGeometry().center(), window->frameGeometry().center());
        }
        // Owned by a window at the corner: pulled back wholly onto the screen.
        window->move(screen.right() - 100, screen.bottom() - 50);
        QDialog owned(window.get());
        owned.resize(200, 120);
        owned.show();
        QVERIFY(screen.contains(owned.frameGeometry()));
        window->move(screen.left() + 20, screen.top() + 30);
        window->resize(460, 280);
        window->close();
    }
    QCOMPARE(env.settingsValue("Window_Geometry", "mdiStart"),
             QStringLiteral("%1,%2,460,280").arg(screen.left() + 20).arg(screen.top() + 30).toStdString());
    const auto again = mainWindow();
    again->show();
    QCOMPARE(again->pos(), screen.topLeft() + QPoint(20, 30));
    QCOMPARE(again->size(), QSize(460, 280));
    WindowPlacement::install(false);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
