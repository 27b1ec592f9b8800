#include "app/TimerWindow.h"
#include "support/RunFixture.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace qv;
using namespace qv::test;

namespace {

// A clock the test sets by hand: the timer never waits for the real time.
class ManualClock final : public platform::Clock
{
public:
    LocalDateTime now() const override { return m_now; }
    void set(int hour, int minute, int second, int day = 1) { m_now = {2025, 3, day, hour, minute, second}; }

private:
    LocalDateTime m_now{2025, 3, 1, 14, 29, 58};
};

struct TimerFixture : RunFixture
{
    ManualClock clock;
    TimerWindow timer{window, clock, &window};

    TimerFixture()
    {
        window.load(); // the number of sets the run reads
        timer.show();
    }

    // Types an answer into the start-time box.
    void enter(const QString& answer)
    {
        env.dialogs().queueInput(answer);
        timer.m_setStartTimeButton->click();
    }
    void tickAt(int hour, int minute, int second, int day = 1)
    {
        clock.set(hour, minute, second, day);
        timer.tick();
    }
};

} // namespace

class TimerTest final : public QObject
{
    Q_OBJECT

private slots:
    void showsItsControlsTheClockAndTheMinimisedCaption();
    void armingRules();
    void firesWithoutConfirmationOnceTheStartSecondIsReached();
    void anEmptiedListAtTheStartTimeRunsNothing();
    void exitAsksWhenArmed();
    void openedFromTheMenu();
};

void TimerTest::showsItsControlsTheClockAndTheMinimisedCaption()
{
    TimerFixture f;
    QCOMPARE(f.timer.windowTitle(), QStringLiteral("Set Timer"));
    QCOMPARE(control<QGroupBox>(&f.timer, "Frame1")->title(), QStringLiteral("Timer Settings"));
    QCOMPARE(control<QLabel>(&f.timer, "Label1")->text(), QStringLiteral("Current Time"));
    QCOMPARE(control<QLabel>(&f.timer, "Label2")->text(), QStringLiteral("Start Time"));
    QCOMPARE(control<QPushButton>(&f.timer, "cmdEnterStart")->text(), QStringLiteral("Set Start Time"));
    QCOMPARE(control<QPushButton>(&f.timer, "cmdExit")->text(), QStringLiteral("Exit"));
    auto* tick = control<QTimer>(&f.timer, "Timer1");
    QVERIFY(tick && tick->isActive());
    QCOMPARE(tick->interval(), 500);
    QCOMPARE(f.timer.m_currentTimeLabel->text(), QStringLiteral("14:29:58"));
    QCOMPARE(f.timer.m_startTimeLabel->text(), QString());

    // The clock moves on the ticks only when its second changes.
    f.tickAt(14, 29, 59);
    QCOMPARE(f.timer.m_currentTimeLabel->text(), QStringLiteral("14:29:59"));

    // Minimised, the caption shows the time to the minute and the label waits for the window to come back.
    f.timer.setWindowState(Qt::WindowMinimized);
    QCOMPARE(f.timer.windowTitle(), QStringLiteral("14:29"));
    f.tickAt(14, 31, 5);
    QCOMPARE(f.timer.windowTitle(), QStringLiteral("14:31"));
    QCOMPARE(f.timer.m_currentTimeLabel->text(), QStringLiteral("14:29:59"));
    f.timer.setWindowState(Qt::WindowNoState);
    QCOMPARE(f.timer.windowTitle(), QStringLiteral("Set Timer"));
    QCOMPARE(f.timer.m_currentTimeLabel->text(), QStringLiteral("14:31:05"));
}

void TimerTest::armingRules()
{
    TimerFixture f;
    auto& dialogs = f.env.dialogs();

    // The box proposes the current time; Cancel and an empty answer arm nothing.
    f.timer.m_setStartTimeButton->click();
    QCOMPARE(dialogs.calls().value(0).kind, ScriptedUserDialogs::Call::Input);
    QCOMPARE(dialogs.calls().value(0).text, QStringLiteral("Enter Start Time"));
    QCOMPARE(dialogs.calls().value(0).title, QStringLiteral("Start Time"));
    QCOMPARE(dialogs.calls().value(0).initial, QStringLiteral("14:29:58"));
    f.enter(QStringLiteral("  "));
    QCOMPARE(f.timer.armed(), std::int16_t(0));
    QVERIFY(dialogs.messages().isEmpty());

    QCOMPARE(f.timer.m_countdownLabel->text(), QString());
    f.enter(QStringLiteral("14:30"));
    QCOMPARE(f.timer.armed(), std::int16_t(1));
    QCOMPARE(f.timer.m_startTimeLabel->text(), QStringLiteral("14:30:00"));
    QVERIFY(dialogs.messages().isEmpty());
    // Armed, the window counts down with the clock (the count itself is the core's).
    QCOMPARE(f.timer.m_countdownLabel->text(), QStringLiteral("Starts in 00:00:02"));
    f.tickAt(14, 29, 59);
    QCOMPARE(f.timer.m_countdownLabel->text(), QStringLiteral("Starts in 00:00:01"));

    // Not a time: the message, disarmed, and the start time entered before is kept.
    f.enter(QStringLiteral("abc"));
    QCOMPARE(dialogs.messages(), QList{invalidStartTimeMessage()});
    QCOMPARE(f.timer.armed(), std::int16_t(0));
    QCOMPARE(f.timer.m_countdownLabel->text(), QString());
    QCOMPARE(f.timer.startTime(), std::optional<TimeOfDay>(TimeOfDay{14, 30, 0}));
    QCOMPARE(f.timer.m_startTimeLabel->text(), QStringLiteral("14:30:00"));

    // A row without a routine, a routine gone from the database, an empty list: each says why and stays off.
    struct
    {
        DrawingRows rows;
        std::string firstLine;
    } notReady[] = {
        {{{"A.dwg", f.drawingFolder(), "", ""}}, "Please Assign a Routine To All Files"},
        {{{"A.dwg", f.drawingFolder(), "Deleted since", ""}}, "These routines are no longer in the routine database"},
        {{}, "There are no drawings in the list"},
    };
    for (const auto& c : notReady) {
        f.enter(QStringLiteral("14:30"));
        QCOMPARE(f.timer.armed(), std::int16_t(1));
        dialogs.clear();
        f.window.drawingList()->setRows(c.rows);
        f.enter(QStringLiteral("2:45 PM"));
        QCOMPARE(f.timer.armed(), std::int16_t(0));
        QCOMPARE(f.timer.m_startTimeLabel->text(), QStringLiteral("14:45:00"));
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages()[0].text.starts_with(c.firstLine), dialogs.messages()[0].text.c_str());
        f.window.drawingList()->setRows({{"A.dwg", f.drawingFolder(), "Zoom", ""}});
    }
    QVERIFY(f.launches.empty());
}

void TimerTest::firesWithoutConfirmationOnceTheStartSecondIsReached()
{
    TimerFixture f;
    // A run without confirmation picks the writer by product: BricsCAD's tokens show it is that run.
    useProduct("Bricscad");
    // When a time is reached is the core's; here a time already past waits through the night, and a busy machine
    // that skips the start second still starts the run.
    f.tickAt(15, 0, 0);
    f.enter(QStringLiteral("14:30"));
    QCOMPARE(f.timer.armed(), std::int16_t(1));
    f.tickAt(15, 0, 1);
    f.tickAt(23, 59, 59);
    f.tickAt(0, 0, 0, 2);
    f.tickAt(14, 29, 59, 2);
    QVERIFY(f.launches.empty());
    QVERIFY(f.timer.isVisible());

    f.tickAt(14, 30, 1, 2);
    QCOMPARE(f.launches.size(), std::size_t(1));
    QVERIFY(f.env.dialogs().messages().isEmpty());
    QVERIFY(f.script().startsWith(QStringLiteral("Zoom\r\n0.999x\r\nClose\r\nN\r\nOpen\r\n")));
    QVERIFY(f.timer.fired());
    QCOMPARE(f.timer.armed(), std::int16_t(0));
    QVERIFY(!f.timer.isVisible());
    QVERIFY(!f.timer.m_tickTimer->isActive());
}

void TimerTest::anEmptiedListAtTheStartTimeRunsNothing()
{
    TimerFixture f;
    f.enter(QStringLiteral("14:30"));
    f.window.drawingList()->setRows({});
    f.tickAt(14, 30, 0);
    QCOMPARE(f.env.dialogs().messages(), QList{noDrawingsInListMessage()});
    QVERIFY(f.launches.empty());
    QVERIFY(!QFile::exists(f.env.file(QStringLiteral("Batch.scr"))));
    QCOMPARE(f.timer.armed(), std::int16_t(0));
    QVERIFY(!f.timer.isVisible());
}

void TimerTest::exitAsksWhenArmed()
{
    // (Unarmed, Exit closes without asking: the menu test.)
    TimerFixture f;
    f.enter(QStringLiteral("14:30"));
    // Cancel keeps the timer armed, from the Exit button and from the window's close button alike.
    f.env.dialogs().queueAnswer(MessageAnswer::Cancel);
    f.timer.m_exitButton->click();
    f.env.dialogs().queueAnswer(MessageAnswer::Cancel);
    f.timer.close();
    QCOMPARE(f.env.dialogs().messages(), (QList{confirmExitTimerMessage(), confirmExitTimerMessage()}));
    QVERIFY(f.timer.isVisible());
    QCOMPARE(f.timer.armed(), std::int16_t(1));

    f.env.dialogs().queueAnswer(MessageAnswer::Ok);
    f.timer.m_exitButton->click();
    QVERIFY(!f.timer.isVisible());
    QVERIFY(!f.timer.m_tickTimer->isActive());
    QVERIFY(f.launches.empty());
}

void TimerTest::openedFromTheMenu()
{
    RunFixture f;
    ManualClock clock;
    TimerWindow::setClock(&clock);
    QString shown;
    bool closedByExit = false;
    whenModalOpens<TimerWindow>(&f.window, [&](TimerWindow* timer) {
        shown = timer->m_currentTimeLabel->text();
        timer->m_exitButton->click(); // unarmed: closes without asking
        closedByExit = !timer->isVisible();
        if (!closedByExit)
            timer->done(QDialog::Rejected); // fail below rather than hang here
    });
    control<QAction>(&f.window, "mnuTimer")->trigger();
    TimerWindow::setClock(nullptr);
    QCOMPARE(shown, QStringLiteral("14:29:58"));
    QVERIFY(closedByExit);
    QVERIFY(f.env.dialogs().messages().isEmpty());
}

QTEST_MAIN(TimerTest)
#include "TimerTest.moc"
