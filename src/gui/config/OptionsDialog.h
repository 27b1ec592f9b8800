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
// objectName "frmFileLocation" (its controls keep theirs).
class OptionsDialog final : public QDialog
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

    explicit OptionsDialog(QWidget* parent = nullptr);

    // Opening: every control from the settings file; Apply off.
    void loadSettings();
    // The loaders of the File Location fields and of the field sort.
    void loadFileLocations();
    void loadFieldSort();

    // Writes every setting in order; false when a check (or a write) stopped the sequence.
    bool writeSettings();
    // The values of the controls as they would be stored.
    OptionsValues currentValues() const;

    // Handlers, as a click runs them.
    void chooseProduct(int index);
    void chooseStartCommand(int index);
    void chooseWindowStyle(int index);
    void chooseStartupSwitches(int index);
    void updateSortFields();
    void browseForExecutable();
    void browseForDatabase();
    void browseForScriptFolder();
    void browseForPlotterFolder();
    void browseForPlotStyleFolder();
    void applyAndClose();
    void apply();

    // Hidden state: the exact texts that OK and Apply store.
    QString m_productCode;         // product code of the chosen version button
    QString m_startCommand;        // "_Open" / "_Recover"
    QString m_windowState;         // "Normal" / "Minimized" / "Maximised"
    QString m_startupSwitchOption; // "NoSwitch" / "YesSwitch"
    QString m_browseTarget;        // "batch" while the folder browse fills the script folder

    QTabWidget* m_tabs = nullptr;
    std::array<QWidget*, kTabCount> m_tabPages{};

    // File Location
    QLabel* m_executableLabel = nullptr;
    QLabel* m_databaseLabel = nullptr;
    QLabel* m_scriptFolderLabel = nullptr;
    std::array<QLineEdit*, 3> m_locationEdits{};
    QPushButton* m_browseExecutableButton = nullptr;
    QPushButton* m_browseDatabaseButton = nullptr;
    QPushButton* m_browseScriptFolderButton = nullptr;
    // AutoCAD Version
    QGroupBox* m_productGroup = nullptr;
    QButtonGroup* m_productButtons = nullptr;
    // Advanced
    QGroupBox* m_fieldSortGroup = nullptr;
    QCheckBox* m_fieldSortCheck = nullptr;
    QLabel* m_fieldDelimiterLabel = nullptr;
    QLineEdit* m_fieldDelimiterEdit = nullptr;
    QLabel* m_fieldNumberLabel = nullptr;
    QLineEdit* m_fieldNumberEdit = nullptr;
    QLabel* m_fieldSortHelpLabel = nullptr;
    QGroupBox* m_windowStyleGroup = nullptr;
    QLabel* m_windowStyleLabel = nullptr;
    QButtonGroup* m_windowStyleButtons = nullptr;
    QGroupBox* m_startCommandGroup = nullptr;
    QButtonGroup* m_startCommandButtons = nullptr;
    // Startup Switches
    QGroupBox* m_startupSwitchGroup = nullptr;
    QButtonGroup* m_startupSwitchButtons = nullptr;
    QLineEdit* m_startupSwitchEdit = nullptr;
    QLabel* m_startupSwitchLabel = nullptr;
    QLabel* m_startupSwitchHelpLabel = nullptr;
    // PC3 and Plot Style Location
    QGroupBox* m_plotLocationsGroup = nullptr;
    QLabel* m_plotterFolderLabel = nullptr;
    QLineEdit* m_plotterFolderEdit = nullptr;
    QPushButton* m_browsePlotterFolderButton = nullptr;
    QLabel* m_plotStyleFolderLabel = nullptr;
    QLineEdit* m_plotStyleFolderEdit = nullptr;
    QPushButton* m_browsePlotStyleFolderButton = nullptr;
    QPushButton* m_plotFilesHelpButton = nullptr;
    // Every tab
    QPushButton* m_okButton = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

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
    static QString folderOf(const QString& path);
    // After OK or Apply: a warning when the CAD program, newly typed or chosen, cannot be started.
    void warnAboutExecutable();

    QString m_loadedExecutable; // the CAD program as last loaded or written
};

} // namespace qv
