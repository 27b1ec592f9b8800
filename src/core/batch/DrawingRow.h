#pragma once

#include <string>
#include <vector>

namespace qv {

// One row of the drawing list: the work queue of a batch, processed top to bottom.
struct DrawingRow
{
    std::string file;    // "Drawing File": name with extension, no folder
    std::string folder;  // "Folder": normally without a final separator (one is tolerated)
    std::string routine; // "Routine": description of the assigned routine, empty until assigned
    std::string key;     // "Num": sort key after a sort by field, else empty

    bool operator==(const DrawingRow&) const = default;
};

using DrawingRows = std::vector<DrawingRow>;

} // namespace qv
