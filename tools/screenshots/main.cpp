// Renders Quorvel's larger windows with the platform and style in use and saves each as a PNG, so that a
// person can look for clipped or overlapping controls:
//   quorvel_screenshots OUTPUT_FOLDER [Qt options such as -platform windows]
// The windows run against a settings folder of their own (a temporary copy of the shipped routines).
#include "app/MainWindow.h"
#include "app/Program.h"
#include "config/OptionsDialog.h"
#include "config/SettingsKeys.h"
#include "config/SetupWizardDialog.h"
#include "routines/RoutineEditor.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

void settle()
{
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget& window, const QDir& folder, const QString& name)
{
    settle();
    const QString file = folder.filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s  %dx%d\n", qPrintable(file), window.width(), window.height());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: quorvel_screenshots OUTPUT_FOLDER [-platform NAME]\n", stderr);
        return 2;
    }
    QDir output(arguments.at(1));
    if (!output.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(arguments.at(1)));
        return 1;
    }

    // A program folder of its own holding the shipped routines, so the lists are as a user first sees them.
    QTemporaryDir program;
    const QString shipped = QApplication::applicationDirPath() + QStringLiteral("/defaults/Batch_Cad.dat");
    if (!program.isValid() || !QDir(program.path()).mkpath(QStringLiteral("defaults")) ||
        !QFile::copy(shipped, program.filePath(QStringLiteral("defaults/Batch_Cad.dat")))) {
        std::fprintf(stderr, "cannot prepare a program folder with %s\n", qPrintable(shipped));
        return 1;
    }
    qv::initialiseProgram(QDir::toNativeSeparators(program.path()).toStdString());
    const qv::SettingsFile& settings = qv::programState().settings;
    if (!settings.writeValue(qv::keys::kCadVerSection, qv::keys::kCadVerKey, "Cad2018") ||
        !settings.writeValue(qv::keys::kStartupSection, qv::keys::kSetupKey, "YES")) {
        std::fputs("cannot write the settings file\n", stderr);
        return 1;
    }

    bool ok = true;
    qv::MainWindow main;
    main.show();
    ok = save(main, output, QStringLiteral("main-window")) && ok;

    {
        qv::programState().editorTab = qv::RoutineEditor::TabMacro;
        qv::RoutineEditor editor(&main);
        editor.load();
        editor.show();
        for (int tab = 1; tab <= qv::RoutineEditor::kTabCount; ++tab) {
            editor.selectTab(tab);
            ok = save(editor, output, QStringLiteral("routine-editor-tab%1").arg(tab)) && ok;
        }
    }
    {
        qv::OptionsDialog options(&main);
        options.loadSettings();
        options.show();
        for (int tab = 0; tab < options.m_tabs->count(); ++tab) {
            options.m_tabs->setCurrentIndex(tab);
            ok = save(options, output, QStringLiteral("options-tab%1").arg(tab + 1)) && ok;
        }
    }
    {
        qv::SetupWizardDialog setup(&main);
        setup.show();
        ok = save(setup, output, QStringLiteral("setup-wizard")) && ok;
    }
    return ok ? 0 : 1;
}
