// -PLOT, detailed and by page setup, release by release; and the output devices the host knows.

#include "Host.h"
#include "Text.h"

namespace qv::hostmodel {

namespace {

constexpr std::string_view kNone = "None";

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool isConfiguration(std::string_view name)
{
    return name.size() > 4 && equalsNoCase(name.substr(name.size() - 4), ".pc3");
}

// Raster configurations plot in pixels: the host does not ask for paper units.
bool isRaster(std::string_view name)
{
    return isConfiguration(name) && startsWithNoCase(name, "PublishToWeb");
}

// Configurations that can only write files: the host asks for the file name at once.
bool isFileOnly(std::string_view name)
{
    if (!isConfiguration(name)) {
        return false;
    }
    for (const std::string_view prefix : {"DWF", "DWG To PDF", "AutoCAD PDF", "PublishToWeb"}) {
        if (startsWithNoCase(name, prefix)) {
            return true;
        }
    }
    return false;
}

std::string plotFileExtension(std::string_view device)
{
    if (startsWithNoCase(device, "DWFx")) {
        return ".dwfx";
    }
    if (startsWithNoCase(device, "DWF")) {
        return ".dwf";
    }
    if (startsWithNoCase(device, "PublishToWeb JPG")) {
        return ".jpg";
    }
    if (startsWithNoCase(device, "PublishToWeb PNG")) {
        return ".png";
    }
    if (device.find("PDF") != std::string_view::npos) {
        return ".pdf";
    }
    return ".plt";
}

// The shade plot question of the model tab, by release.
std::string shadePrompt(const Product& product)
{
    if (product.release >= 2013) {
        return "Enter shade plot setting [As displayed/legacy Wireframe/legacy Hidden/Visual styles/Rendered] "
               "<As displayed>:";
    }
    if (product.release >= 2007) {
        return "Enter shade plot setting [As displayed/Wireframe/Hidden/Visual styles/Rendered] <As displayed>:";
    }
    return "Enter shade plot setting [As displayed/Wireframe/Hidden/Rendered] <As displayed>:";
}

std::vector<Keyword> shadeOptions(const Product& product)
{
    if (product.release >= 2013) {
        return keywordsOf("As displayed", "legacy Wireframe", "legacy Hidden", "Visual styles", "Rendered");
    }
    if (product.release >= 2007) {
        return keywordsOf("As displayed", "Wireframe", "Hidden", "Visual styles", "Rendered");
    }
    return keywordsOf("As displayed", "Wireframe", "Hidden", "Rendered");
}

// "Fit", "1=100", "1:100", "1/4\"=1'-0\"" or a single number.
bool isPlotScale(std::string_view entry)
{
    const std::size_t split = entry.find_first_of("=:");
    if (split == std::string_view::npos) {
        const std::optional<double> value = parseNumber(entry);
        return value && *value > 0.0;
    }
    const std::optional<double> plotted = parseDistance(entry.substr(0, split));
    const std::optional<double> units = parseDistance(entry.substr(split + 1));
    return plotted && units && *plotted > 0.0 && *units > 0.0;
}

bool isQuestion(std::string_view entry)
{
    return entry == "?" || entry == "_?";
}

// At -PLOT's name prompts the whole line is the name, quotes included, so a quoted name names nothing.
bool isQuoted(std::string_view entry)
{
    return entry.size() >= 2 && entry.front() == '"' && entry.back() == '"';
}

constexpr std::string_view kQuotedName =
    "The quotes are part of the name at this prompt, as at the device prompt; no such name.";

// BricsCAD's -PLOT asks, on the model tab, whether to remove hidden lines and whether to save changes to the
// model tab, as release 2000 did; the routines written for ZWCAD answer it the same way.
bool asksLikeRelease2000(const Product& product, bool model)
{
    return model && (product.release < 2004 || product.clone);
}

} // namespace

std::vector<Device> standardDevices()
{
    return {
        {"DWF ePlot.pc3", {}},
        {"DWF Classic.pc3", {}},
        {"DWF eView (optimized for viewing).pc3", {}},
        {"DWF ePlot (optimized for plotting).pc3", {}},
        {"DWF6 ePlot.pc3", {}},
        {"PublishToWeb JPG.pc3", {}},
        {"PublishToWeb PNG.pc3", {}},
        {"Default Windows System Printer.pc3", {}},
    };
}

std::vector<Device> parseDevices(std::string_view text)
{
    std::vector<Device> devices;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        const std::string_view item = text.substr(start, end - start);
        start = end + 1;
        const std::size_t equals = item.find('=');
        Device device{std::string(item.substr(0, equals)), {}};
        if (device.name.empty()) {
            continue;
        }
        if (equals != std::string_view::npos) {
            std::string_view papers = item.substr(equals + 1);
            std::size_t from = 0;
            while (from < papers.size()) {
                const std::size_t bar = std::min(papers.find('|', from), papers.size());
                if (bar > from) {
                    device.papers.emplace_back(papers.substr(from, bar - from));
                }
                from = bar + 1;
            }
        }
        devices.push_back(std::move(device));
    }
    return devices;
}

const Device* Host::findDevice(std::string_view name) const
{
    // A configuration may be named without its ".pc3"; a configuration of that name comes before a printer.
    for (const bool withExtension : {true, false}) {
        for (const Device& device : m_devices) {
            if (withExtension ? (isConfiguration(device.name) && !isConfiguration(name) &&
                                 equalsNoCase(device.name, std::string(name) + ".pc3"))
                              : equalsNoCase(device.name, name)) {
                return &device;
            }
        }
    }
    return nullptr;
}

Task<std::string> Host::askLayout()
{
    const std::string tab = current().tab;
    for (;;) {
        const std::string entry =
            co_await next("plot-layout", "Enter a layout name or [?] <" + tab + ">:", EntryKind::Line);
        if (isQuestion(entry)) {
            accept(entry);
            continue;
        }
        if (isQuoted(entry)) {
            reject(entry, kQuotedName);
            continue;
        }
        const std::string layout = entry.empty() ? tab : current().findLayout(entry);
        if (!layout.empty()) {
            accept(entry);
            co_return layout;
        }
        if (trusted(entry, "No layout by that name in " + currentName() + ".")) {
            co_return entry;
        }
    }
}

Task<const Device*> Host::askDevice(std::string currentDevice)
{
    static const Device none{std::string(kNone), {}};
    for (;;) {
        const std::string entry = co_await next(
            "plot-device", "Enter an output device name or [?] <" + currentDevice + ">:", EntryKind::Line);
        if (isQuestion(entry)) {
            accept(entry);
            continue;
        }
        const std::string name = entry.empty() ? currentDevice : entry;
        if (isQuoted(entry)) {
            reject(entry, "<" + entry + "> not found.");
            continue;
        }
        if (equalsNoCase(name, kNone)) {
            accept(entry);
            co_return &none;
        }
        if (name == Drawing::kOwnDevice) {
            // A real drawing in a check: its own device, which the model cannot see.
            accept(entry);
            co_return &m_trustedDevices.try_emplace(name, Device{name, {}}).first->second;
        }
        if (const Device* device = findDevice(name)) {
            accept(entry);
            co_return device;
        }
        if (trusted(entry, "No such plotter or printer: \"" + name + "\".")) {
            co_return &m_trustedDevices.try_emplace(name, Device{name, {}}).first->second;
        }
    }
}

Task<std::string> Host::askPlotFile(const Device& device, const std::string& layout)
{
    if (!isFileOnly(device.name)) {
        const bool toFile = co_await askYesNo("plot-to-file", "Write the plot to a file [Yes/No] <N>:", false);
        if (!toFile) {
            co_return std::string();
        }
    }
    const std::string extension = plotFileExtension(device.name);
    const std::string proposed = withExtension(current().path, "") + "-" + layout + extension;
    const std::string entry =
        co_await next("plot-file", "Enter file name <" + proposed + ">:", EntryKind::Line);
    accept(entry);
    if (entry.empty()) {
        co_return proposed;
    }
    std::string file = stripQuotes(entry);
    if (file.find_first_of("/\\") == std::string::npos) {
        file = folderOf(current().path) + file;
    }
    if (nameOf(file).find('.') == std::string::npos) {
        file += extension;
    }
    co_return file;
}

// The last question of both forms; a plot to no device is refused there.
Task<void> Host::proceed(bool saveSetup, const Device& device, std::string detail, std::string file)
{
    const bool yes = co_await askYesNo("plot-proceed", "Proceed with plot [Yes/No] <Y>:", true);
    if (saveSetup) {
        current().change();
    }
    if (!yes) {
        co_return;
    }
    if (equalsNoCase(device.name, kNone)) {
        fail("No plotter is assigned. Use Page Setup to assign a plotter to the current Layout.");
        co_return;
    }
    if (device.name == Drawing::kOwnDevice) {
        // A real drawing in a check: the layout's own device may be None, and then nothing is plotted.
        ++m_outcome.warnings;
        m_sink(HostEvent{m_line, "warning", currentName(),
                         "plot-proceed: the plot keeps the layout's own device, which the check cannot see; if it is "
                         "None, the host says \"No plotter is assigned\" and plots nothing.",
                         {}, m_prompt.text});
    }
    plotted(detail, file);
}

void Host::plotted(const std::string& detail, const std::string& file)
{
    if (!file.empty()) {
        const std::string error = m_setup.files->write(file, "CADHOST PLOT " + detail + "\r\n");
        if (!error.empty()) {
            fail("cannot write the plot file " + file + ": " + error);
            return;
        }
    }
    log("plotted", detail + (file.empty() ? std::string() : " file=" + file));
}

Task<void> Host::plot()
{
    const Product& product = m_setup.product;
    if (product.release < 2000) {
        log("unmodelled", "the command-line plot of release " + std::to_string(product.release));
        co_return;
    }
    // A wrong answer at a keyword prompt ends -PLOT; a name it does not know is asked again.
    m_keywordEndsCommand = true;
    const bool detailed =
        co_await askYesNo("plot-detailed", "Detailed plot configuration? [Yes/No] <No>:", false);
    const std::string layout = co_await askLayout();
    const bool model = equalsNoCase(layout, Drawing::kModel);

    if (!detailed) {
        std::string setupName;
        std::string deviceName = current().device;
        for (;;) {
            const std::string entry = co_await next("plot-pagesetup", "Enter a page setup name <>:", EntryKind::Line);
            if (entry.empty()) {
                accept(entry);
                break;
            }
            if (isQuoted(entry)) {
                reject(entry, kQuotedName);
                continue;
            }
            if (const PageSetup* pageSetup = current().findPageSetup(entry)) {
                accept(entry);
                setupName = pageSetup->name;
                if (!pageSetup->device.empty()) {
                    deviceName = pageSetup->device;
                }
                break;
            }
            if (trusted(entry, "Page setup \"" + entry + "\" not found in " + currentName() + ".")) {
                setupName = entry;
                break;
            }
        }
        const Device* device = co_await askDevice(deviceName);
        const std::string file = co_await askPlotFile(*device, layout);
        const bool saveSetup = co_await askYesNo(
            "plot-save-changes",
            asksLikeRelease2000(product, model) ? "Save changes to model tab [Yes/No]? <N>"
                                                : "Save changes to layout [Yes/No]? <N>",
            false);
        // Built before the co_await: g++ 12 frees a conditional's temporary twice inside one.
        const std::string detail = "layout=" + layout + " pagesetup=" +
                                   (setupName.empty() ? std::string("(current)") : setupName) +
                                   " device=" + device->name;
        co_await proceed(saveSetup, *device, detail, file);
        co_return;
    }

    const Device* device = co_await askDevice(current().device);
    const std::string defaultPaper = device->papers.empty() ? "ANSI A (8.50 x 11.00 Inches)" : device->papers.front();
    std::string paper;
    for (;;) {
        const std::string entry =
            co_await next("plot-paper", "Enter paper size or [?] <" + defaultPaper + ">:", EntryKind::Line);
        if (isQuestion(entry)) {
            accept(entry);
            continue;
        }
        if (isQuoted(entry)) {
            reject(entry, kQuotedName);
            continue;
        }
        paper = entry.empty() ? defaultPaper : entry;
        if (device->papers.empty()) {
            accept(entry);
            break;
        }
        const auto known = std::find_if(device->papers.begin(), device->papers.end(),
                                        [&](const std::string& name) { return equalsNoCase(name, paper); });
        if (known != device->papers.end()) {
            accept(entry);
            paper = *known;
            break;
        }
        reject(entry, "Paper size \"" + paper + "\" is not offered by " + device->name + ".");
    }
    std::string units = "Pixels";
    if (!isRaster(device->name)) {
        static const std::vector<Keyword> paperUnits = keywordsOf("Inches", "Millimeters");
        const std::size_t chosen =
            co_await askKeyword("plot-units", "Enter paper units [Inches/Millimeters] <Inches>:", paperUnits, 0);
        units = chosen == 0 ? "Inches" : "Millimeters";
    }
    static const std::vector<Keyword> orientations = keywordsOf("Portrait", "Landscape");
    co_await askKeyword("plot-orientation", "Enter drawing orientation [Portrait/Landscape] <Landscape>:",
                        orientations, 1);
    co_await askYesNo("plot-upside-down", "Plot upside down? [Yes/No] <No>:", false);

    const std::vector<Keyword> areas = model ? keywordsOf("Display", "Extents", "Limits", "View", "Window")
                                             : keywordsOf("Display", "Extents", "Layout", "View", "Window");
    const std::size_t area = co_await askKeyword(
        "plot-area", "Enter plot area [" + keywordList(areas) + "] <" + (model ? "Display" : "Layout") + ">:", areas,
        model ? 0 : 2);
    std::string areaDetail = areas[area].display;
    if (areas[area].display == "View") {
        for (;;) {
            const std::string entry = co_await next("plot-view", "Enter view name:", EntryKind::Line);
            if (isQuoted(entry)) {
                reject(entry, kQuotedName);
                continue;
            }
            const std::string view = current().findView(entry);
            if (!view.empty()) {
                accept(entry);
                areaDetail += " " + view;
                break;
            }
            if (trusted(entry, "No view named \"" + entry + "\" in " + currentName() + ".")) {
                areaDetail += " " + entry;
                break;
            }
        }
    } else if (areas[area].display == "Window") {
        co_await askPoint("plot-window-lower-left", "Enter lower left corner of window <0.000000,0.000000>:",
                          Point{});
        co_await askPoint("plot-window-upper-right", "Enter upper right corner of window <0.000000,0.000000>:",
                          Point{});
    }

    std::string scale;
    for (;;) {
        const std::string entry = co_await next(
            "plot-scale", "Enter plot scale (Plotted " + units + "=Drawing Units) or [Fit] <" +
                              (model ? "Fit" : "1:1") + ">:");
        if (entry.empty() || matchKeyword(keywordsOf("Fit"), entry) || isPlotScale(entry)) {
            accept(entry);
            scale = entry.empty() ? (model ? "Fit" : "1:1") : matchKeyword(keywordsOf("Fit"), entry) ? "Fit" : entry;
            break;
        }
        cancel(entry, "Invalid scale. The command ends; the next entry goes to the command prompt.");
    }
    // Center is not offered for the layout's own area, nor by BricsCAD.
    const bool offersCenter = areas[area].display != "Layout" && !product.isBricscad();
    {
        const std::string entry = co_await next("plot-offset", offersCenter
                                                                   ? "Enter plot offset (x,y) or [Center] <0.00,0.00>:"
                                                                   : "Enter plot offset (x,y) <0.00,0.00>:");
        const std::optional<std::vector<double>> point = parsePoint(entry);
        if (!entry.empty() && !(offersCenter && matchKeyword(keywordsOf("Center"), entry)) &&
            !(point && point->size() == 2)) {
            cancel(entry, std::string(offersCenter ? "Requires a point or Center." : "Requires a point.") +
                              " The command ends; the next entry goes to the command prompt.");
        }
        accept(entry);
    }
    if (co_await askYesNo("plot-styles", "Plot with plot styles? [Yes/No] <Yes>:", true)) {
        for (;;) {
            const std::string entry = co_await next(
                "plot-style-table", "Enter plot style table name or [?] (enter . for none) <>:", EntryKind::Line);
            if (isQuoted(entry)) {
                reject(entry, kQuotedName);
                continue;
            }
            accept(entry);
            if (!isQuestion(entry)) {
                break;
            }
        }
    }
    co_await askYesNo("plot-lineweights", "Plot with lineweights? [Yes/No] <Yes>:", true);
    if (!model) {
        co_await askYesNo("plot-scale-lineweights", "Scale lineweights with plot scale? [Yes/No] <No>:", false);
        co_await askYesNo("plot-paperspace-first", "Plot paper space first? [Yes/No] <No>:", false);
        co_await askYesNo("plot-hide-paperspace", "Hide paperspace objects? [Yes/No] <No>:", false);
    } else if (asksLikeRelease2000(product, model)) {
        co_await askYesNo("plot-remove-hidden", "Remove hidden lines? [Yes/No] <No>:", false);
    } else {
        const std::vector<Keyword> shades = shadeOptions(product);
        const std::size_t shade = co_await askKeyword("plot-shade", shadePrompt(product), shades, 0);
        if (shades[shade].display == "Visual styles") {
            static const std::vector<Keyword> styles =
                keywordsOf("Wireframe", "Hidden", "Realistic", "Conceptual", "Shaded", "shaded with Edges",
                           "shades of Gray", "SKetchy", "X-ray", "Other");
            const std::size_t style = co_await askKeyword(
                "plot-visual-style",
                "Enter an option [Wireframe/Hidden/Realistic/Conceptual/Shaded/shaded with Edges/shades of Gray/"
                "SKetchy/X-ray/Other] <Realistic>:",
                styles, 2);
            if (styles[style].display == "Other") {
                const std::string name =
                    co_await next("plot-visual-style-name", "Enter a visual style name or [?]:", EntryKind::Line);
                accept(name);
            }
        }
    }
    const std::string file = co_await askPlotFile(*device, layout);

    bool saveSetup = false;
    if (model && !asksLikeRelease2000(product, model)) {
        // The save question also leads to the shade plot quality, after which it is asked again.
        static const std::vector<Keyword> saveOrQuality = keywordsOf("Yes", "No", "Quality");
        static const std::vector<Keyword> qualities =
            keywordsOf("Draft", "Preview", "Normal", "pResentation", "Maximum", "Custom");
        for (;;) {
            const std::size_t chosen = co_await askKeyword(
                "plot-save-changes", "Save changes to page setup? Or set shade plot quality? [Yes/No/Quality] <N>:",
                saveOrQuality, 1);
            if (chosen != 2) {
                saveSetup = chosen == 0;
                break;
            }
            const std::size_t quality = co_await askKeyword(
                "plot-shade-quality",
                "Enter shade plot quality [Draft/Preview/Normal/pResentation/Maximum/Custom] <Normal>:", qualities, 2);
            if (quality == 5) {
                for (;;) {
                    const std::string dpi = co_await next("plot-shade-dpi", "Enter custom dpi <300>:");
                    const std::optional<long long> value = parseInteger(dpi);
                    if (dpi.empty() || (value && *value > 0)) {
                        accept(dpi);
                        break;
                    }
                    reject(dpi, "Requires a positive whole number.");
                }
            }
        }
    } else {
        saveSetup = co_await askYesNo("plot-save-changes",
                                      model ? "Save changes to model tab [Yes/No]? <N>"
                                            : "Save changes to page setup [Yes/No]? <N>",
                                      false);
    }
    const std::string detail = "layout=" + layout + " device=" + device->name + " paper=" + paper +
                               " area=" + areaDetail + " scale=" + scale;
    co_await proceed(saveSetup, *device, detail, file);
}

} // namespace qv::hostmodel
