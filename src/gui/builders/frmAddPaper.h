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
class frmAddPaper final : public QDialog
{
    Q_OBJECT

public:
    explicit frmAddPaper(std::string settingsFolder, QWidget* parent = nullptr);

    // True once a name has been added in this visit (the plot tab then reloads its custom list).
    bool addedName() const { return m_added; }

    QLineEdit* txtNewPaper = nullptr;
    QPushButton* cmdAddPaper = nullptr;
    QListWidget* lstCustomPaper = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdok = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void refillList();
    void cmdAddPaper_Click();
    void cmdRemove_Click();
    void cmdok_Click();

    std::string m_settingsFolder;
    CustomPaperList m_papers;
    bool m_added = false;
};

} // namespace qv
