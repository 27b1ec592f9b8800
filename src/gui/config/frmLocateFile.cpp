#include "frmLocateFile.h"

#include "SearchRoots.h"
#include "app/Controls.h"
#include "app/Program.h"
#include "config/ConfigControls.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <mutex>

namespace qv {
namespace {

std::vector<std::string> PlatformRoots(LocateMode mode)
{
    return mode == LocateMode::ACADEXE ? platform::ExecutableSearchRoots() : platform::PlotFileSearchRoots();
}

frmLocateFile::SearchRootsService& RootsHook()
{
    static frmLocateFile::SearchRootsService service = &PlatformRoots;
    return service;
}

frmLocateFile::FileSearchService& SearchHook()
{
    static frmLocateFile::FileSearchService service = &FindFileInTrees;
    return service;
}

} // namespace

// What the searching thread hands over: the folder it is in, how many it has entered, and its result.
struct frmLocateFile::Progress
{
    std::mutex mutex;
    std::string folder;
    long folders = 0;
    std::string hit;
};

void frmLocateFile::SetSearchRoots(SearchRootsService service)
{
    RootsHook() = service ? std::move(service) : &PlatformRoots;
}

void frmLocateFile::SetFileSearch(FileSearchService service)
{
    SearchHook() = service ? std::move(service) : &FindFileInTrees;
}

frmLocateFile::frmLocateFile(LocateMode mode, QString executableName, QCheckBox* check, QLabel* label, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_executableName(std::move(executableName)),
      m_texts(LocateTextsFor(mode, ToStd(m_executableName))), m_check(check), m_label(label)
{
    setObjectName(QStringLiteral("frmLocateFile"));
    setModal(true);
    setWindowTitle(m_texts.windowCaption.empty() ? QStringLiteral("Locate AutoCAD Executable File")
                                                 : ToQString(m_texts.windowCaption));

    fraLocateFile = new QGroupBox(m_texts.frameCaption.empty() ? QStringLiteral("Locate Executable File")
                                                               : ToQString(m_texts.frameCaption),
                                  this);
    fraLocateFile->setObjectName(QStringLiteral("fraLocateFile"));
    lblFileLocate = MakeLabel(fraLocateFile, "lblFileLocate", ToQString(m_texts.fileLabel));
    txtAddress = new QLineEdit(fraLocateFile);
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    txtAddress->setMinimumWidth(420);
    lblFileLocate->setBuddy(txtAddress);
    cmdDatabaseBrowse = MakeDialogButton(fraLocateFile, "cmdDatabaseBrowse", QStringLiteral("Browse"));
    lblLocateFileExplain = MakeLabel(fraLocateFile, "lblLocateFileExplain", QString());
    lblLocateFileExplain->setWordWrap(true);
    lblSearchFolder = MakeLabel(fraLocateFile, "lblSearchFolder", QString());
    prgSearch = new QProgressBar(fraLocateFile);
    prgSearch->setObjectName(QStringLiteral("prgSearch"));
    prgSearch->setRange(0, 0); // how far a search has come cannot be known: it just shows it is busy
    prgSearch->setTextVisible(false);
    cmdStop = MakeDialogButton(fraLocateFile, "cmdStop", QStringLiteral("Stop"), QStringLiteral("Stop searching"));
    cmdok = MakeDialogButton(this, "cmdok", QStringLiteral("Next"));
    cmdok->setDefault(true);

    auto* address = new QHBoxLayout();
    address->addWidget(txtAddress, 1);
    address->addWidget(cmdDatabaseBrowse);
    auto* search = new QHBoxLayout();
    search->addWidget(prgSearch, 1);
    search->addWidget(cmdStop);
    auto* frame = new QVBoxLayout(fraLocateFile);
    frame->addWidget(lblLocateFileExplain);
    frame->addWidget(lblFileLocate);
    frame->addLayout(address);
    frame->addWidget(lblSearchFolder);
    frame->addLayout(search);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(cmdok);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize); // grows with the texts the steps show
    layout->addWidget(fraLocateFile);
    layout->addLayout(buttons);

    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, &frmLocateFile::showProgress);
    connect(cmdok, &QPushButton::clicked, this, &frmLocateFile::cmdok_Click);
    connect(cmdDatabaseBrowse, &QPushButton::clicked, this, &frmLocateFile::cmdDatabaseBrowse_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmLocateFile::cmdStop_Click);
    setSearching(false);
}

frmLocateFile::~frmLocateFile()
{
    stopSearch();
}

void frmLocateFile::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_searched)
        return;
    m_searched = true;
    CentreOnScreen(this);
    switch (m_mode) {
    case LocateMode::ACADEXE:
        SearchExecutable();
        break;
    case LocateMode::PC3:
        SearchPlotterConfig();
        break;
    case LocateMode::CTB:
        SearchPlotStyles();
        break;
    }
}

void frmLocateFile::SearchExecutable()
{
    beginSearch(SearchFileName(LocateMode::ACADEXE, ToStd(m_executableName)), RootsHook()(LocateMode::ACADEXE));
}

void frmLocateFile::SearchPlotterConfig()
{
    beginSearch(SearchFileName(LocateMode::PC3, {}), RootsHook()(LocateMode::PC3));
}

void frmLocateFile::SearchPlotStyles()
{
    beginSearch(SearchFileName(LocateMode::CTB, {}), RootsHook()(LocateMode::CTB));
}

void frmLocateFile::beginSearch(const std::string& fileName, std::vector<std::string> roots)
{
    if (m_label) {
        m_labelBefore = m_label->text();
        m_label->setText(ToQString(m_texts.searching));
    }
    m_progress = std::make_shared<Progress>();
    m_stop = std::stop_source();
    FileSearchOptions options;
    options.neverEnter = platform::FoldersNeverSearched();
    options.stop = m_stop.get_token();
    options.onFolder = [progress = m_progress](const std::string& folder) {
        const std::lock_guard lock(progress->mutex);
        progress->folder = folder;
        ++progress->folders;
    };
    m_thread = QThread::create([progress = m_progress, search = SearchHook(), roots = std::move(roots), fileName,
                                options = std::move(options)] {
        std::string hit = search(roots, fileName, options);
        const std::lock_guard lock(progress->mutex);
        progress->hit = std::move(hit);
    });
    connect(m_thread, &QThread::finished, this, &frmLocateFile::searchDone);
    setSearching(true);
    m_thread->start();
}

void frmLocateFile::setSearching(bool searching)
{
    prgSearch->setVisible(searching);
    cmdStop->setVisible(searching);
    cmdStop->setEnabled(searching);
    lblSearchFolder->setVisible(searching);
    txtAddress->setEnabled(!searching);
    cmdDatabaseBrowse->setEnabled(!searching);
    cmdok->setEnabled(!searching);
    if (searching) {
        setCursor(Qt::BusyCursor);
        m_progressTimer->start();
    } else {
        unsetCursor();
        m_progressTimer->stop();
    }
}

void frmLocateFile::showProgress()
{
    if (!m_progress)
        return;
    std::string folder;
    long folders = 0;
    {
        const std::lock_guard lock(m_progress->mutex);
        folder = m_progress->folder;
        folders = m_progress->folders;
    }
    lblSearchFolder->setText(QStringLiteral("Searching (%1 folders): ").arg(folders) + ToQString(ShortenPath(folder)));
}

void frmLocateFile::searchDone()
{
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    std::string hit;
    {
        const std::lock_guard lock(m_progress->mutex);
        hit = m_progress->hit;
    }
    setSearching(false);
    txtAddress->setText(QString::fromStdString(LocatedAddress(m_mode, hit)).trimmed());
    lblFileLocate->setText(ToQString(m_texts.fileLabel));
    lblLocateFileExplain->setText(LabelText(hit.empty() ? m_texts.notFound : m_texts.found));
    cmdok->setText(QStringLiteral("Next"));
    emit searchFinished();
}

void frmLocateFile::cmdStop_Click()
{
    m_stop.request_stop();
    cmdStop->setEnabled(false);
}

void frmLocateFile::stopSearch()
{
    if (!m_thread)
        return;
    m_stop.request_stop();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

void frmLocateFile::cmdDatabaseBrowse_Click()
{
    const QString current = txtAddress->text().trimmed();
    if (m_mode == LocateMode::ACADEXE) {
        const QString folder = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
        const QStringList chosen =
            Dialogs().openFileNames(QStringLiteral("Locate the CAD Program"),
                                    ToQString(ExecutableFilter(ToStd(m_executableName))), folder, false);
        if (!chosen.isEmpty())
            txtAddress->setText(QDir::toNativeSeparators(chosen.first()));
        return;
    }
    const std::optional<QString> folder = Dialogs().browseFolder(windowTitle(), current);
    if (folder && !folder->isEmpty())
        txtAddress->setText(QDir::toNativeSeparators(*folder));
}

void frmLocateFile::cmdok_Click()
{
    if (txtAddress->text().trimmed().isEmpty()) {
        Dialogs().message(EmptyAddressMessage());
        txtAddress->setFocus();
        txtAddress->selectAll();
        return;
    }
    switch (m_mode) {
    case LocateMode::ACADEXE:
        SaveExecutableLocation();
        break;
    case LocateMode::PC3:
        SavePlotterConfigLocation();
        break;
    case LocateMode::CTB:
        SavePlotStyleLocation();
        break;
    }
}

void frmLocateFile::SaveExecutableLocation()
{
    saveLocation(&setup_text::ExecutableLocated);
}

void frmLocateFile::SavePlotterConfigLocation()
{
    saveLocation(&setup_text::PlotterConfigLocated);
}

void frmLocateFile::SavePlotStyleLocation()
{
    saveLocation(&setup_text::PlotStyleLocated);
}

bool frmLocateFile::saveLocation(std::string (*located)(std::string_view))
{
    const Result<std::string> saved = SaveLocation(Program().ini, m_mode, ToStd(txtAddress->text()));
    if (!saved) {
        // Not written: the step is not ticked, and the user may try another place.
        ShowError(saved.error(), "LocateAcadcmdOK_Click");
        return false;
    }
    if (m_check)
        m_check->setChecked(true);
    if (m_label)
        m_label->setText(LabelText(located(saved.value())));
    accept();
    return true;
}

void frmLocateFile::reject()
{
    stopSearch();
    // Nothing was located: the checklist shows the step as it stood.
    if (m_label && !m_labelBefore.isNull())
        m_label->setText(m_labelBefore);
    QDialog::reject();
}

} // namespace qv
