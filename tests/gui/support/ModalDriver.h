#pragma once

#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

namespace qv::test {

// Answers the program's own modal windows as a person would: while a test runs something that opens
// nested modal windows, a timer looks at the active modal window and runs the step registered for its
// class. A step returns false to be tried again on the next tick (a search still running, say).
// Every window a step finished is listed, in order, by class name.
class ModalDriver final : public QObject
{
public:
    ModalDriver()
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::tick);
        m_timer.start();
    }

    template <typename Window>
    void on(std::function<bool(Window*)> step)
    {
        m_steps.push_back([step](QWidget* widget) {
            auto* window = qobject_cast<Window*>(widget);
            return window ? std::optional<bool>(step(window)) : std::nullopt;
        });
    }

    // Class names of the windows handled so far.
    const QStringList& handled() const { return m_handled; }

private:
    void tick()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || m_pending)
            return;
        // The step runs from a timer of its own: a step that opens a nested modal window spins an event
        // loop there, and this timer's ticks must go on to answer that window.
        m_pending = true;
        QTimer::singleShot(0, this, [this, modal = QPointer<QWidget>(modal)] {
            m_pending = false;
            if (!modal || modal != QApplication::activeModalWidget())
                return;
            const QString name = QString::fromLatin1(modal->metaObject()->className());
            for (const auto& step : m_steps) {
                const std::optional<bool> done = step(modal);
                if (!done)
                    continue;
                if (*done)
                    m_handled << name;
                break;
            }
        });
    }

    QTimer m_timer;
    std::vector<std::function<std::optional<bool>(QWidget*)>> m_steps;
    QStringList m_handled;
    bool m_pending = false;
};

} // namespace qv::test
