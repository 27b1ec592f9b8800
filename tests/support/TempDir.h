#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

// A fresh folder under the system temp folder (or `base`), removed with everything in it at the end of the
// test. Its name holds letters outside ASCII, so every test that uses it also checks that such paths work.
// Paths go in and out as UTF-8, as the program holds them.
class TempDir
{
public:
    explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path())
    {
        std::random_device rd;
        m_path = base / toPath("quorvel-t\xC3\xA9st-\xC3\xA0-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir()
    {
        // Read-only entries first become writable: Windows deletes no read-only file.
        std::error_code ec;
        const auto writable = [&](const std::filesystem::path& p) {
            std::filesystem::permissions(p, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        };
        writable(m_path);
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            writable(it->path());
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path() const { return toUtf8(m_path); }
    std::string file(const std::string& name) const { return toUtf8(native(name)); }
    // The same path for std::filesystem and the streams (a std::string is not read as UTF-8 on Windows).
    // "/" in a name becomes the system's separator.
    std::filesystem::path native(const std::string& name) const { return (m_path / toPath(name)).make_preferred(); }

    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(m_path / toPath(name), std::ios::binary);
        out << bytes;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(m_path / toPath(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static std::filesystem::path toPath(const std::string& utf8)
    {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    }
    static std::string toUtf8(const std::filesystem::path& path)
    {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }

private:
    std::filesystem::path m_path;
};
