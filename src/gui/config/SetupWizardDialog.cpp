#include "SetupWizardDialog.h"

#include "ScriptLock.h"
#include "app/Controls.h"
#include "app/Program.h"
#include "config/ConfigControls.h"
#include "config/LocateFileDialog.h"
#include "config/PlotFilesSetupDialog.h"
#include "config/ProductChoiceDialog.h"
#include "config/SettingsKeys.h"
#include "config/SetupWizard.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr const char* kStartCaption = "Start";
constexpr const char* kFinishCaption = "Finish";

} // namespace

SetupWizardDialog::SetupWizardDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);
    setMinimumWidth(560);

    auto* checklist = new QGridLayout();
    const auto row = [&](QCheckBox*& check, QLabel*& label, const char* checkName, const char* labelName,
                         std::string_view before) {
        check = makeStatusCheck(this, checkName);
        label = makeLabel(this, labelName, labelText(before));
        // Room for the two lines a step shows once it is done, so nothing moves as the steps complete.
        label->setMinimumHeight(2 * label->fontMetrics().lineSpacing() + 4);
        const int at = checklist->rowCount();
        checklist->addWidget(check, at, 0, Qt::AlignTop);
        checklist->addWidget(label, at, 1);
    };
    row(m_productCheck, m_productLabel, "Chk_AcadVer", "lbl_AcadVer", setup_text::kAcadVerBefore);
    row(m_databaseCheck, m_databaseLabel, "Chk_DatAddress", "lbl_DatAddress", setup_text::kDatAddressBefore);
    row(m_scriptFolderCheck, m_scriptFolderLabel, "Chk_ScrAddress", "lbl_ScrAddress", setup_text::kScrAddressBefore);
    row(m_executableCheck, m_executableLabel, "Chk_ExeAddress", "lbl_ExeAddress", setup_text::kExeAddressBefore);
    checklist->setColumnStretch(1, 1);

    m_explanationLabel = makeLabel(this, "lblExplainEnd", labelText(setup_text::wizardOpening()));
    m_explanationLabel->setWordWrap(true);
    m_explanationLabel->setMinimumHeight(6 * m_explanationLabel->fontMetrics().lineSpacing());
    m_startFinishButton = makeDialogButton(this, "cmdSetupExit", QString::fromLatin1(kStartCaption));
    m_startFinishButton->setDefault(true);
    m_cancelButton = makeDialogButton(this, "cmdCancel", QStringLiteral("Cancel"));

    layOutWizardStep(this, checklist, m_explanationLabel, nullptr, {m_startFinishButton, m_cancelButton});

    connect(m_startFinishButton, &QPushButton::clicked, this, &SetupWizardDialog::startOrFinish);
    connect(m_cancelButton, &QPushButton::clicked, this, &SetupWizardDialog::cancelSetup);
}

void SetupWizardDialog::startOrFinish()
{
    if (m_startFinishButton->text() != QLatin1String(kStartCaption)) {
        if (const Status written = markSetupDone(programState().settings); !written) {
            showError(written.error(), "cmdSetupExit_Click");
            return;
        }
        accept();
        return;
    }

    m_running = true;
    m_startFinishButton->setEnabled(false);
    m_cancelButton->setEnabled(false);
    // A second run starts every step from what the settings hold and writes only what the user changes.
    const StoredSetup stored = readStoredSetup(programState().settings);
    locateRoutineDatabase();
    locateScriptFolder();

    ProductChoiceDialog version(this, this);
    if (stored.product)
        version.startFrom(*stored.product);
    if (version.exec() != QDialog::Accepted || !m_productCheck->isChecked()) {
        // Closing the product window goes back: without a product the setup can neither go on nor finish.
        goBack();
        return;
    }

    LocateFileDialog executable(LocateMode::ACADEXE, m_executableName, m_executableCheck, m_executableLabel, this);
    // The executable stays when the product stayed, or when it is the program the chosen product names.
    const CadProduct* chosen = readStoredSetup(programState().settings).product;
    const QString storedExecutable = toQString(stored.executable);
    if (chosen == stored.product ||
        QFileInfo(storedExecutable).fileName().compare(m_executableName, Qt::CaseInsensitive) == 0)
        executable.startFrom(storedExecutable);
    executable.exec();

    if (userDialogs().message(setup_text::plotFilesQuestion()) == MessageAnswer::Yes) {
        PlotFilesSetupDialog plotFiles(this);
        plotFiles.exec();
    }

    m_explanationLabel->setText(labelText(setup_text::wizardComplete()));
    m_startFinishButton->setText(QString::fromLatin1(kFinishCaption));
    m_startFinishButton->setEnabled(true);
    m_running = false;
}

void SetupWizardDialog::goBack()
{
    m_productCheck->setChecked(false);
    m_productLabel->setText(labelText(setup_text::kAcadVerBefore));
    m_startFinishButton->setEnabled(true);
    m_cancelButton->setEnabled(true);
    m_running = false;
}

void SetupWizardDialog::locateRoutineDatabase()
{
    const DatabaseLocation location = qv::locateRoutineDatabase(programState().settings, programState().databaseFolder);
    if (!location.written) {
        showError(location.written.error(), "LocateRoutineDatabase");
        return;
    }
    m_databaseCheck->setChecked(true);
    m_databaseLabel->setText(labelText(setup_text::databaseLocated(location.path)));
}

void SetupWizardDialog::locateScriptFolder()
{
    // The folder already set up, else the settings folder; until a folder takes a script, the user picks
    // another. There is no way round this step: a cancelled folder dialog is offered again.
    const std::string stored = readStoredSetup(programState().settings).scriptFolder;
    std::string folder = stored.empty() ? programState().settingsFolder : stored;
    const WriteProbe probe = [](const std::string& path) { return platform::probeForWriting(path); };
    while (const std::optional<UserMessage> refused = testWriteFolder(folder, probe)) {
        userDialogs().message(*refused);
        const std::optional<QString> chosen = userDialogs().browseFolder(
            QStringLiteral("Select a Read/Write Folder for the Script File"), toQString(folder));
        if (chosen && !chosen->isEmpty())
            folder = toStd(QDir::toNativeSeparators(*chosen));
    }
    m_setupStatus = toQString(folder);
    if (const Status written = folder == stored ? Status{}
                                                : programState().settings.writeValue(keys::kBatchWriteSection,
                                                                                     keys::kBatchWriteKey, folder);
        !written) {
        showError(written.error(), "LocateScriptFolder");
        return;
    }
    m_scriptFolderCheck->setChecked(true);
    m_scriptFolderLabel->setText(labelText(setup_text::scriptLocated(folder)));
}

void SetupWizardDialog::cancelSetup()
{
    reject();
}

void SetupWizardDialog::reject()
{
    if (m_running)
        return;
    // Once the steps are done only Finish records the setup; leaving now simply leaves it for next time.
    if (m_cancelButton->isEnabled()) {
        if (userDialogs().message(setup_text::cancelQuestion()) != MessageAnswer::Yes)
            return;
        m_setupStatus = QString::fromLatin1(kQuit);
    }
    QDialog::reject();
}

} // namespace qv
