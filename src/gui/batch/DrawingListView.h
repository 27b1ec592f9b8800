#pragma once

#include <QStringList>
#include <QTreeView>

class QMimeData;

namespace qv {

// The drawing list view: accepts files dropped from the desktop or a file manager and hands their
// local paths, in drop order, to whoever lists them. The view never sorts by itself; the row vector
// behind the model is the processing order.
class DrawingListView final : public QTreeView
{
    Q_OBJECT

public:
    explicit DrawingListView(QWidget* parent = nullptr);

    // The local file paths a drop carries, in drop order, with the platform's separators. Empty when
    // the drop holds no local file.
    static QStringList droppedPaths(const QMimeData* mime);

signals:
    void filesDropped(const QStringList& paths);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

} // namespace qv
