#include "frmSaveRoutine.h"

#include "app/Program.h"
#include "routines/FrmScript.h"
#include "routines/RoutineStore.h"
#include "text/TextUtil.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {

frmSaveRoutine::frmSaveRoutine(FrmScript& editor, QWidget* parent) : QDialog(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("frmSaveRoutine"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);

    txtRoutineName = new QLineEdit(this);
    txtRoutineName->setObjectName(QStringLiteral("txtRoutineName"));
    auto* nameLabel = new QLabel(QStringLiteral("Routine Name:"), this);
    nameLabel->setBuddy(txtRoutineName);
    lstSaveList = new QListWidget(this);
    lstSaveList->setObjectName(QStringLiteral("lstSaveList"));
    lstSaveList->setSelectionMode(QAbstractItemView::SingleSelection);
    chkFavorites = new QCheckBox(QStringLiteral("Add to favorites"), this);
    chkFavorites->setObjectName(QStringLiteral("chkFavorites"));
    cmdSavePlot = new QPushButton(QStringLiteral("Save Routine"), this);
    cmdSavePlot->setObjectName(QStringLiteral("cmdSavePlot"));
    cmdSavePlot->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(chkFavorites);
    buttons->addStretch();
    buttons->addWidget(cmdSavePlot);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addWidget(txtRoutineName);
    layout->addWidget(lstSaveList, 1);
    layout->addLayout(buttons);
    resize(420, 380);

    connect(lstSaveList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = lstSaveList->selectedItems();
        if (!selected.isEmpty())
            lstSaveList_Click(selected.first());
    });
    connect(cmdSavePlot, &QPushButton::clicked, this, &frmSaveRoutine::cmdSavePlot_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSaveRoutine::reject);

    LoadSaveList();
    chkFavorites->setChecked(true);
}

void frmSaveRoutine::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 3);
}

void frmSaveRoutine::LoadSaveList()
{
    LoadCatalogue();
    {
        const QSignalBlocker blocker(lstSaveList);
        lstSaveList->clear();
    }
    for (const clsRoutine& routine : Catalogue()) {
        auto* item = new QListWidgetItem(ToQString(std::string(TrimSpaces(routine.Description()))), lstSaveList);
        item->setData(Qt::UserRole, static_cast<int>(routine.RecordNumber()));
    }
    // The editor's own picks no longer apply while a routine is saved from here.
    for (QListWidget* list : {m_editor.lstActionDesFav, m_editor.lstActionDesNon}) {
        const QSignalBlocker blocker(list);
        list->clear();
    }
    m_editor.txtDescription->clear();
}

void frmSaveRoutine::lstSaveList_Click(QListWidgetItem* item)
{
    txtRoutineName->setText(item->text());
    m_editor.setSaveListChoice(static_cast<std::int16_t>(item->data(Qt::UserRole).toInt()));
}

void frmSaveRoutine::focusName()
{
    txtRoutineName->setFocus();
    txtRoutineName->selectAll();
}

void frmSaveRoutine::cmdSavePlot_Click()
{
    const SaveDecision decision = DecideSaveRoutine(Catalogue(), ToStd(txtRoutineName->text()));
    switch (decision.choice) {
    case SaveChoice::AskReplace:
        for (int row = 0; row < lstSaveList->count(); ++row) {
            QListWidgetItem* item = lstSaveList->item(row);
            if (item->data(Qt::UserRole).toInt() == decision.recordNumber) {
                const QSignalBlocker blocker(lstSaveList);
                lstSaveList->setCurrentItem(item);
                lstSaveList_Click(item);
                break;
            }
        }
        if (Dialogs().message(decision.question) == MessageAnswer::Yes)
            store(decision.name, true);
        else
            focusName();
        return;
    case SaveChoice::Add:
        store(decision.name, false);
        return;
    case SaveChoice::Refused:
        if (decision.refusal)
            Dialogs().message(decision.refusal->message);
        focusName();
        return;
    }
}

void frmSaveRoutine::store(const std::string& name, bool replace)
{
    m_editor.txtDescription->setText(ToQString(name));
    Program().NonFavourite = !chkFavorites->isChecked();
    const FrmScript::StoreResult result = replace ? m_editor.UpdateRoutine() : m_editor.AddRoutine();
    if (result == FrmScript::StoreResult::RefusedDescription) {
        // The name is what needs mending, and it is typed here.
        focusName();
        return;
    }
    m_stored = result == FrmScript::StoreResult::Stored;
    accept();
}

} // namespace qv
