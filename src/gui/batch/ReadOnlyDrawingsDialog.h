#pragma once

#include "batch/ReadOnlyCheck.h"

#include <QDialog>
#include <QString>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace qv {

// Lists the read-only drawings of a run and lets the user continue (the host cannot save them) or
// stop to change the list. The decision is the main window's "Yes"/"No" text, kept between runs.
// objectName "frmReadOnlyDwg" (its controls keep theirs).
class ReadOnlyDrawingsDialog final : public QDialog
{
    Q_OBJECT

public:
    ReadOnlyDrawingsDialog(const std::vector<ReadOnlyDrawing>& drawings, QString& decision, QWidget* parent = nullptr);

    // Shows the window modally; an unattended run writes what it shows and keeps the current choice.
    void askDecision();

    QGroupBox* m_drawingsGroup = nullptr;
    QTreeWidget* m_drawingsView = nullptr;
    QLabel* m_messageLabel = nullptr;
    QGroupBox* m_proceedGroup = nullptr;
    QButtonGroup* m_decisionButtons = nullptr;
    QPushButton* m_okButton = nullptr;

private:
    QString& m_decision;
};

} // namespace qv
