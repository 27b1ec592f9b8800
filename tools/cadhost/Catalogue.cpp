#include "Catalogue.h"

#include <algorithm>
#include <cctype>

namespace cadhost {

namespace {

char upperChar(char ch)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
}

bool isCapital(char ch)
{
    return std::isupper(static_cast<unsigned char>(ch)) || std::isdigit(static_cast<unsigned char>(ch));
}

bool startsWith(std::string_view whole, std::string_view prefix)
{
    return prefix.size() <= whole.size() && std::equal(prefix.begin(), prefix.end(), whole.begin());
}

bool wordMatches(std::string_view word, std::string_view typed)
{
    // The abbreviation is the first run of capitals (digits count, so "2000" and "LT2000" must be typed whole).
    const auto begin = static_cast<std::size_t>(std::find_if(word.begin(), word.end(), isCapital) - word.begin());
    if (begin == word.size()) {
        return false;
    }
    std::size_t end = begin;
    while (end < word.size() && isCapital(word[end])) {
        ++end;
    }
    std::string whole(word);
    std::transform(whole.begin(), whole.end(), whole.begin(), upperChar);
    const std::string_view full(whole);
    return (typed.size() >= end && startsWith(full, typed)) ||
           (typed.size() >= end - begin && startsWith(full.substr(begin), typed));
}

// Purge types in the order of the recent-release prompt. since: first release that offers the type;
// inClones: offered by BricsCAD and ZWCAD.
struct PurgeType
{
    const char* display;
    int since;
    bool inClones;
    bool takesNames;
};

constexpr PurgeType kPurgeTypes[] = {
    {"Blocks", 13, true, true},
    {"DEtailviewstyles", 2013, false, true},
    {"Dimstyles", 13, true, true},
    {"Groups", 2013, false, true},
    {"LAyers", 13, true, true},
    {"LTypes", 13, true, true},
    {"MAterials", 2007, false, true},
    {"MUltileaderstyles", 2007, false, true},
    {"Plotstyles", 2000, true, true},
    {"SHapes", 13, true, true},
    {"textSTyles", 13, true, true},
    {"Mlinestyles", 13, true, true},
    {"SEctionviewstyles", 2013, false, true},
    {"Tablestyles", 2005, false, true},
    {"Visualstyles", 2007, false, true},
    {"Regapps", 2005, true, true},
    {"Zero-length geometry", 2010, false, false},
    {"Empty text objects", 2010, false, false},
    {"Orphaned data", 2018, false, false},
    {"All", 13, true, true},
};

const Product kProducts[] = {
    {"Cad13", 13, false},       {"Cad14", 14, false},     {"CadLT98", 14, false},     {"Cad2000", 2000, false},
    {"CadLT2000", 2000, false}, {"Cad2004", 2004, false}, {"CadLT2004", 2004, false}, {"Cad2005", 2005, false},
    {"CadLT2005", 2005, false}, {"Cad2007", 2007, false}, {"CadLT2007", 2007, false}, {"Cad2010", 2010, false},
    {"CadLT2010", 2010, false}, {"Cad2013", 2013, false}, {"CadLT2013", 2013, false}, {"Cad2018", 2018, false},
    {"CadLT2018", 2018, false}, {"Bricscad", 2018, true}, {"ZWCAD", 2018, true},
};

bool isOldPurge(const Product& product)
{
    return !product.clone && product.release < 2000;
}

} // namespace

std::optional<std::size_t> matchKeyword(const std::vector<Keyword>& keywords, std::string_view entry)
{
    if (!entry.empty() && entry.front() == '_') {
        entry.remove_prefix(1);
    }
    if (entry.empty()) {
        return std::nullopt;
    }
    std::string typed(entry);
    std::transform(typed.begin(), typed.end(), typed.begin(), upperChar);
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        for (const std::string& word : keywords[i].words) {
            if (wordMatches(word, typed)) {
                return i;
            }
        }
    }
    return std::nullopt;
}

std::string keywordList(const std::vector<Keyword>& keywords)
{
    std::string list;
    for (const Keyword& keyword : keywords) {
        if (!list.empty()) {
            list += '/';
        }
        list += keyword.display;
    }
    return list;
}

std::optional<Product> findProduct(std::string_view code)
{
    for (const Product& product : kProducts) {
        if (product.code.size() == code.size() &&
            std::equal(code.begin(), code.end(), product.code.begin(),
                       [](char a, char b) { return upperChar(a) == upperChar(b); })) {
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

const std::vector<Keyword>& yesNoKeywords()
{
    static const std::vector<Keyword> keywords = {{"Yes", {"Yes"}}, {"No", {"No"}}};
    return keywords;
}

const std::vector<Keyword>& zoomKeywords()
{
    static const std::vector<Keyword> keywords = {
        {"All", {"All"}},           {"Center", {"Center"}}, {"Dynamic", {"Dynamic"}}, {"Extents", {"Extents"}},
        {"Previous", {"Previous"}}, {"Scale", {"Scale"}},   {"Window", {"Window"}},   {"Object", {"Object"}},
    };
    return keywords;
}

std::vector<Keyword> purgeTypes(const Product& product)
{
    std::vector<Keyword> types;
    for (const PurgeType& type : kPurgeTypes) {
        if (product.clone ? !type.inClones : type.since > product.release) {
            continue;
        }
        std::string display = type.display;
        if (isOldPurge(product) && display == "textSTyles") {
            display = "STyles";
        }
        // A type of several words is chosen by its first word; a script cannot type the space.
        types.push_back({display, {display.substr(0, display.find(' '))}, type.takesNames});
    }
    return types;
}

std::string purgeTypePrompt(const Product& product)
{
    if (isOldPurge(product)) {
        return "Purge unused " + keywordList(purgeTypes(product)) + ":";
    }
    return "Enter type of unused objects to purge [" + keywordList(purgeTypes(product)) + "]:";
}

std::vector<Keyword> saveFormats(const Product& product)
{
    struct Format
    {
        const char* display;
        std::vector<std::string> words;
        int since;
        int until;
    };
    static const Format kFormats[] = {
        {"R13", {"R13"}, 13, 13},
        {"R14(LT98&LT97)", {"R14", "LT98", "LT97"}, 14, 9999},
        {"2000(LT2000)", {"2000", "LT2000"}, 2000, 9999},
        {"2004(LT2004)", {"2004", "LT2004"}, 2004, 9999},
        {"2007(LT2007)", {"2007", "LT2007"}, 2007, 9999},
        {"2010(LT2010)", {"2010", "LT2010"}, 2010, 9999},
        {"2013(LT2013)", {"2013", "LT2013"}, 2013, 9999},
        {"2018(LT2018)", {"2018", "LT2018"}, 2018, 9999},
        {"Standards", {"Standards"}, 2004, 9999},
        {"DXF", {"DXF"}, 13, 9999},
        {"Template", {"Template"}, 13, 9999},
    };
    std::vector<Keyword> formats;
    for (const Format& format : kFormats) {
        if (format.since <= product.release && product.release <= format.until) {
            formats.push_back({format.display, format.words});
        }
    }
    return formats;
}

std::string saveFormatPrompt(const Product& product)
{
    // The default is the product's own format: the newest drawing version it offers.
    const std::vector<Keyword> formats = saveFormats(product);
    std::string fallback;
    for (const Keyword& format : formats) {
        if (std::isdigit(static_cast<unsigned char>(format.words.front().back()))) {
            fallback = format.words.front();
        }
    }
    return "Enter file format [" + keywordList(formats) + "] <" + fallback + ">:";
}

} // namespace cadhost
