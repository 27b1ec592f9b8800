#include "frmSetup.h"

#include "ScriptLock.h"
#include "app/Controls.h"
#include "app/Program.h"
#include "config/ConfigControls.h"
#include "config/FrmAcadVer.h"
#include "config/SettingsKeys.h"
#include "config/SetupWizard.h"
#include "config/frmLocateFile.h"
#include "config/frmSetPlotFiles.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr const char* kStart = "Start";
constexpr const char* kFinish = "Finish";

} // namespace

frmSetup::frmSetup(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);
    setMinimumWidth(560);

    auto* checklist = new QGridLayout();
    const auto row = [&](QCheckBox*& check, QLabel*& label, const char* checkName, const char* labelName,
                         std::string_view before) {
        check = MakeStatusCheck(this, checkName);
        label = MakeLabel(this, labelName, LabelText(before));
        // Room for the two lines a step shows once it is done, so nothing moves as the steps complete.
        label->setMinimumHeight(2 * label->fontMetrics().lineSpacing() + 4);
        const int at = checklist->rowCount();
        checklist->addWidget(check, at, 0, Qt::AlignTop);
        checklist->addWidget(label, at, 1);
    };
    row(Chk_AcadVer, lbl_AcadVer, "Chk_AcadVer", "lbl_AcadVer", setup_text::kAcadVerBefore);
    row(Chk_DatAddress, lbl_DatAddress, "Chk_DatAddress", "lbl_DatAddress", setup_text::kDatAddressBefore);
    row(Chk_ScrAddress, lbl_ScrAddress, "Chk_ScrAddress", "lbl_ScrAddress", setup_text::kScrAddressBefore);
    row(Chk_ExeAddress, lbl_ExeAddress, "Chk_ExeAddress", "lbl_ExeAddress", setup_text::kExeAddressBefore);
    checklist->setColumnStretch(1, 1);

    lblExplainEnd = MakeLabel(this, "lblExplainEnd", LabelText(setup_text::WizardOpening()));
    lblExplainEnd->setWordWrap(true);
    lblExplainEnd->setMinimumHeight(6 * lblExplainEnd->fontMetrics().lineSpacing());
    cmdSetupExit = MakeDialogButton(this, "cmdSetupExit", QString::fromLatin1(kStart));
    cmdSetupExit->setDefault(true);
    cmdCancel = MakeDialogButton(this, "cmdCancel", QStringLiteral("Cancel"));

    LayOutWizardStep(this, checklist, lblExplainEnd, nullptr, {cmdSetupExit, cmdCancel});

    connect(cmdSetupExit, &QPushButton::clicked, this, &frmSetup::cmdSetupExit_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSetup::cmdCancel_Click);
}

void frmSetup::cmdSetupExit_Click()
{
    if (cmdSetupExit->text() != QLatin1String(kStart)) {
        if (const Status written = MarkSetupDone(Program().ini); !written) {
            ShowError(written.error(), "cmdSetupExit_Click");
            return;
        }
        accept();
        return;
    }

    m_running = true;
    cmdSetupExit->setEnabled(false);
    cmdCancel->setEnabled(false);
    LocateRoutineDatabase();
    LocateScriptFolder();

    FrmAcadVer version(this, this);
    version.exec();

    frmLocateFile executable(LocateMode::ACADEXE, ExecutableName, Chk_ExeAddress, lbl_ExeAddress, this);
    executable.exec();

    if (Dialogs().message(setup_text::PlotFilesQuestion()) == MessageAnswer::Yes) {
        frmSetPlotFiles plotFiles(this);
        plotFiles.exec();
    }

    lblExplainEnd->setText(LabelText(setup_text::WizardComplete()));
    cmdSetupExit->setText(QString::fromLatin1(kFinish));
    cmdSetupExit->setEnabled(true);
    m_running = false;
}

void frmSetup::LocateRoutineDatabase()
{
    const DatabaseLocation location = qv::LocateRoutineDatabase(Program().ini, Program().databaseFolder);
    if (!location.written) {
        ShowError(location.written.error(), "LocateRoutineDatabase");
        return;
    }
    Chk_DatAddress->setChecked(true);
    lbl_DatAddress->setText(LabelText(setup_text::DatabaseLocated(location.path)));
}

void frmSetup::LocateScriptFolder()
{
    // The settings folder first; until a folder takes a script, the user picks another. There is no way
    // round this step: a cancelled folder dialog is offered again.
    std::string folder = Program().settingsFolder;
    const WriteProbe probe = [](const std::string& path) { return platform::FileIsOpen(path); };
    while (const std::optional<UserMessage> refused = TestWriteFolder(folder, probe)) {
        Dialogs().message(*refused);
        const std::optional<QString> chosen =
            Dialogs().browseFolder(QStringLiteral("Select a Read/Write Folder for the Script File"), ToQString(folder));
        if (chosen && !chosen->isEmpty())
            folder = ToStd(QDir::toNativeSeparators(*chosen));
    }
    SetupStatus = ToQString(folder);
    if (const Status written = Program().ini.WriteValue(keys::kBatchWriteSection, keys::kBatchWriteKey, folder);
        !written) {
        ShowError(written.error(), "LocateScriptFolder");
        return;
    }
    Chk_ScrAddress->setChecked(true);
    lbl_ScrAddress->setText(LabelText(setup_text::ScriptLocated(folder)));
}

void frmSetup::cmdCancel_Click()
{
    reject();
}

void frmSetup::reject()
{
    if (m_running)
        return;
    // Once the steps are done only Finish records the setup; leaving now simply leaves it for next time.
    if (cmdCancel->isEnabled()) {
        if (Dialogs().message(setup_text::CancelQuestion()) != MessageAnswer::Yes)
            return;
        SetupStatus = QString::fromLatin1(kQuit);
    }
    QDialog::reject();
}

} // namespace qv
