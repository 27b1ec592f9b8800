#pragma once

#include "batch/DrawingList.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>

class QUndoStack;

namespace qv {

class MainWindow;

// Everything a change of the drawing list alters, as Undo puts it back: the rows (shared, not copied), how the
// list is sorted and shown, the combination behind "Combined Routines...", and what Start and Sort by Field
// offered. The buttons that only need rows (Clear, Assign, Combine) follow the rows.
struct DrawingListState
{
    std::shared_ptr<const DrawingRows> rows;
    bool keyColumn = false;
    std::optional<ColumnSort> columnSort;
    QString headerSortOrder;
    std::string combinedScript;
    bool combinationMade = false;
    bool startEnabled = false;
    bool sortEnabled = false;

    bool operator==(const DrawingListState& other) const;
};

// Undo and redo of the drawing list: one step per add, remove, clear, assign, combine, sort or retrieve.
class DrawingListHistory final : public QObject
{
    Q_OBJECT

public:
    explicit DrawingListHistory(MainWindow& window);

    QUndoStack* stack() const { return m_stack; }

    // The list as it stands; its combination is the one the rows were last recorded with, because the combine
    // window replaces the program's combination before the rows take it.
    DrawingListState recordedState() const;
    // Records the step from `before` to the list as it stands now (nothing when nothing changed).
    void record(const QString& text, const DrawingListState& before);
    // Shows a recorded state: rows, columns, sorting, combination and buttons.
    void restore(const DrawingListState& state);
    // Puts back the combination of the recorded list (a combination that was not given to the rows).
    void restoreCombination();

    // Nested changes (an assignment inside a combine) make one step: only the outermost records.
    int m_openChanges = 0;

private:
    DrawingListState currentState() const;

    MainWindow& m_window;
    QUndoStack* m_stack = nullptr;
    std::string m_recordedScript;
    bool m_recordedMade = false;
};

// One change of the drawing list: made in the scope of this object, recorded as one Undo step when it ends.
class DrawingListChange
{
public:
    DrawingListChange(MainWindow& window, const QString& text);
    ~DrawingListChange();
    DrawingListChange(const DrawingListChange&) = delete;
    DrawingListChange& operator=(const DrawingListChange&) = delete;

private:
    DrawingListHistory& m_history;
    QString m_text;
    DrawingListState m_before;
    bool m_outermost = false;
};

} // namespace qv
