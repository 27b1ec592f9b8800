// The custom paper list (NewPaper.txt): whatever the file holds, the names the dialog lists can be saved and
// read back as the same list; a name the dialog accepts can be saved and comes back; nothing is listed twice.
//
// Input: the file's bytes; the same bytes split at NUL are also names typed into the dialog.

#include "FuzzSupport.h"
#include "builders/PaperSizes.h"
#include "text/TextUtil.h"

namespace {

using namespace qv::fuzz;

// The listed names are saved and read back: the same names come back, in the same order. A name holding a
// double quote (only a hand-edited file has one) cannot be written: the save names it and the user can
// remove it; every other name can always be saved.
void checkSavesAndReadsBack(const qv::CustomPaperList& list)
{
    std::vector<std::string> listed = qv::listedCustomPapers(list);
    for (const std::string& name : listed)
        FUZZ_REQUIRE(name.find_first_of("\r\n") == std::string::npos,
                     "a name with a line break: " + visibleList(listed));
    if (!qv::encodeCustomPapers(listed).ok())
        std::erase_if(listed, [](const std::string& name) { return name.find('"') != std::string::npos; });
    const auto bytes = qv::encodeCustomPapers(listed);
    FUZZ_REQUIRE(bytes.ok(), "listed " + visibleList(listed) + " cannot be saved: " + bytes.error().description);
    const qv::CustomPaperList reread = qv::customPapersFromEntries(qv::parseCustomPaperEntries(bytes.value()));
    FUZZ_REQUIRE(reread.loaded);
    FUZZ_REQUIRE(qv::listedCustomPapers(reread) == listed,
                 visibleList(listed) + " read back as " + visibleList(qv::listedCustomPapers(reread)));
}

void checkNoRepeats(const qv::CustomPaperList& list)
{
    for (std::size_t i = 0; i < list.names.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j)
            FUZZ_REQUIRE(!qv::equalsIgnoreCaseAscii(list.names[i], list.names[j]), visibleList(list.names));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = qv::fuzz::asText(data, size);

    // The file as the dialog loads it.
    const std::vector<std::string> entries = qv::parseCustomPaperEntries(bytes);
    qv::CustomPaperList list = qv::customPapersFromEntries(entries);
    FUZZ_REQUIRE(list.loaded && !list.changed);
    checkNoRepeats(list);
    checkSavesAndReadsBack(list);
    // The plot tab shows every entry, and says whether there are sizes to pick.
    const qv::PaperStandardView view = qv::paperStandardView(qv::kCustomPaperCode, entries);
    FUZZ_REQUIRE(view.showList && view.names == entries);

    // Names typed into the dialog.
    const qv::fuzz::Fields typed(bytes);
    for (std::size_t i = 1; i < typed.size(); ++i) {
        const std::size_t before = list.names.size();
        const qv::AddPaperOutcome outcome = qv::addCustomPaper(list, typed[i]);
        FUZZ_REQUIRE(outcome.added == (list.names.size() == before + 1));
        if (outcome.added) {
            FUZZ_REQUIRE(list.changed && list.names.back() == qv::trimSpaces(typed[i]));
            FUZZ_REQUIRE(!outcome.message);
        } else {
            FUZZ_REQUIRE(outcome.message.has_value());
        }
        checkNoRepeats(list);
    }
    checkSavesAndReadsBack(list);
    if (!list.names.empty()) {
        const std::string removed = list.names.front();
        qv::removeCustomPaper(list, qv::toUpperAscii(removed));
        for (const std::string& name : list.names)
            FUZZ_REQUIRE(!qv::equalsIgnoreCaseAscii(name, removed));
        checkSavesAndReadsBack(list);
    }
    return 0;
}
