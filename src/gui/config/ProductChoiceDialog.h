#pragma once

#include <QDialog>

class QButtonGroup;
class QLabel;
class QPushButton;

namespace qv {

class SetupWizardDialog;
struct CadProduct;

// The version step of the first-run setup: one option button per CAD product. A choice is written to the
// settings at once and ticked on the setup window's checklist; "Next" closes the window. Closing it with its
// close button goes back to the setup window, which then cannot finish without a product.
// objectName "FrmAcadVer" (its controls keep theirs).
class ProductChoiceDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "AutoCAD Version Selection";

    // `setup` receives the checklist tick and the executable name of the chosen product (may be null).
    explicit ProductChoiceDialog(SetupWizardDialog* setup, QWidget* parent = nullptr);

    // A click on the option of that index.
    void chooseProduct(int index);
    // The product the settings already hold: chosen on opening, ticked on the checklist, written only when
    // the user picks another.
    void startFrom(const CadProduct& product);

    QLabel* m_headingLabel = nullptr;
    QButtonGroup* m_productButtons = nullptr;
    QPushButton* m_nextButton = nullptr;

private:
    // The checklist and the executable name follow the product shown as chosen.
    void showChoice(const CadProduct& product);

    SetupWizardDialog* m_wizard;
};

} // namespace qv
