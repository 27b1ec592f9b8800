// The purge builder: a routine is made exactly when something offered is ticked and the passes are a whole
// number from 1 to 10; it is that many copies of one purge block for the ticked items the product offers,
// ends with the save, and the model of the product's command line takes every entry.
//
// Input: product selector, three bytes of ticks (items 0 to 17), the "all" flag, then the passes text.

#include "FuzzSupport.h"
#include "batch/BatchCheck.h"
#include "builders/PurgeRoutine.h"
#include "config/CadProducts.h"
#include "text/TextUtil.h"

#include <set>

namespace {

using namespace qv::fuzz;

bool validPasses(std::string_view text)
{
    static const std::set<std::string_view> kValid = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    return kValid.contains(digitsOf(text));
}

std::size_t passesOf(std::string_view text)
{
    return std::stoul(std::string(digitsOf(text)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<std::string> kCodes = productCodes({"cad2010", "Unknown", "Cad2019"});
    if (size < 5)
        return 0;
    const std::string& code = kCodes[data[0] % kCodes.size()];
    qv::PurgeChoices choices;
    for (int i = 0; i < qv::kPurgeItemCount; ++i)
        choices.ticked[i] = (data[1 + i / 8] >> (i % 8)) & 1;
    choices.allFlag = data[4] & 1;
    choices.passesText = std::string(qv::fuzz::asText(data + 5, size - 5));

    const qv::PurgeSetup setup = qv::purgeSetupFor(code);
    FUZZ_REQUIRE(setup.offeredCount >= 0 && setup.offeredCount <= qv::kPurgeItemCount);
    std::set<std::string_view> tickedOptions;
    for (int i = 0; i < setup.offeredCount; ++i) {
        if (choices.ticked[i])
            tickedOptions.insert(qv::purgeItems()[i].option);
    }
    const bool somethingChosen = setup.offeredCount > 0 && (choices.allFlag || !tickedOptions.empty());
    const bool everything =
        setup.offeredCount > 0 && (choices.allFlag || static_cast<int>(tickedOptions.size()) == setup.offeredCount);

    const qv::PurgeRoutineResult result = qv::buildPurgeRoutine(choices, code);
    FUZZ_REQUIRE(result.ok() == (somethingChosen && validPasses(choices.passesText)),
                 code + ", passes " + visible(choices.passesText) +
                     (result.message ? ", refused: " + result.message->text : ", accepted"));
    if (!result.ok())
        return 0;

    // Lines: some copies of one block, then the save.
    const auto split = qv::fuzz::splitCrLf(result.text);
    FUZZ_REQUIRE(split.ok);
    std::vector<std::string_view> lines = split.lines;
    FUZZ_REQUIRE(lines.back() == "_Qsave");
    lines.pop_back();
    std::set<std::string_view> purged;
    std::size_t blockLines = 0;
    for (std::size_t i = 0; i < lines.size();) {
        FUZZ_REQUIRE(lines[i] == "_purge", visible(lines[i]));
        FUZZ_REQUIRE(i + 1 < lines.size());
        if (purged.contains(lines[i + 1]) && blockLines == 0)
            blockLines = i;
        purged.insert(lines[i + 1]);
        i += 2;
        if (i < lines.size() && lines[i] == "*") {
            FUZZ_REQUIRE(i + 1 < lines.size() && lines[i + 1] == "_N");
            i += 2;
        }
    }
    if (blockLines == 0)
        blockLines = lines.size();
    FUZZ_REQUIRE(lines.size() % blockLines == 0);
    const std::size_t copies = lines.size() / blockLines;
    for (std::size_t i = blockLines; i < lines.size(); ++i)
        FUZZ_REQUIRE(lines[i] == lines[i - blockLines], "the copies differ");
    FUZZ_REQUIRE(copies == passesOf(choices.passesText), std::to_string(copies) + " copies");
    if (everything)
        FUZZ_REQUIRE(purged == std::set<std::string_view>{"_A"}, "not one purge of everything");
    else
        FUZZ_REQUIRE(purged == tickedOptions, "purged items are not the ticked ones");

    // The host takes every entry (names it cannot see are warnings).
    if (qv::findProduct(code) && !code.empty()) {
        qv::BatchCheckOptions options;
        options.productCode = code;
        const auto problems = qv::checkRoutineText(result.text, options);
        if (problems.ok()) {
            for (const qv::CheckProblem& problem : problems.value())
                FUZZ_REQUIRE(problem.warning, code + ": line " + std::to_string(problem.line) + " " +
                                                  visible(problem.entry) + " at " + problem.asking + ": " +
                                                  problem.message + "\n" + result.text);
        }
    }
    return 0;
}
