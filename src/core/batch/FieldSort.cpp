#include "FieldSort.h"

#include "batch/DrawingList.h"
#include "config/Settings.h"
#include "text/TextUtil.h"

namespace qv {

std::string fileNameField(std::string_view fileName, std::string_view delimiter, int fieldNumber)
{
    std::string name(fileName);
    if (toUpperAscii(name).find(".DWG") != std::string::npos) {
        std::string stripped;
        stripped.reserve(name.size());
        for (std::size_t pos = 0;;) {
            const std::size_t hit = name.find(".dwg", pos);
            stripped.append(name, pos, hit == std::string::npos ? std::string::npos : hit - pos);
            if (hit == std::string::npos)
                break;
            pos = hit + 4;
        }
        name = std::move(stripped);
    }
    if (fieldNumber < 1)
        return {};
    const bool splits = delimiter.size() == 1;
    int index = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !(splits && name[i] == delimiter.front()))
            continue;
        if (index == fieldNumber)
            return name.substr(start, i - start);
        ++index;
        start = i + 1;
    }
    return {};
}

void sortByField(DrawingRows& rows, std::string_view delimiter, std::string_view fieldNumber)
{
    const std::optional<int> number = parseFieldNumber(fieldNumber);
    for (DrawingRow& row : rows)
        row.key = number ? fileNameField(row.file, delimiter, *number) : std::string();
    sortByColumn(rows, ColumnSort{3, false});
}

} // namespace qv
