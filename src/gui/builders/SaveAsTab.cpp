#include "SaveAsTab.h"

#include "app/Controls.h"
#include "app/Program.h"
#include "config/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

namespace {

QButtonGroup* makeRadioGroup(QWidget* owner, QWidget* parent, const char* name, std::initializer_list<QString> captions,
                             QBoxLayout* layout)
{
    auto* group = new QButtonGroup(owner);
    group->setObjectName(QString::fromLatin1(name));
    int index = 0;
    for (const QString& caption : captions) {
        auto* option = new QRadioButton(caption, parent);
        option->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(index));
        group->addButton(option, index++);
        layout->addWidget(option);
    }
    return group;
}

} // namespace

SaveAsTab::SaveAsTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SaveAsTab"));
    auto* layout = new QVBoxLayout(this);
    m_saveAsGroup = new QGroupBox(QStringLiteral("Save As Drawing"), this);
    m_saveAsGroup->setObjectName(QStringLiteral("fraSaveAs"));
    auto* frame = new QVBoxLayout(m_saveAsGroup);

    auto* top = new QHBoxLayout();
    auto* type = new QGroupBox(QStringLiteral("Type"), m_saveAsGroup);
    auto* typeLayout = new QVBoxLayout(type);
    m_fileKindButtons =
        makeRadioGroup(this, type, "OptSaveAsType", {QStringLiteral("Drawing"), QStringLiteral("Dxf")}, typeLayout);
    top->addWidget(type);
    auto* release = new QVBoxLayout();
    m_releaseLabel = makeLabel(m_saveAsGroup, "lblSaveType", QStringLiteral("Save As Type:"));
    m_releaseCombo = new QComboBox(m_saveAsGroup);
    m_releaseCombo->setObjectName(QStringLiteral("cboSaveType"));
    m_releaseCombo->setEditable(false);
    m_releaseLabel->setBuddy(m_releaseCombo);
    release->addWidget(m_releaseLabel);
    release->addWidget(m_releaseCombo);
    release->addStretch();
    top->addLayout(release, 1);
    frame->addLayout(top);

    auto* folder = new QGroupBox(QStringLiteral("Select Folder to Save to"), m_saveAsGroup);
    auto* folderGrid = new QGridLayout(folder);
    m_folderLabel = makeLabel(folder, "lblSaveInFolder", QStringLiteral("Save in Folder:"));
    m_folderEdit = new QLineEdit(toQString(kDefaultFolder), folder);
    m_folderEdit->setObjectName(QStringLiteral("txtSaveAs_Folder"));
    m_folderLabel->setBuddy(m_folderEdit);
    m_browseFolderButton = makeDialogButton(folder, "cmbSaveAsBrowse", QStringLiteral("Browse"),
                                            QStringLiteral("Locate folder to save to"));
    m_lispNoteLabel =
        makeLabel(folder, "LblLispExplain16",
                  QStringLiteral("This option requires Lisp and is only available using AutoCAD full version. "));
    folderGrid->addWidget(m_folderLabel, 0, 0);
    folderGrid->addWidget(m_folderEdit, 0, 1);
    folderGrid->addWidget(m_browseFolderButton, 0, 2);
    folderGrid->addWidget(m_lispNoteLabel, 1, 0, 1, 3);
    folderGrid->setColumnStretch(1, 1);
    frame->addWidget(folder);

    auto* dxf = new QHBoxLayout();
    m_dxfFormatGroup = new QGroupBox(QStringLiteral("Format"), m_saveAsGroup);
    m_dxfFormatGroup->setObjectName(QStringLiteral("FraDxfFormat"));
    auto* formatLayout = new QVBoxLayout(m_dxfFormatGroup);
    m_dxfFormatButtons = makeRadioGroup(this, m_dxfFormatGroup, "OptSaveAsFormat",
                                        {QStringLiteral("ASCII"), QStringLiteral("Binary")}, formatLayout);
    m_accuracyLabel = makeLabel(m_saveAsGroup, "lblDxfAccuracy", QStringLiteral("Accuracy"));
    m_accuracyCombo = new QComboBox(m_saveAsGroup);
    m_accuracyCombo->setObjectName(QStringLiteral("cboDxfAccuracy"));
    m_accuracyCombo->setEditable(false);
    m_accuracyLabel->setBuddy(m_accuracyCombo);
    m_previewCheck = new QCheckBox(QStringLiteral("Thumbnail Preview"), m_saveAsGroup);
    m_previewCheck->setObjectName(QStringLiteral("chkSaveAsPreview"));
    dxf->addWidget(m_dxfFormatGroup);
    dxf->addWidget(m_accuracyLabel);
    dxf->addWidget(m_accuracyCombo);
    dxf->addWidget(m_previewCheck);
    dxf->addStretch();
    frame->addLayout(dxf);
    frame->addStretch();
    layout->addWidget(m_saveAsGroup, 1);

    auto* buttons = new QHBoxLayout();
    m_saveRoutineButton = makeDialogButton(this, "cmdSaveAsSave", QStringLiteral("Save Routine"),
                                           QStringLiteral("Save Routine to Database"));
    m_backButton =
        makeDialogButton(this, "cmdSaveAsBack", QStringLiteral("<< Back to Main"), QStringLiteral("Back to Main Menu"));
    buttons->addStretch();
    buttons->addWidget(m_saveRoutineButton);
    buttons->addWidget(m_backButton);
    layout->addLayout(buttons);

    connect(m_fileKindButtons, &QButtonGroup::idClicked, this, [this](int index) {
        if (index == static_cast<int>(SaveAsType::Dxf))
            showDxfReleases();
        else
            showDrawingReleases();
    });
    connect(m_dxfFormatButtons, &QButtonGroup::idClicked, this, &SaveAsTab::chooseDxfFormat);
    connect(m_browseFolderButton, &QPushButton::clicked, this, &SaveAsTab::browseForFolder);
    connect(m_saveRoutineButton, &QPushButton::clicked, this, &SaveAsTab::buildRoutine);
    connect(m_backButton, &QPushButton::clicked, this, &SaveAsTab::backRequested);
}

void SaveAsTab::setUp()
{
    m_product = readProductCode(programState().settings);
    m_accuracyCombo->clear();
    for (int i = 1; i <= kMaxDxfAccuracy; ++i)
        m_accuracyCombo->addItem(QString::number(i));
    m_accuracyCombo->setCurrentText(toQString(kDefaultDxfAccuracy));
    m_dxfFormatButtons->button(0)->setChecked(true);
    chooseDxfFormat(0);
    m_fileKindButtons->button(static_cast<int>(SaveAsType::Drawing))->setChecked(true);
    showDrawingReleases();
    m_setUpFlag = QStringLiteral("yes");
}

void SaveAsTab::showDrawingReleases()
{
    showReleases(qv::fillDrawingReleases(m_product));
}

void SaveAsTab::showDxfReleases()
{
    showReleases(qv::fillDxfReleases(m_product));
}

void SaveAsTab::showReleases(const SaveAsReleases& releases)
{
    m_saveAsGroup->setTitle(toQString(releases.frameCaption));
    m_releaseCombo->clear();
    for (std::string_view item : releases.items)
        m_releaseCombo->addItem(toQString(item));
    // A text shown first that is not one of the entries (the 2007 products) stands until a choice.
    const int shown = m_releaseCombo->findText(toQString(releases.shown));
    m_releaseCombo->setPlaceholderText(shown < 0 ? toQString(releases.shown) : QString());
    m_releaseCombo->setCurrentIndex(shown);

    for (QWidget* control : std::initializer_list<QWidget*>{m_releaseCombo, m_releaseLabel, m_saveRoutineButton})
        control->setEnabled(releases.usable);
    for (QWidget* control : std::initializer_list<QWidget*>{m_folderEdit, m_browseFolderButton, m_folderLabel})
        control->setEnabled(releases.folderEnabled);
    m_lispNoteLabel->setVisible(releases.lispNoteShown);

    for (QWidget* control : std::initializer_list<QWidget*>{m_accuracyCombo, m_accuracyLabel, m_dxfFormatGroup})
        control->setVisible(releases.dxfControlsShown);
    m_previewCheck->setVisible(releases.dxfControlsShown && releases.previewShown);
    if (releases.accuracy)
        m_accuracyCombo->setCurrentText(toQString(*releases.accuracy));
}

QString SaveAsTab::shownRelease() const
{
    return m_releaseCombo->currentIndex() >= 0 ? m_releaseCombo->currentText() : m_releaseCombo->placeholderText();
}

void SaveAsTab::chooseDxfFormat(int index)
{
    m_accuracyCombo->setEnabled(index == 0);
}

void SaveAsTab::browseForFolder()
{
    const QString typed = m_folderEdit->text().trimmed();
    const QString start = QFileInfo(typed).isDir() ? typed : QString();
    if (const std::optional<QString> folder =
            userDialogs().browseFolder(QStringLiteral("Select Folder to Save to"), start))
        m_folderEdit->setText(QDir::toNativeSeparators(*folder));
}

SaveAsChoices SaveAsTab::readChoices() const
{
    SaveAsChoices choices;
    choices.release = toStd(shownRelease());
    choices.folder = toStd(m_folderEdit->text());
    choices.binary = m_dxfFormatButtons->checkedId() == 1;
    choices.accuracy = toStd(m_accuracyCombo->currentText());
    choices.preview = m_previewCheck->isChecked();
    return choices;
}

void SaveAsTab::buildRoutine()
{
    if (m_fileKindButtons->checkedId() == static_cast<int>(SaveAsType::Dxf))
        buildDxfRoutine();
    else
        buildDrawingRoutine();
}

void SaveAsTab::buildDrawingRoutine()
{
    finish(qv::buildSaveAsRoutine(readChoices(), m_product));
}

void SaveAsTab::buildDxfRoutine()
{
    finish(qv::buildDxfRoutine(readChoices(), m_product));
}

void SaveAsTab::finish(const SaveAsRoutineResult& result)
{
    if (!result.ok()) {
        userDialogs().message(*result.refusal);
        if (result.focus == SaveAsField::Folder) {
            m_folderEdit->setFocus();
            m_folderEdit->selectAll();
        } else if (result.focus == SaveAsField::Release) {
            m_releaseCombo->setFocus();
        } else if (result.focus == SaveAsField::Accuracy) {
            m_accuracyCombo->setFocus();
        }
        return;
    }
    if (result.notice)
        userDialogs().message(*result.notice);
    emit routineBuilt(toQString(result.text));
}

} // namespace qv
