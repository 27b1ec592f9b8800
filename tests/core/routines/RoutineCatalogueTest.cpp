#include "routines/RoutineCatalogue.h"

#include "routines/RoutineRecord.h"
#include "text/TextUtil.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

Routine stored(std::int16_t number, const std::string& description, const std::string& text,
               const std::string& favourite = "Fav")
{
    Routine r = makeRoutineForAdd(description, text, false);
    r.setRecordNumber(number);
    r.setFavourite(favourite);
    // As read from the file: padded fields.
    r.setDescription(description + std::string(150 - description.size(), ' '));
    r.setScriptText(r.scriptText() + std::string(20, ' '));
    return r;
}

TEST(RoutineCatalogue, StripEndMarkerRemovesPaddingThenFiveCharacters)
{
    const std::pair<std::string, std::string> cases[] = {
        {"_Zoom\r\n_E  \r\n.....   ", "_Zoom\r\n_E  \r\n"},
        {"text  .....", "text  "},
        {".....", ""},
        {"abc", ""},
        {"", ""},
        // Five characters, not five bytes, when a record lacks its marker.
        {"x\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "x"},
    };
    for (const auto& [stored, text] : cases)
        EXPECT_EQ(stripEndMarker(stored), text) << stored;
}

TEST(RoutineCatalogue, LookupByTrimmedDescriptionTakesTheFirstMatch)
{
    const RoutineList catalogue = {stored(1, "  Plot A", "first"), stored(2, "Plot A", "second"),
                                   stored(3, "plot a", "lower")};
    // The index built once for a whole list answers as the scan does.
    const RoutineIndex index(catalogue);
    const auto lookup = [&](const char* name) {
        const RoutineLookup r = findByDescription(catalogue, name);
        const RoutineLookup indexed = index.lookup(name);
        EXPECT_EQ(std::tuple(indexed.found, indexed.text, indexed.recordWritten, index.contains(name)),
                  std::tuple(r.found, r.text, r.recordWritten, r.found))
            << name;
        return std::tuple(r.found, r.text, descriptionExists(catalogue, name));
    };
    EXPECT_EQ(lookup("Plot A"), std::tuple(true, "first", true));
    EXPECT_EQ(lookup("plot a"), std::tuple(true, "lower", true));
    EXPECT_EQ(lookup("PLOT A"), std::tuple(false, "", false));
    EXPECT_EQ(lookup(" Plot A"), std::tuple(false, "", false));
    EXPECT_EQ(lookup(""), std::tuple(false, "", false));
}

TEST(RoutineCatalogue, IndexOfALargeCatalogueFindsEveryDescriptionOnce)
{
    // Enough descriptions for the table's probing to wrap and collide; every other one is repeated later
    // with another text, which must never win.
    RoutineList catalogue;
    for (int i = 0; i < 3000; ++i)
        catalogue.push_back(
            stored(static_cast<std::int16_t>(i + 1), "Routine " + std::to_string(i), "text " + std::to_string(i)));
    for (int i = 0; i < 3000; i += 2)
        catalogue.push_back(
            stored(static_cast<std::int16_t>(5000 + i), " Routine " + std::to_string(i) + " ", "later"));
    const RoutineIndex index(catalogue);
    for (int i = 0; i < 3000; ++i) {
        const Routine* found = index.find("Routine " + std::to_string(i));
        ASSERT_NE(found, nullptr) << i;
        EXPECT_EQ(found->recordNumber(), i + 1);
        EXPECT_FALSE(index.contains("Routine " + std::to_string(i + 3000)));
    }
    EXPECT_FALSE(index.contains("Routine"));
    EXPECT_FALSE(RoutineIndex(RoutineList{}).contains(""));

    // A whole list at once, shorter and longer than the look-ahead, is answered as one by one.
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i)
        names.push_back("Routine " + std::to_string(i * 37 % 6000));
    for (const std::size_t count : {std::size_t(0), std::size_t(3), std::size_t(17), names.size()}) {
        std::vector<int> answers(count, -1);
        index.containsEach(
            count, [&names](std::size_t i) { return std::string_view(names[i]); },
            [&answers](std::size_t i, bool present) { answers[i] = present; });
        for (std::size_t i = 0; i < count; ++i)
            EXPECT_EQ(answers[i], index.contains(names[i]) ? 1 : 0) << count << " " << names[i];
    }
}

TEST(RoutineCatalogue, FavouriteSplitKeepsFileOrder)
{
    const RoutineList catalogue = {stored(1, "a", "t", "Fav"),   stored(2, "b", "t", "Non"),
                                   stored(3, "c", "t", " Fav "), stored(4, "d", "t", "fav"),
                                   stored(5, "e", "t", "Avail"), stored(6, "f", "t", "Fav" + std::string(47, ' '))};
    const FavouriteSplit split = splitFavourites(catalogue);
    EXPECT_EQ(split.favourites, (RoutineList{catalogue[0], catalogue[2], catalogue[5]}));
    EXPECT_EQ(split.nonFavourites, (RoutineList{catalogue[1], catalogue[3], catalogue[4]}));
}

TEST(RoutineCatalogue, AddAndUpdateValidation)
{
    const RoutineList catalogue = {stored(1, " Existing ", "t"), stored(2, "Purge", "t"), stored(3, "Dup", "t"),
                                   stored(4, "Dup", "t")};
    const std::string kLong =
        "Your Description is to long. You can't have \r\nmore than 75 characters in the Description";
    const std::string kDuplicate = "You Can't Have Duplicate Descriptions in the DataBase";
    std::string accents; // 75 characters, 150 bytes
    for (int i = 0; i < 75; ++i)
        accents += "\xC3\xA9";
    struct Case
    {
        std::string description;
        std::string text;
        std::int16_t record; // 0: add, else update of that record
        std::string message; // empty: accepted
        EditorField focus = EditorField::Description;
    };
    const Case cases[] = {
        {"New", "_Regen", 0, ""},
        {"   ", "_Regen", 0, "Please Enter A Description"},
        {"   ", "  ", 0, "Please Enter A Description"},
        {"New", "   ", 0, "Please Enter Your Script", EditorField::Action},
        {std::string(75, 'a'), "_Regen", 0, ""},
        {"  " + std::string(75, 'a') + "  ", "_Regen", 0, ""},
        {std::string(76, 'a'), "_Regen", 0, kLong},
        {accents, "_Regen", 0, ""},
        {accents + "x", "_Regen", 0, kLong},
        {"Existing", "_Regen", 0, kDuplicate},
        {"existing", "_Regen", 0, ""},
        {"New", std::string(4995, 'x'), 0, ""},
        {"New", std::string(4996, 'x'), 0, "Your Script is too long.", EditorField::Action},
        {"Snow \xE2\x98\x83", "_Regen", 0, "The Description cannot be saved."},
        {"New", "_Text \xE2\x98\x83", 0, "Your Script cannot be saved.", EditorField::Action},
        {"Caf\xC3\xA9", "_Text \xE2\x82\xAC", 0, ""},
        {"Tab\there", "_Regen", 0, "The Description cannot hold a tab"},
        {"Bell\x07", "_Regen", 2, "The Description cannot hold a tab"},
        {"Purge", "_Regen", 2, ""},
        {"Purge all", "_Regen", 2, ""},
        {"Existing", "_Regen", 2, kDuplicate},
        {"Dup", "_Regen", 4, ""}, // an older file's duplicate keeps its own name
        {"Dup", "_Regen", 2, kDuplicate},
        {std::string(76, 'a'), "  ", 2, kLong}, // on update length is checked before the blank fields
    };
    for (const Case& c : cases) {
        const std::string name = c.description + "|" + c.text.substr(0, 20) + "|" + std::to_string(c.record);
        const auto refusal = c.record == 0 ? validateAdd(catalogue, c.description, c.text)
                                           : validateUpdate(catalogue, c.description, c.text, c.record);
        ASSERT_EQ(refusal.has_value(), !c.message.empty()) << name << ": " << (refusal ? refusal->message.text : "");
        if (refusal) {
            EXPECT_TRUE(refusal->message.text.starts_with(c.message)) << name << ": " << refusal->message.text;
            EXPECT_EQ(std::tuple(refusal->message.title, refusal->message.icon, refusal->focus),
                      std::tuple("Error", MessageIcon::Exclamation, c.focus))
                << name;
        }
    }
}

TEST(RoutineCatalogue, AnAcceptedDescriptionReadsBackAsChecked)
{
    // Leading spaces count for nothing in the checks, so they must not cut or blank the stored field.
    const std::string cases[] = {
        std::string(100, ' ') + std::string(75, 'a'),
        std::string(160, ' ') + "Plot",
        std::string(40, ' ') + std::string(75, 'x') + std::string(40, ' '),
    };
    for (const std::string& typed : cases) {
        ASSERT_FALSE(validateAdd({}, typed, "_Regen")) << typed;
        auto bytes = encodeRoutineRecord(makeRoutineForAdd(typed, "_Regen", false));
        ASSERT_TRUE(bytes.ok()) << typed;
        const Routine back = decodeRoutineRecord(bytes.value(), 1);
        EXPECT_EQ(trimSpaces(back.description()), trimSpaces(typed));
        EXPECT_EQ(back.inUse(), 1);
        EXPECT_TRUE(descriptionExists({back}, trimSpaces(typed))) << typed;
    }
}

TEST(RoutineCatalogue, SaveDialogDecision)
{
    const RoutineList catalogue = {stored(3, "Plot A1", "t"), stored(5, "Plot A1", "t")};

    const SaveDecision replace = decideSaveRoutine(catalogue, "  Plot A1 ");
    EXPECT_EQ(replace.choice, SaveChoice::AskReplace);
    EXPECT_EQ(replace.recordNumber, 3);
    EXPECT_EQ(replace.question,
              (UserMessage{"Plot A1\r\n\r\nThis Routine Already Exists\t\r\n\r\nDo you want to replace the Existing "
                           "Routine?\r\n\r\n",
                           "Save Routine As:", MessageIcon::None, MessageButtons::YesNo}));

    const SaveDecision add = decideSaveRoutine(catalogue, " Plot A2");
    EXPECT_EQ(std::pair(add.choice, add.name), std::pair(SaveChoice::Add, std::string("Plot A2")));

    const SaveDecision refused = decideSaveRoutine(catalogue, "   ");
    EXPECT_EQ(refused.choice, SaveChoice::Refused);
    EXPECT_EQ(refused.refusal.value().message,
              (UserMessage{"Enter a routine name", "Routine Name", MessageIcon::Exclamation, MessageButtons::Ok}));
    EXPECT_EQ(refused.refusal.value().focus, EditorField::RoutineName);
}

} // namespace
} // namespace qv
