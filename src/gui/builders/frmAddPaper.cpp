#include "frmAddPaper.h"

#include "app/Controls.h"
#include "app/Program.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace qv {

frmAddPaper::frmAddPaper(std::string settingsFolder, QWidget* parent)
    : QDialog(parent), m_settingsFolder(std::move(settingsFolder))
{
    setObjectName(QStringLiteral("frmAddPaper"));
    setWindowTitle(QStringLiteral("Add Paper Size to Custom"));
    setModal(true);

    txtNewPaper = new QLineEdit(this);
    txtNewPaper->setObjectName(QStringLiteral("txtNewPaper"));
    QLabel* newLabel = MakeLabel(this, "lblNewPaper", QStringLiteral("New Paper Size"));
    newLabel->setBuddy(txtNewPaper);
    cmdAddPaper = MakeDialogButton(this, "cmdAddPaper", QStringLiteral("Add To List"));
    cmdAddPaper->setDefault(true);
    lstCustomPaper = MakeList(this, "lstCustomPaper", QString(), QAbstractItemView::SingleSelection);
    QLabel* listLabel = MakeLabel(this, "lblCustomPaper", QStringLiteral("Existing Custom Paper List"));
    listLabel->setBuddy(lstCustomPaper);
    cmdRemove = MakeDialogButton(this, "cmdRemove", QStringLiteral("Remove"));
    cmdok = MakeDialogButton(this, "cmdok", QStringLiteral("OK"), QStringLiteral("Back to Detailed Plot Setup"));
    cmdCancel = MakeDialogButton(this, "cmdCancel", QStringLiteral("Cancel"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(newLabel, 0, 0, 1, 2);
    layout->addWidget(txtNewPaper, 1, 0);
    layout->addWidget(cmdAddPaper, 1, 1);
    layout->addWidget(listLabel, 2, 0, 1, 2);
    layout->addWidget(lstCustomPaper, 3, 0, 2, 1);
    layout->addWidget(cmdRemove, 3, 1, Qt::AlignTop);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(cmdok);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons, 5, 0, 1, 2);
    layout->setRowStretch(4, 1);
    resize(420, 340);

    connect(cmdAddPaper, &QPushButton::clicked, this, &frmAddPaper::cmdAddPaper_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmAddPaper::cmdRemove_Click);
    connect(cmdok, &QPushButton::clicked, this, &frmAddPaper::cmdok_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddPaper::reject);
    connect(lstCustomPaper, &QListWidget::itemSelectionChanged, this,
            [this] { cmdRemove->setEnabled(!lstCustomPaper->selectedItems().isEmpty()); });

    cmdRemove->setEnabled(false);
    m_papers = LoadCustomPapers(m_settingsFolder);
    refillList();
}

void frmAddPaper::refillList()
{
    const QSignalBlocker blocker(lstCustomPaper);
    lstCustomPaper->clear();
    for (const std::string& name : ListedCustomPapers(m_papers))
        lstCustomPaper->addItem(ToQString(name));
}

void frmAddPaper::cmdAddPaper_Click()
{
    const AddPaperOutcome outcome = AddCustomPaper(m_papers, ToStd(txtNewPaper->text()));
    if (outcome.message)
        Dialogs().message(*outcome.message);
    if (outcome.added) {
        refillList();
        m_added = true;
    }
    if (outcome.clearText)
        txtNewPaper->clear();
    if (outcome.focusNewPaper) {
        txtNewPaper->setFocus();
        txtNewPaper->selectAll();
    }
}

void frmAddPaper::cmdRemove_Click()
{
    const QList<QListWidgetItem*> selected = lstCustomPaper->selectedItems();
    if (selected.isEmpty())
        return;
    RemoveCustomPaper(m_papers, ToStd(selected.front()->text()));
    refillList();
    cmdRemove->setEnabled(false);
}

void frmAddPaper::cmdok_Click()
{
    const Status saved = SaveCustomPapersIfChanged(m_settingsFolder, m_papers);
    if (!saved.ok()) {
        // The previous list is whole on disk; the names typed here stay in the window to try again.
        ShowError(saved.error(), "cmdok_Click");
        return;
    }
    accept();
}

} // namespace qv
