#pragma once

#include "config/OptionsSettings.h"

#include <QDialog>
#include <QString>
#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace qv {

// The options dialog: every setting on five tabs, read from the settings file when the dialog opens and
// written back in one sequence by OK or Apply. The database Browse writes its choice at once.
class frmFileLocation final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Options";
    static constexpr int kTabCount = 5;
    enum Tab : int
    {
        TabFileLocation = 0,
        TabCadVersion = 1,
        TabAdvanced = 2,
        TabStartupSwitches = 3,
        TabPlotLocations = 4,
    };

    explicit frmFileLocation(QWidget* parent = nullptr);

    // Opening: every control from the settings file; Apply off.
    void Form_Load();
    // The loaders of the File Location fields and of the field sort.
    void RecallAddress();
    void Get_FieldDelimOption();

    // Writes every setting in order; false when a check (or a write) stopped the sequence.
    bool UpdateQVSettings();
    // The values of the controls as they would be stored.
    OptionsValues Values() const;

    // Handlers, as a click runs them.
    void optCadVer_Click(int index);
    void optStartEnd_Click(int index);
    void optWindowStyle_Click(int index);
    void optStartSwitch_Click(int index);
    void chkSortOption_Click();
    void cmdAcadBrowse_Click();
    void cmdDatabaseBrowse_Click();
    void cmdbatchBrowse_Click();
    void cmdPlotLoc_Click();
    void cmdBrowsePlotStyle_Click();
    void cmdok_Click();
    void cmdApply_Click();

    // Hidden state: the exact texts that OK and Apply store.
    QString lblCAdVer;       // product code of the chosen version button
    QString lblStartOption;  // "_Open" / "_Recover"
    QString lblWindowState;  // "Normal" / "Minimized" / "Maximised"
    QString lblStartSwitch;  // "NoSwitch" / "YesSwitch"
    QString lblWhichaddress; // "batch" while the folder browse fills the script folder

    QTabWidget* tbsOptions = nullptr;
    std::array<QWidget*, kTabCount> picOptions{};

    // File Location
    QLabel* lblCad = nullptr;
    QLabel* lblDatabase = nullptr;
    QLabel* lblBatch = nullptr;
    std::array<QLineEdit*, 3> txtAddress{};
    QPushButton* cmdAcadBrowse = nullptr;
    QPushButton* cmdDatabaseBrowse = nullptr;
    QPushButton* cmdbatchBrowse = nullptr;
    // AutoCAD Version
    QGroupBox* fraCadVer = nullptr;
    QButtonGroup* optCadVer = nullptr;
    // Advanced
    QGroupBox* fraSortOption = nullptr;
    QCheckBox* chkSortOption = nullptr;
    QLabel* lblFieldDelim = nullptr;
    QLineEdit* txtFieldDelim = nullptr;
    QLabel* lblFieldNum = nullptr;
    QLineEdit* txtFieldNum = nullptr;
    QLabel* lblExplainField = nullptr;
    QGroupBox* fraWindowStyle = nullptr;
    QLabel* lblWindowStyle = nullptr;
    QButtonGroup* optWindowStyle = nullptr;
    QGroupBox* fraStartEnd = nullptr;
    QButtonGroup* optStartEnd = nullptr;
    // Startup Switches
    QGroupBox* fraStartSwitch = nullptr;
    QButtonGroup* optStartSwitch = nullptr;
    QLineEdit* txtStartupSwitch = nullptr;
    QLabel* lblStartupSwitch = nullptr;
    QLabel* lblStartupSwitchExplain = nullptr;
    // PC3 and Plot Style Location
    QGroupBox* fraPlotLocations = nullptr;
    QLabel* lblPlotterLoc = nullptr;
    QLineEdit* txtPlotterLoc = nullptr;
    QPushButton* cmdPlotLoc = nullptr;
    QLabel* lblPlotStyleLoc = nullptr;
    QLineEdit* txtPlotStyleLoc = nullptr;
    QPushButton* cmdBrowsePlotStyle = nullptr;
    QPushButton* cmdWhere = nullptr;
    // Every tab
    QPushButton* cmdok = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdCancel = nullptr;

signals:
    // OK or Apply wrote settings (all of them, or those before a check stopped the sequence).
    void settingsWritten();
    // The database Browse recorded another routine database.
    void databaseChanged();

private:
    QWidget* buildFileLocationTab();
    QWidget* buildVersionTab();
    QWidget* buildAdvancedTab();
    QWidget* buildStartupSwitchTab();
    QWidget* buildPlotLocationTab();
    void enableApply();
    void focusField(OptionsField field);
    // A file dialog's first folder: that of the path in the box, when there is one.
    static QString FolderOf(const QString& path);
};

} // namespace qv
