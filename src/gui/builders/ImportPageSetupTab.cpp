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
    fraImportPageSetup = new QGroupBox(QStringLiteral("Import Page Setup"), this);
    fraImportPageSetup->setObjectName(QStringLiteral("fraImportPageSetup"));
    auto* frame = new QVBoxLayout(fraImportPageSetup);

    auto* which = new QGroupBox(QStringLiteral("Page Setup to load"), fraImportPageSetup);
    auto* whichLayout = new QVBoxLayout(which);
    optLoadAll = new QButtonGroup(this);
    optLoadAll->setObjectName(QStringLiteral("optLoadAll"));
    auto* options = new QHBoxLayout();
    for (const auto& [index, caption] :
         {std::pair{1, QStringLiteral("Load All")}, std::pair{0, QStringLiteral("Load Individual")}}) {
        auto* option = new QRadioButton(caption, which);
        option->setObjectName(QStringLiteral("optLoadAll_%1").arg(index));
        optLoadAll->addButton(option, index);
        options->addWidget(option);
    }
    options->addStretch();
    whichLayout->addLayout(options);
    lblPagesetup = MakeLabel(which, "lblPagesetup", QStringLiteral("Enter Page Setup name"));
    txtPagesetup = new QLineEdit(which);
    txtPagesetup->setObjectName(QStringLiteral("txtPagesetup"));
    lblPagesetup->setBuddy(txtPagesetup);
    lblPagesetupList =
        MakeLabel(which, "lblPagesetupList",
                  QStringLiteral("To load more than one, separate the Page Setup names with a comma (,)"));
    lblPagesetupCheck =
        MakeLabel(which, "lblPagesetupCheck",
                  QStringLiteral("Please confirm that this drawing actually contains this page setup."));
    whichLayout->addWidget(lblPagesetup);
    whichLayout->addWidget(txtPagesetup);
    whichLayout->addWidget(lblPagesetupList);
    whichLayout->addWidget(lblPagesetupCheck);
    frame->addWidget(which);

    auto* source = new QGroupBox(QStringLiteral("Drawing containing Page Setup"), fraImportPageSetup);
    auto* sourceLayout = new QHBoxLayout(source);
    txtDrawingAddress = new QLineEdit(source);
    txtDrawingAddress->setObjectName(QStringLiteral("txtDrawingAddress"));
    cmdDwgBrowse = MakeDialogButton(source, "cmdDwgBrowse", QStringLiteral("Browse"));
    sourceLayout->addWidget(txtDrawingAddress, 1);
    sourceLayout->addWidget(cmdDwgBrowse);
    frame->addWidget(source);
    frame->addStretch();
    layout->addWidget(fraImportPageSetup, 1);

    auto* buttons = new QHBoxLayout();
    cmdSavePagesetup = MakeDialogButton(this, "cmdSavePagesetup", QStringLiteral("Save Routine"),
                                        QStringLiteral("Save Routine to Database"));
    cmbImportBack =
        MakeDialogButton(this, "cmbImportBack", QStringLiteral("<< Back to Main"), QStringLiteral("Back to Main Menu"));
    buttons->addStretch();
    buttons->addWidget(cmdSavePagesetup);
    buttons->addWidget(cmbImportBack);
    layout->addLayout(buttons);

    connect(optLoadAll, &QButtonGroup::idClicked, this, &ImportPageSetupTab::optLoadAll_Click);
    connect(cmdDwgBrowse, &QPushButton::clicked, this, &ImportPageSetupTab::cmdDwgBrowse_Click);
    connect(cmdSavePagesetup, &QPushButton::clicked, this, &ImportPageSetupTab::BuildPageSetupImportRoutine);
    connect(cmbImportBack, &QPushButton::clicked, this, &ImportPageSetupTab::backRequested);
    optLoadAll->button(0)->setChecked(true);
}

void ImportPageSetupTab::ShowCaption()
{
    fraImportPageSetup->setTitle(QStringLiteral("Import Page Setup"));
}

void ImportPageSetupTab::optLoadAll_Click(int index)
{
    const bool all = index == 1;
    for (QWidget* control :
         std::initializer_list<QWidget*>{txtPagesetup, lblPagesetup, lblPagesetupList, lblPagesetupCheck})
        control->setEnabled(!all);
    txtPagesetup->setText(all ? QString::fromLatin1(kLoadAllPageSetups.data(), kLoadAllPageSetups.size()) : QString());
}

void ImportPageSetupTab::cmdDwgBrowse_Click()
{
    txtDrawingAddress->setText(SelectDrawingFile(Dialogs()));
}

void ImportPageSetupTab::BuildPageSetupImportRoutine()
{
    PageSetupImportChoices choices;
    choices.loadAll = optLoadAll->checkedId() == 1;
    choices.names = ToStd(txtPagesetup->text());
    choices.drawing = ToStd(txtDrawingAddress->text());
    const PageSetupRoutineResult result = qv::BuildPageSetupImportRoutine(choices);
    if (!result.ok()) {
        Dialogs().message(result.refusal->message);
        QLineEdit* box = result.refusal->focus == PageSetupField::ImportDrawing ? txtDrawingAddress : txtPagesetup;
        box->setFocus();
        box->selectAll();
        return;
    }
    emit routineBuilt(ToQString(result.text));
}

} // namespace qv
