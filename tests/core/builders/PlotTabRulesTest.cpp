// What the "Plot - Detailed Setup" tab offers per product and what each of its choices does to the other
// fields, decided without a widget; the tab's own test only checks that the controls show these answers.

#include "builders/PlotTabRules.h"

#include "builders/PlotTabSetup.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

TEST(PlotTabSetup, EveryProductRow)
{
    const char* hidePaper = "Hide paperspace objects";
    const std::vector<std::string> shades = {"As Displayed", "Wireframe", "Hidden", "Rendered"};
    // products sharing a row; automatic mode, the 2004 controls, shading on at start with "Rendered" offered, the
    // model tab switching shading, the hidden-line caption, the hints for the older LT releases
    const std::tuple<std::vector<const char*>, bool, bool, bool, bool, const char*, bool> rows[] = {
        {{"Cad2004", "Cad2010", "Cad2018"}, true, true, true, true, hidePaper, false},
        {{"Cad2000"}, true, false, false, false, "Hide objects", false},
        {{"CadLT2004", "CadLT2010"}, false, true, false, true, hidePaper, true},
        {{"CadLT2013", "CadLT2018"}, false, true, false, true, hidePaper, false},
        {{"CadLT2000"}, false, false, false, false, "Hide objects", true},
        {{"Bricscad", "ZWCAD", "Cad14", ""}, false, false, false, false, "Hide objects", false},
    };
    for (const auto& [codes, automatic, release2004, full2004, shadeWithModelTab, hideCaption, olderLt] : rows)
        for (const char* code : codes) {
            SCOPED_TRACE(code);
            const PlotTabSetup s = plotTabSetupFor(code);
            EXPECT_EQ(std::tuple(s.automatic, s.release2004, s.shadeFrameShown, s.pixelsOffered, s.shadeAtStart,
                                 s.rendered, s.shadeWithModelTab, s.removeLinesCaption),
                      std::tuple(automatic, release2004, release2004, release2004, full2004, full2004,
                                 shadeWithModelTab, std::string(hideCaption)));
            EXPECT_EQ(s.modelLayoutHint,
                      olderLt ? "The Model/Layout option requires Lisp and is only available using AutoCAD full "
                                "version."
                              : "This option automatically detects Model and Layout tabs when plotting. Recommended");
            EXPECT_EQ(s.modelPaperHint.starts_with("AutoCAD LT requires separate routines"), olderLt);
            EXPECT_EQ(shadeChoices(code), std::vector(shades.begin(), shades.end() - (full2004 ? 0 : 1)));
        }
}

TEST(PlotTabRules, TabModeFields)
{
    using Fields =
        std::tuple<std::optional<std::string>, std::string, bool, bool, std::optional<bool>, std::string, bool>;
    const auto keep = std::nullopt;
    // mode, whether the model tab switches shading on; token, layout name and whether it can be typed, all layouts
    // offered, shading switched, the third area's caption, the layout-only options offered
    const std::tuple<PlotTabMode, bool, Fields> cases[] = {
        {PlotTabMode::Layout, true, {"_Layout", "<Default>", true, false, false, "Default", true}},
        {PlotTabMode::Layout, false, {"_Layout", "<Default>", true, false, false, "Default", true}},
        {PlotTabMode::Model, true, {"_Model", "<Model>", false, false, true, "Limits", false}},
        {PlotTabMode::Model, false, {"_Model", "<Model>", false, false, keep, "Limits", false}},
        {PlotTabMode::Automatic, true, {keep, "<Default>", false, true, true, "Default", true}},
        {PlotTabMode::Automatic, false, {keep, "<Default>", false, true, keep, "Default", true}},
    };
    for (const auto& [mode, shadeWithModelTab, expected] : cases) {
        const TilemodeFields f = tilemodeFieldsFor(mode, shadeWithModelTab);
        EXPECT_EQ(Fields(f.token, f.layoutName, f.layoutNameEnabled, f.allLayoutsEnabled, f.shadeEnabled,
                         f.thirdAreaCaption, f.layoutArea),
                  expected)
            << static_cast<int>(mode) << shadeWithModelTab;
    }
    // The routine's form: the automatic option, else the tab its token names.
    EXPECT_EQ(plotTabModeFor(2, "_Model"), PlotTabMode::Automatic);
    EXPECT_EQ(plotTabModeFor(0, "_Model"), PlotTabMode::Model);
    EXPECT_EQ(plotTabModeFor(1, "_Layout"), PlotTabMode::Layout);
}

TEST(PlotTabRules, AreaOrientationAndUnits)
{
    // plot area chosen, the third area's caption; token, view name shown
    const std::tuple<int, const char*, const char*, bool> areas[] = {
        {0, "Limits", "_Display", false}, {1, "Default", "_Extents", false}, {2, "Limits", "_Limits", false},
        {2, "Default", "Layout", false},  {3, "Limits", "_View", true},
    };
    for (const auto& [index, caption, token, viewShown] : areas) {
        const PlotAreaFields fields = plotAreaFieldsFor(index, caption);
        EXPECT_EQ(std::tuple(fields.token, fields.viewShown), std::tuple(std::string(token), viewShown)) << index;
    }
    // portrait, upside down; token, picture
    const std::tuple<bool, bool, const char*, int> orientations[] = {
        {true, false, "_Portrait", 0},
        {true, true, "_Portrait", 3},
        {false, false, "_Landscape", 1},
        {false, true, "_Landscape", 2},
    };
    for (const auto& [portrait, upsideDown, token, picture] : orientations) {
        const OrientationFields fields = orientationFieldsFor(portrait, upsideDown);
        EXPECT_EQ(std::tuple(fields.token, fields.pictureCode), std::tuple(std::string(token), picture));
    }
    // unit chosen; token, the offset boxes' caption, the pixel paper list
    const std::tuple<int, const char*, const char*, bool> units[] = {
        {0, "_Inches", "Inches", false}, {1, "_Millimeters", "mm", false}, {2, "_Pixels", "Pixels", true}};
    for (const auto& [index, token, caption, pixels] : units) {
        const UnitFields fields = unitFieldsFor(index);
        EXPECT_EQ(std::tuple(fields.token, fields.offsetUnit, fields.pixels),
                  std::tuple(std::string(token), std::string(caption), pixels));
    }
}

TEST(PlotTabRules, DevicePaperShadeAndRefusedFields)
{
    for (const char* none : {"", "   ", "Select Plotter", " select PLOTTER "})
        EXPECT_TRUE(namesNoDevice(none)) << none;
    for (const char* device : {"Plotter", "Select Plotter 2"})
        EXPECT_FALSE(namesNoDevice(device)) << device;
    EXPECT_TRUE(isTypedPaperLive("Enter paper size") && isTypedPaperLive("ENTER PAPER SIZE"));
    EXPECT_FALSE(isTypedPaperLive("Select paper size") || isTypedPaperLive("Select pixel size"));
    EXPECT_TRUE(offersShadeQuality("Rendered"));
    for (const char* shade : {"As Displayed", "Wireframe", "Hidden"})
        EXPECT_FALSE(offersShadeQuality(shade)) << shade;

    // field; its page, whether the tab turns to it (the device takes the focus only where it is showing)
    const std::tuple<PlotField, int, bool> places[] = {
        {PlotField::Printer, 0, false},   {PlotField::Copies, 0, true},     {PlotField::Tilemode, 0, true},
        {PlotField::LayoutName, 0, true}, {PlotField::Paper, 0, true},      {PlotField::Scale1, 1, true},
        {PlotField::Scale2, 1, true},     {PlotField::View, 1, true},       {PlotField::OffsetX, 1, true},
        {PlotField::OffsetY, 1, true},    {PlotField::StyleTable, 1, true},
    };
    for (const auto& [field, page, turnsPage] : places) {
        const PlotFieldPlace place = plotFieldPlace(field);
        EXPECT_EQ(std::pair(place.page, place.turnsPage), std::pair(page, turnsPage)) << static_cast<int>(field);
    }
}

} // namespace
} // namespace qv
