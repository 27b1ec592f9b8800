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

    m_purgeGroup = new QGroupBox(QStringLiteral("Purge"), this);
    m_purgeGroup->setObjectName(QStringLiteral("frmPurge"));
    auto* grid = new QGridLayout(m_purgeGroup);
    m_itemButtons = new QButtonGroup(this);
    m_itemButtons->setObjectName(QStringLiteral("chkPurge"));
    m_itemButtons->setExclusive(false);
    const auto& items = purgeItems();
    constexpr int rows = 6;
    for (int i = 0; i < kPurgeItemCount; ++i) {
        auto* box = new QCheckBox(toQString(items[i].caption), m_purgeGroup);
        box->setObjectName(QStringLiteral("chkPurge_%1").arg(i));
        m_itemButtons->addButton(box, i);
        grid->addWidget(box, i % rows, i / rows);
        m_itemChecks[static_cast<std::size_t>(i)] = box;
    }
    grid->setRowStretch(rows, 1);
    grid->setColumnStretch(kPurgeItemCount / rows + 1, 1);
    layout->addWidget(m_purgeGroup, 1);

    auto* controls = new QHBoxLayout();
    m_toggleAllButton = new QPushButton(QStringLiteral("Select All"), this);
    m_toggleAllButton->setObjectName(QStringLiteral("cmdPurgeAll"));
    m_toggleAllButton->setToolTip(QStringLiteral("Select/Clear quick selection"));
    m_passesLabel = new QLabel(QStringLiteral("Purge Times"), this);
    m_passesLabel->setObjectName(QStringLiteral("lblPasses"));
    m_passesCombo = new QComboBox(this);
    m_passesCombo->setObjectName(QStringLiteral("cmbNoPasses"));
    m_passesCombo->setToolTip(QStringLiteral("Select the number of copies"));
    m_passesCombo->setEditable(false);
    m_passesLabel->setBuddy(m_passesCombo);
    m_saveRoutineButton = new QPushButton(QStringLiteral("Save Routine"), this);
    m_saveRoutineButton->setObjectName(QStringLiteral("cmdPurgeSave"));
    m_saveRoutineButton->setToolTip(QStringLiteral("Save Routine to Database"));
    m_backButton = new QPushButton(QStringLiteral("<< Back to Main"), this);
    m_backButton->setObjectName(QStringLiteral("cmdpurgeBack"));
    m_backButton->setToolTip(QStringLiteral("Back to Main Menu"));
    controls->addWidget(m_toggleAllButton);
    controls->addSpacing(16);
    controls->addWidget(m_passesLabel);
    controls->addWidget(m_passesCombo);
    controls->addStretch();
    controls->addWidget(m_saveRoutineButton);
    controls->addWidget(m_backButton);
    layout->addLayout(controls);

    connect(m_itemButtons, &QButtonGroup::idClicked, this, [this](int) { m_allTickedFlag = QStringLiteral("No"); });
    connect(m_toggleAllButton, &QPushButton::clicked, this, &PurgeTab::toggleAllItems);
    connect(m_saveRoutineButton, &QPushButton::clicked, this, &PurgeTab::buildRoutine);
    connect(m_backButton, &QPushButton::clicked, this, &PurgeTab::backRequested);
}

void PurgeTab::setUp()
{
    m_passesCombo->clear();
    for (int i = 1; i <= kMaxPurgePasses; ++i)
        m_passesCombo->addItem(QString::number(i));
    m_passesCombo->setCurrentText(QStringLiteral("3"));

    m_product = readProductCode(programState().settings);
    m_setup = purgeSetupFor(m_product);
    const PurgeChoices defaults = defaultPurgeChoices(m_setup);
    showTicks(defaults);
    for (int i = 0; i < kPurgeItemCount; ++i)
        m_itemChecks[static_cast<std::size_t>(i)]->setVisible(m_setup.isOffered(i));
    m_purgeGroup->setTitle(toQString(m_setup.frameCaption));
    m_allTickedFlag = defaults.allFlag ? QStringLiteral("Yes") : QStringLiteral("No");
    m_toggleAllButton->setText(QStringLiteral("Clear All"));

    // Without purge items (release 13) nothing can be built.
    const bool usable = m_setup.usable;
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_passesCombo, m_toggleAllButton, m_saveRoutineButton, m_passesLabel})
        control->setEnabled(usable);
    for (QCheckBox* box : m_itemChecks)
        box->setEnabled(usable);
    m_setUpFlag = QStringLiteral("yes");
}

PurgeChoices PurgeTab::readChoices() const
{
    PurgeChoices choices;
    for (int i = 0; i < kPurgeItemCount; ++i)
        choices.ticked[static_cast<std::size_t>(i)] = m_itemChecks[static_cast<std::size_t>(i)]->isChecked();
    choices.passesText = m_passesCombo->currentText().toStdString();
    choices.allFlag = m_allTickedFlag == QLatin1String("Yes");
    return choices;
}

void PurgeTab::showTicks(const PurgeChoices& choices)
{
    for (int i = 0; i < kPurgeItemCount; ++i)
        m_itemChecks[static_cast<std::size_t>(i)]->setChecked(choices.ticked[static_cast<std::size_t>(i)]);
}

void PurgeTab::toggleAllItems()
{
    PurgeChoices choices = readChoices();
    const std::string caption = m_toggleAllButton->text().toStdString();
    const std::string_view next = togglePurgeAll(choices, m_setup, caption);
    showTicks(choices);
    m_toggleAllButton->setText(toQString(next));
    m_allTickedFlag = choices.allFlag ? QStringLiteral("Yes") : QStringLiteral("No");
}

void PurgeTab::buildRoutine()
{
    const PurgeChoices choices = readChoices();
    int ticked = 0;
    for (int i = 0; i < m_setup.offeredCount; ++i)
        ticked += choices.ticked[static_cast<std::size_t>(i)] ? 1 : 0;
    if (m_setup.offeredCount > 0 && ticked == m_setup.offeredCount)
        m_allTickedFlag = QStringLiteral("Yes");

    const PurgeRoutineResult result = qv::buildPurgeRoutine(choices, m_product);
    if (!result.ok()) {
        userDialogs().message(*result.message);
        if (result.focus == PurgeField::Passes)
            m_passesCombo->setFocus();
        return;
    }
    emit routineBuilt(QString::fromStdString(result.text));
}

} // namespace qv
