// Starting a batch run from the main window (the script written, the host started, every refusal), and the check
// of a batch before it runs.
#include "batch/CheckResultWindow.h"
#include "batch/LaunchCommand.h"
#include "batch/ReadOnlyDrawingsDialog.h"
#include "builders/DetailedPlot.h"
#include "config/SettingsKeys.h"
#include "routines/ActionPanel.h"
#include "routines/RoutineEditor.h"
#include "support/RunFixture.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>

using namespace qv;
using namespace qv::test;

namespace {

// Answers the read-only window when it opens: clicks the option (or none, -1) and OK.
void answerReadOnlyWindow(QObject* context, int option, int* shownRows)
{
    whenModalOpens<ReadOnlyDrawingsDialog>(context, [option, shownRows](ReadOnlyDrawingsDialog* window) {
        *shownRows = window->m_drawingsView->topLevelItemCount();
        if (option >= 0)
            window->m_decisionButtons->button(option)->click();
        window->m_okButton->click();
    });
}

} // namespace

class BatchRunTest final : public QObject
{
    Q_OBJECT

private slots:
    void startWritesTheScriptAndStartsTheHostOnceConfirmed();
    void startWhileAHostRunsAsksFirst();
    void eachRefusalStopsTheRunWithItsMessage();
    void readOnlyDecisionIsRememberedBetweenRuns();
    void commandLineRunNeverResetsTheSettings();
    void checkShowsEachDrawingWritesNothingAndOpensAProblem();
    void checkWindowGivesEveryVerdict();
    void savingARoutineTheHostWouldRejectAsksFirst();
};

void BatchRunTest::startWritesTheScriptAndStartsTheHostOnceConfirmed()
{
    RunFixture f;
    BatchRunner runner(f.window);
    // Cancel in the confirmation writes nothing.
    f.env.dialogs().queueAnswer(MessageAnswer::Cancel);
    QVERIFY(!runner.startBatch(true, QStringLiteral("1")));
    QVERIFY(!QFile::exists(f.env.file(QStringLiteral("Batch.scr"))));
    QVERIFY(f.launches.empty());

    f.env.dialogs().queueAnswer(MessageAnswer::Ok);
    QVERIFY(runner.startBatch(true, QStringLiteral("2")));
    const auto messages = f.env.dialogs().messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[1].title, std::string("Confirm Starting Acad"));
    const QString folder = f.env.file(QStringLiteral("dwg"));
    QCOMPARE(f.script(),
             QStringLiteral("_Zoom\r\n0.999x\r\n_Close\r\n_Y\r\n_Open\r\n\"") + folder +
                 native(QStringLiteral("/A.dwg\"\r\n_Zoom\r\n_E\r\n_Zoom\r\n_E\r\n_Zoom\r\n0.999x\r\n_Close\r\n_Y\r\n"
                                       "_Open\r\n\"")) +
                 folder +
                 native(QStringLiteral("/B.dwg\"\r\n_Zoom\r\n_E\r\n_Zoom\r\n_E\r\n_Zoom\r\n0.999x\r\n_Quit\r\n_Y\r\n"
                                       "_Quit\r\n")));
    QCOMPARE(f.launches.size(), std::size_t(1));
    QCOMPARE(f.launches[0].file, std::string("/opt/cad/acad"));
    QCOMPARE(f.launches[0].parameters, "/b \"" + f.window.m_scriptPath + "\"");
    QCOMPARE(f.launches[0].showCode, 1);
    QCOMPARE(QString::fromStdString(f.window.m_scriptPath), f.env.file(QStringLiteral("Batch.scr")));
}

void BatchRunTest::startWhileAHostRunsAsksFirst()
{
    RunFixture f;
    BatchRunner::setRunningHosts([] { return 1; });
    BatchRunner runner(f.window);
    // Cancel: nothing is checked, written or started.
    f.env.dialogs().queueAnswer(MessageAnswer::Cancel);
    QVERIFY(!runner.startBatch(true, QStringLiteral("1")));
    auto messages = f.env.dialogs().messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, std::string("Batch Still Running"));
    QVERIFY(messages[0].buttons == MessageButtons::OkCancel);
    QVERIFY(!QFile::exists(f.env.file(QStringLiteral("Batch.scr"))) && f.launches.empty());
    // OK goes on to the usual confirmation; the timer's start (no confirmation) is never held up by a question.
    f.env.dialogs().clear();
    f.env.dialogs().queueAnswer(MessageAnswer::Ok);
    f.env.dialogs().queueAnswer(MessageAnswer::Ok);
    QVERIFY(runner.startBatch(true, QStringLiteral("1")));
    QVERIFY(runner.startBatch(false, QStringLiteral("1")));
    messages = f.env.dialogs().messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[1].title, std::string("Confirm Starting Acad"));
    QCOMPARE(f.launches.size(), std::size_t(2));
    BatchRunner::setRunningHosts([] { return 0; });
}

void BatchRunTest::eachRefusalStopsTheRunWithItsMessage()
{
    // How each refusal is decided and worded is the core's (the launch command and read-only check tests); here
    // each is shown and stops Start, before the script is written or, when the host does not start, after it.
    const struct
    {
        const char* prefix; // of the two drawings' names: none for A.dwg and B.dwg, which are there
        const char* routine;
        int launchResult;
        std::string firstLine;
        const char* part = ""; // later in the message
    } cases[] = {
        {"", "", 42, "Please Assign a Routine To All Files", "These 2 drawings have no routine:\r\n"},
        {"gone ", "Zoom", 42, "Error Number 53 in routine CheckReadOnly \r\n\r\nFile not found",
         "\r\n\r\nPlease remove these 2 drawings"},
        // A combination from an earlier run may not reach the script empty (one made in this run does: the action
        // panel's test).
        {"", "Combined Routines...", 42,
         "These routines are no longer in the routine database, so the batch has not been started:\r\n\r\n"
         "\"Combined Routines...\", used by A.dwg, B.dwg\r\n"},
        {"", "Zoom", 2, "Error message File Not Found", "\r\n\r\nThere is no such file: "},
        {"", "Zoom", 3, "Error Message Path not found in routine StartAutoCAD \r\n\r\nThe CAD program: ",
         "Batch.scr\"\r\n\r\nThe folder of this program does not exist."},
    };
    for (const auto& c : cases) {
        RunFixture f;
        f.launchResult = c.launchResult;
        const std::string prefix = c.prefix;
        f.window.drawingList()->setRows({{prefix + "A.dwg", f.drawingFolder(), c.routine, ""},
                                         {prefix + "B.dwg", f.drawingFolder(), c.routine, ""}});
        BatchRunner runner(f.window);
        QVERIFY(!runner.startBatch(false, QStringLiteral("1")));
        const auto messages = f.env.dialogs().messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].text.starts_with(c.firstLine) && messages[0].text.find(c.part) != std::string::npos,
                 messages[0].text.c_str());
        QCOMPARE(messages[0].title, std::string("Quorvel Error"));
        const bool started = c.launchResult != 42;
        QCOMPARE(QFile::exists(f.env.file(QStringLiteral("Batch.scr"))), started);
        QCOMPARE(f.launches.size(), std::size_t(started ? 1 : 0));
    }
}

void BatchRunTest::readOnlyDecisionIsRememberedBetweenRuns()
{
    RunFixture f;
    QFile::setPermissions(f.env.file(QStringLiteral("dwg/B.dwg")), QFile::ReadOwner | QFile::ReadGroup);
    BatchRunner runner(f.window);
    int shown = 0;

    // Stop: nothing written or started, and the decision holds for the next run.
    answerReadOnlyWindow(&f.window, 1, &shown);
    QVERIFY(!runner.startBatch(false, QStringLiteral("1")));
    QCOMPARE(shown, 1);
    QCOMPARE(f.window.m_readOnlyDecision, QStringLiteral("No"));
    answerReadOnlyWindow(&f.window, -1, &shown);
    QVERIFY(!runner.startBatch(false, QStringLiteral("1")));
    QVERIFY(!QFile::exists(f.env.file(QStringLiteral("Batch.scr"))));
    QVERIFY(f.launches.empty());

    // Continue: the read-only drawing gets its extra answer after the path.
    answerReadOnlyWindow(&f.window, 0, &shown);
    QVERIFY(runner.startBatch(false, QStringLiteral("1")));
    QCOMPARE(f.window.m_readOnlyDecision, QStringLiteral("Yes"));
    QVERIFY(f.script().contains(native(QStringLiteral("/B.dwg\"\r\n_Y\r\n_Zoom\r\n_E\r\n"))));
    QVERIFY(f.script().contains(native(QStringLiteral("/A.dwg\"\r\n_Zoom\r\n_E\r\n"))));
    QCOMPARE(f.launches.size(), std::size_t(1));
}

void BatchRunTest::commandLineRunNeverResetsTheSettings()
{
    RunFixture f;
    storeSetting(keys::kStartupSection, keys::kSetupKey, "YES");
    BatchRunner::setScriptProbe([](const std::string&) { return 76; }); // the script folder is gone
    BatchRunner runner(f.window);

    // Nobody answers a command-line run: the default answer must not reset the start-up sequence.
    QVERIFY(!runner.runFromCommandLine(QStringLiteral("1")));
    QCOMPARE(f.env.dialogs().messages(), QList{scriptFolderInvalidMessage(f.env.folder().toStdString())});
    QCOMPARE(f.env.settingsValue(keys::kStartupSection, keys::kSetupKey), std::string("YES"));
    QVERIFY(f.launches.empty());

    // Started by hand, the user is asked and Cancel changes nothing either.
    f.env.dialogs().clear();
    f.env.dialogs().queueAnswer(MessageAnswer::Cancel);
    QVERIFY(!runner.startBatch(false, QStringLiteral("1")));
    QCOMPARE(f.env.dialogs().messages().value(0).title, std::string("Reset Startup Sequence"));
    QCOMPARE(f.env.settingsValue(keys::kStartupSection, keys::kSetupKey), std::string("YES"));
}

void BatchRunTest::checkShowsEachDrawingWritesNothingAndOpensAProblem()
{
    RunFixture f;
    useProduct("Cad2018");
    QVERIFY(addRoutineToDatabase(makeRoutineForAdd("Purge short", "_-Purge\r\n_All\r\n_N\r\n_Qsave", false)));
    f.window.drawingList()->setRows(
        {{"A.dwg", f.drawingFolder(), "Zoom", ""}, {"B.dwg", f.drawingFolder(), "Purge short", ""}});
    auto* panel = f.window.findChild<ActionPanel*>();
    QVERIFY(panel);
    panel->m_setsCombo->addItem(QStringLiteral("1"));
    panel->m_startButton->setEnabled(true);
    QVERIFY(panel->m_checkButton->isEnabled()); // offered whenever Start is

    QString summary;
    int shownRows = -1;
    int allRows = -1;
    bool resultFits = false;
    QString problem;
    QString edited;
    whenModalOpens<CheckResultWindow>(&f.window, [&](CheckResultWindow* window) {
        summary = window->m_summaryLabel->text();
        // Opened on the problems; the box shows everything.
        shownRows = window->m_resultView->model()->rowCount();
        // The verdict column is as wide as its text (or its caption), neither cut nor padded.
        const QHeaderView* header = window->m_resultView->header();
        const QAbstractItemView* view = window->m_resultView;
        resultFits = header->sectionSize(CheckResultModel::ColResult) ==
                     std::max(view->sizeHintForColumn(CheckResultModel::ColResult),
                              header->sectionSizeHint(CheckResultModel::ColResult));
        problem =
            window->m_resultView->model()->index(0, CheckResultModel::ColResult).data().toString() + QLatin1Char('|') +
            window->m_resultView->model()->index(0, CheckResultModel::ColLine).data().toString() + QLatin1Char('|') +
            window->m_resultView->model()->index(0, CheckResultModel::ColEntry).data().toString() + QLatin1Char('|') +
            window->m_resultView->model()->index(0, CheckResultModel::ColRoutine).data().toString();
        // A double click on a problem opens its routine in the editor.
        whenModalOpens<RoutineEditor>(window, [&](RoutineEditor* editor) {
            edited =
                editor->m_descriptionEdit->text() + QLatin1Char('|') + QString::fromStdString(editor->scriptText());
            editor->m_backButton->click();
        });
        window->m_resultView->doubleClicked(window->m_resultView->model()->index(0, 0));
        window->m_problemsOnlyCheck->setChecked(false);
        allRows = window->m_resultView->model()->rowCount();
        window->m_closeButton->click();
    });
    QTest::mouseClick(panel->m_checkButton, Qt::LeftButton);
    QCOMPARE(summary, QStringLiteral("Checked 2 drawing(s) for Cad2018: 1 OK, 1 with errors, 0 with warnings."));
    QCOMPARE(shownRows, 1);
    QCOMPARE(allRows, 2);
    QVERIFY(resultFits);
    QCOMPARE(problem, QStringLiteral("Error: Invalid option keyword.|18|_Qsave|Purge short"));
    QCOMPARE(edited, QStringLiteral("Purge short|_-Purge\r\n_All\r\n_N\r\n_Qsave"));
    QVERIFY(!QFile::exists(f.env.file(QStringLiteral("Batch.scr"))));
    QVERIFY(f.launches.empty());
}

void BatchRunTest::checkWindowGivesEveryVerdict()
{
    RunFixture f;
    useProduct("Cad2018");
    // A plotter configuration offered from the configured folder is a device the host knows.
    storeSetting(keys::kPlotWizardSection, keys::kPc3Key, f.env.file(QStringLiteral("plotters/")).toStdString());
    writeFile(f.env.file(QStringLiteral("plotters/Office.pc3")));
    DetailedPlotChoices layoutPlot;
    layoutPlot.mode = PlotTabMode::Layout;
    layoutPlot.device = "DWF6 ePlot.pc3";
    const std::pair<const char*, std::string> routines[] = {
        {"Plot Office", "_-plot\r\n_N\r\n\r\n\r\nOffice.pc3\r\n_N\r\n_N\r\n_Y"},
        {"Unsaved Purge", "_-Purge\r\n_All\r\n*\r\n_N"},
        {"Plot Layout", buildDetailedPlotRoutine(layoutPlot, "Cad2018").text},
        {"Lisp Error", "(car 1)"},
    };
    for (const auto& [description, text] : routines)
        QVERIFY(addRoutineToDatabase(makeRoutineForAdd(description, text, false)));
    // file, routine, the result shown: the error suspends the script; a folder is an error all the same.
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"A.dwg", "Zoom", "OK"},
        {"B.dwg", "Plot Office", "OK"},
        {"C.dwg", "Unsaved Purge", "Warning: The routine changes the drawing but does not save it"},
        {"D.dwg", "Plot Layout", "Warning: The routine works only when the drawing opens on a layout tab"},
        {"E.dwg", "Lisp Error", "Error: lisp"},
        {"G.dwg", "Zoom", "Not reached"},
        {"H.dwg", "Zoom", "Error: This is a folder"},
    };
    DrawingRows list;
    for (const auto& [file, routine, shown] : rows) {
        writeFile(f.env.file(QStringLiteral("dwg/") + QString::fromLatin1(file)));
        list.push_back({file, f.drawingFolder(), routine, ""});
    }
    QFile::remove(f.env.file(QStringLiteral("dwg/H.dwg")));
    QDir(f.env.file(QStringLiteral("dwg"))).mkdir(QStringLiteral("H.dwg"));
    f.window.drawingList()->setRows(list);
    f.window.findChild<ActionPanel*>()->m_setsCombo->addItem(QStringLiteral("1"));
    QString summary;
    QStringList results;
    whenModalOpens<CheckResultWindow>(&f.window, [&](CheckResultWindow* window) {
        summary = window->m_summaryLabel->text();
        window->m_problemsOnlyCheck->setChecked(false);
        for (int row = 0; row < window->m_resultView->model()->rowCount(); ++row)
            results << window->m_resultView->model()->index(row, CheckResultModel::ColResult).data().toString();
        window->m_closeButton->click();
    });
    f.window.checkBatch();
    QVERIFY2(summary.startsWith(QStringLiteral("Checked 7 drawing(s) for Cad2018: 2 OK, 2 with errors, 2 with "
                                               "warnings, 1 not reached. An error suspends the script at line ")),
             qPrintable(summary));
    QCOMPARE(results.size(), 7);
    for (int i = 0; i < results.size(); ++i)
        QVERIFY2(results[i].startsWith(QString::fromUtf8(std::get<2>(rows[i]))), qPrintable(results[i]));
}

void BatchRunTest::savingARoutineTheHostWouldRejectAsksFirst()
{
    GuiEnvironment env("Cad2018");
    RoutineEditor editor;
    editor.load();
    // answer to the question, stored
    const std::tuple<QString, QString, std::optional<MessageAnswer>, bool> cases[] = {
        {QStringLiteral("Good"), QStringLiteral("_-Purge\n_All\n*\n_N"), std::nullopt, true},
        {QStringLiteral("Short"), QStringLiteral("_-Purge\n_All\n_N"), MessageAnswer::No, false},
        {QStringLiteral("Short anyway"), QStringLiteral("_-Purge\n_All\n_N"), MessageAnswer::Yes, true},
    };
    for (const auto& [description, text, answer, stored] : cases) {
        env.dialogs().clear();
        if (answer)
            env.dialogs().queueAnswer(*answer);
        editor.m_descriptionEdit->setText(description);
        editor.m_scriptEdit->setPlainText(text);
        QCOMPARE(editor.addRoutine() == RoutineEditor::StoreResult::Stored, stored);
        const auto messages = env.dialogs().messages();
        QCOMPARE(messages.size(), answer ? 1 : 0);
        if (answer) {
            QCOMPARE(messages[0].title, std::string("Check Routine"));
            // The routine leaves the purge waiting for its last answer: the script's own next line meets it.
            QVERIFY2(messages[0].text.find("error at line 4: \"_Zoom\" at \"Verify each name to be purged? "
                                           "[Yes/No] <Y>:\": Invalid option keyword.") != std::string::npos,
                     messages[0].text.c_str());
        }
        QCOMPARE(!editor.m_favouritesList->findItems(description, Qt::MatchExactly).isEmpty() ||
                     !editor.m_nonFavouritesList->findItems(description, Qt::MatchExactly).isEmpty(),
                 stored);
    }
}

QTEST_MAIN(BatchRunTest)
#include "BatchRunTest.moc"
