#pragma once

#include "routines/RoutineCatalogue.h"

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace qv {

// The routine editor: the "Macro" tab lists, edits, moves and deletes routines by hand; the other tabs
// hold the routine builders, which put their text into txtAction and call openSaveDialog.
// objectName "FrmScript" (its controls keep theirs).
class RoutineEditor final : public QDialog
{
    Q_OBJECT

public:
    // The requested tab when none is asked for.
    static constexpr std::int16_t kNoTab = 30;
    static constexpr const char* kCaption = "Script Routine and Wizards Window";
    static constexpr int kTabCount = 6;
    // Tabs, numbered from 1 as the menus request them.
    enum Tab : int
    {
        TabMacro = 1,
        TabPlotDetailed = 2,
        TabPlotPage = 3,
        TabSaveAs = 4,
        TabPurge = 5,
        TabImportPageSetup = 6,
    };

    explicit RoutineEditor(QWidget* parent = nullptr);

    // What opening does: loads the lists and selects Program().editorTab.
    void load();

    // The panel of a tab (1-6) and the seam for the builders: the builder's widget goes into the
    // panel and the tab is enabled.
    QWidget* tabPage(int tab) const;
    void setTabPage(int tab, QWidget* builder);
    // Selects a tab as a click on it would; a disabled tab leaves the current one.
    void selectTab(int tab);

    // Tabs 2, 3 and 6 build text only older AutoCAD releases take: sets or clears
    // release2004OrLater from the configured product, or tells the user the wizard does not apply.
    void checkProductRelease();

    // The builders call this after filling txtAction: names and stores the routine.
    void openSaveDialog();

    // Outcome of an add or update.
    enum class StoreResult
    {
        Stored,
        RefusedDescription, // the description box got the focus
        RefusedScript,      // the script box got the focus
        NotStored,          // nothing selected, or the database reported an error
    };

    // Catalogue operations, as the buttons and the save dialog run them.
    void loadRoutineLists();
    StoreResult addRoutine();
    StoreResult updateRoutine();
    void deleteRoutine();
    void showRoutine(std::int16_t recordNumber);
    // Picks the routine of that description in its list, as a click would; false when it is not listed.
    bool selectRoutine(const QString& description);

    // The command text in the script box, line breaks as CR LF; and the reverse.
    std::string scriptText() const;
    void setScriptText(const std::string& text);

    // The save dialog's pick: later updates refer to that record.
    void setSaveListChoice(std::int16_t recordNumber);

    // Controls; each keeps the objectName users and tests know it by.
    QTabWidget* m_tabs = nullptr;
    std::array<QWidget*, kTabCount> m_tabPages{};
    QGroupBox* m_routinesGroup = nullptr;
    QListWidget* m_favouritesList = nullptr;
    QListWidget* m_nonFavouritesList = nullptr;
    QPushButton* m_toNonFavouritesButton = nullptr;
    QPushButton* m_toFavouritesButton = nullptr;
    QLineEdit* m_descriptionEdit = nullptr;
    QPlainTextEdit* m_scriptEdit = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_updateButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_backButton = nullptr;

    // Which list the last pick was made in: "FAV"/"NON"; and where: "Macro" or "SaveList".
    QString m_pickedListKind;
    QString m_pickOrigin;

signals:
    // The editor has closed; the action panel refills its routine list.
    void closedToMain();
    // A routine was added or deleted; the action panel resets its routine choice.
    void routineAddedOrDeleted();
    // A routine was stored in the database (added or updated), by its description.
    void routineSaved(const QString& description);
    // A tab (1-6) has been selected; builders initialise themselves on their first showing.
    void tabSelected(int tab);

public slots:
    void addTypedRoutine();
    void updatePickedRoutine();
    void deletePickedRoutine();
    void moveToFavourites();
    void moveToNonFavourites();
    void returnToMain();
    void reject() override;

private:
    void buildControls();
    void addBuilders();
    QWidget* buildMacroTab();
    void fillLists();
    void refreshCaption();
    void listPicked(QListWidgetItem* item, bool favourites);
    void activateTab(int index);
    StoreResult refuse(const EditorRefusal& refusal);
    bool hostWouldTake(const std::string& text);
    std::optional<std::int16_t> selectedRecord() const;
    void closeEditor(int result);

    std::optional<std::int16_t> m_saveListRecord;
    bool m_closing = false;
};

} // namespace qv
