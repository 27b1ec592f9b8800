#pragma once

#include <QTimer>
#include <QWidget>

namespace qv {

// The window shown while Quorvel starts; it fires its timer once, 800 ms after it is shown.
// objectName "frmSplash" (its controls keep theirs).
class SplashWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    static constexpr int kDelayMs = 800;
    QTimer* timer() { return &m_timer; }

signals:
    void timerFired();

private:
    QTimer m_timer;
};

} // namespace qv
