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
    void InitDetailedPlotTab();
    bool isSetUp() const { return lblPlotDetailed == QLatin1String("yes"); }

    // Reads the controls; builds the text or shows why it cannot.
    void BuildDetailedPlotRoutine();
    DetailedPlotChoices readChoices() const;

    // Field rules, as the controls run them.
    void chooseTilemode(int index);
    void choosePlotArea(int index);
    void chooseOrientation(int index);
    void chooseUnit(int index);
    void chooseDevice(const QString& name);
    void chooseStandard(int index);
    void chooseScale(int index);
    void RefreshPaperForDevice();
    void SetPlotToFileForDevice();
    void SetShadeOptions(bool on);
    void EnableStandards();
    void DisableStandards();
    void ShowPaperStandard(int code);
    void showPage(int page);

    // Hidden carriers of command tokens and markers.
    QString txtTilemode = QStringLiteral("_Layout");
    QString txtPlot = QStringLiteral("_Display");
    QString txtOrient = QStringLiteral("_Landscape");
    QString lblUnits = QStringLiteral("_Inches");
    QString lblPlotDetailed;
    QString lblCustomPaper;
    int orientationPicture = 1; // picOrient: 0 portrait, 1 landscape, 2 landscape upside down, 3 portrait upside down

    QGroupBox* fraPlotDetailed = nullptr;
    QTabBar* TabStripPlotDetailed = nullptr;
    QStackedWidget* picDetailedPlot = nullptr;

    QButtonGroup* optTilemode = nullptr;
    std::array<QRadioButton*, 3> optTilemodeButtons{};
    QLineEdit* txtLayoutName = nullptr;
    QCheckBox* chkAllLayouts = nullptr;
    QLabel* LblLispExplain = nullptr;
    QLabel* lblstrModel_Layout = nullptr;
    QLabel* lblModelPaper = nullptr;
    QComboBox* cmbNoCopies = nullptr;

    QComboBox* CboPrinter = nullptr;
    QPushButton* cmdPlotterBrowse = nullptr;
    QPushButton* cmdTip1 = nullptr;
    QLabel* lblselectPlotter = nullptr;
    QLabel* lblStandards = nullptr;
    QComboBox* cboStandards = nullptr;
    QLabel* Label8 = nullptr;
    QComboBox* cboPaperSize = nullptr;
    QLineEdit* txtPaperSize = nullptr;
    QLabel* lblPaperSize = nullptr;
    QPushButton* cmdAddPaperSize = nullptr;

    QButtonGroup* optUnit = nullptr;
    std::array<QRadioButton*, 3> optUnitButtons{};
    QButtonGroup* OptDwgOrient = nullptr;
    std::array<QRadioButton*, 2> OptDwgOrientButtons{};
    QCheckBox* chkUpside = nullptr;
    OrientationPicture* picOrient = nullptr;

    QButtonGroup* OptPlotArea = nullptr;
    std::array<QRadioButton*, 4> OptPlotAreaButtons{};
    QLineEdit* txtView = nullptr;
    QComboBox* cmbScale = nullptr;
    QLineEdit* txtScale1 = nullptr;
    QLineEdit* txtScale2 = nullptr;
    QCheckBox* chkScaleLine = nullptr;
    QCheckBox* ChkPlotcenter = nullptr;
    QLineEdit* txtOffset_X = nullptr;
    QLineEdit* txtOffset_Y = nullptr;
    std::array<QLabel*, 5> txtOffset{};

    QButtonGroup* optCtb = nullptr;
    std::array<QRadioButton*, 2> optCtbButtons{};
    QComboBox* cboPlotStyle = nullptr;
    QPushButton* cmdStyleTable = nullptr;
    QCheckBox* chkPlotStyle = nullptr;
    QCheckBox* ChkPlotObject = nullptr;
    QCheckBox* chkpaperlast = nullptr;
    QCheckBox* chkRemovelines = nullptr;
    QGroupBox* fraShaded = nullptr;
    QLabel* LblShadePlot = nullptr;
    QComboBox* cboShade = nullptr;
    QLabel* lblQuality = nullptr;
    QComboBox* CboQuality = nullptr;
    QLabel* lblShadeExplain = nullptr;
    QCheckBox* chkPlotFile = nullptr;
    QCheckBox* chkSaveTab = nullptr;

    QPushButton* cmdSavePlot = nullptr;
    QPushButton* cmdPlotDetailedBack = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    QWidget* buildDevicePage();
    QWidget* buildSettingsPage();
    void connectRules();
    void fillPlotterList(bool keepText);
    void showTypedPaper(); // cboPaperSize hidden and "<Default>", txtPaperSize shown with "<Default>"
    void SetOffsetUnitLabels(const QString& word);
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
