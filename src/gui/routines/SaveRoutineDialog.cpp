#include "SaveRoutineDialog.h"

#include "app/Program.h"
#include "routines/RoutineEditor.h"
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

SaveRoutineDialog::SaveRoutineDialog(RoutineEditor& editor, QWidget* parent) : QDialog(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("frmSaveRoutine"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);

    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("txtRoutineName"));
    auto* nameLabel = new QLabel(QStringLiteral("Routine Name:"), this);
    nameLabel->setBuddy(m_nameEdit);
    m_routineList = new QListWidget(this);
    m_routineList->setObjectName(QStringLiteral("lstSaveList"));
    m_routineList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_favouriteCheck = new QCheckBox(QStringLiteral("Add to favorites"), this);
    m_favouriteCheck->setObjectName(QStringLiteral("chkFavorites"));
    m_saveButton = new QPushButton(QStringLiteral("Save Routine"), this);
    m_saveButton->setObjectName(QStringLiteral("cmdSavePlot"));
    m_saveButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(m_favouriteCheck);
    buttons->addStretch();
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addWidget(m_nameEdit);
    layout->addWidget(m_routineList, 1);
    layout->addLayout(buttons);
    resize(420, 380);

    connect(m_routineList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = m_routineList->selectedItems();
        if (!selected.isEmpty())
            pickRoutine(selected.first());
    });
    connect(m_saveButton, &QPushButton::clicked, this, &SaveRoutineDialog::saveRoutine);
    connect(m_cancelButton, &QPushButton::clicked, this, &SaveRoutineDialog::reject);

    fillRoutineList();
    m_favouriteCheck->setChecked(true);
}

void SaveRoutineDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 3);
}

void SaveRoutineDialog::fillRoutineList()
{
    loadCatalogue();
    {
        const QSignalBlocker blocker(m_routineList);
        m_routineList->clear();
    }
    for (const Routine& routine : makeCatalogue()) {
        auto* item = new QListWidgetItem(toQString(std::string(trimSpaces(routine.description()))), m_routineList);
        item->setData(Qt::UserRole, static_cast<int>(routine.recordNumber()));
    }
    // The editor's own picks no longer apply while a routine is saved from here.
    for (QListWidget* list : {m_editor.m_favouritesList, m_editor.m_nonFavouritesList}) {
        const QSignalBlocker blocker(list);
        list->clear();
    }
    m_editor.m_descriptionEdit->clear();
}

void SaveRoutineDialog::pickRoutine(QListWidgetItem* item)
{
    m_nameEdit->setText(item->text());
    m_editor.setSaveListChoice(static_cast<std::int16_t>(item->data(Qt::UserRole).toInt()));
}

void SaveRoutineDialog::focusName()
{
    m_nameEdit->setFocus();
    m_nameEdit->selectAll();
}

void SaveRoutineDialog::saveRoutine()
{
    const SaveDecision decision = decideSaveRoutine(makeCatalogue(), toStd(m_nameEdit->text()));
    switch (decision.choice) {
    case SaveChoice::AskReplace:
        for (int row = 0; row < m_routineList->count(); ++row) {
            QListWidgetItem* item = m_routineList->item(row);
            if (item->data(Qt::UserRole).toInt() == decision.recordNumber) {
                const QSignalBlocker blocker(m_routineList);
                m_routineList->setCurrentItem(item);
                pickRoutine(item);
                break;
            }
        }
        if (userDialogs().message(decision.question) == MessageAnswer::Yes)
            store(decision.name, true);
        else
            focusName();
        return;
    case SaveChoice::Add:
        store(decision.name, false);
        return;
    case SaveChoice::Refused:
        if (decision.refusal)
            userDialogs().message(decision.refusal->message);
        focusName();
        return;
    }
}

void SaveRoutineDialog::store(const std::string& name, bool replace)
{
    m_editor.m_descriptionEdit->setText(toQString(name));
    programState().routineIsNonFavourite = !m_favouriteCheck->isChecked();
    const RoutineEditor::StoreResult result = replace ? m_editor.updateRoutine() : m_editor.addRoutine();
    if (result == RoutineEditor::StoreResult::RefusedDescription) {
        // The name is what needs mending, and it is typed here.
        focusName();
        return;
    }
    m_stored = result == RoutineEditor::StoreResult::Stored;
    accept();
}

} // namespace qv
