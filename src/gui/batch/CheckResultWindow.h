#pragma once

#include "batch/BatchCheck.h"

#include <QAbstractTableModel>
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeView;

namespace qv {

// The verdicts of a check, one row per drawing (or only the drawings with a problem).
class CheckResultModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        ColDrawing,
        ColResult,
        ColLine,
        ColEntry,
        ColAsking,
        ColRoutine,
        ColumnCount
    };

    explicit CheckResultModel(BatchCheckReport report, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setProblemsOnly(bool problemsOnly);
    std::optional<DrawingCheck> drawingAt(int row) const;
    const BatchCheckReport& report() const { return m_report; }

private:
    BatchCheckReport m_report;
    std::vector<std::size_t> m_shownDrawings; // indexes into m_report.drawings
};

// The result window of a check: what the CAD host would have made of each drawing's part of the script.
// objectName "frmCheckResult" (its controls keep theirs).
class CheckResultWindow final : public QDialog
{
    Q_OBJECT

public:
    CheckResultWindow(BatchCheckReport report, const QString& productCode, QWidget* parent = nullptr);

    QLabel* m_summaryLabel = nullptr;
    QCheckBox* m_problemsOnlyCheck = nullptr;
    QTreeView* m_resultView = nullptr;
    QPushButton* m_openRoutineButton = nullptr;
    QPushButton* m_closeButton = nullptr;

signals:
    // The user asked to see the routine of a drawing with a problem.
    void openRoutineRequested(const QString& description);

private:
    void openRoutineAt(const QModelIndex& index);
    void openCurrentRoutine();
    void refreshButtons();

    CheckResultModel* m_model = nullptr;
};

} // namespace qv
