#include "DrawingListHistory.h"

#include "app/MainWindow.h"
#include "app/Program.h"
#include "batch/DrawingListModel.h"
#include "routines/ActionPanel.h"

#include <QPushButton>
#include <QUndoCommand>
#include <QUndoStack>

namespace qv {
namespace {

// Enough steps for an afternoon's work; each holds one copy of the list.
constexpr int kUndoSteps = 100;

class ListStateCommand final : public QUndoCommand
{
public:
    ListStateCommand(DrawingListHistory& history, const QString& text, DrawingListState before, DrawingListState after)
        : QUndoCommand(text), m_history(history), m_before(std::move(before)), m_after(std::move(after))
    {}

    void undo() override { m_history.restore(m_before); }
    void redo() override
    {
        // The change itself was made before it was recorded.
        if (m_made) {
            m_made = false;
            return;
        }
        m_history.restore(m_after);
    }

private:
    DrawingListHistory& m_history;
    DrawingListState m_before;
    DrawingListState m_after;
    bool m_made = true;
};

} // namespace

bool DrawingListState::operator==(const DrawingListState& other) const
{
    const bool sameRows = rows == other.rows || (rows && other.rows && *rows == *other.rows);
    return sameRows && keyColumn == other.keyColumn && columnSort == other.columnSort &&
           headerSortOrder == other.headerSortOrder && combinedScript == other.combinedScript &&
           combinationMade == other.combinationMade && startEnabled == other.startEnabled &&
           sortEnabled == other.sortEnabled;
}

DrawingListHistory::DrawingListHistory(MainWindow& window) : QObject(&window), m_window(window)
{
    m_stack = new QUndoStack(this);
    m_stack->setObjectName(QStringLiteral("undoDrawingList"));
    m_stack->setUndoLimit(kUndoSteps);
    m_recordedScript = programState().combinedScript;
    m_recordedMade = programState().combinationMade;
}

DrawingListState DrawingListHistory::currentState() const
{
    DrawingListState state;
    state.rows = m_window.drawingList()->snapshot();
    state.keyColumn = m_window.drawingList()->showsKeyColumn();
    state.columnSort = m_window.columnSort();
    state.headerSortOrder = m_window.m_headerSortOrder;
    state.combinedScript = programState().combinedScript;
    state.combinationMade = programState().combinationMade;
    state.startEnabled = m_window.actionPanel()->m_startButton->isEnabled();
    state.sortEnabled = m_window.m_sortByFieldButton->isEnabled();
    return state;
}

DrawingListState DrawingListHistory::recordedState() const
{
    DrawingListState state = currentState();
    state.combinedScript = m_recordedScript;
    state.combinationMade = m_recordedMade;
    return state;
}

void DrawingListHistory::record(const QString& text, const DrawingListState& before)
{
    DrawingListState after = currentState();
    m_recordedScript = after.combinedScript;
    m_recordedMade = after.combinationMade;
    if (after == before)
        return;
    m_stack->push(new ListStateCommand(*this, text, before, std::move(after)));
}

void DrawingListHistory::restore(const DrawingListState& state)
{
    ActionPanel& panel = *m_window.actionPanel();
    m_window.setColumnSort(state.columnSort);
    m_window.m_headerSortOrder = state.headerSortOrder;
    m_window.drawingList()->setSnapshot(state.rows);
    if (state.keyColumn)
        m_window.showKeyColumn();
    else
        m_window.hideKeyColumn();
    programState().combinedScript = state.combinedScript;
    programState().combinationMade = state.combinationMade;
    m_recordedScript = state.combinedScript;
    m_recordedMade = state.combinationMade;

    const bool hasRows = m_window.drawingList()->rowCount() > 0;
    m_window.m_clearButton->setEnabled(hasRows);
    panel.m_assignButton->setEnabled(hasRows);
    panel.m_combineButton->setEnabled(hasRows);
    panel.m_startButton->setEnabled(state.startEnabled);
    m_window.m_sortByFieldButton->setEnabled(state.sortEnabled);
    // The list was rebuilt: nothing is selected.
    m_window.m_removeButton->setEnabled(false);
    panel.m_assignScope = QStringLiteral("1");
    m_window.refreshDrawingCount();
}

void DrawingListHistory::restoreCombination()
{
    programState().combinedScript = m_recordedScript;
    programState().combinationMade = m_recordedMade;
}

DrawingListChange::DrawingListChange(MainWindow& window, const QString& text)
    : m_history(*window.listHistory()), m_text(text)
{
    m_outermost = m_history.m_openChanges++ == 0;
    if (m_outermost)
        m_before = m_history.recordedState();
}

DrawingListChange::~DrawingListChange()
{
    --m_history.m_openChanges;
    if (m_outermost)
        m_history.record(m_text, m_before);
}

} // namespace qv
