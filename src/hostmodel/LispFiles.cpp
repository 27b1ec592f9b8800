#include "LispInternal.h"

// AutoLISP's file output: open, write-line and close. Opening for writing creates or empties the file at once;
// the lines reach it when it is closed, as the AutoLISP reference says of open and write-line. Reading and
// appending are not modelled.

namespace qv::hostmodel::lisp {
namespace {

LispHost::OpenFile& needOpenFile(Interpreter& in, const LispValue& v)
{
    if (v.kind == Kind::File) {
        const auto found = in.m_host.openFiles().find(v.integer);
        if (found != in.m_host.openFiles().end())
            return found->second;
    }
    fail("bad argument type: streamp " + printLisp(v));
}

LispValue openFile(Interpreter& in, Items& args)
{
    const std::string& path = needString(args[0]);
    const std::string mode = toLower(needString(args[1]));
    if (mode != "w")
        fail("open mode \"" + mode + "\" is not modelled");
    // A name the system cannot create (a folder that does not exist) gives nil, not an error.
    if (path.empty() || !in.m_host.writeFile(path, {}).empty())
        return LispValue::nil();
    const long long number = in.m_host.nextFileNumber();
    in.m_host.openFiles().emplace(number, LispHost::OpenFile{path, {}});
    LispValue file;
    file.kind = Kind::File;
    file.text = path;
    file.integer = number;
    return file;
}

LispValue writeLine(Interpreter& in, Items& args)
{
    const std::string& text = needString(args[0]);
    // Without a descriptor (or with nil) the line goes to the command line, which the model does not keep.
    if (args.size() > 1 && !args[1].isNil()) {
        std::string& pending = needOpenFile(in, args[1]).pending;
        pending += text;
        pending += "\r\n";
    }
    return std::move(args[0]);
}

LispValue closeFile(Interpreter& in, Items& args)
{
    const LispHost::OpenFile& file = needOpenFile(in, args[0]);
    const std::string error = in.m_host.writeFile(file.path, file.pending);
    in.m_host.openFiles().erase(args[0].integer);
    if (!error.empty())
        fail("file write failed: " + error);
    return LispValue::nil();
}

} // namespace

void addFileFunctions(BuiltinTable& table)
{
    table.insert({
        {"OPEN", subr(2, 3, openFile)},
        {"WRITE-LINE", subr(1, 2, writeLine)},
        {"CLOSE", subr(1, 1, closeFile)},
    });
}

} // namespace qv::hostmodel::lisp

namespace qv::hostmodel {

std::string LispHost::writeFile(const std::string&, const std::string&)
{
    return "no file service";
}

} // namespace qv::hostmodel
