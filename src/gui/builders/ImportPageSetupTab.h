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
    void buildRoutine();
    // The tab's only preparation: its frame caption, set each time the tab is shown.
    void showCaption();

    QGroupBox* m_importPageSetupGroup = nullptr;
    QButtonGroup* m_loadScopeButtons = nullptr;
    QLineEdit* m_pageSetupNamesEdit = nullptr;
    QLabel* m_pageSetupNamesLabel = nullptr;   // "Enter Page Setup name"
    QLabel* m_severalNamesNoteLabel = nullptr; // how to name several
    QLabel* m_confirmNoteLabel = nullptr;      // the confirmation note
    QLineEdit* m_sourceDrawingEdit = nullptr;
    QPushButton* m_browseDrawingButton = nullptr;
    QPushButton* m_saveRoutineButton = nullptr;
    QPushButton* m_backButton = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    void chooseLoadScope(int index);
    void browseForDrawing();
};

} // namespace qv
