#include "ImportPageSetupTab.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "builders/SelectDrawingFile.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

ImportPageSetupTab::ImportPageSetupTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ImportPageSetupTab"));
    auto* layout = new QVBoxLayout(this);
    m_importPageSetupGroup = new QGroupBox(QStringLiteral("Import Page Setup"), this);
    m_importPageSetupGroup->setObjectName(QStringLiteral("fraImportPageSetup"));
    auto* frame = new QVBoxLayout(m_importPageSetupGroup);

    auto* which = new QGroupBox(QStringLiteral("Page Setup to load"), m_importPageSetupGroup);
    auto* whichLayout = new QVBoxLayout(which);
    m_loadScopeButtons = new QButtonGroup(this);
    m_loadScopeButtons->setObjectName(QStringLiteral("optLoadAll"));
    auto* options = new QHBoxLayout();
    for (const auto& [index, caption] :
         {std::pair{1, QStringLiteral("Load All")}, std::pair{0, QStringLiteral("Load Individual")}}) {
        auto* option = new QRadioButton(caption, which);
        option->setObjectName(QStringLiteral("optLoadAll_%1").arg(index));
        m_loadScopeButtons->addButton(option, index);
        options->addWidget(option);
    }
    options->addStretch();
    whichLayout->addLayout(options);
    m_pageSetupNamesLabel = makeLabel(which, "lblPagesetup", QStringLiteral("Enter Page Setup name"));
    m_pageSetupNamesEdit = new QLineEdit(which);
    m_pageSetupNamesEdit->setObjectName(QStringLiteral("txtPagesetup"));
    m_pageSetupNamesLabel->setBuddy(m_pageSetupNamesEdit);
    m_severalNamesNoteLabel =
        makeLabel(which, "lblPagesetupList",
                  QStringLiteral("To load more than one, separate the Page Setup names with a comma (,)"));
    m_confirmNoteLabel =
        makeLabel(which, "lblPagesetupCheck",
                  QStringLiteral("Please confirm that this drawing actually contains this page setup."));
    whichLayout->addWidget(m_pageSetupNamesLabel);
    whichLayout->addWidget(m_pageSetupNamesEdit);
    whichLayout->addWidget(m_severalNamesNoteLabel);
    whichLayout->addWidget(m_confirmNoteLabel);
    frame->addWidget(which);

    auto* source = new QGroupBox(QStringLiteral("Drawing containing Page Setup"), m_importPageSetupGroup);
    auto* sourceLayout = new QHBoxLayout(source);
    m_sourceDrawingEdit = new QLineEdit(source);
    m_sourceDrawingEdit->setObjectName(QStringLiteral("txtDrawingAddress"));
    m_browseDrawingButton = makeDialogButton(source, "cmdDwgBrowse", QStringLiteral("Browse"));
    sourceLayout->addWidget(m_sourceDrawingEdit, 1);
    sourceLayout->addWidget(m_browseDrawingButton);
    frame->addWidget(source);
    frame->addStretch();
    layout->addWidget(m_importPageSetupGroup, 1);

    auto* buttons = new QHBoxLayout();
    m_saveRoutineButton = makeDialogButton(this, "cmdSavePagesetup", QStringLiteral("Save Routine"),
                                           QStringLiteral("Save Routine to Database"));
    m_backButton =
        makeDialogButton(this, "cmbImportBack", QStringLiteral("<< Back to Main"), QStringLiteral("Back to Main Menu"));
    buttons->addStretch();
    buttons->addWidget(m_saveRoutineButton);
    buttons->addWidget(m_backButton);
    layout->addLayout(buttons);

    connect(m_loadScopeButtons, &QButtonGroup::idClicked, this, &ImportPageSetupTab::chooseLoadScope);
    connect(m_browseDrawingButton, &QPushButton::clicked, this, &ImportPageSetupTab::browseForDrawing);
    connect(m_saveRoutineButton, &QPushButton::clicked, this, &ImportPageSetupTab::buildRoutine);
    connect(m_backButton, &QPushButton::clicked, this, &ImportPageSetupTab::backRequested);
    m_loadScopeButtons->button(0)->setChecked(true);
}

void ImportPageSetupTab::showCaption()
{
    m_importPageSetupGroup->setTitle(QStringLiteral("Import Page Setup"));
}

void ImportPageSetupTab::chooseLoadScope(int index)
{
    const bool all = index == 1;
    for (QWidget* control : std::initializer_list<QWidget*>{m_pageSetupNamesEdit, m_pageSetupNamesLabel,
                                                            m_severalNamesNoteLabel, m_confirmNoteLabel})
        control->setEnabled(!all);
    m_pageSetupNamesEdit->setText(all ? QString::fromLatin1(kLoadAllPageSetups.data(), kLoadAllPageSetups.size())
                                      : QString());
}

void ImportPageSetupTab::browseForDrawing()
{
    m_sourceDrawingEdit->setText(pickDrawingFile(userDialogs()));
}

void ImportPageSetupTab::buildRoutine()
{
    PageSetupImportChoices choices;
    choices.loadAll = m_loadScopeButtons->checkedId() == 1;
    choices.names = toStd(m_pageSetupNamesEdit->text());
    choices.drawing = toStd(m_sourceDrawingEdit->text());
    const PageSetupRoutineResult result = qv::buildPageSetupImportRoutine(choices);
    if (!result.ok()) {
        userDialogs().message(result.refusal->message);
        QLineEdit* box =
            result.refusal->focus == PageSetupField::ImportDrawing ? m_sourceDrawingEdit : m_pageSetupNamesEdit;
        box->setFocus();
        box->selectAll();
        return;
    }
    emit routineBuilt(toQString(result.text));
}

} // namespace qv
