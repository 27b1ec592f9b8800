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
    void SetupPurgeTab();
    // Builds the routine text; emits routineBuilt, or shows why it cannot.
    void BuildPurgeRoutine();

    bool isSetUp() const { return lblPurge == QLatin1String("yes"); }

    // State kept as the window's own flags: "Yes" when every offered item is ticked; "yes" once set up.
    QString lblpurgeall = QStringLiteral("No");
    QString lblPurge;

    QGroupBox* frmPurge = nullptr;
    QButtonGroup* chkPurge = nullptr;
    QPushButton* cmdPurgeAll = nullptr;
    QComboBox* cmbNoPasses = nullptr;
    QLabel* lblPasses = nullptr;
    QPushButton* cmdPurgeSave = nullptr;
    QPushButton* cmdpurgeBack = nullptr;

signals:
    void routineBuilt(const QString& text);
    void backRequested();

private:
    PurgeChoices readChoices() const;
    void showTicks(const PurgeChoices& choices);
    void pressPurgeAll();

    std::array<QCheckBox*, kPurgeItemCount> m_items{};
    std::string m_product;
    PurgeSetup m_setup;
};

} // namespace qv
