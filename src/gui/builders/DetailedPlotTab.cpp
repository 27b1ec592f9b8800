#include "DetailedPlotTab.h"

#include "AddPaperDialog.h"
#include "OrientationPicture.h"
#include "PlotDeviceList.h"
#include "app/Controls.h"
#include "app/Program.h"
#include "builders/PaperSizes.h"
#include "builders/PlotDevices.h"
#include "config/Settings.h"
#include "text/TextUtil.h"

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
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace qv {

namespace {

QComboBox* makeCombo(QWidget* parent, const char* name, bool editable)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(editable);
    if (editable)
        combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(18);
    return combo;
}

QLabel* makeWrappedLabel(QWidget* parent, const char* name, const QString& text = {})
{
    QLabel* label = makeLabel(parent, name, text);
    label->setWordWrap(true);
    return label;
}

template <std::size_t N>
QButtonGroup* makeRadioGroup(QWidget* parent, const char* name, std::array<QRadioButton*, N>& buttons,
                             const std::array<const char*, N>& captions)
{
    auto* group = new QButtonGroup(parent);
    group->setObjectName(QString::fromLatin1(name));
    for (std::size_t i = 0; i < N; ++i) {
        buttons[i] = new QRadioButton(QString::fromUtf8(captions[i]), parent);
        buttons[i]->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(i));
        group->addButton(buttons[i], static_cast<int>(i));
    }
    return group;
}

// Chooses an option as a click would, running its rule even when it was already chosen.
void chooseOption(QButtonGroup* group, int index)
{
    if (QAbstractButton* button = group->button(index))
        button->setChecked(true);
    emit group->idClicked(index);
}

bool isBlankOrSelectPlotter(const QString& device)
{
    const std::string trimmed(trimSpaces(toStd(device)));
    return trimmed.empty() || equalsIgnoreCaseAscii(trimmed, kSelectPlotter);
}

} // namespace

DetailedPlotTab::DetailedPlotTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DetailedPlotTab"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_detailedPlotGroup = new QGroupBox(this);
    m_detailedPlotGroup->setObjectName(QStringLiteral("fraPlotDetailed"));
    auto* frame = new QVBoxLayout(m_detailedPlotGroup);
    m_pageTabBar = new QTabBar(m_detailedPlotGroup);
    m_pageTabBar->setObjectName(QStringLiteral("TabStripPlotDetailed"));
    m_pageTabBar->addTab(QStringLiteral("Device, Paper and Tabs"));
    m_pageTabBar->addTab(QStringLiteral("Area, Scale and Options"));
    m_pageTabBar->setExpanding(false);
    m_pageStack = new QStackedWidget(m_detailedPlotGroup);
    m_pageStack->setObjectName(QStringLiteral("picDetailedPlot"));
    m_pageStack->addWidget(buildDevicePage());
    m_pageStack->addWidget(buildSettingsPage());
    frame->addWidget(m_pageTabBar);
    frame->addWidget(m_pageStack, 1);
    layout->addWidget(m_detailedPlotGroup, 1);

    auto* buttons = new QHBoxLayout();
    m_saveRoutineButton =
        makeButton(this, "cmdSavePlot", QStringLiteral("Save Routine"), QStringLiteral("Save Routine to Database"));
    m_backButton =
        makeButton(this, "cmdPlotDetailedBack", QStringLiteral("<< Back to Main"), QStringLiteral("Back to Main Menu"));
    buttons->addStretch();
    buttons->addWidget(m_saveRoutineButton);
    buttons->addWidget(m_backButton);
    layout->addLayout(buttons);

    connectRules();
}

QWidget* DetailedPlotTab::buildDevicePage()
{
    auto* page = new QWidget(this);
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

QWidget* DetailedPlotTab::buildSettingsPage()
{
    auto* page = new QWidget(this);
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

void DetailedPlotTab::connectRules()
{
    connect(m_pageTabBar, &QTabBar::currentChanged, this, &DetailedPlotTab::showPage);
    connect(m_tilemodeButtons, &QButtonGroup::idClicked, this, &DetailedPlotTab::chooseTilemode);
    connect(m_plotAreaButtons, &QButtonGroup::idClicked, this, &DetailedPlotTab::choosePlotArea);
    connect(m_orientationButtons, &QButtonGroup::idClicked, this, &DetailedPlotTab::chooseOrientation);
    connect(m_upsideDownCheck, &QCheckBox::clicked, this,
            [this] { chooseOrientation(m_orientationButtons->checkedId()); });
    connect(m_unitButtons, &QButtonGroup::idClicked, this, &DetailedPlotTab::chooseUnit);
    connect(m_styleKindButtons, &QButtonGroup::idClicked, this, &DetailedPlotTab::chooseStyleKind);
    connect(m_deviceCombo, &QComboBox::textActivated, this, &DetailedPlotTab::chooseDevice);
    connect(m_paperStandardCombo, &QComboBox::activated, this, &DetailedPlotTab::chooseStandard);
    connect(m_scaleCombo, &QComboBox::activated, this, &DetailedPlotTab::chooseScale);
    // Typing a scale of one's own makes it a custom scale; filling the boxes from the list does not.
    for (QLineEdit* box : {m_plottedUnitsEdit, m_drawingUnitsEdit})
        connect(box, &QLineEdit::textEdited, this, [this] { m_scaleCombo->setCurrentIndex(0); });
    connect(m_centrePlotCheck, &QCheckBox::toggled, this, [this](bool centred) {
        for (QWidget* control :
             std::initializer_list<QWidget*>{m_offsetXEdit, m_offsetYEdit, m_offsetLabels[1], m_offsetLabels[2],
                                             m_offsetLabels[3], m_offsetLabels[4]})
            control->setEnabled(!centred);
    });
    connect(m_shadeCombo, &QComboBox::currentTextChanged, this, [this](const QString& shade) {
        const bool rendered = shade == QLatin1String("Rendered");
        m_qualityCombo->setEnabled(rendered);
        m_qualityLabel->setEnabled(rendered);
        if (!rendered)
            m_qualityCombo->setCurrentText(QStringLiteral("Normal"));
    });
    // A list left blank shows what it stands for.
    connect(m_deviceCombo->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_deviceCombo->currentText().isEmpty())
            m_deviceCombo->setEditText(toQString(kSelectPlotter));
    });
    connect(m_styleTableCombo->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_styleTableCombo->currentText().isEmpty())
            m_styleTableCombo->setEditText(toQString(kDefaultPaper));
    });
    connect(m_browsePlotterButton, &QPushButton::clicked, this, &DetailedPlotTab::browsePlotter);
    connect(m_browseStyleTableButton, &QPushButton::clicked, this, &DetailedPlotTab::browseStyleTable);
    connect(m_addCustomPaperButton, &QPushButton::clicked, this, &DetailedPlotTab::addCustomPaper);
    connect(m_tipButton, &QPushButton::clicked, this, &DetailedPlotTab::showTip);
    connect(m_saveRoutineButton, &QPushButton::clicked, this, &DetailedPlotTab::buildRoutine);
    connect(m_backButton, &QPushButton::clicked, this, &DetailedPlotTab::backRequested);
    connect(&PlotDeviceList::instance(), &PlotDeviceList::changed, this, [this] {
        if (isSetUp())
            fillPlotterList(true);
    });
}

DetailedPlotTab::~DetailedPlotTab()
{
    // Closing the tab takes the focus out of a list's text box, which finishes its editing: the handler would run
    // on a tab whose members are already gone.
    m_deviceCombo->lineEdit()->disconnect(this);
    m_styleTableCombo->lineEdit()->disconnect(this);
}

void DetailedPlotTab::setUp()
{
    m_product = readProductCode(programState().settings);
    m_setup = plotTabSetupFor(m_product);

    chooseOption(m_plotAreaButtons, 0);
    chooseOption(m_orientationButtons, 1);
    chooseOption(m_unitButtons, 0);

    m_paperStandardCombo->clear();
    disablePaperStandards();

    if (m_setup.automatic) {
        chooseOption(m_tilemodeButtons, 2);
        m_allLayoutsCheck->setEnabled(true);
        m_lispNoteLabel->hide();
    } else {
        chooseOption(m_tilemodeButtons, 0);
        m_tilemodeRadios[2]->setEnabled(false);
        m_allLayoutsCheck->setEnabled(false);
        setShadeOptionsEnabled(false);
        m_lispNoteLabel->show();
    }

    m_hideObjectsCheck->setText(toQString(m_setup.removeLinesCaption));
    m_detailedPlotGroup->setTitle(QStringLiteral("Detailed Plot Routine"));
    m_shadeCombo->clear();
    m_qualityCombo->clear();
    if (m_setup.release2004) {
        for (const std::string& shade : shadeChoices(m_product))
            m_shadeCombo->addItem(toQString(shade));
        m_shadeCombo->setCurrentText(QStringLiteral("As Displayed"));
        for (const std::string& quality : qualityChoices())
            m_qualityCombo->addItem(toQString(quality));
        m_qualityCombo->setCurrentText(QStringLiteral("Normal"));
        if (m_setup.shadeAtStart)
            setShadeOptionsEnabled(true);
        m_shadeNoteLabel->setEnabled(true);
        m_shadeGroup->setTitle(QStringLiteral("Shaded Viewport Options"));
    }
    m_shadeGroup->setVisible(m_setup.shadeFrameShown);
    m_unitRadios[2]->setVisible(m_setup.pixelsOffered);

    m_deviceHintLabel->setText(QStringLiteral("Select from the list or Browse to select the relevant PC3 file."));
    m_paperHintLabel->setText(
        QStringLiteral("If you are manually entering a Paper size or selecting from the list, please "
                       "confirm that the Paper size is available for this Plot device through AutoCAD"));
    m_automaticHintLabel->setText(toQString(m_setup.modelLayoutHint));
    m_modelPaperHintLabel->setText(toQString(m_setup.modelPaperHint));

    m_scaleCombo->clear();
    for (const PlotScaleEntry& entry : plotScaleList())
        m_scaleCombo->addItem(toQString(entry.text), entry.drawingUnits);
    m_copiesCombo->clear();
    for (int i = 1; i <= 10; ++i)
        m_copiesCombo->addItem(QString::number(i));
    fillPlotterList(false);
    chooseOption(m_styleKindButtons, 0);
    m_scaleCombo->setCurrentText(toQString(kScaledToFit));
    m_copiesCombo->setCurrentIndex(0);
    m_plotStylesCheck->setChecked(true);
    m_paperspaceLastCheck->setChecked(true);
    m_lineweightsCheck->setChecked(true);
    m_viewNameEdit->hide();
    m_pageTabBar->setCurrentIndex(0);
    showPage(0);
    m_setUpFlag = QStringLiteral("yes");
}

void DetailedPlotTab::fillPlotterList(bool keepText)
{
    fillDeviceCombo(m_deviceCombo, PlotDeviceList::instance().devices(), keepText);
}

void DetailedPlotTab::showPage(int page)
{
    m_pageStack->setCurrentIndex(page);
}

void DetailedPlotTab::setShadeOptionsEnabled(bool on)
{
    m_shadeCombo->setCurrentText(QStringLiteral("As Displayed"));
    m_shadeCombo->setEnabled(on);
    m_shadeLabel->setEnabled(on);
    if (!on) {
        m_qualityCombo->setEnabled(false);
        m_qualityLabel->setEnabled(false);
    }
}

void DetailedPlotTab::chooseTilemode(int index)
{
    const bool layoutArea = index != 1;
    m_plotAreaRadios[2]->setText(layoutArea ? QStringLiteral("Default") : QStringLiteral("Limits"));
    if (layoutArea)
        m_plotAreaRadios[2]->setEnabled(true);
    // A chosen third area follows its new caption: a layout has no limits, and the model tab no layout area.
    if (m_plotAreaButtons->checkedId() == 2)
        choosePlotArea(2);
    m_paperspaceLastCheck->setEnabled(layoutArea);
    m_scaleLineweightsCheck->setEnabled(layoutArea);
    if (index == 0) {
        m_tilemodeToken = QStringLiteral("_Layout");
        m_layoutNameEdit->setText(QStringLiteral("<Default>"));
        m_layoutNameEdit->setEnabled(true);
        m_allLayoutsCheck->setChecked(false);
        m_allLayoutsCheck->setEnabled(false);
        setShadeOptionsEnabled(false);
    } else if (index == 1) {
        m_tilemodeToken = QStringLiteral("_Model");
        m_layoutNameEdit->setText(QStringLiteral("<Model>"));
        m_layoutNameEdit->setEnabled(false);
        m_allLayoutsCheck->setChecked(false);
        m_allLayoutsCheck->setEnabled(false);
        if (m_setup.shadeWithModelTab)
            setShadeOptionsEnabled(true);
    } else {
        m_layoutNameEdit->setText(QStringLiteral("<Default>"));
        m_layoutNameEdit->setEnabled(false);
        m_allLayoutsCheck->setEnabled(true);
        if (m_setup.shadeWithModelTab)
            setShadeOptionsEnabled(true);
    }
}

void DetailedPlotTab::choosePlotArea(int index)
{
    switch (index) {
    case 0:
        m_plotAreaToken = QStringLiteral("_Display");
        break;
    case 1:
        m_plotAreaToken = QStringLiteral("_Extents");
        break;
    case 2:
        m_plotAreaToken = m_plotAreaRadios[2]->text() == QLatin1String("Limits") ? QStringLiteral("_Limits")
                                                                                 : QStringLiteral("Layout");
        break;
    default:
        m_plotAreaToken = QStringLiteral("_View");
        break;
    }
    m_viewNameEdit->setVisible(index == 3);
}

void DetailedPlotTab::chooseOrientation(int index)
{
    const bool portrait = index == 0;
    m_orientationToken = portrait ? QStringLiteral("_Portrait") : QStringLiteral("_Landscape");
    const bool upside = m_upsideDownCheck->isChecked();
    m_orientationCode = portrait ? (upside ? 3 : 0) : (upside ? 2 : 1);
    m_orientationPicture->setPicture(m_orientationCode);
}

void DetailedPlotTab::setOffsetUnitLabels(const QString& word)
{
    for (int i = 0; i < 3; ++i)
        m_offsetLabels[static_cast<std::size_t>(i)]->setText(word);
}

void DetailedPlotTab::chooseUnit(int index)
{
    if (index == 2) {
        setOffsetUnitLabels(QStringLiteral("Pixels"));
        m_unitsToken = QStringLiteral("_Pixels");
        m_paperStandardCombo->setCurrentText(QStringLiteral("Pixels"));
        showPaperStandard(kPixelPaperCode);
        m_paperLabel->setText(toQString(kSelectPixelSize));
        return;
    }
    if (m_unitsToken == QLatin1String("_Pixels")) {
        if (isBlankOrSelectPlotter(m_deviceCombo->currentText())) {
            showTypedPaper();
            m_paperLabel->setText(toQString(kEnterPaperSize));
        } else {
            refreshPaperForDevice();
        }
    }
    setOffsetUnitLabels(index == 0 ? QStringLiteral("Inches") : QStringLiteral("mm"));
    m_unitsToken = index == 0 ? QStringLiteral("_Inches") : QStringLiteral("_Millimeters");
}

void DetailedPlotTab::showTypedPaper()
{
    m_paperCombo->clear();
    m_paperCombo->setEditText(toQString(kDefaultPaper));
    m_paperCombo->hide();
    m_paperEdit->setText(toQString(kDefaultPaper));
    m_paperEdit->show();
    m_paperLabel->setBuddy(m_paperEdit);
}

void DetailedPlotTab::chooseDevice(const QString& name)
{
    Q_UNUSED(name);
    if (m_unitsToken == QLatin1String("_Pixels"))
        chooseOption(m_unitButtons, 0);
    showTypedPaper();
    m_paperLabel->setText(toQString(kEnterPaperSize));
    refreshPaperForDevice();
    applyPlotToFileRule();
}

void DetailedPlotTab::refreshPaperForDevice()
{
    const DevicePapers papers =
        papersForDevice(PlotDeviceList::instance().devices(), toStd(m_deviceCombo->currentText()));
    if (papers.isPc3) {
        showTypedPaper();
        m_paperLabel->setText(toQString(kEnterPaperSize));
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

void DetailedPlotTab::applyPlotToFileRule()
{
    switch (plotToFileRuleFor(toStd(m_deviceCombo->currentText()))) {
    case PlotToFileRule::Keep:
        m_plotToFileCheck->setEnabled(true);
        break;
    case PlotToFileRule::DisableAndClear:
        m_plotToFileCheck->setEnabled(false);
        m_plotToFileCheck->setChecked(false);
        break;
    case PlotToFileRule::DisableClearAndPixels:
        m_plotToFileCheck->setEnabled(false);
        m_plotToFileCheck->setChecked(false);
        chooseOption(m_unitButtons, 2);
        break;
    }
}

void DetailedPlotTab::enablePaperStandards()
{
    m_paperStandardCombo->setEnabled(true);
    m_paperStandardLabel->setEnabled(true);
    m_paperHintLabel->setEnabled(true);
    m_paperStandardCombo->clear();
    for (const PaperStandard& standard : paperStandards())
        m_paperStandardCombo->addItem(toQString(standard.entry), standard.code);
    m_paperStandardCombo->setCurrentText(toQString(kManualStandard));
}

void DetailedPlotTab::disablePaperStandards()
{
    m_paperStandardCombo->setEnabled(false);
    m_paperStandardCombo->setCurrentIndex(-1);
    m_paperStandardLabel->setEnabled(false);
    m_paperHintLabel->setEnabled(false);
}

void DetailedPlotTab::chooseStandard(int index)
{
    m_paperCombo->show();
    m_paperEdit->hide();
    m_paperLabel->setBuddy(m_paperCombo);
    m_paperLabel->setText(toQString(kSelectPaperSize));
    showPaperStandard(m_paperStandardCombo->itemData(index).toInt());
}

void DetailedPlotTab::showPaperStandard(int code)
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

void DetailedPlotTab::chooseScale(int index)
{
    const std::vector<PlotScaleEntry> list = plotScaleList();
    if (index < 0 || index >= static_cast<int>(list.size()))
        return;
    const ScaleBoxes boxes = scaleBoxesFor(list[static_cast<std::size_t>(index)]);
    m_plottedUnitsEdit->setText(toQString(boxes.plotted));
    m_drawingUnitsEdit->setText(toQString(boxes.drawing));
}

void DetailedPlotTab::chooseStyleKind(int index)
{
    m_styleTableCombo->clear();
    m_styleTableCombo->addItems(
        styleTableNames(programState().settings, index == 0 ? QStringLiteral("ctb") : QStringLiteral("stb")));
    m_styleTableCombo->setCurrentIndex(-1);
    m_styleTableCombo->setEditText(toQString(kDefaultPaper));
}

void DetailedPlotTab::browsePlotter()
{
    const QString chosen = pickPlotterFile(userDialogs(), programState().settings);
    if (trimSpaces(toStd(chosen)).empty())
        return;
    m_deviceCombo->setEditText(chosen);
    showTypedPaper();
    m_paperLabel->setText(toQString(kEnterPaperSize));
    enablePaperStandards();
    if (trimSpaces(toStd(m_deviceCombo->currentText())).empty())
        m_deviceCombo->setEditText(toQString(kSelectPlotter));
}

void DetailedPlotTab::browseStyleTable()
{
    const QString chosen =
        pickStyleTableFile(userDialogs(), programState().settings, m_styleKindButtons->checkedId() == 0);
    if (trimSpaces(toStd(chosen)).empty())
        return;
    m_styleTableCombo->setEditText(chosen);
    if (m_styleTableCombo->currentText().isEmpty())
        m_styleTableCombo->setEditText(toQString(kDefaultPaper));
}

void DetailedPlotTab::addCustomPaper()
{
    AddPaperDialog dialog(programState().settingsFolder, this);
    dialog.exec();
    if (dialog.hasAddedPaper())
        m_customPaperAddedFlag = QStringLiteral("Yes");
    if (m_customPaperAddedFlag == QLatin1String("Yes") &&
        m_paperStandardCombo->currentText() == toQString(kCustomStandard))
        reloadCustomPaperList();
}

void DetailedPlotTab::reloadCustomPaperList()
{
    showPaperStandard(kCustomPaperCode);
}

void DetailedPlotTab::showTip()
{
    userDialogs().show("On some Networks some Network printers are not recognised by AutoCAD,\n"
                       "unless the drawing has been printed to that printer previously.\n"
                       "If this is a problem set up a PC3 file for that printer.\n"
                       "We have found that PC3 files print consistently\n",
                       "Plotting Tip", MessageIcon::Information);
}

DetailedPlotChoices DetailedPlotTab::readChoices() const
{
    DetailedPlotChoices c;
    const int mode = m_tilemodeButtons->checkedId();
    c.mode = mode == 2 ? PlotTabMode::Automatic
                       : (m_tilemodeToken == QLatin1String("_Model") ? PlotTabMode::Model : PlotTabMode::Layout);
    c.layoutName = toStd(m_layoutNameEdit->text());
    c.allLayouts = m_allLayoutsCheck->isChecked();
    c.copies = toStd(m_copiesCombo->currentText());
    c.device = toStd(m_deviceCombo->currentText());
    c.paperLabel = toStd(m_paperLabel->text());
    c.paperList = toStd(m_paperCombo->currentText());
    c.paperText = toStd(m_paperEdit->text());
    c.units = toStd(m_unitsToken);
    c.orientation = toStd(m_orientationToken);
    c.upsideDown = m_upsideDownCheck->isChecked();
    c.plotArea = toStd(m_plotAreaToken);
    c.viewName = toStd(m_viewNameEdit->text());
    c.scaleChoice = toStd(m_scaleCombo->currentText());
    c.scale1 = toStd(m_plottedUnitsEdit->text());
    c.scale2 = toStd(m_drawingUnitsEdit->text());
    c.scaleLineweights = m_scaleLineweightsCheck->isChecked();
    c.centre = m_centrePlotCheck->isChecked();
    c.offsetX = toStd(m_offsetXEdit->text());
    c.offsetY = toStd(m_offsetYEdit->text());
    c.plotStyles = m_plotStylesCheck->isChecked();
    c.styleTable = toStd(m_styleTableCombo->currentText());
    c.lineweights = m_lineweightsCheck->isChecked();
    c.paperLast = m_paperspaceLastCheck->isChecked();
    c.hide = m_hideObjectsCheck->isChecked();
    c.shade = toStd(m_shadeCombo->currentText());
    c.quality = toStd(m_qualityCombo->currentText());
    c.plotToFile = m_plotToFileCheck->isChecked();
    c.saveChanges = m_saveLayoutCheck->isChecked();
    return c;
}

void DetailedPlotTab::focusField(PlotField field)
{
    QWidget* target = nullptr;
    int page = 1;
    switch (field) {
    case PlotField::None:
        return;
    case PlotField::Scale1:
        target = m_plottedUnitsEdit;
        break;
    case PlotField::Scale2:
        target = m_drawingUnitsEdit;
        break;
    case PlotField::View:
        target = m_viewNameEdit;
        break;
    case PlotField::OffsetX:
        target = m_offsetXEdit;
        break;
    case PlotField::OffsetY:
        target = m_offsetYEdit;
        break;
    case PlotField::Printer:
        // The device is on the first page; it takes the focus only when that page is showing.
        if (m_pageStack->currentIndex() == 0)
            m_deviceCombo->setFocus();
        return;
    case PlotField::Copies:
        target = m_copiesCombo;
        page = 0;
        break;
    case PlotField::Tilemode:
        target = m_tilemodeButtons->checkedButton();
        page = 0;
        break;
    case PlotField::LayoutName:
        target = m_layoutNameEdit;
        page = 0;
        break;
    case PlotField::Paper:
        // The live paper control, as the routine reads it.
        target = m_paperLabel->text().compare(toQString(kEnterPaperSize), Qt::CaseInsensitive) == 0
                     ? static_cast<QWidget*>(m_paperEdit)
                     : m_paperCombo;
        page = 0;
        break;
    case PlotField::StyleTable:
        target = m_styleTableCombo;
        break;
    }
    if (!target)
        return;
    if (m_pageStack->currentIndex() != page)
        m_pageTabBar->setCurrentIndex(page);
    target->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(target))
        edit->selectAll();
}

void DetailedPlotTab::buildRoutine()
{
    const DetailedPlotResult result = qv::buildDetailedPlotRoutine(readChoices(), m_product);
    if (!result.ok()) {
        userDialogs().message(*result.message);
        focusField(result.focus);
        return;
    }
    emit routineBuilt(toQString(result.text));
}

} // namespace qv
