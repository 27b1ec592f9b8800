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
    m_helpBrowser = new QTextBrowser(this);
    m_helpBrowser->setObjectName(QStringLiteral("txtHelp"));
    m_helpBrowser->setOpenExternalLinks(true);
    m_helpBrowser->setSource(QUrl::fromLocalFile(page));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_helpBrowser);
    layout->addWidget(buttons);
    resize(760, 600);
}

} // namespace qv
