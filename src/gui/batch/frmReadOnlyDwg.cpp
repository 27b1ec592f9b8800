#include "frmReadOnlyDwg.h"

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

frmReadOnlyDwg::frmReadOnlyDwg(const std::vector<ReadOnlyDrawing>& drawings, QString& decision, QWidget* parent)
    : QDialog(parent), m_decision(decision)
{
    setObjectName(QStringLiteral("frmReadOnlyDwg"));
    setWindowTitle(QStringLiteral("Read Only Drawings"));
    auto* layout = new QVBoxLayout(this);

    Frame1 = new QGroupBox(QStringLiteral("Drawings Read Only"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* listLayout = new QVBoxLayout(Frame1);
    lstViewReadOnly = new QTreeWidget(Frame1);
    lstViewReadOnly->setObjectName(QStringLiteral("lstViewReadOnly"));
    lstViewReadOnly->setRootIsDecorated(false);
    lstViewReadOnly->setHeaderLabels({QStringLiteral("Drawing File"), QStringLiteral("Folder")});
    for (const ReadOnlyDrawing& drawing : drawings)
        new QTreeWidgetItem(lstViewReadOnly, {ToQString(drawing.file), ToQString(drawing.folder)});
    listLayout->addWidget(lstViewReadOnly);
    layout->addWidget(Frame1, 1);

    lblReadOnlyMessage = new QLabel(ToQString(std::string(kReadOnlyWindowMessage)), this);
    lblReadOnlyMessage->setObjectName(QStringLiteral("lblReadOnlyMessage"));
    lblReadOnlyMessage->setWordWrap(true);
    layout->addWidget(lblReadOnlyMessage);

    Frame2 = new QGroupBox(QStringLiteral("Proceed Options"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* options = new QVBoxLayout(Frame2);
    optReadOnly = new QButtonGroup(this);
    optReadOnly->setObjectName(QStringLiteral("optReadOnly"));
    const QString captions[] = {QStringLiteral("Continue Batch Process - Drawing can not be overwritten."),
                                QStringLiteral("Stop Batch Process - Return to Main Screen")};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], Frame2);
        option->setObjectName(QStringLiteral("optReadOnly_%1").arg(i));
        optReadOnly->addButton(option, i);
        options->addWidget(option);
    }
    // The window opens showing the decision in force; it changes only when an option is clicked.
    if (m_decision == QLatin1String(kReadOnlyContinue.data()))
        optReadOnly->button(0)->setChecked(true);
    else if (m_decision == QLatin1String(kReadOnlyStop.data()))
        optReadOnly->button(1)->setChecked(true);
    layout->addWidget(Frame2);

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setToolTip(QStringLiteral("Click Ok to Return"));
    cmdOk->setDefault(true);
    layout->addWidget(cmdOk, 0, Qt::AlignRight);

    connect(optReadOnly, &QButtonGroup::idClicked, this, [this](int id) {
        m_decision = id == 0 ? QString::fromLatin1(kReadOnlyContinue.data()) : QString::fromLatin1(kReadOnlyStop.data());
    });
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, 460);
    lstViewReadOnly->header()->resizeSection(0, 300);
}

void frmReadOnlyDwg::Run()
{
    if (!Program().headless) {
        exec();
        return;
    }
    QString text = lblReadOnlyMessage->text() + QStringLiteral("\n");
    for (int i = 0; i < lstViewReadOnly->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = lstViewReadOnly->topLevelItem(i);
        text += QStringLiteral("\n    ") + item->text(0) + QStringLiteral("    ") + item->text(1);
    }
    text += QStringLiteral("\n\nProceeding with: ") +
            (m_decision == QLatin1String(kReadOnlyStop.data()) ? optReadOnly->button(1)->text()
                                                               : optReadOnly->button(0)->text());
    ConsoleUserDialogs().report(windowTitle(), text);
}

} // namespace qv
