#pragma once

#include "builders/PageSetupRoutine.h"

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
class QRadioButton;

namespace qv {

// The "Plot - Page Setup" tab of the routine editor: plots each drawing with a named page setup, taken
// from the drawing or imported first from another drawing. The text is built by the core and handed to
// the editor's save dialog.
class PageSetupPlotTab final : public QWidget
{
    Q_OBJECT

public:
    explicit PageSetupPlotTab(QWidget* parent = nullptr);

    // Prepares the tab for the configured product; runs once per opening of the editor.
    void setUp();
    // Shows the plotting information, then builds the routine; emits routineBuilt, or shows why it cannot.
    void buildRoutine();

    bool isSetUp() const { return m_setUpFlag == QLatin1String("yes"); }

    // "yes" once the tab has been set up in this opening of the editor.
    QString m_setUpFlag;

    QGroupBox* m_pageSetupPlotGroup = nullptr;
    QButtonGroup* m_pageSetupSourceButtons = nullptr;
    QLineEdit* m_sourceDrawingEdit = nullptr;
    QPushButton* m_browseDrawingButton = nullptr;
    QLabel* m_sourceDrawingLabel = nullptr; // "Select Drawing to load page setup from"
    QLabel* m_redefineNoteLabel = nullptr;  // the redefinition note
    QLineEdit* m_pageSetupNameEdit = nullptr;
    QComboBox* m_deviceCombo = nullptr;
    QPushButton* m_browsePlotterButton = nullptr;
    QCheckBox* m_allTabsCheck = nullptr;
    QLabel* m_lispNoteLabel = nullptr;
    QComboBox* m_copiesCombo = nullptr;
    QCheckBox* m_plotToFileCheck = nullptr;
    QPushButton* m_saveRoutineButton = nullptr;
    QPushButton* m_backButton = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    PageSetupPlotChoices readChoices() const;
    void choosePageSetupSource(int index);
    void browseForDrawing();
    void browsePlotter();
    void refillDevices();

    std::string m_product;
};

} // namespace qv
