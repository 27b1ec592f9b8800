#include "PageSetupPlotTab.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "builders/DetailedPlot.h"
#include "builders/PlotDeviceList.h"
#include "builders/SelectDrawingFile.h"
#include "config/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

PageSetupPlotTab::PageSetupPlotTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PageSetupPlotTab"));
    auto* layout = new QVBoxLayout(this);
    m_pageSetupPlotGroup = new QGroupBox(QStringLiteral("Plot Using Page Setup in Rel 2000 - 2002"), this);
    m_pageSetupPlotGroup->setObjectName(QStringLiteral("FraPlotPageSetup"));
    auto* frame = new QVBoxLayout(m_pageSetupPlotGroup);

    // 1. Where the page setup comes from.
    auto* location = new QGroupBox(QStringLiteral("1. Page setup location"), m_pageSetupPlotGroup);
    auto* locationGrid = new QGridLayout(location);
    m_pageSetupSourceButtons = new QButtonGroup(this);
    m_pageSetupSourceButtons->setObjectName(QStringLiteral("optPageSetupLoc"));
    const QString captions[2] = {QStringLiteral("Use page setup already in drawing been plotted"),
                                 QStringLiteral("Load page setup from a different drawing")};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], location);
        option->setObjectName(QStringLiteral("optPageSetupLoc_%1").arg(i));
        m_pageSetupSourceButtons->addButton(option, i);
        locationGrid->addWidget(option, i, 0, 1, 3);
    }
    m_sourceDrawingLabel =
        makeLabel(location, "lblDrawingAddress1", QStringLiteral("Select Drawing to load page setup from"));
    m_sourceDrawingEdit = new QLineEdit(location);
    m_sourceDrawingEdit->setObjectName(QStringLiteral("txtDrawingAddress1"));
    m_sourceDrawingLabel->setBuddy(m_sourceDrawingEdit);
    m_browseDrawingButton = makeDialogButton(location, "cmdDrawingBrowse1", QStringLiteral("Browse"),
                                             QStringLiteral("Locate drawing to import from"));
    m_redefineNoteLabel =
        makeLabel(location, "lblRedefine",
                  QStringLiteral("If this page setup exists in the host drawing, it will be redefined by this one."));
    locationGrid->addWidget(m_sourceDrawingLabel, 2, 0, 1, 3);
    locationGrid->addWidget(m_sourceDrawingEdit, 3, 0, 1, 2);
    locationGrid->addWidget(m_browseDrawingButton, 3, 2);
    locationGrid->addWidget(m_redefineNoteLabel, 4, 0, 1, 3);
    locationGrid->setColumnStretch(0, 1);
    frame->addWidget(location);

    // 2. The page setup's name.
    auto* name = new QGroupBox(QStringLiteral("2. Page Setup Name"), m_pageSetupPlotGroup);
    auto* nameLayout = new QVBoxLayout(name);
    auto* nameLabel = makeLabel(name, "lblPageSetupName", QStringLiteral("Enter Page Setup Name"));
    m_pageSetupNameEdit = new QLineEdit(name);
    m_pageSetupNameEdit->setObjectName(QStringLiteral("txtPageSetupName"));
    nameLabel->setBuddy(m_pageSetupNameEdit);
    nameLayout->addWidget(nameLabel);
    nameLayout->addWidget(m_pageSetupNameEdit);
    nameLayout->addWidget(
        makeLabel(name, "lblPageSetupNote",
                  QStringLiteral("Please confirm that the selected drawings actually contain this page setup.")));
    frame->addWidget(name);

    // 3. The device: the page setup's own unless one is chosen here.
    auto* device = new QGroupBox(QStringLiteral("3. Plot Device"), m_pageSetupPlotGroup);
    auto* deviceLayout = new QHBoxLayout(device);
    m_deviceCombo = new QComboBox(device);
    m_deviceCombo->setObjectName(QStringLiteral("cboPagesetupPlotter"));
    m_deviceCombo->setEditable(true);
    m_deviceCombo->setInsertPolicy(QComboBox::NoInsert);
    m_deviceCombo->setEditText(toQString(kSelectPlotter));
    m_browsePlotterButton = makeDialogButton(device, "cmdSelectPc3", QStringLiteral("Browse"));
    deviceLayout->addWidget(m_deviceCombo, 1);
    deviceLayout->addWidget(m_browsePlotterButton);
    frame->addWidget(device);

    auto* options = new QGridLayout();
    m_allTabsCheck = new QCheckBox(QStringLiteral("Plot all tabs"), m_pageSetupPlotGroup);
    m_allTabsCheck->setObjectName(QStringLiteral("chkPlotalltabsPage"));
    m_lispNoteLabel =
        makeLabel(m_pageSetupPlotGroup, "Label20",
                  QStringLiteral("Plot all tabs requires Lisp and is only available using AutoCAD full version."));
    auto* copiesLabel = makeLabel(m_pageSetupPlotGroup, "lblNumberofCopies", QStringLiteral("Number of Copies"));
    m_copiesCombo = new QComboBox(m_pageSetupPlotGroup);
    m_copiesCombo->setObjectName(QStringLiteral("cboNumberofCopies"));
    m_copiesCombo->setEditable(false);
    copiesLabel->setBuddy(m_copiesCombo);
    m_plotToFileCheck = new QCheckBox(QStringLiteral("Plot to file"), m_pageSetupPlotGroup);
    m_plotToFileCheck->setObjectName(QStringLiteral("chkPlotToFile"));
    options->addWidget(m_allTabsCheck, 0, 0);
    options->addWidget(m_lispNoteLabel, 0, 1, 1, 3);
    options->addWidget(copiesLabel, 1, 0);
    options->addWidget(m_copiesCombo, 1, 1);
    options->addWidget(m_plotToFileCheck, 1, 2);
    options->setColumnStretch(3, 1);
    frame->addLayout(options);
    layout->addWidget(m_pageSetupPlotGroup, 1);

    auto* buttons = new QHBoxLayout();
    m_saveRoutineButton = makeDialogButton(this, "cmdPlotPageSave", QStringLiteral("Save Routine"),
                                           QStringLiteral("Save Routine to Database"));
    m_backButton = makeDialogButton(this, "cmdPlotPagesetuBack", QStringLiteral("<< Back to Main"),
                                    QStringLiteral("Back to Main Menu"));
    buttons->addStretch();
    buttons->addWidget(m_saveRoutineButton);
    buttons->addWidget(m_backButton);
    layout->addLayout(buttons);

    connect(m_pageSetupSourceButtons, &QButtonGroup::idClicked, this, &PageSetupPlotTab::choosePageSetupSource);
    connect(m_browseDrawingButton, &QPushButton::clicked, this, &PageSetupPlotTab::browseForDrawing);
    connect(m_browsePlotterButton, &QPushButton::clicked, this, &PageSetupPlotTab::browsePlotter);
    connect(m_saveRoutineButton, &QPushButton::clicked, this, &PageSetupPlotTab::buildRoutine);
    connect(m_backButton, &QPushButton::clicked, this, &PageSetupPlotTab::backRequested);
    // The printers arrive after the editor has opened: the list refills, keeping what the user chose.
    connect(&PlotDeviceList::instance(), &PlotDeviceList::changed, this, [this] {
        if (isSetUp())
            refillDevices();
    });
    choosePageSetupSource(0);
}

void PageSetupPlotTab::setUp()
{
    m_product = readProductCode(programState().settings);
    const PageSetupPlotSetup setup = pageSetupPlotSetupFor(m_product);
    m_pageSetupPlotGroup->setTitle(toQString(setup.frameCaption));
    m_allTabsCheck->setEnabled(setup.allTabsOffered);
    if (!setup.allTabsOffered)
        m_allTabsCheck->setChecked(false);
    m_lispNoteLabel->setVisible(!setup.allTabsOffered);

    m_pageSetupSourceButtons->button(0)->setChecked(true);
    choosePageSetupSource(0);

    m_copiesCombo->clear();
    for (int i = 1; i <= kMaxPageSetupCopies; ++i)
        m_copiesCombo->addItem(QString::number(i));
    m_copiesCombo->setCurrentIndex(0);

    m_setUpFlag = QStringLiteral("yes");
    fillDeviceCombo(m_deviceCombo, PlotDeviceList::instance().devices());
}

void PageSetupPlotTab::refillDevices()
{
    fillDeviceCombo(m_deviceCombo, PlotDeviceList::instance().devices(), true);
}

void PageSetupPlotTab::choosePageSetupSource(int index)
{
    const bool other = index == 1;
    for (QWidget* control : std::initializer_list<QWidget*>{m_sourceDrawingEdit, m_browseDrawingButton,
                                                            m_sourceDrawingLabel, m_redefineNoteLabel})
        control->setEnabled(other);
}

void PageSetupPlotTab::browseForDrawing()
{
    m_sourceDrawingEdit->setText(pickDrawingFile(userDialogs()));
}

void PageSetupPlotTab::browsePlotter()
{
    const QString file = pickPlotterFile(userDialogs(), programState().settings);
    if (!file.trimmed().isEmpty())
        m_deviceCombo->setEditText(file);
    if (m_deviceCombo->currentText().trimmed().isEmpty())
        m_deviceCombo->setEditText(toQString(kSelectPlotter));
}

PageSetupPlotChoices PageSetupPlotTab::readChoices() const
{
    PageSetupPlotChoices choices;
    choices.fromOtherDrawing = m_pageSetupSourceButtons->checkedId() == 1;
    choices.drawing = toStd(m_sourceDrawingEdit->text());
    choices.pageSetupName = toStd(m_pageSetupNameEdit->text());
    choices.device = toStd(m_deviceCombo->currentText());
    choices.allTabs = m_allTabsCheck->isEnabled() && m_allTabsCheck->isChecked();
    choices.copies = toStd(m_copiesCombo->currentText());
    choices.plotToFile = m_plotToFileCheck->isChecked();
    return choices;
}

void PageSetupPlotTab::buildRoutine()
{
    userDialogs().message(plottingInformationMessage());
    const PageSetupRoutineResult result = qv::buildPageSetupPlotRoutine(readChoices(), m_product);
    if (!result.ok()) {
        userDialogs().message(result.refusal->message);
        if (result.refusal->focus == PageSetupField::Device) {
            m_deviceCombo->setFocus();
            return;
        }
        QLineEdit* box =
            result.refusal->focus == PageSetupField::PlotDrawing ? m_sourceDrawingEdit : m_pageSetupNameEdit;
        box->setFocus();
        box->selectAll();
        return;
    }
    emit routineBuilt(toQString(result.text));
}

} // namespace qv
