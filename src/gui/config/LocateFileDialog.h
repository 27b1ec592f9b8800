#pragma once

#include "config/FileSearch.h"
#include "config/SetupWizard.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

namespace qv {

// Locates one thing for the setup: the CAD executable, or the folder of the plotter configuration files or
// of the plot style tables. On opening it searches the disk, away from the user-interface thread, showing
// the folder being searched, with Stop; the user confirms the place found, types or browses another.
// OK writes the setting and ticks the caller's checklist entry.
// objectName "frmLocateFile" (its controls keep theirs).
class LocateFileDialog final : public QDialog
{
    Q_OBJECT

public:
    // Where each kind of search starts, in order. Tests point it at folders of their own; an empty
    // service restores the platform's places.
    using SearchRootsService = std::function<std::vector<std::string>(LocateMode mode)>;
    static void setSearchRoots(SearchRootsService service);
    // The search itself (findFileInTrees, also when set empty); it runs on a thread of its own.
    using FileSearchService = std::function<std::string(const std::vector<std::string>& roots, const std::string& name,
                                                        const FileSearchOptions& options)>;
    static void setFileSearch(FileSearchService service);

    // `check` and `label` are the caller's checklist entry for this step (either may be null).
    LocateFileDialog(LocateMode mode, QString executableName, QCheckBox* check, QLabel* label,
                     QWidget* parent = nullptr);
    ~LocateFileDialog() override;

    LocateMode mode() const { return m_mode; }
    // The place the settings already hold: shown instead of searching, and kept as it is when confirmed.
    void startFrom(const QString& storedAddress) { m_storedAddress = storedAddress; }
    bool isSearching() const { return m_searchThread != nullptr; }

    void confirmLocation();
    void browseForLocation();
    void requestStop();

    QGroupBox* m_locateGroup = nullptr;
    QLabel* m_locationLabel = nullptr;
    QLineEdit* m_locationEdit = nullptr;
    QPushButton* m_browseButton = nullptr;
    QLabel* m_explanationLabel = nullptr;
    QLabel* m_searchFolderLabel = nullptr; // the folder being searched
    QProgressBar* m_searchProgress = nullptr;
    QPushButton* m_stopButton = nullptr;
    QPushButton* m_nextButton = nullptr;

signals:
    // The search has ended: found, nothing found, or stopped.
    void searchFinished();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Progress;

    // The three searches, by mode.
    void searchForExecutable();
    void searchForPlotterConfigs();
    void searchForPlotStyles();
    void beginSearch(const std::string& fileName, std::vector<std::string> roots);
    void searchDone();
    void showProgress();
    void stopSearch();
    void setSearching(bool searching);

    // OK by mode: writes the setting, ticks the checklist.
    void saveExecutableLocation();
    void savePlotterConfigLocation();
    void savePlotStyleLocation();
    bool recordLocation(std::string (*located)(std::string_view));

    LocateMode m_mode;
    QString m_executableName;
    LocateTexts m_texts;
    QCheckBox* m_stepCheck;
    QLabel* m_stepLabel;
    QString m_stepTextBefore;
    bool m_searched = false;
    QString m_storedAddress;
    QThread* m_searchThread = nullptr;
    std::stop_source m_stopSource;
    std::shared_ptr<Progress> m_progress;
    QTimer* m_progressTimer = nullptr;
};

} // namespace qv
