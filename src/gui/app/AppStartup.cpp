#include "AppStartup.h"

#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/SplashWindow.h"

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

void AppStartup::loadMainWindow()
{
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
        m_mainWindow->runCommandLineList(m_commandLine, m_checkOnly);
}

} // namespace qv
