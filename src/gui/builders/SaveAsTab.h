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
    void setUp();
    // Refill the release list for "Drawing" and "Dxf".
    void showDrawingReleases();
    void showDxfReleases();
    // Build the routine of the chosen type; emit routineBuilt, or show why they cannot.
    void buildDrawingRoutine();
    void buildDxfRoutine();

    bool isSetUp() const { return m_setUpFlag == QLatin1String("yes"); }
    // The release the list shows: its chosen entry, or the text it shows before a choice.
    QString shownRelease() const;

    // "yes" once the tab has been set up in this opening of the editor.
    QString m_setUpFlag;

    QGroupBox* m_saveAsGroup = nullptr;
    QButtonGroup* m_fileKindButtons = nullptr;
    QComboBox* m_releaseCombo = nullptr;
    QLabel* m_releaseLabel = nullptr; // "Save As Type:"
    QLineEdit* m_folderEdit = nullptr;
    QLabel* m_folderLabel = nullptr; // "Save in Folder:"
    QPushButton* m_browseFolderButton = nullptr;
    QLabel* m_lispNoteLabel = nullptr;
    QGroupBox* m_dxfFormatGroup = nullptr;
    QButtonGroup* m_dxfFormatButtons = nullptr;
    QComboBox* m_accuracyCombo = nullptr;
    QLabel* m_accuracyLabel = nullptr;
    QCheckBox* m_previewCheck = nullptr;
    QPushButton* m_saveRoutineButton = nullptr;
    QPushButton* m_backButton = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    void showReleases(const SaveAsReleases& releases);
    void chooseDxfFormat(int index);
    void browseForFolder();
    void buildRoutine();
    SaveAsChoices readChoices() const;
    void finish(const SaveAsRoutineResult& result);

    std::string m_product;
};

} // namespace qv
