#include "RoutineCombination.h"

#include "text/LineBreaks.h"

namespace qv {

void addToChain(RoutineChain& chain, const RoutineChain& source, const std::vector<bool>& selected)
{
    for (std::size_t i = source.size(); i-- > 0;) {
        if (i < selected.size() && selected[i])
            chain.push_back(source[i]);
    }
}

void removeFromChain(RoutineChain& chain, const std::vector<bool>& selected)
{
    RoutineChain kept;
    kept.reserve(chain.size());
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (i >= selected.size() || !selected[i])
            kept.push_back(std::move(chain[i]));
    }
    chain = std::move(kept);
}

std::optional<std::size_t> moveUpInChain(RoutineChain& chain, std::size_t position)
{
    if (position == 0 || position >= chain.size())
        return std::nullopt;
    std::swap(chain[position - 1].text, chain[position].text);
    return position - 1;
}

std::optional<std::size_t> moveDownInChain(RoutineChain& chain, std::size_t position)
{
    if (position + 1 >= chain.size())
        return std::nullopt;
    std::swap(chain[position].text, chain[position + 1].text);
    return position + 1;
}

std::string combineRoutines(const RoutineChain& chain, const RoutineList& catalogue)
{
    std::string combined;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (i > 0)
            combined += kCrLf;
        combined += findByDescription(catalogue, chain[i].text).text;
    }
    return combined;
}

} // namespace qv
