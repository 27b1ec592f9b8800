// The routine database file: any file reads as its whole records (blank descriptions skipped) without being
// changed; a file with a partial last record is never written; an add goes into the first free record or
// after the last, an update into its own record, and nothing else in the file changes.
//
// Input: the bytes of a database file.

#include "../support/TempDir.h"
#include "FuzzSupport.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineDatabase.h"
#include "routines/RoutineRecord.h"
#include "text/TextUtil.h"

#include <filesystem>

namespace {

namespace record = qv::record;
using record::kRecordLength;

std::size_t recordCount(std::string_view bytes)
{
    return bytes.size() / kRecordLength;
}

std::string_view recordAt(std::string_view bytes, std::size_t number)
{
    return bytes.substr((number - 1) * kRecordLength, kRecordLength);
}

// The file's bytes are those before, with record `number` (which may be one past the end) set to `record`.
void requireOnlyRecordChanged(std::string_view before, std::string_view after, std::size_t number,
                              std::string_view encoded)
{
    std::string expected(before);
    const std::size_t offset = (number - 1) * kRecordLength;
    if (offset == expected.size())
        expected.append(encoded);
    else
        expected.replace(offset, kRecordLength, encoded);
    FUZZ_REQUIRE(after == expected, "record " + std::to_string(number) + " of " + std::to_string(recordCount(before)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A memory file system where there is one: rewriting a file on disk costs a flush each time.
    static const TempDir scratch(std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                                           : std::filesystem::temp_directory_path());
    const std::string_view bytes = qv::fuzz::asText(data, size);
    scratch.write("Batch_Cad.dat", std::string(bytes));
    const auto onDisk = [] { return scratch.read("Batch_Cad.dat"); };
    qv::RoutineDatabase database = qv::RoutineDatabase::forFile(scratch.file("Batch_Cad.dat"));

    // Reading lists every whole record with a description, and changes nothing.
    const auto read = database.readAll();
    FUZZ_REQUIRE(read.ok(), read.error().description);
    FUZZ_REQUIRE(onDisk() == bytes, "reading changed the file");
    const std::size_t records = recordCount(bytes);
    const std::size_t partial = bytes.size() % kRecordLength;
    FUZZ_REQUIRE(read.value().ignoredBytes == partial && read.value().notice.has_value() == (partial != 0));
    std::size_t listed = 0;
    for (std::size_t n = 1; n <= records; ++n) {
        const qv::Routine routine = qv::decodeRoutineRecord(recordAt(bytes, n), static_cast<std::int16_t>(n));
        if (qv::trimSpaces(routine.description()).empty())
            continue;
        FUZZ_REQUIRE(listed < read.value().routines.size() && read.value().routines[listed] == routine,
                     "record " + std::to_string(n));
        ++listed;
    }
    FUZZ_REQUIRE(listed == read.value().routines.size());

    // An add: the first record not in use, else one past the end; refused on a damaged file.
    const qv::Routine added = qv::makeRoutineForAdd("Added by the fuzzer", "_Zoom\r\n_E\r\n", false);
    const std::string addedBytes = qv::encodeRoutineRecord(added).value();
    std::size_t free = records + 1;
    for (std::size_t n = 1; n <= records; ++n) {
        if (qv::readInt16Le(recordAt(bytes, n), record::kInUseOffset) == 0) {
            free = n;
            break;
        }
    }
    const auto number = database.add(added);
    if (partial != 0) {
        FUZZ_REQUIRE(!number.ok() && number.error().number == qv::ErrBadRecordLength);
        FUZZ_REQUIRE(onDisk() == bytes, "a damaged file was written");
        const qv::Status update = database.update(added, 1);
        FUZZ_REQUIRE(!update.ok() && onDisk() == bytes, "a damaged file was written");
        return 0;
    }
    FUZZ_REQUIRE(number.ok(), number.error().description);
    FUZZ_REQUIRE(static_cast<std::size_t>(number.value()) == free,
                 "added at " + std::to_string(number.value()) + ", free " + std::to_string(free));
    const std::string afterAdd = onDisk();
    requireOnlyRecordChanged(bytes, afterAdd, free, addedBytes);
    const auto reread = database.readAll();
    FUZZ_REQUIRE(reread.ok());
    const qv::Routine* found = qv::findRoutine(reread.value().routines, number.value());
    FUZZ_REQUIRE(found && qv::trimSpaces(found->description()) == "Added by the fuzzer");

    // An update rewrites its own record only; a record that does not exist is refused.
    const qv::Routine updated = qv::makeRoutineForUpdate("Updated by the fuzzer", "_Audit\r\n_Y", true);
    const std::string updatedBytes = qv::encodeRoutineRecord(updated).value();
    const std::size_t target = 1 + bytes.size() % (recordCount(afterAdd));
    FUZZ_REQUIRE(database.update(updated, static_cast<std::int16_t>(target)).ok());
    const std::string afterUpdate = onDisk();
    requireOnlyRecordChanged(afterAdd, afterUpdate, target, updatedBytes);
    for (const std::int16_t outside : {std::int16_t{0}, static_cast<std::int16_t>(recordCount(afterAdd) + 1)}) {
        const qv::Status refused = database.update(updated, outside);
        FUZZ_REQUIRE(!refused.ok() && refused.error().number == qv::ErrBadRecordNumber);
        FUZZ_REQUIRE(onDisk() == afterUpdate, "a refused update changed the file");
    }
    return 0;
}
