#include "AppStartup.h"

#include "app/Program.h"
#include "app/SplashWindow.h"
#include "app/mdiStart.h"

namespace qv {

AppStartup::AppStartup(QString commandLine, QObject* parent) : QObject(parent), m_commandLine(std::move(commandLine))
{
}

AppStartup::~AppStartup()
{
    delete m_main;
    delete m_splash;
}

QString AppStartup::CommandLineText(const QStringList& arguments)
{
    return arguments.mid(1).join(QLatin1Char(' ')).trimmed();
}

void AppStartup::start()
{
    Program().editorTab = 30;
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
    if (!m_main->FormLoad()) {
        m_main->close();
        return;
    }
    m_main->show();
    emit mainWindowLoaded();
    if (!m_commandLine.isEmpty())
        m_main->StartUpCommandLine(m_commandLine);
}

} // namespace qv
