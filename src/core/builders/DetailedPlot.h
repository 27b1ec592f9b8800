#pragma once

#include "Message.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The detailed plot routine: every answer of the host's "_-plot" command with detailed configuration,
// built from the choices of the "Plot - Detailed Setup" tab.

inline constexpr std::string_view kSelectPlotter = "Select Plotter";
inline constexpr std::string_view kScaledToFit = "Scaled to Fit";

enum class PlotTabMode
{
    Layout = 0,    // "Layout Tab (Paperspace)": the plain form for the layout tab
    Model = 1,     // "Model Tab (Modelspace)": the plain form for the model tab
    Automatic = 2, // "Model/Layout Automatic": AutoLISP asks the drawing for its tab
};

// The tab's choices as read from its controls (names in comments); the defaults are a freshly prepared tab.
struct DetailedPlotChoices
{
    PlotTabMode mode = PlotTabMode::Automatic; // optTilemode
    std::string layoutName = "<Default>";      // txtLayoutName
    bool allLayouts = false;                   // chkAllLayouts
    std::string copies = "1";                  // cmbNoCopies

    std::string device = std::string(kSelectPlotter); // CboPrinter
    std::string paperLabel = "Enter paper size";      // Label8: which paper control is live
    std::string paperList = "<Default>";              // cboPaperSize
    std::string paperText = "<Default>";              // txtPaperSize

    std::string units = "_Inches";          // m_unitsToken: "_Inches", "_Millimeters" or "_Pixels"
    std::string orientation = "_Landscape"; // m_orientationToken
    bool upsideDown = false;                // chkUpside
    std::string plotArea = "_Display";      // m_plotAreaToken: "_Display", "_Extents", "_Limits", "Layout", "_View"
    std::string viewName = {};              // txtView

    std::string scaleChoice = std::string(kScaledToFit); // cmbScale
    std::string scale1 = "1";                            // txtScale1: plotted units
    std::string scale2 = "1";                            // txtScale2: drawing units
    bool scaleLineweights = false;                       // chkScaleLine

    bool centre = false;          // ChkPlotcenter
    std::string offsetX = "0.00"; // txtOffset_X
    std::string offsetY = "0.00"; // txtOffset_Y

    bool plotStyles = true;               // chkPlotStyle
    std::string styleTable = "<Default>"; // cboPlotStyle
    bool lineweights = true;              // ChkPlotObject
    bool paperLast = true;                // chkpaperlast
    bool hide = false;                    // chkRemovelines
    std::string shade = "As Displayed";   // cboShade
    std::string quality = "Normal";       // CboQuality
    bool plotToFile = false;              // chkPlotFile
    bool saveChanges = false;             // chkSaveTab
};

// The control that gets the focus after a refusal.
enum class PlotField
{
    None,
    Scale1,   // txtScale1
    Scale2,   // txtScale2
    Printer,  // CboPrinter (only when its page is showing)
    View,     // txtView
    OffsetX,  // txtOffset_X
    OffsetY,  // txtOffset_Y
    Copies,   // cmbNoCopies
    Tilemode, // optTilemode
    LayoutName, // txtLayoutName
    Paper,      // the live paper control: cboPaperSize or txtPaperSize
    StyleTable, // cboPlotStyle
};

// The routine text, or the message to show instead and the control to focus; a refused build hands
// nothing to the save dialog and the tab keeps every value.
struct DetailedPlotResult
{
    std::string text;
    std::optional<UserMessage> message;
    PlotField focus = PlotField::None;

    bool ok() const { return !message.has_value(); }
};

// Checks scale, device, view, offset (in that order, first failure ends it), that no typed answer holds a
// line break (it would become two answers), then copies, and builds the plain form (layout or model tab) or
// the automatic AutoLISP form for the configured product code.
DetailedPlotResult buildDetailedPlotRoutine(const DetailedPlotChoices& choices, std::string_view productCode);

// ---- The answers, each on its own ----

// Digits with at most one "." or "/", not starting or ending with "/". An empty text is valid.
bool isValidScaleNumber(std::string_view text);

// "_Fit" for "Scaled to Fit", else the trimmed boxes joined by "=". A refusal names the box to focus.
struct PlotAnswer
{
    std::string answer;
    std::optional<UserMessage> message;
    PlotField focus = PlotField::None;
};
PlotAnswer plotScaleAnswer(const DetailedPlotChoices& choices);

// The plot area answers: the token, "" for the layout's own area ("Layout"), or "_View" and the view name.
struct PlotAreaAnswer
{
    std::vector<std::string> answers;
    std::optional<UserMessage> message;
};
PlotAreaAnswer plotAreaAnswer(const DetailedPlotChoices& choices);

// The device answer of the automatic form: the trimmed device as it goes between the quotes of an AutoLISP
// string (backslashes doubled, quotes escaped).
std::string quoteDeviceForLisp(std::string_view device);

// The text as it goes between the quotes of an AutoLISP string: a backslash before every double quote and
// every backslash, so that the host reads exactly the text. Every answer of the automatic form goes through it.
std::string escapeQuotesForLisp(std::string_view text);

// The paper answer: the live paper control's trimmed text, or "" for "<Default>" and the list prompts.
std::string paperAnswer(const DetailedPlotChoices& choices);

// "" for "<Model>" and "<Default>" (the drawing's current tab), else the trimmed name.
std::string layoutNameAnswer(std::string_view layoutName);

// "_A", "_W", "_H" or "_R" for the cboShade text.
std::string shadeAnswer(std::string_view shade);

// "_N" unless the shade answer is "_R"; then "_D", "_P", "_N", "_R" or "_M" for the CboQuality text.
std::string qualityAnswer(std::string_view shadeAnswer, std::string_view quality);

// ---- What the products ask ----

// The products whose tab offers the automatic form (full AutoCAD from 2000 on, with AutoLISP).
bool offersAutomaticPlot(std::string_view productCode);

// The model tab asks for the shade plot setting, whose save question also sets the shade plot quality (AutoCAD
// and LT from 2004 on), rather than hidden-line removal (2000, BricsCAD, ZWCAD).
bool asksShadePlot(std::string_view productCode);

// Plotter configurations that only write files: the host asks the file name without asking whether.
bool isFileOnlyPlotDevice(std::string_view device);

// Raster configurations: the host asks no paper units.
bool isRasterPlotDevice(std::string_view device);

} // namespace qv
