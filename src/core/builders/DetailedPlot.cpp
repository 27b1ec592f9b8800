#include "DetailedPlot.h"

#include "config/CadProducts.h"
#include "routines/RoutineRecord.h"
#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <tuple>

namespace qv {
namespace {

constexpr std::string_view kLayoutArea = "Layout"; // the layout's own area: the host's default on a layout
constexpr std::string_view kViewArea = "_View";
constexpr std::string_view kPixels = "_Pixels";

const std::array<std::string_view, 9> kPaperPrompts = {
    "<Default>",       "Select ANSI Size",   "Select ISO Size", "Select ARCH Size", "Select DIN Size",
    "Select JIS Size", "Select Custom Size", "No Custom Sizes", "Select Pixels",
};

bool isOneOf(std::string_view code, std::initializer_list<std::string_view> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsIgnoreCaseAscii(text.substr(0, prefix.size()), prefix);
}

bool isConfiguration(std::string_view device)
{
    return device.size() > 4 && equalsIgnoreCaseAscii(device.substr(device.size() - 4), ".pc3");
}

std::string_view yesNo(bool yes)
{
    return yes ? "_Yes" : "_No";
}

UserMessage exclamation(std::string text, std::string title)
{
    return {std::move(text), std::move(title), MessageIcon::Exclamation, MessageButtons::Ok};
}

UserMessage scaleNumberMessage()
{
    return exclamation("Please enter a Positive, Real or Fractional number", "Quorvel Error");
}

// The value of a scale box that isValidScaleNumber accepted: a decimal or a fraction; nullopt when
// it is empty or not a number at all ("." alone, a zero denominator).
std::optional<double> scaleBoxValue(std::string_view text)
{
    auto number = [](std::string_view digits) -> std::optional<double> {
        double value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || ec != std::errc{} || end != digits.data() + digits.size())
            return std::nullopt;
        return value;
    };
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return number(text);
    const std::optional<double> top = number(text.substr(0, slash));
    const std::optional<double> bottom = number(text.substr(slash + 1));
    if (!top || !bottom || *bottom == 0)
        return std::nullopt;
    return *top / *bottom;
}

// The whole text as a number; nullopt when it is not one.
std::optional<double> parseNumber(std::string_view text)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double roundHalfToEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

// The first typed text that holds a line break, named as the tab names it, with its control.
std::optional<std::pair<std::string_view, PlotField>> lineBreakIn(const DetailedPlotChoices& choices)
{
    const bool typedPaper = equalsIgnoreCaseAscii(choices.paperLabel, "Enter Paper Size");
    const std::array<std::tuple<std::string_view, std::string_view, PlotField>, 7> texts = {{
        {choices.layoutName, "layout name", PlotField::LayoutName},
        {choices.device, "plot device", PlotField::Printer},
        {typedPaper ? choices.paperText : choices.paperList, "paper size", PlotField::Paper},
        {choices.viewName, "view name", PlotField::View},
        {choices.offsetX, "plot offset", PlotField::OffsetX},
        {choices.offsetY, "plot offset", PlotField::OffsetY},
        {choices.styleTable, "plot style table", PlotField::StyleTable},
    }};
    for (const auto& [text, name, field] : texts) {
        if (containsLineBreak(text))
            return std::make_pair(name, field);
    }
    return std::nullopt;
}

bool isSelectPlotter(std::string_view device)
{
    return device.empty() || equalsIgnoreCaseAscii(device, kSelectPlotter);
}

// Every answer, computed before anything is written.
struct Answers
{
    std::string layout;
    std::string device;
    std::string paper;
    bool asksUnits = true; // the host asks no paper units for a raster device
    std::string units;
    std::string orientation;
    std::string upsideDown;
    std::vector<std::string> area;
    std::string scale;
    std::string offset;
    bool plotStyles = true;
    std::string styleTable;
    std::string lineweights;
    std::string scaleLineweights;
    std::string paperSpaceFirst;
    std::string hide;
    std::string shade;
    std::string quality;
    bool fileYes = false; // "Write the plot to a file": Yes, then the proposed name
    std::string save;
};

// The plain form: one answer per line.
std::string plainForm(const Answers& a, bool layoutTab, std::string_view productCode)
{
    std::vector<std::string> lines = {"_-plot", "_Yes", a.layout, a.device, a.paper};
    if (a.asksUnits)
        lines.push_back(a.units);
    lines.insert(lines.end(), {a.orientation, a.upsideDown});
    lines.insert(lines.end(), a.area.begin(), a.area.end());
    lines.insert(lines.end(), {a.scale, a.offset, std::string(yesNo(a.plotStyles))});
    if (a.plotStyles)
        lines.push_back(a.styleTable);
    lines.push_back(a.lineweights);
    if (layoutTab)
        lines.insert(lines.end(), {a.scaleLineweights, a.paperSpaceFirst});
    lines.push_back(!layoutTab && asksShadePlot(productCode) ? a.shade : a.hide);
    if (a.fileYes)
        lines.push_back("_Yes");
    lines.emplace_back(); // the plot file name: the host's proposal
    if (!layoutTab && a.quality != "_N" && asksShadePlot(productCode))
        lines.insert(lines.end(), {"_Q", a.quality});
    lines.insert(lines.end(), {a.save, "_Yes"});
    return joinCrLf(lines);
}

// Answers of one (command "_-plot" ...) call, each a string of its own line that holds the answer exactly.
class LispCall
{
public:
    void add(std::string_view answer)
    {
        m_text.append("\"").append(escapeQuotesForLisp(answer)).append("\"").append(kCrLf);
    }
    std::string& text() { return m_text; }

private:
    std::string m_text = "(command \"_-plot\"" + std::string(kCrLf);
};

// The answers both calls share, from "_Yes" to the lineweights.
void addCommonAnswers(LispCall& call, const Answers& a)
{
    call.add("_Yes");
    call.add(a.layout);
    call.add(a.device);
    call.add(a.paper);
    if (a.asksUnits)
        call.add(a.units);
    call.add(a.orientation);
    call.add(a.upsideDown);
    for (const std::string& answer : a.area)
        call.add(answer);
    call.add(a.scale);
    call.add(a.offset);
    call.add(yesNo(a.plotStyles));
    if (a.plotStyles)
        call.add(a.styleTable);
    call.add(a.lineweights);
}

void addFileAnswers(LispCall& call, const Answers& a)
{
    if (a.fileYes)
        call.add("_Yes");
    call.add("");
}

// The automatic form: the drawing's current tab picks the model call or the layout call.
std::string automaticForm(const Answers& a, bool allLayouts, std::string_view productCode)
{
    std::string text = "(if(=\"Model\" (getvar \"ctab\"))" + std::string(kCrLf);

    LispCall model;
    addCommonAnswers(model, a);
    model.add(asksShadePlot(productCode) ? a.shade : a.hide);
    addFileAnswers(model, a);
    if (a.quality != "_N" && asksShadePlot(productCode)) {
        model.add("_Q");
        model.add(a.quality);
    }
    model.add(a.save);
    text.append(model.text()).append("\"_Yes\")").append(kCrLf);

    if (allLayouts) {
        text.append("(progn").append(kCrLf);
        text.append("(foreach mb (vl-remove \"Model\"(layoutlist))").append(kCrLf);
        text.append("(setvar \"ctab\" mb)").append(kCrLf);
    }
    LispCall layout;
    addCommonAnswers(layout, a);
    layout.add(a.scaleLineweights);
    layout.add(a.paperSpaceFirst);
    layout.add(a.hide);
    addFileAnswers(layout, a);
    layout.add(a.save);
    text.append(layout.text()).append("\"_Yes\"))");
    if (allLayouts)
        text.append(kCrLf).append("))");
    return text;
}

} // namespace

bool isValidScaleNumber(std::string_view text)
{
    if (text.empty())
        return true;
    if (text.front() == '/' || text.back() == '/')
        return false;
    int separators = 0;
    for (const char c : text) {
        if (c < '.' || c > '9')
            return false;
        if (c == '.' || c == '/')
            ++separators;
    }
    return separators <= 1;
}

PlotAnswer plotScaleAnswer(const DetailedPlotChoices& choices)
{
    PlotAnswer result;
    const std::array<std::pair<std::string_view, PlotField>, 2> boxes = {{
        {choices.scale1, PlotField::Scale1},
        {choices.scale2, PlotField::Scale2},
    }};
    for (const auto& [text, field] : boxes) {
        if (!isValidScaleNumber(text)) {
            result.message = scaleNumberMessage();
            result.focus = field;
            return result;
        }
    }
    if (choices.scaleChoice == kScaledToFit) {
        result.answer = "_Fit";
        return result;
    }
    // The host takes only two distances greater than zero; an empty or zero box would leave the scale
    // question open and shift every later answer.
    for (const auto& [text, field] : boxes) {
        const std::optional<double> value = scaleBoxValue(trimSpaces(text));
        if (!value || *value <= 0) {
            result.message = scaleNumberMessage();
            result.focus = field;
            return result;
        }
    }
    result.answer = std::string(trimSpaces(choices.scale1)) + "=" + std::string(trimSpaces(choices.scale2));
    return result;
}

PlotAreaAnswer plotAreaAnswer(const DetailedPlotChoices& choices)
{
    PlotAreaAnswer result;
    if (choices.plotArea == kViewArea) {
        const std::string_view view = trimSpaces(choices.viewName);
        if (view.empty()) {
            result.message =
                UserMessage{"You have selected the view option for plot area " + std::string(kCrLf) +
                                "but you have not input the name of the view" + std::string(kCrLf) + std::string(kCrLf),
                            "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
            return result;
        }
        result.answers = {std::string(kViewArea), std::string(view)};
        return result;
    }
    result.answers = {choices.plotArea == kLayoutArea ? std::string() : choices.plotArea};
    return result;
}

std::string quoteDeviceForLisp(std::string_view device)
{
    return escapeQuotesForLisp(trimSpaces(device));
}

std::string escapeQuotesForLisp(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        if (c == '"' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string paperAnswer(const DetailedPlotChoices& choices)
{
    if (!equalsIgnoreCaseAscii(choices.paperLabel, "Enter Paper Size")) {
        const std::string_view paper = trimSpaces(choices.paperList);
        const bool prompt = std::any_of(kPaperPrompts.begin(), kPaperPrompts.end(),
                                        [&](std::string_view p) { return equalsIgnoreCaseAscii(paper, p); });
        return paper.empty() || prompt ? std::string() : std::string(paper);
    }
    const std::string_view paper = trimSpaces(choices.paperText);
    return equalsIgnoreCaseAscii(paper, "<Default>") ? std::string() : std::string(paper);
}

std::string layoutNameAnswer(std::string_view layoutName)
{
    const std::string_view trimmed = trimSpaces(layoutName);
    if (layoutName == "<Model>" || equalsIgnoreCaseAscii(trimmed, "<Default>"))
        return {};
    // The host takes the rest of the line as the layout name; quotes would become part of the name.
    return std::string(trimmed);
}

std::string shadeAnswer(std::string_view shade)
{
    const std::string_view trimmed = trimSpaces(shade);
    if (trimmed == "Wireframe")
        return "_W";
    if (trimmed == "Hidden")
        return "_H";
    if (trimmed == "Rendered")
        return "_R";
    return "_A";
}

std::string qualityAnswer(std::string_view shadeAnswer, std::string_view quality)
{
    if (shadeAnswer != "_R")
        return "_N";
    const std::string_view trimmed = trimSpaces(quality);
    if (trimmed == "Draft")
        return "_D";
    if (trimmed == "Preview")
        return "_P";
    if (trimmed == "Presentation")
        return "_R";
    if (trimmed == "Maximum")
        return "_M";
    return "_N";
}

bool offersAutomaticPlot(std::string_view productCode)
{
    return isOneOf(productCode, {"Cad2000", "Cad2004", "Cad2005", "Cad2007", "Cad2010", "Cad2013", "Cad2018"});
}

bool asksShadePlot(std::string_view productCode)
{
    return isRelease2004OrLater(productCode);
}

bool isFileOnlyPlotDevice(std::string_view device)
{
    device = trimSpaces(device);
    if (!isConfiguration(device))
        return false;
    for (const std::string_view prefix : {"DWF", "DWG To PDF", "AutoCAD PDF", "PublishToWeb"}) {
        if (startsWithIgnoreCase(device, prefix))
            return true;
    }
    return false;
}

bool isRasterPlotDevice(std::string_view device)
{
    device = trimSpaces(device);
    return isConfiguration(device) && startsWithIgnoreCase(device, "PublishToWeb");
}

DetailedPlotResult buildDetailedPlotRoutine(const DetailedPlotChoices& choices, std::string_view productCode)
{
    DetailedPlotResult result;
    auto refuse = [&](UserMessage message, PlotField focus) {
        result.message = std::move(message);
        result.focus = focus;
        return result;
    };

    Answers a;
    a.scaleLineweights = yesNo(choices.scaleLineweights);

    const PlotAnswer scale = plotScaleAnswer(choices);
    if (scale.message)
        return refuse(*scale.message, scale.focus);
    a.scale = scale.answer;

    a.device = std::string(trimSpaces(choices.device));
    if (isSelectPlotter(a.device))
        return refuse(
            exclamation("Please select a plotter " + std::string(kCrLf) + std::string(kCrLf), "Quorvel Error"),
            PlotField::Printer);

    const PlotAreaAnswer area = plotAreaAnswer(choices);
    if (area.message)
        return refuse(*area.message, PlotField::View);
    a.area = area.answers;

    a.paperSpaceFirst = yesNo(!choices.paperLast);
    a.save = yesNo(choices.saveChanges);

    if (!choices.centre) {
        if (trimSpaces(choices.offsetX).empty())
            return refuse(exclamation("Please enter a Plot Offset", "Plot using detailed information"),
                          PlotField::OffsetX);
        if (trimSpaces(choices.offsetY).empty())
            return refuse(exclamation("Please enter a Plot Offset", "Plot using detailed information"),
                          PlotField::OffsetY);
        a.offset = choices.offsetX + "," + choices.offsetY;
    } else {
        // The host offers no Center for the layout's own plot area, and BricsCAD none at all: "_C" would end the
        // plot there and send the answers after it to the command prompt.
        const bool layoutCall = choices.mode != PlotTabMode::Model;
        if (layoutCall && choices.plotArea == kLayoutArea)
            return refuse(exclamation("A plot of the layout's own area cannot be centred: the CAD program offers no "
                                      "Center there." + std::string(kCrLf) +
                                          "Please enter a Plot Offset or choose another plot area.",
                                      "Plot using detailed information"),
                          PlotField::OffsetX);
        if (isBricscad(productCode))
            return refuse(exclamation("BricsCAD's plot command offers no Center." + std::string(kCrLf) +
                                          "Please enter a Plot Offset.",
                                      "Plot using detailed information"),
                          PlotField::OffsetX);
        a.offset = "_C";
    }

    // Each answer is one line of the routine: a typed text holding a line break would become two answers and
    // shift every answer after it.
    if (auto broken = lineBreakIn(choices))
        return refuse(exclamation("The " + std::string(broken->first) + " cannot hold a line break.", "Quorvel Error"),
                      broken->second);

    // A file-only device asks for the file name at once: a "Yes" would become the name.
    a.fileYes = choices.plotToFile && !isFileOnlyPlotDevice(a.device);
    a.layout = layoutNameAnswer(choices.layoutName);
    a.paper = paperAnswer(choices);
    a.units = choices.units;
    a.asksUnits = choices.units != kPixels && !isRasterPlotDevice(a.device);
    a.orientation = choices.orientation;
    a.upsideDown = yesNo(choices.upsideDown);
    a.plotStyles = choices.plotStyles;
    const std::string_view table = trimSpaces(choices.styleTable);
    a.styleTable = table.empty() || equalsIgnoreCaseAscii(table, "<Default>") ? std::string() : choices.styleTable;
    a.lineweights = yesNo(choices.lineweights);
    a.hide = yesNo(choices.hide);
    a.shade = shadeAnswer(choices.shade);
    a.quality = qualityAnswer(a.shade, choices.quality);

    std::string text;
    if (choices.mode == PlotTabMode::Automatic) {
        if (!offersAutomaticPlot(productCode))
            return refuse(exclamation("Plot all tabs requires Lisp. Only available in AutoCAD full.", "Quorvel Error"),
                          PlotField::Tilemode);
        text = automaticForm(a, choices.allLayouts, productCode);
    } else {
        text = plainForm(a, choices.mode == PlotTabMode::Layout, productCode);
    }

    // Copies repeat the whole command; halves round to even.
    const std::string_view copiesText = trimSpaces(choices.copies);
    std::size_t repeats = 0;
    if (!copiesText.empty()) {
        const std::optional<double> copies = parseNumber(copiesText);
        if (!copies)
            return refuse(
                exclamation("Please enter the number of copies as a number.", "Plot using detailed information"),
                PlotField::Copies);
        if (*copies > 1) {
            const double extra = roundHalfToEven(*copies - 1);
            const double length = (extra + 1) * static_cast<double>(text.size()) + extra * kCrLf.size();
            if (length > static_cast<double>(record::kMaxCommandTextLength))
                return refuse(exclamation("The routine for this number of copies would be longer than the " +
                                              std::to_string(record::kMaxCommandTextLength) +
                                              " characters a routine can hold.",
                                          "Plot using detailed information"),
                              PlotField::Copies);
            repeats = static_cast<std::size_t>(extra);
        }
    }
    for (std::size_t i = 0; i < repeats; ++i)
        result.text.append(text).append(kCrLf);
    result.text.append(text);
    return result;
}

} // namespace qv
