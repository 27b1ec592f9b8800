// ZOOM: the view change every Quorvel script uses to mark a drawing changed.

#include "Host.h"
#include "Text.h"

namespace qv::hostmodel {

namespace {

// A zoom factor: "2" (relative to the limits), "2X" (to the current view) or "2XP" (to paper space units).
bool isScaleFactor(std::string_view entry)
{
    std::string text = upperAscii(entry);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "XP") == 0) {
        text.resize(text.size() - 2);
    } else if (!text.empty() && text.back() == 'X') {
        text.pop_back();
    }
    const std::optional<double> value = parseNumber(text);
    return value && *value > 0.0;
}

} // namespace

Task<void> Host::zoom()
{
    static const std::vector<Keyword> options =
        keywordsOf("All", "Center", "Dynamic", "Extents", "Previous", "Scale", "Window", "Object");
    const std::string text = "Specify corner of window, enter a scale factor (nX or nXP), or "
                             "[All/Center/Dynamic/Extents/Previous/Scale/Window/Object] <real time>:";
    for (;;) {
        const std::string entry = co_await next("zoom", text);
        if (entry.empty() || isScaleFactor(entry)) {
            accept(entry);
            break;
        }
        if (parsePoint(entry)) {
            accept(entry);
            co_await askPoint("zoom-opposite-corner", "Specify opposite corner:", std::nullopt);
            break;
        }
        const std::optional<std::size_t> chosen = matchKeyword(options, entry);
        if (!chosen) {
            reject(entry, "Point or option keyword required.");
            continue;
        }
        accept(entry);
        const std::string& option = options[*chosen].display;
        if (option == "Window") {
            co_await askPoint("zoom-first-corner", "Specify first corner:", std::nullopt);
            co_await askPoint("zoom-opposite-corner", "Specify opposite corner:", std::nullopt);
        } else if (option == "Scale") {
            for (;;) {
                const std::string factor = co_await next("zoom-scale", "Enter a scale factor (nX or nXP):");
                if (isScaleFactor(factor)) {
                    accept(factor);
                    break;
                }
                reject(factor, "Requires a scale factor (nX or nXP).");
            }
        } else if (option == "Center" || option == "Dynamic" || option == "Object") {
            // These ask for more than this model knows; the zoom ends here.
            log("unmodelled", "zoom option " + option);
        }
        break;
    }
    // Changing the view marks the drawing changed; scripts rely on it to make CLOSE ask about saving.
    current().change(true);
}

} // namespace qv::hostmodel
