#include "frmFileLocation.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "builders/PlotSettings.h"
#include "config/ConfigControls.h"
#include "config/Settings.h"
#include "config/SettingsKeys.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv {
frmFileLocation::frmFileLocation(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFileLocation"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);

    tbsOptions = new QTabWidget(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->setUsesScrollButtons(false); // all five tabs in sight
    const struct
    {
        QWidget* page;
        const char* caption;
        const char* tip;
    } tabs[] = {
        {buildFileLocationTab(), "File Location", "Location of Files"},
        {buildVersionTab(), "AutoCAD Version", "Version of AutoCAD Used"},
        {buildAdvancedTab(), "Advanced", "Set Advanced Options"},
        {buildStartupSwitchTab(), "Startup Switches", "Add Startup Switches"},
        {buildPlotLocationTab(), "PC3 and Plot Style Location", "Set default location for plot files"},
    };
    for (int i = 0; i < kTabCount; ++i) {
        picOptions[std::size_t(i)] = tabs[i].page;
        tabs[i].page->setObjectName(QStringLiteral("picOptions_%1").arg(i));
        tbsOptions->addTab(tabs[i].page, QString::fromLatin1(tabs[i].caption));
        tbsOptions->setTabToolTip(i, QString::fromLatin1(tabs[i].tip));
    }

    cmdok = MakeDialogButton(this, "cmdok", QStringLiteral("OK"),
                             QStringLiteral("Apply Changes and return to Main Screen"));
    cmdok->setDefault(true);
    cmdCancel = MakeDialogButton(this, "cmdCancel", QStringLiteral("Cancel"),
                                 QStringLiteral("Cancel changes and return to Main Screen"));
    cmdApply = MakeDialogButton(this, "cmdApply", QStringLiteral("Apply"), QStringLiteral("Apply Changes"));
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(cmdok);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdApply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsOptions, 1);
    layout->addLayout(buttons);

    connect(optCadVer, &QButtonGroup::idClicked, this, &frmFileLocation::optCadVer_Click);
    connect(optStartEnd, &QButtonGroup::idClicked, this, &frmFileLocation::optStartEnd_Click);
    connect(optWindowStyle, &QButtonGroup::idClicked, this, &frmFileLocation::optWindowStyle_Click);
    connect(optStartSwitch, &QButtonGroup::idClicked, this, &frmFileLocation::optStartSwitch_Click);
    connect(chkSortOption, &QCheckBox::clicked, this, &frmFileLocation::chkSortOption_Click);
    connect(cmdAcadBrowse, &QPushButton::clicked, this, &frmFileLocation::cmdAcadBrowse_Click);
    connect(cmdDatabaseBrowse, &QPushButton::clicked, this, &frmFileLocation::cmdDatabaseBrowse_Click);
    connect(cmdbatchBrowse, &QPushButton::clicked, this, &frmFileLocation::cmdbatchBrowse_Click);
    connect(cmdPlotLoc, &QPushButton::clicked, this, &frmFileLocation::cmdPlotLoc_Click);
    connect(cmdBrowsePlotStyle, &QPushButton::clicked, this, &frmFileLocation::cmdBrowsePlotStyle_Click);
    connect(cmdWhere, &QPushButton::clicked, this, [] { ShowPlotLocationsHelp(Dialogs()); });
    connect(cmdok, &QPushButton::clicked, this, &frmFileLocation::cmdok_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmFileLocation::cmdApply_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QLineEdit* edit : {txtAddress[0], txtAddress[1], txtAddress[2], txtFieldDelim, txtFieldNum, txtStartupSwitch,
                            txtPlotterLoc, txtPlotStyleLoc})
        connect(edit, &QLineEdit::textChanged, this, &frmFileLocation::enableApply);

    Form_Load();
}

QWidget* frmFileLocation::buildFileLocationTab()
{
    auto* page = new QWidget(this);
    lblCad = MakeLabel(page, "lblCad", QString());
    lblDatabase = MakeLabel(page, "lblDatabase", QString());
    lblBatch = MakeLabel(page, "lblBatch", QStringLiteral("Batch.scr Location"));
    for (int i = 0; i < 3; ++i)
        txtAddress[std::size_t(i)] = MakeEdit(page, QStringLiteral("txtAddress_%1").arg(i));
    txtAddress[0]->setMinimumWidth(380);
    cmdAcadBrowse = MakeDialogButton(page, "cmdAcadBrowse", QStringLiteral("Browse"));
    cmdDatabaseBrowse = MakeDialogButton(page, "cmdDatabaseBrowse", QStringLiteral("Browse"));
    cmdbatchBrowse = MakeDialogButton(page, "cmdbatchBrowse", QStringLiteral("Browse"),
                                      QStringLiteral("Locate folder that script file will be created in."));
    auto* grid = new QGridLayout(page);
    const std::array<QLabel*, 3> labels{lblCad, lblDatabase, lblBatch};
    const std::array<QPushButton*, 3> browse{cmdAcadBrowse, cmdDatabaseBrowse, cmdbatchBrowse};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(labels[std::size_t(i)], 2 * i, 0, 1, 2);
        grid->addWidget(txtAddress[std::size_t(i)], 2 * i + 1, 0);
        grid->addWidget(browse[std::size_t(i)], 2 * i + 1, 1);
        labels[std::size_t(i)]->setBuddy(txtAddress[std::size_t(i)]);
    }
    grid->setRowStretch(6, 1);
    return page;
}

QWidget* frmFileLocation::buildVersionTab()
{
    auto* page = new QWidget(this);
    fraCadVer = MakeFrame(page, "fraCadVer", QStringLiteral("CAD Version"));
    optCadVer = new QButtonGroup(this);
    optCadVer->setObjectName(QStringLiteral("optCadVer"));
    auto* grid = new QGridLayout(fraCadVer);
    for (const OptionsProduct& product : OptionsProducts()) {
        QRadioButton* option = MakeOption(fraCadVer, optCadVer, "optCadVer", product.index, ToQString(product.caption));
        option->setEnabled(product.userSelectable);
        grid->addWidget(option, product.index % 10, product.index / 10);
    }
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fraCadVer);
    layout->addStretch();
    return page;
}

QWidget* frmFileLocation::buildAdvancedTab()
{
    auto* page = new QWidget(this);
    fraSortOption = MakeFrame(page, "fraSortOption", QStringLiteral("Sort by Field"));
    chkSortOption = new QCheckBox(QStringLiteral("Switch on Field Sort Option"), fraSortOption);
    chkSortOption->setObjectName(QStringLiteral("chkSortOption"));
    const QString delimTip = QStringLiteral("Character that seperate each field eg -");
    const QString numberTip = QStringLiteral("Number of the field that you wish to sort by.");
    lblFieldDelim = MakeLabel(fraSortOption, "lblFieldDelim", QStringLiteral("Field Delimiter"));
    txtFieldDelim = MakeEdit(fraSortOption, QStringLiteral("txtFieldDelim"), {}, delimTip);
    lblFieldNum = MakeLabel(fraSortOption, "lblFieldNum", QStringLiteral("Field Number"));
    txtFieldNum = MakeEdit(fraSortOption, QStringLiteral("txtFieldNum"), {}, numberTip);
    lblFieldDelim->setToolTip(delimTip);
    lblFieldNum->setToolTip(numberTip);
    lblFieldDelim->setBuddy(txtFieldDelim);
    lblFieldNum->setBuddy(txtFieldNum);
    lblExplainField = MakeLabel(fraSortOption, "lblExplainField", LabelText(options_text::ExplainField()));
    lblExplainField->setWordWrap(true);
    auto* sort = new QGridLayout(fraSortOption);
    sort->addWidget(chkSortOption, 0, 0, 1, 4);
    sort->addWidget(lblFieldDelim, 1, 0);
    sort->addWidget(txtFieldDelim, 1, 1);
    sort->addWidget(lblFieldNum, 1, 2);
    sort->addWidget(txtFieldNum, 1, 3);
    sort->addWidget(lblExplainField, 2, 0, 1, 4);

    fraWindowStyle = MakeFrame(page, "fraWindowStyle", QStringLiteral("AutoCAD Window Style"));
    lblWindowStyle = MakeLabel(fraWindowStyle, "lblWindowStyle", QStringLiteral("Start AutoCAD with Window:"));
    optWindowStyle = new QButtonGroup(this);
    optWindowStyle->setObjectName(QStringLiteral("optWindowStyle"));
    auto* window = new QVBoxLayout(fraWindowStyle);
    window->addWidget(lblWindowStyle);
    int index = 0;
    for (const char* caption : {"Normal", "Minimized", "Maximized"})
        window->addWidget(
            MakeOption(fraWindowStyle, optWindowStyle, "optWindowStyle", index++, QString::fromLatin1(caption)));

    fraStartEnd = MakeFrame(page, "fraStartEnd", QStringLiteral("Default Start Command"));
    optStartEnd = new QButtonGroup(this);
    optStartEnd->setObjectName(QStringLiteral("optStartEnd"));
    auto* start = new QVBoxLayout(fraStartEnd);
    start->addWidget(MakeOption(fraStartEnd, optStartEnd, "optStartEnd", 0, QStringLiteral("Start with  \"Open\"")));
    start->addWidget(MakeOption(fraStartEnd, optStartEnd, "optStartEnd", 1, QStringLiteral("Start with \"Recover\"")));

    auto* lower = new QHBoxLayout();
    lower->addWidget(fraWindowStyle);
    lower->addWidget(fraStartEnd);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fraSortOption);
    layout->addLayout(lower);
    layout->addStretch();
    return page;
}

QWidget* frmFileLocation::buildStartupSwitchTab()
{
    auto* page = new QWidget(this);
    fraStartSwitch = MakeFrame(page, "fraStartSwitch", QStringLiteral("Startup Switches"));
    optStartSwitch = new QButtonGroup(this);
    optStartSwitch->setObjectName(QStringLiteral("optStartSwitch"));
    lblStartupSwitch = MakeLabel(fraStartSwitch, "lblStartupSwitch", QString());
    lblStartupSwitchExplain =
        MakeLabel(fraStartSwitch, "lblStartupSwitchExplain", ToQString(options_text::kStartupSwitchExplain));
    lblStartupSwitchExplain->setWordWrap(true);
    txtStartupSwitch = MakeEdit(fraStartSwitch, QStringLiteral("txtStartupSwitch"));
    auto* layout = new QVBoxLayout(fraStartSwitch);
    layout->addWidget(
        MakeOption(fraStartSwitch, optStartSwitch, "optStartSwitch", 0, QStringLiteral("No Extra Startup Switches")));
    layout->addWidget(
        MakeOption(fraStartSwitch, optStartSwitch, "optStartSwitch", 1, QStringLiteral("Extra Startup Switches")));
    layout->addWidget(lblStartupSwitchExplain);
    layout->addWidget(lblStartupSwitch);
    layout->addWidget(txtStartupSwitch);
    auto* outer = new QVBoxLayout(page);
    outer->addWidget(fraStartSwitch);
    outer->addStretch();
    return page;
}

QWidget* frmFileLocation::buildPlotLocationTab()
{
    auto* page = new QWidget(this);
    fraPlotLocations = MakeFrame(page, "fraPlotLocations", QStringLiteral("Default PC3, Ctb and Stb File Location"));
    lblPlotterLoc = MakeLabel(fraPlotLocations, "lblPlotterLoc", QStringLiteral("Plotter Configuration Files (.pc3)"));
    txtPlotterLoc = MakeEdit(fraPlotLocations, QStringLiteral("txtPlotterLoc"));
    cmdPlotLoc = MakeDialogButton(fraPlotLocations, "cmdPlotLoc", QStringLiteral("Browse"));
    lblPlotStyleLoc = MakeLabel(fraPlotLocations, "lblPlotStyleLoc", QStringLiteral("Plot Style Tables (.ctb, .stb)"));
    txtPlotStyleLoc = MakeEdit(fraPlotLocations, QStringLiteral("txtPlotStyleLoc"));
    cmdBrowsePlotStyle = MakeDialogButton(fraPlotLocations, "cmdBrowsePlotStyle", QStringLiteral("Browse"));
    cmdWhere = MakeDialogButton(fraPlotLocations, "cmdWhere", QStringLiteral("Where are my current files located"));
    lblPlotterLoc->setBuddy(txtPlotterLoc);
    lblPlotStyleLoc->setBuddy(txtPlotStyleLoc);
    auto* grid = new QGridLayout(fraPlotLocations);
    grid->addWidget(lblPlotterLoc, 0, 0, 1, 2);
    grid->addWidget(txtPlotterLoc, 1, 0);
    grid->addWidget(cmdPlotLoc, 1, 1);
    grid->addWidget(lblPlotStyleLoc, 2, 0, 1, 2);
    grid->addWidget(txtPlotStyleLoc, 3, 0);
    grid->addWidget(cmdBrowsePlotStyle, 3, 1);
    grid->addWidget(cmdWhere, 4, 0, 1, 2, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fraPlotLocations);
    layout->addStretch();
    return page;
}

void frmFileLocation::Form_Load()
{
    const clsIniControl& ini = Program().ini;
    lblCad->setText(ToQString(options_text::CadLabel()));
    lblDatabase->setText(ToQString(options_text::DatabaseLabel()));
    for (QLineEdit* box : txtAddress)
        box->clear();
    tbsOptions->setCurrentIndex(TabFileLocation);

    RecallAddress();

    const OptionsProduct* product = FindOptionsProduct(GetAcadVer(ini));
    if (product) {
        optCadVer->button(product->index)->setChecked(true);
        optCadVer_Click(product->index);
    }

    const int startEnd = StartEndIndex(GetStartOption(ini));
    optStartEnd->button(startEnd)->setChecked(true);
    optStartEnd_Click(startEnd);

    const int windowStyle = WindowStyleIndex(GetWindowState(ini));
    optWindowStyle->button(windowStyle)->setChecked(true);
    optWindowStyle_Click(windowStyle);

    const int startSwitch = StartSwitchIndex(GetStartupSwitchOption(ini));
    optStartSwitch->button(startSwitch)->setChecked(true);
    optStartSwitch_Click(startSwitch);

    Get_FieldDelimOption();
    LoadPlotLocations(Program().ini, txtPlotterLoc, txtPlotStyleLoc);
    cmdApply->setEnabled(false);
}

void frmFileLocation::RecallAddress()
{
    const ProgramState& program = Program();
    txtAddress[0]->setText(ToQString(GetAcadAddress(program.ini)));
    txtAddress[1]->setText(ToQString(GetDataBaseAddress(program.ini)));
    txtAddress[2]->setText(ToQString(GetBatchAddress(program.ini, program.scriptFolder)));
    txtStartupSwitch->setText(ToQString(GetStartupSwitch_Text(program.ini)));
}

void frmFileLocation::Get_FieldDelimOption()
{
    std::string delimiter;
    std::string number;
    const std::string sort = GetFieldDelimOption(Program().ini, delimiter, number);
    chkSortOption->setChecked(sort == "ON");
    if (delimiter != kUnknown)
        txtFieldDelim->setText(ToQString(delimiter));
    if (number != kUnknown)
        txtFieldNum->setText(ToQString(number));
    chkSortOption_Click();
}

void frmFileLocation::enableApply()
{
    cmdApply->setEnabled(true);
}

void frmFileLocation::optCadVer_Click(int index)
{
    const auto products = OptionsProducts();
    if (index < 0 || std::size_t(index) >= products.size())
        return;
    const OptionsProduct& product = products[std::size_t(index)];
    lblCAdVer = ToQString(product.code);
    if (!product.switchLabel.empty())
        lblStartupSwitch->setText(ToQString(product.switchLabel));
    enableApply();
}

void frmFileLocation::optStartEnd_Click(int index)
{
    lblStartOption = ToQString(StartOptionFor(index));
    enableApply();
}

void frmFileLocation::optWindowStyle_Click(int index)
{
    lblWindowState = ToQString(WindowStateFor(index));
    enableApply();
}

void frmFileLocation::optStartSwitch_Click(int index)
{
    lblStartSwitch = ToQString(StartSwitchFor(index));
    const bool extra = index == 1;
    lblStartupSwitch->setVisible(extra);
    lblStartupSwitchExplain->setVisible(extra);
    txtStartupSwitch->setEnabled(extra);
    enableApply();
}

void frmFileLocation::chkSortOption_Click()
{
    const bool on = chkSortOption->isChecked();
    for (QWidget* field :
         std::initializer_list<QWidget*>{txtFieldDelim, txtFieldNum, lblFieldDelim, lblFieldNum, lblExplainField})
        field->setEnabled(on);
    enableApply();
}

QString frmFileLocation::FolderOf(const QString& path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String(kUnknown))
        return QString();
    return QFileInfo(trimmed).absolutePath();
}

void frmFileLocation::cmdAcadBrowse_Click()
{
    const QStringList chosen =
        Dialogs().openFileNames(QStringLiteral("Locate the CAD Program"), ToQString(options_text::kExecutableFilter),
                                FolderOf(txtAddress[0]->text()), false);
    if (chosen.isEmpty())
        return;
    txtAddress[0]->setText(QDir::toNativeSeparators(chosen.first()));
}

void frmFileLocation::cmdDatabaseBrowse_Click()
{
    const QStringList chosen =
        Dialogs().openFileNames(QStringLiteral("Locate the Routine Database"), ToQString(options_text::kDatabaseFilter),
                                FolderOf(txtAddress[1]->text()), false);
    if (chosen.isEmpty())
        return;
    const QString path = QDir::toNativeSeparators(chosen.first());
    txtAddress[1]->setText(path);
    enableApply();
    // The database is taken into use at once, whether or not the dialog is confirmed.
    if (const Status written = Program().ini.WriteValue(keys::kDatabaseSection, keys::kDatabaseKey, ToStd(path));
        !written) {
        ShowError(written.error(), "cmdDatabaseBrowse_Click");
        return;
    }
    emit databaseChanged();
}

void frmFileLocation::cmdbatchBrowse_Click()
{
    lblWhichaddress = QStringLiteral("batch");
    const QString current = txtAddress[2]->text().trimmed();
    const std::optional<QString> folder =
        Dialogs().browseFolder(QStringLiteral("Select the Folder for the Script File"), current);
    if (folder && !folder->isEmpty())
        txtAddress[2]->setText(QDir::toNativeSeparators(*folder));
}

void frmFileLocation::cmdPlotLoc_Click()
{
    if (BrowsePc3Folder(Dialogs(), txtPlotterLoc))
        enableApply();
}

void frmFileLocation::cmdBrowsePlotStyle_Click()
{
    if (BrowseStyleFolder(Dialogs(), txtPlotStyleLoc))
        enableApply();
}

OptionsValues frmFileLocation::Values() const
{
    OptionsValues values;
    values.acadAddress = ToStd(txtAddress[0]->text());
    values.dbAddress = ToStd(txtAddress[1]->text());
    values.batchAddress = ToStd(txtAddress[2]->text());
    values.cadVer = ToStd(lblCAdVer);
    values.startOption = ToStd(lblStartOption);
    values.windowState = ToStd(lblWindowState);
    values.startSwitch = ToStd(lblStartSwitch);
    values.switchText = ToStd(txtStartupSwitch->text());
    values.sortOn = chkSortOption->isChecked();
    values.fieldDelim = ToStd(txtFieldDelim->text());
    values.fieldNum = ToStd(txtFieldNum->text());
    return values;
}

bool frmFileLocation::UpdateQVSettings()
{
    const UpdateOutcome outcome = qv::UpdateQVSettings(
        Program().ini, Values(), [this] { return SavePlotLocations(Program().ini, txtPlotterLoc, txtPlotStyleLoc); });
    if (outcome.release2004OrLater)
        Program().Release2004OrLater = *outcome.release2004OrLater;
    // Whatever was written is in use from now on, also when a check stopped the rest.
    emit settingsWritten();
    if (outcome.message) {
        Dialogs().message(*outcome.message);
        focusField(outcome.focus);
    }
    return outcome.saved;
}

void frmFileLocation::focusField(OptionsField field)
{
    QLineEdit* box = nullptr;
    int tab = TabAdvanced;
    switch (field) {
    case OptionsField::txtStartupSwitch:
        box = txtStartupSwitch;
        tab = TabStartupSwitches;
        break;
    case OptionsField::txtFieldDelim:
        box = txtFieldDelim;
        break;
    case OptionsField::txtFieldNum:
        box = txtFieldNum;
        break;
    case OptionsField::None:
        return;
    }
    tbsOptions->setCurrentIndex(tab);
    box->setFocus();
    box->selectAll();
}

void frmFileLocation::cmdok_Click()
{
    if (!UpdateQVSettings())
        return;
    cmdCancel->setEnabled(false);
    accept();
}

void frmFileLocation::cmdApply_Click()
{
    // Settings already written cannot be taken back by Cancel.
    if (UpdateQVSettings())
        cmdCancel->setEnabled(false);
}

} // namespace qv
