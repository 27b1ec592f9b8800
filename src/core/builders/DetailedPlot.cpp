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

bool IsOneOf(std::string_view code, std::initializer_list<std::string_view> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreCaseAscii(text.substr(0, prefix.size()), prefix);
}

bool IsConfiguration(std::string_view device)
{
    return device.size() > 4 && EqualsIgnoreCaseAscii(device.substr(device.size() - 4), ".pc3");
}

std::string_view YesNo(bool yes)
{
    return yes ? "_Yes" : "_No";
}

UserMessage Exclamation(std::string text, std::string title)
{
    return {std::move(text), std::move(title), MessageIcon::Exclamation, MessageButtons::Ok};
}

UserMessage ScaleNumberMessage()
{
    return Exclamation("Please enter a Positive, Real or Fractional number", "Quorvel Error");
}

// The value of a scale box that IsValidScaleNumber accepted: a decimal or a fraction; nullopt when
// it is empty or not a number at all ("." alone, a zero denominator).
std::optional<double> ScaleBoxValue(std::string_view text)
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
std::optional<double> ParseNumber(std::string_view text)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double RoundHalfToEven(double value)
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
std::optional<std::pair<std::string_view, PlotField>> LineBreakIn(const DetailedPlotChoices& choices)
{
    const bool typedPaper = EqualsIgnoreCaseAscii(choices.paperLabel, "Enter Paper Size");
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
        if (ContainsLineBreak(text))
            return std::make_pair(name, field);
    }
    return std::nullopt;
}

bool IsSelectPlotter(std::string_view device)
{
    return device.empty() || EqualsIgnoreCaseAscii(device, kSelectPlotter);
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
std::string PlainForm(const Answers& a, bool layoutTab, std::string_view productCode)
{
    std::vector<std::string> lines = {"_-plot", "_Yes", a.layout, a.device, a.paper};
    if (a.asksUnits)
        lines.push_back(a.units);
    lines.insert(lines.end(), {a.orientation, a.upsideDown});
    lines.insert(lines.end(), a.area.begin(), a.area.end());
    lines.insert(lines.end(), {a.scale, a.offset, std::string(YesNo(a.plotStyles))});
    if (a.plotStyles)
        lines.push_back(a.styleTable);
    lines.push_back(a.lineweights);
    if (layoutTab)
        lines.insert(lines.end(), {a.scaleLineweights, a.paperSpaceFirst});
    lines.push_back(!layoutTab && AsksShadePlot(productCode) ? a.shade : a.hide);
    if (a.fileYes)
        lines.push_back("_Yes");
    lines.emplace_back(); // the plot file name: the host's proposal
    if (!layoutTab && a.quality != "_N" && AsksShadePlotQuality(productCode))
        lines.insert(lines.end(), {"_Q", a.quality});
    lines.insert(lines.end(), {a.save, "_Yes"});
    return JoinCrLf(lines);
}

// Answers of one (command "_-plot" ...) call, each a string of its own line that holds the answer exactly.
class LispCall
{
public:
    void Add(std::string_view answer)
    {
        m_text.append("\"").append(EscapeQuotesForLisp(answer)).append("\"").append(kCrLf);
    }
    std::string& Text() { return m_text; }

private:
    std::string m_text = "(command \"_-plot\"" + std::string(kCrLf);
};

// The answers both calls share, from "_Yes" to the lineweights.
void AddCommonAnswers(LispCall& call, const Answers& a)
{
    call.Add("_Yes");
    call.Add(a.layout);
    call.Add(a.device);
    call.Add(a.paper);
    if (a.asksUnits)
        call.Add(a.units);
    call.Add(a.orientation);
    call.Add(a.upsideDown);
    for (const std::string& answer : a.area)
        call.Add(answer);
    call.Add(a.scale);
    call.Add(a.offset);
    call.Add(YesNo(a.plotStyles));
    if (a.plotStyles)
        call.Add(a.styleTable);
    call.Add(a.lineweights);
}

void AddFileAnswers(LispCall& call, const Answers& a)
{
    if (a.fileYes)
        call.Add("_Yes");
    call.Add("");
}

// The automatic form: the drawing's current tab picks the model call or the layout call.
std::string AutomaticForm(const Answers& a, bool allLayouts, std::string_view productCode)
{
    std::string text = "(if(=\"Model\" (getvar \"ctab\"))" + std::string(kCrLf);

    LispCall model;
    AddCommonAnswers(model, a);
    model.Add(AsksShadePlot(productCode) ? a.shade : a.hide);
    AddFileAnswers(model, a);
    if (a.quality != "_N" && AsksShadePlotQuality(productCode)) {
        model.Add("_Q");
        model.Add(a.quality);
    }
    model.Add(a.save);
    text.append(model.Text()).append("\"_Yes\")").append(kCrLf);

    if (allLayouts) {
        text.append("(progn").append(kCrLf);
        text.append("(foreach mb (vl-remove \"Model\"(layoutlist))").append(kCrLf);
        text.append("(setvar \"ctab\" mb)").append(kCrLf);
    }
    LispCall layout;
    AddCommonAnswers(layout, a);
    layout.Add(a.scaleLineweights);
    layout.Add(a.paperSpaceFirst);
    layout.Add(a.hide);
    AddFileAnswers(layout, a);
    layout.Add(a.save);
    text.append(layout.Text()).append("\"_Yes\"))");
    if (allLayouts)
        text.append(kCrLf).append("))");
    return text;
}

} // namespace

bool IsValidScaleNumber(std::string_view text)
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

PlotAnswer GetPlotScaleAnswer(const DetailedPlotChoices& choices)
{
    PlotAnswer result;
    const std::array<std::pair<std::string_view, PlotField>, 2> boxes = {{
        {choices.scale1, PlotField::Scale1},
        {choices.scale2, PlotField::Scale2},
    }};
    for (const auto& [text, field] : boxes) {
        if (!IsValidScaleNumber(text)) {
            result.message = ScaleNumberMessage();
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
        const std::optional<double> value = ScaleBoxValue(TrimSpaces(text));
        if (!value || *value <= 0) {
            result.message = ScaleNumberMessage();
            result.focus = field;
            return result;
        }
    }
    result.answer = std::string(TrimSpaces(choices.scale1)) + "=" + std::string(TrimSpaces(choices.scale2));
    return result;
}

PlotAreaAnswer GetPlotAreaAnswer(const DetailedPlotChoices& choices)
{
    PlotAreaAnswer result;
    if (choices.plotArea == kViewArea) {
        const std::string_view view = TrimSpaces(choices.viewName);
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

std::string QuoteDeviceForLisp(std::string_view device)
{
    return EscapeQuotesForLisp(TrimSpaces(device));
}

std::string EscapeQuotesForLisp(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        if (c == '"' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string GetPaperAnswer(const DetailedPlotChoices& choices)
{
    if (!EqualsIgnoreCaseAscii(choices.paperLabel, "Enter Paper Size")) {
        const std::string_view paper = TrimSpaces(choices.paperList);
        const bool prompt = std::any_of(kPaperPrompts.begin(), kPaperPrompts.end(),
                                        [&](std::string_view p) { return EqualsIgnoreCaseAscii(paper, p); });
        return paper.empty() || prompt ? std::string() : std::string(paper);
    }
    const std::string_view paper = TrimSpaces(choices.paperText);
    return EqualsIgnoreCaseAscii(paper, "<Default>") ? std::string() : std::string(paper);
}

std::string GetLayoutNameAnswer(std::string_view layoutName)
{
    const std::string_view trimmed = TrimSpaces(layoutName);
    if (layoutName == "<Model>" || EqualsIgnoreCaseAscii(trimmed, "<Default>"))
        return {};
    // The host takes the rest of the line as the layout name; quotes would become part of the name.
    return std::string(trimmed);
}

std::string GetShadeAnswer(std::string_view shade)
{
    const std::string_view trimmed = TrimSpaces(shade);
    if (trimmed == "Wireframe")
        return "_W";
    if (trimmed == "Hidden")
        return "_H";
    if (trimmed == "Rendered")
        return "_R";
    return "_A";
}

std::string GetQualityAnswer(std::string_view shadeAnswer, std::string_view quality)
{
    if (shadeAnswer != "_R")
        return "_N";
    const std::string_view trimmed = TrimSpaces(quality);
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

bool OffersAutomaticPlot(std::string_view productCode)
{
    return IsOneOf(productCode, {"Cad2000", "Cad2004", "Cad2005", "Cad2007", "Cad2010", "Cad2013", "Cad2018"});
}

bool AsksShadePlot(std::string_view productCode)
{
    return IsRelease2004OrLater(productCode) || IsBricscad(productCode) || IsZwcad(productCode);
}

bool AsksShadePlotQuality(std::string_view productCode)
{
    return IsOneOf(productCode, {"Cad2013", "CadLT2013", "Cad2018", "CadLT2018"}) || IsBricscad(productCode) ||
           IsZwcad(productCode);
}

bool IsFileOnlyPlotDevice(std::string_view device)
{
    device = TrimSpaces(device);
    if (!IsConfiguration(device))
        return false;
    for (const std::string_view prefix : {"DWF", "DWG To PDF", "AutoCAD PDF", "PublishToWeb"}) {
        if (StartsWithIgnoreCase(device, prefix))
            return true;
    }
    return false;
}

bool IsRasterPlotDevice(std::string_view device)
{
    device = TrimSpaces(device);
    return IsConfiguration(device) && StartsWithIgnoreCase(device, "PublishToWeb");
}

DetailedPlotResult BuildDetailedPlotRoutine(const DetailedPlotChoices& choices, std::string_view productCode)
{
    DetailedPlotResult result;
    auto refuse = [&](UserMessage message, PlotField focus) {
        result.message = std::move(message);
        result.focus = focus;
        return result;
    };

    Answers a;
    a.scaleLineweights = YesNo(choices.scaleLineweights);

    const PlotAnswer scale = GetPlotScaleAnswer(choices);
    if (scale.message)
        return refuse(*scale.message, scale.focus);
    a.scale = scale.answer;

    a.device = std::string(TrimSpaces(choices.device));
    if (IsSelectPlotter(a.device))
        return refuse(
            Exclamation("Please select a plotter " + std::string(kCrLf) + std::string(kCrLf), "Quorvel Error"),
            PlotField::Printer);

    const PlotAreaAnswer area = GetPlotAreaAnswer(choices);
    if (area.message)
        return refuse(*area.message, PlotField::View);
    a.area = area.answers;

    a.paperSpaceFirst = YesNo(!choices.paperLast);
    a.save = YesNo(choices.saveChanges);

    if (!choices.centre) {
        if (TrimSpaces(choices.offsetX).empty())
            return refuse(Exclamation("Please enter a Plot Offset", "Plot using detailed information"),
                          PlotField::OffsetX);
        if (TrimSpaces(choices.offsetY).empty())
            return refuse(Exclamation("Please enter a Plot Offset", "Plot using detailed information"),
                          PlotField::OffsetY);
        a.offset = choices.offsetX + "," + choices.offsetY;
    } else {
        a.offset = "_C";
    }

    // Each answer is one line of the routine: a typed text holding a line break would become two answers and
    // shift every answer after it.
    if (auto broken = LineBreakIn(choices))
        return refuse(Exclamation("The " + std::string(broken->first) + " cannot hold a line break.", "Quorvel Error"),
                      broken->second);

    // A file-only device asks for the file name at once: a "Yes" would become the name.
    a.fileYes = choices.plotToFile && !IsFileOnlyPlotDevice(a.device);
    a.layout = GetLayoutNameAnswer(choices.layoutName);
    a.paper = GetPaperAnswer(choices);
    a.units = choices.units;
    a.asksUnits = choices.units != kPixels && !IsRasterPlotDevice(a.device);
    a.orientation = choices.orientation;
    a.upsideDown = YesNo(choices.upsideDown);
    a.plotStyles = choices.plotStyles;
    const std::string_view table = TrimSpaces(choices.styleTable);
    a.styleTable = table.empty() || EqualsIgnoreCaseAscii(table, "<Default>") ? std::string() : choices.styleTable;
    a.lineweights = YesNo(choices.lineweights);
    a.hide = YesNo(choices.hide);
    a.shade = GetShadeAnswer(choices.shade);
    a.quality = GetQualityAnswer(a.shade, choices.quality);

    std::string text;
    if (choices.mode == PlotTabMode::Automatic) {
        if (!OffersAutomaticPlot(productCode))
            return refuse(Exclamation("Plot all tabs requires Lisp. Only available in AutoCAD full.", "Quorvel Error"),
                          PlotField::Tilemode);
        text = AutomaticForm(a, choices.allLayouts, productCode);
    } else {
        text = PlainForm(a, choices.mode == PlotTabMode::Layout, productCode);
    }

    // Copies repeat the whole command; halves round to even.
    const std::string_view copiesText = TrimSpaces(choices.copies);
    std::size_t repeats = 0;
    if (!copiesText.empty()) {
        const std::optional<double> copies = ParseNumber(copiesText);
        if (!copies)
            return refuse(
                Exclamation("Please enter the number of copies as a number.", "Plot using detailed information"),
                PlotField::Copies);
        if (*copies > 1) {
            const double extra = RoundHalfToEven(*copies - 1);
            const double length = (extra + 1) * static_cast<double>(text.size()) + extra * kCrLf.size();
            if (length > static_cast<double>(record::kMaxCommandTextLength))
                return refuse(Exclamation("The routine for this number of copies would be longer than the " +
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
