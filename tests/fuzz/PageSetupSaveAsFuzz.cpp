// The page-setup plot and import builders and the Save As and DXF builders: whatever the tabs' texts, an
// accepted routine is whole lines ending in CR LF, its AutoLISP has balanced parentheses and closed strings,
// no typed text can split an answer (a text holding a line break is refused), and a target folder holding a
// double quote is refused.
//
// Input: product selector, builder selector (0 plot, 1 import, 2 save as, 3 DXF), switches, release selector,
// then NUL-separated texts: drawing, page setup name(s), device, copies, folder, accuracy.

#include "FuzzSupport.h"
#include "Lisp.h"
#include "builders/PageSetupRoutine.h"
#include "builders/SaveAsRoutine.h"
#include "config/CadProducts.h"
#include "text/LineBreaks.h"

namespace {

using namespace qv::fuzz;

// The AutoLISP expression starting at `from` ends a line: the host reads lines until its parentheses balance,
// and what it read is one expression (every string closed, nothing after it).
bool lispExpressionIsWhole(std::string_view text, std::size_t from)
{
    for (std::size_t end = text.find("\r\n", from);; end = text.find("\r\n", end + 2)) {
        const std::string_view read = text.substr(from, end == std::string_view::npos ? end : end - from);
        if (end == std::string_view::npos || qv::hostmodel::lispDepth(read) <= 0) {
            const auto forms = qv::hostmodel::readLisp(read);
            return forms && forms->size() == 1;
        }
    }
}

// `lispStart` is how the builder's own AutoLISP begins on a line of its own (the all-layouts plot, the folder
// of a Save As), or null when the routine holds none; the plain answers before it are not AutoLISP.
void requireWholeText(const std::string& text, const std::string& context, const char* lispStart)
{
    FUZZ_REQUIRE(!text.empty(), context);
    FUZZ_REQUIRE(qv::fuzz::splitCrLf(text).ok, context + "\n" + visible(text));
    if (!lispStart)
        return;
    // Every expression of the builder (once per copy) closes on its own.
    const std::string start(lispStart);
    std::size_t found = 0;
    for (std::size_t at = text.starts_with(start) ? 0 : text.find("\r\n" + start); at != std::string::npos;
         at = text.find("\r\n" + start, at + 1)) {
        const std::size_t from = text.compare(at, 2, "\r\n") == 0 ? at + 2 : at;
        FUZZ_REQUIRE(lispExpressionIsWhole(text, from), context + "\n" + visible(text));
        ++found;
    }
    FUZZ_REQUIRE(found > 0, context + ": no AutoLISP\n" + visible(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<std::string> kCodes = productCodes({"Unknown", "cad2018"});
    if (size < 4)
        return 0;
    const std::string& code = kCodes[data[0] % kCodes.size()];
    const int builder = data[1] % 4;
    const std::uint8_t switches = data[2];
    const std::uint8_t releaseSelector = data[3];
    const qv::fuzz::Fields fields(qv::fuzz::asText(data + 4, size - 4));
    const std::string context = code + " builder " + std::to_string(builder);

    if (builder == 0) {
        qv::PageSetupPlotChoices choices;
        choices.fromOtherDrawing = switches & 1;
        choices.allTabs = switches & 2;
        choices.plotToFile = switches & 4;
        choices.drawing = fields.text(0);
        choices.pageSetupName = fields.text(1);
        if (fields.size() > 2)
            choices.device = fields.text(2);
        if (fields.size() > 3)
            choices.copies = fields.text(3);
        const qv::PageSetupRoutineResult result = qv::buildPageSetupPlotRoutine(choices, code);
        if (!result.ok())
            return 0;
        const bool allTabs = choices.allTabs && qv::pageSetupPlotSetupFor(code).allTabsOffered;
        requireWholeText(result.text, context, allTabs ? "(if(=\"Model\"" : nullptr);
        FUZZ_REQUIRE(!qv::containsLineBreak(choices.pageSetupName) && !qv::containsLineBreak(choices.device) &&
                         choices.pageSetupName.find('"') == std::string::npos &&
                         !(choices.fromOtherDrawing && qv::containsLineBreak(choices.drawing)),
                     context + ": a typed text with a line break was accepted\n" + visible(result.text));
    } else if (builder == 1) {
        qv::PageSetupImportChoices choices;
        choices.loadAll = switches & 1;
        choices.drawing = fields.text(0);
        choices.names = fields.text(1);
        const qv::PageSetupRoutineResult result = qv::buildPageSetupImportRoutine(choices);
        if (!result.ok())
            return 0;
        requireWholeText(result.text, context, nullptr);
        FUZZ_REQUIRE(!qv::containsLineBreak(choices.drawing) &&
                         (choices.loadAll ||
                          (!qv::containsLineBreak(choices.names) && choices.names.find('"') == std::string::npos)),
                     context + ": a typed text with a line break was accepted\n" + visible(result.text));
    } else {
        const bool dxf = builder == 3;
        const qv::SaveAsReleases releases = dxf ? qv::fillDxfReleases(code) : qv::fillDrawingReleases(code);
        qv::SaveAsChoices choices;
        // Mostly a listed release, sometimes the text shown first or a typed one.
        if (!releases.items.empty() && releaseSelector < 200)
            choices.release = std::string(releases.items[releaseSelector % releases.items.size()]);
        else if (releaseSelector < 230)
            choices.release = std::string(releases.shown);
        else
            choices.release = fields.text(3);
        if (fields.size() > 4)
            choices.folder = fields.text(4);
        if (fields.size() > 5)
            choices.accuracy = fields.text(5);
        choices.binary = switches & 1;
        choices.preview = switches & 2;
        const qv::SaveAsRoutineResult result =
            dxf ? qv::buildDxfRoutine(choices, code) : qv::buildSaveAsRoutine(choices, code);
        if (!result.ok())
            return 0;
        requireWholeText(result.text, context + " " + visible(choices.release),
                         qv::lispFolder(choices.folder) ? "(setq draw_name" : nullptr);
        FUZZ_REQUIRE(choices.folder.find('"') == std::string::npos && !qv::containsLineBreak(choices.folder),
                     context + ": folder " + visible(choices.folder) + " accepted\n" + visible(result.text));
    }
    return 0;
}
