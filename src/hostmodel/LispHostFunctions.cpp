#include "LispInternal.h"

// The functions that reach the host: command, getvar, setvar, layoutlist, and those that print.

namespace qv::hostmodel::lisp {
namespace {

LispValue commandOf(Interpreter& in, Items& args)
{
    if (args.empty()) {
        in.m_host.cancelCommand();
        return LispValue::nil();
    }
    // Every argument is checked before the first is typed, so a bad call types nothing.
    std::vector<std::string> entries;
    for (const LispValue& a : args) {
        if (a.isNil())
            continue;
        auto entry = lispAnswer(a);
        if (!entry)
            fail("invalid AutoCAD command: " + printLisp(a));
        entries.push_back(std::move(*entry));
    }
    for (const std::string& entry : entries) {
        if (!in.m_host.command(entry))
            fail("Function cancelled");
    }
    return LispValue::nil();
}

LispValue setvarOf(Interpreter& in, Items& args)
{
    const std::string name = toUpper(needString(args[0]));
    const std::string error = in.m_host.setvar(name, args[1]);
    if (!error.empty())
        throw LispError{error};
    return std::move(args[1]);
}

// princ, prin1 and print give back their argument; what they would show is not part of the model.
// Without an argument they give the empty symbol, which the command line shows as nothing.
LispValue printFunction(Items& args)
{
    if (args.empty())
        return LispValue::symbol("");
    return std::move(args[0]);
}

} // namespace

void addHostFunctions(BuiltinTable& table)
{
    using In = Interpreter;
    table.insert({
        {"LAYOUTLIST", subr(0, 0,
                            [](In& in, Items&) {
                                Items names;
                                for (std::string& name : in.m_host.layoutList())
                                    names.push_back(LispValue::fromString(std::move(name)));
                                return makeList(std::move(names));
                            })},
        {"GETVAR",
         subr(1, 1,
              [](In& in, Items& a) { return in.m_host.getvar(toUpper(needString(a[0]))).value_or(LispValue::nil()); })},
        {"SETVAR", subr(2, 2, setvarOf)},
        {"COMMAND", subr(0, -1, commandOf)},
        {"PRINC", subr(0, 2, [](In&, Items& a) { return printFunction(a); })},
        {"PRIN1", subr(0, 2, [](In&, Items& a) { return printFunction(a); })},
        {"PRINT", subr(0, 2, [](In&, Items& a) { return printFunction(a); })},
        {"TERPRI", subr(0, 0, [](In&, Items&) { return LispValue::nil(); })},
        {"PROMPT", subr(1, 1,
                        [](In&, Items& a) {
                            needString(a[0]);
                            return LispValue::nil();
                        })},
        {"VL-LOAD-COM", subr(0, 0, [](In&, Items&) { return LispValue::nil(); })},
    });
}

} // namespace qv::hostmodel::lisp
