#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Where a window opens. Windows keep their size and position in the settings file, section "Window_Geometry",
// one key per window (its objectName), as "left,top,width,height" in screen pixels.

inline constexpr const char* kWindowGeometrySection = "Window_Geometry";

struct WindowRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowRect&) const = default;
};

// "left,top,width,height"; nothing for any other text (a missing key reads "Unknown"), or for a size that is
// not positive.
std::optional<WindowRect> parseWindowGeometry(std::string_view text);
std::string formatWindowGeometry(const WindowRect& rect);

// The window centred on its owner (or on the screen when it has none), then moved and if need be shrunk so
// that it lies wholly on the screen's free area: its title bar is never out of reach.
WindowRect centreOn(const WindowRect& window, const WindowRect& owner);
WindowRect keepOnScreen(const WindowRect& window, const WindowRect& screen);

} // namespace qv
