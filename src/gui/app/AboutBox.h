#pragma once

#include <QDialog>

namespace qv {

// "About Quorvel": name, version, Qt version and licence.
// objectName "frmAbout" (its controls keep theirs).
class AboutBox final : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
    static QString aboutText();
};

} // namespace qv
