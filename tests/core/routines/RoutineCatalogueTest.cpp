#include "routines/RoutineCatalogue.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

clsRoutine Stored(std::int16_t number, const std::string& description, const std::string& text,
                  const std::string& favourite = "Fav")
{
    clsRoutine r = MakeRoutineForAdd(description, text, false);
    r.SetRecordNumber(number);
    r.SetFavourite(favourite);
    // As read from the file: padded fields.
    r.SetDescription(description + std::string(150 - description.size(), ' '));
    r.SetScriptText(r.ScriptText() + std::string(20, ' '));
    return r;
}

TEST(RoutineCatalogue, StripEndMarkerRemovesPaddingThenFiveCharacters)
{
    const std::pair<std::string, std::string> cases[] = {
        {"_Regen.....    ", "_Regen"},
        {"_Zoom\r\n_E  \r\n.....   ", "_Zoom\r\n_E  \r\n"},
        {"text  .....", "text  "},
        {".....", ""},
        {"abc", ""},
        {"", ""},
        // Five characters, not five bytes, when a record lacks its marker.
        {"x\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "x"},
    };
    for (const auto& [stored, text] : cases)
        EXPECT_EQ(StripEndMarker(stored), text) << stored;
}

TEST(RoutineCatalogue, LookupByTrimmedDescriptionTakesTheFirstMatch)
{
    clsRoutine flagged = Stored(4, "Flags", "f");
    flagged.SetRecordWritten(7);
    flagged.SetDeleted(-3);
    const RoutineList catalogue = {Stored(1, "  Plot A", "first"), Stored(2, "Plot A", "second"),
                                   Stored(3, "plot a", "lower"), flagged};

    const RoutineLookup first = GetRoutineByDescription(catalogue, "Plot A");
    EXPECT_TRUE(first.found);
    EXPECT_EQ(first.text, "first");
    EXPECT_EQ(GetRoutineByDescription(catalogue, "plot a").text, "lower");
    const RoutineLookup flags = GetRoutineByDescription(catalogue, "Flags");
    EXPECT_EQ(flags.recordWritten, "7");
    EXPECT_EQ(flags.deleted, "-3");

    const RoutineLookup none = GetRoutineByDescription(catalogue, "PLOT A");
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.text, "");
    EXPECT_EQ(none.recordWritten, "");

    EXPECT_TRUE(DescriptionExists(catalogue, "Plot A"));
    EXPECT_FALSE(DescriptionExists(catalogue, "PLOT A"));
    EXPECT_FALSE(DescriptionExists(catalogue, ""));
}

TEST(RoutineCatalogue, FavouriteSplitKeepsFileOrder)
{
    const RoutineList catalogue = {Stored(1, "a", "t", "Fav"),   Stored(2, "b", "t", "Non"),
                                   Stored(3, "c", "t", " Fav "), Stored(4, "d", "t", "fav"),
                                   Stored(5, "e", "t", "Avail"), Stored(6, "f", "t", "Fav" + std::string(47, ' '))};
    const FavouriteSplit split = SplitFavourites(catalogue);
    auto numbers = [](const RoutineList& list) {
        std::vector<int> out;
        for (const clsRoutine& r : list)
            out.push_back(r.RecordNumber());
        return out;
    };
    EXPECT_EQ(numbers(split.favourites), (std::vector<int>{1, 3, 6}));
    EXPECT_EQ(numbers(split.nonFavourites), (std::vector<int>{2, 4, 5}));

    const auto shown = ShowRoutine(catalogue, 4);
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->description, "d");
    EXPECT_EQ(shown->text, "t");
    EXPECT_TRUE(shown->nonFavourite);
    EXPECT_FALSE(ShowRoutine(catalogue, 6)->nonFavourite);
    EXPECT_FALSE(ShowRoutine(catalogue, 9).has_value());
    EXPECT_EQ(RoutineListCaption(catalogue.size()), "6 Script Routines");
}

TEST(RoutineCatalogue, DescriptionLengthCountsCharacters)
{
    EXPECT_FALSE(checkListLength(std::string(75, 'a')));
    EXPECT_TRUE(checkListLength(std::string(76, 'a')));
    std::string accents;
    for (int i = 0; i < 75; ++i)
        accents += "\xC3\xA9";
    EXPECT_FALSE(checkListLength(accents));
    EXPECT_TRUE(checkListLength(accents + "x"));
}

const std::string kLong = "Your Description is to long. You can't have \r\nmore than 75 characters in the Description";

struct Expect
{
    std::string text; // empty: accepted
    EditorField focus = EditorField::Description;
};

void Check(const std::optional<EditorRefusal>& refusal, const Expect& expect, const std::string& name)
{
    if (expect.text.empty()) {
        EXPECT_FALSE(refusal.has_value()) << name << ": " << (refusal ? refusal->message.text : "");
        return;
    }
    ASSERT_TRUE(refusal.has_value()) << name;
    EXPECT_EQ(refusal->message.text.substr(0, expect.text.size()), expect.text) << name;
    EXPECT_EQ(refusal->message.title, "Error") << name;
    EXPECT_EQ(refusal->message.icon, MessageIcon::Exclamation) << name;
    EXPECT_EQ(refusal->focus, expect.focus) << name;
}

TEST(RoutineCatalogue, AddValidation)
{
    const RoutineList catalogue = {Stored(1, " Existing ", "t")};
    struct Case
    {
        std::string description;
        std::string text;
        Expect expect;
    };
    const Case cases[] = {
        {"New", "_Regen", {}},
        {"   ", "_Regen", {"Please Enter A Description"}},
        {"   ", "  ", {"Please Enter A Description"}},
        {"New", "   ", {"Please Enter Your Script", EditorField::Action}},
        {std::string(75, 'a'), "_Regen", {}},
        {"  " + std::string(75, 'a') + "  ", "_Regen", {}},
        {std::string(76, 'a'), "_Regen", {kLong}},
        {"Existing", "_Regen", {"You Can't Have Duplicate Descriptions in the DataBase"}},
        {"  Existing", "_Regen", {"You Can't Have Duplicate Descriptions in the DataBase"}},
        {"existing", "_Regen", {}},
        {"New", std::string(4995, 'x'), {}},
        {"New", std::string(4996, 'x'), {"Your Script is too long.", EditorField::Action}},
        {"Snow \xE2\x98\x83", "_Regen", {"The Description cannot be saved.", EditorField::Description}},
        {"New", "_Text \xE2\x98\x83", {"Your Script cannot be saved.", EditorField::Action}},
        {"Caf\xC3\xA9", "_Text \xE2\x82\xAC", {}},
    };
    for (const Case& c : cases)
        Check(ValidateAdd(catalogue, c.description, c.text), c.expect, c.description + "|" + c.text.substr(0, 20));
}

TEST(RoutineCatalogue, UpdateValidationRefusesTakingAnotherRoutinesName)
{
    const RoutineList catalogue = {Stored(1, "Plot", "t"), Stored(2, "Purge", "t"), Stored(3, "Dup", "t"),
                                   Stored(4, "Dup", "t")};
    struct Case
    {
        std::string description;
        std::string text;
        std::int16_t record;
        Expect expect;
    };
    const Case cases[] = {
        {"Purge", "_Regen", 2, {}},
        {"Purge all", "_Regen", 2, {}},
        {"Plot", "_Regen", 2, {"You Can't Have Duplicate Descriptions in the DataBase"}},
        {" Plot ", "_Regen", 2, {"You Can't Have Duplicate Descriptions in the DataBase"}},
        {"Dup", "_Regen", 4, {}}, // an older file's duplicate keeps its own name
        {"Dup", "_Regen", 2, {"You Can't Have Duplicate Descriptions in the DataBase"}},
        {std::string(76, 'a'), "  ", 2, {kLong}}, // length is checked before the blank fields
        {"", "_Regen", 2, {"Please Enter A Description"}},
        {"Purge", "", 2, {"Please Enter Your Script", EditorField::Action}},
        {"Purge", std::string(4996, 'x'), 2, {"Your Script is too long.", EditorField::Action}},
    };
    for (const Case& c : cases)
        Check(ValidateUpdate(catalogue, c.description, c.text, c.record), c.expect,
              c.description + "|" + std::to_string(c.record));
}

TEST(RoutineCatalogue, SaveDialogDecision)
{
    const RoutineList catalogue = {Stored(3, "Plot A1", "t"), Stored(5, "Plot A1", "t")};

    const SaveDecision replace = DecideSaveRoutine(catalogue, "  Plot A1 ");
    EXPECT_EQ(replace.choice, SaveChoice::AskReplace);
    EXPECT_EQ(replace.recordNumber, 3);
    EXPECT_EQ(replace.question,
              (UserMessage{"Plot A1\r\n\r\nThis Routine Already Exists\t\r\n\r\nDo you want to replace the Existing "
                           "Routine?\r\n\r\n",
                           "Save Routine As:", MessageIcon::None, MessageButtons::YesNo}));

    const SaveDecision add = DecideSaveRoutine(catalogue, " Plot A2");
    EXPECT_EQ(add.choice, SaveChoice::Add);
    EXPECT_EQ(add.name, "Plot A2");

    const SaveDecision refused = DecideSaveRoutine(catalogue, "   ");
    EXPECT_EQ(refused.choice, SaveChoice::Refused);
    ASSERT_TRUE(refused.refusal.has_value());
    EXPECT_EQ(refused.refusal->message,
              (UserMessage{"Enter a routine name", "Routine Name", MessageIcon::Exclamation, MessageButtons::Ok}));
    EXPECT_EQ(refused.refusal->focus, EditorField::RoutineName);
}

} // namespace
} // namespace qv
