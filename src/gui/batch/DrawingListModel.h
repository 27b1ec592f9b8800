#pragma once

#include "batch/DrawingRow.h"

#include <QAbstractTableModel>
#include <functional>
#include <memory>

namespace qv {

// The drawing list as a table over the core's row vector. List operations replace the vector in
// one step; no per-row widget items exist.
class DrawingListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        FileColumn = 0,
        FolderColumn = 1,
        RoutineColumn = 2,
        KeyColumn = 3
    };

    explicit DrawingListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const DrawingRows& rows() const { return *m_rows; }
    void setRows(DrawingRows rows);
    // The rows as they stand, shared rather than copied: a later change copies them first (undo keeps
    // snapshots this way at the cost of one list per step).
    std::shared_ptr<const DrawingRows> snapshot() const { return m_rows; }
    void setSnapshot(std::shared_ptr<const DrawingRows> rows);
    // Runs a list operation on the row vector inside one model reset, so the view sees the rebuilt
    // list in one step (selection and current row are dropped, as after any rebuild of the list).
    void rebuild(const std::function<void(DrawingRows&)>& operation);
    // Appends rows at the end (one model notification for all of them).
    void appendRows(DrawingRows rows);
    void clear();

    // The normal set "Drawing File", "Folder", "Routine", or with "Num" after a sort by field.
    bool showsKeyColumn() const { return m_showKey; }
    void setShowsKeyColumn(bool show);

private:
    // The rows to change in place: copied first when a snapshot still shares them.
    DrawingRows& ownRows();

    // Never changed while shared: snapshots hold it as const.
    std::shared_ptr<DrawingRows> m_rows = std::make_shared<DrawingRows>();
    bool m_showKey = false;
};

} // namespace qv
