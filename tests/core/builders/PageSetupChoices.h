#pragma once

// The plot-by-page-setup choices the builders' tests start from.

#include "builders/PageSetupRoutine.h"

#include <string>
#include <utility>

namespace qv {

inline PageSetupPlotChoices plot(std::string name, std::string device = "Select Plotter", bool toFile = false,
                                 std::string copies = "1")
{
    PageSetupPlotChoices choices;
    choices.pageSetupName = std::move(name);
    choices.device = std::move(device);
    choices.plotToFile = toFile;
    choices.copies = std::move(copies);
    return choices;
}

// A page setup imported from another drawing first (when that option is chosen).
inline PageSetupPlotChoices fromDrawing(std::string drawing, std::string name, std::string copies = "1",
                                        bool chosen = true)
{
    PageSetupPlotChoices choices = plot(std::move(name), "Select Plotter", false, std::move(copies));
    choices.fromOtherDrawing = chosen;
    choices.drawing = std::move(drawing);
    return choices;
}

} // namespace qv
