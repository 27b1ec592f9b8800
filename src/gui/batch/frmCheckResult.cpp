#include "frmCheckResult.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace qv {

namespace {

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
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
    m_shown.clear();
    for (std::size_t i = 0; i < m_report.drawings.size(); ++i) {
        if (!problemsOnly || m_report.drawings[i].problem)
            m_shown.push_back(i);
    }
    endResetModel();
}

const DrawingCheck* CheckResultModel::drawingAt(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_shown.size())
        return nullptr;
    return &m_report.drawings[m_shown[static_cast<std::size_t>(row)]];
}

int CheckResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int CheckResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CheckResultModel::data(const QModelIndex& index, int role) const
{
    const DrawingCheck* drawing = drawingAt(index.row());
    if (!drawing)
        return {};
    const CheckProblem* problem = drawing->problem ? &*drawing->problem : nullptr;
    if (role == Qt::ToolTipRole && index.column() == ColResult)
        return Text(DescribeCheck(*drawing));
    if (role == Qt::ToolTipRole && index.column() == ColDrawing)
        return Text(drawing->path);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case ColDrawing:
        return Text(drawing->path);
    case ColResult:
        if (!problem)
            return drawing->unchecked > 0 ? QStringLiteral("OK (%1 not checked)").arg(drawing->unchecked)
                                          : QStringLiteral("OK");
        return (problem->warning ? QStringLiteral("Warning: ") : QStringLiteral("Error: ")) + Text(problem->message);
    case ColLine:
        return problem && problem->line > 0 ? QVariant(problem->line) : QVariant();
    case ColEntry:
        return problem ? Text(problem->entry) : QString();
    case ColAsking:
        return problem ? Text(problem->asking) : QString();
    case ColRoutine:
        return Text(drawing->routine);
    default:
        return {};
    }
}

QVariant CheckResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kHeaders[ColumnCount] = {"Drawing", "Result", "Line", "Entry", "Host was asking",
                                                      "Routine"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kHeaders[section]) : QVariant();
}

frmCheckResult::frmCheckResult(BatchCheckReport report, const QString& productCode, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCheckResult"));
    setWindowTitle(QStringLiteral("Check Batch"));
    resize(1180, 560);

    lblCheckSummary = new QLabel(Text(CheckSummary(report, productCode.toStdString())), this);
    lblCheckSummary->setObjectName(QStringLiteral("lblCheckSummary"));
    lblCheckSummary->setWordWrap(true);
    auto* note = new QLabel(QStringLiteral("Warnings name layouts, page setups, views, layers or devices the check "
                                           "cannot see in the real drawings or on this machine: make sure they exist. "
                                           "Double-click a drawing to open its routine."),
                            this);
    note->setWordWrap(true);

    chkProblemsOnly = new QCheckBox(QStringLiteral("&Show only drawings with problems"), this);
    chkProblemsOnly->setObjectName(QStringLiteral("chkProblemsOnly"));

    m_model = new CheckResultModel(std::move(report), this);
    lstvCheck = new QTreeView(this);
    lstvCheck->setObjectName(QStringLiteral("lstvCheck"));
    lstvCheck->setModel(m_model);
    lstvCheck->setRootIsDecorated(false);
    lstvCheck->setUniformRowHeights(true);
    lstvCheck->setAlternatingRowColors(true);
    lstvCheck->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstvCheck->setTextElideMode(Qt::ElideMiddle);
    lstvCheck->header()->resizeSection(CheckResultModel::ColDrawing, 260);
    lstvCheck->header()->resizeSection(CheckResultModel::ColResult, 300);
    lstvCheck->header()->resizeSection(CheckResultModel::ColLine, 50);
    lstvCheck->header()->resizeSection(CheckResultModel::ColEntry, 110);
    lstvCheck->header()->resizeSection(CheckResultModel::ColAsking, 300);

    cmdOpenRoutine = new QPushButton(QStringLiteral("&Open Routine"), this);
    cmdOpenRoutine->setObjectName(QStringLiteral("cmdOpenRoutine"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkProblemsOnly);
    buttons->addStretch(1);
    buttons->addWidget(cmdOpenRoutine);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCheckSummary);
    layout->addWidget(note);
    layout->addWidget(lstvCheck, 1);
    layout->addLayout(buttons);

    connect(chkProblemsOnly, &QCheckBox::toggled, this, [this](bool on) {
        m_model->setProblemsOnly(on);
        if (m_model->rowCount() > 0)
            lstvCheck->setCurrentIndex(m_model->index(0, 0));
        refreshButtons();
    });
    connect(lstvCheck, &QTreeView::doubleClicked, this, &frmCheckResult::lstvCheck_DoubleClick);
    connect(lstvCheck->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { refreshButtons(); });
    connect(cmdOpenRoutine, &QPushButton::clicked, this, &frmCheckResult::cmdOpenRoutine_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    // With problems, they are what the user came for.
    const BatchCheckReport& shown = m_model->report();
    const bool anyProblem = std::any_of(shown.drawings.begin(), shown.drawings.end(),
                                        [](const DrawingCheck& d) { return d.problem.has_value(); });
    chkProblemsOnly->setChecked(anyProblem);
    if (m_model->rowCount() > 0)
        lstvCheck->setCurrentIndex(m_model->index(0, 0));
    refreshButtons();
    cmdClose->setDefault(true);
}

void frmCheckResult::refreshButtons()
{
    const DrawingCheck* drawing = m_model->drawingAt(lstvCheck->currentIndex().row());
    cmdOpenRoutine->setEnabled(drawing && !drawing->routine.empty());
}

void frmCheckResult::lstvCheck_DoubleClick(const QModelIndex& index)
{
    const DrawingCheck* drawing = m_model->drawingAt(index.row());
    if (drawing && drawing->problem && !drawing->routine.empty())
        emit openRoutine(Text(drawing->routine));
}

void frmCheckResult::cmdOpenRoutine_Click()
{
    const DrawingCheck* drawing = m_model->drawingAt(lstvCheck->currentIndex().row());
    if (drawing && !drawing->routine.empty())
        emit openRoutine(Text(drawing->routine));
}

} // namespace qv
