#include "batch/CheckResultWindow.h"
#include "routines/ActionPanel.h"
#include "routines/RoutineEditor.h"
#include "support/RunFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

using namespace qv;
using namespace qv::test;

class CheckBatchTest final : public QObject
{
    Q_OBJECT

private slots:
    void checkShowsEachDrawingAndWritesNothing();
    void aProblemOpensItsRoutineInTheEditor();
    void savingARoutineTheHostWouldRejectAsksFirst();
};

namespace {

// Runs `inspect` on the check window once it is open, then closes it.
void whenCheckWindowOpens(QObject* context, std::function<void(CheckResultWindow*)> inspect)
{
    whenModalOpens<CheckResultWindow>(context, [inspect = std::move(inspect)](CheckResultWindow* window) {
        inspect(window);
        if (QApplication::activeModalWidget() == window)
            window->m_closeButton->click();
    });
}

} // namespace

void CheckBatchTest::checkShowsEachDrawingAndWritesNothing()
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
    QString problem;
    whenCheckWindowOpens(&f.window, [&](CheckResultWindow* window) {
        summary = window->m_summaryLabel->text();
        // Opened on the problems; the box shows everything.
        shownRows = window->m_resultView->model()->rowCount();
        problem =
            window->m_resultView->model()->index(0, CheckResultModel::ColResult).data().toString() + QLatin1Char('|') +
            window->m_resultView->model()->index(0, CheckResultModel::ColLine).data().toString() + QLatin1Char('|') +
            window->m_resultView->model()->index(0, CheckResultModel::ColEntry).data().toString() + QLatin1Char('|') +
            window->m_resultView->model()->index(0, CheckResultModel::ColRoutine).data().toString();
        window->m_problemsOnlyCheck->setChecked(false);
        allRows = window->m_resultView->model()->rowCount();
    });
    QTest::mouseClick(panel->m_checkButton, Qt::LeftButton);
    QCOMPARE(summary, QStringLiteral("Checked 2 drawing(s) for Cad2018: 1 OK, 1 with errors, 0 with warnings."));
    QCOMPARE(shownRows, 1);
    QCOMPARE(allRows, 2);
    QCOMPARE(problem, QStringLiteral("Error: Invalid option keyword.|18|_Qsave|Purge short"));
    QVERIFY(!QFile::exists(f.env.file(QStringLiteral("Batch.scr"))));
    QVERIFY(f.launches.empty());
}

void CheckBatchTest::aProblemOpensItsRoutineInTheEditor()
{
    RunFixture f;
    useProduct("CadLT2018");
    QVERIFY(addRoutineToDatabase(makeRoutineForAdd("Lisp", "(command \"_Zoom\" \"_E\")", false)));
    f.window.drawingList()->setRows({{"A.dwg", f.drawingFolder(), "Lisp", ""}});
    f.window.findChild<ActionPanel*>()->m_setsCombo->addItem(QStringLiteral("1"));
    QString shownDescription;
    QString shownText;
    whenCheckWindowOpens(&f.window, [&](CheckResultWindow* window) {
        whenModalOpens<RoutineEditor>(window, [&](RoutineEditor* editor) {
            shownDescription = editor->m_descriptionEdit->text();
            shownText = editor->m_scriptEdit->toPlainText();
            editor->m_backButton->click();
        });
        window->m_resultView->doubleClicked(window->m_resultView->model()->index(0, 0));
    });
    f.window.checkBatch();
    QCOMPARE(shownDescription, QStringLiteral("Lisp"));
    QCOMPARE(shownText, QStringLiteral("(command \"_Zoom\" \"_E\")"));
}

void CheckBatchTest::savingARoutineTheHostWouldRejectAsksFirst()
{
    GuiEnvironment env;
    useProduct("Cad2018");
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

QTEST_MAIN(CheckBatchTest)
#include "CheckBatchTest.moc"
