#include "FileSearch.h"

#include "io/FileIo.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <functional>
#include <filesystem>
#include <system_error>

namespace qv {
namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The path as compared with the folders never entered: generic separators, no trailing one.
std::string Comparable(const fs::path& path)
{
    const std::u8string generic = path.lexically_normal().generic_u8string();
    std::string text(generic.begin(), generic.end());
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

bool IsAtOrBelow(const std::string& folder, const std::string& top)
{
    if (top.empty() || folder.size() < top.size() || folder.compare(0, top.size(), top) != 0)
        return false;
    return folder.size() == top.size() || folder[top.size()] == '/' || top.back() == '/';
}

class TreeWalk
{
public:
    TreeWalk(const std::string& name, const FileSearchOptions& options, std::vector<std::string> excluded)
        : m_upperName(ToUpperAscii(name)), m_options(options), m_excluded(std::move(excluded))
    {
    }

    bool stopped() const { return m_options.stop.stop_requested(); }

    std::string walk(const fs::path& start)
    {
        if (m_upperName.empty())
            return {};
        std::vector<fs::path> pending{start};
        while (!pending.empty() && !stopped()) {
            const fs::path folder = std::move(pending.back());
            pending.pop_back();
            if (excluded(folder))
                continue;
            if (m_options.onFolder)
                m_options.onFolder(Utf8(folder));
            std::vector<fs::path> subfolders;
            if (std::string hit = search(folder, subfolders); !hit.empty())
                return hit;
            // Pushed in reverse so that the first subfolder by name is walked next.
            std::sort(subfolders.begin(), subfolders.end(), std::greater<>());
            for (fs::path& subfolder : subfolders)
                pending.push_back(std::move(subfolder));
        }
        return {};
    }

private:
    bool excluded(const fs::path& folder) const
    {
        const std::string text = Comparable(folder);
        return std::any_of(m_excluded.begin(), m_excluded.end(),
                           [&](const std::string& top) { return IsAtOrBelow(text, top); });
    }

    // Looks for the name among the folder's entries and gathers its subfolders (links excluded).
    std::string search(const fs::path& folder, std::vector<fs::path>& subfolders) const
    {
        std::error_code ec;
        fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const fs::directory_entry& entry = *it;
            std::error_code statusError;
            const fs::file_status own = entry.symlink_status(statusError);
            if (statusError)
                continue;
            if (fs::is_directory(own)) {
                subfolders.push_back(entry.path());
                continue;
            }
            if (ToUpperAscii(Utf8(entry.path().filename())) != m_upperName)
                continue;
            // A link to a file counts as the file; a link to a folder of that name does not.
            if (fs::is_symlink(own) && !fs::is_regular_file(entry.status(statusError)))
                continue;
            return Utf8(entry.path());
        }
        return {};
    }

    std::string m_upperName;
    const FileSearchOptions& m_options;
    std::vector<std::string> m_excluded;
};

std::vector<std::string> ComparableFolders(const std::vector<std::string>& folders)
{
    std::vector<std::string> out;
    for (const std::string& folder : folders) {
        if (!folder.empty())
            out.push_back(Comparable(PathFromUtf8(folder)));
    }
    return out;
}

} // namespace

std::string FindFileInTree(const std::string& start, const std::string& name, const FileSearchOptions& options)
{
    return FindFileInTrees({start}, name, options);
}

std::string FindFileInTrees(const std::vector<std::string>& starts, const std::string& name,
                            const FileSearchOptions& options)
{
    std::vector<std::string> excluded = ComparableFolders(options.neverEnter);
    for (const std::string& start : starts) {
        if (start.empty() || options.stop.stop_requested())
            continue;
        const fs::path folder = PathFromUtf8(start);
        std::error_code ec;
        // A start that is missing (a machine without that folder) simply holds nothing.
        if (!fs::is_directory(folder, ec))
            continue;
        TreeWalk walk(name, options, excluded);
        if (std::string hit = walk.walk(folder); !hit.empty())
            return hit;
        excluded.push_back(Comparable(folder));
    }
    return {};
}

} // namespace qv
