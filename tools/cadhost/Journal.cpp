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
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool Journal::open(const std::string& path, std::string& error)
{
    m_file = createFile(path);
    if (m_file == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

void Journal::write(int line, std::string_view event, std::string_view drawing, std::string_view detail)
{
    if (m_file == nullptr) {
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
    std::fwrite(text.data(), 1, text.size(), m_file);
    std::fflush(m_file);
}

} // namespace cadhost
