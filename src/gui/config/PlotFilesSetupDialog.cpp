#include "PlotFilesSetupDialog.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "builders/PlotSettings.h"
#include "config/ConfigControls.h"
#include "config/LocateFileDialog.h"
#include "config/SetupWizard.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

PlotFilesSetupDialog::PlotFilesSetupDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSetPlotFiles"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);
    setMinimumWidth(560);

    m_plotterFolderCheck = makeStatusCheck(this, "Chk_PC3Address");
    m_plotterFolderLabel = makeLabel(this, "lbl_Pc3Address", labelText(setup_text::kPc3AddressBefore));
    m_plotStyleFolderCheck = makeStatusCheck(this, "Chk_CtbAddress");
    m_plotStyleFolderLabel = makeLabel(this, "lbl_CtbAddress", labelText(setup_text::kCtbAddressBefore));
    for (QLabel* label : {m_plotterFolderLabel, m_plotStyleFolderLabel}) {
        label->setMinimumHeight(2 * label->fontMetrics().lineSpacing() + 4);
    }
    auto* checklist = new QGridLayout();
    checklist->addWidget(m_plotterFolderCheck, 0, 0, Qt::AlignTop);
    checklist->addWidget(m_plotterFolderLabel, 0, 1);
    checklist->addWidget(m_plotStyleFolderCheck, 1, 0, Qt::AlignTop);
    checklist->addWidget(m_plotStyleFolderLabel, 1, 1);
    checklist->setColumnStretch(1, 1);

    m_explanationLabel = makeLabel(this, "lblExplainEnd", labelText(setup_text::plotFilesOpening()));
    m_explanationLabel->setWordWrap(true);
    m_explanationLabel->setMinimumHeight(4 * m_explanationLabel->fontMetrics().lineSpacing());
    m_plotFilesHelpButton = makeDialogButton(this, "cmdWhere", QStringLiteral("Where are my current files located"));
    m_nextButton = makeDialogButton(this, "cmdSetupExit", QStringLiteral("Next"));
    m_nextButton->setDefault(true);
    m_cancelButton = makeDialogButton(this, "cmdCancel", QStringLiteral("Cancel"));

    layOutWizardStep(this, checklist, m_explanationLabel, m_plotFilesHelpButton, {m_nextButton, m_cancelButton});

    connect(m_nextButton, &QPushButton::clicked, this, &PlotFilesSetupDialog::locatePlotFiles);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_plotFilesHelpButton, &QPushButton::clicked, this, [] { showPlotLocationsHelp(userDialogs()); });
}

void PlotFilesSetupDialog::locatePlotFiles()
{
    const StoredSetup stored = readStoredSetup(programState().settings);
    {
        LocateFileDialog plotters(LocateMode::PC3, QString(), m_plotterFolderCheck, m_plotterFolderLabel, this);
        plotters.startFrom(toQString(stored.plotterConfigFolder));
        plotters.exec();
    }
    {
        LocateFileDialog styles(LocateMode::CTB, QString(), m_plotStyleFolderCheck, m_plotStyleFolderLabel, this);
        styles.startFrom(toQString(stored.plotStyleFolder));
        styles.exec();
    }
    accept();
}

} // namespace qv
