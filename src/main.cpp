#include "app/AppStartup.h"
#include "app/ConsoleUserDialogs.h"
#include "app/Program.h"
#include "app/WindowPlacement.h"
#include "batch/CommandLine.h"
#include "Desktop.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool hasDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::string(platform) == "offscreen")
        return false;
    if (platform && *platform)
        return true;
    return qv::platform::hasDesktop();
}

// An unattended run's standard error carries Quorvel's own messages only, not Qt's notes about
// its platform plugins, fonts or runtime folders.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        std::abort();
    }
}

} // namespace

int main(int argc, char** argv)
{
    qv::platform::attachParentConsole();
    const qv::CommandLineRequest request = qv::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (request.action) {
    case qv::CommandLineAction::Help:
        std::fputs(qv::usageText().c_str(), stdout);
        return 0;
    case qv::CommandLineAction::Version:
        std::fputs(qv::versionText(QUORVEL_VERSION).c_str(), stdout);
        return 0;
    case qv::CommandLineAction::Refuse:
        std::fprintf(stderr, "quorvel: %s\n\n%s", request.problem.c_str(), qv::usageText().c_str());
        return 2;
    case qv::CommandLineAction::Run:
        break;
    }

    // A check never needs a window: it prints its verdicts. Nor does a watched run, which prints its drawings
    // and would otherwise leave a window that cannot answer for as long as the run lasts.
    const bool headless = request.unattended || request.check || request.wait || !hasDisplay();
    const QString commandLine = QString::fromLocal8Bit(request.listFile.c_str());
    if (headless) {
        if (commandLine.isEmpty()) {
            std::fputs("Quorvel needs a display to show its windows, and none was found.\n"
                       "To run a saved drawing list unattended, name the list file:\n"
                       "    quorvel /path/to/list.qvl\n",
                       stderr);
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietQtMessages);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Quorvel"));

    // Qt writes "/" in paths on every system; the program's own paths use the system's separator.
    qv::initialiseProgram(QDir::toNativeSeparators(QApplication::applicationDirPath()).toStdString(), !request.check);
    qv::programState().headless = headless;
    if (headless)
        qv::programState().dialogs = std::make_unique<qv::ConsoleUserDialogs>();

    // Windows open on screen, centred on their owner; their sizes are kept only when someone watches them.
    qv::WindowPlacement::install(!headless);
    qv::AppStartup startup(commandLine);
    startup.setCheckOnly(request.check);
    if (request.wait) {
        qv::WatchOptions watch;
        watch.timeoutSeconds = request.timeoutSeconds.value_or(watch.timeoutSeconds);
        watch.restartEvery = request.restartEvery.value_or(watch.restartEvery);
        startup.setWatch(watch);
    }
    startup.start();
    const int status = QApplication::exec();
    return status != 0 ? status : qv::programState().exitCode;
}
