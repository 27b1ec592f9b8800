#include "RoutineSource.h"

#include "routines/RoutineCatalogue.h"
#include "routines/RoutineRecord.h"
#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <string>

namespace qv {
namespace {

constexpr std::string_view kDescriptionLabel = "Description:";
constexpr std::string_view kFavouriteLabel = "Favourite:";
constexpr std::string_view kSeparator = "---";

Error lineError(std::size_t line, const std::string& what)
{
    return Error{ErrInvalidText, "Line " + std::to_string(line) + ": " + what};
}

// One routine as it is being read.
struct Block
{
    std::size_t firstLine = 0;
    std::string description;
    std::string favourite;
    bool hasFavourite = false;
    std::vector<std::string> lines;
};

Status finish(Block& block, std::vector<Routine>& routines)
{
    if (!block.hasFavourite)
        return lineError(block.firstLine, "the routine \"" + block.description + "\" has no \"Favourite:\" line.");
    while (!block.lines.empty() && block.lines.back().empty())
        block.lines.pop_back();
    const std::string text = joinCrLf(block.lines);

    std::optional<EditorRefusal> refusal = validateAdd(routines, block.description, text);
    if (refusal) {
        std::string message = refusal->message.text;
        for (std::size_t at = message.find(kCrLf); at != std::string::npos; at = message.find(kCrLf))
            message.replace(at, kCrLf.size(), " ");
        return lineError(block.firstLine, "routine \"" + block.description + "\": " + message);
    }
    Routine routine = makeRoutineForAdd(block.description, text, block.favourite == record::kNonFavourite);
    routines.push_back(std::move(routine));
    block = Block{};
    return {};
}

} // namespace

Result<std::vector<Routine>> parseRoutineSource(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<Routine> routines;
    Block block;
    bool inRoutine = false;
    std::size_t number = 0;
    for (const std::string_view line : splitLines(text)) {
        ++number;
        if (line == kSeparator) {
            if (inRoutine) {
                if (auto finished = finish(block, routines); !finished)
                    return finished.error();
            }
            inRoutine = false;
            continue;
        }
        if (!inRoutine) {
            if (line.starts_with("#") || trimSpaces(line).empty())
                continue;
            if (!line.starts_with(kDescriptionLabel))
                return lineError(number, "a routine must start with \"Description:\".");
            block.firstLine = number;
            block.description = std::string(trimSpaces(line.substr(kDescriptionLabel.size())));
            inRoutine = true;
            continue;
        }
        if (!block.hasFavourite) {
            if (!line.starts_with(kFavouriteLabel))
                return lineError(number, "\"Favourite:\" must follow the description.");
            block.favourite = std::string(trimSpaces(line.substr(kFavouriteLabel.size())));
            if (block.favourite != record::kFavourite && block.favourite != record::kNonFavourite)
                return lineError(number, "the favourite marker must be \"Fav\" or \"Non\".");
            block.hasFavourite = true;
            continue;
        }
        if (block.lines.empty() && line.empty())
            continue;
        block.lines.emplace_back(line);
    }
    if (inRoutine) {
        if (auto finished = finish(block, routines); !finished)
            return finished.error();
    }
    return routines;
}

} // namespace qv
