#pragma once

#include "builders/DetailedPlot.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// What each choice on the "Plot - Detailed Setup" tab does to the other fields, decided without a widget;
// the tab applies the answers to its controls.

// Choosing Layout, Model or Automatic on optTilemode.
struct TilemodeFields
{
    std::optional<std::string> token; // m_tilemodeToken; the automatic mode leaves it as it was
    std::string layoutName;           // txtLayoutName: "<Default>" or "<Model>"
    bool layoutNameEnabled = false;
    bool allLayoutsEnabled = false;   // chkAllLayouts; cleared whenever it is disabled
    std::optional<bool> shadeEnabled; // the shade options, when the mode decides them (as "As Displayed")
    std::string thirdAreaCaption;     // OptPlotArea 2: "Default" (the layout's own area) or "Limits"
    bool layoutArea = true; // OptPlotArea 2 enabled (never disabled here), chkpaperlast and chkScaleLine enabled
};
TilemodeFields tilemodeFieldsFor(PlotTabMode mode, bool shadeWithModelTab);

// The mode the routine is built for: the automatic option, else the tab the token names.
PlotTabMode plotTabModeFor(int tilemodeChoice, std::string_view tilemodeToken);

// Choosing Display, Extents, the third area or View on OptPlotArea. The third area follows its caption: the
// model tab's limits, else the layout's own area.
struct PlotAreaFields
{
    std::string token;      // m_plotAreaToken
    bool viewShown = false; // txtView
};
PlotAreaFields plotAreaFieldsFor(int index, std::string_view thirdAreaCaption);

// Portrait or landscape, and upside-down.
struct OrientationFields
{
    std::string token;   // m_orientationToken
    int pictureCode = 1; // picOrient: 0 portrait, 1 landscape, 2 landscape upside down, 3 portrait upside down
};
OrientationFields orientationFieldsFor(bool portrait, bool upsideDown);

// Choosing Inches, Millimeters or Pixels on optUnit.
struct UnitFields
{
    std::string token;      // m_unitsToken
    std::string offsetUnit; // the captions beside the scale and offset boxes
    bool pixels = false;    // the paper list shows the pixel sizes
};
UnitFields unitFieldsFor(int index);
inline constexpr std::string_view kPixelsToken = "_Pixels";

// A device text that names no device: blank or "Select Plotter". Leaving pixels then puts the typed paper back.
bool namesNoDevice(std::string_view device);

// CboQuality is offered only for a rendered shade plot; otherwise it shows "Normal".
bool offersShadeQuality(std::string_view shade);

// Where a refused field is: its page (0 "Device, Paper and Tabs", 1 "Area, Scale and Options"), and whether
// the tab turns to that page to focus it. The device takes the focus only when its page is already showing.
struct PlotFieldPlace
{
    int page = 1;
    bool turnsPage = true;
};
PlotFieldPlace plotFieldPlace(PlotField field);

// True when Label8 says the typed paper box (txtPaperSize) is live rather than the list.
bool isTypedPaperLive(std::string_view paperLabel);

} // namespace qv
