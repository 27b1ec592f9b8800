#include "AppStartup.h"

#include "app/Program.h"
#include "app/SplashWindow.h"
#include "app/mdiStart.h"

#include <QApplication>
#include <QTimer>

namespace qv {

AppStartup::AppStartup(QString commandLine, QObject* parent) : QObject(parent), m_commandLine(std::move(commandLine))
{
}

AppStartup::~AppStartup()
{
    delete m_main;
    delete m_splash;
}

QIcon AppStartup::ApplicationIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/quorvel.png").arg(size), QSize(size, size));
    return icon;
}

QString AppStartup::CommandLineText(const QStringList& arguments)
{
    return arguments.mid(1).join(QLatin1Char(' ')).trimmed();
}

void AppStartup::start()
{
    Program().editorTab = 30;
    if (Program().headless) {
        // Nobody can see a splash or an icon in an unattended run: go straight to the work.
        QTimer::singleShot(0, this, &AppStartup::loadMainWindow);
        return;
    }
    // Every window carries the icon of the menu entry, and the desktop matches them by this name.
    QApplication::setWindowIcon(ApplicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvel"));
    m_splash = new SplashWindow();
    connect(m_splash, &SplashWindow::timerFired, this, &AppStartup::loadMainWindow);
    m_splash->show();
}

void AppStartup::loadMainWindow()
{
    m_main = new mdiStart();
    m_main->setAttribute(Qt::WA_DeleteOnClose);
    if (m_splash)
        m_splash->close();
    if (!m_main->FormLoad(m_commandLine.isEmpty() && !Program().headless)) {
        m_main->close();
        return;
    }
    m_main->show();
    emit mainWindowLoaded();
    if (!m_commandLine.isEmpty())
        m_main->StartUpCommandLine(m_commandLine, m_checkOnly);
}

} // namespace qv
