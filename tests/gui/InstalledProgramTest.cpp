#include "app/mdiStart.h"
#include "support/GuiTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace qv;
using namespace qv::test;

// Where a program keeps its files depends on how it was installed: a portable folder keeps them
// itself, an installed program (bin/ + share/quorvel/) keeps them per user, a redirect file wins.
class InstalledProgramTest final : public QObject
{
    Q_OBJECT

private slots:
    void filesLandWhereTheInstallKindSays_data();
    void filesLandWhereTheInstallKindSays();
};

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool CopyShipped(const QString& from, const QString& to)
{
    return QDir().mkpath(QFileInfo(to).absolutePath()) && QFile::copy(from, to);
}

} // namespace

void InstalledProgramTest::filesLandWhereTheInstallKindSays_data()
{
    // Folders relative to the test's root: the program is in bin/, the per-user folder is
    // config/Quorvel (XDG_CONFIG_HOME=config).
    QTest::addColumn<QString>("shipped");  // where defaults/ and help/ are put
    QTest::addColumn<bool>("redirect");    // a QV_Locate.ini beside the program naming net/
    QTest::addColumn<QString>("settings"); // where Quorvel.ini must be written
    QTest::addColumn<QString>("database"); // where the copy of the default routines must be
    QTest::addColumn<QString>("help");     // the help page the Help menu opens

    QTest::newRow("portable") << "bin" << false << "bin"
                              << "bin"
                              << "bin/help/Quorvel.html";
    QTest::newRow("installed") << "share/quorvel" << false << "config/Quorvel"
                               << "config/Quorvel"
                               << "share/quorvel/help/Quorvel.html";
    QTest::newRow("installed with redirect") << "share/quorvel" << true << "net"
                                             << "config/Quorvel"
                                             << "share/quorvel/help/Quorvel.html";
}

void InstalledProgramTest::filesLandWhereTheInstallKindSays()
{
    QFETCH(QString, shipped);
    QFETCH(bool, redirect);
    QFETCH(QString, settings);
    QFETCH(QString, database);
    QFETCH(QString, help);

    QTemporaryDir root;
    const QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("net")));
    const QString shippedDatabase = QStringLiteral(QUORVEL_BIN_DIR "/defaults/Batch_Cad.dat");
    QVERIFY(CopyShipped(shippedDatabase, dir.filePath(shipped + QStringLiteral("/defaults/Batch_Cad.dat"))));
    QVERIFY(CopyShipped(QStringLiteral(QUORVEL_BIN_DIR "/help/Quorvel.html"),
                        dir.filePath(shipped + QStringLiteral("/help/Quorvel.html"))));
    if (redirect) {
        QFile file(dir.filePath(QStringLiteral("bin/QV_Locate.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[QV_Address]\r\nQVAddress=" + dir.filePath(QStringLiteral("net")).toUtf8() + "\r\n");
    }
    GuiEnvironment env; // a program in a folder of its own, replaced below by the one under test
    const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    InitialiseProgram(dir.filePath(QStringLiteral("bin")).toStdString());
    if (hadConfig)
        qputenv("XDG_CONFIG_HOME", oldConfig);
    else
        qunsetenv("XDG_CONFIG_HOME");

    // The default routines are copied where this user's database belongs, once, byte for byte.
    const QString copy = dir.filePath(database + QStringLiteral("/Batch_Cad.dat"));
    QVERIFY2(QFile::exists(copy), qPrintable(copy));
    QCOMPARE(ReadAll(copy), ReadAll(shippedDatabase));

    // A settings write lands in the settings folder and nowhere else.
    mdiStart window;
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    Control<QAction>(&window, "MnuStartupReset")->trigger();
    QVERIFY(ReadAll(dir.filePath(settings + QStringLiteral("/Quorvel.ini"))).contains("Setup=NO\r\n"));
    for (const QString& other : {QStringLiteral("bin"), QStringLiteral("net"), QStringLiteral("config/Quorvel")}) {
        if (other != settings)
            QVERIFY2(!QFile::exists(dir.filePath(other + QStringLiteral("/Quorvel.ini"))), qPrintable(other));
    }
    // An installed program writes nothing into its own tree.
    if (shipped != QStringLiteral("bin"))
        QCOMPARE(QDir(dir.filePath(QStringLiteral("bin"))).entryList(QDir::Files),
                 redirect ? QStringList{QStringLiteral("QV_Locate.ini")} : QStringList{});

    Control<QAction>(&window, "mnuHelpHelp")->trigger();
    const auto& calls = env.dialogs().calls();
    QCOMPARE(calls.back().kind, ScriptedUserDialogs::Call::OpenDocument);
    QCOMPARE(calls.back().text, dir.filePath(help));
}

QTEST_MAIN(InstalledProgramTest)
#include "InstalledProgramTest.moc"
