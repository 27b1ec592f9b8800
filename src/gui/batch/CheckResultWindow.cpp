#include "CheckResultWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace qv {

namespace {

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

// The verdict, line and entry columns as wide as their texts (the header's caption included), so no verdict
// is cut; a very long verdict stops at a width that leaves the other columns in view, its tip has it whole.
void fitResultColumns(QTreeView* view)
{
    constexpr int kWidestResult = 700;
    for (const int column : {CheckResultModel::ColResult, CheckResultModel::ColLine, CheckResultModel::ColEntry})
        view->resizeColumnToContents(column);
    if (view->header()->sectionSize(CheckResultModel::ColResult) > kWidestResult)
        view->header()->resizeSection(CheckResultModel::ColResult, kWidestResult);
}

} // namespace

CheckResultModel::CheckResultModel(BatchCheckReport report, QObject* parent)
    : QAbstractTableModel(parent), m_report(std::move(report))
{
    setProblemsOnly(false);
}

void CheckResultModel::setProblemsOnly(bool problemsOnly)
{
    beginResetModel();
    m_shownDrawings.clear();
    for (std::size_t i = 0; i < m_report.drawings.size(); ++i) {
        if (!problemsOnly || m_report.drawings.verdict(i) != CheckVerdict::Ok)
            m_shownDrawings.push_back(i);
    }
    endResetModel();
}

std::optional<DrawingCheck> CheckResultModel::drawingAt(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_shownDrawings.size())
        return std::nullopt;
    return m_report.drawings[m_shownDrawings[static_cast<std::size_t>(row)]];
}

int CheckResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shownDrawings.size());
}

int CheckResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CheckResultModel::data(const QModelIndex& index, int role) const
{
    const std::optional<DrawingCheck> drawing = drawingAt(index.row());
    if (!drawing)
        return {};
    const CheckVerdict verdict = verdictOf(*drawing);
    // A drawing the host does not reach shows nothing of its own, only why.
    const CheckProblem* problem =
        drawing->problem && verdict != CheckVerdict::NotReached ? &*drawing->problem : nullptr;
    if (role == Qt::ToolTipRole && index.column() == ColResult)
        return verdict == CheckVerdict::NotReached ? fromStd(describeCheck(*drawing) + ": " + m_report.stopReason)
                                                   : fromStd(describeCheck(*drawing));
    if (role == Qt::ToolTipRole && index.column() == ColDrawing)
        return fromStd(drawing->path);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case ColDrawing:
        return fromStd(drawing->path);
    case ColResult:
        if (verdict == CheckVerdict::NotReached)
            return QStringLiteral("Not reached");
        if (!problem)
            return drawing->unchecked > 0 ? QStringLiteral("OK (%1 not checked)").arg(drawing->unchecked)
                                          : QStringLiteral("OK");
        return (problem->warning ? QStringLiteral("Warning: ") : QStringLiteral("Error: ")) + fromStd(problem->message);
    case ColLine:
        return problem && problem->line > 0 ? QVariant(problem->line) : QVariant();
    case ColEntry:
        return problem ? fromStd(problem->entry) : QString();
    case ColAsking:
        return problem ? fromStd(problem->asking) : QString();
    case ColRoutine:
        return fromStd(drawing->routine);
    default:
        return {};
    }
}

QVariant CheckResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kHeaders[ColumnCount] = {"Drawing", "Result",          "Line",
                                                      "Entry",   "Host was asking", "Routine"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kHeaders[section]) : QVariant();
}

CheckResultWindow::CheckResultWindow(BatchCheckReport report, const QString& productCode, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCheckResult"));
    setWindowTitle(QStringLiteral("Check Batch"));
    resize(1180, 560);

    m_summaryLabel = new QLabel(fromStd(checkSummary(report, productCode.toStdString())), this);
    m_summaryLabel->setObjectName(QStringLiteral("lblCheckSummary"));
    m_summaryLabel->setWordWrap(true);
    auto* note = new QLabel(QStringLiteral("Warnings name layouts, page setups, views, layers, devices or tabs the "
                                           "check cannot see in the real drawings or on this machine: make sure they "
                                           "exist. After an error the host reads no more of the script: the drawings "
                                           "after it are not reached. Double-click a drawing to open its routine."),
                            this);
    note->setWordWrap(true);

    m_problemsOnlyCheck = new QCheckBox(QStringLiteral("&Show only drawings with problems"), this);
    m_problemsOnlyCheck->setObjectName(QStringLiteral("chkProblemsOnly"));

    m_model = new CheckResultModel(std::move(report), this);
    m_resultView = new QTreeView(this);
    m_resultView->setObjectName(QStringLiteral("lstvCheck"));
    m_resultView->setModel(m_model);
    m_resultView->setRootIsDecorated(false);
    m_resultView->setUniformRowHeights(true);
    m_resultView->setAlternatingRowColors(true);
    m_resultView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_resultView->setTextElideMode(Qt::ElideMiddle);
    m_resultView->header()->resizeSection(CheckResultModel::ColDrawing, 260);
    m_resultView->header()->resizeSection(CheckResultModel::ColResult, 300);
    m_resultView->header()->resizeSection(CheckResultModel::ColLine, 50);
    m_resultView->header()->resizeSection(CheckResultModel::ColEntry, 110);
    m_resultView->header()->resizeSection(CheckResultModel::ColAsking, 300);

    m_openRoutineButton = new QPushButton(QStringLiteral("&Open Routine"), this);
    m_openRoutineButton->setObjectName(QStringLiteral("cmdOpenRoutine"));
    m_closeButton = new QPushButton(QStringLiteral("&Close"), this);
    m_closeButton->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_problemsOnlyCheck);
    buttons->addStretch(1);
    buttons->addWidget(m_openRoutineButton);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summaryLabel);
    layout->addWidget(note);
    layout->addWidget(m_resultView, 1);
    layout->addLayout(buttons);

    connect(m_problemsOnlyCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_model->setProblemsOnly(on);
        fitResultColumns(m_resultView);
        if (m_model->rowCount() > 0)
            m_resultView->setCurrentIndex(m_model->index(0, 0));
        refreshButtons();
    });
    connect(m_resultView, &QTreeView::doubleClicked, this, &CheckResultWindow::openRoutineAt);
    connect(m_resultView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { refreshButtons(); });
    connect(m_openRoutineButton, &QPushButton::clicked, this, &CheckResultWindow::openCurrentRoutine);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);

    // With problems, they are what the user came for.
    const BatchCheckReport& shown = m_model->report();
    bool anyProblem = false;
    for (std::size_t i = 0; i < shown.drawings.size() && !anyProblem; ++i)
        anyProblem = shown.drawings.verdict(i) != CheckVerdict::Ok;
    m_problemsOnlyCheck->setChecked(anyProblem);
    fitResultColumns(m_resultView);
    if (m_model->rowCount() > 0)
        m_resultView->setCurrentIndex(m_model->index(0, 0));
    refreshButtons();
    m_closeButton->setDefault(true);
}

void CheckResultWindow::refreshButtons()
{
    const std::optional<DrawingCheck> drawing = m_model->drawingAt(m_resultView->currentIndex().row());
    m_openRoutineButton->setEnabled(drawing && !drawing->routine.empty());
}

void CheckResultWindow::openRoutineAt(const QModelIndex& index)
{
    const std::optional<DrawingCheck> drawing = m_model->drawingAt(index.row());
    if (drawing && drawing->problem && drawing->reached && !drawing->routine.empty())
        emit openRoutineRequested(fromStd(drawing->routine));
}

void CheckResultWindow::openCurrentRoutine()
{
    const std::optional<DrawingCheck> drawing = m_model->drawingAt(m_resultView->currentIndex().row());
    if (drawing && !drawing->routine.empty())
        emit openRoutineRequested(fromStd(drawing->routine));
}

} // namespace qv
