#include "HelpWindow.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qv {

HelpWindow::HelpWindow(const QString& page, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Quorvel Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    txtHelp = new QTextBrowser(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setOpenExternalLinks(true);
    txtHelp->setSource(QUrl::fromLocalFile(page));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtHelp);
    layout->addWidget(buttons);
    resize(760, 600);
}

} // namespace qv
