#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

enum class ProductFamily {
    AutoCad2000Syntax,
    AutoCadOldRelease,
    AutoCadLt2000Syntax,
    AutoCadLtOldRelease,
    AutoCad2004OrLater,
    AutoCadLt2004OrLater,
    Bricscad,
    Zwcad,
    Placeholder,
};

// One row of the catalogue of CAD products; optionIndex is the button index of the version choice.
struct CadProduct
{
    int optionIndex;
    std::string_view caption;
    std::string_view code;             // empty for the placeholder row
    std::string_view selectionLabel;   // "AutoCAD Version " + label + " Selected"
    std::string_view panelLabel;       // action panel label; empty when the product has none
    std::string_view defaultExecutable; // empty when not set
    ProductFamily family;
};

// All twenty rows, in option index order (0 to 19).
std::span<const CadProduct> cadProducts();

// The row of a code, compared in upper case.
const CadProduct* findProduct(std::string_view code);

// The stored text when its upper case is a known code, else "Cad2005".
std::string normaliseProductCode(std::string_view stored);

inline constexpr std::string_view kDefaultProductCode = "Cad2005";

bool isBricscad(std::string_view code);           // upper case "BRICSCAD"
bool isZwcad(std::string_view code);              // upper case "ZWCAD"
bool isRelease2004OrLater(std::string_view code); // exact codes of the 2004-or-later group
bool uses2000Syntax(std::string_view code);       // exact "Cad2000", "CadLT2000"
bool isOldRelease(std::string_view code);         // exact "Cad13", "Cad14", "CadLT98"

// Action panel label for a code (exact, case-sensitive): its panel label, else its selection label;
// nullopt (an unknown code) keeps the previous label.
std::optional<std::string> panelLabel(std::string_view code);

} // namespace qv
