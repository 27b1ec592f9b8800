// -PURGE: the types of unused named objects, release by release.

#include "Host.h"

namespace qv::hostmodel {

namespace {

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

bool isOldPurge(const Product& product)
{
    return !product.clone && product.release < 2000;
}

std::vector<Keyword> purgeTypes(const Product& product)
{
    std::vector<Keyword> types;
    for (const PurgeType& type : kPurgeTypes) {
        if (product.clone ? !type.inClones : type.since > product.release) {
            continue;
        }
        Keyword option = keyword(isOldPurge(product) && type.display == std::string_view("textSTyles")
                                     ? "STyles"
                                     : type.display);
        option.takesNames = type.takesNames;
        types.push_back(std::move(option));
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

} // namespace

Task<void> Host::purge()
{
    if (m_purgeTypes.empty()) {
        m_purgeTypes = purgeTypes(m_setup.product);
        m_purgeTypePrompt = purgeTypePrompt(m_setup.product);
    }
    const std::vector<Keyword>& types = m_purgeTypes;
    const std::string& text = m_purgeTypePrompt;
    std::size_t chosen = 0;
    for (;;) {
        const std::string entry = co_await next("purge-type", text);
        if (entry.empty()) {
            // The type prompt has no default: Enter ends the command.
            accept(entry);
            co_return;
        }
        if (const std::optional<std::size_t> type = matchKeyword(types, entry)) {
            accept(entry);
            chosen = *type;
            break;
        }
        reject(entry, "Invalid option keyword.");
    }
    const Keyword& type = types[chosen];
    std::string detail = type.display;
    if (type.takesNames) {
        const std::string names = co_await next("purge-names", "Enter name(s) to purge <*>:");
        accept(names);
        const bool verify = co_await askYesNo("purge-verify", "Verify each name to be purged? [Yes/No] <Y>:", true);
        detail += " names=" + (names.empty() ? std::string("*") : names) + " verify=" + (verify ? "Yes" : "No");
    }
    current().change();
    log("purged", detail);
}

} // namespace qv::hostmodel
