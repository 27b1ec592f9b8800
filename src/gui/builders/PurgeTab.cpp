#include "PurgeTab.h"

#include "app/Program.h"
#include "config/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

PurgeTab::PurgeTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PurgeTab"));
    auto* layout = new QVBoxLayout(this);

    frmPurge = new QGroupBox(QStringLiteral("Purge"), this);
    frmPurge->setObjectName(QStringLiteral("frmPurge"));
    auto* grid = new QGridLayout(frmPurge);
    chkPurge = new QButtonGroup(this);
    chkPurge->setObjectName(QStringLiteral("chkPurge"));
    chkPurge->setExclusive(false);
    const auto& items = PurgeItems();
    constexpr int rows = 6;
    for (int i = 0; i < kPurgeItemCount; ++i) {
        auto* box = new QCheckBox(ToQString(items[i].caption), frmPurge);
        box->setObjectName(QStringLiteral("chkPurge_%1").arg(i));
        chkPurge->addButton(box, i);
        grid->addWidget(box, i % rows, i / rows);
        m_items[static_cast<std::size_t>(i)] = box;
    }
    grid->setRowStretch(rows, 1);
    grid->setColumnStretch(kPurgeItemCount / rows + 1, 1);
    layout->addWidget(frmPurge, 1);

    auto* controls = new QHBoxLayout();
    cmdPurgeAll = new QPushButton(QStringLiteral("Select All"), this);
    cmdPurgeAll->setObjectName(QStringLiteral("cmdPurgeAll"));
    cmdPurgeAll->setToolTip(QStringLiteral("Select/Clear quick selection"));
    lblPasses = new QLabel(QStringLiteral("Purge Times"), this);
    lblPasses->setObjectName(QStringLiteral("lblPasses"));
    cmbNoPasses = new QComboBox(this);
    cmbNoPasses->setObjectName(QStringLiteral("cmbNoPasses"));
    cmbNoPasses->setToolTip(QStringLiteral("Select the number of copies"));
    cmbNoPasses->setEditable(false);
    lblPasses->setBuddy(cmbNoPasses);
    cmdPurgeSave = new QPushButton(QStringLiteral("Save Routine"), this);
    cmdPurgeSave->setObjectName(QStringLiteral("cmdPurgeSave"));
    cmdPurgeSave->setToolTip(QStringLiteral("Save Routine to Database"));
    cmdpurgeBack = new QPushButton(QStringLiteral("<< Back to Main"), this);
    cmdpurgeBack->setObjectName(QStringLiteral("cmdpurgeBack"));
    cmdpurgeBack->setToolTip(QStringLiteral("Back to Main Menu"));
    controls->addWidget(cmdPurgeAll);
    controls->addSpacing(16);
    controls->addWidget(lblPasses);
    controls->addWidget(cmbNoPasses);
    controls->addStretch();
    controls->addWidget(cmdPurgeSave);
    controls->addWidget(cmdpurgeBack);
    layout->addLayout(controls);

    connect(chkPurge, &QButtonGroup::idClicked, this, [this](int) { lblpurgeall = QStringLiteral("No"); });
    connect(cmdPurgeAll, &QPushButton::clicked, this, &PurgeTab::pressPurgeAll);
    connect(cmdPurgeSave, &QPushButton::clicked, this, &PurgeTab::BuildPurgeRoutine);
    connect(cmdpurgeBack, &QPushButton::clicked, this, &PurgeTab::backRequested);
}

void PurgeTab::SetupPurgeTab()
{
    cmbNoPasses->clear();
    for (int i = 1; i <= kMaxPurgePasses; ++i)
        cmbNoPasses->addItem(QString::number(i));
    cmbNoPasses->setCurrentText(QStringLiteral("3"));

    m_product = GetAcadVer(Program().ini);
    m_setup = PurgeSetupFor(m_product);
    const PurgeChoices defaults = DefaultPurgeChoices(m_setup);
    showTicks(defaults);
    for (int i = 0; i < kPurgeItemCount; ++i)
        m_items[static_cast<std::size_t>(i)]->setVisible(m_setup.IsOffered(i));
    frmPurge->setTitle(ToQString(m_setup.frameCaption));
    lblpurgeall = defaults.allFlag ? QStringLiteral("Yes") : QStringLiteral("No");
    cmdPurgeAll->setText(QStringLiteral("Clear All"));

    // Without purge items (release 13) nothing can be built.
    const bool usable = m_setup.usable;
    for (QWidget* control : std::initializer_list<QWidget*>{cmbNoPasses, cmdPurgeAll, cmdPurgeSave, lblPasses})
        control->setEnabled(usable);
    for (QCheckBox* box : m_items)
        box->setEnabled(usable);
    lblPurge = QStringLiteral("yes");
}

PurgeChoices PurgeTab::readChoices() const
{
    PurgeChoices choices;
    for (int i = 0; i < kPurgeItemCount; ++i)
        choices.ticked[static_cast<std::size_t>(i)] = m_items[static_cast<std::size_t>(i)]->isChecked();
    choices.passesText = cmbNoPasses->currentText().toStdString();
    choices.allFlag = lblpurgeall == QLatin1String("Yes");
    return choices;
}

void PurgeTab::showTicks(const PurgeChoices& choices)
{
    for (int i = 0; i < kPurgeItemCount; ++i)
        m_items[static_cast<std::size_t>(i)]->setChecked(choices.ticked[static_cast<std::size_t>(i)]);
}

void PurgeTab::pressPurgeAll()
{
    PurgeChoices choices = readChoices();
    const std::string caption = cmdPurgeAll->text().toStdString();
    const std::string_view next = PressPurgeAll(choices, m_setup, caption);
    showTicks(choices);
    cmdPurgeAll->setText(ToQString(next));
    lblpurgeall = choices.allFlag ? QStringLiteral("Yes") : QStringLiteral("No");
}

void PurgeTab::BuildPurgeRoutine()
{
    const PurgeChoices choices = readChoices();
    int ticked = 0;
    for (int i = 0; i < m_setup.offeredCount; ++i)
        ticked += choices.ticked[static_cast<std::size_t>(i)] ? 1 : 0;
    if (m_setup.offeredCount > 0 && ticked == m_setup.offeredCount)
        lblpurgeall = QStringLiteral("Yes");

    const PurgeRoutineResult result = qv::BuildPurgeRoutine(choices, m_product);
    if (!result.ok()) {
        Dialogs().message(*result.message);
        if (result.focus == PurgeField::Passes)
            cmbNoPasses->setFocus();
        return;
    }
    emit routineBuilt(QString::fromStdString(result.text));
}

} // namespace qv
