// -PSETUPIN: named page setups brought in from another drawing.

#include "Host.h"
#include "Text.h"

#include <algorithm>

namespace qv::hostmodel {

Task<void> Host::psetupin()
{
    const std::string entry = co_await next("psetupin-file", "Enter file name:");
    const std::string source = stripQuotes(entry);
    if (source.empty() || !m_setup.files->isFile(source)) {
        cancel(entry, "Cannot find the drawing file \"" + source + "\".");
    }
    accept(entry);
    Drawing from;
    from.path = source;
    if (const std::string problem = applyDrawingLine(m_setup.files->firstLine(source), from); !problem.empty()) {
        fail("the CADHOST line of " + source + ": " + problem);
    }

    std::vector<PageSetup> chosen;
    for (;;) {
        const std::string names =
            co_await next("psetupin-names", "Enter user defined page setup to import or [?]:", EntryKind::Line);
        if (names == "?" || names == "_?") {
            accept(names);
            continue;
        }
        if (names.empty()) {
            accept(names);
            co_return;
        }
        chosen.clear();
        std::string missing;
        std::string unseen; // names taken on trust in a check
        // The list may stand in one pair of quotes ("A1-Plot,A3-Check") or quote each name.
        const bool oneQuoted = std::count(names.begin(), names.end(), '"') == 2;
        const std::string list = oneQuoted ? stripQuotes(names) : names;
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t end = std::min(list.find(',', start), list.size());
            std::string name = list.substr(start, end - start);
            name.erase(0, std::min(name.find_first_not_of(' '), name.size()));
            name.erase(name.find_last_not_of(' ') + 1);
            name = stripQuotes(name);
            start = end + 1;
            if (name.empty()) {
                continue; // an empty place between commas names nothing
            }
            if (name == "*") {
                chosen.insert(chosen.end(), from.pageSetups.begin(), from.pageSetups.end());
            } else if (const PageSetup* found = from.findPageSetup(name)) {
                chosen.push_back(*found);
            } else if (m_setup.trustNames) {
                chosen.push_back({name, std::string()});
                unseen += (unseen.empty() ? "" : ", ") + name;
            } else {
                missing = name;
                break;
            }
        }
        if (!unseen.empty()) {
            trusted(names, "Page setup(s) " + unseen + " not found in " + source + ".");
            break;
        }
        if (missing.empty()) {
            accept(names);
            break;
        }
        reject(names, "Page setup \"" + missing + "\" not found in " + source + ".");
    }

    std::string imported;
    for (const PageSetup& pageSetup : chosen) {
        auto existing = std::find_if(current().pageSetups.begin(), current().pageSetups.end(),
                                     [&](const PageSetup& own) { return equalsNoCase(own.name, pageSetup.name); });
        if (existing != current().pageSetups.end()) {
            // EXPERT 2 and above answer the redefine question with yes without asking it.
            if (expert() < 2 &&
                !co_await askYesNo("psetupin-redefine",
                                   "Page setup \"" + pageSetup.name + "\" already exists. Redefine it? <N>", false)) {
                continue;
            }
            *existing = pageSetup;
        } else {
            current().pageSetups.push_back(pageSetup);
        }
        imported += (imported.empty() ? "" : ",") + pageSetup.name;
    }
    current().change();
    log("pagesetups-imported", imported.empty() ? "none" : imported);
}

} // namespace qv::hostmodel
