#pragma once

#include "Message.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Routines around the named page setups of a drawing: a plot through a page setup (taken from the
// drawing or first imported from another drawing), and an import of page setups on its own.

inline constexpr int kMaxPageSetupCopies = 10;
inline constexpr std::string_view kLoadAllPageSetups = "*";

// What the "Plot - Page Setup" tab shows for a product.
struct PageSetupPlotSetup
{
    std::string_view frameCaption;
    bool allTabsOffered = false; // chkPlotalltabsPage enabled, Label20 hidden: the product runs AutoLISP
};

PageSetupPlotSetup pageSetupPlotSetupFor(std::string_view productCode);

// The information shown each time before a page-setup plot is built.
UserMessage plottingInformationMessage();

// The choices of the "Plot - Page Setup" tab as read from its controls.
struct PageSetupPlotChoices
{
    bool fromOtherDrawing = false;         // optPageSetupLoc index 1
    std::string drawing;                   // txtDrawingAddress1
    std::string pageSetupName;             // txtPageSetupName
    std::string device = "Select Plotter"; // cboPagesetupPlotter
    bool allTabs = false;                  // chkPlotalltabsPage
    std::string copies = "1";              // cboNumberofCopies
    bool plotToFile = false;               // chkPlotToFile
};

// The choices of the "Import Page Setup" tab.
struct PageSetupImportChoices
{
    bool loadAll = false; // optLoadAll index 1: the names box holds "*"
    std::string names;    // txtPagesetup
    std::string drawing;  // txtDrawingAddress
};

// The control that gets the focus after a refusal.
enum class PageSetupField
{
    None,
    PageSetupName, // txtPageSetupName
    PlotDrawing,   // txtDrawingAddress1
    ImportNames,   // txtPagesetup
    ImportDrawing, // txtDrawingAddress
    Device,        // cboPagesetupPlotter
};

// A refusal: the message to show and the control to focus; the tab keeps its contents.
struct PageSetupRefusal
{
    UserMessage message;
    PageSetupField focus = PageSetupField::None;
};

// The routine text, or the refusal instead; a refused build hands nothing to the save dialog.
struct PageSetupRoutineResult
{
    std::string text;
    std::optional<PageSetupRefusal> refusal;

    bool ok() const { return !refusal.has_value(); }
};

// The drawing to import from and the page setup name must be given ("Page Setup Error").
std::optional<PageSetupRefusal> checkPageSetupPlot(const PageSetupPlotChoices& choices);
std::optional<PageSetupRefusal> checkPageSetupImport(const PageSetupImportChoices& choices);

// The plot answers of "_-plot" without detailed configuration, for the drawing's current tab or, with
// "Plot all tabs" on a product that offers it, for every paper-space layout through AutoLISP; preceded
// by the import when the page setup comes from another drawing, and repeated once per copy.
PageSetupRoutineResult buildPageSetupPlotRoutine(const PageSetupPlotChoices& choices, std::string_view productCode);

// "_-psetupin" of the named page setups (or all of them) with EXPERT at 2 so existing ones are
// redefined without a question, then the drawing is saved.
PageSetupRoutineResult buildPageSetupImportRoutine(const PageSetupImportChoices& choices);

// The device answer: the trimmed device text, or empty (the page setup's own device) for "<Default>",
// "Select Plotter" and a blank text.
std::string pageSetupDeviceAnswer(std::string_view device);

} // namespace qv
