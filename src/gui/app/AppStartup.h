#pragma once

#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "batch/BatchRunner.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

namespace qv {

// The start-up sequence: splash window, then (when its timer fires) the main window, then the
// command-line run if a list file was named.
class AppStartup final : public QObject
{
    Q_OBJECT

public:
    explicit AppStartup(QString commandLine, QObject* parent = nullptr);
    ~AppStartup() override;

    void start();
    // The list on the command line is checked, not run.
    void setCheckOnly(bool checkOnly) { m_checkOnly = checkOnly; }
    // The list on the command line is run and watched to its end.
    void setWatch(std::optional<WatchOptions> watch) { m_watch = watch; }
    MainWindow* mainWindow() const { return m_mainWindow; }
    SplashWindow* splash() const { return m_splash; }

    // The application icon at every size rendered into the program.
    static QIcon applicationIcon();

signals:
    void mainWindowLoaded();

private:
    void loadMainWindow();
    // The settings file reads (a file that is there but cannot be read is never taken for defaults), and for
    // a check the routine database is there. False after saying what is wrong.
    bool filesInPlace();

    QString m_commandLine;
    bool m_checkOnly = false;
    std::optional<WatchOptions> m_watch;
    QPointer<SplashWindow> m_splash;
    QPointer<MainWindow> m_mainWindow;
};

} // namespace qv
