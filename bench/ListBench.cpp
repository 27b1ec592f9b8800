// Times the drawing list operations of the main window and the action panel on a list of 100,000
// drawings, through the same window code a user's clicks run. Offscreen; prints one line per step.

#include "app/Program.h"
#include "app/ScriptedUserDialogs.h"
#include "app/mdiStart.h"
#include "batch/DrawingListModel.h"
#include "batch/DrawingListView.h"
#include "config/SettingsKeys.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineStore.h"
#include "routines/frmCommandButton.h"

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
Step Time(const char* name, mdiStart& window, const std::function<void()>& step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    QCoreApplication::processEvents();
    return {name, double(clock.nsecsElapsed()) / 1e6, window.drawingList()->rowCount()};
}

QStringList Paths(int count, int salt)
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
void SelectEveryOtherRow(mdiStart& window)
{
    const DrawingListModel* model = window.drawingList();
    const int lastColumn = model->columnCount() - 1;
    QItemSelection selection;
    for (int row = 0; row < model->rowCount(); row += 2)
        selection.append(QItemSelectionRange(model->index(row, 0), model->index(row, lastColumn)));
    window.lstvDrawings->selectionModel()->select(selection, QItemSelectionModel::Select);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    InitialiseProgram(folder.path().toStdString());
    auto scripted = std::make_unique<ScriptedUserDialogs>();
    ScriptedUserDialogs& dialogs = *scripted;
    Program().dialogs = std::move(scripted);
    const bool ready = Program().ini.WriteValue(keys::kFieldSection, keys::kSortKey, "ON").ok() &&
                       Program().ini.WriteValue(keys::kFieldSection, keys::kDelimKey, "-").ok() &&
                       Program().ini.WriteValue(keys::kFieldSection, keys::kFieldNumKey, "2").ok() &&
                       AddRoutineToDatabase(MakeRoutineForAdd("Plot to PDF, A3", "_-plot\r\n_y", false)) &&
                       AddRoutineToDatabase(MakeRoutineForAdd("Purge all", "_-purge\r\n_a", false));
    if (!ready) {
        std::fprintf(stderr, "could not set up the settings and routines in %s\n", qPrintable(folder.path()));
        return 2;
    }

    mdiStart window;
    window.resize(1200, 800);
    window.FormLoad();
    window.show();
    QCoreApplication::processEvents();
    frmCommandButton* panel = window.commandPanel();
    const QStringList paths = Paths(kDrawings, 0);
    const QString listFile = folder.filePath(QStringLiteral("bench.qvl"));

    std::vector<Step> steps;
    steps.push_back(Time("add 100,000 paths", window, [&] { window.AddDrawings(paths); }));
    steps.push_back(Time("assign to all", window, [&] {
        panel->cboActionList->setCurrentIndex(0);
        panel->CmdAction->click();
    }));
    steps.push_back(Time("select 50,000 rows (view)", window, [&] { SelectEveryOtherRow(window); }));
    steps.push_back(Time("assign to 50,000 selected", window, [&] {
        panel->cboActionList->setCurrentIndex(1);
        panel->CmdAction->click();
    }));
    SelectEveryOtherRow(window);
    steps.push_back(Time("delete 50,000 selected", window, [&] { window.cmdDelete->click(); }));
    steps.push_back(Time("clear", window, [&] { window.cmdClear->click(); }));
    window.AddDrawings(paths);
    steps.push_back(Time("sort by field", window, [&] { window.cmdSortIso->click(); }));
    steps.push_back(
        Time("sort by column (file name)", window, [&] { emit window.lstvDrawings->header()->sectionClicked(0); }));
    steps.push_back(Time("add 1,000 into the sorted list", window, [&] { window.AddDrawings(Paths(1000, 17)); }));
    panel->RedoListItems(QStringLiteral("Plot to PDF, A3"));
    steps.push_back(Time("save list file", window, [&] {
        dialogs.queueSaveName(listFile);
        panel->SaveDrawingList();
    }));
    steps.push_back(Time("retrieve list file", window, [&] {
        dialogs.queueFiles({listFile});
        panel->RetrieveDrawingList();
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
