#include "PageSetupRoutine.h"

#include "builders/DetailedPlot.h"
#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace qv {
namespace {

constexpr std::string_view kDefaultDevice = "<Default>";

// The products whose own command line takes the page-setup plot as this tab writes it.
constexpr std::array<std::string_view, 14> kPageSetupProducts = {
    "Cad2000",   "CadLT2000", "Cad2004",   "CadLT2004", "Cad2005",   "CadLT2005", "Cad2007",
    "CadLT2007", "Cad2010",   "CadLT2010", "Cad2013",   "CadLT2013", "Cad2018",   "CadLT2018",
};

// Full AutoCAD with AutoLISP, which plotting every layout needs.
constexpr std::array<std::string_view, 7> kAllTabsProducts = {
    "Cad2000", "Cad2004", "Cad2005", "Cad2007", "Cad2010", "Cad2013", "Cad2018",
};

bool isOneOf(std::string_view code, const auto& codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

UserMessage exclamation(std::string text, std::string title)
{
    return {std::move(text), std::move(title), MessageIcon::Exclamation, MessageButtons::Ok};
}

PageSetupRefusal pageSetupError(std::string text, PageSetupField focus)
{
    return {exclamation(std::move(text), "Page Setup Error"), focus};
}

// Each answer is one line of the routine, and a name goes between double quotes: a typed name holding a
// line break or a quote would become two answers or end early.
constexpr std::string_view kNameLineBreak = "The page setup name cannot hold a double quote or a line break.";

// A drawing path goes between double quotes on a line of its own: a quote or a line break in it
// would end the name early and shift every later answer.
std::optional<PageSetupRefusal> checkDrawingPath(std::string_view path, PageSetupField focus)
{
    if (breaksQuotedLine(path))
        return pageSetupError("The drawing name cannot hold a double quote or a line break.", focus);
    return std::nullopt;
}

std::optional<PageSetupRefusal> checkDrawingAndName(std::string_view drawing, std::string_view name,
                                                    PageSetupField drawingField, PageSetupField nameField)
{
    if (trimSpaces(drawing).empty())
        return pageSetupError("Please select a drawing", drawingField);
    if (trimSpaces(name).empty())
        return pageSetupError("Please select a Page Setup name", nameField);
    if (breaksQuotedLine(name))
        return pageSetupError(std::string(kNameLineBreak), nameField);
    return checkDrawingPath(trimSpaces(drawing), drawingField);
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// The names answer of -PSETUPIN: the names as typed, a list separated by commas included, in one pair of quotes.
std::string pageSetupNamesAnswer(std::string_view names)
{
    return quoted(trimSpaces(names));
}

// "_Expert 2" keeps the host from asking whether to redefine a page setup the drawing already has.
std::string importLines(std::string_view drawing, std::string_view namesAnswer)
{
    return joinCrLf({"_Expert", "2", "_-psetupin", quoted(drawing), std::string(namesAnswer)});
}

// A text for an AutoLISP string: backslashes doubled, quotes escaped.
std::string lispString(std::string_view text)
{
    return quoted(escapeQuotesForLisp(text));
}

int copiesOf(std::string_view text)
{
    const std::string_view trimmed = trimSpaces(text);
    int copies = 1;
    const auto [end, ec] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), copies);
    if (ec != std::errc{} || end != trimmed.data() + trimmed.size() || copies < 1)
        return 1;
    // The list offers 1 to 10; a larger count from elsewhere would only make a routine too long to store.
    return std::min(copies, kMaxPageSetupCopies);
}

// The answers after the device: whether to write a file, and its name (the host's proposal). A device
// that only writes files asks for the name at once, without the question.
std::vector<std::string> fileAnswers(const PageSetupPlotChoices& choices, std::string_view device)
{
    if (isFileOnlyPlotDevice(device))
        return {""};
    if (choices.plotToFile)
        return {"_Yes", ""};
    return {"_No"};
}

std::string plainPlot(const PageSetupPlotChoices& choices, std::string_view name, const std::string& device)
{
    std::vector<std::string> lines = {"_-plot", "_No", "", std::string(name), device};
    const std::vector<std::string> file = fileAnswers(choices, device);
    lines.insert(lines.end(), file.begin(), file.end());
    lines.insert(lines.end(), {"", "_Yes"});
    return joinCrLf(lines);
}

// Every layout but the model tab, each made current and plotted; nothing when the drawing is on the model tab.
std::string allLayoutsPlot(const PageSetupPlotChoices& choices, std::string_view name, const std::string& device)
{
    std::vector<std::string> lines = {
        "(if(=\"Model\" (getvar \"ctab\"))",
        "()",
        "(progn",
        "(foreach mb (vl-remove \"Model\"(layoutlist))",
        "(setvar \"ctab\" mb)",
        "(command \"_-plot\"",
        "\"_No\"",
        "\"\"",
        lispString(name),
        lispString(device),
    };
    for (const std::string& answer : fileAnswers(choices, device))
        lines.push_back(quoted(answer));
    lines.insert(lines.end(), {"\"\"", "\"_Yes\"))))"});
    return joinCrLf(lines);
}

} // namespace

PageSetupPlotSetup pageSetupPlotSetupFor(std::string_view productCode)
{
    return {isOneOf(productCode, kPageSetupProducts) ? "Plot Using Page Setup"
                                                     : "Plot Using Page Setup in Rel 2000 - 2002",
            isOneOf(productCode, kAllTabsProducts)};
}

UserMessage plottingInformationMessage()
{
    return {"Remember you can't plot model space drawings with a paperspace page setup and vice versa",
            "Plotting Information", MessageIcon::Information, MessageButtons::Ok};
}

std::string pageSetupDeviceAnswer(std::string_view device)
{
    const std::string_view trimmed = trimSpaces(device);
    if (trimmed == kDefaultDevice || trimmed == kSelectPlotter)
        return {};
    return std::string(trimmed);
}

std::optional<PageSetupRefusal> checkPageSetupPlot(const PageSetupPlotChoices& choices)
{
    return checkDrawingAndName(choices.drawing, choices.pageSetupName, PageSetupField::PlotDrawing,
                               PageSetupField::PageSetupName);
}

std::optional<PageSetupRefusal> checkPageSetupImport(const PageSetupImportChoices& choices)
{
    if (auto refusal = checkDrawingAndName(choices.drawing, choices.names, PageSetupField::ImportDrawing,
                                           PageSetupField::ImportNames))
        return refusal;
    // Only commas and blanks name no page setup at all.
    if (choices.names.find_first_not_of(", \t") == std::string::npos)
        return pageSetupError("Please select a Page Setup name", PageSetupField::ImportNames);
    return std::nullopt;
}

PageSetupRoutineResult buildPageSetupPlotRoutine(const PageSetupPlotChoices& choices, std::string_view productCode)
{
    PageSetupRoutineResult result;
    const std::string_view name = trimSpaces(choices.pageSetupName);
    if (name.empty()) {
        result.refusal = {exclamation("Please enter a PageSetup Name", "Page Setup"), PageSetupField::PageSetupName};
        return result;
    }
    if (breaksQuotedLine(name)) {
        result.refusal = pageSetupError(std::string(kNameLineBreak), PageSetupField::PageSetupName);
        return result;
    }
    if (containsLineBreak(choices.device)) {
        result.refusal = pageSetupError("The plot device cannot hold a line break.", PageSetupField::Device);
        return result;
    }
    const std::string device = pageSetupDeviceAnswer(choices.device);

    std::string once;
    if (choices.fromOtherDrawing) {
        if (auto refusal = checkPageSetupPlot(choices)) {
            result.refusal = std::move(refusal);
            return result;
        }
        once = importLines(trimSpaces(choices.drawing), pageSetupNamesAnswer(name)) + std::string(kCrLf) +
               joinCrLf({"_Expert", "0", ""});
    }
    // Only a product with AutoLISP can walk the layouts; its tab offers the box to no other.
    const bool allTabs = choices.allTabs && pageSetupPlotSetupFor(productCode).allTabsOffered;
    once += allTabs ? allLayoutsPlot(choices, name, device) : plainPlot(choices, name, device);

    const int copies = copiesOf(choices.copies);
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0)
            result.text += kCrLf;
        result.text += once;
    }
    return result;
}

PageSetupRoutineResult buildPageSetupImportRoutine(const PageSetupImportChoices& choices)
{
    PageSetupRoutineResult result;
    if (auto refusal = checkPageSetupImport(choices)) {
        result.refusal = std::move(refusal);
        return result;
    }
    const std::string_view names = choices.loadAll ? kLoadAllPageSetups : std::string_view(choices.names);
    result.text = importLines(trimSpaces(choices.drawing), pageSetupNamesAnswer(names)) + std::string(kCrLf) +
                  joinCrLf({"_Qsave", "_Expert", "0"});
    return result;
}

} // namespace qv
