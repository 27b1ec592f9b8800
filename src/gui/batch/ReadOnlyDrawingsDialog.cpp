#include "ReadOnlyDrawingsDialog.h"

#include "app/ConsoleUserDialogs.h"
#include "app/Program.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {

ReadOnlyDrawingsDialog::ReadOnlyDrawingsDialog(const std::vector<ReadOnlyDrawing>& drawings, QString& decision,
                                               QWidget* parent)
    : QDialog(parent), m_decision(decision)
{
    setObjectName(QStringLiteral("frmReadOnlyDwg"));
    setWindowTitle(QStringLiteral("Read Only Drawings"));
    auto* layout = new QVBoxLayout(this);

    m_drawingsGroup = new QGroupBox(QStringLiteral("Drawings Read Only"), this);
    m_drawingsGroup->setObjectName(QStringLiteral("Frame1"));
    auto* listLayout = new QVBoxLayout(m_drawingsGroup);
    m_drawingsView = new QTreeWidget(m_drawingsGroup);
    m_drawingsView->setObjectName(QStringLiteral("lstViewReadOnly"));
    m_drawingsView->setRootIsDecorated(false);
    m_drawingsView->setHeaderLabels({QStringLiteral("Drawing File"), QStringLiteral("Folder")});
    for (const ReadOnlyDrawing& drawing : drawings)
        new QTreeWidgetItem(m_drawingsView, {toQString(drawing.file), toQString(drawing.folder)});
    listLayout->addWidget(m_drawingsView);
    layout->addWidget(m_drawingsGroup, 1);

    m_messageLabel = new QLabel(toQString(std::string(kReadOnlyWindowMessage)), this);
    m_messageLabel->setObjectName(QStringLiteral("lblReadOnlyMessage"));
    m_messageLabel->setWordWrap(true);
    layout->addWidget(m_messageLabel);

    m_proceedGroup = new QGroupBox(QStringLiteral("Proceed Options"), this);
    m_proceedGroup->setObjectName(QStringLiteral("Frame2"));
    auto* options = new QVBoxLayout(m_proceedGroup);
    m_decisionButtons = new QButtonGroup(this);
    m_decisionButtons->setObjectName(QStringLiteral("optReadOnly"));
    const QString captions[] = {QStringLiteral("Continue Batch Process - Drawing can not be overwritten."),
                                QStringLiteral("Stop Batch Process - Return to Main Screen")};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], m_proceedGroup);
        option->setObjectName(QStringLiteral("optReadOnly_%1").arg(i));
        m_decisionButtons->addButton(option, i);
        options->addWidget(option);
    }
    // The window opens showing the decision in force; it changes only when an option is clicked.
    if (m_decision == QLatin1String(kReadOnlyContinue.data()))
        m_decisionButtons->button(0)->setChecked(true);
    else if (m_decision == QLatin1String(kReadOnlyStop.data()))
        m_decisionButtons->button(1)->setChecked(true);
    layout->addWidget(m_proceedGroup);

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("cmdOk"));
    m_okButton->setToolTip(QStringLiteral("Click Ok to Return"));
    m_okButton->setDefault(true);
    layout->addWidget(m_okButton, 0, Qt::AlignRight);

    connect(m_decisionButtons, &QButtonGroup::idClicked, this, [this](int id) {
        m_decision =
            id == 0 ? QString::fromLatin1(kReadOnlyContinue.data()) : QString::fromLatin1(kReadOnlyStop.data());
    });
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, 460);
    m_drawingsView->header()->resizeSection(0, 300);
}

void ReadOnlyDrawingsDialog::askDecision()
{
    if (!programState().headless) {
        exec();
        return;
    }
    QString text = m_messageLabel->text() + QStringLiteral("\n");
    for (int i = 0; i < m_drawingsView->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_drawingsView->topLevelItem(i);
        text += QStringLiteral("\n    ") + item->text(0) + QStringLiteral("    ") + item->text(1);
    }
    text += QStringLiteral("\n\nProceeding with: ") + (m_decision == QLatin1String(kReadOnlyStop.data())
                                                           ? m_decisionButtons->button(1)->text()
                                                           : m_decisionButtons->button(0)->text());
    ConsoleUserDialogs().report(windowTitle(), text);
}

} // namespace qv
