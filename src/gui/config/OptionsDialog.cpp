#include "OptionsDialog.h"

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
OptionsDialog::OptionsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFileLocation"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tbsOptions"));
    m_tabs->setUsesScrollButtons(false); // all five tabs in sight
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
        m_tabPages[std::size_t(i)] = tabs[i].page;
        tabs[i].page->setObjectName(QStringLiteral("picOptions_%1").arg(i));
        m_tabs->addTab(tabs[i].page, QString::fromLatin1(tabs[i].caption));
        m_tabs->setTabToolTip(i, QString::fromLatin1(tabs[i].tip));
    }

    m_okButton = makeDialogButton(this, "cmdok", QStringLiteral("OK"),
                                  QStringLiteral("Apply Changes and return to Main Screen"));
    m_okButton->setDefault(true);
    m_cancelButton = makeDialogButton(this, "cmdCancel", QStringLiteral("Cancel"),
                                      QStringLiteral("Cancel changes and return to Main Screen"));
    m_applyButton = makeDialogButton(this, "cmdApply", QStringLiteral("Apply"), QStringLiteral("Apply Changes"));
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_applyButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);

    connect(m_productButtons, &QButtonGroup::idClicked, this, &OptionsDialog::chooseProduct);
    connect(m_startCommandButtons, &QButtonGroup::idClicked, this, &OptionsDialog::chooseStartCommand);
    connect(m_windowStyleButtons, &QButtonGroup::idClicked, this, &OptionsDialog::chooseWindowStyle);
    connect(m_startupSwitchButtons, &QButtonGroup::idClicked, this, &OptionsDialog::chooseStartupSwitches);
    connect(m_fieldSortCheck, &QCheckBox::clicked, this, &OptionsDialog::updateSortFields);
    connect(m_browseExecutableButton, &QPushButton::clicked, this, &OptionsDialog::browseForExecutable);
    connect(m_browseDatabaseButton, &QPushButton::clicked, this, &OptionsDialog::browseForDatabase);
    connect(m_browseScriptFolderButton, &QPushButton::clicked, this, &OptionsDialog::browseForScriptFolder);
    connect(m_browsePlotterFolderButton, &QPushButton::clicked, this, &OptionsDialog::browseForPlotterFolder);
    connect(m_browsePlotStyleFolderButton, &QPushButton::clicked, this, &OptionsDialog::browseForPlotStyleFolder);
    connect(m_plotFilesHelpButton, &QPushButton::clicked, this, [] { showPlotLocationsHelp(userDialogs()); });
    connect(m_okButton, &QPushButton::clicked, this, &OptionsDialog::applyAndClose);
    connect(m_applyButton, &QPushButton::clicked, this, &OptionsDialog::apply);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    for (QLineEdit* edit : {m_locationEdits[0], m_locationEdits[1], m_locationEdits[2], m_fieldDelimiterEdit,
                            m_fieldNumberEdit, m_startupSwitchEdit, m_plotterFolderEdit, m_plotStyleFolderEdit})
        connect(edit, &QLineEdit::textChanged, this, &OptionsDialog::enableApply);

    loadSettings();
}

QWidget* OptionsDialog::buildFileLocationTab()
{
    auto* page = new QWidget(this);
    m_executableLabel = makeLabel(page, "lblCad", QString());
    m_databaseLabel = makeLabel(page, "lblDatabase", QString());
    m_scriptFolderLabel = makeLabel(page, "lblBatch", QStringLiteral("Batch.scr Location"));
    for (int i = 0; i < 3; ++i)
        m_locationEdits[std::size_t(i)] = makeEdit(page, QStringLiteral("txtAddress_%1").arg(i));
    m_locationEdits[0]->setMinimumWidth(380);
    m_browseExecutableButton = makeDialogButton(page, "cmdAcadBrowse", QStringLiteral("Browse"));
    m_browseDatabaseButton = makeDialogButton(page, "cmdDatabaseBrowse", QStringLiteral("Browse"));
    m_browseScriptFolderButton = makeDialogButton(page, "cmdbatchBrowse", QStringLiteral("Browse"),
                                                  QStringLiteral("Locate folder that script file will be created in."));
    auto* grid = new QGridLayout(page);
    const std::array<QLabel*, 3> labels{m_executableLabel, m_databaseLabel, m_scriptFolderLabel};
    const std::array<QPushButton*, 3> browse{m_browseExecutableButton, m_browseDatabaseButton,
                                             m_browseScriptFolderButton};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(labels[std::size_t(i)], 2 * i, 0, 1, 2);
        grid->addWidget(m_locationEdits[std::size_t(i)], 2 * i + 1, 0);
        grid->addWidget(browse[std::size_t(i)], 2 * i + 1, 1);
        labels[std::size_t(i)]->setBuddy(m_locationEdits[std::size_t(i)]);
    }
    grid->setRowStretch(6, 1);
    return page;
}

QWidget* OptionsDialog::buildVersionTab()
{
    auto* page = new QWidget(this);
    m_productGroup = makeGroup(page, "fraCadVer", QStringLiteral("CAD Version"));
    m_productButtons = new QButtonGroup(this);
    m_productButtons->setObjectName(QStringLiteral("optCadVer"));
    auto* grid = new QGridLayout(m_productGroup);
    for (const OptionsProduct& product : optionsProducts()) {
        QRadioButton* option =
            makeOption(m_productGroup, m_productButtons, "optCadVer", product.index, toQString(product.caption));
        option->setEnabled(product.userSelectable);
        grid->addWidget(option, product.index % 10, product.index / 10);
    }
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_productGroup);
    layout->addStretch();
    return page;
}

QWidget* OptionsDialog::buildAdvancedTab()
{
    auto* page = new QWidget(this);
    m_fieldSortGroup = makeGroup(page, "fraSortOption", QStringLiteral("Sort by Field"));
    m_fieldSortCheck = new QCheckBox(QStringLiteral("Switch on Field Sort Option"), m_fieldSortGroup);
    m_fieldSortCheck->setObjectName(QStringLiteral("chkSortOption"));
    const QString delimTip = QStringLiteral("Character that seperate each field eg -");
    const QString numberTip = QStringLiteral("Number of the field that you wish to sort by.");
    m_fieldDelimiterLabel = makeLabel(m_fieldSortGroup, "lblFieldDelim", QStringLiteral("Field Delimiter"));
    m_fieldDelimiterEdit = makeEdit(m_fieldSortGroup, QStringLiteral("txtFieldDelim"), {}, delimTip);
    m_fieldNumberLabel = makeLabel(m_fieldSortGroup, "lblFieldNum", QStringLiteral("Field Number"));
    m_fieldNumberEdit = makeEdit(m_fieldSortGroup, QStringLiteral("txtFieldNum"), {}, numberTip);
    m_fieldDelimiterLabel->setToolTip(delimTip);
    m_fieldNumberLabel->setToolTip(numberTip);
    m_fieldDelimiterLabel->setBuddy(m_fieldDelimiterEdit);
    m_fieldNumberLabel->setBuddy(m_fieldNumberEdit);
    m_fieldSortHelpLabel = makeLabel(m_fieldSortGroup, "lblExplainField", labelText(options_text::explainField()));
    m_fieldSortHelpLabel->setWordWrap(true);
    auto* sort = new QGridLayout(m_fieldSortGroup);
    sort->addWidget(m_fieldSortCheck, 0, 0, 1, 4);
    sort->addWidget(m_fieldDelimiterLabel, 1, 0);
    sort->addWidget(m_fieldDelimiterEdit, 1, 1);
    sort->addWidget(m_fieldNumberLabel, 1, 2);
    sort->addWidget(m_fieldNumberEdit, 1, 3);
    sort->addWidget(m_fieldSortHelpLabel, 2, 0, 1, 4);

    m_windowStyleGroup = makeGroup(page, "fraWindowStyle", QStringLiteral("AutoCAD Window Style"));
    m_windowStyleLabel = makeLabel(m_windowStyleGroup, "lblWindowStyle", QStringLiteral("Start AutoCAD with Window:"));
    m_windowStyleButtons = new QButtonGroup(this);
    m_windowStyleButtons->setObjectName(QStringLiteral("optWindowStyle"));
    auto* window = new QVBoxLayout(m_windowStyleGroup);
    window->addWidget(m_windowStyleLabel);
    int index = 0;
    for (const char* caption : {"Normal", "Minimized", "Maximized"})
        window->addWidget(makeOption(m_windowStyleGroup, m_windowStyleButtons, "optWindowStyle", index++,
                                     QString::fromLatin1(caption)));

    m_startCommandGroup = makeGroup(page, "fraStartEnd", QStringLiteral("Default Start Command"));
    m_startCommandButtons = new QButtonGroup(this);
    m_startCommandButtons->setObjectName(QStringLiteral("optStartEnd"));
    auto* start = new QVBoxLayout(m_startCommandGroup);
    start->addWidget(makeOption(m_startCommandGroup, m_startCommandButtons, "optStartEnd", 0,
                                QStringLiteral("Start with  \"Open\"")));
    start->addWidget(makeOption(m_startCommandGroup, m_startCommandButtons, "optStartEnd", 1,
                                QStringLiteral("Start with \"Recover\"")));

    auto* lower = new QHBoxLayout();
    lower->addWidget(m_windowStyleGroup);
    lower->addWidget(m_startCommandGroup);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_fieldSortGroup);
    layout->addLayout(lower);
    layout->addStretch();
    return page;
}

QWidget* OptionsDialog::buildStartupSwitchTab()
{
    auto* page = new QWidget(this);
    m_startupSwitchGroup = makeGroup(page, "fraStartSwitch", QStringLiteral("Startup Switches"));
    m_startupSwitchButtons = new QButtonGroup(this);
    m_startupSwitchButtons->setObjectName(QStringLiteral("optStartSwitch"));
    m_startupSwitchLabel = makeLabel(m_startupSwitchGroup, "lblStartupSwitch", QString());
    m_startupSwitchHelpLabel =
        makeLabel(m_startupSwitchGroup, "lblStartupSwitchExplain", toQString(options_text::kStartupSwitchExplain));
    m_startupSwitchHelpLabel->setWordWrap(true);
    m_startupSwitchEdit = makeEdit(m_startupSwitchGroup, QStringLiteral("txtStartupSwitch"));
    auto* layout = new QVBoxLayout(m_startupSwitchGroup);
    layout->addWidget(makeOption(m_startupSwitchGroup, m_startupSwitchButtons, "optStartSwitch", 0,
                                 QStringLiteral("No Extra Startup Switches")));
    layout->addWidget(makeOption(m_startupSwitchGroup, m_startupSwitchButtons, "optStartSwitch", 1,
                                 QStringLiteral("Extra Startup Switches")));
    layout->addWidget(m_startupSwitchHelpLabel);
    layout->addWidget(m_startupSwitchLabel);
    layout->addWidget(m_startupSwitchEdit);
    auto* outer = new QVBoxLayout(page);
    outer->addWidget(m_startupSwitchGroup);
    outer->addStretch();
    return page;
}

QWidget* OptionsDialog::buildPlotLocationTab()
{
    auto* page = new QWidget(this);
    m_plotLocationsGroup =
        makeGroup(page, "fraPlotLocations", QStringLiteral("Default PC3, Ctb and Stb File Location"));
    m_plotterFolderLabel =
        makeLabel(m_plotLocationsGroup, "lblPlotterLoc", QStringLiteral("Plotter Configuration Files (.pc3)"));
    m_plotterFolderEdit = makeEdit(m_plotLocationsGroup, QStringLiteral("txtPlotterLoc"));
    m_browsePlotterFolderButton = makeDialogButton(m_plotLocationsGroup, "cmdPlotLoc", QStringLiteral("Browse"));
    m_plotStyleFolderLabel =
        makeLabel(m_plotLocationsGroup, "lblPlotStyleLoc", QStringLiteral("Plot Style Tables (.ctb, .stb)"));
    m_plotStyleFolderEdit = makeEdit(m_plotLocationsGroup, QStringLiteral("txtPlotStyleLoc"));
    m_browsePlotStyleFolderButton =
        makeDialogButton(m_plotLocationsGroup, "cmdBrowsePlotStyle", QStringLiteral("Browse"));
    m_plotFilesHelpButton =
        makeDialogButton(m_plotLocationsGroup, "cmdWhere", QStringLiteral("Where are my current files located"));
    m_plotterFolderLabel->setBuddy(m_plotterFolderEdit);
    m_plotStyleFolderLabel->setBuddy(m_plotStyleFolderEdit);
    auto* grid = new QGridLayout(m_plotLocationsGroup);
    grid->addWidget(m_plotterFolderLabel, 0, 0, 1, 2);
    grid->addWidget(m_plotterFolderEdit, 1, 0);
    grid->addWidget(m_browsePlotterFolderButton, 1, 1);
    grid->addWidget(m_plotStyleFolderLabel, 2, 0, 1, 2);
    grid->addWidget(m_plotStyleFolderEdit, 3, 0);
    grid->addWidget(m_browsePlotStyleFolderButton, 3, 1);
    grid->addWidget(m_plotFilesHelpButton, 4, 0, 1, 2, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_plotLocationsGroup);
    layout->addStretch();
    return page;
}

void OptionsDialog::loadSettings()
{
    const SettingsFile& ini = programState().settings;
    m_executableLabel->setText(toQString(options_text::cadLabel()));
    m_databaseLabel->setText(toQString(options_text::databaseLabel()));
    for (QLineEdit* box : m_locationEdits)
        box->clear();
    m_tabs->setCurrentIndex(TabFileLocation);

    loadFileLocations();

    const OptionsProduct* product = findOptionsProduct(readProductCode(ini));
    if (product) {
        m_productButtons->button(product->index)->setChecked(true);
        chooseProduct(product->index);
    }

    const int startEnd = startEndIndex(readOpenCommand(ini));
    m_startCommandButtons->button(startEnd)->setChecked(true);
    chooseStartCommand(startEnd);

    const int windowStyle = windowStyleIndex(readHostWindowState(ini));
    m_windowStyleButtons->button(windowStyle)->setChecked(true);
    chooseWindowStyle(windowStyle);

    const int startSwitch = startSwitchIndex(readStartupSwitchOption(ini));
    m_startupSwitchButtons->button(startSwitch)->setChecked(true);
    chooseStartupSwitches(startSwitch);

    loadFieldSort();
    loadPlotLocations(programState().settings, m_plotterFolderEdit, m_plotStyleFolderEdit);
    m_applyButton->setEnabled(false);
}

void OptionsDialog::loadFileLocations()
{
    const ProgramState& program = programState();
    m_loadedExecutable = toQString(readCadExecutable(program.settings));
    m_locationEdits[0]->setText(m_loadedExecutable);
    m_locationEdits[1]->setText(toQString(readDatabasePath(program.settings)));
    m_locationEdits[2]->setText(toQString(readScriptFolder(program.settings, program.scriptFolder)));
    m_startupSwitchEdit->setText(toQString(readStartupSwitchText(program.settings)));
}

void OptionsDialog::loadFieldSort()
{
    std::string delimiter;
    std::string number;
    const std::string sort = readFieldSortOption(programState().settings, delimiter, number);
    m_fieldSortCheck->setChecked(sort == "ON");
    if (delimiter != kUnknown)
        m_fieldDelimiterEdit->setText(toQString(delimiter));
    if (number != kUnknown)
        m_fieldNumberEdit->setText(toQString(number));
    updateSortFields();
}

void OptionsDialog::enableApply()
{
    m_applyButton->setEnabled(true);
}

void OptionsDialog::chooseProduct(int index)
{
    const auto products = optionsProducts();
    if (index < 0 || std::size_t(index) >= products.size())
        return;
    const OptionsProduct& product = products[std::size_t(index)];
    m_productCode = toQString(product.code);
    if (!product.switchLabel.empty())
        m_startupSwitchLabel->setText(toQString(product.switchLabel));
    enableApply();
}

void OptionsDialog::chooseStartCommand(int index)
{
    m_startCommand = toQString(startOptionFor(index));
    enableApply();
}

void OptionsDialog::chooseWindowStyle(int index)
{
    m_windowState = toQString(windowStateFor(index));
    enableApply();
}

void OptionsDialog::chooseStartupSwitches(int index)
{
    m_startupSwitchOption = toQString(startSwitchFor(index));
    const bool extra = index == 1;
    m_startupSwitchLabel->setVisible(extra);
    m_startupSwitchHelpLabel->setVisible(extra);
    m_startupSwitchEdit->setEnabled(extra);
    enableApply();
}

void OptionsDialog::updateSortFields()
{
    const bool on = m_fieldSortCheck->isChecked();
    for (QWidget* field : std::initializer_list<QWidget*>{
             m_fieldDelimiterEdit, m_fieldNumberEdit, m_fieldDelimiterLabel, m_fieldNumberLabel, m_fieldSortHelpLabel})
        field->setEnabled(on);
    enableApply();
}

QString OptionsDialog::folderOf(const QString& path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String(kUnknown))
        return QString();
    return QFileInfo(trimmed).absolutePath();
}

void OptionsDialog::browseForExecutable()
{
    const QStringList chosen = userDialogs().openFileNames(QStringLiteral("Locate the CAD Program"),
                                                           executableFileFilter(options_text::kExecutableFilter),
                                                           folderOf(m_locationEdits[0]->text()), false);
    if (chosen.isEmpty())
        return;
    m_locationEdits[0]->setText(QDir::toNativeSeparators(chosen.first()));
}

void OptionsDialog::browseForDatabase()
{
    const QStringList chosen = userDialogs().openFileNames(QStringLiteral("Locate the Routine Database"),
                                                           toQString(options_text::kDatabaseFilter),
                                                           folderOf(m_locationEdits[1]->text()), false);
    if (chosen.isEmpty())
        return;
    const QString path = QDir::toNativeSeparators(chosen.first());
    m_locationEdits[1]->setText(path);
    enableApply();
    // The database is taken into use at once, whether or not the dialog is confirmed.
    if (const Status written =
            programState().settings.writeValue(keys::kDatabaseSection, keys::kDatabaseKey, toStd(path));
        !written) {
        showError(written.error(), "cmdDatabaseBrowse_Click");
        return;
    }
    emit databaseChanged();
}

void OptionsDialog::browseForScriptFolder()
{
    m_browseTarget = QStringLiteral("batch");
    const QString current = m_locationEdits[2]->text().trimmed();
    const std::optional<QString> folder =
        userDialogs().browseFolder(QStringLiteral("Select the Folder for the Script File"), current);
    if (folder && !folder->isEmpty())
        m_locationEdits[2]->setText(QDir::toNativeSeparators(*folder));
}

void OptionsDialog::browseForPlotterFolder()
{
    if (pickPlotterFolder(userDialogs(), m_plotterFolderEdit))
        enableApply();
}

void OptionsDialog::browseForPlotStyleFolder()
{
    if (pickPlotStyleFolder(userDialogs(), m_plotStyleFolderEdit))
        enableApply();
}

OptionsValues OptionsDialog::currentValues() const
{
    OptionsValues values;
    values.cadExecutable = toStd(m_locationEdits[0]->text());
    values.databasePath = toStd(m_locationEdits[1]->text());
    values.scriptFolder = toStd(m_locationEdits[2]->text());
    values.productCode = toStd(m_productCode);
    values.startOption = toStd(m_startCommand);
    values.windowState = toStd(m_windowState);
    values.startSwitch = toStd(m_startupSwitchOption);
    values.switchText = toStd(m_startupSwitchEdit->text());
    values.sortOn = m_fieldSortCheck->isChecked();
    values.fieldDelimiter = toStd(m_fieldDelimiterEdit->text());
    values.fieldNumber = toStd(m_fieldNumberEdit->text());
    return values;
}

bool OptionsDialog::writeSettings()
{
    const UpdateOutcome outcome = qv::writeOptions(programState().settings, currentValues(), [this] {
        return savePlotLocations(programState().settings, m_plotterFolderEdit, m_plotStyleFolderEdit);
    });
    if (outcome.release2004OrLater)
        programState().release2004OrLater = *outcome.release2004OrLater;
    // Whatever was written is in use from now on, also when a check stopped the rest.
    emit settingsWritten();
    if (outcome.message) {
        userDialogs().message(*outcome.message);
        focusField(outcome.focus);
    }
    return outcome.saved;
}

void OptionsDialog::focusField(OptionsField field)
{
    QLineEdit* box = nullptr;
    int tab = TabAdvanced;
    switch (field) {
    case OptionsField::StartupSwitch:
        box = m_startupSwitchEdit;
        tab = TabStartupSwitches;
        break;
    case OptionsField::FieldDelimiter:
        box = m_fieldDelimiterEdit;
        break;
    case OptionsField::FieldNumber:
        box = m_fieldNumberEdit;
        break;
    case OptionsField::None:
        return;
    }
    m_tabs->setCurrentIndex(tab);
    box->setFocus();
    box->selectAll();
}

void OptionsDialog::warnAboutExecutable()
{
    // A program typed or chosen here that cannot be started is saved all the same, but never without a word.
    const QString path = m_locationEdits[0]->text();
    if (path == m_loadedExecutable)
        return;
    m_loadedExecutable = path;
    if (const auto warning = executableWarning(toStd(path), checkExecutable(path)))
        userDialogs().message(*warning);
}

void OptionsDialog::applyAndClose()
{
    if (!writeSettings())
        return;
    warnAboutExecutable();
    m_cancelButton->setEnabled(false);
    accept();
}

void OptionsDialog::apply()
{
    // Settings already written cannot be taken back by Cancel.
    if (!writeSettings())
        return;
    m_cancelButton->setEnabled(false);
    warnAboutExecutable();
}

} // namespace qv
