#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace qv {

// The plot files step of the first-run setup: "Next" locates the folder of the plotter configuration
// files, then that of the plot style tables, each in the locate-file window, then closes.
class frmSetPlotFiles final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Locate Plot Files";

    explicit frmSetPlotFiles(QWidget* parent = nullptr);

    void cmdSetupExit_Click();

    QCheckBox* Chk_PC3Address = nullptr;
    QLabel* lbl_Pc3Address = nullptr;
    QCheckBox* Chk_CtbAddress = nullptr;
    QLabel* lbl_CtbAddress = nullptr;
    QLabel* lblExplainEnd = nullptr;
    QPushButton* cmdWhere = nullptr; // where the CAD program keeps these files
    QPushButton* cmdSetupExit = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace qv
