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

QButtonGroup* MakeOptions(QWidget* owner, QWidget* parent, const char* name, std::initializer_list<QString> captions,
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
    fraSaveAs = new QGroupBox(QStringLiteral("Save As Drawing"), this);
    fraSaveAs->setObjectName(QStringLiteral("fraSaveAs"));
    auto* frame = new QVBoxLayout(fraSaveAs);

    auto* top = new QHBoxLayout();
    auto* type = new QGroupBox(QStringLiteral("Type"), fraSaveAs);
    auto* typeLayout = new QVBoxLayout(type);
    OptSaveAsType =
        MakeOptions(this, type, "OptSaveAsType", {QStringLiteral("Drawing"), QStringLiteral("Dxf")}, typeLayout);
    top->addWidget(type);
    auto* release = new QVBoxLayout();
    lblSaveType = MakeLabel(fraSaveAs, "lblSaveType", QStringLiteral("Save As Type:"));
    cboSaveType = new QComboBox(fraSaveAs);
    cboSaveType->setObjectName(QStringLiteral("cboSaveType"));
    cboSaveType->setEditable(false);
    lblSaveType->setBuddy(cboSaveType);
    release->addWidget(lblSaveType);
    release->addWidget(cboSaveType);
    release->addStretch();
    top->addLayout(release, 1);
    frame->addLayout(top);

    auto* folder = new QGroupBox(QStringLiteral("Select Folder to Save to"), fraSaveAs);
    auto* folderGrid = new QGridLayout(folder);
    lblSaveInFolder = MakeLabel(folder, "lblSaveInFolder", QStringLiteral("Save in Folder:"));
    txtSaveAs_Folder = new QLineEdit(ToQString(kDefaultFolder), folder);
    txtSaveAs_Folder->setObjectName(QStringLiteral("txtSaveAs_Folder"));
    lblSaveInFolder->setBuddy(txtSaveAs_Folder);
    cmbSaveAsBrowse = MakeDialogButton(folder, "cmbSaveAsBrowse", QStringLiteral("Browse"),
                                       QStringLiteral("Locate folder to save to"));
    LblLispExplain16 =
        MakeLabel(folder, "LblLispExplain16",
                  QStringLiteral("This option requires Lisp and is only available using AutoCAD full version. "));
    folderGrid->addWidget(lblSaveInFolder, 0, 0);
    folderGrid->addWidget(txtSaveAs_Folder, 0, 1);
    folderGrid->addWidget(cmbSaveAsBrowse, 0, 2);
    folderGrid->addWidget(LblLispExplain16, 1, 0, 1, 3);
    folderGrid->setColumnStretch(1, 1);
    frame->addWidget(folder);

    auto* dxf = new QHBoxLayout();
    FraDxfFormat = new QGroupBox(QStringLiteral("Format"), fraSaveAs);
    FraDxfFormat->setObjectName(QStringLiteral("FraDxfFormat"));
    auto* formatLayout = new QVBoxLayout(FraDxfFormat);
    OptSaveAsFormat = MakeOptions(this, FraDxfFormat, "OptSaveAsFormat",
                                  {QStringLiteral("ASCII"), QStringLiteral("Binary")}, formatLayout);
    lblDxfAccuracy = MakeLabel(fraSaveAs, "lblDxfAccuracy", QStringLiteral("Accuracy"));
    cboDxfAccuracy = new QComboBox(fraSaveAs);
    cboDxfAccuracy->setObjectName(QStringLiteral("cboDxfAccuracy"));
    cboDxfAccuracy->setEditable(false);
    lblDxfAccuracy->setBuddy(cboDxfAccuracy);
    chkSaveAsPreview = new QCheckBox(QStringLiteral("Thumbnail Preview"), fraSaveAs);
    chkSaveAsPreview->setObjectName(QStringLiteral("chkSaveAsPreview"));
    dxf->addWidget(FraDxfFormat);
    dxf->addWidget(lblDxfAccuracy);
    dxf->addWidget(cboDxfAccuracy);
    dxf->addWidget(chkSaveAsPreview);
    dxf->addStretch();
    frame->addLayout(dxf);
    frame->addStretch();
    layout->addWidget(fraSaveAs, 1);

    auto* buttons = new QHBoxLayout();
    cmdSaveAsSave = MakeDialogButton(this, "cmdSaveAsSave", QStringLiteral("Save Routine"),
                                     QStringLiteral("Save Routine to Database"));
    cmdSaveAsBack =
        MakeDialogButton(this, "cmdSaveAsBack", QStringLiteral("<< Back to Main"), QStringLiteral("Back to Main Menu"));
    buttons->addStretch();
    buttons->addWidget(cmdSaveAsSave);
    buttons->addWidget(cmdSaveAsBack);
    layout->addLayout(buttons);

    connect(OptSaveAsType, &QButtonGroup::idClicked, this, [this](int index) {
        if (index == static_cast<int>(SaveAsType::Dxf))
            FillDxfReleases();
        else
            FillDrawingReleases();
    });
    connect(OptSaveAsFormat, &QButtonGroup::idClicked, this, &SaveAsTab::OptSaveAsFormat_Click);
    connect(cmbSaveAsBrowse, &QPushButton::clicked, this, &SaveAsTab::cmbSaveAsBrowse_Click);
    connect(cmdSaveAsSave, &QPushButton::clicked, this, &SaveAsTab::cmdSaveAsSave_Click);
    connect(cmdSaveAsBack, &QPushButton::clicked, this, &SaveAsTab::backRequested);
}

void SaveAsTab::SetupSaveAsTab()
{
    m_product = GetAcadVer(Program().ini);
    cboDxfAccuracy->clear();
    for (int i = 1; i <= kMaxDxfAccuracy; ++i)
        cboDxfAccuracy->addItem(QString::number(i));
    cboDxfAccuracy->setCurrentText(ToQString(kDefaultDxfAccuracy));
    OptSaveAsFormat->button(0)->setChecked(true);
    OptSaveAsFormat_Click(0);
    OptSaveAsType->button(static_cast<int>(SaveAsType::Drawing))->setChecked(true);
    FillDrawingReleases();
    lblSaveAs_d = QStringLiteral("yes");
}

void SaveAsTab::FillDrawingReleases()
{
    showReleases(qv::FillDrawingReleases(m_product));
}

void SaveAsTab::FillDxfReleases()
{
    showReleases(qv::FillDxfReleases(m_product));
}

void SaveAsTab::showReleases(const SaveAsReleases& releases)
{
    fraSaveAs->setTitle(ToQString(releases.frameCaption));
    cboSaveType->clear();
    for (std::string_view item : releases.items)
        cboSaveType->addItem(ToQString(item));
    // A text shown first that is not one of the entries (the 2007 products) stands until a choice.
    const int shown = cboSaveType->findText(ToQString(releases.shown));
    cboSaveType->setPlaceholderText(shown < 0 ? ToQString(releases.shown) : QString());
    cboSaveType->setCurrentIndex(shown);

    for (QWidget* control : std::initializer_list<QWidget*>{cboSaveType, lblSaveType, cmdSaveAsSave})
        control->setEnabled(releases.usable);
    for (QWidget* control : std::initializer_list<QWidget*>{txtSaveAs_Folder, cmbSaveAsBrowse, lblSaveInFolder})
        control->setEnabled(releases.folderEnabled);
    LblLispExplain16->setVisible(releases.lispNoteShown);

    for (QWidget* control : std::initializer_list<QWidget*>{cboDxfAccuracy, lblDxfAccuracy, FraDxfFormat})
        control->setVisible(releases.dxfControlsShown);
    chkSaveAsPreview->setVisible(releases.dxfControlsShown && releases.previewShown);
    if (releases.accuracy)
        cboDxfAccuracy->setCurrentText(ToQString(*releases.accuracy));
}

QString SaveAsTab::shownRelease() const
{
    return cboSaveType->currentIndex() >= 0 ? cboSaveType->currentText() : cboSaveType->placeholderText();
}

void SaveAsTab::OptSaveAsFormat_Click(int index)
{
    cboDxfAccuracy->setEnabled(index == 0);
}

void SaveAsTab::cmbSaveAsBrowse_Click()
{
    const QString typed = txtSaveAs_Folder->text().trimmed();
    const QString start = QFileInfo(typed).isDir() ? typed : QString();
    if (const std::optional<QString> folder = Dialogs().browseFolder(QStringLiteral("Select Folder to Save to"), start))
        txtSaveAs_Folder->setText(QDir::toNativeSeparators(*folder));
}

SaveAsChoices SaveAsTab::readChoices() const
{
    SaveAsChoices choices;
    choices.release = ToStd(shownRelease());
    choices.folder = ToStd(txtSaveAs_Folder->text());
    choices.binary = OptSaveAsFormat->checkedId() == 1;
    choices.accuracy = ToStd(cboDxfAccuracy->currentText());
    choices.preview = chkSaveAsPreview->isChecked();
    return choices;
}

void SaveAsTab::cmdSaveAsSave_Click()
{
    if (OptSaveAsType->checkedId() == static_cast<int>(SaveAsType::Dxf))
        BuildDxfRoutine();
    else
        BuildSaveAsRoutine();
}

void SaveAsTab::BuildSaveAsRoutine()
{
    finish(qv::BuildSaveAsRoutine(readChoices(), m_product));
}

void SaveAsTab::BuildDxfRoutine()
{
    finish(qv::BuildDxfRoutine(readChoices(), m_product));
}

void SaveAsTab::finish(const SaveAsRoutineResult& result)
{
    if (!result.ok()) {
        Dialogs().message(*result.refusal);
        if (result.focus == SaveAsField::Folder) {
            txtSaveAs_Folder->setFocus();
            txtSaveAs_Folder->selectAll();
        } else if (result.focus == SaveAsField::Release) {
            cboSaveType->setFocus();
        } else if (result.focus == SaveAsField::Accuracy) {
            cboDxfAccuracy->setFocus();
        }
        return;
    }
    if (result.notice)
        Dialogs().message(*result.notice);
    emit routineBuilt(ToQString(result.text));
}

} // namespace qv
