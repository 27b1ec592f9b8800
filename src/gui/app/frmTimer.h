#pragma once

#include "Clock.h"
#include "batch/TimedStart.h"

#include <QDialog>
#include <cstdint>
#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace qv {

class mdiStart;

// The timer window: arms a start time of day and, when the clock reaches it, runs the batch as a
// start without confirmation, then closes. The program waits in this window meanwhile.
class frmTimer final : public QDialog
{
    Q_OBJECT

public:
    frmTimer(mdiStart& main, const platform::Clock& clock, QWidget* parent = nullptr);

    static constexpr int kTickMs = 500;

    // Asks for a start time and arms it when the list is ready to run.
    void cmdEnterStart_Click();
    // Leaves the window; asks first when a start time is armed.
    void cmdExit_Click();
    // Every tick: shows the clock and fires the run at the start time.
    void Timer1_Timer();

    std::int16_t armed() const { return m_armed; }
    const std::optional<TimeOfDay>& startTime() const { return m_startTime; }
    // True once the armed time was reached (the run was started or found the list empty).
    bool fired() const { return m_fired; }

    // The clock the timer window of the program reads (the machine's clock unless a test set one).
    static const platform::Clock& ClockInUse();
    static void SetClock(const platform::Clock* clock);

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblTime = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblStartTime = nullptr;
    QPushButton* cmdEnterStart = nullptr;
    QPushButton* cmdExit = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    TimeOfDay now() const;
    // Closes without asking: the run fired or the user confirmed.
    void finish();
    // False when the user keeps the armed timer.
    bool confirmLeaving();

    mdiStart& m_main;
    const platform::Clock& m_clock;
    std::optional<TimeOfDay> m_startTime;
    std::int16_t m_armed = 0;
    TimeOfDay m_lastSeen;     // the second the last tick examined
    int m_captionMinute = -1; // minute shown in the minimised caption
    bool m_fired = false;
    bool m_finishing = false;
};

} // namespace qv
