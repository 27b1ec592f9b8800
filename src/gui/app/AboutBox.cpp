#include "AboutBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>
#include <QtGlobal>

namespace qv {

QString AboutBox::aboutText()
{
    return QStringLiteral("Quorvel\nVersion %1\n\nProcesses lists of drawings unattended through a CAD program.\n\n"
                          "Built with Qt %2 (running on Qt %3).\n\n"
                          "Licensed under the MIT License.")
        .arg(QStringLiteral(QUORVEL_VERSION), QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()));
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Quorvel"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(aboutText(), this);
    text->setObjectName(QStringLiteral("lblAbout"));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName(QStringLiteral("cmdOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace qv
