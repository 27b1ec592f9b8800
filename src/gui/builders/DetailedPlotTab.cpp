#include "DetailedPlotTab.h"

#include "OrientationPicture.h"
#include "PlotPrinter.h"
#include "app/Controls.h"
#include "app/Program.h"
#include "builders/PaperSizes.h"
#include "builders/PlotDevices.h"
#include "config/Settings.h"
#include "frmAddPaper.h"
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

QComboBox* MakeCombo(QWidget* parent, const char* name, bool editable)
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

QLabel* MakeHint(QWidget* parent, const char* name, const QString& text = {})
{
    QLabel* label = MakeLabel(parent, name, text);
    label->setWordWrap(true);
    return label;
}

template <std::size_t N>
QButtonGroup* MakeOptions(QWidget* parent, const char* name, std::array<QRadioButton*, N>& buttons,
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
void Choose(QButtonGroup* group, int index)
{
    if (QAbstractButton* button = group->button(index))
        button->setChecked(true);
    emit group->idClicked(index);
}

bool IsBlankOrSelectPlotter(const QString& device)
{
    const std::string trimmed(TrimSpaces(ToStd(device)));
    return trimmed.empty() || EqualsIgnoreCaseAscii(trimmed, kSelectPlotter);
}

} // namespace

DetailedPlotTab::DetailedPlotTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DetailedPlotTab"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    fraPlotDetailed = new QGroupBox(this);
    fraPlotDetailed->setObjectName(QStringLiteral("fraPlotDetailed"));
    auto* frame = new QVBoxLayout(fraPlotDetailed);
    TabStripPlotDetailed = new QTabBar(fraPlotDetailed);
    TabStripPlotDetailed->setObjectName(QStringLiteral("TabStripPlotDetailed"));
    TabStripPlotDetailed->addTab(QStringLiteral("Device, Paper and Tabs"));
    TabStripPlotDetailed->addTab(QStringLiteral("Area, Scale and Options"));
    TabStripPlotDetailed->setExpanding(false);
    picDetailedPlot = new QStackedWidget(fraPlotDetailed);
    picDetailedPlot->setObjectName(QStringLiteral("picDetailedPlot"));
    picDetailedPlot->addWidget(buildDevicePage());
    picDetailedPlot->addWidget(buildSettingsPage());
    frame->addWidget(TabStripPlotDetailed);
    frame->addWidget(picDetailedPlot, 1);
    layout->addWidget(fraPlotDetailed, 1);

    auto* buttons = new QHBoxLayout();
    cmdSavePlot =
        MakeButton(this, "cmdSavePlot", QStringLiteral("Save Routine"), QStringLiteral("Save Routine to Database"));
    cmdPlotDetailedBack =
        MakeButton(this, "cmdPlotDetailedBack", QStringLiteral("<< Back to Main"), QStringLiteral("Back to Main Menu"));
    buttons->addStretch();
    buttons->addWidget(cmdSavePlot);
    buttons->addWidget(cmdPlotDetailedBack);
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
    optTilemode = MakeOptions<3>(tabs, "optTilemode", optTilemodeButtons,
                                 {"Layout Tab (Paperspace)", "Model Tab (Modelspace)", "Model/Layout Automatic"});
    lblModelPaper = MakeHint(tabs, "lblModelPaper");
    lblstrModel_Layout = MakeHint(tabs, "lblstrModel_Layout");
    txtLayoutName = MakeEdit(tabs, QStringLiteral("txtLayoutName"), QStringLiteral("<Default>"));
    QLabel* layoutLabel = MakeLabel(tabs, "lblLayoutName", QStringLiteral("Layout Name"));
    layoutLabel->setBuddy(txtLayoutName);
    chkAllLayouts = MakeCheck(tabs, "chkAllLayouts", QStringLiteral("Plot all tabs"));
    LblLispExplain = MakeHint(tabs, "LblLispExplain",
                              QStringLiteral("Plot all tabs requires Lisp. Only available in AutoCAD full."));
    cmbNoCopies = MakeCombo(tabs, "cmbNoCopies", true);
    cmbNoCopies->setMinimumContentsLength(4);
    QLabel* copiesLabel = MakeLabel(tabs, "lblNoCopies", QStringLiteral("Number of Copies"));
    copiesLabel->setBuddy(cmbNoCopies);
    tabsLayout->addWidget(optTilemodeButtons[0], 0, 0);
    tabsLayout->addWidget(optTilemodeButtons[1], 1, 0);
    tabsLayout->addWidget(lblModelPaper, 0, 1, 2, 1);
    tabsLayout->addWidget(layoutLabel, 2, 0);
    tabsLayout->addWidget(txtLayoutName, 2, 1);
    tabsLayout->addWidget(optTilemodeButtons[2], 3, 0);
    tabsLayout->addWidget(lblstrModel_Layout, 3, 1);
    tabsLayout->addWidget(chkAllLayouts, 4, 0);
    tabsLayout->addWidget(LblLispExplain, 4, 1);
    tabsLayout->addWidget(copiesLabel, 5, 0);
    tabsLayout->addWidget(cmbNoCopies, 5, 1, Qt::AlignLeft);
    tabsLayout->setColumnStretch(1, 1);

    // The device and its paper.
    auto* device = new QGroupBox(QStringLiteral("Plot Device and Paper"), page);
    device->setObjectName(QStringLiteral("fraPlotDevice"));
    auto* deviceLayout = new QGridLayout(device);
    CboPrinter = MakeCombo(device, "CboPrinter", true);
    CboPrinter->setMinimumContentsLength(28);
    QLabel* printerLabel = MakeLabel(device, "lblPrinter", QStringLiteral("Plot Device"));
    printerLabel->setBuddy(CboPrinter);
    cmdPlotterBrowse = MakeButton(device, "cmdPlotterBrowse", QStringLiteral("Browse"),
                                  QStringLiteral("Locate a plotter configuration file"));
    cmdTip1 = MakeButton(device, "cmdTip1", QStringLiteral("Tip"), QStringLiteral("Plotting Tip"));
    lblselectPlotter = MakeHint(device, "lblselectPlotter");
    lblStandards = MakeLabel(device, "lblStandards", QStringLiteral("Paper Standard"));
    cboStandards = MakeCombo(device, "cboStandards", false);
    lblStandards->setBuddy(cboStandards);
    Label8 = MakeLabel(device, "Label8", ToQString(kEnterPaperSize));
    cboPaperSize = MakeCombo(device, "cboPaperSize", true);
    cboPaperSize->setMinimumContentsLength(28);
    txtPaperSize = MakeEdit(device, QStringLiteral("txtPaperSize"), ToQString(kDefaultPaper));
    Label8->setBuddy(txtPaperSize);
    cmdAddPaperSize = MakeButton(device, "cmdAddPaperSize", QStringLiteral("Add Custom Size"));
    lblPaperSize = MakeHint(device, "lblPaperSize");
    deviceLayout->addWidget(printerLabel, 0, 0);
    deviceLayout->addWidget(CboPrinter, 0, 1);
    deviceLayout->addWidget(cmdPlotterBrowse, 0, 2);
    deviceLayout->addWidget(cmdTip1, 0, 3);
    deviceLayout->addWidget(lblselectPlotter, 1, 1, 1, 3);
    deviceLayout->addWidget(lblStandards, 2, 0);
    deviceLayout->addWidget(cboStandards, 2, 1);
    deviceLayout->addWidget(cmdAddPaperSize, 2, 2, 1, 2);
    deviceLayout->addWidget(Label8, 3, 0);
    deviceLayout->addWidget(cboPaperSize, 3, 1);
    deviceLayout->addWidget(txtPaperSize, 3, 1);
    deviceLayout->addWidget(lblPaperSize, 4, 1, 1, 3);
    deviceLayout->setColumnStretch(1, 1);

    auto* units = new QGroupBox(QStringLiteral("Paper Units"), page);
    units->setObjectName(QStringLiteral("fraUnits"));
    auto* unitsLayout = new QVBoxLayout(units);
    optUnit = MakeOptions<3>(units, "optUnit", optUnitButtons, {"Inches", "Millimeters", "Pixels"});
    for (QRadioButton* button : optUnitButtons)
        unitsLayout->addWidget(button);
    unitsLayout->addStretch();

    auto* orientation = new QGroupBox(QStringLiteral("Drawing Orientation"), page);
    orientation->setObjectName(QStringLiteral("fraOrientation"));
    auto* orientLayout = new QGridLayout(orientation);
    OptDwgOrient = MakeOptions<2>(orientation, "OptDwgOrient", OptDwgOrientButtons, {"Portrait", "Landscape"});
    chkUpside = MakeCheck(orientation, "chkUpside", QStringLiteral("Plot upside-down"));
    picOrient = new OrientationPicture(orientation);
    orientLayout->addWidget(OptDwgOrientButtons[0], 0, 0);
    orientLayout->addWidget(OptDwgOrientButtons[1], 1, 0);
    orientLayout->addWidget(chkUpside, 2, 0);
    orientLayout->addWidget(picOrient, 0, 1, 3, 1);

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
    OptPlotArea = MakeOptions<4>(area, "OptPlotArea", OptPlotAreaButtons, {"Display", "Extents", "Limits", "View"});
    txtView = MakeEdit(area, QStringLiteral("txtView"), QString());
    txtView->setPlaceholderText(QStringLiteral("View name"));
    for (int i = 0; i < 4; ++i)
        areaLayout->addWidget(OptPlotAreaButtons[static_cast<std::size_t>(i)], i, 0);
    areaLayout->addWidget(txtView, 3, 1);
    areaLayout->setColumnStretch(1, 1);

    auto* scale = new QGroupBox(QStringLiteral("Plot Scale"), page);
    scale->setObjectName(QStringLiteral("fraScale"));
    auto* scaleLayout = new QGridLayout(scale);
    cmbScale = MakeCombo(scale, "cmbScale", false);
    txtScale1 = MakeEdit(scale, QStringLiteral("txtScale1"), QStringLiteral("1"));
    txtScale2 = MakeEdit(scale, QStringLiteral("txtScale2"), QStringLiteral("1"));
    for (std::size_t i = 0; i < txtOffset.size(); ++i)
        txtOffset[i] = MakeLabel(page, QStringLiteral("txtOffset_%1").arg(i).toLatin1().constData(),
                                 i < 3 ? QStringLiteral("Inches") : QString());
    txtOffset[3]->setText(QStringLiteral("X:"));
    txtOffset[4]->setText(QStringLiteral("Y:"));
    auto* equals = MakeLabel(scale, "lblEquals", QStringLiteral("="));
    auto* unitsWord = MakeLabel(scale, "lblDrawingUnits", QStringLiteral("Units"));
    chkScaleLine = MakeCheck(scale, "chkScaleLine", QStringLiteral("Scale lineweights"));
    scaleLayout->addWidget(cmbScale, 0, 0, 1, 5);
    scaleLayout->addWidget(txtScale1, 1, 0);
    scaleLayout->addWidget(txtOffset[0], 1, 1);
    scaleLayout->addWidget(equals, 1, 2);
    scaleLayout->addWidget(txtScale2, 1, 3);
    scaleLayout->addWidget(unitsWord, 1, 4);
    scaleLayout->addWidget(chkScaleLine, 2, 0, 1, 5);

    auto* offset = new QGroupBox(QStringLiteral("Plot Offset"), page);
    offset->setObjectName(QStringLiteral("fraOffset"));
    auto* offsetLayout = new QGridLayout(offset);
    ChkPlotcenter = MakeCheck(offset, "ChkPlotcenter", QStringLiteral("Center the plot"));
    txtOffset_X = MakeEdit(offset, QStringLiteral("txtOffset_X"), QStringLiteral("0.00"));
    txtOffset_Y = MakeEdit(offset, QStringLiteral("txtOffset_Y"), QStringLiteral("0.00"));
    txtOffset[3]->setBuddy(txtOffset_X);
    txtOffset[4]->setBuddy(txtOffset_Y);
    offsetLayout->addWidget(ChkPlotcenter, 0, 0, 1, 3);
    offsetLayout->addWidget(txtOffset[3], 1, 0);
    offsetLayout->addWidget(txtOffset_X, 1, 1);
    offsetLayout->addWidget(txtOffset[1], 1, 2);
    offsetLayout->addWidget(txtOffset[4], 2, 0);
    offsetLayout->addWidget(txtOffset_Y, 2, 1);
    offsetLayout->addWidget(txtOffset[2], 2, 2);

    auto* options = new QGroupBox(QStringLiteral("Plot Options"), page);
    options->setObjectName(QStringLiteral("fraPlotOptions"));
    auto* optionsLayout = new QGridLayout(options);
    optCtb = MakeOptions<2>(options, "optCtb", optCtbButtons, {"Color dependent (ctb)", "Named (stb)"});
    cboPlotStyle = MakeCombo(options, "cboPlotStyle", true);
    QLabel* styleLabel = MakeLabel(options, "lblPlotStyle", QStringLiteral("Plot Style Table"));
    styleLabel->setBuddy(cboPlotStyle);
    cmdStyleTable =
        MakeButton(options, "cmdStyleTable", QStringLiteral("Browse"), QStringLiteral("Locate a plot style table"));
    chkPlotStyle = MakeCheck(options, "chkPlotStyle", QStringLiteral("Plot with plot styles"));
    ChkPlotObject = MakeCheck(options, "ChkPlotObject", QStringLiteral("Plot object lineweights"));
    chkpaperlast = MakeCheck(options, "chkpaperlast", QStringLiteral("Plot paperspace last test"));
    chkRemovelines = MakeCheck(options, "chkRemovelines", QStringLiteral("Hide objects"));
    chkPlotFile = MakeCheck(options, "chkPlotFile", QStringLiteral("Plot to file"));
    chkSaveTab = MakeCheck(options, "chkSaveTab", QStringLiteral("Save changes to layout"));
    optionsLayout->addWidget(styleLabel, 0, 0);
    optionsLayout->addWidget(optCtbButtons[0], 0, 1);
    optionsLayout->addWidget(optCtbButtons[1], 0, 2);
    optionsLayout->addWidget(cboPlotStyle, 1, 0, 1, 3);
    optionsLayout->addWidget(cmdStyleTable, 1, 3);
    optionsLayout->addWidget(chkPlotStyle, 2, 0, 1, 2);
    optionsLayout->addWidget(ChkPlotObject, 2, 2, 1, 2);
    optionsLayout->addWidget(chkpaperlast, 3, 0, 1, 2);
    optionsLayout->addWidget(chkRemovelines, 3, 2, 1, 2);
    optionsLayout->addWidget(chkPlotFile, 4, 0, 1, 2);
    optionsLayout->addWidget(chkSaveTab, 4, 2, 1, 2);
    optionsLayout->setColumnStretch(0, 1);

    fraShaded = new QGroupBox(QStringLiteral("Shaded Viewport Options"), page);
    fraShaded->setObjectName(QStringLiteral("fraShaded"));
    auto* shadeLayout = new QGridLayout(fraShaded);
    LblShadePlot = MakeLabel(fraShaded, "LblShadePlot", QStringLiteral("Shade Plot"));
    cboShade = MakeCombo(fraShaded, "cboShade", false);
    LblShadePlot->setBuddy(cboShade);
    lblQuality = MakeLabel(fraShaded, "lblQuality", QStringLiteral("Quality"));
    CboQuality = MakeCombo(fraShaded, "CboQuality", false);
    lblQuality->setBuddy(CboQuality);
    lblShadeExplain =
        MakeHint(fraShaded, "lblShadeExplain",
                 QStringLiteral("To set Shade Plot in Paperspace, use the properties of the individual viewports."));
    shadeLayout->addWidget(LblShadePlot, 0, 0);
    shadeLayout->addWidget(cboShade, 0, 1);
    shadeLayout->addWidget(lblQuality, 1, 0);
    shadeLayout->addWidget(CboQuality, 1, 1);
    shadeLayout->addWidget(lblShadeExplain, 2, 0, 1, 2);

    grid->addWidget(area, 0, 0);
    grid->addWidget(scale, 0, 1);
    grid->addWidget(offset, 1, 0);
    grid->addWidget(fraShaded, 1, 1);
    grid->addWidget(options, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    return page;
}

void DetailedPlotTab::connectRules()
{
    connect(TabStripPlotDetailed, &QTabBar::currentChanged, this, &DetailedPlotTab::showPage);
    connect(optTilemode, &QButtonGroup::idClicked, this, &DetailedPlotTab::chooseTilemode);
    connect(OptPlotArea, &QButtonGroup::idClicked, this, &DetailedPlotTab::choosePlotArea);
    connect(OptDwgOrient, &QButtonGroup::idClicked, this, &DetailedPlotTab::chooseOrientation);
    connect(chkUpside, &QCheckBox::clicked, this, [this] { chooseOrientation(OptDwgOrient->checkedId()); });
    connect(optUnit, &QButtonGroup::idClicked, this, &DetailedPlotTab::chooseUnit);
    connect(optCtb, &QButtonGroup::idClicked, this, &DetailedPlotTab::chooseStyleKind);
    connect(CboPrinter, &QComboBox::textActivated, this, &DetailedPlotTab::chooseDevice);
    connect(cboStandards, &QComboBox::activated, this, &DetailedPlotTab::chooseStandard);
    connect(cmbScale, &QComboBox::activated, this, &DetailedPlotTab::chooseScale);
    // Typing a scale of one's own makes it a custom scale; filling the boxes from the list does not.
    for (QLineEdit* box : {txtScale1, txtScale2})
        connect(box, &QLineEdit::textEdited, this, [this] { cmbScale->setCurrentIndex(0); });
    connect(ChkPlotcenter, &QCheckBox::toggled, this, [this](bool centred) {
        for (QWidget* control : std::initializer_list<QWidget*>{txtOffset_X, txtOffset_Y, txtOffset[1], txtOffset[2],
                                                                txtOffset[3], txtOffset[4]})
            control->setEnabled(!centred);
    });
    connect(cboShade, &QComboBox::currentTextChanged, this, [this](const QString& shade) {
        const bool rendered = shade == QLatin1String("Rendered");
        CboQuality->setEnabled(rendered);
        lblQuality->setEnabled(rendered);
        if (!rendered)
            CboQuality->setCurrentText(QStringLiteral("Normal"));
    });
    // A list left blank shows what it stands for.
    connect(CboPrinter->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (CboPrinter->currentText().isEmpty())
            CboPrinter->setEditText(ToQString(kSelectPlotter));
    });
    connect(cboPlotStyle->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (cboPlotStyle->currentText().isEmpty())
            cboPlotStyle->setEditText(ToQString(kDefaultPaper));
    });
    connect(cmdPlotterBrowse, &QPushButton::clicked, this, &DetailedPlotTab::browsePlotter);
    connect(cmdStyleTable, &QPushButton::clicked, this, &DetailedPlotTab::browseStyleTable);
    connect(cmdAddPaperSize, &QPushButton::clicked, this, &DetailedPlotTab::addCustomPaper);
    connect(cmdTip1, &QPushButton::clicked, this, &DetailedPlotTab::showTip);
    connect(cmdSavePlot, &QPushButton::clicked, this, &DetailedPlotTab::BuildDetailedPlotRoutine);
    connect(cmdPlotDetailedBack, &QPushButton::clicked, this, &DetailedPlotTab::backRequested);
    connect(&PlotDeviceList::instance(), &PlotDeviceList::changed, this, [this] {
        if (isSetUp())
            fillPlotterList(true);
    });
}

DetailedPlotTab::~DetailedPlotTab()
{
    // Closing the tab takes the focus out of a list's text box, which finishes its editing: the handler would run
    // on a tab whose members are already gone.
    CboPrinter->lineEdit()->disconnect(this);
    cboPlotStyle->lineEdit()->disconnect(this);
}

void DetailedPlotTab::InitDetailedPlotTab()
{
    m_product = GetAcadVer(Program().ini);
    m_setup = PlotTabSetupFor(m_product);

    Choose(OptPlotArea, 0);
    Choose(OptDwgOrient, 1);
    Choose(optUnit, 0);

    cboStandards->clear();
    DisableStandards();

    if (m_setup.automatic) {
        Choose(optTilemode, 2);
        chkAllLayouts->setEnabled(true);
        LblLispExplain->hide();
    } else {
        Choose(optTilemode, 0);
        optTilemodeButtons[2]->setEnabled(false);
        chkAllLayouts->setEnabled(false);
        SetShadeOptions(false);
        LblLispExplain->show();
    }

    chkRemovelines->setText(ToQString(m_setup.removeLinesCaption));
    fraPlotDetailed->setTitle(QStringLiteral("Detailed Plot Routine"));
    cboShade->clear();
    CboQuality->clear();
    if (m_setup.release2004) {
        for (const std::string& shade : ShadeChoices(m_product))
            cboShade->addItem(ToQString(shade));
        cboShade->setCurrentText(QStringLiteral("As Displayed"));
        for (const std::string& quality : QualityChoices())
            CboQuality->addItem(ToQString(quality));
        CboQuality->setCurrentText(QStringLiteral("Normal"));
        if (m_setup.shadeAtStart)
            SetShadeOptions(true);
        lblShadeExplain->setEnabled(true);
        fraShaded->setTitle(QStringLiteral("Shaded Viewport Options"));
    }
    fraShaded->setVisible(m_setup.shadeFrameShown);
    optUnitButtons[2]->setVisible(m_setup.pixelsOffered);

    lblselectPlotter->setText(QStringLiteral("Select from the list or Browse to select the relevant PC3 file."));
    lblPaperSize->setText(
        QStringLiteral("If you are manually entering a Paper size or selecting from the list, please "
                       "confirm that the Paper size is available for this Plot device through AutoCAD"));
    lblstrModel_Layout->setText(ToQString(m_setup.modelLayoutHint));
    lblModelPaper->setText(ToQString(m_setup.modelPaperHint));

    cmbScale->clear();
    for (const PlotScaleEntry& entry : PlotScaleList())
        cmbScale->addItem(ToQString(entry.text), entry.drawingUnits);
    cmbNoCopies->clear();
    for (int i = 1; i <= 10; ++i)
        cmbNoCopies->addItem(QString::number(i));
    fillPlotterList(false);
    Choose(optCtb, 0);
    cmbScale->setCurrentText(ToQString(kScaledToFit));
    cmbNoCopies->setCurrentIndex(0);
    chkPlotStyle->setChecked(true);
    chkpaperlast->setChecked(true);
    ChkPlotObject->setChecked(true);
    txtView->hide();
    TabStripPlotDetailed->setCurrentIndex(0);
    showPage(0);
    lblPlotDetailed = QStringLiteral("yes");
}

void DetailedPlotTab::fillPlotterList(bool keepText)
{
    FillPlotterList(CboPrinter, PlotDeviceList::instance().devices(), keepText);
}

void DetailedPlotTab::showPage(int page)
{
    picDetailedPlot->setCurrentIndex(page);
}

void DetailedPlotTab::SetShadeOptions(bool on)
{
    cboShade->setCurrentText(QStringLiteral("As Displayed"));
    cboShade->setEnabled(on);
    LblShadePlot->setEnabled(on);
    if (!on) {
        CboQuality->setEnabled(false);
        lblQuality->setEnabled(false);
    }
}

void DetailedPlotTab::chooseTilemode(int index)
{
    const bool layoutArea = index != 1;
    OptPlotAreaButtons[2]->setText(layoutArea ? QStringLiteral("Default") : QStringLiteral("Limits"));
    if (layoutArea)
        OptPlotAreaButtons[2]->setEnabled(true);
    // A chosen third area follows its new caption: a layout has no limits, and the model tab no layout area.
    if (OptPlotArea->checkedId() == 2)
        choosePlotArea(2);
    chkpaperlast->setEnabled(layoutArea);
    chkScaleLine->setEnabled(layoutArea);
    if (index == 0) {
        txtTilemode = QStringLiteral("_Layout");
        txtLayoutName->setText(QStringLiteral("<Default>"));
        txtLayoutName->setEnabled(true);
        chkAllLayouts->setChecked(false);
        chkAllLayouts->setEnabled(false);
        SetShadeOptions(false);
    } else if (index == 1) {
        txtTilemode = QStringLiteral("_Model");
        txtLayoutName->setText(QStringLiteral("<Model>"));
        txtLayoutName->setEnabled(false);
        chkAllLayouts->setChecked(false);
        chkAllLayouts->setEnabled(false);
        if (m_setup.shadeWithModelTab)
            SetShadeOptions(true);
    } else {
        txtLayoutName->setText(QStringLiteral("<Default>"));
        txtLayoutName->setEnabled(false);
        chkAllLayouts->setEnabled(true);
        if (m_setup.shadeWithModelTab)
            SetShadeOptions(true);
    }
}

void DetailedPlotTab::choosePlotArea(int index)
{
    switch (index) {
    case 0:
        txtPlot = QStringLiteral("_Display");
        break;
    case 1:
        txtPlot = QStringLiteral("_Extents");
        break;
    case 2:
        txtPlot = OptPlotAreaButtons[2]->text() == QLatin1String("Limits") ? QStringLiteral("_Limits")
                                                                           : QStringLiteral("Layout");
        break;
    default:
        txtPlot = QStringLiteral("_View");
        break;
    }
    txtView->setVisible(index == 3);
}

void DetailedPlotTab::chooseOrientation(int index)
{
    const bool portrait = index == 0;
    txtOrient = portrait ? QStringLiteral("_Portrait") : QStringLiteral("_Landscape");
    const bool upside = chkUpside->isChecked();
    orientationPicture = portrait ? (upside ? 3 : 0) : (upside ? 2 : 1);
    picOrient->setPicture(orientationPicture);
}

void DetailedPlotTab::SetOffsetUnitLabels(const QString& word)
{
    for (int i = 0; i < 3; ++i)
        txtOffset[static_cast<std::size_t>(i)]->setText(word);
}

void DetailedPlotTab::chooseUnit(int index)
{
    if (index == 2) {
        SetOffsetUnitLabels(QStringLiteral("Pixels"));
        lblUnits = QStringLiteral("_Pixels");
        cboStandards->setCurrentText(QStringLiteral("Pixels"));
        ShowPaperStandard(kPixelPaperCode);
        Label8->setText(ToQString(kSelectPixelSize));
        return;
    }
    if (lblUnits == QLatin1String("_Pixels")) {
        if (IsBlankOrSelectPlotter(CboPrinter->currentText())) {
            showTypedPaper();
            Label8->setText(ToQString(kEnterPaperSize));
        } else {
            RefreshPaperForDevice();
        }
    }
    SetOffsetUnitLabels(index == 0 ? QStringLiteral("Inches") : QStringLiteral("mm"));
    lblUnits = index == 0 ? QStringLiteral("_Inches") : QStringLiteral("_Millimeters");
}

void DetailedPlotTab::showTypedPaper()
{
    cboPaperSize->clear();
    cboPaperSize->setEditText(ToQString(kDefaultPaper));
    cboPaperSize->hide();
    txtPaperSize->setText(ToQString(kDefaultPaper));
    txtPaperSize->show();
    Label8->setBuddy(txtPaperSize);
}

void DetailedPlotTab::chooseDevice(const QString& name)
{
    Q_UNUSED(name);
    if (lblUnits == QLatin1String("_Pixels"))
        Choose(optUnit, 0);
    showTypedPaper();
    Label8->setText(ToQString(kEnterPaperSize));
    RefreshPaperForDevice();
    SetPlotToFileForDevice();
}

void DetailedPlotTab::RefreshPaperForDevice()
{
    const DevicePapers papers = PapersForDevice(PlotDeviceList::instance().devices(), ToStd(CboPrinter->currentText()));
    if (papers.isPc3) {
        showTypedPaper();
        Label8->setText(ToQString(kEnterPaperSize));
        EnableStandards();
        return;
    }
    if (!papers.printerFound)
        return; // not in the list, or a printer reporting no papers: the typed box stays in use
    DisableStandards();
    txtPaperSize->hide();
    cboPaperSize->show();
    Label8->setBuddy(cboPaperSize);
    Label8->setText(ToQString(kSelectPaperSize));
    cboPaperSize->clear();
    for (const std::string& paper : papers.names)
        cboPaperSize->addItem(ToQString(paper));
    cboPaperSize->setCurrentIndex(-1);
    cboPaperSize->setEditText(ToQString(kDefaultPaper));
    if (cboPaperSize->count() == 0) {
        cboPaperSize->hide();
        txtPaperSize->setText(ToQString(kDefaultPaper));
        txtPaperSize->show();
    }
}

void DetailedPlotTab::SetPlotToFileForDevice()
{
    switch (PlotToFileRuleFor(ToStd(CboPrinter->currentText()))) {
    case PlotToFileRule::Keep:
        chkPlotFile->setEnabled(true);
        break;
    case PlotToFileRule::DisableAndClear:
        chkPlotFile->setEnabled(false);
        chkPlotFile->setChecked(false);
        break;
    case PlotToFileRule::DisableClearAndPixels:
        chkPlotFile->setEnabled(false);
        chkPlotFile->setChecked(false);
        Choose(optUnit, 2);
        break;
    }
}

void DetailedPlotTab::EnableStandards()
{
    cboStandards->setEnabled(true);
    lblStandards->setEnabled(true);
    lblPaperSize->setEnabled(true);
    cboStandards->clear();
    for (const PaperStandard& standard : PaperStandards())
        cboStandards->addItem(ToQString(standard.entry), standard.code);
    cboStandards->setCurrentText(ToQString(kManualStandard));
}

void DetailedPlotTab::DisableStandards()
{
    cboStandards->setEnabled(false);
    cboStandards->setCurrentIndex(-1);
    lblStandards->setEnabled(false);
    lblPaperSize->setEnabled(false);
}

void DetailedPlotTab::chooseStandard(int index)
{
    cboPaperSize->show();
    txtPaperSize->hide();
    Label8->setBuddy(cboPaperSize);
    Label8->setText(ToQString(kSelectPaperSize));
    ShowPaperStandard(cboStandards->itemData(index).toInt());
}

void DetailedPlotTab::ShowPaperStandard(int code)
{
    const PaperStandardView view = qv::ShowPaperStandard(
        code, code == kCustomPaperCode ? ReadCustomPaperEntries(Program().settingsFolder) : CustomPaperEntries{});
    cboPaperSize->setVisible(view.showList);
    txtPaperSize->setVisible(!view.showList);
    Label8->setBuddy(view.showList ? static_cast<QWidget*>(cboPaperSize) : txtPaperSize);
    if (view.label8)
        Label8->setText(ToQString(*view.label8));
    if (!view.showList)
        return;
    cboPaperSize->clear();
    for (const std::string& name : view.names)
        cboPaperSize->addItem(ToQString(name));
    cboPaperSize->setCurrentIndex(-1);
    cboPaperSize->setEditText(ToQString(view.listText));
}

void DetailedPlotTab::chooseScale(int index)
{
    const std::vector<PlotScaleEntry> list = PlotScaleList();
    if (index < 0 || index >= static_cast<int>(list.size()))
        return;
    const ScaleBoxes boxes = ScaleBoxesFor(list[static_cast<std::size_t>(index)]);
    txtScale1->setText(ToQString(boxes.plotted));
    txtScale2->setText(ToQString(boxes.drawing));
}

void DetailedPlotTab::chooseStyleKind(int index)
{
    cboPlotStyle->clear();
    cboPlotStyle->addItems(StyleTableNames(Program().ini, index == 0 ? QStringLiteral("ctb") : QStringLiteral("stb")));
    cboPlotStyle->setCurrentIndex(-1);
    cboPlotStyle->setEditText(ToQString(kDefaultPaper));
}

void DetailedPlotTab::browsePlotter()
{
    const QString chosen = GetPlotterBrowse(Dialogs(), Program().ini);
    if (TrimSpaces(ToStd(chosen)).empty())
        return;
    CboPrinter->setEditText(chosen);
    showTypedPaper();
    Label8->setText(ToQString(kEnterPaperSize));
    EnableStandards();
    if (TrimSpaces(ToStd(CboPrinter->currentText())).empty())
        CboPrinter->setEditText(ToQString(kSelectPlotter));
}

void DetailedPlotTab::browseStyleTable()
{
    const QString chosen = GetStyleTableBrowse(Dialogs(), Program().ini, optCtb->checkedId() == 0);
    if (TrimSpaces(ToStd(chosen)).empty())
        return;
    cboPlotStyle->setEditText(chosen);
    if (cboPlotStyle->currentText().isEmpty())
        cboPlotStyle->setEditText(ToQString(kDefaultPaper));
}

void DetailedPlotTab::addCustomPaper()
{
    frmAddPaper dialog(Program().settingsFolder, this);
    dialog.exec();
    if (dialog.addedName())
        lblCustomPaper = QStringLiteral("Yes");
    if (lblCustomPaper == QLatin1String("Yes") && cboStandards->currentText() == ToQString(kCustomStandard))
        reloadCustomPaperList();
}

void DetailedPlotTab::reloadCustomPaperList()
{
    ShowPaperStandard(kCustomPaperCode);
}

void DetailedPlotTab::showTip()
{
    Dialogs().show("On some Networks some Network printers are not recognised by AutoCAD,\n"
                   "unless the drawing has been printed to that printer previously.\n"
                   "If this is a problem set up a PC3 file for that printer.\n"
                   "We have found that PC3 files print consistently\n",
                   "Plotting Tip", MessageIcon::Information);
}

DetailedPlotChoices DetailedPlotTab::readChoices() const
{
    DetailedPlotChoices c;
    const int mode = optTilemode->checkedId();
    c.mode = mode == 2 ? PlotTabMode::Automatic
                       : (txtTilemode == QLatin1String("_Model") ? PlotTabMode::Model : PlotTabMode::Layout);
    c.layoutName = ToStd(txtLayoutName->text());
    c.allLayouts = chkAllLayouts->isChecked();
    c.copies = ToStd(cmbNoCopies->currentText());
    c.device = ToStd(CboPrinter->currentText());
    c.paperLabel = ToStd(Label8->text());
    c.paperList = ToStd(cboPaperSize->currentText());
    c.paperText = ToStd(txtPaperSize->text());
    c.units = ToStd(lblUnits);
    c.orientation = ToStd(txtOrient);
    c.upsideDown = chkUpside->isChecked();
    c.plotArea = ToStd(txtPlot);
    c.viewName = ToStd(txtView->text());
    c.scaleChoice = ToStd(cmbScale->currentText());
    c.scale1 = ToStd(txtScale1->text());
    c.scale2 = ToStd(txtScale2->text());
    c.scaleLineweights = chkScaleLine->isChecked();
    c.centre = ChkPlotcenter->isChecked();
    c.offsetX = ToStd(txtOffset_X->text());
    c.offsetY = ToStd(txtOffset_Y->text());
    c.plotStyles = chkPlotStyle->isChecked();
    c.styleTable = ToStd(cboPlotStyle->currentText());
    c.lineweights = ChkPlotObject->isChecked();
    c.paperLast = chkpaperlast->isChecked();
    c.hide = chkRemovelines->isChecked();
    c.shade = ToStd(cboShade->currentText());
    c.quality = ToStd(CboQuality->currentText());
    c.plotToFile = chkPlotFile->isChecked();
    c.saveChanges = chkSaveTab->isChecked();
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
        target = txtScale1;
        break;
    case PlotField::Scale2:
        target = txtScale2;
        break;
    case PlotField::View:
        target = txtView;
        break;
    case PlotField::OffsetX:
        target = txtOffset_X;
        break;
    case PlotField::OffsetY:
        target = txtOffset_Y;
        break;
    case PlotField::Printer:
        // The device is on the first page; it takes the focus only when that page is showing.
        if (picDetailedPlot->currentIndex() == 0)
            CboPrinter->setFocus();
        return;
    case PlotField::Copies:
        target = cmbNoCopies;
        page = 0;
        break;
    case PlotField::Tilemode:
        target = optTilemode->checkedButton();
        page = 0;
        break;
    case PlotField::LayoutName:
        target = txtLayoutName;
        page = 0;
        break;
    case PlotField::Paper:
        // The live paper control, as the routine reads it.
        target = Label8->text().compare(ToQString(kEnterPaperSize), Qt::CaseInsensitive) == 0
                     ? static_cast<QWidget*>(txtPaperSize)
                     : cboPaperSize;
        page = 0;
        break;
    case PlotField::StyleTable:
        target = cboPlotStyle;
        break;
    }
    if (!target)
        return;
    if (picDetailedPlot->currentIndex() != page)
        TabStripPlotDetailed->setCurrentIndex(page);
    target->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(target))
        edit->selectAll();
}

void DetailedPlotTab::BuildDetailedPlotRoutine()
{
    const DetailedPlotResult result = qv::BuildDetailedPlotRoutine(readChoices(), m_product);
    if (!result.ok()) {
        Dialogs().message(*result.message);
        focusField(result.focus);
        return;
    }
    emit routineBuilt(ToQString(result.text));
}

} // namespace qv
