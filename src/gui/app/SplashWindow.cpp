#include "SplashWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    auto* name = new QLabel(QStringLiteral("Quorvel"), this);
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    auto* line = new QLabel(QStringLiteral("Batch processing of drawings\nVersion ") +
                                QStringLiteral(QUORVEL_VERSION) + QStringLiteral("\n\nLoading..."),
                            this);
    line->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    layout->addWidget(line);
    setStyleSheet(QStringLiteral("QWidget#frmSplash { background: #1f3b57; } QLabel { color: white; }"));
    resize(420, 220);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &SplashWindow::timerFired);
    m_timer.start();
}

} // namespace qv
