#include "builders/SaveAsRoutine.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

using Items = std::vector<std::string_view>;

const Items kDrawings = {"AutoCAD 2018/LT2018 Drawing",  "AutoCAD 2013/LT2013 Drawing", "AutoCAD 2010/LT2010 Drawing",
                         "AutoCAD 2007/LT2007 Drawing",  "AutoCAD 2004/LT2004 Drawing", "AutoCAD 2000/LT2000 Drawing",
                         "AutoCAD R14/LT98/LT97 Drawing"};
const Items kDxfs = {"AutoCAD 2018/LT2018 Dxf", "AutoCAD 2013/LT2013 Dxf", "AutoCAD 2010/LT2010 Dxf",
                     "AutoCAD 2007/LT2007 Dxf", "AutoCAD 2004/LT2004 Dxf", "AutoCAD 2000/LT2000 Dxf",
                     "AutoCAD R12/LT2 Dxf"};

Items from(const Items& all, std::size_t first)
{
    return Items(all.begin() + static_cast<std::ptrdiff_t>(first), all.end());
}

TEST(SaveAsReleases, ListsAndControlsPerProduct)
{
    const Items d2005 = {"AutoCAD 2004/2005/2006 LT2004/2005/2006 Drawing", "AutoCAD 2000/2002 LT2000/2002 Drawing"};
    const Items d2004 = {"AutoCAD 2004/LT2004 Drawing", "AutoCAD 2000/2002 LT2000/2002 Drawing"};
    const Items d2000 = {"AutoCAD 2000/2002 LT2000/2002 Drawing", "AutoCAD R14/LT98/LT97 Drawing",
                         "AutoCAD R13/LT95 Drawing"};
    const Items lt2000 = {"AutoCAD 2000/LT2000 Drawing", "AutoCAD R14/LT98/LT97 Drawing", "AutoCAD R13/LT95 Drawing"};
    const Items r14 = {"AutoCAD R14/LT98/LT97 Drawing", "AutoCAD R13/LT95 Drawing", "AutoCAD R12/LT2 Drawing"};
    const Items x2005 = {"AutoCAD 2004/2005/2006 LT2004/2005/2006 Dxf", "AutoCAD 2000/2002 LT2000/2002 Dxf",
                         "AutoCAD R12/LT2 Dxf"};
    const Items x2004 = {"AutoCAD 2004/LT2004 Dxf", "AutoCAD 2000/2002 LT2000/2002 Dxf", "AutoCAD R12/LT2 Dxf"};
    const Items x2000 = {"AutoCAD 2000/2002 LT2000/2002 Dxf", "AutoCAD R14/LT98/LT97 Dxf", "AutoCAD R13/LT95 Dxf",
                         "AutoCAD R12/LT2 Dxf"};
    // DXF or drawing list, products that share a row of the release table, the entries in order and the text shown
    // first
    const std::tuple<bool, std::vector<std::string_view>, Items, std::string_view> rows[] = {
        {false, {"Cad2018", "CadLT2018"}, kDrawings, kDrawings[0]},
        {false, {"Cad2013", "CadLT2013"}, from(kDrawings, 1), kDrawings[1]},
        {false, {"Cad2010", "CadLT2010"}, from(kDrawings, 2), kDrawings[2]},
        {false, {"Cad2007"}, from(kDrawings, 3), "AutoCAD 2007/2008/2009 LT2007/2008/2009 Drawing"},
        {false, {"CadLT2007"}, from(kDrawings, 3), "AutoCAD 2007/2008 LT2007/2008 Drawing"},
        {false, {"Cad2005", "CadLT2005"}, d2005, d2005[0]},
        {false, {"Cad2004", "CadLT2004"}, d2004, d2004[0]},
        {false, {"Cad2000"}, d2000, d2000[0]},
        {false, {"CadLT2000"}, lt2000, lt2000[0]},
        {false, {"Cad14"}, r14, r14[0]},
        {false, {"CadLT98"}, from(r14, 1), r14[1]},
        {false, {"Cad13"}, {}, ""},
        {false, {"Bricscad", "ZWCAD", "Cad2019"}, {r14[0], r14[1]}, r14[0]},
        {true, {"Cad2018", "CadLT2018"}, kDxfs, kDxfs[0]},
        {true, {"Cad2013", "CadLT2013"}, from(kDxfs, 1), kDxfs[1]},
        {true, {"Cad2010", "CadLT2010"}, from(kDxfs, 2), kDxfs[2]},
        {true, {"Cad2007", "CadLT2007"}, from(kDxfs, 3), "AutoCAD 2007/2008 LT2007/2008/2009 Dxf"},
        {true, {"Cad2005", "CadLT2005"}, x2005, x2005[0]},
        {true, {"Cad2004", "CadLT2004"}, x2004, x2004[0]},
        {true, {"Cad2000", "CadLT2000", "Bricscad", "ZWCAD"}, x2000, x2000[0]},
        {true, {"Cad14", "CadLT98"}, from(x2000, 1), x2000[1]},
        {true, {"Cad13"}, {}, ""},
    };
    for (const auto& [dxf, codes, items, shown] : rows) {
        for (const std::string_view code : codes) {
            const std::string trace = std::string(code) + (dxf ? " DXF" : " drawing");
            const SaveAsReleases releases = dxf ? fillDxfReleases(code) : fillDrawingReleases(code);
            const bool r13 = code == "Cad13";
            const bool lt = code.find("LT") != std::string_view::npos;
            const bool dxfControls = dxf && !r13;
            const bool preview = dxfControls && code != "Cad14" && code != "CadLT98";
            EXPECT_EQ(releases.items, items) << trace;
            EXPECT_EQ(releases.shown, shown) << trace;
            EXPECT_EQ(releases.frameCaption, r13   ? "This option is unavailable in R13"
                                             : dxf ? "Save As DXF"
                                                   : "Save As Drawing")
                << trace;
            EXPECT_EQ(std::tuple(releases.usable, releases.folderEnabled, releases.lispNoteShown,
                                 releases.dxfControlsShown, releases.previewShown),
                      std::tuple(!r13, !lt && !r13, lt, dxfControls, preview))
                << trace;
            EXPECT_EQ(releases.accuracy, preview ? std::optional<std::string_view>("16") : std::nullopt) << trace;
        }
    }
}

TEST(SaveAsReleases, AnswersOfEveryEntry)
{
    // entry, drawing, dxf
    const std::tuple<const char*, const char*, const char*> answers[] = {
        {"AutoCAD 2018/LT2018 Drawing", "2018", "2018"},
        {"AutoCAD 2013/LT2013 Dxf", "2013", "2013"},
        {"AutoCAD 2010/LT2010 Drawing", "2010", "2010"},
        {"AutoCAD 2007/2008/2009 LT2007/2008/2009 Drawing", "2007", "2007"},
        {"AutoCAD 2007/2008 LT2007/2008/2009 Dxf", "2007", "2007"},
        {"AutoCAD 2004/2005/2006 LT2004/2005/2006 Drawing", "2004", "2004"},
        {"AutoCAD 2000/2002 LT2000/2002 Dxf", "2000", "2000"},
        {"AutoCAD R14/LT98/LT97 Drawing", "_r14", "_R14"},
        {"AutoCAD R13/LT95 Dxf", "_r13", "_R13"},
        {"AutoCAD R12/LT2 Drawing", "_r12", "_R12"},
    };
    for (const auto& [entry, drawing, dxf] : answers) {
        EXPECT_EQ(drawingFormatAnswer(entry), drawing) << entry;
        EXPECT_EQ(dxfVersionAnswer(entry), dxf) << entry;
    }
    EXPECT_EQ(drawingFormatAnswer(""), std::nullopt);
    EXPECT_EQ(dxfVersionAnswer("AutoCAD 2002"), std::nullopt);

    // Cad2005's own release and R14 on Cad14 are TextsAndNotices' rows.
    EXPECT_TRUE(isOwnRelease("AutoCAD 2004/LT2004 Drawing", "CadLT2004"));
    EXPECT_FALSE(isOwnRelease("AutoCAD 2018/LT2018 Drawing", "Bricscad"));
}

TEST(SaveAsFolder, LispForm)
{
    EXPECT_EQ(lispFolder("  C:\\Out\\Old\\  "), "C:/Out/Old/");
    EXPECT_EQ(lispFolder("/home/me/out"), "/home/me/out/");
    EXPECT_EQ(lispFolder("/home/me/out/"), "/home/me/out/");
    EXPECT_EQ(lispFolder("\\\\server\\share"), "//server/share/");
    for (const char* none : {"<Default>", "", "    ", " <Default> "})
        EXPECT_EQ(lispFolder(none), std::nullopt) << none;
}

SaveAsChoices releaseChoices(std::string entry, std::string folder = "<Default>")
{
    SaveAsChoices choices;
    choices.release = std::move(entry);
    choices.folder = std::move(folder);
    return choices;
}

SaveAsChoices dxf(std::string entry, bool binary, std::string accuracy, bool preview, std::string folder = "<Default>")
{
    SaveAsChoices choices = releaseChoices(std::move(entry), std::move(folder));
    choices.binary = binary;
    choices.accuracy = std::move(accuracy);
    choices.preview = preview;
    return choices;
}

TEST(SaveAsRoutine, TextsAndNotices)
{
    const auto drawingNotice = [](const std::string& text) {
        return UserMessage{text, "Save As Drawing", MessageIcon::Information, MessageButtons::Ok};
    };
    const UserMessage overwrites =
        drawingNotice("Save As will save over the existing drawing.\r\nIf you wish you can save in a different "
                      "folder by \r\nspecifing a folder in the Save in Folder box\r\n");
    const UserMessage lowPrecision{"Warning:  You have specified a lower precision for the DXF file,\r\n"
                                   "which may result in loss of drawing accuracy.",
                                   "Dxf Message", MessageIcon::Exclamation, MessageButtons::Ok};
    const std::string folderHead = "(setq draw_name(getvar \"dwgname\"))\r\n"
                                   "(setq draw_name (strcat \"C:/Old Releases/\"draw_name ))\r\n";
    const std::string dxfFolderHead = "(setq draw_name(getvar \"dwgname\"))\r\n"
                                      "(setq draw_len (strlen draw_name))\r\n"
                                      "(setq draw_name (strcat (substr draw_name 1 (- draw_len 4))\".dxf\"))\r\n"
                                      "(setq draw_name (strcat \"D:/Exchange/\"draw_name ))\r\n"
                                      "_dxfout\r\n!draw_name\r\n";
    // product, dxf, choices, text, notice
    const std::tuple<const char*, bool, SaveAsChoices, std::string, std::optional<UserMessage>> cases[] = {
        // Another release over the drawing's own file: "_y" answers whether to replace it.
        {"Cad2010", false, releaseChoices("AutoCAD 2000/LT2000 Drawing"), "_saveas\r\n2000\r\n\r\n_y", overwrites},
        {"Cad2010", false, releaseChoices("AutoCAD 2010/LT2010 Drawing"), "_saveas\r\n2010\r\n", overwrites},
        {"Cad2005", false, releaseChoices("AutoCAD 2004/2005/2006 LT2004/2005/2006 Drawing", "  "),
         "_saveas\r\n2004\r\n", overwrites},
        {"Cad14", false, releaseChoices("AutoCAD R14/LT98/LT97 Drawing"), "_saveas\r\n_r14\r\n\r\n_y", overwrites},
        {"CadLT98", false, releaseChoices("AutoCAD R12/LT2 Drawing"), "_saveas\r\n_r12\r\n\r\n_y",
         drawingNotice("Save As will save over the existing drawing.\r\n")},
        {"Cad2000", false, releaseChoices("AutoCAD R13/LT95 Drawing", "C:\\Old Releases"),
         folderHead + "_saveas\r\n_r13\r\n!draw_name", std::nullopt},
        {"ZWCAD", true, dxf("AutoCAD R13/LT95 Dxf", false, "16", false), "_dxfout \r\n_V\r\n_R13\r\n", std::nullopt},
        {"CadLT2013", false, releaseChoices("AutoCAD 2013/LT2013 Drawing"), "_saveas\r\n2013\r\n",
         drawingNotice("Save As will save over the existing drawing.\r\n")},
        {"Cad2018", false, releaseChoices("AutoCAD 2004/LT2004 Drawing", " C:\\Old Releases "),
         folderHead + "_saveas\r\n2004\r\n!draw_name", std::nullopt},
        {"Bricscad", false, releaseChoices("AutoCAD R14/LT98/LT97 Drawing", "C:\\Old Releases\\"),
         folderHead + "_saveas\r\n_r14\r\n!draw_name", std::nullopt},
        {"Cad2013", true, dxf("AutoCAD 2007/LT2007 Dxf", false, "16", true),
         "_dxfout \r\n_P\r\n_Yes\r\n_V\r\n2007\r\n16", std::nullopt},
        {"Cad14", true, dxf("AutoCAD R14/LT98/LT97 Dxf", false, "6", true), "_dxfout \r\n_V\r\n_R14\r\n", std::nullopt},
        {"Cad2018", true, dxf("AutoCAD 2018/LT2018 Dxf", true, "16", false),
         "_dxfout \r\n_P\r\n_No\r\n_V\r\n2018\r\n_B", std::nullopt},
        {"CadLT2000", true, dxf("AutoCAD R12/LT2 Dxf", false, "8", false), "_dxfout \r\n_P\r\n_No\r\n_V\r\n_R12\r\n8",
         lowPrecision},
        {"ZWCAD", true, dxf("AutoCAD 2000/2002 LT2000/2002 Dxf", true, "16", true), "_dxfout \r\n_V\r\n2000\r\n_B",
         std::nullopt},
        {"Cad2010", true, dxf("AutoCAD 2010/LT2010 Dxf", false, "16", false, "D:\\Exchange"),
         dxfFolderHead + "_P\r\n_No\r\n_V\r\n2010\r\n16", std::nullopt},
        {"Bricscad", true, dxf("AutoCAD R12/LT2 Dxf", false, "3", false, "D:\\Exchange\\"),
         dxfFolderHead + "_V\r\n_R12\r\n", std::nullopt},
    };
    for (const auto& [product, dxf, choices, text, notice] : cases) {
        const std::string trace = std::string(product) + " " + choices.release;
        const SaveAsRoutineResult result =
            dxf ? buildDxfRoutine(choices, product) : buildSaveAsRoutine(choices, product);
        ASSERT_TRUE(result.ok()) << trace;
        EXPECT_EQ(result.text, text) << trace;
        EXPECT_EQ(result.notice, notice) << trace;
    }
}

TEST(SaveAsRoutine, Refusals)
{
    // name, product, dxf, choices, text, focus
    const std::tuple<const char*, const char*, bool, SaveAsChoices, std::string, SaveAsField> cases[] = {
        {"a quote in the folder", "Cad2018", false, releaseChoices("AutoCAD 2018/LT2018 Drawing", "C:\\a\\\"b"),
         "The folder name cannot hold a double quote or a line break:\r\nC:\\a\\\"b", SaveAsField::Folder},
        {"a quote in the DXF folder", "Cad2018", true, dxf("AutoCAD 2018/LT2018 Dxf", false, "16", false, "C:\\\"x\""),
         "The folder name cannot hold a double quote or a line break:\r\nC:\\\"x\"", SaveAsField::Folder},
        {"a folder on LT", "CadLT2018", false, releaseChoices("AutoCAD 2018/LT2018 Drawing", "C:\\Out"),
         "This option requires Lisp and is only available using AutoCAD full version.", SaveAsField::Folder},
        {"release 13", "Cad13", false, releaseChoices(""), "This option is unavailable in R13", SaveAsField::None},
        {"no release", "Cad2018", true, dxf("", false, "16", false), "Please select the release to save to.",
         SaveAsField::Release},
        {"accuracy out of range", "Cad2018", true, dxf("AutoCAD 2018/LT2018 Dxf", false, "17", false),
         "Select the DXF accuracy, from 1 to 16 decimal places.", SaveAsField::Accuracy},
        {"accuracy not a number", "Cad2004", true, dxf("AutoCAD 2004/LT2004 Dxf", false, "6x", false),
         "Select the DXF accuracy, from 1 to 16 decimal places.", SaveAsField::Accuracy},
    };
    for (const auto& [name, product, dxf, choices, text, focus] : cases) {
        const SaveAsRoutineResult result =
            dxf ? buildDxfRoutine(choices, product) : buildSaveAsRoutine(choices, product);
        ASSERT_FALSE(result.ok()) << name;
        EXPECT_EQ(result.text, "") << name;
        EXPECT_EQ(result.refusal, (UserMessage{text, dxf ? "Save As DXF" : "Save As Drawing", MessageIcon::Exclamation,
                                               MessageButtons::Ok}))
            << name;
        EXPECT_EQ(result.focus, focus) << name;
    }
}

} // namespace
} // namespace qv
