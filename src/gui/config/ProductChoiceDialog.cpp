#include "ProductChoiceDialog.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "config/CadProducts.h"
#include "config/ConfigControls.h"
#include "config/SetupWizard.h"
#include "config/SetupWizardDialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

ProductChoiceDialog::ProductChoiceDialog(SetupWizardDialog* setup, QWidget* parent) : QDialog(parent), m_wizard(setup)
{
    setObjectName(QStringLiteral("FrmAcadVer"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);

    m_headingLabel = makeLabel(this, "lblHeading", QStringLiteral("Please select your current version of AutoCAD"));
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraCadVer"));
    auto* grid = new QGridLayout(frame);
    m_productButtons = new QButtonGroup(this);
    m_productButtons->setObjectName(QStringLiteral("optCadVer"));
    int shown = 0;
    for (const CadProduct& product : cadProducts()) {
        QRadioButton* option = makeOption(frame, m_productButtons, "optCadVer", product.optionIndex,
                                          QString::fromUtf8(product.caption.data(), qsizetype(product.caption.size())));
        // The placeholder stands in the array but offers nobody a product.
        if (product.family == ProductFamily::Placeholder) {
            option->setVisible(false);
            continue;
        }
        grid->addWidget(option, shown % 10, shown / 10);
        ++shown;
    }
    m_nextButton = makeDialogButton(this, "cmdOKAcadver", QStringLiteral("Next"));
    m_nextButton->setDefault(true);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(m_nextButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_headingLabel);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    m_nextButton->setEnabled(false);
    connect(m_productButtons, &QButtonGroup::idClicked, this, &ProductChoiceDialog::chooseProduct);
    connect(m_nextButton, &QPushButton::clicked, this, &QDialog::accept);
}

void ProductChoiceDialog::chooseProduct(int index)
{
    const auto products = cadProducts();
    if (index < 0 || std::size_t(index) >= products.size())
        return;
    const CadProduct& product = products[std::size_t(index)];
    if (product.family == ProductFamily::Placeholder)
        return;
    // BricsCAD has no executable name of its own: the one known before stays.
    if (m_wizard && !product.defaultExecutable.empty())
        m_wizard->m_executableName =
            QString::fromUtf8(product.defaultExecutable.data(), qsizetype(product.defaultExecutable.size()));
    m_nextButton->setEnabled(true);
    if (const Status written = recordProductChoice(programState().settings, product); !written) {
        showError(written.error(), "optCadVer_Click");
        return;
    }
    showChoice(product);
}

void ProductChoiceDialog::startFrom(const CadProduct& product)
{
    if (QAbstractButton* option = m_productButtons->button(product.optionIndex))
        option->setChecked(true);
    if (m_wizard && !product.defaultExecutable.empty())
        m_wizard->m_executableName =
            QString::fromUtf8(product.defaultExecutable.data(), qsizetype(product.defaultExecutable.size()));
    m_nextButton->setEnabled(true);
    showChoice(product);
}

void ProductChoiceDialog::showChoice(const CadProduct& product)
{
    if (!m_wizard)
        return;
    m_wizard->m_productCheck->setChecked(true);
    m_wizard->m_productLabel->setText(labelText(productSelectedText(product)));
}

} // namespace qv
