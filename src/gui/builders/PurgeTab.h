#pragma once

#include "builders/PurgeRoutine.h"

#include <QString>
#include <QWidget>
#include <array>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace qv {

// The Purge tab of the routine editor: the user ticks the kinds of unused objects to purge and the
// number of passes; the text itself is built by the core and handed to the editor's save dialog.
class PurgeTab final : public QWidget
{
    Q_OBJECT

public:
    explicit PurgeTab(QWidget* parent = nullptr);

    // Prepares the tab for the configured product; runs once per opening of the editor.
    void setUp();
    // Builds the routine text; emits routineBuilt, or shows why it cannot.
    void buildRoutine();

    bool isSetUp() const { return m_setUpFlag == QLatin1String("yes"); }

    // State kept as the window's own flags: "Yes" when every offered item is ticked; "yes" once set up.
    QString m_allTickedFlag = QStringLiteral("No");
    QString m_setUpFlag;

    QGroupBox* m_purgeGroup = nullptr;
    QButtonGroup* m_itemButtons = nullptr;
    QPushButton* m_toggleAllButton = nullptr;
    QComboBox* m_passesCombo = nullptr;
    QLabel* m_passesLabel = nullptr;
    QPushButton* m_saveRoutineButton = nullptr;
    QPushButton* m_backButton = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    PurgeChoices readChoices() const;
    void showTicks(const PurgeChoices& choices);
    void toggleAllItems();

    std::array<QCheckBox*, kPurgeItemCount> m_itemChecks{};
    std::string m_product;
    PurgeSetup m_setup;
};

} // namespace qv
