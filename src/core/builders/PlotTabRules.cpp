#include "PlotTabRules.h"

#include "builders/PaperSizes.h"
#include "text/TextUtil.h"

namespace qv {

TilemodeFields tilemodeFieldsFor(PlotTabMode mode, bool shadeWithModelTab)
{
    TilemodeFields fields;
    // Only the layout tab always switches shading off; the model tab and the automatic mode switch it on
    // where the product asks for it.
    const std::optional<bool> shadeOnModelTab = shadeWithModelTab ? std::optional<bool>(true) : std::nullopt;
    if (mode == PlotTabMode::Layout) {
        fields.token = "_Layout";
        fields.layoutName = "<Default>";
        fields.layoutNameEnabled = true;
        fields.shadeEnabled = false;
    } else if (mode == PlotTabMode::Model) {
        fields.token = "_Model";
        fields.layoutName = "<Model>";
        fields.shadeEnabled = shadeOnModelTab;
    } else {
        fields.layoutName = "<Default>";
        fields.allLayoutsEnabled = true;
        fields.shadeEnabled = shadeOnModelTab;
    }
    // A layout has no limits, and the model tab no layout area.
    fields.layoutArea = mode != PlotTabMode::Model;
    fields.thirdAreaCaption = fields.layoutArea ? "Default" : "Limits";
    return fields;
}

PlotTabMode plotTabModeFor(int tilemodeChoice, std::string_view tilemodeToken)
{
    if (tilemodeChoice == static_cast<int>(PlotTabMode::Automatic))
        return PlotTabMode::Automatic;
    return tilemodeToken == "_Model" ? PlotTabMode::Model : PlotTabMode::Layout;
}

PlotAreaFields plotAreaFieldsFor(int index, std::string_view thirdAreaCaption)
{
    switch (index) {
    case 0:
        return {"_Display", false};
    case 1:
        return {"_Extents", false};
    case 2:
        return {thirdAreaCaption == "Limits" ? "_Limits" : "Layout", false};
    default:
        return {"_View", index == 3};
    }
}

OrientationFields orientationFieldsFor(bool portrait, bool upsideDown)
{
    if (portrait)
        return {"_Portrait", upsideDown ? 3 : 0};
    return {"_Landscape", upsideDown ? 2 : 1};
}

UnitFields unitFieldsFor(int index)
{
    if (index == 2)
        return {std::string(kPixelsToken), "Pixels", true};
    if (index == 0)
        return {"_Inches", "Inches", false};
    return {"_Millimeters", "mm", false};
}

bool namesNoDevice(std::string_view device)
{
    const std::string_view trimmed = trimSpaces(device);
    return trimmed.empty() || equalsIgnoreCaseAscii(trimmed, kSelectPlotter);
}

bool offersShadeQuality(std::string_view shade)
{
    return shade == "Rendered";
}

PlotFieldPlace plotFieldPlace(PlotField field)
{
    switch (field) {
    case PlotField::Printer:
        return {0, false};
    case PlotField::Copies:
    case PlotField::Tilemode:
    case PlotField::LayoutName:
    case PlotField::Paper:
        return {0, true};
    default:
        return {1, true};
    }
}

bool isTypedPaperLive(std::string_view paperLabel)
{
    return equalsIgnoreCaseAscii(paperLabel, kEnterPaperSize);
}

} // namespace qv
