#pragma once

#include "builders/PageSetupRoutine.h"

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

// The "Import Page Setup" tab of the routine editor: brings named page setups (or all of them) from
// another drawing into each drawing and saves it.
class ImportPageSetupTab final : public QWidget
{
    Q_OBJECT

public:
    explicit ImportPageSetupTab(QWidget* parent = nullptr);

    // Checks the choices and builds the routine; emits routineBuilt, or shows why it cannot.
    void BuildPageSetupImportRoutine();
    // The tab's only preparation: its frame caption, set each time the tab is shown.
    void ShowCaption();

    QGroupBox* fraImportPageSetup = nullptr;
    QButtonGroup* optLoadAll = nullptr;
    QLineEdit* txtPagesetup = nullptr;
    QLabel* lblPagesetup = nullptr;      // "Enter Page Setup name"
    QLabel* lblPagesetupList = nullptr;  // how to name several
    QLabel* lblPagesetupCheck = nullptr; // the confirmation note
    QLineEdit* txtDrawingAddress = nullptr;
    QPushButton* cmdDwgBrowse = nullptr;
    QPushButton* cmdSavePagesetup = nullptr;
    QPushButton* cmbImportBack = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    void optLoadAll_Click(int index);
    void cmdDwgBrowse_Click();
};

} // namespace qv
