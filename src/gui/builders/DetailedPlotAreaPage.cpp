#include "DetailedPlotAreaPage.h"

#include "DetailedPlotControls.h"
#include "PlotDeviceList.h"
#include "app/Program.h"
#include "builders/PaperSizes.h"
#include "builders/PlotTabRules.h"
#include "builders/PlotTabSetup.h"
#include "text/TextUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <initializer_list>
#include <vector>

namespace qv {

QWidget* DetailedPlotAreaPage::buildAreaPage(QWidget* owner)
{
    auto* page = new QWidget(owner);
    page->setObjectName(QStringLiteral("picDetailedPlot_1"));
    auto* grid = new QGridLayout(page);

    auto* area = new QGroupBox(QStringLiteral("Plot Area"), page);
    area->setObjectName(QStringLiteral("fraPlotArea"));
    auto* areaLayout = new QGridLayout(area);
    m_plotAreaButtons =
        makeRadioGroup<4>(area, "OptPlotArea", m_plotAreaRadios, {"Display", "Extents", "Limits", "View"});
    m_viewNameEdit = makeEdit(area, QStringLiteral("txtView"), QString());
    m_viewNameEdit->setPlaceholderText(QStringLiteral("View name"));
    for (int i = 0; i < 4; ++i)
        areaLayout->addWidget(m_plotAreaRadios[static_cast<std::size_t>(i)], i, 0);
    areaLayout->addWidget(m_viewNameEdit, 3, 1);
    areaLayout->setColumnStretch(1, 1);

    auto* scale = new QGroupBox(QStringLiteral("Plot Scale"), page);
    scale->setObjectName(QStringLiteral("fraScale"));
    auto* scaleLayout = new QGridLayout(scale);
    m_scaleCombo = makeCombo(scale, "cmbScale", false);
    m_plottedUnitsEdit = makeEdit(scale, QStringLiteral("txtScale1"), QStringLiteral("1"));
    m_drawingUnitsEdit = makeEdit(scale, QStringLiteral("txtScale2"), QStringLiteral("1"));
    for (std::size_t i = 0; i < m_offsetLabels.size(); ++i)
        m_offsetLabels[i] = makeLabel(page, QStringLiteral("txtOffset_%1").arg(i).toLatin1().constData(),
                                      i < 3 ? QStringLiteral("Inches") : QString());
    m_offsetLabels[3]->setText(QStringLiteral("X:"));
    m_offsetLabels[4]->setText(QStringLiteral("Y:"));
    auto* equals = makeLabel(scale, "lblEquals", QStringLiteral("="));
    auto* unitsWord = makeLabel(scale, "lblDrawingUnits", QStringLiteral("Units"));
    m_scaleLineweightsCheck = makeCheck(scale, "chkScaleLine", QStringLiteral("Scale lineweights"));
    scaleLayout->addWidget(m_scaleCombo, 0, 0, 1, 5);
    scaleLayout->addWidget(m_plottedUnitsEdit, 1, 0);
    scaleLayout->addWidget(m_offsetLabels[0], 1, 1);
    scaleLayout->addWidget(equals, 1, 2);
    scaleLayout->addWidget(m_drawingUnitsEdit, 1, 3);
    scaleLayout->addWidget(unitsWord, 1, 4);
    scaleLayout->addWidget(m_scaleLineweightsCheck, 2, 0, 1, 5);

    auto* offset = new QGroupBox(QStringLiteral("Plot Offset"), page);
    offset->setObjectName(QStringLiteral("fraOffset"));
    auto* offsetLayout = new QGridLayout(offset);
    m_centrePlotCheck = makeCheck(offset, "ChkPlotcenter", QStringLiteral("Center the plot"));
    m_offsetXEdit = makeEdit(offset, QStringLiteral("txtOffset_X"), QStringLiteral("0.00"));
    m_offsetYEdit = makeEdit(offset, QStringLiteral("txtOffset_Y"), QStringLiteral("0.00"));
    m_offsetLabels[3]->setBuddy(m_offsetXEdit);
    m_offsetLabels[4]->setBuddy(m_offsetYEdit);
    offsetLayout->addWidget(m_centrePlotCheck, 0, 0, 1, 3);
    offsetLayout->addWidget(m_offsetLabels[3], 1, 0);
    offsetLayout->addWidget(m_offsetXEdit, 1, 1);
    offsetLayout->addWidget(m_offsetLabels[1], 1, 2);
    offsetLayout->addWidget(m_offsetLabels[4], 2, 0);
    offsetLayout->addWidget(m_offsetYEdit, 2, 1);
    offsetLayout->addWidget(m_offsetLabels[2], 2, 2);

    auto* options = new QGroupBox(QStringLiteral("Plot Options"), page);
    options->setObjectName(QStringLiteral("fraPlotOptions"));
    auto* optionsLayout = new QGridLayout(options);
    m_styleKindButtons =
        makeRadioGroup<2>(options, "optCtb", m_styleKindRadios, {"Color dependent (ctb)", "Named (stb)"});
    m_styleTableCombo = makeCombo(options, "cboPlotStyle", true);
    QLabel* styleLabel = makeLabel(options, "lblPlotStyle", QStringLiteral("Plot Style Table"));
    styleLabel->setBuddy(m_styleTableCombo);
    m_browseStyleTableButton =
        makeButton(options, "cmdStyleTable", QStringLiteral("Browse"), QStringLiteral("Locate a plot style table"));
    m_plotStylesCheck = makeCheck(options, "chkPlotStyle", QStringLiteral("Plot with plot styles"));
    m_lineweightsCheck = makeCheck(options, "ChkPlotObject", QStringLiteral("Plot object lineweights"));
    m_paperspaceLastCheck = makeCheck(options, "chkpaperlast", QStringLiteral("Plot paperspace last test"));
    m_hideObjectsCheck = makeCheck(options, "chkRemovelines", QStringLiteral("Hide objects"));
    m_plotToFileCheck = makeCheck(options, "chkPlotFile", QStringLiteral("Plot to file"));
    m_saveLayoutCheck = makeCheck(options, "chkSaveTab", QStringLiteral("Save changes to layout"));
    QLabel* folderLabel = makeLabel(options, "lblPlotFolder", QStringLiteral("Plot file folder"));
    m_plotFolderEdit = makeEdit(options, QStringLiteral("txtPlotFolder"), QString());
    m_plotFolderEdit->setPlaceholderText(QStringLiteral("Beside each drawing"));
    m_plotFolderEdit->setToolTip(QStringLiteral("Where a plot to a file is written; empty: beside each drawing"));
    folderLabel->setBuddy(m_plotFolderEdit);
    m_browsePlotFolderButton = makeButton(options, "cmdPlotFolder", QStringLiteral("Browse"),
                                          QStringLiteral("Choose the folder for plot files"));
    optionsLayout->addWidget(styleLabel, 0, 0);
    optionsLayout->addWidget(m_styleKindRadios[0], 0, 1);
    optionsLayout->addWidget(m_styleKindRadios[1], 0, 2);
    optionsLayout->addWidget(m_styleTableCombo, 1, 0, 1, 3);
    optionsLayout->addWidget(m_browseStyleTableButton, 1, 3);
    optionsLayout->addWidget(m_plotStylesCheck, 2, 0, 1, 2);
    optionsLayout->addWidget(m_lineweightsCheck, 2, 2, 1, 2);
    optionsLayout->addWidget(m_paperspaceLastCheck, 3, 0, 1, 2);
    optionsLayout->addWidget(m_hideObjectsCheck, 3, 2, 1, 2);
    optionsLayout->addWidget(m_plotToFileCheck, 4, 0, 1, 2);
    optionsLayout->addWidget(m_saveLayoutCheck, 4, 2, 1, 2);
    optionsLayout->addWidget(folderLabel, 5, 0);
    optionsLayout->addWidget(m_plotFolderEdit, 5, 1, 1, 2);
    optionsLayout->addWidget(m_browsePlotFolderButton, 5, 3);
    optionsLayout->setColumnStretch(0, 1);

    m_shadeGroup = new QGroupBox(QStringLiteral("Shaded Viewport Options"), page);
    m_shadeGroup->setObjectName(QStringLiteral("fraShaded"));
    auto* shadeLayout = new QGridLayout(m_shadeGroup);
    m_shadeLabel = makeLabel(m_shadeGroup, "LblShadePlot", QStringLiteral("Shade Plot"));
    m_shadeCombo = makeCombo(m_shadeGroup, "cboShade", false);
    m_shadeLabel->setBuddy(m_shadeCombo);
    m_qualityLabel = makeLabel(m_shadeGroup, "lblQuality", QStringLiteral("Quality"));
    m_qualityCombo = makeCombo(m_shadeGroup, "CboQuality", false);
    m_qualityLabel->setBuddy(m_qualityCombo);
    m_shadeNoteLabel = makeWrappedLabel(
        m_shadeGroup, "lblShadeExplain",
        QStringLiteral("To set Shade Plot in Paperspace, use the properties of the individual viewports."));
    shadeLayout->addWidget(m_shadeLabel, 0, 0);
    shadeLayout->addWidget(m_shadeCombo, 0, 1);
    shadeLayout->addWidget(m_qualityLabel, 1, 0);
    shadeLayout->addWidget(m_qualityCombo, 1, 1);
    shadeLayout->addWidget(m_shadeNoteLabel, 2, 0, 1, 2);

    grid->addWidget(area, 0, 0);
    grid->addWidget(scale, 0, 1);
    grid->addWidget(offset, 1, 0);
    grid->addWidget(m_shadeGroup, 1, 1);
    grid->addWidget(options, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    return page;
}

void DetailedPlotAreaPage::choosePlotArea(int index)
{
    const PlotAreaFields fields = plotAreaFieldsFor(index, toStd(m_plotAreaRadios[2]->text()));
    m_plotAreaToken = toQString(fields.token);
    m_viewNameEdit->setVisible(fields.viewShown);
}

void DetailedPlotAreaPage::chooseScale(int index)
{
    const std::vector<PlotScaleEntry> list = plotScaleList();
    if (index < 0 || index >= static_cast<int>(list.size()))
        return;
    const ScaleBoxes boxes = scaleBoxesFor(list[static_cast<std::size_t>(index)]);
    m_plottedUnitsEdit->setText(toQString(boxes.plotted));
    m_drawingUnitsEdit->setText(toQString(boxes.drawing));
}

void DetailedPlotAreaPage::setOffsetUnitLabels(const QString& word)
{
    for (int i = 0; i < 3; ++i)
        m_offsetLabels[static_cast<std::size_t>(i)]->setText(word);
}

void DetailedPlotAreaPage::centrePlot(bool centred)
{
    for (QWidget* control : std::initializer_list<QWidget*>{m_offsetXEdit, m_offsetYEdit, m_offsetLabels[1],
                                                            m_offsetLabels[2], m_offsetLabels[3], m_offsetLabels[4]})
        control->setEnabled(!centred);
}

void DetailedPlotAreaPage::setShadeOptionsEnabled(bool on)
{
    m_shadeCombo->setCurrentText(QStringLiteral("As Displayed"));
    m_shadeCombo->setEnabled(on);
    m_shadeLabel->setEnabled(on);
    if (!on) {
        m_qualityCombo->setEnabled(false);
        m_qualityLabel->setEnabled(false);
    }
}

void DetailedPlotAreaPage::chooseShade(const QString& shade)
{
    const bool rendered = offersShadeQuality(toStd(shade));
    m_qualityCombo->setEnabled(rendered);
    m_qualityLabel->setEnabled(rendered);
    if (!rendered)
        m_qualityCombo->setCurrentText(QStringLiteral("Normal"));
}

void DetailedPlotAreaPage::chooseStyleKind(int index)
{
    m_styleTableCombo->clear();
    m_styleTableCombo->addItems(
        styleTableNames(programState().settings, index == 0 ? QStringLiteral("ctb") : QStringLiteral("stb")));
    m_styleTableCombo->setCurrentIndex(-1);
    m_styleTableCombo->setEditText(toQString(kDefaultPaper));
}

void DetailedPlotAreaPage::browseStyleTable()
{
    const QString chosen =
        pickStyleTableFile(userDialogs(), programState().settings, m_styleKindButtons->checkedId() == 0);
    if (trimSpaces(toStd(chosen)).empty())
        return;
    m_styleTableCombo->setEditText(chosen);
    if (m_styleTableCombo->currentText().isEmpty())
        m_styleTableCombo->setEditText(toQString(kDefaultPaper));
}

} // namespace qv
