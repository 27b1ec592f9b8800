#include "PlotTabSetup.h"

#include "builders/DetailedPlot.h"
#include "config/CadProducts.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace qv {

namespace {

template <typename Codes> bool isOneOf(std::string_view code, const Codes& codes)
{
    return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

constexpr std::array<std::string_view, 6> kFull2004 = {"Cad2004", "Cad2005", "Cad2007",
                                                       "Cad2010", "Cad2013", "Cad2018"};
constexpr std::array<std::string_view, 6> kLt2004 = {"CadLT2004", "CadLT2005", "CadLT2007",
                                                     "CadLT2010", "CadLT2013", "CadLT2018"};
constexpr std::array<std::string_view, 5> kOlderLt = {"CadLT2000", "CadLT2004", "CadLT2005", "CadLT2007",
                                                      "CadLT2010"};

} // namespace

PlotTabSetup plotTabSetupFor(std::string_view productCode)
{
    PlotTabSetup setup;
    setup.automatic = offersAutomaticPlot(productCode);
    const bool full2004 = isOneOf(productCode, kFull2004);
    const bool lt2004 = isOneOf(productCode, kLt2004);
    setup.release2004 = full2004 || lt2004;
    setup.shadeAtStart = full2004;
    setup.rendered = full2004;
    setup.shadeFrameShown = setup.release2004;
    setup.pixelsOffered = setup.release2004;
    setup.shadeWithModelTab = isRelease2004OrLater(productCode);
    setup.removeLinesCaption = setup.release2004 ? "Hide paperspace objects" : "Hide objects";
    if (isOneOf(productCode, kOlderLt)) {
        setup.modelLayoutHint = "The Model/Layout option requires Lisp and is only available using AutoCAD full version.";
        setup.modelPaperHint = "AutoCAD LT requires separate routines for plotting Modelspace drawings and Paperspace drawings";
    } else {
        setup.modelLayoutHint = "This option automatically detects Model and Layout tabs when plotting. Recommended";
        setup.modelPaperHint = "These options are best for AutoCAD LT version users.";
    }
    return setup;
}

std::vector<PlotScaleEntry> plotScaleList()
{
    std::vector<PlotScaleEntry> list = {
        {"Custom", 1},  {std::string(kScaledToFit), 1},
        {"1:1", 1},     {"1:2", 2},     {"1:4", 4},     {"1:5", 5},       {"1:8", 8},
        {"1:10", 10},   {"1:16", 16},   {"1:20", 20},   {"1:25", 25},     {"1:30", 30},
        {"1:40", 40},   {"1:50", 50},   {"1:75", 75},   {"1:100", 100},   {"1:200", 200},
        {"1:250", 250}, {"1:500", 500}, {"1:750", 750}, {"1:1000", 1000}, {"2:1", 1},
        {"4:1", 1},     {"8:1", 1},     {"10:1", 1},    {"100:1", 1},
    };
    // Architectural scales read as "so many inches on paper = one foot".
    const std::pair<const char*, int> architectural[] = {
        {"1/128", 1536}, {"1/64", 768}, {"1/32", 384}, {"1/16", 192}, {"3/32", 128}, {"1/8", 96},
        {"3/16", 64},    {"1/4", 48},   {"3/8", 32},   {"1/2", 24},   {"3/4", 16},   {"1", 12},
        {"3", 4},        {"6", 2},
    };
    for (const auto& [fraction, units] : architectural)
        list.push_back({std::string(fraction) + "\" = 1'0\"", units});
    list.push_back({"1'0\" = 1'0\"", 1});
    return list;
}

ScaleBoxes scaleBoxesFor(const PlotScaleEntry& entry)
{
    static const std::pair<std::string_view, std::string_view> enlargements[] = {
        {"2:1", "0.5"}, {"4:1", "0.25"}, {"8:1", "0.125"}, {"10:1", "0.1"}, {"100:1", "0.01"}};
    for (const auto& [text, drawing] : enlargements) {
        if (entry.text == text)
            return {"1", std::string(drawing)};
    }
    return {"1", std::to_string(entry.drawingUnits)};
}

std::vector<std::string> shadeChoices(std::string_view productCode)
{
    std::vector<std::string> choices = {"As Displayed", "Wireframe", "Hidden"};
    if (isOneOf(productCode, kFull2004))
        choices.emplace_back("Rendered");
    return choices;
}

std::vector<std::string> qualityChoices()
{
    return {"Draft", "Preview", "Normal", "Presentation", "Maximum"};
}

} // namespace qv
