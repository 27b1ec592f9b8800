#pragma once

// The harness the builders' host tests share: a routine is written into a batch script by the real script
// writer of a product family, and the script is replayed against the host model on one of the fixture's
// drawings.

#include "HostModel.h"
#include "batch/ScriptWriter.h"
#include "support/PlainScriptInputs.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace qv::hostreplay {

struct Family
{
    const char* product;
    ScriptWriterKind writer;
};

// Every family the builders write for; the releases before 2000 come last, for the tests that leave them out.
inline constexpr Family kAllFamilies[] = {
    {"Cad2000", ScriptWriterKind::General},   {"CadLT2000", ScriptWriterKind::General},
    {"Cad2004", ScriptWriterKind::General},   {"CadLT2004", ScriptWriterKind::General},
    {"Cad2005", ScriptWriterKind::General},   {"CadLT2005", ScriptWriterKind::General},
    {"Cad2007", ScriptWriterKind::General},   {"CadLT2007", ScriptWriterKind::General},
    {"Cad2010", ScriptWriterKind::General},   {"CadLT2010", ScriptWriterKind::General},
    {"Cad2013", ScriptWriterKind::General},   {"CadLT2013", ScriptWriterKind::General},
    {"Cad2018", ScriptWriterKind::General},   {"CadLT2018", ScriptWriterKind::General},
    {"Bricscad", ScriptWriterKind::Bricscad}, {"ZWCAD", ScriptWriterKind::Zwcad},
    {"Cad14", ScriptWriterKind::General},     {"CadLT98", ScriptWriterKind::General},
};
// The families from release 2000 on: those that plot.
inline constexpr std::span<const Family> kFamiliesFrom2000(kAllFamilies, std::size(kAllFamilies) - 2);

// What one run did: the details of each telling event, in order, by event name.
using Events = std::map<std::string, std::vector<std::string>>;

// A folder with a drawing open on its model tab, one open on a layout and a standard drawing to import page
// setups from, each declaring its state to the host in its first line; and an "Out" folder to save into.
class HostReplayTest : public ::testing::Test
{
protected:
    static constexpr const char* kModelDrawing = "Model.dwg";
    static constexpr const char* kLayoutDrawing = "Layout.dwg";
    static constexpr const char* kStandard = "Standard.dwg";

    void SetUp() override
    {
        // Model.dwg already holds Std-A1, so an import redefines it (EXPERT 2 answers without asking).
        m_dir.write(kModelDrawing, "CADHOST tab=Model layouts=Layout1,Layout2 views=Front "
                                   "pagesetups=A1-Plot=Office%20Printer,Std-A1\r\nDWG");
        m_dir.write(kLayoutDrawing, "CADHOST tab=Layout1 layouts=Layout1,Layout2 views=Front "
                                    "pagesetups=A1-Plot=Office%20Printer\r\nDWG");
        m_dir.write(kStandard, "CADHOST pagesetups=Std-A1=Office%20Printer,Std%20A3=Default%20Windows%20System%20"
                               "Printer.pc3,Unused\r\nDWG");
        std::filesystem::create_directories(m_dir.native("Out"));
    }

    // Runs the routine on one drawing of the folder through a script of the family's writer, on a host that
    // knows an office printer and a PDF configuration besides the standard ones. Fails the calling test when
    // the script cannot be written, when the host ends in error, or on any error, unjudged entry or unknown
    // command.
    Events replay(const Family& family, const std::string& routine, const char* drawing, const std::string& trace)
    {
        const ScriptInputs inputs = plainScriptInputs({{drawing, m_dir.path(), "Routine", ""}}, m_dir.path(),
                                                      [&routine](const std::string&) { return routine; });
        const Result<ScriptText> script = buildScript(inputs, family.writer);
        if (!script) {
            ADD_FAILURE() << trace << ": " << script.error().description;
            return {};
        }
        hostmodel::HostSetup setup;
        setup.product = *hostmodel::findProduct(family.product);
        setup.devices = hostmodel::parseDevices("Office Printer=A4|Letter;DWG To PDF.pc3");
        std::string problems;
        Events events;
        const hostmodel::HostOutcome outcome =
            hostmodel::runHostScript(script.value().bytes, setup, [&](const hostmodel::HostEvent& e) {
                if (e.event == "error" || e.event == "unmodelled" || e.event == "command")
                    problems += std::to_string(e.line) + " " + e.event + ": " + e.detail + "\n";
                if (e.event != "prompt" && e.event != "answer" && e.event != "lisp")
                    events[e.event].push_back(e.detail);
            });
        EXPECT_EQ(outcome.status, 0) << trace << "\n" << problems << "\n" << script.value().bytes;
        EXPECT_EQ(problems, "") << trace << "\n" << script.value().bytes;
        return events;
    }

    std::string path(const std::string& name) const { return m_dir.file(name); }
    bool exists(const std::string& name) const { return std::filesystem::exists(m_dir.native(name)); }
    void remove(const std::string& name) const { std::filesystem::remove(m_dir.native(name)); }

    TempDir m_dir;
};

} // namespace qv::hostreplay
