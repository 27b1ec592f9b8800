#include "DetailedPlotDevicePage.h"

#include "DetailedPlotControls.h"
#include "OrientationPicture.h"
#include "PlotDeviceList.h"
#include "app/Program.h"
#include "builders/PaperSizes.h"
#include "builders/PlotTabRules.h"
#include "text/TextUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

QWidget* DetailedPlotDevicePage::buildDevicePage(QWidget* owner)
{
    auto* page = new QWidget(owner);
    page->setObjectName(QStringLiteral("picDetailedPlot_0"));
    auto* grid = new QGridLayout(page);

    // Which tab of the drawing is plotted.
    auto* tabs = new QGroupBox(QStringLiteral("Model or Layout"), page);
    tabs->setObjectName(QStringLiteral("fraTilemode"));
    auto* tabsLayout = new QGridLayout(tabs);
    m_tilemodeButtons =
        makeRadioGroup<3>(tabs, "optTilemode", m_tilemodeRadios,
                          {"Layout Tab (Paperspace)", "Model Tab (Modelspace)", "Model/Layout Automatic"});
    m_modelPaperHintLabel = makeWrappedLabel(tabs, "lblModelPaper");
    m_automaticHintLabel = makeWrappedLabel(tabs, "lblstrModel_Layout");
    m_layoutNameEdit = makeEdit(tabs, QStringLiteral("txtLayoutName"), QStringLiteral("<Default>"));
    QLabel* layoutLabel = makeLabel(tabs, "lblLayoutName", QStringLiteral("Layout Name"));
    layoutLabel->setBuddy(m_layoutNameEdit);
    m_allLayoutsCheck = makeCheck(tabs, "chkAllLayouts", QStringLiteral("Plot all tabs"));
    m_lispNoteLabel = makeWrappedLabel(tabs, "LblLispExplain",
                                       QStringLiteral("Plot all tabs requires Lisp. Only available in AutoCAD full."));
    m_copiesCombo = makeCombo(tabs, "cmbNoCopies", true);
    m_copiesCombo->setMinimumContentsLength(4);
    QLabel* copiesLabel = makeLabel(tabs, "lblNoCopies", QStringLiteral("Number of Copies"));
    copiesLabel->setBuddy(m_copiesCombo);
    tabsLayout->addWidget(m_tilemodeRadios[0], 0, 0);
    tabsLayout->addWidget(m_tilemodeRadios[1], 1, 0);
    tabsLayout->addWidget(m_modelPaperHintLabel, 0, 1, 2, 1);
    tabsLayout->addWidget(layoutLabel, 2, 0);
    tabsLayout->addWidget(m_layoutNameEdit, 2, 1);
    tabsLayout->addWidget(m_tilemodeRadios[2], 3, 0);
    tabsLayout->addWidget(m_automaticHintLabel, 3, 1);
    tabsLayout->addWidget(m_allLayoutsCheck, 4, 0);
    tabsLayout->addWidget(m_lispNoteLabel, 4, 1);
    tabsLayout->addWidget(copiesLabel, 5, 0);
    tabsLayout->addWidget(m_copiesCombo, 5, 1, Qt::AlignLeft);
    tabsLayout->setColumnStretch(1, 1);

    // The device and its paper.
    auto* device = new QGroupBox(QStringLiteral("Plot Device and Paper"), page);
    device->setObjectName(QStringLiteral("fraPlotDevice"));
    auto* deviceLayout = new QGridLayout(device);
    m_deviceCombo = makeCombo(device, "CboPrinter", true);
    m_deviceCombo->setMinimumContentsLength(28);
    QLabel* printerLabel = makeLabel(device, "lblPrinter", QStringLiteral("Plot Device"));
    printerLabel->setBuddy(m_deviceCombo);
    m_browsePlotterButton = makeButton(device, "cmdPlotterBrowse", QStringLiteral("Browse"),
                                       QStringLiteral("Locate a plotter configuration file"));
    m_tipButton = makeButton(device, "cmdTip1", QStringLiteral("Tip"), QStringLiteral("Plotting Tip"));
    m_deviceHintLabel = makeWrappedLabel(device, "lblselectPlotter");
    m_paperStandardLabel = makeLabel(device, "lblStandards", QStringLiteral("Paper Standard"));
    m_paperStandardCombo = makeCombo(device, "cboStandards", false);
    m_paperStandardLabel->setBuddy(m_paperStandardCombo);
    m_paperLabel = makeLabel(device, "Label8", toQString(kEnterPaperSize));
    m_paperCombo = makeCombo(device, "cboPaperSize", true);
    m_paperCombo->setMinimumContentsLength(28);
    m_paperEdit = makeEdit(device, QStringLiteral("txtPaperSize"), toQString(kDefaultPaper));
    m_paperLabel->setBuddy(m_paperEdit);
    m_addCustomPaperButton = makeButton(device, "cmdAddPaperSize", QStringLiteral("Add Custom Size"));
    m_paperHintLabel = makeWrappedLabel(device, "lblPaperSize");
    deviceLayout->addWidget(printerLabel, 0, 0);
    deviceLayout->addWidget(m_deviceCombo, 0, 1);
    deviceLayout->addWidget(m_browsePlotterButton, 0, 2);
    deviceLayout->addWidget(m_tipButton, 0, 3);
    deviceLayout->addWidget(m_deviceHintLabel, 1, 1, 1, 3);
    deviceLayout->addWidget(m_paperStandardLabel, 2, 0);
    deviceLayout->addWidget(m_paperStandardCombo, 2, 1);
    deviceLayout->addWidget(m_addCustomPaperButton, 2, 2, 1, 2);
    deviceLayout->addWidget(m_paperLabel, 3, 0);
    deviceLayout->addWidget(m_paperCombo, 3, 1);
    deviceLayout->addWidget(m_paperEdit, 3, 1);
    deviceLayout->addWidget(m_paperHintLabel, 4, 1, 1, 3);
    deviceLayout->setColumnStretch(1, 1);

    auto* units = new QGroupBox(QStringLiteral("Paper Units"), page);
    units->setObjectName(QStringLiteral("fraUnits"));
    auto* unitsLayout = new QVBoxLayout(units);
    m_unitButtons = makeRadioGroup<3>(units, "optUnit", m_unitRadios, {"Inches", "Millimeters", "Pixels"});
    for (QRadioButton* button : m_unitRadios)
        unitsLayout->addWidget(button);
    unitsLayout->addStretch();

    auto* orientation = new QGroupBox(QStringLiteral("Drawing Orientation"), page);
    orientation->setObjectName(QStringLiteral("fraOrientation"));
    auto* orientLayout = new QGridLayout(orientation);
    m_orientationButtons =
        makeRadioGroup<2>(orientation, "OptDwgOrient", m_orientationRadios, {"Portrait", "Landscape"});
    m_upsideDownCheck = makeCheck(orientation, "chkUpside", QStringLiteral("Plot upside-down"));
    m_orientationPicture = new OrientationPicture(orientation);
    orientLayout->addWidget(m_orientationRadios[0], 0, 0);
    orientLayout->addWidget(m_orientationRadios[1], 1, 0);
    orientLayout->addWidget(m_upsideDownCheck, 2, 0);
    orientLayout->addWidget(m_orientationPicture, 0, 1, 3, 1);

    grid->addWidget(tabs, 0, 0, 1, 2);
    grid->addWidget(device, 1, 0, 1, 2);
    grid->addWidget(units, 2, 0);
    grid->addWidget(orientation, 2, 1);
    grid->setRowStretch(3, 1);
    return page;
}

void DetailedPlotDevicePage::chooseOrientation(int index)
{
    const OrientationFields fields = orientationFieldsFor(index == 0, m_upsideDownCheck->isChecked());
    m_orientationToken = toQString(fields.token);
    m_orientationCode = fields.pictureCode;
    m_orientationPicture->setPicture(m_orientationCode);
}

void DetailedPlotDevicePage::showTypedPaper()
{
    m_paperCombo->clear();
    m_paperCombo->setEditText(toQString(kDefaultPaper));
    m_paperCombo->hide();
    m_paperEdit->setText(toQString(kDefaultPaper));
    m_paperEdit->show();
    m_paperLabel->setBuddy(m_paperEdit);
    m_paperLabel->setText(toQString(kEnterPaperSize));
}

void DetailedPlotDevicePage::refreshPaperForDevice()
{
    const DevicePapers papers =
        papersForDevice(PlotDeviceList::instance().devices(), toStd(m_deviceCombo->currentText()));
    if (papers.isPc3) {
        showTypedPaper();
        enablePaperStandards();
        return;
    }
    if (!papers.printerFound)
        return; // not in the list, or a printer reporting no papers: the typed box stays in use
    disablePaperStandards();
    m_paperEdit->hide();
    m_paperCombo->show();
    m_paperLabel->setBuddy(m_paperCombo);
    m_paperLabel->setText(toQString(kSelectPaperSize));
    m_paperCombo->clear();
    for (const std::string& paper : papers.names)
        m_paperCombo->addItem(toQString(paper));
    m_paperCombo->setCurrentIndex(-1);
    m_paperCombo->setEditText(toQString(kDefaultPaper));
    if (m_paperCombo->count() == 0) {
        m_paperCombo->hide();
        m_paperEdit->setText(toQString(kDefaultPaper));
        m_paperEdit->show();
    }
}

void DetailedPlotDevicePage::enablePaperStandards()
{
    m_paperStandardCombo->setEnabled(true);
    m_paperStandardLabel->setEnabled(true);
    m_paperHintLabel->setEnabled(true);
    m_paperStandardCombo->clear();
    for (const PaperStandard& standard : paperStandards())
        m_paperStandardCombo->addItem(toQString(standard.entry), standard.code);
    m_paperStandardCombo->setCurrentText(toQString(kManualStandard));
}

void DetailedPlotDevicePage::disablePaperStandards()
{
    m_paperStandardCombo->setEnabled(false);
    m_paperStandardCombo->setCurrentIndex(-1);
    m_paperStandardLabel->setEnabled(false);
    m_paperHintLabel->setEnabled(false);
}

void DetailedPlotDevicePage::chooseStandard(int index)
{
    m_paperCombo->show();
    m_paperEdit->hide();
    m_paperLabel->setBuddy(m_paperCombo);
    m_paperLabel->setText(toQString(kSelectPaperSize));
    showPaperStandard(m_paperStandardCombo->itemData(index).toInt());
}

void DetailedPlotDevicePage::showPaperStandard(int code)
{
    const PaperStandardView view = qv::paperStandardView(
        code, code == kCustomPaperCode ? readCustomPaperEntries(programState().settingsFolder) : CustomPaperEntries{});
    m_paperCombo->setVisible(view.showList);
    m_paperEdit->setVisible(!view.showList);
    m_paperLabel->setBuddy(view.showList ? static_cast<QWidget*>(m_paperCombo) : m_paperEdit);
    if (view.paperLabel)
        m_paperLabel->setText(toQString(*view.paperLabel));
    if (!view.showList)
        return;
    m_paperCombo->clear();
    for (const std::string& name : view.names)
        m_paperCombo->addItem(toQString(name));
    m_paperCombo->setCurrentIndex(-1);
    m_paperCombo->setEditText(toQString(view.listText));
}

void DetailedPlotDevicePage::browsePlotter()
{
    const QString chosen = pickPlotterFile(userDialogs(), programState().settings);
    if (trimSpaces(toStd(chosen)).empty())
        return;
    m_deviceCombo->setEditText(chosen);
    showTypedPaper();
    enablePaperStandards();
    if (trimSpaces(toStd(m_deviceCombo->currentText())).empty())
        m_deviceCombo->setEditText(toQString(kSelectPlotter));
}

void DetailedPlotDevicePage::showTip()
{
    userDialogs().show("On some Networks some Network printers are not recognised by AutoCAD,\n"
                       "unless the drawing has been printed to that printer previously.\n"
                       "If this is a problem set up a PC3 file for that printer.\n"
                       "We have found that PC3 files print consistently\n",
                       "Plotting Tip", MessageIcon::Information);
}

} // namespace qv
