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

class MainWindow;

// The timer window: arms a start time of day and, when the clock reaches it, runs the batch as a
// start without confirmation, then closes. The program waits in this window meanwhile.
// objectName "frmTimer" (its controls keep theirs).
class TimerWindow final : public QDialog
{
    Q_OBJECT

public:
    TimerWindow(MainWindow& main, const platform::Clock& clock, QWidget* parent = nullptr);

    static constexpr int kTickMs = 500;

    // Asks for a start time and arms it when the list is ready to run.
    void enterStartTime();
    // Leaves the window; asks first when a start time is armed.
    void exitTimer();
    // Every tick: shows the clock and fires the run at the start time.
    void tick();

    std::int16_t armed() const { return m_armed; }
    const std::optional<TimeOfDay>& startTime() const { return m_startTime; }
    // True once the armed time was reached (the run was started or found the list empty).
    bool fired() const { return m_fired; }

    // The clock the timer window of the program reads (the machine's clock unless a test set one).
    static const platform::Clock& clockInUse();
    static void setClock(const platform::Clock* clock);

    QGroupBox* m_settingsGroup = nullptr;
    QLabel* m_currentCaptionLabel = nullptr;
    QLabel* m_currentTimeLabel = nullptr;
    QLabel* m_startCaptionLabel = nullptr;
    QLabel* m_startTimeLabel = nullptr;
    QLabel* m_countdownLabel = nullptr; // the time left while armed, empty otherwise
    QPushButton* m_setStartTimeButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QTimer* m_tickTimer = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    TimeOfDay now() const;
    void showCountdown(const TimeOfDay& current);
    // Closes without asking: the run fired or the user confirmed.
    void finish();
    // False when the user keeps the armed timer.
    bool confirmLeaving();

    MainWindow& m_mainWindow;
    const platform::Clock& m_clock;
    std::optional<TimeOfDay> m_startTime;
    std::int16_t m_armed = 0;
    TimeOfDay m_lastSeen;     // the second the last tick examined
    int m_captionMinute = -1; // minute shown in the minimised caption
    bool m_fired = false;
    bool m_finishing = false;
};

} // namespace qv
