#pragma once

#include "builders/SaveAsRoutine.h"

#include <QString>
#include <QWidget>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

// The "Save As Drawing/DXF" tab of the routine editor: writes each drawing again in a chosen release, as a
// drawing or as a DXF file, beside itself or into another folder.
class SaveAsTab final : public QWidget
{
    Q_OBJECT

public:
    explicit SaveAsTab(QWidget* parent = nullptr);

    // Prepares the tab for the configured product; runs once per opening of the editor.
    void SetupSaveAsTab();
    // Refill the release list for "Drawing" and "Dxf".
    void FillDrawingReleases();
    void FillDxfReleases();
    // Build the routine of the chosen type; emit routineBuilt, or show why they cannot.
    void BuildSaveAsRoutine();
    void BuildDxfRoutine();

    bool isSetUp() const { return lblSaveAs_d == QLatin1String("yes"); }
    // The release the list shows: its chosen entry, or the text it shows before a choice.
    QString shownRelease() const;

    // "yes" once the tab has been set up in this opening of the editor.
    QString lblSaveAs_d;

    QGroupBox* fraSaveAs = nullptr;
    QButtonGroup* OptSaveAsType = nullptr;
    QComboBox* cboSaveType = nullptr;
    QLabel* lblSaveType = nullptr; // "Save As Type:"
    QLineEdit* txtSaveAs_Folder = nullptr;
    QLabel* lblSaveInFolder = nullptr; // "Save in Folder:"
    QPushButton* cmbSaveAsBrowse = nullptr;
    QLabel* LblLispExplain16 = nullptr;
    QGroupBox* FraDxfFormat = nullptr;
    QButtonGroup* OptSaveAsFormat = nullptr;
    QComboBox* cboDxfAccuracy = nullptr;
    QLabel* lblDxfAccuracy = nullptr;
    QCheckBox* chkSaveAsPreview = nullptr;
    QPushButton* cmdSaveAsSave = nullptr;
    QPushButton* cmdSaveAsBack = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    void showReleases(const SaveAsReleases& releases);
    void OptSaveAsFormat_Click(int index);
    void cmbSaveAsBrowse_Click();
    void cmdSaveAsSave_Click();
    SaveAsChoices readChoices() const;
    void finish(const SaveAsRoutineResult& result);

    std::string m_product;
};

} // namespace qv
