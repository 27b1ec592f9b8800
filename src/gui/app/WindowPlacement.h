#pragma once

#include <QObject>

class QWidget;

namespace qv {

// Places every window of the program as it is first shown: where the user left it, for the windows whose
// size and position are kept in the settings file; otherwise centred on the window that owns it (on the
// screen for one without), and always wholly on that screen, so no title bar is out of reach.
class WindowPlacement final : public QObject
{
    Q_OBJECT

public:
    // Watches every window of the application from now on (once; later calls only set `remember`).
    // `remember`: the kept windows' geometry is read and written (never in a run nobody watches).
    static void install(bool remember);

    // objectNames of the windows whose geometry is kept, one settings key each.
    static bool isRemembered(const QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place(QWidget& window) const;
    void keep(const QWidget& window) const;

    bool m_remember = false;
};

} // namespace qv
