#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::hostmodel {

// A host product as Quorvel names it. Where one code covers several releases (CadLT2018 stands for LT 2018
// to 2025), the model answers as the oldest of them would.
struct Product
{
    std::string code; // canonical spelling, e.g. "Cad2018"
    int release = 0;  // 13, 14, 2000, 2004, 2005, 2007, 2010, 2013 or 2018
    bool lt = false;  // AutoCAD LT: no AutoLISP
    bool clone = false; // BricsCAD, ZWCAD

    bool hasLisp() const { return !lt; }
    bool isBricscad() const { return code == "Bricscad"; }
    // AutoCAD and AutoCAD LT ask CLOSE and QUIT's question as "discard all changes?", whose Yes saves nothing;
    // BricsCAD and ZWCAD ask whether to save.
    bool discardsAtClose() const { return !clone; }
};

// Case-insensitive look-up of a Quorvel product code.
std::optional<Product> findProduct(std::string_view code);
std::string productCodes();

} // namespace qv::hostmodel
