#include "app/mdiStart.h"
#include "batch/BatchRunner.h"
#include "batch/DrawingListModel.h"
#include "batch/frmReadOnlyDwg.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineStore.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using namespace qv;
using namespace qv::test;

namespace {

// A program with two drawings on disk, a routine for them, and a host start that is only recorded.
struct BatchFixture
{
    GuiEnvironment env;
    mdiStart window;
    std::vector<LaunchRequest> launches;
    int launchResult = 42;

    BatchFixture()
    {
        QDir(env.folder()).mkdir(QStringLiteral("dwg"));
        for (const char* name : {"A.dwg", "B.dwg"}) {
            QFile file(env.file(QStringLiteral("dwg/") + QString::fromLatin1(name)));
            file.open(QIODevice::WriteOnly);
        }
        const ProgramState& program = Program();
        QVERIFY(program.ini.WriteValue("Acad_Address", "AcadAddress", "/opt/cad/acad").ok());
        QVERIFY(program.ini.WriteValue("Batch_Address", "BatchAddress", env.folder().toStdString()).ok());
        QVERIFY(AddRoutineToDatabase(MakeRoutineForAdd("Zoom", "_Zoom\r\n_E", false)).has_value());
        const std::string folder = env.file(QStringLiteral("dwg")).toStdString();
        window.drawingList()->setRows({{"A.dwg", folder, "Zoom", ""}, {"B.dwg", folder, "Zoom", ""}});
        BatchRunner::SetShellExecute([this](const LaunchRequest& request) {
            launches.push_back(request);
            return launchResult;
        });
        BatchRunner::SetScriptProbe([](const std::string&) { return 0; });
    }

    QString script() const
    {
        QFile file(env.file(QStringLiteral("Batch.scr")));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }
};

// Answers the read-only window when it opens: clicks the option (or none, -1) and OK.
void AnswerReadOnlyWindow(QObject* context, int option, int* shownRows)
{
    QTimer::singleShot(0, context, [option, shownRows] {
        auto* window = qobject_cast<frmReadOnlyDwg*>(QApplication::activeModalWidget());
        QVERIFY(window);
        *shownRows = window->lstViewReadOnly->topLevelItemCount();
        if (option >= 0)
            window->optReadOnly->button(option)->click();
        window->cmdOk->click();
    });
}

} // namespace

class BatchRunTest final : public QObject
{
    Q_OBJECT

private slots:
    void startWritesTheScriptAndStartsTheHost();
    void cancelInTheConfirmationWritesNothing();
    void aRowWithoutRoutineStopsTheRun();
    void readOnlyDecisionIsRememberedBetweenRuns();
    void aHostThatCannotStartIsReported();
};

void BatchRunTest::startWritesTheScriptAndStartsTheHost()
{
    BatchFixture f;
    BatchRunner runner(f.window);
    f.env.dialogs().queueAnswer(MessageAnswer::Ok);
    QVERIFY(runner.StartProcess(true, QStringLiteral("2")));
    const auto messages = f.env.dialogs().messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, std::string("Confirm Starting Acad"));
    const QString folder = f.env.file(QStringLiteral("dwg"));
    QCOMPARE(f.script(), QStringLiteral("_Zoom\r\n0.999x\r\n_Close\r\n_Y\r\n_Open\r\n\"") + folder +
                             QStringLiteral("/A.dwg\"\r\n_Zoom\r\n_E\r\n_Zoom\r\n_E\r\n_Zoom\r\n0.999x\r\n_Close\r\n_Y\r\n"
                                            "_Open\r\n\"") +
                             folder +
                             QStringLiteral("/B.dwg\"\r\n_Zoom\r\n_E\r\n_Zoom\r\n_E\r\n_Zoom\r\n0.999x\r\n_Quit\r\n_Y\r\n"
                                            "_Quit\r\n"));
    QCOMPARE(f.launches.size(), std::size_t(1));
    QCOMPARE(f.launches[0].file, std::string("/opt/cad/acad"));
    QCOMPARE(f.launches[0].parameters, "/b \"" + f.window.scriptPath + "\"");
    QCOMPARE(f.launches[0].showCode, 1);
    QCOMPARE(QString::fromStdString(f.window.scriptPath), f.env.file(QStringLiteral("Batch.scr")));
}

void BatchRunTest::cancelInTheConfirmationWritesNothing()
{
    BatchFixture f;
    BatchRunner runner(f.window);
    f.env.dialogs().queueAnswer(MessageAnswer::Cancel);
    QVERIFY(!runner.StartProcess(true, QStringLiteral("1")));
    QVERIFY(!QFile::exists(f.env.file(QStringLiteral("Batch.scr"))));
    QVERIFY(f.launches.empty());
}

void BatchRunTest::aRowWithoutRoutineStopsTheRun()
{
    BatchFixture f;
    DrawingRows rows = f.window.drawingList()->rows();
    rows[1].routine.clear();
    f.window.drawingList()->setRows(rows);
    BatchRunner runner(f.window);
    QVERIFY(!runner.StartProcess(true, QStringLiteral("1")));
    const auto messages = f.env.dialogs().messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, std::string("Please Assign a Routine To All Files"));
    QCOMPARE(messages[0].title, std::string("Quorvel Error"));
    QVERIFY(!QFile::exists(f.env.file(QStringLiteral("Batch.scr"))));
}

void BatchRunTest::readOnlyDecisionIsRememberedBetweenRuns()
{
    BatchFixture f;
    QFile::setPermissions(f.env.file(QStringLiteral("dwg/B.dwg")), QFile::ReadOwner | QFile::ReadGroup);
    BatchRunner runner(f.window);
    int shown = 0;

    // Stop: nothing written or started, and the decision holds for the next run.
    AnswerReadOnlyWindow(&f.window, 1, &shown);
    QVERIFY(!runner.StartProcess(false, QStringLiteral("1")));
    QCOMPARE(shown, 1);
    QCOMPARE(f.window.readOnlyDecision, QStringLiteral("No"));
    AnswerReadOnlyWindow(&f.window, -1, &shown);
    QVERIFY(!runner.StartProcess(false, QStringLiteral("1")));
    QVERIFY(!QFile::exists(f.env.file(QStringLiteral("Batch.scr"))));
    QVERIFY(f.launches.empty());

    // Continue: the read-only drawing gets its extra answer after the path.
    AnswerReadOnlyWindow(&f.window, 0, &shown);
    QVERIFY(runner.StartProcess(false, QStringLiteral("1")));
    QCOMPARE(f.window.readOnlyDecision, QStringLiteral("Yes"));
    QVERIFY(f.script().contains(QStringLiteral("/B.dwg\"\r\n_Y\r\n_Zoom\r\n_E\r\n")));
    QVERIFY(f.script().contains(QStringLiteral("/A.dwg\"\r\n_Zoom\r\n_E\r\n")));
    QCOMPARE(f.launches.size(), std::size_t(1));
}

void BatchRunTest::aHostThatCannotStartIsReported()
{
    BatchFixture f;
    f.launchResult = 2;
    BatchRunner runner(f.window);
    QVERIFY(!runner.StartProcess(false, QStringLiteral("1")));
    const auto messages = f.env.dialogs().messages();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].text.rfind("Error message File Not Found", 0) == 0);
    QCOMPARE(messages[0].title, std::string("Quorvel Error"));
}

QTEST_MAIN(BatchRunTest)
#include "BatchRunTest.moc"
