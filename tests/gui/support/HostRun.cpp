#include "HostRun.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>

namespace qv::test {

namespace {

QString fail(const QString& why)
{
    QTest::qFail(qPrintable(why), __FILE__, __LINE__);
    return {};
}

} // namespace

QString journalPath(const GuiEnvironment& env)
{
    return env.file(QStringLiteral("journal.txt"));
}

void useStandInHost(const GuiEnvironment& env, const QString& product)
{
    const QString host = QDir::toNativeSeparators(QStringLiteral(QUORVEL_BIN_DIR "/cadhost" QUORVEL_EXE_SUFFIX));
    useProduct(product.toStdString());
    storeSetting("Acad_Address", "AcadAddress", host.toStdString());
    storeSetting("Batch_Address", "BatchAddress", env.folder().toStdString());
    storeSetting("StartSwitch", "StartOption", "YesSwitch");
    const QString switches = QStringLiteral("--product=") + product + QStringLiteral(" --journal=") + journalPath(env);
    storeSetting("StartSwitch", "Switch", switches.toStdString());
}

QString runListThroughHost(const GuiEnvironment& env, const std::vector<std::pair<QString, QString>>& rows,
                           const QProcessEnvironment& extra)
{
    QByteArray list;
    for (const auto& [drawing, routine] : rows)
        list += "\"" + drawing.toLocal8Bit() + "\",\"" + env.folder().toLocal8Bit() + "\",\"" + routine.toLocal8Bit() +
                "\"\r\n";
    QFile listFile(env.file(QStringLiteral("list.qvl")));
    if (!listFile.open(QIODevice::WriteOnly) || listFile.write(list) != list.size())
        return fail(QStringLiteral("cannot write the list file"));
    listFile.close();

    // A copy beside the test's settings file, so that it reads them.
    const QString program = env.file(QStringLiteral("quorvel" QUORVEL_EXE_SUFFIX));
    if (!QFile::exists(program) && !QFile::copy(QStringLiteral(QUORVEL_BIN_DIR "/quorvel" QUORVEL_EXE_SUFFIX), program))
        return fail(QStringLiteral("cannot copy the program"));

    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(extra);
#ifdef Q_OS_WIN
    // The copy finds its DLLs and plugins in the build's bin folder.
    const QString bin = QDir::toNativeSeparators(QStringLiteral(QUORVEL_BIN_DIR));
    environment.insert(QStringLiteral("PATH"), bin + QLatin1Char(';') + environment.value(QStringLiteral("PATH")));
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), bin);
#endif
    run.setProcessEnvironment(environment);
    // Windows always has a desktop: only --unattended keeps the run from opening windows.
    run.start(program, {QStringLiteral("--unattended"), QDir::toNativeSeparators(listFile.fileName())});
    if (!run.waitForFinished(30000))
        return fail(QStringLiteral("the program did not end"));
    if (run.exitCode() != 0)
        return fail(QStringLiteral("the program failed: ") + QString::fromLocal8Bit(run.readAllStandardError()));

    // The host runs on after the program has ended; its journal ends with its exit.
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        const QString text = QString::fromUtf8(readFile(journalPath(env)));
        if (text.contains(QStringLiteral("\texit\t"))) {
            // Every line accepted, every command modelled, a clean exit.
            if (text.contains(QStringLiteral("\terror\t")) || text.contains(QStringLiteral("\tunmodelled\t")) ||
                !text.contains(QStringLiteral("0\texit\t-\t0 unmodelled=0")))
                return fail(QStringLiteral("the host did not run every line cleanly:\n") + text);
            return text;
        }
        QThread::msleep(20);
    }
    return fail(QStringLiteral("the host did not finish its journal"));
}

} // namespace qv::test
