#pragma once

#include "builders/PaperSizes.h"

#include <QDialog>
#include <string>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace qv {

// "Add Paper Size to Custom": edits the user's own paper names kept in "NewPaper.txt". The file is
// rewritten on OK after a change; Cancel leaves it as it was.
// objectName "frmAddPaper" (its controls keep theirs).
class AddPaperDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit AddPaperDialog(std::string settingsFolder, QWidget* parent = nullptr);

    // True once a name has been added in this visit (the plot tab then reloads its custom list).
    bool hasAddedPaper() const { return m_added; }

    QLineEdit* m_newPaperEdit = nullptr;
    QPushButton* m_addPaperButton = nullptr;
    QListWidget* m_customPaperList = nullptr;
    QPushButton* m_removeButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

private:
    void refillList();
    void addTypedPaper();
    void removeSelectedPaper();
    void saveAndAccept();

    std::string m_settingsFolder;
    CustomPaperList m_papers;
    bool m_added = false;
};

} // namespace qv
