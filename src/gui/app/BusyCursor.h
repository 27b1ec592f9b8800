#pragma once

#include <QApplication>
#include <QCursor>

namespace qv {

// Hourglass pointer for the lifetime of the object (long work on the user-interface thread).
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace qv
