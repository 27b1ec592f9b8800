#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadhost {

// A keyword offered at a prompt. Each word may be typed as its capitalised part ("LA" for "LAyers",
// "ST" for "textSTyles") or any longer prefix of the whole word; case does not matter.
struct Keyword
{
    std::string display;            // as the prompt shows it
    std::vector<std::string> words; // what may be typed, each with its capitals marking the abbreviation
    bool takesNames = true;         // purge types: followed by the name and verify prompts
};

// Index of the keyword the entry selects, after one optional leading '_'; nullopt when none does.
std::optional<std::size_t> matchKeyword(const std::vector<Keyword>& keywords, std::string_view entry);

// "A/B/C" as the prompts list them.
std::string keywordList(const std::vector<Keyword>& keywords);

struct Product
{
    std::string code; // canonical spelling, e.g. "Cad2018"
    int release = 0;  // 13, 14, 2000, 2004, 2005, 2007, 2010, 2013 or 2018
    bool clone = false;
};

// Case-insensitive look-up of a Quorvel product code.
std::optional<Product> findProduct(std::string_view code);
std::string productCodes();

const std::vector<Keyword>& yesNoKeywords();
const std::vector<Keyword>& zoomKeywords();
std::vector<Keyword> purgeTypes(const Product& product);
std::string purgeTypePrompt(const Product& product);
std::vector<Keyword> saveFormats(const Product& product);
std::string saveFormatPrompt(const Product& product);

} // namespace cadhost
