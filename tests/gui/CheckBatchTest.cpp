#include "batch/frmCheckResult.h"
#include "routines/FrmScript.h"
#include "routines/frmCommandButton.h"
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
void WhenCheckWindowOpens(QObject* context, std::function<void(frmCheckResult*)> inspect)
{
    QTimer::singleShot(0, context, [inspect = std::move(inspect)] {
        auto* window = qobject_cast<frmCheckResult*>(QApplication::activeModalWidget());
        QVERIFY(window);
        inspect(window);
        if (QApplication::activeModalWidget() == window)
            window->cmdClose->click();
    });
}

} // namespace

void CheckBatchTest::checkShowsEachDrawingAndWritesNothing()
{
    RunFixture f;
    QVERIFY(Program().ini.WriteValue("Cad_Ver", "CadVer", "Cad2018").ok());
    QVERIFY(AddRoutineToDatabase(MakeRoutineForAdd("Purge short", "_-Purge\r\n_All\r\n_N\r\n_Qsave", false)));
    f.window.drawingList()->setRows(
        {{"A.dwg", f.drawingFolder(), "Zoom", ""}, {"B.dwg", f.drawingFolder(), "Purge short", ""}});
    auto* panel = f.window.findChild<frmCommandButton*>();
    QVERIFY(panel);
    panel->CboSequence->addItem(QStringLiteral("1"));
    panel->CmdStart->setEnabled(true);
    QVERIFY(panel->cmdCheck->isEnabled()); // offered whenever Start is

    QString summary;
    int shownRows = -1;
    int allRows = -1;
    QString problem;
    WhenCheckWindowOpens(&f.window, [&](frmCheckResult* window) {
        summary = window->lblCheckSummary->text();
        // Opened on the problems; the box shows everything.
        shownRows = window->lstvCheck->model()->rowCount();
        problem = window->lstvCheck->model()->index(0, CheckResultModel::ColResult).data().toString() + QLatin1Char('|') +
                  window->lstvCheck->model()->index(0, CheckResultModel::ColLine).data().toString() + QLatin1Char('|') +
                  window->lstvCheck->model()->index(0, CheckResultModel::ColEntry).data().toString() + QLatin1Char('|') +
                  window->lstvCheck->model()->index(0, CheckResultModel::ColRoutine).data().toString();
        window->chkProblemsOnly->setChecked(false);
        allRows = window->lstvCheck->model()->rowCount();
    });
    QTest::mouseClick(panel->cmdCheck, Qt::LeftButton);
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
    QVERIFY(Program().ini.WriteValue("Cad_Ver", "CadVer", "CadLT2018").ok());
    QVERIFY(AddRoutineToDatabase(MakeRoutineForAdd("Lisp", "(command \"_Zoom\" \"_E\")", false)));
    f.window.drawingList()->setRows({{"A.dwg", f.drawingFolder(), "Lisp", ""}});
    f.window.findChild<frmCommandButton*>()->CboSequence->addItem(QStringLiteral("1"));
    QString shownDescription;
    QString shownText;
    WhenCheckWindowOpens(&f.window, [&](frmCheckResult* window) {
        QTimer::singleShot(0, window, [&] {
            auto* editor = qobject_cast<FrmScript*>(QApplication::activeModalWidget());
            QVERIFY(editor);
            shownDescription = editor->txtDescription->text();
            shownText = editor->txtAction->toPlainText();
            editor->cmdExit->click();
        });
        window->lstvCheck->doubleClicked(window->lstvCheck->model()->index(0, 0));
    });
    f.window.CheckBatch();
    QCOMPARE(shownDescription, QStringLiteral("Lisp"));
    QCOMPARE(shownText, QStringLiteral("(command \"_Zoom\" \"_E\")"));
}

void CheckBatchTest::savingARoutineTheHostWouldRejectAsksFirst()
{
    GuiEnvironment env;
    QVERIFY(Program().ini.WriteValue("Cad_Ver", "CadVer", "Cad2018").ok());
    FrmScript editor;
    editor.Form_Load();
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
        editor.txtDescription->setText(description);
        editor.txtAction->setPlainText(text);
        QCOMPARE(editor.AddRoutine() == FrmScript::StoreResult::Stored, stored);
        const auto messages = env.dialogs().messages();
        QCOMPARE(messages.size(), answer ? 1 : 0);
        if (answer) {
            QCOMPARE(messages[0].title, std::string("Check Routine"));
            // The routine leaves the purge waiting for its last answer: the script's own next line meets it.
            QVERIFY2(messages[0].text.find("error at line 4: \"_Zoom\" at \"Verify each name to be purged? "
                                           "[Yes/No] <Y>:\": Invalid option keyword.") != std::string::npos,
                     messages[0].text.c_str());
        }
        QCOMPARE(!editor.lstActionDesFav->findItems(description, Qt::MatchExactly).isEmpty() ||
                     !editor.lstActionDesNon->findItems(description, Qt::MatchExactly).isEmpty(),
                 stored);
    }
}

QTEST_MAIN(CheckBatchTest)
#include "CheckBatchTest.moc"
