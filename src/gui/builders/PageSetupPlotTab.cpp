#include "PageSetupPlotTab.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "builders/DetailedPlot.h"
#include "builders/PlotPrinter.h"
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
    FraPlotPageSetup = new QGroupBox(QStringLiteral("Plot Using Page Setup in Rel 2000 - 2002"), this);
    FraPlotPageSetup->setObjectName(QStringLiteral("FraPlotPageSetup"));
    auto* frame = new QVBoxLayout(FraPlotPageSetup);

    // 1. Where the page setup comes from.
    auto* location = new QGroupBox(QStringLiteral("1. Page setup location"), FraPlotPageSetup);
    auto* locationGrid = new QGridLayout(location);
    optPageSetupLoc = new QButtonGroup(this);
    optPageSetupLoc->setObjectName(QStringLiteral("optPageSetupLoc"));
    const QString captions[2] = {QStringLiteral("Use page setup already in drawing been plotted"),
                                 QStringLiteral("Load page setup from a different drawing")};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], location);
        option->setObjectName(QStringLiteral("optPageSetupLoc_%1").arg(i));
        optPageSetupLoc->addButton(option, i);
        locationGrid->addWidget(option, i, 0, 1, 3);
    }
    lblDrawingAddress1 =
        MakeLabel(location, "lblDrawingAddress1", QStringLiteral("Select Drawing to load page setup from"));
    txtDrawingAddress1 = new QLineEdit(location);
    txtDrawingAddress1->setObjectName(QStringLiteral("txtDrawingAddress1"));
    lblDrawingAddress1->setBuddy(txtDrawingAddress1);
    cmdDrawingBrowse1 = MakeDialogButton(location, "cmdDrawingBrowse1", QStringLiteral("Browse"),
                                         QStringLiteral("Locate drawing to import from"));
    lblRedefine =
        MakeLabel(location, "lblRedefine",
                  QStringLiteral("If this page setup exists in the host drawing, it will be redefined by this one."));
    locationGrid->addWidget(lblDrawingAddress1, 2, 0, 1, 3);
    locationGrid->addWidget(txtDrawingAddress1, 3, 0, 1, 2);
    locationGrid->addWidget(cmdDrawingBrowse1, 3, 2);
    locationGrid->addWidget(lblRedefine, 4, 0, 1, 3);
    locationGrid->setColumnStretch(0, 1);
    frame->addWidget(location);

    // 2. The page setup's name.
    auto* name = new QGroupBox(QStringLiteral("2. Page Setup Name"), FraPlotPageSetup);
    auto* nameLayout = new QVBoxLayout(name);
    auto* nameLabel = MakeLabel(name, "lblPageSetupName", QStringLiteral("Enter Page Setup Name"));
    txtPageSetupName = new QLineEdit(name);
    txtPageSetupName->setObjectName(QStringLiteral("txtPageSetupName"));
    nameLabel->setBuddy(txtPageSetupName);
    nameLayout->addWidget(nameLabel);
    nameLayout->addWidget(txtPageSetupName);
    nameLayout->addWidget(
        MakeLabel(name, "lblPageSetupNote",
                  QStringLiteral("Please confirm that the selected drawings actually contain this page setup.")));
    frame->addWidget(name);

    // 3. The device: the page setup's own unless one is chosen here.
    auto* device = new QGroupBox(QStringLiteral("3. Plot Device"), FraPlotPageSetup);
    auto* deviceLayout = new QHBoxLayout(device);
    cboPagesetupPlotter = new QComboBox(device);
    cboPagesetupPlotter->setObjectName(QStringLiteral("cboPagesetupPlotter"));
    cboPagesetupPlotter->setEditable(true);
    cboPagesetupPlotter->setInsertPolicy(QComboBox::NoInsert);
    cboPagesetupPlotter->setEditText(ToQString(kSelectPlotter));
    cmdSelectPc3 = MakeDialogButton(device, "cmdSelectPc3", QStringLiteral("Browse"));
    deviceLayout->addWidget(cboPagesetupPlotter, 1);
    deviceLayout->addWidget(cmdSelectPc3);
    frame->addWidget(device);

    auto* options = new QGridLayout();
    chkPlotalltabsPage = new QCheckBox(QStringLiteral("Plot all tabs"), FraPlotPageSetup);
    chkPlotalltabsPage->setObjectName(QStringLiteral("chkPlotalltabsPage"));
    Label20 =
        MakeLabel(FraPlotPageSetup, "Label20",
                  QStringLiteral("Plot all tabs requires Lisp and is only available using AutoCAD full version."));
    auto* copiesLabel = MakeLabel(FraPlotPageSetup, "lblNumberofCopies", QStringLiteral("Number of Copies"));
    cboNumberofCopies = new QComboBox(FraPlotPageSetup);
    cboNumberofCopies->setObjectName(QStringLiteral("cboNumberofCopies"));
    cboNumberofCopies->setEditable(false);
    copiesLabel->setBuddy(cboNumberofCopies);
    chkPlotToFile = new QCheckBox(QStringLiteral("Plot to file"), FraPlotPageSetup);
    chkPlotToFile->setObjectName(QStringLiteral("chkPlotToFile"));
    options->addWidget(chkPlotalltabsPage, 0, 0);
    options->addWidget(Label20, 0, 1, 1, 3);
    options->addWidget(copiesLabel, 1, 0);
    options->addWidget(cboNumberofCopies, 1, 1);
    options->addWidget(chkPlotToFile, 1, 2);
    options->setColumnStretch(3, 1);
    frame->addLayout(options);
    layout->addWidget(FraPlotPageSetup, 1);

    auto* buttons = new QHBoxLayout();
    cmdPlotPageSave = MakeDialogButton(this, "cmdPlotPageSave", QStringLiteral("Save Routine"),
                                       QStringLiteral("Save Routine to Database"));
    cmdPlotPagesetuBack = MakeDialogButton(this, "cmdPlotPagesetuBack", QStringLiteral("<< Back to Main"),
                                           QStringLiteral("Back to Main Menu"));
    buttons->addStretch();
    buttons->addWidget(cmdPlotPageSave);
    buttons->addWidget(cmdPlotPagesetuBack);
    layout->addLayout(buttons);

    connect(optPageSetupLoc, &QButtonGroup::idClicked, this, &PageSetupPlotTab::optPageSetupLoc_Click);
    connect(cmdDrawingBrowse1, &QPushButton::clicked, this, &PageSetupPlotTab::cmdDrawingBrowse1_Click);
    connect(cmdSelectPc3, &QPushButton::clicked, this, &PageSetupPlotTab::cmdSelectPc3_Click);
    connect(cmdPlotPageSave, &QPushButton::clicked, this, &PageSetupPlotTab::BuildPageSetupPlotRoutine);
    connect(cmdPlotPagesetuBack, &QPushButton::clicked, this, &PageSetupPlotTab::backRequested);
    // The printers arrive after the editor has opened: the list refills, keeping what the user chose.
    connect(&PlotDeviceList::instance(), &PlotDeviceList::changed, this, [this] {
        if (isSetUp())
            refillDevices();
    });
    optPageSetupLoc_Click(0);
}

void PageSetupPlotTab::SetupPageSetupTab()
{
    m_product = GetAcadVer(Program().ini);
    const PageSetupPlotSetup setup = PageSetupPlotSetupFor(m_product);
    FraPlotPageSetup->setTitle(ToQString(setup.frameCaption));
    chkPlotalltabsPage->setEnabled(setup.allTabsOffered);
    if (!setup.allTabsOffered)
        chkPlotalltabsPage->setChecked(false);
    Label20->setVisible(!setup.allTabsOffered);

    optPageSetupLoc->button(0)->setChecked(true);
    optPageSetupLoc_Click(0);

    cboNumberofCopies->clear();
    for (int i = 1; i <= kMaxPageSetupCopies; ++i)
        cboNumberofCopies->addItem(QString::number(i));
    cboNumberofCopies->setCurrentIndex(0);

    lblPlotPaper = QStringLiteral("yes");
    FillPlotterList(cboPagesetupPlotter, PlotDeviceList::instance().devices());
}

void PageSetupPlotTab::refillDevices()
{
    FillPlotterList(cboPagesetupPlotter, PlotDeviceList::instance().devices(), true);
}

void PageSetupPlotTab::optPageSetupLoc_Click(int index)
{
    const bool other = index == 1;
    for (QWidget* control :
         std::initializer_list<QWidget*>{txtDrawingAddress1, cmdDrawingBrowse1, lblDrawingAddress1, lblRedefine})
        control->setEnabled(other);
}

void PageSetupPlotTab::cmdDrawingBrowse1_Click()
{
    txtDrawingAddress1->setText(SelectDrawingFile(Dialogs()));
}

void PageSetupPlotTab::cmdSelectPc3_Click()
{
    const QString file = GetPlotterBrowse(Dialogs(), Program().ini);
    if (!file.trimmed().isEmpty())
        cboPagesetupPlotter->setEditText(file);
    if (cboPagesetupPlotter->currentText().trimmed().isEmpty())
        cboPagesetupPlotter->setEditText(ToQString(kSelectPlotter));
}

PageSetupPlotChoices PageSetupPlotTab::readChoices() const
{
    PageSetupPlotChoices choices;
    choices.fromOtherDrawing = optPageSetupLoc->checkedId() == 1;
    choices.drawing = ToStd(txtDrawingAddress1->text());
    choices.pageSetupName = ToStd(txtPageSetupName->text());
    choices.device = ToStd(cboPagesetupPlotter->currentText());
    choices.allTabs = chkPlotalltabsPage->isEnabled() && chkPlotalltabsPage->isChecked();
    choices.copies = ToStd(cboNumberofCopies->currentText());
    choices.plotToFile = chkPlotToFile->isChecked();
    return choices;
}

void PageSetupPlotTab::BuildPageSetupPlotRoutine()
{
    Dialogs().message(PlottingInformationMessage());
    const PageSetupRoutineResult result = qv::BuildPageSetupPlotRoutine(readChoices(), m_product);
    if (!result.ok()) {
        Dialogs().message(result.refusal->message);
        if (result.refusal->focus == PageSetupField::Device) {
            cboPagesetupPlotter->setFocus();
            return;
        }
        QLineEdit* box = result.refusal->focus == PageSetupField::PlotDrawing ? txtDrawingAddress1 : txtPageSetupName;
        box->setFocus();
        box->selectAll();
        return;
    }
    emit routineBuilt(ToQString(result.text));
}

} // namespace qv
