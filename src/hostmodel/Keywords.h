#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::hostmodel {

// A keyword offered at a prompt. Each word may be typed as its capitalised part ("LA" for "LAyers",
// "ST" for "textSTyles") or any longer prefix of the whole word; case does not matter.
struct Keyword
{
    std::string display;            // as the prompt shows it
    std::vector<std::string> words; // what may be typed, each with its capitals marking the abbreviation
    bool takesNames = true;         // purge types: followed by the name and verify prompts
};

// A keyword typed as shown; a display of several words is chosen by its first word, since a script
// cannot type the space.
Keyword keyword(std::string display);
std::vector<Keyword> keywords(const std::vector<std::string>& displays);
// The same from separate arguments; usable inside coroutines, where g++ 12 rejects braced lists of strings.
template <typename... Displays>
std::vector<Keyword> keywordsOf(const Displays&... displays)
{
    return keywords(std::vector<std::string>{std::string(displays)...});
}

// Index of the keyword the entry selects, after one optional leading '_'; nullopt when none does.
std::optional<std::size_t> matchKeyword(const std::vector<Keyword>& keywords, std::string_view entry);

// "A/B/C" as the prompts list them.
std::string keywordList(const std::vector<Keyword>& keywords);

std::string upperAscii(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

} // namespace qv::hostmodel
