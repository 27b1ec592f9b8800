#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace qv {

// Shows the bundled help page in a window of the program's own, for desktops without a viewer for it.
// objectName "frmHelp" (its controls keep theirs).
class HelpWindow final : public QDialog
{
    Q_OBJECT

public:
    HelpWindow(const QString& page, QWidget* parent = nullptr);

    QTextBrowser* m_helpBrowser = nullptr;
};

} // namespace qv
