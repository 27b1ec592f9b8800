#include "PurgeRoutine.h"

#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <charconv>

namespace qv {
namespace {

constexpr std::array<PurgeItem, kPurgeItemCount> kItems = {{
    {"Blocks", "_B", true},
    {"Dimensions Styles", "_D", true},
    {"Layers", "_LA", true},
    {"Linetypes", "_LT", true},
    {"Shapes", "_SH", true},
    {"Text Styles", "_ST", true},
    {"Mline Styles", "_M", true},
    {"Plot  Styles", "_P", true},
    {"Table Styles", "_T", true},
    {"Materials", "_MA", true},
    {"Visual Styles", "_V", true},
    {"Regapps", "_R", true},
    {"Empty Text Objects", "_E", false},
    {"Zero Length Geometry", "_Z", false},
    {"Groups", "_G", true},
    {"Detail View Styles", "_DE", true},
    {"Multi Leader Styles", "_MU", true},
    {"Section View Styles", "_SE", true},
}};

struct ProductRow
{
    std::array<std::string_view, 4> codes; // unused places stay empty
    PurgeSetup setup;
};

constexpr std::array<ProductRow, 9> kProductRows = {{
    {{"Cad2018", "CadLT2018", "Cad2013"}, {18, "Purge", true}},
    {{"CadLT2013"}, {18, "Purge in AutoCAD LT 2013 - 2017", true}},
    {{"Cad2010", "CadLT2010", "Cad2007"}, {11, "Purge", true}},
    {{"CadLT2007"}, {11, "Purge in AutoCAD LT2007 - LT2009", true}},
    {{"Cad2005", "CadLT2005"}, {9, "Purge", true}},
    {{"Cad2004", "CadLT2004", "Cad2000", "CadLT2000"}, {8, "Purge", true}},
    {{"Cad14"}, {7, "Purge", true}},
    {{"CadLT98"}, {7, "Purge in LT 97/98", true}},
    {{"Cad13"}, {0, "Not available in AutoCAD 13", false}},
}};

constexpr PurgeSetup kOtherProduct = {8, "Purge", true};

constexpr std::string_view kAllOption = "_A";

void appendPurge(std::string& block, std::string_view option, bool asksNames)
{
    block.append("_purge").append(kCrLf).append(option).append(kCrLf);
    if (asksNames)
        block.append("*").append(kCrLf).append("_N").append(kCrLf);
}

// A whole number from 1 to kMaxPurgePasses, spaces around it allowed.
std::optional<int> parsePasses(std::string_view text)
{
    const std::string_view trimmed = trimSpaces(text);
    int passes = 0;
    const auto [end, ec] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), passes);
    if (trimmed.empty() || ec != std::errc{} || end != trimmed.data() + trimmed.size())
        return std::nullopt;
    if (passes < 1 || passes > kMaxPurgePasses)
        return std::nullopt;
    return passes;
}

UserMessage purgeError(std::string text)
{
    return {std::move(text), "Purge Error", MessageIcon::Exclamation, MessageButtons::Ok};
}

} // namespace

const std::array<PurgeItem, kPurgeItemCount>& purgeItems()
{
    return kItems;
}

PurgeSetup purgeSetupFor(std::string_view productCode)
{
    if (productCode.empty())
        return kOtherProduct;
    for (const ProductRow& row : kProductRows) {
        if (std::find(row.codes.begin(), row.codes.end(), productCode) != row.codes.end())
            return row.setup;
    }
    return kOtherProduct;
}

PurgeChoices defaultPurgeChoices(const PurgeSetup& setup)
{
    PurgeChoices choices;
    for (int i = 0; i < kPurgeItemCount; ++i)
        choices.ticked[i] = setup.isOffered(i);
    choices.allFlag = true;
    return choices;
}

void setPurgeItem(PurgeChoices& choices, int index, bool ticked)
{
    if (index >= 0 && index < kPurgeItemCount)
        choices.ticked[index] = ticked;
    choices.allFlag = false;
}

std::string_view togglePurgeAll(PurgeChoices& choices, const PurgeSetup& setup, std::string_view caption)
{
    if (caption == kPurgeSelectAllCaption) {
        for (int i = 0; i < setup.offeredCount; ++i)
            choices.ticked[i] = true;
        choices.allFlag = true;
        return kPurgeClearAllCaption;
    }
    choices.ticked.fill(false);
    choices.allFlag = false;
    return kPurgeSelectAllCaption;
}

PurgeRoutineResult buildPurgeRoutine(const PurgeChoices& choices, std::string_view productCode)
{
    const PurgeSetup setup = purgeSetupFor(productCode);
    int tickedOffered = 0;
    for (int i = 0; i < setup.offeredCount; ++i)
        tickedOffered += choices.ticked[i] ? 1 : 0;

    // A product that offers nothing (R13) has nothing for "all" to stand for.
    std::string block;
    if (setup.offeredCount > 0 && (choices.allFlag || tickedOffered == setup.offeredCount)) {
        appendPurge(block, kAllOption, true);
    } else {
        for (int i = 0; i < setup.offeredCount; ++i) {
            if (choices.ticked[i])
                appendPurge(block, kItems[i].option, kItems[i].asksNames);
        }
    }

    PurgeRoutineResult result;
    if (block.empty()) {
        result.message = purgeError("You must select some objects to purge before you can save the routine.");
        return result;
    }
    const std::optional<int> passes = parsePasses(choices.passesText);
    if (!passes) {
        result.message =
            purgeError("Select the number of purge passes, from 1 to " + std::to_string(kMaxPurgePasses) + ".");
        result.focus = PurgeField::Passes;
        return result;
    }

    block.resize(block.size() - kCrLf.size());
    for (int copy = 0; copy < *passes; ++copy) {
        if (copy > 0)
            result.text.append(kCrLf);
        result.text.append(block);
    }
    result.text.append(kCrLf).append("_Qsave");
    return result;
}

} // namespace qv
