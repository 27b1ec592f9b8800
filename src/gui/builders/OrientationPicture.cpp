#include "OrientationPicture.h"

#include <QPainter>

namespace qv {

OrientationPicture::OrientationPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picOrient"));
    setMinimumSize(56, 56);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void OrientationPicture::setPicture(int picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    update();
}

void OrientationPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool portrait = m_picture == 0 || m_picture == 3;
    const bool upsideDown = m_picture >= 2;
    const qreal side = qMin(width(), height()) - 8;
    const QSizeF sheet = portrait ? QSizeF(side * 0.72, side) : QSizeF(side, side * 0.72);
    const QRectF page(QPointF((width() - sheet.width()) / 2, (height() - sheet.height()) / 2), sheet);

    painter.setPen(QPen(palette().color(QPalette::WindowText), 1.2));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(page);

    painter.translate(page.center());
    if (upsideDown)
        painter.rotate(180);
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(side * 0.5));
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRectF(-sheet.width() / 2, -sheet.height() / 2, sheet.width(), sheet.height()),
                     Qt::AlignCenter, QStringLiteral("A"));
}

} // namespace qv
