// The floor of an unattended run, for the end-to-end benchmark: reads the same drawing list file, asks
// for each drawing's attributes once, and writes the given script bytes with one write.
//
//   bench_FloorRun LIST.qvl REFERENCE.scr OUT.scr
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>

static std::string readWhole(const char* path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_FloorRun LIST.qvl REFERENCE.scr OUT.scr\n");
        return 2;
    }
    const std::string script = readWhole(argv[2]);
    const std::string bytes = readWhole(argv[1]);
    // Lines of "file","folder","routine": the path is folder + "/" + file.
    std::size_t found = 0;
    std::size_t start = 0;
    std::string path;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        start = end + 1;
        const std::size_t f1 = line.find('"', 1);
        const std::size_t f2 = line.find('"', f1 + 2);
        const std::size_t f3 = line.find('"', f2 + 1);
        if (f1 == std::string::npos || f3 == std::string::npos)
            continue;
        path.assign(line, f2 + 1, f3 - f2 - 1);
        path += '/';
        path.append(line, 1, f1 - 1);
        struct stat info{};
        found += ::stat(path.c_str(), &info) == 0 ? 1 : 0;
    }
    std::FILE* out = std::fopen(argv[3], "wb");
    if (!out || std::fwrite(script.data(), 1, script.size(), out) != script.size() || std::fclose(out) != 0)
        return 1;
    return found > 0 ? 0 : 1;
}
