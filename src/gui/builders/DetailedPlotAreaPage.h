#pragma once

#include <QString>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace qv {

// The second page of the "Plot - Detailed Setup" tab, "Area, Scale and Options": the plot area, the scale,
// the offset, the plot options and the shaded viewport options. It lays out its controls and runs the rules
// that touch only them; DetailedPlotTab is made of its pages, so these controls are the tab's.
class DetailedPlotAreaPage
{
public:
    // Sets the area token; the view name box shows for View only.
    void choosePlotArea(int index);
    // Fills the two scale boxes from a list entry.
    void chooseScale(int index);
    // Shade plot back to "As Displayed", offered or not; quality is never offered without the shade plot.
    void setShadeOptionsEnabled(bool on);

    QString m_plotAreaToken = QStringLiteral("_Display");

    QButtonGroup* m_plotAreaButtons = nullptr;
    std::array<QRadioButton*, 4> m_plotAreaRadios{};
    QLineEdit* m_viewNameEdit = nullptr;
    QComboBox* m_scaleCombo = nullptr;
    QLineEdit* m_plottedUnitsEdit = nullptr;
    QLineEdit* m_drawingUnitsEdit = nullptr;
    QCheckBox* m_scaleLineweightsCheck = nullptr;
    QCheckBox* m_centrePlotCheck = nullptr;
    QLineEdit* m_offsetXEdit = nullptr;
    QLineEdit* m_offsetYEdit = nullptr;
    std::array<QLabel*, 5> m_offsetLabels{}; // 0-2 the unit beside the scale and each offset, 3-4 "X:" and "Y:"

    QButtonGroup* m_styleKindButtons = nullptr;
    std::array<QRadioButton*, 2> m_styleKindRadios{};
    QComboBox* m_styleTableCombo = nullptr;
    QPushButton* m_browseStyleTableButton = nullptr;
    QCheckBox* m_plotStylesCheck = nullptr;
    QCheckBox* m_lineweightsCheck = nullptr;
    QCheckBox* m_paperspaceLastCheck = nullptr;
    QCheckBox* m_hideObjectsCheck = nullptr;
    QGroupBox* m_shadeGroup = nullptr;
    QLabel* m_shadeLabel = nullptr;
    QComboBox* m_shadeCombo = nullptr;
    QLabel* m_qualityLabel = nullptr;
    QComboBox* m_qualityCombo = nullptr;
    QLabel* m_shadeNoteLabel = nullptr;
    QCheckBox* m_plotToFileCheck = nullptr;
    QLineEdit* m_plotFolderEdit = nullptr; // where plot files go; empty: beside each drawing
    QPushButton* m_browsePlotFolderButton = nullptr;
    QCheckBox* m_saveLayoutCheck = nullptr;

protected:
    DetailedPlotAreaPage() = default;
    ~DetailedPlotAreaPage() = default;

    // Creates the page's controls as children of a new page of `owner`, in their tab order.
    QWidget* buildAreaPage(QWidget* owner);

    void setOffsetUnitLabels(const QString& word);
    void centrePlot(bool centred);          // a centred plot takes no offset
    void chooseShade(const QString& shade); // the quality goes with a rendered shade plot only
    void chooseStyleKind(int index);        // fills the style table list with the ".ctb" or ".stb" files
    void browseStyleTable();
};

} // namespace qv
