#include "WindowPlacement.h"

#include "app/Program.h"
#include "config/WindowGeometry.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <array>

namespace qv {
namespace {

constexpr const char* kPlacedProperty = "qvPlaced";

// The large windows a user sizes to the work: the main window, the routine editor, the combine window,
// the check's results and the help.
constexpr std::array<const char*, 5> kRememberedWindows = {"mdiStart", "FrmScript", "frmCombineRoutine",
                                                           "frmCheckResult", "frmHelp"};

WindowRect toRect(const QRect& rect)
{
    return {rect.left(), rect.top(), rect.width(), rect.height()};
}

WindowPlacement* g_placement = nullptr;

} // namespace

void WindowPlacement::install(bool remember)
{
    if (!g_placement) {
        g_placement = new WindowPlacement();
        g_placement->setParent(qApp);
        qApp->installEventFilter(g_placement);
    }
    g_placement->m_remember = remember;
}

bool WindowPlacement::isRemembered(const QWidget& window)
{
    const QString name = window.objectName();
    for (const char* remembered : kRememberedWindows) {
        if (name == QLatin1String(remembered))
            return true;
    }
    return false;
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show && event->type() != QEvent::Hide)
        return false;
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window || !window->isWindow())
        return false;
    const Qt::WindowType type = window->windowType();
    // A message box sizes itself to its text as it shows; Qt places it on its owner after that.
    if ((type != Qt::Window && type != Qt::Dialog) || qobject_cast<QMessageBox*>(window))
        return false;
    if (event->type() == QEvent::Show) {
        if (!window->property(kPlacedProperty).toBool()) {
            window->setProperty(kPlacedProperty, true);
            place(*window);
        }
    } else if (!event->spontaneous()) {
        // A spontaneous hide is the window being minimised, not closed.
        keep(*window);
    }
    return false;
}

void WindowPlacement::place(QWidget& window) const
{
    QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (owner && !owner->isVisible())
        owner = nullptr;
    const QScreen* screen = owner ? owner->screen() : window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const WindowRect area = toRect(screen->availableGeometry());
    // Positions are the frame's, sizes the window's own: the frame is added where the platform knows it.
    const QMargins frame = window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    WindowRect placed{0, 0, window.width() + frameWidth, window.height() + frameHeight};
    std::optional<WindowRect> kept;
    if (m_remember && isRemembered(window))
        kept =
            parseWindowGeometry(programState().settings.readValue(kWindowGeometrySection, toStd(window.objectName())));
    if (kept)
        placed = {kept->left, kept->top, kept->width + frameWidth, kept->height + frameHeight};
    else
        placed = centreOn(placed, owner ? toRect(owner->frameGeometry()) : area);
    placed = keepOnScreen(placed, area);
    const QSize size(placed.width - frameWidth, placed.height - frameHeight);
    if (size != window.size())
        window.resize(size);
    window.move(placed.left, placed.top);
}

void WindowPlacement::keep(const QWidget& window) const
{
    if (!m_remember || !isRemembered(window) || window.isMaximized() || window.isMinimized() || window.isFullScreen())
        return;
    const std::string key = toStd(window.objectName());
    const std::string value = formatWindowGeometry({window.x(), window.y(), window.width(), window.height()});
    const SettingsFile& settings = programState().settings;
    if (settings.readValue(kWindowGeometrySection, key) == value)
        return;
    // Only comfort: a settings file that cannot take it leaves the window where it opens by default next time,
    // and closing a window is no moment for an error box.
    (void)settings.writeValue(kWindowGeometrySection, key, value);
}

} // namespace qv
