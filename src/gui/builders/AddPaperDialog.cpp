#include "AddPaperDialog.h"

#include "app/Controls.h"
#include "app/Program.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace qv {

AddPaperDialog::AddPaperDialog(std::string settingsFolder, QWidget* parent)
    : QDialog(parent), m_settingsFolder(std::move(settingsFolder))
{
    setObjectName(QStringLiteral("frmAddPaper"));
    setWindowTitle(QStringLiteral("Add Paper Size to Custom"));
    setModal(true);

    m_newPaperEdit = new QLineEdit(this);
    m_newPaperEdit->setObjectName(QStringLiteral("txtNewPaper"));
    QLabel* newLabel = makeLabel(this, "lblNewPaper", QStringLiteral("New Paper Size"));
    newLabel->setBuddy(m_newPaperEdit);
    m_addPaperButton = makeDialogButton(this, "cmdAddPaper", QStringLiteral("Add To List"));
    m_addPaperButton->setDefault(true);
    m_customPaperList = makeList(this, "lstCustomPaper", QString(), QAbstractItemView::SingleSelection);
    QLabel* listLabel = makeLabel(this, "lblCustomPaper", QStringLiteral("Existing Custom Paper List"));
    listLabel->setBuddy(m_customPaperList);
    m_removeButton = makeDialogButton(this, "cmdRemove", QStringLiteral("Remove"));
    m_okButton = makeDialogButton(this, "cmdok", QStringLiteral("OK"), QStringLiteral("Back to Detailed Plot Setup"));
    m_cancelButton = makeDialogButton(this, "cmdCancel", QStringLiteral("Cancel"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(newLabel, 0, 0, 1, 2);
    layout->addWidget(m_newPaperEdit, 1, 0);
    layout->addWidget(m_addPaperButton, 1, 1);
    layout->addWidget(listLabel, 2, 0, 1, 2);
    layout->addWidget(m_customPaperList, 3, 0, 2, 1);
    layout->addWidget(m_removeButton, 3, 1, Qt::AlignTop);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons, 5, 0, 1, 2);
    layout->setRowStretch(4, 1);
    resize(420, 340);

    connect(m_addPaperButton, &QPushButton::clicked, this, &AddPaperDialog::addTypedPaper);
    connect(m_removeButton, &QPushButton::clicked, this, &AddPaperDialog::removeSelectedPaper);
    connect(m_okButton, &QPushButton::clicked, this, &AddPaperDialog::saveAndAccept);
    connect(m_cancelButton, &QPushButton::clicked, this, &AddPaperDialog::reject);
    connect(m_customPaperList, &QListWidget::itemSelectionChanged, this,
            [this] { m_removeButton->setEnabled(!m_customPaperList->selectedItems().isEmpty()); });

    m_removeButton->setEnabled(false);
    m_papers = loadCustomPapers(m_settingsFolder);
    refillList();
}

void AddPaperDialog::refillList()
{
    const QSignalBlocker blocker(m_customPaperList);
    m_customPaperList->clear();
    for (const std::string& name : listedCustomPapers(m_papers))
        m_customPaperList->addItem(toQString(name));
}

void AddPaperDialog::addTypedPaper()
{
    const AddPaperOutcome outcome = addCustomPaper(m_papers, toStd(m_newPaperEdit->text()));
    if (outcome.message)
        userDialogs().message(*outcome.message);
    if (outcome.added) {
        refillList();
        m_added = true;
    }
    if (outcome.clearText)
        m_newPaperEdit->clear();
    if (outcome.focusNewPaper) {
        m_newPaperEdit->setFocus();
        m_newPaperEdit->selectAll();
    }
}

void AddPaperDialog::removeSelectedPaper()
{
    const QList<QListWidgetItem*> selected = m_customPaperList->selectedItems();
    if (selected.isEmpty())
        return;
    removeCustomPaper(m_papers, toStd(selected.front()->text()));
    refillList();
    m_removeButton->setEnabled(false);
}

void AddPaperDialog::saveAndAccept()
{
    const Status saved = saveCustomPapersIfChanged(m_settingsFolder, m_papers);
    if (!saved.ok()) {
        // The previous list is whole on disk; the names typed here stay in the window to try again.
        showError(saved.error(), "cmdok_Click");
        return;
    }
    accept();
}

} // namespace qv
