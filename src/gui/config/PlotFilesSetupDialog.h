#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace qv {

// The plot files step of the first-run setup: "Next" locates the folder of the plotter configuration
// files, then that of the plot style tables, each in the locate-file window, then closes.
// objectName "frmSetPlotFiles" (its controls keep theirs).
class PlotFilesSetupDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Locate Plot Files";

    explicit PlotFilesSetupDialog(QWidget* parent = nullptr);

    void locatePlotFiles();

    QCheckBox* m_plotterFolderCheck = nullptr;
    QLabel* m_plotterFolderLabel = nullptr;
    QCheckBox* m_plotStyleFolderCheck = nullptr;
    QLabel* m_plotStyleFolderLabel = nullptr;
    QLabel* m_explanationLabel = nullptr;
    QPushButton* m_plotFilesHelpButton = nullptr; // where the CAD program keeps these files
    QPushButton* m_nextButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace qv
