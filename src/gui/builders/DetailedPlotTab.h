#pragma once

#include "DetailedPlotAreaPage.h"
#include "DetailedPlotDevicePage.h"
#include "builders/DetailedPlot.h"
#include "builders/PlotTabSetup.h"

#include <QString>
#include <QWidget>
#include <string>

class QGroupBox;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace qv {

// The "Plot - Detailed Setup" tab of the routine editor: every answer of the host's plot command,
// chosen once for many drawings. The routine text is built by the core from the choices read here.
// The tab is made of its two pages, which lay out their controls and run the rules that stay within a page;
// the tab adds the page switch and the buttons, prepares everything for the product and runs the rules that
// reach across both pages. What a choice means is decided by the core (PlotTabSetup, PlotTabRules).
class DetailedPlotTab final : public QWidget, public DetailedPlotDevicePage, public DetailedPlotAreaPage
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

    // Field rules that reach across the pages, as the controls run them (the pages hold the others).
    void chooseTilemode(int index);
    void chooseUnit(int index);
    void chooseDevice(const QString& name);
    void applyPlotToFileRule();
    void showPage(int page);

    // Hidden carriers of command tokens and markers (the pages hold the area and orientation tokens).
    QString m_tilemodeToken = QStringLiteral("_Layout");
    QString m_unitsToken = QStringLiteral("_Inches");
    QString m_setUpFlag;
    QString m_customPaperAddedFlag;

    QGroupBox* m_detailedPlotGroup = nullptr;
    QTabBar* m_pageTabBar = nullptr;
    QStackedWidget* m_pageStack = nullptr;

    QPushButton* m_saveRoutineButton = nullptr;
    QPushButton* m_backButton = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    void connectRules();
    void fillPlotterList(bool keepText);
    void addCustomPaper();
    void reloadCustomPaperList();
    QWidget* fieldControl(PlotField field) const; // the control a refusal names
    void focusField(PlotField field);

    std::string m_product;
    PlotTabSetup m_setup;
};

} // namespace qv
