// Build-time tool: turns the readable routine list (data/routines.txt) into the routine database
// shipped beside the program, through the same writer the program uses, and checks that every
// record reads back as written.
//
//   mkroutinedb <routines.txt> <Batch_Cad.dat>          build the database
//   mkroutinedb --check <routines.txt> <Batch_Cad.dat>  only check an existing database

#include "io/FileIo.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineDatabase.h"
#include "routines/RoutineSource.h"
#include "text/TextUtil.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

int fail(const std::string& what)
{
    std::cerr << "mkroutinedb: " << what << "\n";
    return 1;
}

// The database must hold exactly the source's routines, in order, as records 1, 2, ...
std::string compare(const std::vector<qv::Routine>& source, const std::string& database)
{
    auto db = qv::RoutineDatabase::forFile(database);
    if (!qv::fileExists(database))
        return database + " does not exist";
    const auto read = db.readAll();
    if (!read)
        return read.error().description;
    const qv::RoutineRecords& records = read.value();
    if (records.ignoredBytes != 0)
        return records.notice->text;
    if (records.routines.size() != source.size()) {
        return "the database holds " + std::to_string(records.routines.size()) + " routines, the source " +
               std::to_string(source.size());
    }
    for (std::size_t i = 0; i < source.size(); ++i) {
        const qv::Routine& want = source[i];
        const qv::Routine& got = records.routines[i];
        const bool same = got.recordNumber() == static_cast<std::int16_t>(i + 1) &&
                          qv::trimSpaces(got.description()) == want.description() &&
                          qv::stripEndMarker(got.scriptText()) == qv::stripEndMarker(want.scriptText()) &&
                          qv::trimSpaces(got.favourite()) == want.favourite() && got.inUse() == want.inUse() &&
                          got.recordWritten() == want.recordWritten() && got.deleted() == want.deleted();
        if (!same)
            return "record " + std::to_string(i + 1) + " (\"" + want.description() +
                   "\") does not read back as written";
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool checkOnly = !args.empty() && args[0] == "--check";
    if (args.size() != (checkOnly ? 3u : 2u))
        return fail("usage: mkroutinedb [--check] <routines.txt> <Batch_Cad.dat>");
    const std::string& sourcePath = args[checkOnly ? 1 : 0];
    const std::string& output = args[checkOnly ? 2 : 1];

    const auto text = qv::readFileBytes(sourcePath);
    if (!text)
        return fail(text.error().description);
    const auto routines = qv::parseRoutineSource(text.value());
    if (!routines)
        return fail(sourcePath + ": " + routines.error().description);

    if (checkOnly) {
        const std::string problem = compare(routines.value(), output);
        return problem.empty() ? 0 : fail(output + ": " + problem);
    }

    // Built beside the target and moved into place, so a failed build never leaves half a database.
    const std::string temp = output + ".tmp";
    std::error_code ec;
    fs::remove(fs::u8path(temp), ec);
    auto db = qv::RoutineDatabase::forFile(temp);
    for (const qv::Routine& routine : routines.value()) {
        const auto added = db.add(routine);
        if (!added) {
            fs::remove(fs::u8path(temp), ec);
            return fail(temp + ": " + added.error().description);
        }
    }
    if (const std::string problem = compare(routines.value(), temp); !problem.empty()) {
        fs::remove(fs::u8path(temp), ec);
        return fail(temp + ": " + problem);
    }
    fs::rename(fs::u8path(temp), fs::u8path(output), ec);
    if (ec) {
        fs::remove(fs::u8path(temp), ec);
        return fail("cannot move the database to " + output);
    }
    std::cout << "mkroutinedb: " << routines.value().size() << " routines written to " << output << "\n";
    return 0;
}
