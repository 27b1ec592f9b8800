#include "FileSearch.h"

#include "io/FileIo.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace qv {
namespace {

namespace fs = std::filesystem;

std::string utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The path as compared with the folders never entered: generic separators, no trailing one.
std::string comparable(const fs::path& path)
{
    const std::u8string generic = path.lexically_normal().generic_u8string();
    std::string text(generic.begin(), generic.end());
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

bool isAtOrBelow(const std::string& folder, const std::string& top)
{
    if (top.empty() || folder.size() < top.size() || folder.compare(0, top.size(), top) != 0)
        return false;
    return folder.size() == top.size() || folder[top.size()] == '/' || top.back() == '/';
}

template <typename Char> Char foldAscii(Char c)
{
    return c >= Char('a') && c <= Char('z') ? Char(c - Char('a') + Char('A')) : c;
}

class TreeWalk
{
public:
    TreeWalk(const std::string& name, const FileSearchOptions& options, std::vector<std::string> excluded)
        : m_name(pathFromUtf8(name).native()), m_options(options), m_excluded(std::move(excluded))
    {
    }

    bool stopped() const { return m_options.stop.stop_requested(); }

    std::string walk(const fs::path& start)
    {
        if (m_name.empty())
            return {};
        std::vector<fs::path> pending{start};
        while (!pending.empty() && !stopped()) {
            const fs::path folder = std::move(pending.back());
            pending.pop_back();
            if (excluded(folder))
                continue;
            if (m_options.onFolder)
                m_options.onFolder(utf8(folder));
            std::vector<fs::path> subfolders;
            if (std::string hit = search(folder, subfolders); !hit.empty())
                return hit;
            // Pushed in reverse so that the first subfolder by name is walked next. Siblings differ only in
            // their last part, so comparing the whole paths orders them by name.
            std::sort(subfolders.begin(), subfolders.end(),
                      [](const fs::path& a, const fs::path& b) { return a.native() > b.native(); });
            for (fs::path& subfolder : subfolders)
                pending.push_back(std::move(subfolder));
        }
        return {};
    }

private:
    bool excluded(const fs::path& folder) const
    {
        const std::string text = comparable(folder);
        return std::any_of(m_excluded.begin(), m_excluded.end(),
                           [&](const std::string& top) { return isAtOrBelow(text, top); });
    }

    // Looks for the name among the folder's entries and gathers its subfolders (links excluded).
    std::string search(const fs::path& folder, std::vector<fs::path>& subfolders) const
    {
        std::error_code ec;
        fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const fs::directory_entry& entry = *it;
            // The kinds come from the listing itself where the system gives them: no call per entry.
            std::error_code typeError;
            const bool link = entry.is_symlink(typeError);
            if (typeError)
                continue;
            if (!link && entry.is_directory(typeError)) {
                subfolders.push_back(entry.path());
                continue;
            }
            if (typeError || !isNamed(entry.path()))
                continue;
            // A link to a file counts as the file; a link to a folder of that name does not.
            if (link && !fs::is_regular_file(entry.status(typeError)))
                continue;
            return utf8(entry.path());
        }
        return {};
    }

    // Whether the path's last part is the name searched for, letter case aside. Called for every entry of
    // every folder, so it compares in place instead of building strings.
    bool isNamed(const fs::path& path) const
    {
        const fs::path::string_type& full = path.native();
        if (full.size() < m_name.size())
            return false;
        const std::size_t start = full.size() - m_name.size();
        if (start > 0 && full[start - 1] != fs::path::preferred_separator && full[start - 1] != '/')
            return false;
        for (std::size_t i = 0; i < m_name.size(); ++i) {
            if (foldAscii(full[start + i]) != foldAscii(m_name[i]))
                return false;
        }
        return true;
    }

    fs::path::string_type m_name;
    const FileSearchOptions& m_options;
    std::vector<std::string> m_excluded;
};

std::vector<std::string> comparableFolders(const std::vector<std::string>& folders)
{
    std::vector<std::string> out;
    for (const std::string& folder : folders) {
        if (!folder.empty())
            out.push_back(comparable(pathFromUtf8(folder)));
    }
    return out;
}

} // namespace

std::string findFileInTree(const std::string& start, const std::string& name, const FileSearchOptions& options)
{
    return findFileInTrees({start}, name, options);
}

std::string findFileInTrees(const std::vector<std::string>& starts, const std::string& name,
                            const FileSearchOptions& options)
{
    std::vector<std::string> excluded = comparableFolders(options.neverEnter);
    for (const std::string& start : starts) {
        if (start.empty() || options.stop.stop_requested())
            continue;
        const fs::path folder = pathFromUtf8(start);
        std::error_code ec;
        // A start that is missing (a machine without that folder) simply holds nothing.
        if (!fs::is_directory(folder, ec))
            continue;
        TreeWalk walk(name, options, excluded);
        if (std::string hit = walk.walk(folder); !hit.empty())
            return hit;
        excluded.push_back(comparable(folder));
    }
    return {};
}

} // namespace qv
