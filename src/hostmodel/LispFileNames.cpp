#include "LispInternal.h"

// vl-filename-base, -extension and -directory: both '\\' and '/' separate folders, as on Windows.

namespace qv::hostmodel::lisp {
namespace {

std::size_t lastSeparator(const std::string& path)
{
    return path.find_last_of("\\/");
}

LispValue filenameBase(Items& args)
{
    const std::string& path = needString(args[0]);
    const std::size_t sep = lastSeparator(path);
    std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return LispValue::fromString(name);
}

LispValue filenameExtension(Items& args)
{
    const std::string& path = needString(args[0]);
    const std::size_t sep = lastSeparator(path);
    const std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return LispValue::nil();
    return LispValue::fromString(name.substr(dot));
}

LispValue filenameDirectory(Items& args)
{
    const std::string& path = needString(args[0]);
    const std::size_t sep = lastSeparator(path);
    return LispValue::fromString(sep == std::string::npos ? std::string() : path.substr(0, sep));
}

} // namespace

void addFileNameFunctions(BuiltinTable& table)
{
    using In = Interpreter;
    table.insert({
        {"VL-FILENAME-BASE", subr(1, 1, [](In&, Items& a) { return filenameBase(a); })},
        {"VL-FILENAME-EXTENSION", subr(1, 1, [](In&, Items& a) { return filenameExtension(a); })},
        {"VL-FILENAME-DIRECTORY", subr(1, 1, [](In&, Items& a) { return filenameDirectory(a); })},
    });
}

} // namespace qv::hostmodel::lisp
