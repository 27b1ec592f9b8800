#include "FrmAcadVer.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "config/CadProducts.h"
#include "config/ConfigControls.h"
#include "config/SetupWizard.h"
#include "config/frmSetup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

FrmAcadVer::FrmAcadVer(frmSetup* setup, QWidget* parent) : QDialog(parent), m_setup(setup)
{
    setObjectName(QStringLiteral("FrmAcadVer"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);

    lblHeading = MakeLabel(this, "lblHeading", QStringLiteral("Please select your current version of AutoCAD"));
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraCadVer"));
    auto* grid = new QGridLayout(frame);
    optCadVer = new QButtonGroup(this);
    optCadVer->setObjectName(QStringLiteral("optCadVer"));
    int shown = 0;
    for (const CadProduct& product : CadProducts()) {
        QRadioButton* option = MakeOption(frame, optCadVer, "optCadVer", product.optionIndex,
                                          QString::fromUtf8(product.caption.data(), qsizetype(product.caption.size())));
        // The placeholder stands in the array but offers nobody a product.
        if (product.family == ProductFamily::Placeholder) {
            option->setVisible(false);
            continue;
        }
        grid->addWidget(option, shown % 10, shown / 10);
        ++shown;
    }
    cmdOKAcadver = MakeDialogButton(this, "cmdOKAcadver", QStringLiteral("Next"));
    cmdOKAcadver->setDefault(true);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(cmdOKAcadver);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblHeading);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    cmdOKAcadver->setEnabled(false);
    connect(optCadVer, &QButtonGroup::idClicked, this, &FrmAcadVer::optCadVer_Click);
    connect(cmdOKAcadver, &QPushButton::clicked, this, &QDialog::accept);
}

void FrmAcadVer::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

void FrmAcadVer::optCadVer_Click(int index)
{
    const auto products = CadProducts();
    if (index < 0 || std::size_t(index) >= products.size())
        return;
    const CadProduct& product = products[std::size_t(index)];
    if (product.family == ProductFamily::Placeholder)
        return;
    // BricsCAD has no executable name of its own: the one known before stays.
    if (m_setup && !product.defaultExecutable.empty())
        m_setup->ExecutableName = QString::fromUtf8(product.defaultExecutable.data(),
                                                    qsizetype(product.defaultExecutable.size()));
    cmdOKAcadver->setEnabled(true);
    if (const Status written = RecordProductChoice(Program().ini, product); !written) {
        ShowError(written.error(), "optCadVer_Click");
        return;
    }
    if (m_setup) {
        m_setup->Chk_AcadVer->setChecked(true);
        m_setup->lbl_AcadVer->setText(LabelText(ProductSelectedText(product)));
    }
}

} // namespace qv
