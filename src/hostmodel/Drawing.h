#pragma once

#include "Lisp.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qv::hostmodel {

struct PageSetup
{
    std::string name;
    std::string device; // empty: the drawing's current device
};

// What the host knows of an open drawing. A drawing file may declare its state on a first line such as
// "CADHOST tab=Layout1 layouts=Layout1,Layout2 pagesetups=A1-Plot,A3-Check views=Front"; without one it
// opens on the model tab with the layouts Layout1 and Layout2.
struct Drawing
{
    static constexpr std::string_view kModel = "Model";
    // The device of a drawing that does not declare one, in a check of real drawings.
    static constexpr std::string_view kOwnDevice = "(the drawing's own device)";

    std::string path;
    bool startup = false; // the unnamed drawing the host starts with; never on disk
    bool readOnly = false;
    bool modified = false;
    bool edited = false; // changed other than in its view (ZOOM, PAN, REGEN change only the view)

    std::string tab = std::string(kModel);
    std::vector<std::string> layouts = {"Layout1", "Layout2"};
    std::vector<PageSetup> pageSetups;
    std::vector<std::string> views;
    std::vector<std::string> layers = {"0"};
    std::string currentLayer = "0";
    std::string device = "None";
    std::map<std::string, LispValue> symbols; // each drawing has its own AutoLISP namespace

    bool onModel() const;
    void change(bool viewOnly = false);
    void markSaved();
    // The layout of that name (case-insensitive), "Model" included; empty when there is none.
    std::string findLayout(std::string_view name) const;
    const PageSetup* findPageSetup(std::string_view name) const;
    std::string findView(std::string_view name) const;
    std::string findLayer(std::string_view name) const;
};

// Applies a "CADHOST key=value ..." line to the drawing. Values are lists separated by ',' in which "%20",
// "%2C" and other %XX stand for the byte of that code. Returns an empty text, or what is wrong with the line.
// A line that does not start with "CADHOST " declares nothing.
std::string applyDrawingLine(std::string_view line, Drawing& drawing);

} // namespace qv::hostmodel
