#include "frmSetPlotFiles.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "builders/PlotSettings.h"
#include "config/ConfigControls.h"
#include "config/SetupWizard.h"
#include "config/frmLocateFile.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

frmSetPlotFiles::frmSetPlotFiles(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSetPlotFiles"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);
    setMinimumWidth(560);

    Chk_PC3Address = MakeStatusCheck(this, "Chk_PC3Address");
    lbl_Pc3Address = MakeLabel(this, "lbl_Pc3Address", LabelText(setup_text::kPc3AddressBefore));
    Chk_CtbAddress = MakeStatusCheck(this, "Chk_CtbAddress");
    lbl_CtbAddress = MakeLabel(this, "lbl_CtbAddress", LabelText(setup_text::kCtbAddressBefore));
    for (QLabel* label : {lbl_Pc3Address, lbl_CtbAddress}) {
        label->setMinimumHeight(2 * label->fontMetrics().lineSpacing() + 4);
    }
    auto* checklist = new QGridLayout();
    checklist->addWidget(Chk_PC3Address, 0, 0, Qt::AlignTop);
    checklist->addWidget(lbl_Pc3Address, 0, 1);
    checklist->addWidget(Chk_CtbAddress, 1, 0, Qt::AlignTop);
    checklist->addWidget(lbl_CtbAddress, 1, 1);
    checklist->setColumnStretch(1, 1);

    lblExplainEnd = MakeLabel(this, "lblExplainEnd", LabelText(setup_text::PlotFilesOpening()));
    lblExplainEnd->setWordWrap(true);
    lblExplainEnd->setMinimumHeight(4 * lblExplainEnd->fontMetrics().lineSpacing());
    cmdWhere = MakeDialogButton(this, "cmdWhere", QStringLiteral("Where are my current files located"));
    cmdSetupExit = MakeDialogButton(this, "cmdSetupExit", QStringLiteral("Next"));
    cmdSetupExit->setDefault(true);
    cmdCancel = MakeDialogButton(this, "cmdCancel", QStringLiteral("Cancel"));

    LayOutWizardStep(this, checklist, lblExplainEnd, cmdWhere, {cmdSetupExit, cmdCancel});

    connect(cmdSetupExit, &QPushButton::clicked, this, &frmSetPlotFiles::cmdSetupExit_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdWhere, &QPushButton::clicked, this, [] { ShowPlotLocationsHelp(Dialogs()); });
}

void frmSetPlotFiles::cmdSetupExit_Click()
{
    {
        frmLocateFile plotters(LocateMode::PC3, QString(), Chk_PC3Address, lbl_Pc3Address, this);
        plotters.exec();
    }
    {
        frmLocateFile styles(LocateMode::CTB, QString(), Chk_CtbAddress, lbl_CtbAddress, this);
        styles.exec();
    }
    accept();
}

} // namespace qv
