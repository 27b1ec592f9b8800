#include "frmTimer.h"

#include "app/BusyCursor.h"
#include "app/Controls.h"
#include "app/Program.h"
#include "app/mdiStart.h"
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

const platform::Clock& frmTimer::ClockInUse()
{
    return g_clock ? *g_clock : platform::SystemClock();
}

void frmTimer::SetClock(const platform::Clock* clock)
{
    g_clock = clock;
}

frmTimer::frmTimer(mdiStart& main, const platform::Clock& clock, QWidget* parent)
    : QDialog(parent), m_main(main), m_clock(clock)
{
    setObjectName(QStringLiteral("frmTimer"));
    setWindowTitle(QString::fromLatin1(kTimerCaption.data(), qsizetype(kTimerCaption.size())));
    setModal(true);

    Frame1 = new QGroupBox(QStringLiteral("Timer Settings"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = MakeLabel(Frame1, "Label1", QStringLiteral("Current Time"));
    lblTime = MakeLabel(Frame1, "lblTime", QString());
    Label2 = MakeLabel(Frame1, "Label2", QStringLiteral("Start Time"));
    lblStartTime = MakeLabel(Frame1, "lblStartTime", QString());
    QFont big = lblTime->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    lblTime->setFont(big);
    lblStartTime->setFont(big);
    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(lblTime, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(lblStartTime, 1, 1);

    cmdEnterStart = new QPushButton(QStringLiteral("Set Start Time"), this);
    cmdEnterStart->setObjectName(QStringLiteral("cmdEnterStart"));
    cmdExit = new QPushButton(QStringLiteral("Exit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdEnterStart->setAutoDefault(false);
    cmdExit->setAutoDefault(false);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(cmdEnterStart);
    buttons->addStretch();
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTickMs);

    connect(cmdEnterStart, &QPushButton::clicked, this, &frmTimer::cmdEnterStart_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmTimer::cmdExit_Click);
    connect(Timer1, &QTimer::timeout, this, &frmTimer::Timer1_Timer);

    // Load: the clock shows the current time.
    m_lastSeen = now();
    lblTime->setText(ToQString(ClockText(m_lastSeen)));
    Timer1->start();
}

TimeOfDay frmTimer::now() const
{
    return TimeOfDay::Of(m_clock.Now());
}

void frmTimer::cmdEnterStart_Click()
{
    const auto answer = Dialogs().inputBox(ToQString(std::string(kStartTimePrompt)),
                                           ToQString(std::string(kStartTimeTitle)), ToQString(ClockText(now())));
    if (!answer || answer->trimmed().isEmpty()) {
        m_armed = 0;
        return;
    }
    const auto time = ParseStartTime(ToStd(*answer));
    if (!time) {
        Dialogs().message(InvalidStartTimeMessage());
        m_armed = 0;
        return;
    }
    m_startTime = *time;
    lblStartTime->setText(ToQString(ClockText(*time)));
    if (m_main.drawingList()->rowCount() == 0) {
        Dialogs().message(NoDrawingsInListMessage());
        m_armed = 0;
        return;
    }
    // A list that could not run now would not run at the start time either: say so while the user is here.
    BatchRunner runner(m_main);
    m_armed = runner.CheckFileAssigned() && runner.CheckRoutinesPresent() ? 1 : 0;
}

void frmTimer::Timer1_Timer()
{
    const TimeOfDay current = now();
    if (current == m_lastSeen)
        return;
    const TimeOfDay previous = m_lastSeen;
    m_lastSeen = current;

    if (m_armed != 0 && m_startTime && StartTimeReached(*m_startTime, previous, current)) {
        // The clock stops while the run is written and started, so it cannot fire twice.
        Timer1->stop();
        m_armed = 0;
        m_fired = true;
        if (m_main.drawingList()->rowCount() == 0) {
            Dialogs().message(NoDrawingsInListMessage());
        } else {
            setCursor(Qt::WaitCursor);
            m_main.StartProcess(false);
            unsetCursor();
        }
        finish();
        return;
    }

    if (!isMinimized()) {
        lblTime->setText(ToQString(ClockText(current)));
    } else if (current.minute != m_captionMinute) {
        m_captionMinute = current.minute;
        setWindowTitle(ToQString(MinimisedCaption(current)));
    }
}

bool frmTimer::confirmLeaving()
{
    if (m_armed == 0)
        return true;
    return Dialogs().message(ConfirmExitTimerMessage()) == MessageAnswer::Ok;
}

void frmTimer::cmdExit_Click()
{
    if (confirmLeaving())
        finish();
}

void frmTimer::finish()
{
    Timer1->stop();
    m_finishing = true;
    done(QDialog::Accepted);
}

void frmTimer::reject()
{
    // Escape leaves the way Exit does.
    cmdExit_Click();
}

void frmTimer::closeEvent(QCloseEvent* event)
{
    // The window's close button must not drop an armed timer without the question.
    if (!m_finishing && !confirmLeaving()) {
        event->ignore();
        return;
    }
    finish();
    event->accept();
}

void frmTimer::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized()) {
        const TimeOfDay current = now();
        m_captionMinute = current.minute;
        setWindowTitle(ToQString(MinimisedCaption(current)));
    } else {
        m_captionMinute = -1;
        setWindowTitle(QString::fromLatin1(kTimerCaption.data(), qsizetype(kTimerCaption.size())));
        lblTime->setText(ToQString(ClockText(now())));
    }
}

} // namespace qv
