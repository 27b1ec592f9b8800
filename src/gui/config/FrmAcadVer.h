#pragma once

#include <QDialog>

class QButtonGroup;
class QLabel;
class QPushButton;

namespace qv {

class frmSetup;

// The version step of the first-run setup: one option button per CAD product. A choice is written to the
// settings at once and ticked on the setup window's checklist; "Next" closes the window.
class FrmAcadVer final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "AutoCAD Version Selection";

    // `setup` receives the checklist tick and the executable name of the chosen product (may be null).
    explicit FrmAcadVer(frmSetup* setup, QWidget* parent = nullptr);

    // A click on the option of that index.
    void optCadVer_Click(int index);

    QLabel* lblHeading = nullptr;
    QButtonGroup* optCadVer = nullptr;
    QPushButton* cmdOKAcadver = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    frmSetup* m_setup;
};

} // namespace qv
