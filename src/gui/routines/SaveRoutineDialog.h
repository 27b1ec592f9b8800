#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace qv {

class RoutineEditor;

// Names the routine a builder has put into the editor's script box and stores it: as a new routine,
// or in place of an existing one of the same name.
// objectName "frmSaveRoutine" (its controls keep theirs).
class SaveRoutineDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Save Routine As:";

    SaveRoutineDialog(RoutineEditor& editor, QWidget* parent = nullptr);

    // Fills lstSaveList with every routine of a fresh catalogue.
    void fillRoutineList();
    // True once a routine has been added or replaced.
    bool hasStoredRoutine() const { return m_stored; }

    QLineEdit* m_nameEdit = nullptr;
    QListWidget* m_routineList = nullptr;
    QCheckBox* m_favouriteCheck = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

public slots:
    void saveRoutine();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pickRoutine(QListWidgetItem* item);
    void store(const std::string& name, bool replace);
    void focusName();

    RoutineEditor& m_editor;
    bool m_stored = false;
};

} // namespace qv
