#include "DrawingListModel.h"

#include "text/Paths.h"

namespace qv {

DrawingListModel::DrawingListModel(QObject* parent) : QAbstractTableModel(parent) {}

int DrawingListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows->size());
}

int DrawingListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : (m_showKey ? 4 : 3);
}

QVariant DrawingListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const DrawingRow& row = (*m_rows)[static_cast<std::size_t>(index.row())];
    // A long folder is cut in the middle on screen; the tool tip gives the whole path.
    if (role == Qt::ToolTipRole && (index.column() == FileColumn || index.column() == FolderColumn))
        return QString::fromStdString(joinPath(row.folder, row.file));
    switch (index.column()) {
    case FileColumn:
        return QString::fromStdString(row.file);
    case FolderColumn:
        return QString::fromStdString(row.folder);
    case RoutineColumn:
        return QString::fromStdString(row.routine);
    case KeyColumn:
        return QString::fromStdString(row.key);
    default:
        return {};
    }
}

QVariant DrawingListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case FileColumn:
        return QStringLiteral("Drawing File");
    case FolderColumn:
        return QStringLiteral("Folder");
    case RoutineColumn:
        return QStringLiteral("Routine");
    case KeyColumn:
        return QStringLiteral("Num");
    default:
        return {};
    }
}

DrawingRows& DrawingListModel::ownRows()
{
    if (m_rows.use_count() > 1)
        m_rows = std::make_shared<DrawingRows>(*m_rows);
    return *m_rows;
}

void DrawingListModel::setRows(DrawingRows rows)
{
    beginResetModel();
    m_rows = std::make_shared<DrawingRows>(std::move(rows));
    endResetModel();
}

void DrawingListModel::setSnapshot(std::shared_ptr<const DrawingRows> rows)
{
    beginResetModel();
    // Shared with the snapshot's holder, so ownRows copies before any change.
    m_rows = rows ? std::const_pointer_cast<DrawingRows>(std::move(rows)) : std::make_shared<DrawingRows>();
    endResetModel();
}

void DrawingListModel::rebuild(const std::function<void(DrawingRows&)>& operation)
{
    beginResetModel();
    operation(ownRows());
    endResetModel();
}

void DrawingListModel::appendRows(DrawingRows rows)
{
    if (rows.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    DrawingRows& own = ownRows();
    own.insert(own.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

void DrawingListModel::clear()
{
    setRows({});
}

void DrawingListModel::setShowsKeyColumn(bool show)
{
    if (show == m_showKey)
        return;
    beginResetModel();
    m_showKey = show;
    endResetModel();
}

} // namespace qv
