#pragma once

#include <QWidget>

namespace qv {

// A sheet of paper with a letter on it, drawn in one of the four plot orientations: 0 portrait,
// 1 landscape, 2 landscape upside down, 3 portrait upside down.
// objectName "picOrient" (its controls keep theirs).
class OrientationPicture final : public QWidget
{
public:
    explicit OrientationPicture(QWidget* parent = nullptr);

    int picture() const { return m_picture; }
    void setPicture(int picture);

    QSize sizeHint() const override { return {64, 64}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_picture = 1;
};

} // namespace qv
