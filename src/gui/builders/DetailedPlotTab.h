#pragma once

#include "builders/DetailedPlot.h"
#include "builders/PlotTabSetup.h"

#include <QString>
#include <QWidget>
#include <array>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabBar;

namespace qv {

class OrientationPicture;

// The "Plot - Detailed Setup" tab of the routine editor: every answer of the host's plot command,
// chosen once for many drawings. The routine text is built by the core from the choices read here.
class DetailedPlotTab final : public QWidget
{
    Q_OBJECT

public:
    explicit DetailedPlotTab(QWidget* parent = nullptr);
    ~DetailedPlotTab() override;

    // Prepares the tab for the configured product; runs once per opening of the editor.
    void setUp();
    bool isSetUp() const { return m_setUpFlag == QLatin1String("yes"); }

    // Reads the controls; builds the text or shows why it cannot.
    void buildRoutine();
    DetailedPlotChoices readChoices() const;

    // Field rules, as the controls run them.
    void chooseTilemode(int index);
    void choosePlotArea(int index);
    void chooseOrientation(int index);
    void chooseUnit(int index);
    void chooseDevice(const QString& name);
    void chooseStandard(int index);
    void chooseScale(int index);
    void refreshPaperForDevice();
    void applyPlotToFileRule();
    void setShadeOptionsEnabled(bool on);
    void enablePaperStandards();
    void disablePaperStandards();
    void showPaperStandard(int code);
    void showPage(int page);

    // Hidden carriers of command tokens and markers.
    QString m_tilemodeToken = QStringLiteral("_Layout");
    QString m_plotAreaToken = QStringLiteral("_Display");
    QString m_orientationToken = QStringLiteral("_Landscape");
    QString m_unitsToken = QStringLiteral("_Inches");
    QString m_setUpFlag;
    QString m_customPaperAddedFlag;
    int m_orientationCode = 1; // picOrient: 0 portrait, 1 landscape, 2 landscape upside down, 3 portrait upside down

    QGroupBox* m_detailedPlotGroup = nullptr;
    QTabBar* m_pageTabBar = nullptr;
    QStackedWidget* m_pageStack = nullptr;

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
    std::array<QLabel*, 5> m_offsetLabels{};

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
    QCheckBox* m_saveLayoutCheck = nullptr;

    QPushButton* m_saveRoutineButton = nullptr;
    QPushButton* m_backButton = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    QWidget* buildDevicePage();
    QWidget* buildSettingsPage();
    void connectRules();
    void fillPlotterList(bool keepText);
    void showTypedPaper(); // cboPaperSize hidden and "<Default>", txtPaperSize shown with "<Default>"
    void setOffsetUnitLabels(const QString& word);
    void chooseStyleKind(int index);
    void browsePlotter();
    void browseStyleTable();
    void addCustomPaper();
    void reloadCustomPaperList();
    void showTip();
    void focusField(PlotField field);

    std::string m_product;
    PlotTabSetup m_setup;
};

} // namespace qv
