#include "LocateFileDialog.h"

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

std::vector<std::string> platformSearchRoots(LocateMode mode)
{
    return mode == LocateMode::ACADEXE ? platform::executableSearchRoots() : platform::plotFileSearchRoots();
}

LocateFileDialog::SearchRootsService& searchRootsService()
{
    static LocateFileDialog::SearchRootsService service = &platformSearchRoots;
    return service;
}

LocateFileDialog::FileSearchService& fileSearchService()
{
    static LocateFileDialog::FileSearchService service = &findFileInTrees;
    return service;
}

} // namespace

// What the searching thread hands over: the folder it is in, how many it has entered, and its result.
struct LocateFileDialog::Progress
{
    std::mutex mutex;
    std::string folder;
    long foldersEntered = 0;
    std::string hit;
};

void LocateFileDialog::setSearchRoots(SearchRootsService service)
{
    searchRootsService() = service ? std::move(service) : &platformSearchRoots;
}

void LocateFileDialog::setFileSearch(FileSearchService service)
{
    fileSearchService() = service ? std::move(service) : &findFileInTrees;
}

LocateFileDialog::LocateFileDialog(LocateMode mode, QString executableName, QCheckBox* check, QLabel* label,
                                   QWidget* parent)
    : QDialog(parent), m_mode(mode), m_executableName(std::move(executableName)),
      m_texts(locateTextsFor(mode, toStd(m_executableName))), m_stepCheck(check), m_stepLabel(label)
{
    setObjectName(QStringLiteral("frmLocateFile"));
    setModal(true);
    setWindowTitle(m_texts.windowCaption.empty() ? QStringLiteral("Locate AutoCAD Executable File")
                                                 : toQString(m_texts.windowCaption));

    m_locateGroup = new QGroupBox(m_texts.frameCaption.empty() ? QStringLiteral("Locate Executable File")
                                                               : toQString(m_texts.frameCaption),
                                  this);
    m_locateGroup->setObjectName(QStringLiteral("fraLocateFile"));
    m_locationLabel = makeLabel(m_locateGroup, "lblFileLocate", toQString(m_texts.fileLabel));
    m_locationEdit = new QLineEdit(m_locateGroup);
    m_locationEdit->setObjectName(QStringLiteral("txtAddress"));
    m_locationEdit->setMinimumWidth(420);
    m_locationLabel->setBuddy(m_locationEdit);
    m_browseButton = makeDialogButton(m_locateGroup, "cmdDatabaseBrowse", QStringLiteral("Browse"));
    m_explanationLabel = makeLabel(m_locateGroup, "lblLocateFileExplain", QString());
    m_explanationLabel->setWordWrap(true);
    m_searchFolderLabel = makeLabel(m_locateGroup, "lblSearchFolder", QString());
    m_searchProgress = new QProgressBar(m_locateGroup);
    m_searchProgress->setObjectName(QStringLiteral("prgSearch"));
    m_searchProgress->setRange(0, 0); // how far a search has come cannot be known: it just shows it is busy
    m_searchProgress->setTextVisible(false);
    m_stopButton = makeDialogButton(m_locateGroup, "cmdStop", QStringLiteral("Stop"), QStringLiteral("Stop searching"));
    m_nextButton = makeDialogButton(this, "cmdok", QStringLiteral("Next"));
    m_nextButton->setDefault(true);

    auto* address = new QHBoxLayout();
    address->addWidget(m_locationEdit, 1);
    address->addWidget(m_browseButton);
    auto* search = new QHBoxLayout();
    search->addWidget(m_searchProgress, 1);
    search->addWidget(m_stopButton);
    auto* frame = new QVBoxLayout(m_locateGroup);
    frame->addWidget(m_explanationLabel);
    frame->addWidget(m_locationLabel);
    frame->addLayout(address);
    frame->addWidget(m_searchFolderLabel);
    frame->addLayout(search);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(m_nextButton);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize); // grows with the texts the steps show
    layout->addWidget(m_locateGroup);
    layout->addLayout(buttons);

    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, &LocateFileDialog::showProgress);
    connect(m_nextButton, &QPushButton::clicked, this, &LocateFileDialog::confirmLocation);
    connect(m_browseButton, &QPushButton::clicked, this, &LocateFileDialog::browseForLocation);
    connect(m_stopButton, &QPushButton::clicked, this, &LocateFileDialog::requestStop);
    setSearching(false);
}

LocateFileDialog::~LocateFileDialog()
{
    stopSearch();
}

void LocateFileDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_searched)
        return;
    m_searched = true;
    if (!m_storedAddress.isEmpty()) {
        m_locationEdit->setText(m_storedAddress);
        m_explanationLabel->setText(labelText(m_texts.stored));
        m_nextButton->setText(QStringLiteral("Next"));
        emit searchFinished();
        return;
    }
    switch (m_mode) {
    case LocateMode::ACADEXE:
        searchForExecutable();
        break;
    case LocateMode::PC3:
        searchForPlotterConfigs();
        break;
    case LocateMode::CTB:
        searchForPlotStyles();
        break;
    }
}

void LocateFileDialog::searchForExecutable()
{
    beginSearch(searchFileName(LocateMode::ACADEXE, toStd(m_executableName)),
                searchRootsService()(LocateMode::ACADEXE));
}

void LocateFileDialog::searchForPlotterConfigs()
{
    beginSearch(searchFileName(LocateMode::PC3, {}), searchRootsService()(LocateMode::PC3));
}

void LocateFileDialog::searchForPlotStyles()
{
    beginSearch(searchFileName(LocateMode::CTB, {}), searchRootsService()(LocateMode::CTB));
}

void LocateFileDialog::beginSearch(const std::string& fileName, std::vector<std::string> roots)
{
    if (m_stepLabel) {
        m_stepTextBefore = m_stepLabel->text();
        m_stepLabel->setText(toQString(m_texts.searching));
    }
    m_progress = std::make_shared<Progress>();
    m_stopSource = std::stop_source();
    FileSearchOptions options;
    options.neverEnter = platform::foldersNeverSearched();
    options.stop = m_stopSource.get_token();
    options.onFolder = [progress = m_progress](const std::string& folder) {
        const std::lock_guard lock(progress->mutex);
        progress->folder = folder;
        ++progress->foldersEntered;
    };
    m_searchThread = QThread::create([progress = m_progress, search = fileSearchService(), roots = std::move(roots),
                                      fileName, options = std::move(options)] {
        std::string hit = search(roots, fileName, options);
        const std::lock_guard lock(progress->mutex);
        progress->hit = std::move(hit);
    });
    connect(m_searchThread, &QThread::finished, this, &LocateFileDialog::searchDone);
    setSearching(true);
    m_searchThread->start();
}

void LocateFileDialog::setSearching(bool searching)
{
    m_searchProgress->setVisible(searching);
    m_stopButton->setVisible(searching);
    m_stopButton->setEnabled(searching);
    m_searchFolderLabel->setVisible(searching);
    m_locationEdit->setEnabled(!searching);
    m_browseButton->setEnabled(!searching);
    m_nextButton->setEnabled(!searching);
    if (searching) {
        setCursor(Qt::BusyCursor);
        m_progressTimer->start();
    } else {
        unsetCursor();
        m_progressTimer->stop();
    }
}

void LocateFileDialog::showProgress()
{
    if (!m_progress)
        return;
    std::string folder;
    long folders = 0;
    {
        const std::lock_guard lock(m_progress->mutex);
        folder = m_progress->folder;
        folders = m_progress->foldersEntered;
    }
    m_searchFolderLabel->setText(QStringLiteral("Searching (%1 folders): ").arg(folders) +
                                 toQString(shortenPath(folder)));
}

void LocateFileDialog::searchDone()
{
    if (!m_searchThread)
        return;
    m_searchThread->wait();
    delete m_searchThread;
    m_searchThread = nullptr;
    std::string hit;
    {
        const std::lock_guard lock(m_progress->mutex);
        hit = m_progress->hit;
    }
    setSearching(false);
    m_locationEdit->setText(QString::fromStdString(locatedAddress(m_mode, hit)).trimmed());
    m_locationLabel->setText(toQString(m_texts.fileLabel));
    m_explanationLabel->setText(labelText(hit.empty() ? m_texts.notFound : m_texts.found));
    m_nextButton->setText(QStringLiteral("Next"));
    emit searchFinished();
}

void LocateFileDialog::requestStop()
{
    m_stopSource.request_stop();
    m_stopButton->setEnabled(false);
}

void LocateFileDialog::stopSearch()
{
    if (!m_searchThread)
        return;
    m_stopSource.request_stop();
    m_searchThread->wait();
    delete m_searchThread;
    m_searchThread = nullptr;
}

void LocateFileDialog::browseForLocation()
{
    const QString current = m_locationEdit->text().trimmed();
    if (m_mode == LocateMode::ACADEXE) {
        const QString folder = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
        const QStringList chosen =
            userDialogs().openFileNames(QStringLiteral("Locate the CAD Program"),
                                        executableFileFilter(executableFilter(toStd(m_executableName))), folder, false);
        if (!chosen.isEmpty())
            m_locationEdit->setText(QDir::toNativeSeparators(chosen.first()));
        return;
    }
    const std::optional<QString> folder = userDialogs().browseFolder(windowTitle(), current);
    if (folder && !folder->isEmpty())
        m_locationEdit->setText(QDir::toNativeSeparators(*folder));
}

void LocateFileDialog::confirmLocation()
{
    if (m_locationEdit->text().trimmed().isEmpty()) {
        userDialogs().message(emptyAddressMessage());
        m_locationEdit->setFocus();
        m_locationEdit->selectAll();
        return;
    }
    switch (m_mode) {
    case LocateMode::ACADEXE:
        saveExecutableLocation();
        break;
    case LocateMode::PC3:
        savePlotterConfigLocation();
        break;
    case LocateMode::CTB:
        savePlotStyleLocation();
        break;
    }
}

void LocateFileDialog::saveExecutableLocation()
{
    recordLocation(&setup_text::executableLocated);
}

void LocateFileDialog::savePlotterConfigLocation()
{
    recordLocation(&setup_text::plotterConfigLocated);
}

void LocateFileDialog::savePlotStyleLocation()
{
    recordLocation(&setup_text::plotStyleLocated);
}

bool LocateFileDialog::recordLocation(std::string (*located)(std::string_view))
{
    // A stored place confirmed as it stands is not written again: the settings keep their text.
    const Result<std::string> saved =
        m_locationEdit->text() == m_storedAddress
            ? Result<std::string>(toStd(m_storedAddress))
            : saveLocation(programState().settings, m_mode, toStd(m_locationEdit->text()));
    if (!saved) {
        // Not written: the step is not ticked, and the user may try another place.
        showError(saved.error(), "LocateAcadcmdOK_Click");
        return false;
    }
    if (m_stepCheck)
        m_stepCheck->setChecked(true);
    if (m_stepLabel)
        m_stepLabel->setText(labelText(located(saved.value())));
    accept();
    return true;
}

void LocateFileDialog::reject()
{
    stopSearch();
    // Nothing was located: the checklist shows the step as it stood.
    if (m_stepLabel && !m_stepTextBefore.isNull())
        m_stepLabel->setText(m_stepTextBefore);
    QDialog::reject();
}

} // namespace qv
