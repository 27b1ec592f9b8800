#include "Products.h"

#include "Keywords.h"

namespace qv::hostmodel {

namespace {

const Product kProducts[] = {
    {"Cad13", 13, false, false},       {"Cad14", 14, false, false},      {"CadLT98", 14, true, false},
    {"Cad2000", 2000, false, false},   {"CadLT2000", 2000, true, false}, {"Cad2004", 2004, false, false},
    {"CadLT2004", 2004, true, false},  {"Cad2005", 2005, false, false},  {"CadLT2005", 2005, true, false},
    {"Cad2007", 2007, false, false},   {"CadLT2007", 2007, true, false}, {"Cad2010", 2010, false, false},
    {"CadLT2010", 2010, true, false},  {"Cad2013", 2013, false, false},  {"CadLT2013", 2013, true, false},
    {"Cad2018", 2018, false, false},   {"CadLT2018", 2018, true, false}, {"Bricscad", 2018, false, true},
    {"ZWCAD", 2018, false, true},
};

} // namespace

std::optional<Product> findProduct(std::string_view code)
{
    for (const Product& product : kProducts) {
        if (upperAscii(product.code) == upperAscii(code)) {
            return product;
        }
    }
    return std::nullopt;
}

std::string productCodes()
{
    std::string codes;
    for (const Product& product : kProducts) {
        codes += codes.empty() ? "" : ", ";
        codes += product.code;
    }
    return codes;
}

} // namespace qv::hostmodel
