#pragma once

#include "routines/RoutineCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// The chain of the combine window: routines in the order they run, each shown by its description
// with the record number it came from.
struct ChainEntry
{
    std::string text;
    std::int16_t recordNumber = 0;

    bool operator==(const ChainEntry&) const = default;
};
using RoutineChain = std::vector<ChainEntry>;

// Appends the selected entries of a routine list to the chain, walking the list from its last entry
// to its first (so they arrive in reverse list order). The list is not changed; a routine may be in
// the chain more than once.
void addToChain(RoutineChain& chain, const RoutineChain& source, const std::vector<bool>& selected);

// Removes the selected entries of the chain.
void removeFromChain(RoutineChain& chain, const std::vector<bool>& selected);

// Exchange the text at `position` with the one above (below); the record numbers stay where they
// were, since the combination uses the texts only. Returns the position to select, or nothing when
// the entry is already first (last) and nothing moved.
std::optional<std::size_t> moveUpInChain(RoutineChain& chain, std::size_t position);
std::optional<std::size_t> moveDownInChain(RoutineChain& chain, std::size_t position);

// The combined command text: the text of the first catalogue routine of each chain entry's
// description, in chain order, joined by CR LF (none after the last).
std::string combineRoutines(const RoutineChain& chain, const RoutineList& catalogue);

} // namespace qv
