#pragma once

// The harness the builders' host tests share: a routine is written into a batch script by the real script
// writer of a product family, and the script is replayed against the host model.

#include "HostModel.h"
#include "batch/ScriptWriter.h"
#include "support/PlainScriptInputs.h"

#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <span>
#include <string>

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

// Runs the routine on one drawing of the folder through a script of the family's writer, passing every host
// event on. Fails the calling test when the script cannot be written, when the host ends in error, or on any
// error, unjudged entry or unknown command.
inline void replay(const Family& family, const std::string& routine, const std::string& folder, const char* drawing,
                   const char* extraDevices, const std::string& trace,
                   const std::function<void(const hostmodel::HostEvent&)>& onEvent)
{
    const ScriptInputs inputs = plainScriptInputs({{drawing, folder, "Routine", ""}}, folder,
                                                  [&routine](const std::string&) { return routine; });
    const Result<ScriptText> script = buildScript(inputs, family.writer);
    if (!script) {
        ADD_FAILURE() << trace << ": " << script.error().description;
        return;
    }

    hostmodel::HostSetup setup;
    setup.product = *hostmodel::findProduct(family.product);
    setup.devices = hostmodel::parseDevices(extraDevices);
    std::string problems;
    const hostmodel::HostOutcome outcome =
        hostmodel::runHostScript(script.value().bytes, setup, [&](const hostmodel::HostEvent& e) {
            if (e.event == "error" || e.event == "unmodelled" || e.event == "command")
                problems += std::to_string(e.line) + " " + e.event + ": " + e.detail + "\n";
            onEvent(e);
        });
    EXPECT_EQ(outcome.status, 0) << trace << "\n" << problems << "\n" << script.value().bytes;
    EXPECT_EQ(problems, "") << trace << "\n" << script.value().bytes;
}

} // namespace qv::hostreplay
