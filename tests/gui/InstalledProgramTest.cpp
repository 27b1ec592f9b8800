#include "app/MainWindow.h"
#include "support/GuiTestSupport.h"

#include <QDir>
#include <QFile>

using namespace qv;
using namespace qv::test;

// An installed program (bin/ + share/quorvel/) writes its settings in the per-user folder, unless a
// redirect file beside it names a folder, and never into its own tree. (A portable folder keeping
// its own settings is what every other window test does.)
class InstalledProgramTest final : public QObject
{
    Q_OBJECT

private slots:
    void settingsLandOutsideTheInstalledTree_data();
    void settingsLandOutsideTheInstalledTree();
};

void InstalledProgramTest::settingsLandOutsideTheInstalledTree_data()
{
    QTest::addColumn<bool>("redirect");    // a QV_Locate.ini in bin/ naming net/
    QTest::addColumn<QString>("settings"); // where Quorvel.ini must be written (XDG_CONFIG_HOME=config)
    QTest::newRow("per-user") << false << QStringLiteral("config/Quorvel");
    QTest::newRow("redirected") << true << QStringLiteral("net");
}

void InstalledProgramTest::settingsLandOutsideTheInstalledTree()
{
    QFETCH(bool, redirect);
    QFETCH(QString, settings);

    QTemporaryDir root;
    const QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("net")) &&
            dir.mkpath(QStringLiteral("share/quorvel/help")));
    QVERIFY(QFile::copy(QStringLiteral(QUORVEL_BIN_DIR "/help/Quorvel.html"),
                        dir.filePath(QStringLiteral("share/quorvel/help/Quorvel.html"))));
    if (redirect) {
        QFile file(dir.filePath(QStringLiteral("bin/QV_Locate.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[QV_Address]\r\nQVAddress=" + dir.filePath(QStringLiteral("net")).toUtf8() + "\r\n");
    }

    GuiEnvironment env; // replaced below by the installed program
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    initialiseProgram(dir.filePath(QStringLiteral("bin")).toStdString());
    qputenv("XDG_CONFIG_HOME", oldConfig);

    MainWindow window;
    env.dialogs().queueAnswer(MessageAnswer::Ok);
    control<QAction>(&window, "MnuStartupReset")->trigger();
    QFile written(dir.filePath(settings + QStringLiteral("/Quorvel.ini")));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains("Setup=NO\r\n"));
    if (redirect)
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("config/Quorvel/Quorvel.ini"))));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("bin"))).entryList(QDir::Files),
             redirect ? QStringList{QStringLiteral("QV_Locate.ini")} : QStringList{});

    // The help page is the installed one.
    control<QAction>(&window, "mnuHelpHelp")->trigger();
    QCOMPARE(env.dialogs().calls().back().kind, ScriptedUserDialogs::Call::OpenDocument);
    QCOMPARE(env.dialogs().calls().back().text, dir.filePath(QStringLiteral("share/quorvel/help/Quorvel.html")));
}

QTEST_MAIN(InstalledProgramTest)
#include "InstalledProgramTest.moc"
