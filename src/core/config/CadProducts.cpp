#include "CadProducts.h"

#include "text/TextUtil.h"

#include <algorithm>
#include <array>

namespace qv {
namespace {

using F = ProductFamily;

constexpr std::array<CadProduct, 20> kProducts = {{
    {0, "AutoCAD 2000, 2002", "Cad2000", "Acad 2000/2002", "Acad 2000/2002", "Acad.exe", F::AutoCad2000Syntax},
    {1, "AutoCAD R14", "Cad14", "Acad R14", "Acad R14", "Acad.exe", F::AutoCadOldRelease},
    {2, "AutoCAD R13", "Cad13", "Acad R13", "Acad R13", "Acad.exe", F::AutoCadOldRelease},
    {3, "AutoCAD LT2000, LT2002", "CadLT2000", "Acad LT 2000/2002", "Acad LT 2000/2002", "Aclt.exe",
     F::AutoCadLt2000Syntax},
    {4, "AutoCAD LT 97, LT98", "CadLT98", "Acad LT 98", "Acad LT 98", "Aclt.exe", F::AutoCadLtOldRelease},
    {5, "IntelliCAD/Briscad", "Bricscad", "Bricscad", "Bricscad", "", F::Bricscad},
    {6, "AutoCAD 2004", "Cad2004", "Acad 2004", "Acad 2004", "Acad.exe", F::AutoCad2004OrLater},
    {7, "AutoCAD LT2004", "CadLT2004", "Acad LT 2004", "Acad LT 2004", "Aclt.exe", F::AutoCadLt2004OrLater},
    {8, "AutoCAD 2005, 2006", "Cad2005", "Acad 2005/2006", "Acad 2005/2006", "Acad.exe", F::AutoCad2004OrLater},
    {9, "AutoCAD LT2005, LT2006", "CadLT2005", "Acad LT 2005/2006", "Acad LT 2005/2006", "Aclt.exe",
     F::AutoCadLt2004OrLater},
    {10, "AutoCAD 2007 - 2009", "Cad2007", "Acad 2007 - 2009", "Acad 2007", "Acad.exe", F::AutoCad2004OrLater},
    {11, "AutoCAD LT2007 - LT2009", "CadLT2007", "Acad LT 2007 - 2009", "Acad LT 2007", "Acadlt.exe",
     F::AutoCadLt2004OrLater},
    {12, "False", "", "", "", "", F::Placeholder},
    {13, "AutoCAD 2010 - 2012", "Cad2010", "Acad 2010 - 2012", "Acad 2010/2011/2012", "Acad.exe",
     F::AutoCad2004OrLater},
    {14, "AutoCAD LT2010 - LT2012", "CadLT2010", "Acad LT 2010 - 2012", "Acad LT 2010/2011/2012", "Acadlt.exe",
     F::AutoCadLt2004OrLater},
    {15, "AutoCAD 2013 - 2017", "Cad2013", "Acad 2013 - 2017", "", "Acad.exe", F::AutoCad2004OrLater},
    {16, "AutoCAD LT2013 - LT2017", "CadLT2013", "Acad LT 2013 - 2017", "", "Acadlt.exe", F::AutoCadLt2004OrLater},
    {17, "AutoCAD 2018 - 2025", "Cad2018", "Acad 2018 - 2025", "", "Acad.exe", F::AutoCad2004OrLater},
    {18, "AutoCAD LT2018 - LT2025", "CadLT2018", "Acad LT 2018 - 2025", "", "Acadlt.exe", F::AutoCadLt2004OrLater},
    {19, "ZWCAD", "ZWCAD", "ZWCAD", "ZWCAD", "ZWCAD.exe", F::Zwcad},
}};

bool isOneOf(std::string_view code, std::initializer_list<std::string_view> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

} // namespace

std::span<const CadProduct> cadProducts()
{
    return kProducts;
}

const CadProduct* findProduct(std::string_view code)
{
    if (code.empty())
        return nullptr;
    const std::string upper = toUpperAscii(code);
    for (const CadProduct& product : kProducts) {
        if (!product.code.empty() && toUpperAscii(product.code) == upper)
            return &product;
    }
    return nullptr;
}

std::string normaliseProductCode(std::string_view stored)
{
    return findProduct(stored) ? std::string(stored) : std::string(kDefaultProductCode);
}

bool isBricscad(std::string_view code)
{
    return toUpperAscii(code) == "BRICSCAD";
}

bool isZwcad(std::string_view code)
{
    return toUpperAscii(code) == "ZWCAD";
}

bool isRelease2004OrLater(std::string_view code)
{
    return isOneOf(code, {"Cad2004", "CadLT2004", "Cad2005", "CadLT2005", "Cad2007", "CadLT2007", "Cad2010",
                          "CadLT2010", "Cad2013", "CadLT2013", "Cad2018", "CadLT2018"});
}

bool uses2000Syntax(std::string_view code)
{
    return isOneOf(code, {"Cad2000", "CadLT2000"});
}

bool isOldRelease(std::string_view code)
{
    return isOneOf(code, {"Cad13", "Cad14", "CadLT98"});
}

std::optional<std::string> panelLabel(std::string_view code)
{
    for (const CadProduct& product : kProducts) {
        if (product.code.empty() || product.code != code)
            continue;
        // The releases from 2013 on have no label of their own; their selection label names them as well.
        const std::string_view label = product.panelLabel.empty() ? product.selectionLabel : product.panelLabel;
        return label.empty() ? std::nullopt : std::optional<std::string>(label);
    }
    return std::nullopt;
}

} // namespace qv
