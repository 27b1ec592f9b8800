#include "ScriptWriter.h"

#include "io/FileIo.h"
#include "text/CodePage.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <system_error>

namespace qv {
namespace {

// Step numbers shown in the writer's error messages; they locate the failing step.
enum Step : int
{
    StepChoosePath = 1,
    StepSequence = 2,
    StepRoutineText = 3,
    StepConvertDxf = 5,
    StepDrawingPath = 9,
    StepReadOnly = 10,
    StepOpenFile = 15,
    StepWriteFile = 16,
    StepCloseFile = 17,
};

constexpr int ErrTypeMismatch = 13;

// The fixed lines of one writer, with their line breaks, so a row costs a handful of appends.
struct Tokens
{
    std::string_view defaultOpen;
    std::string_view recover;
    std::string_view startup;   // closes the drawing the host opens by itself
    std::string_view closeTail; // after every drawing but the last
    std::string_view quitTail;  // after the last drawing
    std::string_view stopTail;  // after a placeholder routine stopped the script
    std::string_view finalQuit;
    std::string_view readOnlyAnswer; // closing quote of the path + the read-only answer
};

constexpr Tokens kUnderscoreTokens{
    "_Open",
    "_Recover",
    "_Zoom\r\n0.999x\r\n_Close\r\n_Y\r\n",
    "_Zoom\r\n0.999x\r\n_Close\r\n_Y\r\n",
    "_Zoom\r\n0.999x\r\n_Quit\r\n_Y\r\n",
    "_Quit\r\n_Y\r\n",
    "_Quit\r\n",
    "\"\r\n_Y\r\n",
};

constexpr Tokens kBricscadTokens{
    "Open",
    "Recover",
    "Zoom\r\n0.999x\r\nClose\r\nN\r\n",
    "Zoom\r\n0.999x\r\nClose\r\nY\r\n",
    "Zoom\r\n0.999x\r\nQuit\r\nY\r\n",
    "Quit\r\nY\r\n",
    "Quit\r\n",
    "\"\r\nY\r\n",
};

constexpr std::string_view kPathEnd = "\"\r\n";
constexpr std::string_view kBegun = "begun";
constexpr std::string_view kDone = "done";
constexpr std::string_view kDxfStart = "Saveas\r\n\r\n\"";
constexpr std::string_view kDxfEnd = "dwg\"\r\n";

const Tokens& tokensFor(ScriptWriterKind kind)
{
    return kind == ScriptWriterKind::Bricscad ? kBricscadTokens : kUnderscoreTokens;
}

bool isAscii(std::string_view text)
{
    unsigned char any = 0;
    for (const char c : text)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

// A failure while building, with the step it happened in.
struct StepError
{
    Error error;
    int step = 0;
};

// What one distinct routine description contributes to the script.
struct Block
{
    std::string bytes; // the routine text + CR LF, repeated N times, in Windows-1252
    bool recover = false;
    bool convertDxf = false;
    bool placeholder = false;
};

// A drawing's file and folder in Windows-1252, kept only when they are not plain ASCII.
struct EncodedPath
{
    std::string folder;
    std::string file;
};

constexpr std::uint32_t kAsciiPath = UINT32_MAX;

struct RowPlan
{
    std::uint32_t block = 0;
    std::uint32_t encodedPath = kAsciiPath;
    bool readOnly = false;
};

Error withContext(Error error, const std::string& context)
{
    error.description += " (" + context + ")";
    return error;
}

Result<std::string> encode(std::string_view text, const std::string& context)
{
    if (isAscii(text))
        return std::string(text);
    auto encoded = utf8ToCp1252(text);
    if (!encoded)
        return withContext(encoded.error(), context);
    return encoded;
}

// True when a CR stands without its LF or an LF without its CR: the host would see a line break
// the script does not mean.
bool holdsLoneLineBreak(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return true;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return true;
    }
    return false;
}

// What the writer needs to know of a drawing's file or folder name, found in one pass over its bytes: a
// drawing path is one quoted entry of the script, so a quote or a line break would end the entry; a name
// that is not plain ASCII is converted to the script's code page.
struct NameScan
{
    bool breaksQuotedEntry = false;
    bool ascii = true;
};

NameScan scanName(std::string_view name)
{
    unsigned char any = 0;
    bool breaks = false;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        any |= c;
        breaks |= (c == '"') | (c == '\r') | (c == '\n');
    }
    return {breaks, any < 0x80};
}

Result<int> sequenceCount(std::string_view text)
{
    const auto value = parseInt16(text);
    if (!value)
        return Error{ErrTypeMismatch, "Type mismatch: the number of sets \"" + std::string(trimSpaces(text)) +
                                          "\" is not a whole number"};
    return *value < 1 ? 1 : *value;
}

class Builder
{
public:
    Builder(const ScriptInputs& inputs, ScriptWriterKind kind)
        : m_inputs(inputs), m_tokens(tokensFor(kind)), m_kind(kind)
    {}

    Result<ScriptText> build(int& failedStep)
    {
        if (auto failure = plan()) {
            failedStep = failure->step;
            return std::move(failure->error);
        }
        return assemble();
    }

    // The first pass alone: everything that can fail before the disk is touched.
    std::optional<StepError> prepare() { return plan(); }

    // After prepare: hands every piece of the script, in order, to `put`.
    void emitTo(const ScriptPut& put) const { emit(put); }

    // After prepare: creates or truncates the script and streams the text into it through one
    // fixed buffer, so even a huge list needs no copy of the whole script in memory.
    Status writeTo(const std::string& path, int& failedStep);

    std::optional<UserMessage> placeholderStop() const
    {
        if (!m_stopDescription)
            return std::nullopt;
        return placeholderRoutineMessage(*m_stopDescription);
    }

private:
    static std::optional<StepError> failed(Error error, int step) { return StepError{std::move(error), step}; }

    // First pass: looks up every routine once, asks the read-only state of every drawing and works
    // out the exact size of the script, so the second pass appends into one buffer of that size.
    // Returns the failure, if any.
    std::optional<StepError> plan()
    {
        const auto& rows = m_inputs.rowsToWrite();
        m_openCommand = m_inputs.openCommand == "Unknown" ? std::string(m_tokens.defaultOpen) : m_inputs.openCommand;
        // BricsCAD's commands go without the underscore, the configured open command too, so that
        // "_Open" is written as "Open" and the recover switch still applies to it.
        if (m_kind == ScriptWriterKind::Bricscad && m_openCommand.starts_with('_'))
            m_openCommand.erase(0, 1);
        auto openLine = encode(m_openCommand, "open command");
        if (!openLine)
            return failed(openLine.error(), StepRoutineText);
        m_openLine = std::move(openLine.value()) + "\r\n\"";
        m_recoverLine = std::string(m_tokens.recover) + "\r\n\"";
        m_size = m_tokens.startup.size() + m_tokens.finalQuit.size() + m_tokens.stopTail.size();
        if (const auto& supervised = m_inputs.supervised) {
            if (supervised->commandLog) {
                m_logLine = m_kind == ScriptWriterKind::Bricscad ? "LOGFILEON\r\n" : "_LOGFILEON\r\n";
                m_size += m_logLine.size();
            }
            if (!supervised->progressFolder.empty()) {
                auto folder = lispFolderText(supervised->progressFolder);
                if (!folder)
                    return failed(folder.error(), StepDrawingPath);
                m_progressFolder = std::move(folder.value());
            }
        }
        if (rows.empty())
            return std::nullopt;

        auto count = sequenceCount(m_inputs.sequenceText);
        if (!count)
            return failed(count.error(), StepSequence);
        m_repeat = count.value();
        // Collated: the whole list once per set, each drawing's routine once per opening. Otherwise each
        // drawing is opened once and its routine written once per set.
        m_perOpening = m_inputs.collate ? 1 : m_repeat;
        m_passes = m_inputs.collate ? m_repeat : 1;
        std::size_t rowsSize = 0;

        m_plans.reserve(rows.size());
        std::string fullPath;
        const std::string* lastDescription = nullptr;
        std::uint32_t lastBlock = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const DrawingRow& row = rows[i];
            RowPlan plan;
            if (lastDescription && *lastDescription == row.routine) {
                plan.block = lastBlock;
            } else {
                auto block = blockFor(row.routine);
                if (!block)
                    return failed(block.error(), StepRoutineText);
                plan.block = block.value();
                lastDescription = &row.routine;
                lastBlock = plan.block;
            }
            const Block& block = m_blocks[plan.block];
            if (block.placeholder) {
                m_stopDescription = row.routine;
                // The script ends at this drawing in the first pass through the list.
                m_passes = 1;
                break;
            }

            std::string_view folder = stripTrailingSeparator(row.folder);
            std::string_view file = row.file;
            const NameScan folderScan = scanName(folder);
            const NameScan fileScan = scanName(file);
            if (folderScan.breaksQuotedEntry || fileScan.breaksQuotedEntry) {
                return failed(Error{ErrInvalidText, "The drawing " + joinPath(folder, file) +
                                                        " cannot be written to the script: its name or folder "
                                                        "holds a double quote or a line break."},
                              StepDrawingPath);
            }
            if (!folderScan.ascii || !fileScan.ascii) {
                const std::string path = joinPath(folder, file);
                auto encodedFolder = encode(folder, "drawing " + path);
                if (!encodedFolder)
                    return failed(encodedFolder.error(), StepDrawingPath);
                auto encodedFile = encode(file, "drawing " + path);
                if (!encodedFile)
                    return failed(encodedFile.error(), StepDrawingPath);
                plan.encodedPath = static_cast<std::uint32_t>(m_encodedPaths.size());
                m_encodedPaths.push_back({std::move(encodedFolder.value()), std::move(encodedFile.value())});
                folder = m_encodedPaths.back().folder;
                file = m_encodedPaths.back().file;
            }
            const std::size_t pathSize = folder.size() + 1 + file.size();

            std::size_t routineSize = block.bytes.size();
            if (block.convertDxf) {
                if (file.size() < 3)
                    return failed(withContext(makeError(ErrInvalidProcedureCall), "drawing " + joinPath(folder, file)),
                                  StepConvertDxf);
                routineSize =
                    static_cast<std::size_t>(m_perOpening) * (kDxfStart.size() + pathSize - 3 + kDxfEnd.size());
            }

            if (i < m_inputs.readOnlyRows.size()) {
                plan.readOnly = m_inputs.readOnlyRows[i];
            } else if (m_inputs.isReadOnly) {
                fullPath.assign(stripTrailingSeparator(row.folder));
                fullPath += pathSeparator();
                fullPath += row.file;
                auto readOnly = m_inputs.isReadOnly(fullPath);
                if (!readOnly)
                    return failed(readOnly.error(), StepReadOnly);
                plan.readOnly = readOnly.value();
            }

            rowsSize += progressSize() + (block.recover ? m_recoverLine.size() : m_openLine.size()) + pathSize +
                        (plan.readOnly ? m_tokens.readOnlyAnswer.size() : kPathEnd.size()) + routineSize +
                        std::max(m_tokens.closeTail.size(), m_tokens.quitTail.size());
            m_plans.push_back(plan);
        }
        m_size += rowsSize * static_cast<std::size_t>(m_passes);
        const std::size_t total = m_plans.size() * static_cast<std::size_t>(m_passes);
        m_rangeEnd = total;
        if (const auto& supervised = m_inputs.supervised) {
            m_rangeFirst = std::min(supervised->firstOpening, total);
            if (supervised->openings != 0)
                m_rangeEnd = std::min(total, m_rangeFirst + supervised->openings);
        }
        return std::nullopt;
    }

    // A folder as an AutoLISP string's text, with the separator that ends it: Windows-1252, each backslash
    // doubled. A quote or a line break would end the string or the script's line, so they are refused.
    static Result<std::string> lispFolderText(std::string_view folder)
    {
        folder = stripTrailingSeparator(folder);
        if (scanName(folder).breaksQuotedEntry) {
            return Error{ErrInvalidText, "The run folder " + std::string(folder) +
                                             " cannot be written to the script: it holds a double quote or a line "
                                             "break."};
        }
        auto encoded = encode(std::string(folder) + pathSeparator(), "run folder");
        if (!encoded)
            return encoded.error();
        std::string text;
        for (const char c : encoded.value()) {
            if (c == '\\')
                text += '\\';
            text += c;
        }
        return text;
    }

    // The AutoLISP line that leaves "drawing-N.EVENT" in the run folder, holding "N EVENT". Written at the command
    // prompt; a file that cannot be created gives nil and the line does nothing, so the script never stops at it.
    std::string progressLine(std::size_t number, std::string_view event) const
    {
        const std::string n = std::to_string(number);
        std::string line = "((lambda (f) (write-line \"";
        line += n;
        line += ' ';
        line += event;
        line += "\" f) (if f (close f))) (open \"";
        line += m_progressFolder;
        line += "drawing-";
        line += n;
        line += '.';
        line += event;
        line += "\" \"w\"))\r\n";
        return line;
    }

    // The most the two progress lines of one opening take.
    std::size_t progressSize() const
    {
        if (m_progressFolder.empty())
            return 0;
        const std::size_t most = std::numeric_limits<std::size_t>::max();
        return progressLine(most, kBegun).size() + progressLine(most, kDone).size();
    }

    Result<std::uint32_t> blockFor(const std::string& description)
    {
        if (const auto found = m_index.find(description); found != m_index.end())
            return found->second;

        Block block;
        const std::string upper = toUpperAscii(description);
        block.recover = upper == toUpperAscii(kRecoverDrawings) && m_openCommand == m_tokens.defaultOpen;
        block.convertDxf = upper == toUpperAscii(kConvertDxfR14);
        if (!block.convertDxf) {
            std::string text;
            if (description == kCombinedRoutines)
                text = m_inputs.combinedScript;
            else if (m_inputs.routineText)
                text = m_inputs.routineText(description);
            block.placeholder = toUpperAscii(text) == toUpperAscii(kPlaceholderRoutine);
            if (!block.placeholder) {
                if (holdsLoneLineBreak(text)) {
                    return Error{ErrInvalidText, "The routine " + description +
                                                     " cannot be written to the script: its text holds a line break "
                                                     "that is not a carriage return and line feed pair."};
                }
                auto encoded = encode(text, "routine " + description);
                if (!encoded)
                    return encoded.error();
                const std::string& once = encoded.value();
                block.bytes.reserve((once.size() + kCrLf.size()) * static_cast<std::size_t>(m_perOpening));
                for (int n = 0; n < m_perOpening; ++n) {
                    block.bytes += once;
                    block.bytes += kCrLf;
                }
            }
        }
        const auto index = static_cast<std::uint32_t>(m_blocks.size());
        m_blocks.push_back(std::move(block));
        m_index.emplace(description, index);
        return index;
    }

    // Second pass: hands every piece of the script, in order, to `put`.
    template <typename Put>
    void emit(Put&& put) const
    {
        const auto& rows = m_inputs.rowsToWrite();
        const std::string_view separator(&m_separator, 1);
        const bool supervised = m_inputs.supervised.has_value();
        // A watched script that reaches the end of the list ends as the whole script would.
        const bool stopInRange = m_stopDescription && m_rangeEnd == m_plans.size() * static_cast<std::size_t>(m_passes);
        put(m_logLine);
        bool started = false;
        for (int pass = 0; pass < m_passes; ++pass) {
            const bool lastPass = pass + 1 == m_passes;
            for (std::size_t i = 0; i < m_plans.size(); ++i) {
                const std::size_t opening = static_cast<std::size_t>(pass) * m_plans.size() + i;
                if (opening < m_rangeFirst || opening >= m_rangeEnd)
                    continue;
                const bool last =
                    supervised ? opening + 1 == m_rangeEnd && !stopInRange : lastPass && i + 1 == rows.size();
                const RowPlan& plan = m_plans[i];
                const Block& block = m_blocks[plan.block];
                std::string_view folder;
                std::string_view file;
                if (plan.encodedPath == kAsciiPath) {
                    folder = stripTrailingSeparator(rows[i].folder);
                    file = rows[i].file;
                } else {
                    folder = m_encodedPaths[plan.encodedPath].folder;
                    file = m_encodedPaths[plan.encodedPath].file;
                }

                if (!started)
                    put(m_tokens.startup);
                started = true;
                put(block.recover ? m_recoverLine : m_openLine);
                put(folder);
                put(separator);
                put(file);
                put(plan.readOnly ? m_tokens.readOnlyAnswer : kPathEnd);
                if (!m_progressFolder.empty())
                    put(progressLine(opening + 1, kBegun));
                if (block.convertDxf) {
                    for (int n = 0; n < m_perOpening; ++n) {
                        put(kDxfStart);
                        put(folder);
                        put(separator);
                        put(file.substr(0, file.size() - 3));
                        put(kDxfEnd);
                    }
                } else {
                    put(block.bytes);
                }
                if (!m_progressFolder.empty())
                    put(progressLine(opening + 1, kDone));
                put(last ? m_tokens.quitTail : m_tokens.closeTail);
            }
        }
        put((supervised ? stopInRange : m_stopDescription.has_value()) ? m_tokens.stopTail : m_tokens.finalQuit);
    }

    // The whole script in one buffer of the size the first pass worked out.
    ScriptText assemble() const
    {
        ScriptText script;
        std::string& out = script.bytes;
        out.resize(m_size);
        std::size_t used = 0;
        emit([&out, &used](std::string_view text) {
            // The first pass's size is an upper bound; growing is only a guard against a wrong one.
            if (used + text.size() > out.size())
                out.resize(std::max(out.size() * 2, used + text.size()));
            std::memcpy(out.data() + used, text.data(), text.size());
            used += text.size();
        });
        // The first pass sized the buffer for the longest ending; keep what was written.
        out.resize(used);
        script.placeholderStop = placeholderStop();
        return script;
    }

    const ScriptInputs& m_inputs;
    const Tokens& m_tokens;
    ScriptWriterKind m_kind;
    std::string m_openCommand;
    std::string m_openLine;    // open command + line break + opening quote of the path
    std::string m_recoverLine; // the same for the recover switch
    int m_repeat = 1;          // number of sets
    int m_perOpening = 1;      // routine texts written each time a drawing is opened
    int m_passes = 1;          // times the whole list is walked
    std::vector<Block> m_blocks;
    std::map<std::string, std::uint32_t, std::less<>> m_index;
    std::vector<RowPlan> m_plans;
    std::vector<EncodedPath> m_encodedPaths;
    std::optional<std::string> m_stopDescription;
    std::string m_logLine;        // LOGFILEON for a watched run that keeps the host's log
    std::string m_progressFolder; // the run folder as AutoLISP text, when the AutoLISP lines are written
    std::size_t m_rangeFirst = 0; // the openings this script covers
    std::size_t m_rangeEnd = 0;
    std::size_t m_size = 0;
    char m_separator = pathSeparator();
};

Error systemError(int err, const std::string& path, bool opening)
{
    if (err == 0)
        err = EIO;
    const std::error_code code(err, std::generic_category());
    // Opening for output creates the file, so a missing entry can only be the folder.
    if (opening && (code == std::errc::no_such_file_or_directory || code == std::errc::not_a_directory))
        return makeError(ErrPathNotFound, path);
    return errorFor(code, path);
}

// Creates or truncates the script and streams the text into it through one fixed buffer.
Status Builder::writeTo(const std::string& path, int& failedStep)
{
    errno = 0;
    std::FILE* file = openFile(path, "wb");
    if (!file) {
        failedStep = StepOpenFile;
        return systemError(errno, path, true);
    }
    std::setvbuf(file, nullptr, _IONBF, 0);
    constexpr std::size_t kChunk = 1 << 20;
    const std::unique_ptr<char[]> buffer(new char[kChunk]);
    std::size_t used = 0;
    int writeError = 0;
    const auto writeOut = [&](const char* data, std::size_t size) {
        if (writeError == 0 && size > 0 && std::fwrite(data, 1, size, file) != size)
            writeError = errno ? errno : EIO;
    };
    const auto flush = [&] {
        writeOut(buffer.get(), used);
        used = 0;
    };
    errno = 0;
    // Every piece is copied into one fixed buffer that goes out whenever it is full.
    emit([&](std::string_view text) {
        if (used + text.size() > kChunk) {
            flush();
            if (text.size() > kChunk) {
                writeOut(text.data(), text.size());
                return;
            }
        }
        std::memcpy(buffer.get() + used, text.data(), text.size());
        used += text.size();
    });
    flush();
    if (writeError != 0) {
        failedStep = StepWriteFile;
        std::fclose(file);
        return systemError(writeError, path, false);
    }
    errno = 0;
    if (std::fclose(file) != 0) {
        failedStep = StepCloseFile;
        return systemError(errno, path, false);
    }
    return {};
}

// Writes the prepared script at result.path: one write, so a failure leaves `launch` false.
ScriptResult saveScript(Builder& builder, ScriptResult& result, ScriptWriterKind kind, const ScriptSave& save)
{
    int step = StepWriteFile;
    const Status written = save ? save(result.path, [&builder](const ScriptPut& put) { builder.emitTo(put); })
                                : builder.writeTo(result.path, step);
    if (!written) {
        result.messages.push_back(scriptWriterErrorMessage(kind, written.error(), step));
        return std::move(result);
    }
    result.written = true;
    result.launch = true;
    if (auto stop = builder.placeholderStop())
        result.messages.push_back(std::move(*stop));
    return std::move(result);
}

std::string numberedScriptPath(const std::string& folder, int counter)
{
    if (counter == 0)
        return joinPath(folder, kScriptFileName);
    return joinPath(folder, "Batch" + std::to_string(counter) + ".scr");
}

} // namespace

std::size_t scriptOpenings(const ScriptInputs& inputs)
{
    const auto sets = sequenceCount(inputs.sequenceText);
    const std::size_t passes = inputs.collate && sets ? static_cast<std::size_t>(sets.value()) : 1;
    return inputs.rowsToWrite().size() * passes;
}

std::string supervisedScriptName(std::size_t firstOpening)
{
    std::string number = std::to_string(firstOpening + 1);
    if (number.size() < 4)
        number.insert(0, 4 - number.size(), '0');
    return "Batch-" + number + ".scr";
}

std::string_view writerRoutineName(ScriptWriterKind kind)
{
    switch (kind) {
    case ScriptWriterKind::Zwcad:
        return "LoopThroughListZWCAD";
    case ScriptWriterKind::Bricscad:
        return "LoopThroughListBricscad";
    case ScriptWriterKind::General:
        break;
    }
    return "LoopThroughList";
}

UserMessage scriptWriterErrorMessage(ScriptWriterKind kind, const Error& error, int step)
{
    std::string routine(writerRoutineName(kind));
    std::string text;
    if (error.number == ErrPermissionDenied) {
        const std::string host = kind == ScriptWriterKind::Zwcad ? "ZWCAD" : "AutoCAD";
        text = "If Quorvel has just started " + host + ", then " + host + " has the script file locked\r\n";
        text += "To run a concurrent session start another session of Quorvel\r\n";
        text += "If this is not the case then please contact us with this error message.\r\n";
        if (kind == ScriptWriterKind::General)
            routine += " Ver 11.0";
    }
    text += "Error Number " + std::to_string(error.number) + " in routine " + routine + " " + std::to_string(step) +
            "\r\n\r\n" + error.description;
    return UserMessage{std::move(text), "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
}

UserMessage placeholderRoutineMessage(const std::string& description)
{
    static constexpr std::string_view kLines[] = {
        "Firstly you have to set up this routine by using the Automatic",
        "Routine Creation Wizards. These wizards make routine writing easy",
        "",
        "1.  Start Quorvel",
        "2.  The main screen will appear.",
        "3.  Click the Add New / Edit Routines Button.",
        "4.  Select the required tab.",
        "5.  Select the features and options you want.",
        "6.  Click on save",
        "7.  In the Save Routine box add a unique description, ",
        "     or select one from the list to update.",
        "8.  Select whether you want the routine to appear in Favourites",
        "9.  Click save.",
        "10. This routine will be saved in the routine database.",
        "11. Back in the main screen your new routine can now be assigned",
        "    to any drawings you wish to process.",
    };
    std::string text;
    for (const auto line : kLines) {
        text += line;
        text += kCrLf;
    }
    return UserMessage{std::move(text), "Error in Routine " + description, MessageIcon::Information,
                       MessageButtons::Ok};
}

ScriptPathChoice chooseScriptPath(std::string_view scriptFolder, const ScriptProbe& probe, const AskUser& ask)
{
    const std::string folder(stripTrailingSeparator(scriptFolder));
    ScriptPathChoice choice;
    choice.path = numberedScriptPath(folder, 0);
    int counter = 0;
    int errorNumber = 1;
    int lastError = 0;
    bool free = false;
    while (errorNumber != 0) {
        const int probed = probe ? probe(choice.path) : 0;
        if (probed == 0 || probed == ErrFileNotFound) {
            free = true;
            break;
        }
        errorNumber = lastError = probed;
        if (counter == kMaxNumberedScripts)
            errorNumber = 0;
        ++counter;
        switch (errorNumber) {
        case ErrPermissionDenied:
        case ErrPathFileAccess:
            choice.path = numberedScriptPath(folder, counter);
            break;
        case ErrPathNotFound: {
            choice.folderInvalid = true;
            const UserMessage question{"The location for the Batch.scr file is not valid. To reset the location by "
                                       "redoing the startup sequence Press OK.",
                                       "Reset Startup Sequence", MessageIcon::None, MessageButtons::OkCancel};
            choice.resetStartup = ask && ask(question) == MessageAnswer::Ok;
            return choice;
        }
        default:
            choice.path = numberedScriptPath(folder, 0);
            break;
        }
    }
    // Every candidate was locked: writing now would truncate a script a running host still reads.
    if (!free)
        choice.error = makeError(lastError, choice.path);
    return choice;
}

Result<ScriptText> buildScript(const ScriptInputs& inputs, ScriptWriterKind kind)
{
    int step = 0;
    return Builder(inputs, kind).build(step);
}

ScriptResult writeBatchScript(const ScriptInputs& inputs, ScriptWriterKind kind, const ScriptProbe& probe,
                              const AskUser& ask, const ScriptSave& save)
{
    ScriptResult result;
    result.path = numberedScriptPath(std::string(stripTrailingSeparator(inputs.scriptFolder)), 0);

    // Everything that can fail is settled before the disk is touched, so a failure leaves whatever
    // is on disk untouched.
    Builder builder(inputs, kind);
    if (auto failure = builder.prepare()) {
        result.messages.push_back(scriptWriterErrorMessage(kind, failure->error, failure->step));
        return result;
    }

    if (inputs.supervised) {
        // A watched run's folder is its own: one script per host start, named by its first drawing.
        result.path = joinPath(stripTrailingSeparator(inputs.scriptFolder),
                               supervisedScriptName(inputs.supervised->firstOpening));
        const int probed = probe ? probe(result.path) : 0;
        if (probed != 0 && probed != ErrFileNotFound) {
            result.messages.push_back(scriptWriterErrorMessage(kind, makeError(probed, result.path), StepChoosePath));
            return result;
        }
        return saveScript(builder, result, kind, save);
    }
    const ScriptPathChoice choice = chooseScriptPath(inputs.scriptFolder, probe, ask);
    result.path = choice.path;
    if (choice.folderInvalid) {
        result.resetStartup = choice.resetStartup;
        return result;
    }
    if (choice.error) {
        result.messages.push_back(scriptWriterErrorMessage(kind, *choice.error, StepChoosePath));
        return result;
    }

    return saveScript(builder, result, kind, save);
}

ScriptResult writeGeneralScript(const ScriptInputs& inputs, const ScriptProbe& probe, const AskUser& ask)
{
    return writeBatchScript(inputs, ScriptWriterKind::General, probe, ask);
}

ScriptResult writeZwcadScript(const ScriptInputs& inputs, const ScriptProbe& probe, const AskUser& ask)
{
    return writeBatchScript(inputs, ScriptWriterKind::Zwcad, probe, ask);
}

ScriptResult writeBricscadScript(const ScriptInputs& inputs, const ScriptProbe& probe, const AskUser& ask)
{
    return writeBatchScript(inputs, ScriptWriterKind::Bricscad, probe, ask);
}

} // namespace qv
