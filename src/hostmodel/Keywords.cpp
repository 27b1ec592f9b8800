#include "Keywords.h"

#include <algorithm>
#include <cctype>

namespace qv::hostmodel {

namespace {

char upperChar(char ch)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
}

bool isCapital(char ch)
{
    return std::isupper(static_cast<unsigned char>(ch)) || std::isdigit(static_cast<unsigned char>(ch));
}

// Whether the typed text (upper case) begins the whole word, compared without case.
bool startsWith(std::string_view whole, std::string_view typed)
{
    return typed.size() <= whole.size() &&
           std::equal(typed.begin(), typed.end(), whole.begin(), [](char t, char w) { return t == upperChar(w); });
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
    return (typed.size() >= end && startsWith(word, typed)) ||
           (typed.size() >= end - begin && startsWith(word.substr(begin), typed));
}

} // namespace

std::string upperAscii(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), upperChar);
    return upper;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && upperAscii(a) == upperAscii(b);
}

Keyword keyword(std::string display)
{
    // A keyword of several words is typed as its first word that has capitals ("W" or "Wireframe" for
    // "legacy Wireframe"), or as all its words run together.
    std::vector<std::string> words;
    std::string joined;
    std::size_t start = 0;
    while (start <= display.size()) {
        const std::size_t end = std::min(display.find(' ', start), display.size());
        const std::string word = display.substr(start, end - start);
        joined += word;
        if (words.empty() && std::any_of(word.begin(), word.end(), isCapital)) {
            words.push_back(word);
        }
        start = end + 1;
    }
    if (joined != display) {
        words.push_back(joined);
    }
    return {std::move(display), std::move(words), true};
}

std::vector<Keyword> keywords(const std::vector<std::string>& displays)
{
    std::vector<Keyword> list;
    for (const std::string& display : displays) {
        list.push_back(keyword(display));
    }
    return list;
}

std::optional<std::size_t> matchKeyword(const std::vector<Keyword>& keywords, std::string_view entry)
{
    if (!entry.empty() && entry.front() == '_') {
        entry.remove_prefix(1);
    }
    if (entry.empty()) {
        return std::nullopt;
    }
    const std::string typed = upperAscii(entry);
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

} // namespace qv::hostmodel
