// -LAYER and AUDIT.

#include "Host.h"
#include "Text.h"

namespace qv::hostmodel {

namespace {

struct LayerOption
{
    const char* display;
    int since;
};

constexpr LayerOption kLayerOptions[] = {
    {"?", 13},          {"Make", 13},     {"Set", 13},          {"New", 13},         {"Rename", 2000},
    {"ON", 13},         {"OFF", 13},      {"Color", 13},        {"Ltype", 13},       {"LWeight", 2000},
    {"TRansparency", 2013}, {"MATerial", 2007}, {"Plot", 2000}, {"PStyle", 2000},    {"Freeze", 13},
    {"Thaw", 13},       {"LOck", 13},     {"Unlock", 13},       {"stAte", 2004},     {"Description", 2005},
    {"rEconcile", 2010},
};

std::vector<Keyword> layerOptions(const Product& product)
{
    std::vector<Keyword> options;
    for (const LayerOption& option : kLayerOptions) {
        if (product.clone || option.since <= product.release) {
            options.push_back(std::string_view(option.display) == "?" ? Keyword{"?", {}, true} : keyword(option.display));
        }
    }
    return options;
}

std::vector<std::string> nameList(const std::string& text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        if (end > start) {
            names.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

} // namespace

Task<void> Host::layer()
{
    const std::vector<Keyword> options = layerOptions(m_setup.product);
    const std::string text = "Enter an option [" + keywordList(options) + "]:";
    log("status", "Current layer:  \"" + current().currentLayer + "\"");
    for (;;) {
        const std::string entry = co_await next("layer-option", text);
        if (entry.empty()) {
            accept(entry);
            co_return;
        }
        const std::optional<std::size_t> chosen =
            (entry == "?" || entry == "_?") ? std::optional<std::size_t>(0) : matchKeyword(options, entry);
        if (!chosen) {
            reject(entry, "Invalid option keyword.");
            continue;
        }
        accept(entry);
        const std::string option = options[*chosen].display;
        Drawing& drawing = current();
        if (option == "?") {
            accept(co_await next("layer-list", "Enter layer name(s) to list <*>:"));
        } else if (option == "Make") {
            const std::string name =
                co_await next("layer-make", "Enter name for new layer (becomes the current layer) <" +
                                                drawing.currentLayer + ">:");
            accept(name);
            if (!name.empty()) {
                if (drawing.findLayer(name).empty()) {
                    drawing.layers.push_back(name);
                }
                drawing.currentLayer = drawing.findLayer(name);
                drawing.change();
            }
        } else if (option == "Set") {
            const std::string name = co_await next("layer-set", "Enter layer name to make current or <select object>:");
            if (name.empty()) {
                accept(name);
            } else if (drawing.findLayer(name).empty()) {
                if (trusted(name, "Cannot find layer \"" + name + "\".")) {
                    drawing.layers.push_back(name);
                    drawing.currentLayer = name;
                }
            } else {
                accept(name);
                drawing.currentLayer = drawing.findLayer(name);
                drawing.change();
            }
        } else if (option == "New") {
            const std::string names = co_await next("layer-new", "Enter name list for new layer(s):");
            accept(names);
            for (const std::string& name : nameList(names)) {
                if (drawing.findLayer(name).empty()) {
                    drawing.layers.push_back(name);
                }
            }
            drawing.change();
        } else if (option == "ON" || option == "Thaw") {
            const std::string names = co_await next(option == "ON" ? "layer-on" : "layer-thaw",
                                                    option == "ON" ? "Enter name list of layer(s) to turn On:"
                                                                   : "Enter name list of layer(s) to thaw:");
            accept(names);
            drawing.change();
        } else if (option == "OFF") {
            const std::string names =
                co_await next("layer-off", "Enter name list of layer(s) to turn off or <select objects>:");
            accept(names);
            const std::vector<std::string> list = nameList(names);
            const bool hitsCurrent = std::any_of(list.begin(), list.end(), [&](const std::string& name) {
                return name == "*" || equalsNoCase(name, drawing.currentLayer);
            });
            if (hitsCurrent) {
                co_await askYesNo("layer-off-current",
                                  "Really want layer " + drawing.currentLayer + " (the CURRENT layer) off? <N>", false);
            }
            drawing.change();
        } else if (option == "Freeze") {
            const std::string names =
                co_await next("layer-freeze", "Enter name list of layer(s) to freeze or <select objects>:");
            accept(names);
            drawing.change();
        } else {
            // The other options ask for more than this model knows: the command ends here.
            log("unmodelled", "-LAYER option " + option);
            throw Cancel{};
        }
    }
}

Task<void> Host::audit()
{
    const bool fix = co_await askYesNo("audit-fix", "Fix any errors detected? [Yes/No] <N>:", false);
    log("audited", fix ? "errors fixed" : "errors reported only");
}

} // namespace qv::hostmodel
