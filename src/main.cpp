#include "app/AppStartup.h"
#include "app/ConsoleUserDialogs.h"
#include "app/Program.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

bool HasDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::string(platform) == "offscreen")
        return false;
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

QString RawCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return qv::AppStartup::CommandLineText(arguments);
}

} // namespace

int main(int argc, char** argv)
{
    const bool headless = !HasDisplay();
    const QString commandLine = RawCommandLine(argc, argv);
    if (headless) {
        if (commandLine.isEmpty()) {
            std::fputs("Quorvel needs a display to show its windows, and none was found.\n"
                       "To run a saved drawing list unattended, name the list file:\n"
                       "    quorvel /path/to/list.qvl\n",
                       stderr);
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Quorvel"));

    qv::InitialiseProgram(QApplication::applicationDirPath().toStdString());
    qv::Program().headless = headless;
    if (headless)
        qv::Program().dialogs = std::make_unique<qv::ConsoleUserDialogs>();

    qv::AppStartup startup(commandLine);
    startup.start();
    const int status = QApplication::exec();
    return status != 0 ? status : qv::Program().exitCode;
}
