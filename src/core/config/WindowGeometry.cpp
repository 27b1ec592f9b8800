#include "WindowGeometry.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace qv {

std::optional<WindowRect> parseWindowGeometry(std::string_view text)
{
    std::array<int, 4> values{};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            if (at == end || *at != ',')
                return std::nullopt;
            ++at;
        }
        const auto [next, error] = std::from_chars(at, end, values[i]);
        if (error != std::errc())
            return std::nullopt;
        at = next;
    }
    if (at != end || values[2] <= 0 || values[3] <= 0)
        return std::nullopt;
    return WindowRect{values[0], values[1], values[2], values[3]};
}

std::string formatWindowGeometry(const WindowRect& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.width) + "," +
           std::to_string(rect.height);
}

WindowRect centreOn(const WindowRect& window, const WindowRect& owner)
{
    return {owner.left + (owner.width - window.width) / 2, owner.top + (owner.height - window.height) / 2, window.width,
            window.height};
}

WindowRect keepOnScreen(const WindowRect& window, const WindowRect& screen)
{
    WindowRect placed = window;
    placed.width = std::min(window.width, screen.width);
    placed.height = std::min(window.height, screen.height);
    placed.left = std::clamp(window.left, screen.left, screen.left + screen.width - placed.width);
    placed.top = std::clamp(window.top, screen.top, screen.top + screen.height - placed.height);
    return placed;
}

} // namespace qv
