// The detailed plot builder. Whatever is typed into the tab:
// - a routine it builds has CR LF line breaks only, and no line break after its last line;
// - more copies repeat the one-copy routine, line for line;
// - the automatic form is AutoLISP whose parentheses balance and whose strings close, and its two
//   (command ...) calls send, answer for answer, what the plain forms for the model and the layout tab send.
// With sensible choices (a device the host knows, numbers where numbers go), the model of the product's
// command line also plots with every entry taken, on a drawing open on its model tab and on a layout tab.
//
// Input: switch bytes, NUL, then NUL-separated texts: layout name, copies, device, paper list, paper text,
// view name, scale choice (empty: scaled to fit), scale boxes 1 and 2, offsets X and Y, plot style table,
// shade, quality.

#include "FuzzSupport.h"
#include "HostModel.h"
#include "Lisp.h"
#include "batch/ScriptWriter.h"
#include "builders/DetailedPlot.h"
#include "config/CadProducts.h"

#include <map>

namespace {

using namespace qv::fuzz;

// ---- AutoLISP as the host reads it ----

using qv::hostmodel::LispValue;

// The (command ...) calls, in the order they appear.
void findCommandCalls(const LispValue& expression, std::vector<const LispValue*>& calls)
{
    if (expression.kind != LispValue::Kind::List)
        return;
    const LispValue& head = expression.items.front();
    if (head.kind == LispValue::Kind::Symbol && head.text == "COMMAND") {
        calls.push_back(&expression);
        return;
    }
    for (const LispValue& item : expression.items)
        findCommandCalls(item, calls);
}

// The answers of a call: every argument must be a string.
std::vector<std::string> commandAnswers(const LispValue& call)
{
    std::vector<std::string> answers;
    for (std::size_t i = 1; i < call.items.size(); ++i) {
        FUZZ_REQUIRE(call.items[i].kind == LispValue::Kind::String,
                     "an argument of (command ...) is not a string: " + qv::hostmodel::printLisp(call.items[i]));
        answers.push_back(call.items[i].text);
    }
    return answers;
}

// ---- The host ----

// Two drawings that exist only in memory: one open on its model tab, one on a layout.
class MemoryFiles final : public qv::hostmodel::HostFiles
{
public:
    bool isFile(const std::string& path) const override { return m_firstLines.contains(path); }
    bool exists(const std::string& path) const override { return m_firstLines.contains(path) || path == "/plots"; }
    bool isWritable(const std::string&) const override { return true; }
    bool sameFile(const std::string& a, const std::string& b) const override { return a == b; }
    std::string firstLine(const std::string& path) const override
    {
        const auto found = m_firstLines.find(path);
        return found == m_firstLines.end() ? std::string() : found->second;
    }
    std::string touch(const std::string&) override { return {}; }
    std::string copy(const std::string&, const std::string& to) override
    {
        m_firstLines.emplace(to, "");
        return {};
    }
    std::string write(const std::string& path, const std::string&) override
    {
        m_firstLines.emplace(path, "");
        return {};
    }

private:
    std::map<std::string, std::string> m_firstLines = {
        {"/plots/ModelTab.dwg", "CADHOST tab=Model layouts=Layout1,Layout2 views=Front"},
        {"/plots/LayoutTab.dwg", "CADHOST tab=Layout1 layouts=Layout1,Layout2 views=Front"},
    };
};

void checkOnHost(const std::string& routine, const std::string& code, qv::PlotTabMode mode, const std::string& device)
{
    const auto product = qv::hostmodel::findProduct(code);
    if (!product)
        return;
    qv::ScriptInputs inputs;
    for (const char* drawing : {"ModelTab.dwg", "LayoutTab.dwg"}) {
        const bool modelDrawing = drawing == std::string_view("ModelTab.dwg");
        // A plain routine is made for one kind of tab.
        if (mode == qv::PlotTabMode::Automatic || (mode == qv::PlotTabMode::Model) == modelDrawing)
            inputs.rows.push_back({drawing, "/plots", "Plot", ""});
    }
    inputs.scriptFolder = "/plots";
    inputs.openCommand = "Unknown";
    inputs.sequenceText = "1";
    inputs.routineText = [&](const std::string&) { return routine; };
    inputs.isReadOnly = [](const std::string&) -> qv::Result<bool> { return false; };
    const auto kind = qv::isBricscad(code) ? qv::ScriptWriterKind::Bricscad
                      : qv::isZwcad(code)  ? qv::ScriptWriterKind::Zwcad
                                           : qv::ScriptWriterKind::General;
    const auto script = qv::buildScript(inputs, kind);
    FUZZ_REQUIRE(script.ok(), script.error().description);

    MemoryFiles files;
    qv::hostmodel::HostSetup setup;
    setup.product = *product;
    setup.devices = {{device, {}}};
    setup.files = &files;
    setup.problemsOnly = true;
    std::string problems;
    bool unmodelled = false;
    qv::hostmodel::runHostScript(script.value().bytes, setup, [&](const qv::hostmodel::HostEvent& e) {
        unmodelled = unmodelled || e.event == "unmodelled";
        if (e.event == "error" || e.event == "command")
            problems += std::to_string(e.line) + " " + e.event + ": " + e.detail + "\n";
    });
    // The model does not follow every release's plot (R14 and LT 98): nothing to judge there.
    FUZZ_REQUIRE(unmodelled || problems.empty(), code + "\n" + problems + visible(routine));
}

// ---- The choices ----

template <std::size_t N> std::string pick(const char* const (&options)[N], std::uint8_t selector)
{
    return options[selector % N];
}

constexpr const char* kUnits[] = {"_Inches", "_Millimeters", "_Pixels"};
constexpr const char* kOrientations[] = {"_Landscape", "_Portrait"};
constexpr const char* kAreas[] = {"_Display", "_Extents", "_Limits", "Layout", "_View"};
constexpr const char* kPaperLabels[] = {"Enter paper size", "Select paper size", "Select pixel size"};
constexpr const char* kShades[] = {"As Displayed", "Wireframe", "Hidden", "Rendered"};
constexpr const char* kQualities[] = {"Normal", "Draft", "Preview", "Presentation", "Maximum"};
// Sensible choices: what the tab's lists and a careful user would give.
constexpr const char* kDevices[] = {"DWF6 ePlot.pc3", "DWG To PDF.pc3", "Office Printer", "PublishToWeb PNG.pc3",
                                    "Default Windows System Printer.pc3"};
constexpr const char* kLayouts[] = {"<Default>", "Layout1", " Layout2 "};
constexpr const char* kPapers[] = {"<Default>", "ISO A1 (841.00 x 594.00 MM)", "Letter", "Select ISO Size"};
constexpr const char* kScales[] = {"Scaled to Fit", "1:1", "1:100", "Custom"};
constexpr const char* kNumbers[] = {"1", "2", "48", "0.5", "1/4", "25.4", "100"};
constexpr const char* kOffsets[] = {"0", "0.00", "1.25", "-2", "10"};
constexpr const char* kTables[] = {"<Default>", "monochrome.ctb", "acad.ctb", ""};
constexpr const char* kCopies[] = {"1", "2", "3", "", "0", "2.5"};

using Choices = qv::DetailedPlotChoices;
// The switches, bit by bit from the third switch byte on.
constexpr bool Choices::*kFlags[] = {&Choices::allLayouts, &Choices::upsideDown, &Choices::scaleLineweights,
                                     &Choices::centre,     &Choices::plotStyles, &Choices::lineweights,
                                     &Choices::paperLast,  &Choices::hide,       &Choices::plotToFile,
                                     &Choices::saveChanges};
// The texts of fields 1 to 12, as typed.
constexpr std::string Choices::*kTexts[] = {&Choices::layoutName,  &Choices::copies,    &Choices::device,
                                            &Choices::paperList,   &Choices::paperText, &Choices::viewName,
                                            &Choices::scaleChoice, &Choices::scale1,    &Choices::scale2,
                                            &Choices::offsetX,     &Choices::offsetY,   &Choices::styleTable};

Choices choicesFrom(const Fields& fields, bool sensible)
{
    const auto selector = [&](std::size_t at) { return fields.byte(0, at); };
    Choices c;
    c.mode = static_cast<qv::PlotTabMode>(selector(0) % 3);
    for (std::size_t bit = 0; bit < std::size(kFlags); ++bit)
        c.*kFlags[bit] = ((fields.byte(0, 2 + bit / 8) >> (bit % 8)) & 1) != 0;
    c.units = pick(kUnits, selector(4));
    c.orientation = pick(kOrientations, selector(5));
    c.plotArea = pick(kAreas, selector(6));
    c.paperLabel = pick(kPaperLabels, selector(7));
    c.shade = pick(kShades, selector(8));
    c.quality = pick(kQualities, selector(9));
    if (sensible) {
        // The layout name is "<Model>" on the model tab and "<Default>" in the automatic mode, both fixed.
        c.layoutName = c.mode == qv::PlotTabMode::Model       ? "<Model>"
                       : c.mode == qv::PlotTabMode::Automatic ? "<Default>"
                                                              : pick(kLayouts, selector(10));
        c.copies = pick(kCopies, selector(11));
        c.device = pick(kDevices, selector(12));
        c.paperList = pick(kPapers, selector(13));
        c.paperText = pick(kPapers, selector(14));
        c.viewName = "Front";
        c.scaleChoice = pick(kScales, selector(15));
        c.scale1 = pick(kNumbers, selector(16));
        c.scale2 = pick(kNumbers, selector(17));
        c.offsetX = pick(kOffsets, selector(18));
        c.offsetY = pick(kOffsets, selector(19));
        c.styleTable = pick(kTables, selector(20));
        // The third plot area option reads "Limits" on the model tab and "Default" (the layout) otherwise.
        if (c.mode == qv::PlotTabMode::Model && c.plotArea == "Layout")
            c.plotArea = "_Limits";
        else if (c.mode != qv::PlotTabMode::Model && c.plotArea == "_Limits")
            c.plotArea = "Layout";
        // The tab offers pixels, and pixel sizes, for raster devices only.
        const bool raster = qv::isRasterPlotDevice(c.device);
        if (raster) {
            c.units = "_Pixels";
            c.paperLabel = "Select pixel size";
            c.paperList = "VGA (640.00 x 480.00 Pixels)";
        } else if (c.units == "_Pixels" || c.paperLabel == "Select pixel size") {
            c.units = "_Millimeters";
            c.paperLabel = "Select paper size";
        }
        return c;
    }
    for (std::size_t i = 0; i < std::size(kTexts); ++i)
        c.*kTexts[i] = fields.text(i + 1);
    if (c.scaleChoice.empty())
        c.scaleChoice = qv::kScaledToFit;
    if (!fields[13].empty())
        c.shade = fields.text(13);
    if (!fields[14].empty())
        c.quality = fields.text(14);
    return c;
}

void checkLines(const std::string& text)
{
    const auto split = qv::fuzz::splitCrLf(text);
    FUZZ_REQUIRE(split.ok, "a lone line break: " + visible(text));
    FUZZ_REQUIRE(!text.ends_with("\r\n"), "a line break after the last line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fields fields(qv::fuzz::asText(data, size));
    static const std::vector<std::string> kCodes = [] {
        std::vector<std::string> codes = productCodes({"Unknown"});
        std::erase(codes, ""); // the placeholder's
        return codes;
    }();
    const std::string& code = kCodes[fields.byte(0, 1) % kCodes.size()];
    const bool sensible = fields.byte(0, 4) & 0x80;
    const Choices choices = choicesFrom(fields, sensible);

    const qv::DetailedPlotResult result = qv::buildDetailedPlotRoutine(choices, code);
    if (!result.ok()) {
        FUZZ_REQUIRE(!result.message->text.empty() && result.text.empty());
        return 0;
    }
    checkLines(result.text);

    // Copies repeat the routine of one copy.
    Choices one = choices;
    one.copies = "1";
    const qv::DetailedPlotResult single = qv::buildDetailedPlotRoutine(one, code);
    FUZZ_REQUIRE(single.ok(), single.message->text);
    std::string repeated = single.text;
    while (repeated.size() < result.text.size())
        repeated += "\r\n" + single.text;
    FUZZ_REQUIRE(repeated == result.text, "copies " + visible(choices.copies) + " do not repeat the routine");

    if (choices.mode == qv::PlotTabMode::Automatic) {
        std::string error;
        const auto forms = qv::hostmodel::readLisp(single.text, &error);
        FUZZ_REQUIRE(forms.has_value(), error + ":\n" + visible(single.text));
        FUZZ_REQUIRE(forms->size() == 1, std::to_string(forms->size()) + " expressions:\n" + visible(single.text));
        std::vector<const LispValue*> calls;
        findCommandCalls(forms->front(), calls);
        FUZZ_REQUIRE(calls.size() == 2, std::to_string(calls.size()) + " command calls");
        const qv::PlotTabMode modes[] = {qv::PlotTabMode::Model, qv::PlotTabMode::Layout};
        for (int i = 0; i < 2; ++i) {
            Choices plainChoices = one;
            plainChoices.mode = modes[i];
            const qv::DetailedPlotResult plain = qv::buildDetailedPlotRoutine(plainChoices, code);
            FUZZ_REQUIRE(plain.ok(), plain.message->text);
            std::vector<std::string> lines;
            for (const std::string_view line : qv::fuzz::splitCrLf(plain.text).lines)
                lines.emplace_back(line);
            const std::vector<std::string> answers = commandAnswers(*calls[i]);
            FUZZ_REQUIRE(answers == lines, (i == 0 ? "model" : "layout") + std::string(" call ") +
                                               visibleList(answers) + ", plain form " + visibleList(lines));
        }
    }

    if (sensible)
        checkOnHost(result.text, code, choices.mode, choices.device);
    return 0;
}
