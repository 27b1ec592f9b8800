#pragma once

#include <QString>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace qv {

class OrientationPicture;

// The first page of the "Plot - Detailed Setup" tab, "Device, Paper and Tabs": which tab of the drawing is
// plotted, the device and its paper, the paper units and the orientation. It lays out its controls and runs
// the rules that touch only them: which paper control is live and what the paper lists hold. DetailedPlotTab
// is made of its pages, so these controls are the tab's; the rules that reach across pages are the tab's own.
class DetailedPlotDevicePage
{
public:
    // Picks the orientation picture and token; runs again when "Plot upside-down" is clicked.
    void chooseOrientation(int index);
    // The device's own papers: a printer's list, the typed box and the standards for a plotter file.
    void refreshPaperForDevice();
    void enablePaperStandards();
    void disablePaperStandards();
    void chooseStandard(int index);
    void showPaperStandard(int code);

    QString m_orientationToken = QStringLiteral("_Landscape");
    int m_orientationCode = 1; // picOrient: 0 portrait, 1 landscape, 2 landscape upside down, 3 portrait upside down

    QButtonGroup* m_tilemodeButtons = nullptr;
    std::array<QRadioButton*, 3> m_tilemodeRadios{};
    QLineEdit* m_layoutNameEdit = nullptr;
    QCheckBox* m_allLayoutsCheck = nullptr;
    QLabel* m_lispNoteLabel = nullptr;
    QLabel* m_automaticHintLabel = nullptr;
    QLabel* m_modelPaperHintLabel = nullptr;
    QComboBox* m_copiesCombo = nullptr;

    QComboBox* m_deviceCombo = nullptr;
    QPushButton* m_browsePlotterButton = nullptr;
    QPushButton* m_tipButton = nullptr;
    QLabel* m_deviceHintLabel = nullptr;
    QLabel* m_paperStandardLabel = nullptr;
    QComboBox* m_paperStandardCombo = nullptr;
    QLabel* m_paperLabel = nullptr;
    QComboBox* m_paperCombo = nullptr;
    QLineEdit* m_paperEdit = nullptr;
    QLabel* m_paperHintLabel = nullptr;
    QPushButton* m_addCustomPaperButton = nullptr;

    QButtonGroup* m_unitButtons = nullptr;
    std::array<QRadioButton*, 3> m_unitRadios{};
    QButtonGroup* m_orientationButtons = nullptr;
    std::array<QRadioButton*, 2> m_orientationRadios{};
    QCheckBox* m_upsideDownCheck = nullptr;
    OrientationPicture* m_orientationPicture = nullptr;

protected:
    DetailedPlotDevicePage() = default;
    ~DetailedPlotDevicePage() = default;

    // Creates the page's controls as children of a new page of `owner`, in their tab order.
    QWidget* buildDevicePage(QWidget* owner);

    // cboPaperSize hidden and "<Default>", txtPaperSize shown with "<Default>", Label8 "Enter paper size".
    void showTypedPaper();
    void browsePlotter();
    static void showTip();
};

} // namespace qv
