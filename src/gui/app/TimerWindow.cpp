#include "TimerWindow.h"

#include "app/BusyCursor.h"
#include "app/Controls.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "batch/BatchRunner.h"
#include "batch/DrawingListModel.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qv {
namespace {

const platform::Clock* g_clock = nullptr;

} // namespace

const platform::Clock& TimerWindow::clockInUse()
{
    return g_clock ? *g_clock : platform::systemClock();
}

void TimerWindow::setClock(const platform::Clock* clock)
{
    g_clock = clock;
}

TimerWindow::TimerWindow(MainWindow& main, const platform::Clock& clock, QWidget* parent)
    : QDialog(parent), m_mainWindow(main), m_clock(clock)
{
    setObjectName(QStringLiteral("frmTimer"));
    setWindowTitle(QString::fromLatin1(kTimerCaption.data(), qsizetype(kTimerCaption.size())));
    setModal(true);

    m_settingsGroup = new QGroupBox(QStringLiteral("Timer Settings"), this);
    m_settingsGroup->setObjectName(QStringLiteral("Frame1"));
    m_currentCaptionLabel = makeLabel(m_settingsGroup, "Label1", QStringLiteral("Current Time"));
    m_currentTimeLabel = makeLabel(m_settingsGroup, "lblTime", QString());
    m_startCaptionLabel = makeLabel(m_settingsGroup, "Label2", QStringLiteral("Start Time"));
    m_startTimeLabel = makeLabel(m_settingsGroup, "lblStartTime", QString());
    QFont big = m_currentTimeLabel->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    m_currentTimeLabel->setFont(big);
    m_startTimeLabel->setFont(big);
    auto* grid = new QGridLayout(m_settingsGroup);
    grid->addWidget(m_currentCaptionLabel, 0, 0);
    grid->addWidget(m_currentTimeLabel, 0, 1);
    grid->addWidget(m_startCaptionLabel, 1, 0);
    grid->addWidget(m_startTimeLabel, 1, 1);
    m_countdownLabel = makeLabel(m_settingsGroup, "lblCountdown", QString());
    grid->addWidget(m_countdownLabel, 2, 0, 1, 2);

    m_setStartTimeButton = new QPushButton(QStringLiteral("Set Start Time"), this);
    m_setStartTimeButton->setObjectName(QStringLiteral("cmdEnterStart"));
    m_exitButton = new QPushButton(QStringLiteral("Exit"), this);
    m_exitButton->setObjectName(QStringLiteral("cmdExit"));
    m_setStartTimeButton->setAutoDefault(false);
    m_exitButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(m_setStartTimeButton);
    buttons->addStretch();
    buttons->addWidget(m_exitButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_settingsGroup);
    layout->addLayout(buttons);

    m_tickTimer = new QTimer(this);
    m_tickTimer->setObjectName(QStringLiteral("Timer1"));
    m_tickTimer->setInterval(kTickMs);

    connect(m_setStartTimeButton, &QPushButton::clicked, this, &TimerWindow::enterStartTime);
    connect(m_exitButton, &QPushButton::clicked, this, &TimerWindow::exitTimer);
    connect(m_tickTimer, &QTimer::timeout, this, &TimerWindow::tick);

    // Load: the clock shows the current time.
    m_lastSeen = now();
    m_currentTimeLabel->setText(toQString(clockText(m_lastSeen)));
    m_tickTimer->start();
}

TimeOfDay TimerWindow::now() const
{
    return TimeOfDay::of(m_clock.now());
}

void TimerWindow::enterStartTime()
{
    const auto answer = userDialogs().inputBox(toQString(std::string(kStartTimePrompt)),
                                               toQString(std::string(kStartTimeTitle)), toQString(clockText(now())));
    if (!answer || answer->trimmed().isEmpty()) {
        m_armed = 0;
        showCountdown(now());
        return;
    }
    const auto time = parseStartTime(toStd(*answer));
    if (!time) {
        userDialogs().message(invalidStartTimeMessage());
        m_armed = 0;
        showCountdown(now());
        return;
    }
    m_startTime = *time;
    m_startTimeLabel->setText(toQString(clockText(*time)));
    if (m_mainWindow.drawingList()->rowCount() == 0) {
        userDialogs().message(noDrawingsInListMessage());
        m_armed = 0;
        showCountdown(now());
        return;
    }
    // A list that could not run now would not run at the start time either: say so while the user is here.
    BatchRunner runner(m_mainWindow);
    m_armed = runner.checkRoutinesAssigned() && runner.checkRoutinesPresent() ? 1 : 0;
    showCountdown(now());
}

void TimerWindow::showCountdown(const TimeOfDay& current)
{
    m_countdownLabel->setText(m_armed != 0 && m_startTime ? toQString(countdownText(*m_startTime, current))
                                                          : QString());
}

void TimerWindow::tick()
{
    const TimeOfDay current = now();
    if (current == m_lastSeen)
        return;
    const TimeOfDay previous = m_lastSeen;
    m_lastSeen = current;

    if (m_armed != 0 && m_startTime && startTimeReached(*m_startTime, previous, current)) {
        // The clock stops while the run is written and started, so it cannot fire twice.
        m_tickTimer->stop();
        m_armed = 0;
        m_fired = true;
        if (m_mainWindow.drawingList()->rowCount() == 0) {
            userDialogs().message(noDrawingsInListMessage());
        } else {
            setCursor(Qt::WaitCursor);
            m_mainWindow.startBatch(false);
            unsetCursor();
        }
        finish();
        return;
    }

    if (!isMinimized()) {
        m_currentTimeLabel->setText(toQString(clockText(current)));
        showCountdown(current);
    } else if (current.minute != m_captionMinute) {
        m_captionMinute = current.minute;
        setWindowTitle(toQString(minimisedCaption(current)));
    }
}

bool TimerWindow::confirmLeaving()
{
    if (m_armed == 0)
        return true;
    return userDialogs().message(confirmExitTimerMessage()) == MessageAnswer::Ok;
}

void TimerWindow::exitTimer()
{
    if (confirmLeaving())
        finish();
}

void TimerWindow::finish()
{
    m_tickTimer->stop();
    m_finishing = true;
    done(QDialog::Accepted);
}

void TimerWindow::reject()
{
    // Escape leaves the way Exit does.
    exitTimer();
}

void TimerWindow::closeEvent(QCloseEvent* event)
{
    // The window's close button must not drop an armed timer without the question.
    if (!m_finishing && !confirmLeaving()) {
        event->ignore();
        return;
    }
    finish();
    event->accept();
}

void TimerWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized()) {
        const TimeOfDay current = now();
        m_captionMinute = current.minute;
        setWindowTitle(toQString(minimisedCaption(current)));
    } else {
        m_captionMinute = -1;
        setWindowTitle(QString::fromLatin1(kTimerCaption.data(), qsizetype(kTimerCaption.size())));
        m_currentTimeLabel->setText(toQString(clockText(now())));
    }
}

} // namespace qv
