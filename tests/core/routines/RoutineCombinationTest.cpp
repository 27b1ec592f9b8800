#include "routines/RoutineCombination.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

RoutineList makeCatalogue()
{
    RoutineList list;
    const std::pair<const char*, const char*> routines[] = {
        {"A", "_zoom\r\n_e"}, {"B", "_purge\r\n_all"}, {"C", "_audit"}, {"A", "_second A, never used"}};
    std::int16_t number = 1;
    for (const auto& [description, text] : routines) {
        Routine routine = makeRoutineForAdd(description, text, false);
        routine.setRecordNumber(number++);
        list.push_back(routine);
    }
    return list;
}

const RoutineChain kFavourites = {{"A", 1}, {"B", 2}, {"C", 3}};

TEST(RoutineCombination, SelectedRoutinesArriveInReverseListOrder)
{
    RoutineChain chain;
    addToChain(chain, kFavourites, {true, true, false});
    EXPECT_EQ(chain, (RoutineChain{{"B", 2}, {"A", 1}}));
    // The same routine may be added again; a selection shorter than the list counts the rest unselected.
    addToChain(chain, kFavourites, {true});
    EXPECT_EQ(chain, (RoutineChain{{"B", 2}, {"A", 1}, {"A", 1}}));

    removeFromChain(chain, {false, true, true});
    EXPECT_EQ(chain, (RoutineChain{{"B", 2}}));
    removeFromChain(chain, {true});
    EXPECT_TRUE(chain.empty());
}

TEST(RoutineCombination, MovesExchangeTextsOnly)
{
    RoutineChain chain = kFavourites;
    EXPECT_EQ(moveUpInChain(chain, 2), std::optional<std::size_t>(1));
    EXPECT_EQ(chain, (RoutineChain{{"A", 1}, {"C", 2}, {"B", 3}}));
    EXPECT_EQ(moveDownInChain(chain, 0), std::optional<std::size_t>(1));
    EXPECT_EQ(chain, (RoutineChain{{"C", 1}, {"A", 2}, {"B", 3}}));

    // First up, last down, and positions past the end change nothing.
    const RoutineChain before = chain;
    EXPECT_EQ(moveUpInChain(chain, 0), std::nullopt);
    EXPECT_EQ(moveDownInChain(chain, 2), std::nullopt);
    EXPECT_EQ(moveUpInChain(chain, 3), std::nullopt);
    EXPECT_EQ(moveDownInChain(chain, 7), std::nullopt);
    EXPECT_EQ(chain, before);
    RoutineChain empty;
    EXPECT_EQ(moveDownInChain(empty, 0), std::nullopt);
}

TEST(RoutineCombination, CombinedTextJoinsTheTextsByLineBreaks)
{
    const RoutineList catalogue = makeCatalogue();
    const std::pair<RoutineChain, std::string> cases[] = {
        {{{"A", 1}, {"B", 2}}, "_zoom\r\n_e\r\n_purge\r\n_all"},
        {{{"C", 3}}, "_audit"},
        {{{"C", 3}, {"C", 3}}, "_audit\r\n_audit"},
        // The texts decide, whatever record numbers a move left behind; the first "A" is used.
        {{{"A", 3}, {"C", 1}}, "_zoom\r\n_e\r\n_audit"},
        {{}, ""},
    };
    for (const auto& [chain, text] : cases)
        EXPECT_EQ(combineRoutines(chain, catalogue), text);
}

} // namespace
} // namespace qv
