#include "AppStartup.h"

#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/SplashWindow.h"
#include "config/Settings.h"
#include "io/FileIo.h"
#include "routines/RoutineDatabase.h"

#include <QApplication>
#include <QTimer>

namespace qv {

AppStartup::AppStartup(QString commandLine, QObject* parent) : QObject(parent), m_commandLine(std::move(commandLine))
{
}

AppStartup::~AppStartup()
{
    delete m_mainWindow;
    delete m_splash;
}

QIcon AppStartup::applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/quorvel.png").arg(size), QSize(size, size));
    return icon;
}

void AppStartup::start()
{
    programState().editorTab = 30;
    if (programState().headless) {
        // Nobody can see a splash or an icon in an unattended run: go straight to the work.
        QTimer::singleShot(0, this, &AppStartup::loadMainWindow);
        return;
    }
    // Every window carries the icon of the menu entry, and the desktop matches them by this name.
    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvel"));
    m_splash = new SplashWindow();
    connect(m_splash, &SplashWindow::timerFired, this, &AppStartup::loadMainWindow);
    m_splash->show();
}

bool AppStartup::filesInPlace()
{
    const ProgramState& program = programState();
    std::optional<UserMessage> problem = unreadableSettingsMessage(program.settings);
    if (!problem && m_checkOnly) {
        // The routines are read as the check goes; opening a database that is not there would create an
        // empty one, and a check leaves the disk as it found it.
        const std::string database = RoutineDatabase(program.settings, program.databaseFolder).filePath();
        if (!fileExists(database)) {
            problem = UserMessage{"The routine database " + database +
                                      " does not exist, so the list cannot be checked. Choose the database under "
                                      "Options, Properties, or start Quorvel once to install the default routines.",
                                  "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
        }
    }
    if (!problem)
        return true;
    userDialogs().message(*problem);
    // A check that cannot check says so with its own status; a run reports the host not started.
    programState().exitCode = m_checkOnly ? 2 : 1;
    return false;
}

void AppStartup::loadMainWindow()
{
    if (!filesInPlace()) {
        if (m_splash)
            m_splash->close();
        QCoreApplication::exit(programState().exitCode);
        return;
    }
    m_mainWindow = new MainWindow();
    m_mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    if (m_splash)
        m_splash->close();
    if (!m_mainWindow->load(m_commandLine.isEmpty() && !programState().headless)) {
        m_mainWindow->close();
        return;
    }
    m_mainWindow->show();
    emit mainWindowLoaded();
    if (!m_commandLine.isEmpty())
        m_mainWindow->runCommandLineList(m_commandLine, m_checkOnly, m_watch);
}

} // namespace qv
