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
    void SetupPageSetupTab();
    // Shows the plotting information, then builds the routine; emits routineBuilt, or shows why it cannot.
    void BuildPageSetupPlotRoutine();

    bool isSetUp() const { return lblPlotPaper == QLatin1String("yes"); }

    // "yes" once the tab has been set up in this opening of the editor.
    QString lblPlotPaper;

    QGroupBox* FraPlotPageSetup = nullptr;
    QButtonGroup* optPageSetupLoc = nullptr;
    QLineEdit* txtDrawingAddress1 = nullptr;
    QPushButton* cmdDrawingBrowse1 = nullptr;
    QLabel* lblDrawingAddress1 = nullptr; // "Select Drawing to load page setup from"
    QLabel* lblRedefine = nullptr;        // the redefinition note
    QLineEdit* txtPageSetupName = nullptr;
    QComboBox* cboPagesetupPlotter = nullptr;
    QPushButton* cmdSelectPc3 = nullptr;
    QCheckBox* chkPlotalltabsPage = nullptr;
    QLabel* Label20 = nullptr;
    QComboBox* cboNumberofCopies = nullptr;
    QCheckBox* chkPlotToFile = nullptr;
    QPushButton* cmdPlotPageSave = nullptr;
    QPushButton* cmdPlotPagesetuBack = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    PageSetupPlotChoices readChoices() const;
    void optPageSetupLoc_Click(int index);
    void cmdDrawingBrowse1_Click();
    void cmdSelectPc3_Click();
    void refillDevices();

    std::string m_product;
};

} // namespace qv
