#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// How the "Plot - Detailed Setup" tab is prepared for a product, and the entries of its lists.

struct PlotTabSetup
{
    bool automatic = false;          // optTilemode 2 chosen and offered, chkAllLayouts enabled
    bool release2004 = false;        // the shade list, quality list and their frame are offered
    bool shadeAtStart = false;       // setShadeOptionsEnabled(true) while preparing (full products from 2004)
    bool rendered = false;           // cboShade offers "Rendered"
    bool shadeFrameShown = true;     // fraShaded shown
    bool pixelsOffered = true;       // optUnit 2 shown
    bool shadeWithModelTab = false;  // choosing the model tab or automatic mode enables shading
    std::string removeLinesCaption;  // chkRemovelines
    std::string modelLayoutHint;     // lblstrModel_Layout
    std::string modelPaperHint;      // lblModelPaper
};

PlotTabSetup plotTabSetupFor(std::string_view productCode);

// One entry of cmbScale: its text and the number of drawing units per plotted unit (its item data).
struct PlotScaleEntry
{
    std::string text;
    int drawingUnits = 1;
};

// The scale list in its order, the architectural entries written out (1/4" = 1'0").
std::vector<PlotScaleEntry> plotScaleList();

// What choosing an entry writes into txtScale1 and txtScale2.
struct ScaleBoxes
{
    std::string plotted;
    std::string drawing;
};
ScaleBoxes scaleBoxesFor(const PlotScaleEntry& entry);

// The cboShade entries for a product ("Rendered" from the 2004 full products on) and CboQuality's.
std::vector<std::string> shadeChoices(std::string_view productCode);
std::vector<std::string> qualityChoices();

} // namespace qv
