#include "Drawing.h"

#include "Keywords.h"

#include <algorithm>

namespace qv::hostmodel {

namespace {

int hexValue(char ch)
{
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    return -1;
}

bool decode(std::string_view text, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return false;
        }
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return false;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

bool splitList(std::string_view value, std::vector<std::string>& items)
{
    items.clear();
    if (value.empty()) {
        return true;
    }
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find(',', start), value.size());
        std::string item;
        if (!decode(value.substr(start, end - start), item) || item.empty()) {
            return false;
        }
        items.push_back(std::move(item));
        start = end + 1;
    }
    return true;
}

template <typename Names>
std::string findName(const Names& names, std::string_view name)
{
    for (const std::string& candidate : names) {
        if (equalsNoCase(candidate, name)) {
            return candidate;
        }
    }
    return {};
}

} // namespace

void Drawing::change(bool viewOnly)
{
    modified = true;
    edited = edited || !viewOnly;
}

void Drawing::markSaved()
{
    modified = false;
    edited = false;
}

bool Drawing::onModel() const
{
    return equalsNoCase(tab, kModel);
}

std::string Drawing::findLayout(std::string_view name) const
{
    if (equalsNoCase(name, kModel)) {
        return std::string(kModel);
    }
    return findName(layouts, name);
}

const PageSetup* Drawing::findPageSetup(std::string_view name) const
{
    for (const PageSetup& setup : pageSetups) {
        if (equalsNoCase(setup.name, name)) {
            return &setup;
        }
    }
    return nullptr;
}

std::string Drawing::findView(std::string_view name) const
{
    return findName(views, name);
}

std::string Drawing::findLayer(std::string_view name) const
{
    return findName(layers, name);
}

std::string applyDrawingLine(std::string_view line, Drawing& drawing)
{
    constexpr std::string_view kPrefix = "CADHOST ";
    if (line.substr(0, kPrefix.size()) != kPrefix) {
        return {};
    }
    line.remove_prefix(kPrefix.size());
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        const std::string_view pair = line.substr(start, end - start);
        start = end + 1;
        if (pair.empty()) {
            continue;
        }
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos) {
            return "\"" + std::string(pair) + "\" is not key=value";
        }
        const std::string key = upperAscii(pair.substr(0, equals));
        const std::string_view value = pair.substr(equals + 1);
        std::vector<std::string> items;
        if (!splitList(value, items)) {
            return "bad value in \"" + std::string(pair) + "\"";
        }
        if (key == "TAB" || key == "LAYER" || key == "DEVICE") {
            if (items.size() != 1) {
                return "\"" + std::string(pair) + "\" needs one name";
            }
            (key == "TAB" ? drawing.tab : key == "LAYER" ? drawing.currentLayer : drawing.device) = items.front();
        } else if (key == "LAYOUTS") {
            drawing.layouts = items;
        } else if (key == "VIEWS") {
            drawing.views = items;
        } else if (key == "LAYERS") {
            drawing.layers = items;
        } else if (key == "PAGESETUPS") {
            // A page setup may name its device after '=': "A1-Plot=DWF6%20ePlot.pc3".
            drawing.pageSetups.clear();
            for (const std::string& item : items) {
                const std::size_t split = item.find('=');
                drawing.pageSetups.push_back(
                    {item.substr(0, split), split == std::string::npos ? std::string() : item.substr(split + 1)});
            }
        } else if (key == "FAULT") {
            // A fault the stand-in host acts out (crash, hang, slow:SECONDS); nothing the model itself follows.
        } else {
            return "unknown key \"" + std::string(pair.substr(0, equals)) + "\"";
        }
    }
    if (drawing.findLayout(drawing.tab).empty()) {
        return "tab \"" + drawing.tab + "\" is not one of its layouts";
    }
    drawing.tab = drawing.findLayout(drawing.tab);
    if (drawing.findLayer(drawing.currentLayer).empty()) {
        drawing.layers.push_back(drawing.currentLayer);
    }
    return {};
}

} // namespace qv::hostmodel
