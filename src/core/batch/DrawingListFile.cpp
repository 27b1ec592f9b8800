#include "DrawingListFile.h"

#include "batch/DrawingList.h"
#include "batch/ScriptWriter.h"
#include "io/FileIo.h"
#include "text/CodePage.h"
#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <filesystem>

namespace qv {
namespace {

const std::string kCrLfText(kCrLf);
const std::string kQuorvelError = "Quorvel Error";

UserMessage unstorableRowMessage(const DrawingRow& row, const std::string& why)
{
    return UserMessage{"The row of the drawing " + row.file + " cannot be saved in a drawing list file:" + kCrLfText +
                           why + kCrLfText,
                       kQuorvelError, MessageIcon::Exclamation, MessageButtons::Ok};
}

std::vector<UserMessage> refuse(UserMessage first)
{
    return {std::move(first), listNotSavedMessage()};
}

// Names the row and field that Windows-1252 cannot hold (only looked for once encoding has failed).
UserMessage codePageRefusal(const DrawingRows& rows, const Error& error)
{
    for (const DrawingRow& row : rows) {
        for (const std::string* field : {&row.file, &row.folder, &row.routine}) {
            auto encoded = utf8ToCp1252(*field);
            if (!encoded.ok())
                return unstorableRowMessage(row, encoded.error().description);
        }
    }
    return UserMessage{error.description, kQuorvelError, MessageIcon::Exclamation, MessageButtons::Ok};
}

bool isSpace(char c)
{
    return c == ' ';
}

// Reads the three fields of one line (no line break in it). Returns the reason when it is not a
// drawing list line.
std::optional<std::string> parseLine(std::string_view line, DrawingRow& row)
{
    std::string* const fields[3] = {&row.file, &row.folder, &row.routine};
    std::size_t p = 0;
    for (int f = 0; f < 3; ++f) {
        while (p < line.size() && isSpace(line[p]))
            ++p;
        if (p < line.size() && line[p] == '"') {
            const std::size_t close = line.find('"', p + 1);
            if (close == std::string_view::npos)
                return "a quoted field has no closing quote";
            fields[f]->assign(line.substr(p + 1, close - p - 1));
            p = close + 1;
            while (p < line.size() && isSpace(line[p]))
                ++p;
        } else {
            const std::size_t end = std::min(line.find(',', p), line.size());
            const std::string_view raw = line.substr(p, end - p);
            if (raw.find('"') != std::string_view::npos)
                return "a double quote inside an unquoted field";
            fields[f]->assign(trimSpaces(raw));
            p = end;
        }
        if (f < 2) {
            if (p >= line.size())
                return "fewer than three fields";
            if (line[p] != ',')
                return "text after a closing quote";
            ++p;
        } else if (p < line.size()) {
            return line[p] == ',' ? "more than three fields" : "text after a closing quote";
        }
    }
    if (row.file.empty())
        return "the drawing file name is empty";
    if (row.folder.empty())
        return "the folder is empty";
    return std::nullopt;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Well-formed UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        unsigned min = 0;
        unsigned code = c;
        if (c >= 0xF0 && c <= 0xF4) {
            length = 4, min = 0x10000, code = c & 0x07u;
        } else if (c >= 0xE0) {
            length = c <= 0xEF ? 3 : 0, min = 0x800, code = c & 0x0Fu;
        } else if (c >= 0xC2) {
            length = 2, min = 0x80, code = c & 0x1Fu;
        } else if (c >= 0x80) {
            return false;
        }
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

bool holdsControlCharacter(std::string_view line)
{
    for (const char c : line) {
        if (static_cast<unsigned char>(c) < 0x20)
            return true;
    }
    return false;
}

} // namespace

UserMessage noDrawingsListedMessage()
{
    return UserMessage{"There are no Drawings Listed", "Save List Error", MessageIcon::None, MessageButtons::Ok};
}

std::optional<UserMessage> unsavedCombinationWarning(const DrawingRows& rows)
{
    const auto carrying =
        std::count_if(rows.begin(), rows.end(), [](const DrawingRow& row) { return row.routine == kCombinedRoutines; });
    if (carrying == 0)
        return std::nullopt;
    const std::string drawings = carrying == 1 ? std::string("1 drawing") : std::to_string(carrying) + " drawings";
    return UserMessage{drawings + " of this list carry \"" + std::string(kCombinedRoutines) +
                           "\", a combination that Quorvel keeps only until it closes. Retrieved later, or run "
                           "unattended, the list has no routine for them." +
                           kCrLfText + kCrLfText +
                           "To keep the combination, press \"Save as Routine...\" in the Combine window; the "
                           "drawings then carry the saved routine." +
                           kCrLfText + kCrLfText + "Save the list anyway?",
                       std::string(kSaveListTitle), MessageIcon::Exclamation, MessageButtons::YesNo};
}

bool checkRoutineName(std::string_view description)
{
    return description.find('"') == std::string_view::npos;
}

UserMessage routineNameQuoteMessage()
{
    return UserMessage{"The use of the character  \"  in the routine name causes a fault when retrieveing" + kCrLfText +
                           "the list from the file. Please rename this routine description without the character  \"" +
                           kCrLfText,
                       kQuorvelError, MessageIcon::Information, MessageButtons::Ok};
}

UserMessage listNotSavedMessage()
{
    return UserMessage{"The drawing list has not been saved.", kQuorvelError, MessageIcon::Information,
                       MessageButtons::Ok};
}

UserMessage writeListErrorMessage(const Error& error)
{
    const std::string twoBreaks = kCrLfText + kCrLfText;
    return UserMessage{formatErrorMessage(error, "WriteList") + twoBreaks +
                           "Lists created by earlier versions of Quorvel will not " + kCrLfText +
                           "work with the new improved version. We apologise for any inconvenience. " + twoBreaks +
                           "If this keeps happening, please report it to Quorvel support" + kCrLfText +
                           "with the details of this message." + twoBreaks + "Thank You",
                       kQuorvelError, MessageIcon::Critical, MessageButtons::Ok};
}

EncodedList encodeList(const DrawingRows& rows)
{
    EncodedList out;
    for (const DrawingRow& row : rows) {
        if (!checkRoutineName(row.routine)) {
            out.refusal = refuse(routineNameQuoteMessage());
            return out;
        }
    }
    std::size_t size = 0;
    for (const DrawingRow& row : rows) {
        // Only what the reader takes back is written: no control character anywhere, no empty folder.
        if (isUnsafeName(row.file) || isUnsafeName(row.folder) || holdsControlCharacter(row.routine)) {
            out.refusal = refuse(unstorableRowMessage(
                row, "a control character (such as a line break or a tab) or a double quote in its name, folder or "
                     "routine."));
            return out;
        }
        if (row.file.empty() || row.folder.empty()) {
            out.refusal = refuse(unstorableRowMessage(row, "its file name or folder is empty."));
            return out;
        }
        size += row.file.size() + row.folder.size() + row.routine.size() + 10;
    }
    std::string text;
    text.reserve(size);
    for (const DrawingRow& row : rows) {
        text += '"';
        text += row.file;
        text += "\",\"";
        text += row.folder;
        text += "\",\"";
        text += row.routine;
        text += '"';
        text += kCrLf;
    }
    auto encoded = utf8ToCp1252(text);
    if (!encoded.ok()) {
        out.refusal = refuse(codePageRefusal(rows, encoded.error()));
        return out;
    }
    out.bytes = std::move(encoded).value();
    return out;
}

std::string withListExtension(std::string_view fileName)
{
    const std::size_t separator = fileName.find_last_of("/\\");
    const std::string_view name = separator == std::string_view::npos ? fileName : fileName.substr(separator + 1);
    // A leading dot names a hidden file, not an extension.
    const std::size_t dot = name.find_last_of('.');
    if (name.empty() || (dot != std::string_view::npos && dot > 0))
        return std::string(fileName);
    return std::string(fileName) + ".qvl";
}

ListSaveOutcome writeList(const std::string& fileName, const DrawingRows& rows)
{
    EncodedList encoded = encodeList(rows);
    if (!encoded.ok())
        return {false, std::move(encoded.refusal)};
    if (fileName.empty())
        return {false, {writeListErrorMessage(makeError(ErrBadFileNameOrNumber))}};
    const Status written = writeFileAtomically(fileName, encoded.bytes);
    if (!written.ok())
        return {false, {writeListErrorMessage(written.error())}};
    return {true, {}};
}

namespace {

// Reads a list file a block at a time: each line is decoded on its own, so a list of a million drawings
// is never held whole beside the rows made of it.
class ListParser
{
public:
    explicit ListParser(std::size_t expectedRows) { reserve(expectedRows); }
    void reserve(std::size_t rows) { m_out.rows.reserve(rows); }

    void feed(std::string_view block)
    {
        while (!m_stopped && !block.empty()) {
            const std::size_t lf = block.find('\n');
            if (lf == std::string_view::npos) {
                m_pending.append(block);
                return;
            }
            if (m_pending.empty()) {
                line(block.substr(0, lf));
            } else {
                m_pending.append(block.substr(0, lf));
                line(m_pending);
                m_pending.clear();
            }
            block.remove_prefix(lf + 1);
        }
    }

    ParsedList finish()
    {
        if (!m_stopped && !m_pending.empty())
            line(m_pending);
        return std::move(m_out);
    }

private:
    void line(std::string_view raw)
    {
        ++m_lineNumber;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        // Editors that save "UTF-8 with BOM" start the file with the mark: it is no part of the first name,
        // and it says how the rest is written.
        if (m_lineNumber == 1 && raw.starts_with(kUtf8Bom)) {
            raw.remove_prefix(kUtf8Bom.size());
            m_utf8 = true;
        }
        // A UTF-8 line is taken as such only when every character fits the list's own character set: a row
        // must save back as it was read, and the host's script holds Windows-1252 alone.
        const std::string text =
            m_utf8 && isValidUtf8(raw) && fitsCp1252(raw) ? std::string(raw) : cp1252ToUtf8(raw);
        if (holdsControlCharacter(text)) {
            m_out.lineError = ListLineError{m_lineNumber, "a control character or binary data"};
            m_stopped = true;
            return;
        }
        if (trimSpaces(text).empty())
            return;
        DrawingRow row;
        if (auto reason = parseLine(text, row)) {
            m_out.lineError = ListLineError{m_lineNumber, std::move(*reason)};
            m_stopped = true;
            return;
        }
        m_out.rows.push_back(std::move(row));
    }

    ParsedList m_out;
    std::string m_pending;
    std::size_t m_lineNumber = 0;
    bool m_stopped = false;
    bool m_utf8 = false; // the file began with a UTF-8 byte-order mark
};

} // namespace

ParsedList parseList(std::string_view bytes)
{
    ListParser parser(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    parser.feed(bytes);
    return parser.finish();
}

RetrievedList applyCatalogue(ParsedList parsed, const DescriptionExistsFn& descriptionExists)
{
    RetrievedList out;
    out.rows = std::move(parsed.rows);
    out.lineError = std::move(parsed.lineError);
    for (DrawingRow& row : out.rows) {
        if (!descriptionExists || !descriptionExists(trimSpaces(row.routine))) {
            row.routine.clear();
            out.missing = true;
        }
    }
    return out;
}

RetrievedList retrieveList(const std::string& fileName, const DescriptionExistsFn& descriptionExists,
                           const ListBlockReader& read)
{
    if (fileName.empty()) {
        RetrievedList out;
        out.error = makeError(ErrBadFileNameOrNumber);
        return out;
    }
    constexpr std::size_t kBlock = 1 << 20;
    const ListBlockReader readBlocks =
        read ? read : [](const std::string& path, const std::function<void(std::string_view)>& block) {
            return readFileInBlocks(path, kBlock, block);
        };
    // The rows are made in one allocation where the size of the file tells how many there will be (a pipe
    // has none: its rows grow as they come).
    std::error_code ec;
    const std::uintmax_t fileSize = std::filesystem::file_size(pathFromUtf8(fileName), ec);
    ListParser parser(0);
    bool first = true;
    Status status = readBlocks(fileName, [&](std::string_view block) {
        if (first && !ec && fileSize > block.size()) {
            const auto lines = static_cast<std::uintmax_t>(std::count(block.begin(), block.end(), '\n')) + 1;
            parser.reserve(static_cast<std::size_t>(fileSize / block.size() * lines + lines));
        }
        first = false;
        parser.feed(block);
    });
    if (!status.ok()) {
        RetrievedList out;
        out.error = status.error();
        return out;
    }
    return applyCatalogue(parser.finish(), descriptionExists);
}

std::vector<UserMessage> retrieveMessages(const RetrievedList& list, const std::string& fileName)
{
    std::vector<UserMessage> messages;
    if (list.error)
        messages.push_back(retrieveListErrorMessage(*list.error, fileName));
    if (list.lineError)
        messages.push_back(listLineErrorMessage(*list.lineError, fileName));
    if (list.missing)
        messages.push_back(missingRoutinesMessage());
    return messages;
}

bool replacesDrawingList(const RetrievedList& list)
{
    return !list.error && !list.lineError;
}

bool stopsCommandLineRun(const RetrievedList& list)
{
    return list.error.has_value() || list.lineError.has_value();
}

UserMessage retrieveListErrorMessage(const Error& error, const std::string& fileName)
{
    // The list file named, whatever went wrong, so the user knows which file to look for.
    const std::string named = fileName.empty() ? std::string("No list file was named.")
                                               : "The drawing list file was:" + std::string(kCrLfText) + fileName;
    if (error.number == ErrBadFileNameOrNumber || error.number == ErrFileNotFound) {
        return UserMessage{"Error Number " + std::to_string(error.number) + " in routine RetrieveList " + kCrLfText +
                               kCrLfText + "Please make sure that the correct filename and path" + kCrLfText +
                               "has been passed to Quorvel for processing." + kCrLfText + kCrLfText + named,
                           kQuorvelError, MessageIcon::Critical, MessageButtons::Ok};
    }
    UserMessage message = errorMessage(error, "RetrieveList");
    message.text += std::string(kCrLfText) + kCrLfText + named;
    return message;
}

UserMessage listLineErrorMessage(const ListLineError& lineError, const std::string& fileName)
{
    return UserMessage{"Line " + std::to_string(lineError.line) + " of the drawing list file" + kCrLfText + fileName +
                           kCrLfText + "cannot be read: " + lineError.reason + "." + kCrLfText + kCrLfText +
                           "The drawing list has not been changed." + kCrLfText,
                       kQuorvelError, MessageIcon::Critical, MessageButtons::Ok};
}

UserMessage missingRoutinesMessage()
{
    return UserMessage{"One or more of the routine names in the retrieved file are not in the database." + kCrLfText +
                           "Please update the Drawings to be Processed list before proceeding ",
                       kQuorvelError, MessageIcon::Critical, MessageButtons::Ok};
}

} // namespace qv
