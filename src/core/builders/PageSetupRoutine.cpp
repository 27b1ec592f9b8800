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

bool IsOneOf(std::string_view code, const auto& codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

UserMessage Exclamation(std::string text, std::string title)
{
    return {std::move(text), std::move(title), MessageIcon::Exclamation, MessageButtons::Ok};
}

PageSetupRefusal PageSetupError(std::string text, PageSetupField focus)
{
    return {Exclamation(std::move(text), "Page Setup Error"), focus};
}

// Each answer is one line of the routine, and a name goes between double quotes: a typed name holding a
// line break or a quote would become two answers or end early.
constexpr std::string_view kNameLineBreak = "The page setup name cannot hold a double quote or a line break.";

// A drawing path goes between double quotes on a line of its own: a quote or a line break in it
// would end the name early and shift every later answer.
std::optional<PageSetupRefusal> CheckDrawingPath(std::string_view path, PageSetupField focus)
{
    if (BreaksQuotedLine(path))
        return PageSetupError("The drawing name cannot hold a double quote or a line break.", focus);
    return std::nullopt;
}

std::optional<PageSetupRefusal> CheckDrawingAndName(std::string_view drawing, std::string_view name,
                                                    PageSetupField drawingField, PageSetupField nameField)
{
    if (TrimSpaces(drawing).empty())
        return PageSetupError("Please select a drawing", drawingField);
    if (TrimSpaces(name).empty())
        return PageSetupError("Please select a Page Setup name", nameField);
    if (BreaksQuotedLine(name))
        return PageSetupError(std::string(kNameLineBreak), nameField);
    return CheckDrawingPath(TrimSpaces(drawing), drawingField);
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// The names answer of -PSETUPIN: each name of a comma-separated list trimmed and in quotes of its own,
// so the host finds every one ("A","B"); one name is simply quoted.
std::string PageSetupNamesAnswer(std::string_view names)
{
    std::string answer;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t comma = std::min(names.find(',', start), names.size());
        const std::string_view name = TrimSpaces(names.substr(start, comma - start));
        start = comma + 1;
        if (name.empty())
            continue;
        if (!answer.empty())
            answer += ',';
        answer += Quoted(name);
    }
    return answer;
}

// "_Expert 2" keeps the host from asking whether to redefine a page setup the drawing already has.
std::string ImportLines(std::string_view drawing, std::string_view namesAnswer)
{
    return JoinCrLf({"_Expert", "2", "_-psetupin", Quoted(drawing), std::string(namesAnswer)});
}

// A text for an AutoLISP string: backslashes doubled, quotes escaped.
std::string LispString(std::string_view text)
{
    return Quoted(EscapeQuotesForLisp(text));
}

int CopiesOf(std::string_view text)
{
    const std::string_view trimmed = TrimSpaces(text);
    int copies = 1;
    const auto [end, ec] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), copies);
    if (ec != std::errc{} || end != trimmed.data() + trimmed.size() || copies < 1)
        return 1;
    // The list offers 1 to 10; a larger count from elsewhere would only make a routine too long to store.
    return std::min(copies, kMaxPageSetupCopies);
}

// The answers after the device: whether to write a file, and its name (the host's proposal). A device
// that only writes files asks for the name at once, without the question.
std::vector<std::string> FileAnswers(const PageSetupPlotChoices& choices, std::string_view device)
{
    if (IsFileOnlyPlotDevice(device))
        return {""};
    if (choices.plotToFile)
        return {"_Yes", ""};
    return {"_No"};
}

std::string PlainPlot(const PageSetupPlotChoices& choices, std::string_view name, const std::string& device)
{
    std::vector<std::string> lines = {"_-plot", "_No", "", std::string(name), device};
    const std::vector<std::string> file = FileAnswers(choices, device);
    lines.insert(lines.end(), file.begin(), file.end());
    lines.insert(lines.end(), {"", "_Yes"});
    return JoinCrLf(lines);
}

// Every layout but the model tab, each made current and plotted; nothing when the drawing is on the model tab.
std::string AllLayoutsPlot(const PageSetupPlotChoices& choices, std::string_view name, const std::string& device)
{
    std::vector<std::string> lines = {
        "(if(= \"Model\" (getvar \"ctab\"))",
        "()",
        "(progn",
        "(foreach mb (vl-remove \"Model\"(layoutlist))",
        "(setvar \"ctab\" mb)",
        "(command \"_-plot\"",
        "\"_No\"",
        "\"\"",
        LispString(name),
        LispString(device),
    };
    for (const std::string& answer : FileAnswers(choices, device))
        lines.push_back(Quoted(answer));
    lines.insert(lines.end(), {"\"\"", "\"_Yes\"))))"});
    return JoinCrLf(lines);
}

} // namespace

PageSetupPlotSetup PageSetupPlotSetupFor(std::string_view productCode)
{
    return {IsOneOf(productCode, kPageSetupProducts) ? "Plot Using Page Setup"
                                                     : "Plot Using Page Setup in Rel 2000 - 2002",
            IsOneOf(productCode, kAllTabsProducts)};
}

UserMessage PlottingInformationMessage()
{
    return {"Remember you can't plot model space drawings with a paperspace page setup and vice versa",
            "Plotting Information", MessageIcon::Information, MessageButtons::Ok};
}

std::string PageSetupDeviceAnswer(std::string_view device)
{
    const std::string_view trimmed = TrimSpaces(device);
    if (trimmed == kDefaultDevice || trimmed == kSelectPlotter)
        return {};
    return std::string(trimmed);
}

std::optional<PageSetupRefusal> CheckPageSetupPlot(const PageSetupPlotChoices& choices)
{
    return CheckDrawingAndName(choices.drawing, choices.pageSetupName, PageSetupField::PlotDrawing,
                               PageSetupField::PageSetupName);
}

std::optional<PageSetupRefusal> CheckPageSetupImport(const PageSetupImportChoices& choices)
{
    if (auto refusal = CheckDrawingAndName(choices.drawing, choices.names, PageSetupField::ImportDrawing,
                                           PageSetupField::ImportNames))
        return refusal;
    // Only commas and blanks name no page setup at all.
    if (PageSetupNamesAnswer(choices.names).empty())
        return PageSetupError("Please select a Page Setup name", PageSetupField::ImportNames);
    return std::nullopt;
}

PageSetupRoutineResult BuildPageSetupPlotRoutine(const PageSetupPlotChoices& choices, std::string_view productCode)
{
    PageSetupRoutineResult result;
    const std::string_view name = TrimSpaces(choices.pageSetupName);
    if (name.empty()) {
        result.refusal = {Exclamation("Please enter a PageSetup Name", "Page Setup"), PageSetupField::PageSetupName};
        return result;
    }
    if (BreaksQuotedLine(name)) {
        result.refusal = PageSetupError(std::string(kNameLineBreak), PageSetupField::PageSetupName);
        return result;
    }
    if (ContainsLineBreak(choices.device)) {
        result.refusal = PageSetupError("The plot device cannot hold a line break.", PageSetupField::Device);
        return result;
    }
    const std::string device = PageSetupDeviceAnswer(choices.device);

    std::string once;
    if (choices.fromOtherDrawing) {
        if (auto refusal = CheckPageSetupPlot(choices)) {
            result.refusal = std::move(refusal);
            return result;
        }
        once = ImportLines(TrimSpaces(choices.drawing), PageSetupNamesAnswer(name)) + std::string(kCrLf) +
               JoinCrLf({"_Expert", "0", ""});
    }
    // Only a product with AutoLISP can walk the layouts; its tab offers the box to no other.
    const bool allTabs = choices.allTabs && PageSetupPlotSetupFor(productCode).allTabsOffered;
    once += allTabs ? AllLayoutsPlot(choices, name, device) : PlainPlot(choices, name, device);

    const int copies = CopiesOf(choices.copies);
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0)
            result.text += kCrLf;
        result.text += once;
    }
    return result;
}

PageSetupRoutineResult BuildPageSetupImportRoutine(const PageSetupImportChoices& choices)
{
    PageSetupRoutineResult result;
    if (auto refusal = CheckPageSetupImport(choices)) {
        result.refusal = std::move(refusal);
        return result;
    }
    const std::string_view names = choices.loadAll ? kLoadAllPageSetups : std::string_view(choices.names);
    result.text = ImportLines(TrimSpaces(choices.drawing), PageSetupNamesAnswer(names)) + std::string(kCrLf) +
                  JoinCrLf({"_Qsave", "_Expert", "0"});
    return result;
}

} // namespace qv
