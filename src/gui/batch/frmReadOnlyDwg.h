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
class frmReadOnlyDwg final : public QDialog
{
    Q_OBJECT

public:
    frmReadOnlyDwg(const std::vector<ReadOnlyDrawing>& drawings, QString& decision, QWidget* parent = nullptr);

    // Shows the window modally; an unattended run writes what it shows and keeps the current choice.
    void Run();

    QGroupBox* Frame1 = nullptr;
    QTreeWidget* lstViewReadOnly = nullptr;
    QLabel* lblReadOnlyMessage = nullptr;
    QGroupBox* Frame2 = nullptr;
    QButtonGroup* optReadOnly = nullptr;
    QPushButton* cmdOk = nullptr;

private:
    QString& m_decision;
};

} // namespace qv
