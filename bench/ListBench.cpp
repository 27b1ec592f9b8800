// Times the drawing list operations of the main window and the action panel on a list of 100,000
// drawings, through the same window code a user's clicks run. Offscreen; prints one line per step.

#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/ScriptedUserDialogs.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "config/SettingsKeys.h"
#include "routines/ActionPanel.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineStore.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QItemSelection>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace qv;

namespace {

constexpr int kDrawings = 100000;

struct Step
{
    const char* name;
    double ms;
    int rowsAfter;
};

// Runs the step and the event processing it causes (view layout, painting), timed together.
Step timeOnce(const char* name, MainWindow& window, const std::function<void()>& step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    QCoreApplication::processEvents();
    return {name, double(clock.nsecsElapsed()) / 1e6, window.drawingList()->rowCount()};
}

QStringList makePaths(int count, int salt)
{
    QStringList paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int number = (i * 7919 + salt) % 100003;
        paths << QStringLiteral("/projects/site %1/ISO-%2-rev%3.dwg").arg(i % 40).arg(number).arg(i % 5);
    }
    return paths;
}

// Every other row, as ctrl-clicks leave them: 50,000 separate ranges, each a whole row.
void selectEveryOtherRow(MainWindow& window)
{
    const DrawingListModel* model = window.drawingList();
    const int lastColumn = model->columnCount() - 1;
    QItemSelection selection;
    for (int row = 0; row < model->rowCount(); row += 2)
        selection.append(QItemSelectionRange(model->index(row, 0), model->index(row, lastColumn)));
    window.m_drawingView->selectionModel()->select(selection, QItemSelectionModel::Select);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    initialiseProgram(folder.path().toStdString());
    auto scripted = std::make_unique<ScriptedUserDialogs>();
    ScriptedUserDialogs& dialogs = *scripted;
    programState().dialogs = std::move(scripted);
    const bool ready = programState().settings.writeValue(keys::kFieldSection, keys::kSortKey, "ON").ok() &&
                       programState().settings.writeValue(keys::kFieldSection, keys::kDelimKey, "-").ok() &&
                       programState().settings.writeValue(keys::kFieldSection, keys::kFieldNumKey, "2").ok() &&
                       addRoutineToDatabase(makeRoutineForAdd("Plot to PDF, A3", "_-plot\r\n_y", false)) &&
                       addRoutineToDatabase(makeRoutineForAdd("Purge all", "_-purge\r\n_a", false));
    if (!ready) {
        std::fprintf(stderr, "could not set up the settings and routines in %s\n", qPrintable(folder.path()));
        return 2;
    }

    MainWindow window;
    window.resize(1200, 800);
    window.load();
    window.show();
    QCoreApplication::processEvents();
    ActionPanel* panel = window.actionPanel();
    const QStringList paths = makePaths(kDrawings, 0);
    const QString listFile = folder.filePath(QStringLiteral("bench.qvl"));

    std::vector<Step> steps;
    steps.push_back(timeOnce("add 100,000 paths", window, [&] { window.addDrawings(paths); }));
    steps.push_back(timeOnce("assign to all", window, [&] {
        panel->m_routineCombo->setCurrentIndex(0);
        panel->m_assignButton->click();
    }));
    steps.push_back(timeOnce("select 50,000 rows (view)", window, [&] { selectEveryOtherRow(window); }));
    steps.push_back(timeOnce("assign to 50,000 selected", window, [&] {
        panel->m_routineCombo->setCurrentIndex(1);
        panel->m_assignButton->click();
    }));
    selectEveryOtherRow(window);
    steps.push_back(timeOnce("delete 50,000 selected", window, [&] { window.m_removeButton->click(); }));
    steps.push_back(timeOnce("clear", window, [&] { window.m_clearButton->click(); }));
    window.addDrawings(paths);
    steps.push_back(timeOnce("sort by field", window, [&] { window.m_sortByFieldButton->click(); }));
    steps.push_back(timeOnce("sort by column (file name)", window,
                             [&] { emit window.m_drawingView->header()->sectionClicked(0); }));
    steps.push_back(
        timeOnce("add 1,000 into the sorted list", window, [&] { window.addDrawings(makePaths(1000, 17)); }));
    panel->assignToAllDrawings(QStringLiteral("Plot to PDF, A3"));
    steps.push_back(timeOnce("save list file", window, [&] {
        dialogs.queueSaveName(listFile);
        panel->saveDrawingList();
    }));
    steps.push_back(timeOnce("retrieve list file", window, [&] {
        dialogs.queueFiles({listFile});
        panel->retrieveDrawingList();
    }));

    std::printf("%-32s %10s %10s\n", "step", "ms", "rows");
    bool allFast = true;
    for (const Step& step : steps) {
        std::printf("%-32s %10.1f %10d\n", step.name, step.ms, step.rowsAfter);
        allFast = allFast && step.ms < 500.0;
    }
    const auto messages = dialogs.messages();
    for (const UserMessage& message : messages)
        std::printf("message: %s: %s\n", message.title.c_str(), message.text.c_str());
    std::printf("%s\n", allFast ? "every step under 500 ms" : "some step took 500 ms or more");
    return messages.isEmpty() ? 0 : 1;
}
