#include "Journal.h"

#include "System.h"

#include <cerrno>
#include <cstring>

namespace cadhost {

namespace {

void appendField(std::string& out, std::string_view field)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char ch : field) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b == 0x7F) {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        } else {
            out += ch;
        }
    }
}

} // namespace

Journal::~Journal()
{
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool Journal::open(const std::string& path, std::string& error)
{
    file_ = createFile(path);
    if (file_ == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

void Journal::write(int line, std::string_view event, std::string_view drawing, std::string_view detail)
{
    if (file_ == nullptr) {
        return;
    }
    std::string text = std::to_string(line);
    text += '\t';
    appendField(text, event);
    text += '\t';
    appendField(text, drawing.empty() ? std::string_view("-") : drawing);
    text += '\t';
    appendField(text, detail);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

} // namespace cadhost
