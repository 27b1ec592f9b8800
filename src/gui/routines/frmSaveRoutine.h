#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace qv {

class FrmScript;

// Names the routine a builder has put into the editor's script box and stores it: as a new routine,
// or in place of an existing one of the same name.
class frmSaveRoutine final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Save Routine As:";

    frmSaveRoutine(FrmScript& editor, QWidget* parent = nullptr);

    // Fills lstSaveList with every routine of a fresh catalogue.
    void LoadSaveList();
    // True once a routine has been added or replaced.
    bool stored() const { return m_stored; }

    QLineEdit* txtRoutineName = nullptr;
    QListWidget* lstSaveList = nullptr;
    QCheckBox* chkFavorites = nullptr;
    QPushButton* cmdSavePlot = nullptr;
    QPushButton* cmdCancel = nullptr;

public slots:
    void cmdSavePlot_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void lstSaveList_Click(QListWidgetItem* item);
    void store(const std::string& name, bool replace);
    void focusName();

    FrmScript& m_editor;
    bool m_stored = false;
};

} // namespace qv
