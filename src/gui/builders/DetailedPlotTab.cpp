#include "DetailedPlotTab.h"

#include "AddPaperDialog.h"
#include "PlotDeviceList.h"
#include "app/Controls.h"
#include "app/Program.h"
#include "builders/PaperSizes.h"
#include "builders/PlotDevices.h"
#include "builders/PlotTabRules.h"
#include "config/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
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

// Chooses an option as a click would, running its rule even when it was already chosen.
void chooseOption(QButtonGroup* group, int index)
{
    if (QAbstractButton* button = group->button(index))
        button->setChecked(true);
    emit group->idClicked(index);
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
    m_pageStack->addWidget(buildDevicePage(this));
    m_pageStack->addWidget(buildAreaPage(this));
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

void DetailedPlotTab::connectRules()
{
    connect(m_pageTabBar, &QTabBar::currentChanged, this, &DetailedPlotTab::showPage);
    connect(m_tilemodeButtons, &QButtonGroup::idClicked, this, &DetailedPlotTab::chooseTilemode);
    connect(m_plotAreaButtons, &QButtonGroup::idClicked, this, [this](int index) { choosePlotArea(index); });
    connect(m_orientationButtons, &QButtonGroup::idClicked, this, [this](int index) { chooseOrientation(index); });
    connect(m_upsideDownCheck, &QCheckBox::clicked, this,
            [this] { chooseOrientation(m_orientationButtons->checkedId()); });
    connect(m_unitButtons, &QButtonGroup::idClicked, this, &DetailedPlotTab::chooseUnit);
    connect(m_styleKindButtons, &QButtonGroup::idClicked, this, [this](int index) { chooseStyleKind(index); });
    connect(m_deviceCombo, &QComboBox::textActivated, this, &DetailedPlotTab::chooseDevice);
    connect(m_paperStandardCombo, &QComboBox::activated, this, [this](int index) { chooseStandard(index); });
    connect(m_scaleCombo, &QComboBox::activated, this, [this](int index) { chooseScale(index); });
    // Typing a scale of one's own makes it a custom scale; filling the boxes from the list does not.
    for (QLineEdit* box : {m_plottedUnitsEdit, m_drawingUnitsEdit})
        connect(box, &QLineEdit::textEdited, this, [this] { m_scaleCombo->setCurrentIndex(0); });
    connect(m_centrePlotCheck, &QCheckBox::toggled, this, [this](bool centred) { centrePlot(centred); });
    connect(m_shadeCombo, &QComboBox::currentTextChanged, this, [this](const QString& shade) { chooseShade(shade); });
    // A list left blank shows what it stands for.
    connect(m_deviceCombo->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_deviceCombo->currentText().isEmpty())
            m_deviceCombo->setEditText(toQString(kSelectPlotter));
    });
    connect(m_styleTableCombo->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_styleTableCombo->currentText().isEmpty())
            m_styleTableCombo->setEditText(toQString(kDefaultPaper));
    });
    connect(m_browsePlotterButton, &QPushButton::clicked, this, [this] { browsePlotter(); });
    connect(m_browseStyleTableButton, &QPushButton::clicked, this, [this] { browseStyleTable(); });
    connect(m_browsePlotFolderButton, &QPushButton::clicked, this, [this] {
        const std::optional<QString> folder =
            userDialogs().browseFolder(QStringLiteral("Folder for Plot Files"), m_plotFolderEdit->text().trimmed());
        if (folder && !folder->isEmpty())
            m_plotFolderEdit->setText(QDir::toNativeSeparators(*folder));
    });
    connect(m_addCustomPaperButton, &QPushButton::clicked, this, &DetailedPlotTab::addCustomPaper);
    connect(m_tipButton, &QPushButton::clicked, this, [] { showTip(); });
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

    // Naming each drawing's plot file in another folder takes AutoLISP.
    m_plotFolderEdit->setEnabled(m_setup.automatic);
    m_browsePlotFolderButton->setEnabled(m_setup.automatic);
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

void DetailedPlotTab::chooseTilemode(int index)
{
    const TilemodeFields fields = tilemodeFieldsFor(static_cast<PlotTabMode>(index), m_setup.shadeWithModelTab);
    m_plotAreaRadios[2]->setText(toQString(fields.thirdAreaCaption));
    if (fields.layoutArea)
        m_plotAreaRadios[2]->setEnabled(true);
    // A chosen third area follows its new caption.
    if (m_plotAreaButtons->checkedId() == 2)
        choosePlotArea(2);
    m_paperspaceLastCheck->setEnabled(fields.layoutArea);
    m_scaleLineweightsCheck->setEnabled(fields.layoutArea);
    if (fields.token)
        m_tilemodeToken = toQString(*fields.token);
    m_layoutNameEdit->setText(toQString(fields.layoutName));
    m_layoutNameEdit->setEnabled(fields.layoutNameEnabled);
    if (!fields.allLayoutsEnabled)
        m_allLayoutsCheck->setChecked(false);
    m_allLayoutsCheck->setEnabled(fields.allLayoutsEnabled);
    if (fields.shadeEnabled)
        setShadeOptionsEnabled(*fields.shadeEnabled);
}

void DetailedPlotTab::chooseUnit(int index)
{
    const UnitFields fields = unitFieldsFor(index);
    if (fields.pixels) {
        setOffsetUnitLabels(toQString(fields.offsetUnit));
        m_unitsToken = toQString(fields.token);
        m_paperStandardCombo->setCurrentText(QStringLiteral("Pixels"));
        showPaperStandard(kPixelPaperCode);
        m_paperLabel->setText(toQString(kSelectPixelSize));
        return;
    }
    // Leaving pixels gives the paper controls back to the device.
    if (m_unitsToken == toQString(kPixelsToken)) {
        if (namesNoDevice(toStd(m_deviceCombo->currentText())))
            showTypedPaper();
        else
            refreshPaperForDevice();
    }
    setOffsetUnitLabels(toQString(fields.offsetUnit));
    m_unitsToken = toQString(fields.token);
}

void DetailedPlotTab::chooseDevice(const QString& name)
{
    Q_UNUSED(name);
    if (m_unitsToken == toQString(kPixelsToken))
        chooseOption(m_unitButtons, 0);
    showTypedPaper();
    refreshPaperForDevice();
    applyPlotToFileRule();
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

DetailedPlotChoices DetailedPlotTab::readChoices() const
{
    DetailedPlotChoices c;
    c.mode = plotTabModeFor(m_tilemodeButtons->checkedId(), toStd(m_tilemodeToken));
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
    c.plotFolder = toStd(m_plotFolderEdit->text());
    c.saveChanges = m_saveLayoutCheck->isChecked();
    return c;
}

QWidget* DetailedPlotTab::fieldControl(PlotField field) const
{
    switch (field) {
    case PlotField::None:
        return nullptr;
    case PlotField::Scale1:
        return m_plottedUnitsEdit;
    case PlotField::Scale2:
        return m_drawingUnitsEdit;
    case PlotField::Printer:
        return m_deviceCombo;
    case PlotField::View:
        return m_viewNameEdit;
    case PlotField::OffsetX:
        return m_offsetXEdit;
    case PlotField::OffsetY:
        return m_offsetYEdit;
    case PlotField::Copies:
        return m_copiesCombo;
    case PlotField::Tilemode:
        return m_tilemodeButtons->checkedButton();
    case PlotField::LayoutName:
        return m_layoutNameEdit;
    case PlotField::Paper:
        // The live paper control, as the routine reads it.
        return isTypedPaperLive(toStd(m_paperLabel->text())) ? static_cast<QWidget*>(m_paperEdit) : m_paperCombo;
    case PlotField::StyleTable:
        return m_styleTableCombo;
    case PlotField::PlotFolder:
        return m_plotFolderEdit;
    }
    return nullptr;
}

void DetailedPlotTab::focusField(PlotField field)
{
    QWidget* target = fieldControl(field);
    if (!target)
        return;
    const PlotFieldPlace place = plotFieldPlace(field);
    if (m_pageStack->currentIndex() != place.page) {
        if (!place.turnsPage)
            return;
        m_pageTabBar->setCurrentIndex(place.page);
    }
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
