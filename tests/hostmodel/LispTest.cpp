#include "Lisp.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qv::hostmodel {
namespace {

// A drawing with two layouts; records what the interpreter types and refuses CTAB values that are no tab.
class FakeHost : public LispHost
{
public:
    std::vector<std::string> m_entries;
    std::map<std::string, LispValue> m_variables{{"CTAB", LispValue::fromString("Model")},
                                                 {"DWGNAME", LispValue::fromString("Plan A.dwg")},
                                                 {"DWGPREFIX", LispValue::fromString("C:\\Jobs\\")},
                                                 {"EXPERT", LispValue::fromInteger(0)}};
    std::vector<std::string> m_layouts{"Layout1", "Layout2"};
    std::map<std::string, LispValue> m_lisp;

    bool command(const std::string& entry) override
    {
        m_entries.push_back(entry);
        return true;
    }
    void cancelCommand() override { m_entries.push_back("<cancel>"); }
    std::optional<LispValue> getvar(const std::string& name) override
    {
        const auto it = m_variables.find(name);
        return it == m_variables.end() ? std::nullopt : std::optional<LispValue>(it->second);
    }
    std::string setvar(const std::string& name, const LispValue& value) override
    {
        const bool known = m_variables.count(name) > 0;
        const bool tab =
            name != "CTAB" || (value.kind == LispValue::Kind::String &&
                               (value.text == "Model" || std::count(m_layouts.begin(), m_layouts.end(), value.text)));
        if (!known || !tab)
            return "; error: AutoCAD variable setting rejected: \"" + name + "\" " + printLisp(value);
        m_variables[name] = value;
        return {};
    }
    std::vector<std::string> layoutList() override { return m_layouts; }
    std::map<std::string, LispValue>& symbols() override { return m_lisp; }
};

struct Case
{
    std::string text;
    const char* expected; // the printed value, or the error message
};

// Evaluates and gives the printed value, or the error when there is one.
std::string run(FakeHost& host, const std::string& text)
{
    const LispOutcome outcome = evaluateLisp(text, host);
    if (outcome.error.empty())
        return printLisp(outcome.value);
    EXPECT_TRUE(outcome.value.isNil()) << text; // an error leaves no value behind
    return outcome.error;
}

TEST(Lisp, EvaluatesExpressionsToTheValuesAndErrorsTheHostPrints)
{
    std::string nested = "7";
    for (int i = 0; i < 900; ++i)
        nested = "(progn " + nested + ")";
    const Case cases[] = {
        // reader: numbers, strings, symbols, quote, comments
        {"-2", "-2"},
        {"+7", "7"},
        {".5", "0.5"},
        {"-.25", "-0.25"},
        {"1e3", "1000.0"},
        {"2.", "2.0"},
        {"3000000000", "3.0e+009"},
        {"1234567.0", "1.23457e+006"},
        {"0.00001", "1.0e-005"},
        {"pi", "3.14159"},
        {"\"a\\\"b\\\\c\"", "\"a\\\"b\\\\c\""},
        {"(strlen \"\\n\\t\\r\\e\\101\")", "5"},
        {"(ascii \"\\101\")", "65"},
        {"'abc", "ABC"},
        {"'(a \"b\" 3 (nil t))", "(A \"b\" 3 (nil T))"},
        {"(quote (1 . x))", "; error: dotted pairs are not modelled by this host"},
        {"'()", "nil"},
        {"; only a comment", "nil"},
        {"(+ 1 ; one\n 2) ; three", "3"},
        {"(+ 1 ;| a (block) |; 2)", "3"},
        {"unset", "nil"},
        {"1+", "nil"},
        // arithmetic: 32-bit integers, reals as soon as one takes part
        {"(+)", "0"},
        {"(- 10 4 1)", "5"},
        {"(- 5)", "-5"},
        {"(* 2 2.5)", "5.0"},
        {"(/ 7 2)", "3"},
        {"(/ -7 2)", "-3"},
        {"(/ 7 2.0)", "3.5"},
        {"(+ 2147483647 1)", "-2147483648"},
        {"(rem 7 3)", "1"},
        {"(1- 1.5)", "0.5"},
        {"(abs -3)", "3"},
        {"(fix 3.9)", "3"},
        {"(fix 1e10)", "1.0e+010"},
        {"(float 2)", "2.0"},
        {"(min 1 3.0)", "1.0"},
        // comparisons and logic
        {"(= 1 1.0)", "T"},
        {"(= \"a\" \"A\")", "nil"},
        {"(= \"a\" 1)", "nil"},
        {"(/= 1 2)", "T"},
        {"(< 1 2 3)", "T"},
        {"(< 1 3 2)", "nil"},
        {"(> \"b\" \"a\")", "T"},
        {"(<= 2 2)", "T"},
        {"(>= 1 2)", "nil"},
        {"(and 1 nil)", "nil"},
        {"(and)", "T"},
        {"(or nil 2)", "T"},
        {"(not nil)", "T"},
        {"(null '(1))", "nil"},
        {"(equal '(1 (2 \"x\")) (list 1 (list 2 \"x\")))", "T"},
        {"(equal 1.0 1.05 0.1)", "T"},
        // strings
        {"(strcat)", "\"\""},
        {"(strlen \"abc\" \"de\")", "5"},
        {"(strlen \"\xC3\xBC\")", "1"},
        {"(substr \"Layout12\" 7)", "\"12\""},
        {"(substr \"abc\" 5)", "\"\""},
        {"(substr \"abc\" 2 10)", "\"bc\""},
        {"(substr \"a\xC3\xBCz\" 2 1)", "\"\xC3\xBC\""},
        {"(strcase \"Plan a\")", "\"PLAN A\""},
        {"(strcase \"Plan A\" t)", "\"plan a\""},
        {"(itoa -12)", "\"-12\""},
        {"(atoi \" 42abc\")", "42"},
        {"(atoi \"x\")", "0"},
        {"(atof \"2.5e1mm\")", "25.0"},
        {"(atof \"inf\")", "0.0"},
        {"(rtos 1.5)", "\"1.5000\""},
        {"(rtos 2.0 2 0)", "\"2\""},
        {"(rtos 1234.5 1 2)", "\"1.23E+03\""},
        {"(chr 65)", "\"A\""},
        {"(vl-string-subst \"B\" \"A\" \"AXA\")", "\"BXA\""},
        {"(vl-string-search \"x\" \"abxd\")", "2"},
        {"(wcmatch \"Layout1\" \"Layout#\")", "T"},
        {"(wcmatch \"Layout1\" \"layout*\")", "nil"},
        {"(wcmatch \"Model\" \"Lay*,Mod?l\")", "T"},
        {"(wcmatch \"Model\" \"~Model\")", "nil"},
        {"(wcmatch \"Plan-3\" \"@*[0-2],*`-[~0-2]\")", "T"},
        {"(wcmatch \"a,b\" \"*`,*\")", "T"},
        {"(setq s \"\") (repeat 600 (setq s (strcat s \"x\"))) (wcmatch (strcat s \"y\") \"*y\")", "nil"},
        {"(vl-filename-base \"C:\\\\Jobs\\\\Plan A.dwg\")", "\"Plan A\""},
        {"(vl-filename-extension \"Plan.A.dwg\")", "\".dwg\""},
        {"(vl-filename-directory \"C:\\\\Jobs\\\\Plan.dwg\")", "\"C:\\\\Jobs\""},
        // lists
        {"(list 1 \"a\" 'b)", "(1 \"a\" B)"},
        {"(list)", "nil"},
        {"(cons 0 '(1 2))", "(0 1 2)"},
        {"(car '(1 2))", "1"},
        {"(car nil)", "nil"},
        {"(cdr '(1 2 3))", "(2 3)"},
        {"(cdr '(1))", "nil"},
        {"(cadr '(1 2 3))", "2"},
        {"(caddr '(1 2 3))", "3"},
        {"(last '(1 2 3))", "3"},
        {"(length '(1 2 3))", "3"},
        {"(length nil)", "0"},
        {"(nth 1 '(a b))", "B"},
        {"(nth 5 '(a b))", "nil"},
        {"(append '(1) nil '(2 3))", "(1 2 3)"},
        {"(reverse '(1 2 3))", "(3 2 1)"},
        {"(member 2 '(1 2 3))", "(2 3)"},
        {"(member 4 '(1 2 3))", "nil"},
        {"(vl-remove \"Layout1\" (layoutlist))", "(\"Layout2\")"},
        {"(vl-position \"Layout2\" (layoutlist))", "1"},
        {"(assoc \"b\" '((\"a\" 1) (\"b\" 2)))", "(\"b\" 2)"},
        {"(mapcar '+ '(1 2) '(10 20 30))", "(11 22)"},
        {"(mapcar '(lambda (x) (strcat x \"!\")) '(\"a\"))", "(\"a!\")"},
        {"(apply 'max '(1 5 2))", "5"},
        {"(type \"a\")", "STR"},
        {"(type 1.0)", "REAL"},
        // control
        {"(if (= 1 1) \"yes\" \"no\")", "\"yes\""},
        {"(if nil \"yes\")", "nil"},
        {"(progn 1 2 3)", "3"},
        {"(progn)", "nil"},
        {"(cond ((= 1 2) 'a) ((= 1 1) 'b) (t 'c))", "B"},
        {"(setq i 0 n 0) (while (< i 5) (setq n (+ n i) i (1+ i))) n", "10"},
        {"(setq n 0) (repeat 4 (setq n (+ n 2)))", "8"},
        {"(setq s \"\") (foreach l (layoutlist) (setq s (strcat s l \";\"))) s", "\"Layout1;Layout2;\""},
        {"(foreach l nil 1)", "nil"},
        {"(defun twice (x / y) (setq y (* 2 x)) y) (twice 21)", "42"},
        {"(defun c:go () 'done) (c:go)", "DONE"},
        {"((lambda (a b) (- a b)) 5 3)", "2"},
        {"(eval '(+ 1 2))", "3"},
        {"(set 'q 7) q", "7"},
        // the host
        {"(strcat (getvar \"DWGPREFIX\") (vl-filename-base (getvar \"dwgname\")) \".dxf\")",
         "\"C:\\\\Jobs\\\\Plan A.dxf\""},
        {"(getvar \"nosuchvar\")", "nil"},
        {"(setvar \"expert\" 5)", "5"},
        {"(princ \"hello\")", "\"hello\""},
        {"(princ)", ""},
        {"(terpri)", "nil"},
        {"(vl-load-com)", "nil"},
        // errors, as the host prints them
        {"(setq a 1", "; error: malformed list on input"},
        {"(setq a 1))", "; error: extra right paren on input"},
        {"(strcat \"abc)", "; error: malformed string on input"},
        {"'", "; error: malformed list on input"},
        {"(list ')", "; error: malformed list on input"},
        {".", "; error: misplaced dot on input"},
        {"(foo 1)", "; error: no function definition: FOO"},
        {"(t)", "; error: no function definition: T"},
        {"(1 2)", "; error: bad function: 1"},
        {"(setq v 5) (v)", "; error: bad function: 5"},
        {"(strcat \"a\" 1)", "; error: bad argument type: stringp 1"},
        {"(strlen nil)", "; error: bad argument type: stringp nil"},
        {"(getvar 'ctab)", "; error: bad argument type: stringp CTAB"},
        {"(+ 1 \"2\")", "; error: bad argument type: numberp: \"2\""},
        {"(< 1 \"2\")", "; error: bad argument type: numberp: \"2\""},
        {"(< \"a\" 2)", "; error: bad argument type: stringp 2"},
        {"(itoa 1.5)", "; error: bad argument type: fixnump: 1.5"},
        {"(substr \"abc\" \"1\")", "; error: bad argument type: fixnump: \"1\""},
        {"(substr \"abc\" 0)", "; error: bad argument value: positive 0"},
        {"(length 5)", "; error: bad argument type: listp 5"},
        {"(foreach x \"ab\" x)", "; error: bad argument type: listp \"ab\""},
        {"(foreach 1 '(1) 1)", "; error: bad argument type: symbolp 1"},
        {"(car \"a\")", "; error: bad argument type: consp \"a\""},
        {"(setq 1 2)", "; error: bad argument type: symbolp 1"},
        {"(setq t 2)", "; error: bad argument type: symbolp T"},
        {"(cons 1 2)", "; error: dotted pairs are not modelled by this host: (cons 1 2)"},
        {"(setq a 1 b)", "; error: too few arguments"},
        {"(if)", "; error: too few arguments"},
        {"(if t 1 2 3)", "; error: too many arguments"},
        {"(strcase)", "; error: too few arguments"},
        {"(itoa 1 2)", "; error: too many arguments"},
        {"(defun f (x) x) (f)", "; error: too few arguments"},
        {"(defun f (x) x) (f 1 2)", "; error: too many arguments"},
        {"(/ 1 0)", "; error: divide by zero"},
        {"(/ 1.0 0)", "; error: divide by zero"},
        {"(rem 1 0)", "; error: divide by zero"},
        {"(rtos 1.5 4 2)", "; error: rtos units mode 4 is not modelled by this host"},
        {"(command \"_line\" t)", "; error: invalid AutoCAD command: T"},
        {"(command '(1 2 3 4))", "; error: invalid AutoCAD command: (1 2 3 4)"},
        {"(setvar \"ctab\" \"Layout9\")", "; error: AutoCAD variable setting rejected: \"CTAB\" \"Layout9\""},
        // runaway scripts end with an error instead of hanging the host
        {"(while t)", "; error: loop limit reached: more than 1000000 iterations"},
        {"(repeat 2000000 1)", "; error: loop limit reached: more than 1000000 iterations"},
        {"(defun down (n) (down (1+ n))) (down 0)",
         "; error: Hard error occurred *** internal stack limit reached (simulated)"},
        {"(setq s \"xxxxxxxxxxxxxxxx\") (while t (setq s (strcat s s)))", "; error: insufficient string space"},
        {"(setq l '(1)) (while t (setq l (append l l)))", "; error: insufficient node space"},
        {"(setq l '(1)) (while t (setq l (list l)))",
         "; error: Hard error occurred *** internal stack limit reached (simulated)"},
        {"(setq s \"xxxxxxxxxxxxxxxx\") (repeat 16 (setq s (strcat s s))) (while t (setq x s))",
         "; error: evaluation limit reached: the expression runs too long for the host to wait"},
        // deep nesting in the text itself is refused by the reader, not by the machine's stack
        {std::string(100000, '(') + std::string(100000, ')'),
         "; error: Hard error occurred *** internal stack limit reached (simulated)"},
        {nested, "7"},
    };
    for (const Case& c : cases) {
        FakeHost host;
        EXPECT_EQ(run(host, c.text), c.expected) << c.text;
    }
}

// Scripts as a host evaluates them: each text is what it read line by line until the parentheses balanced (the
// depth cases below count them). What it types, the error it ends with, the tab it leaves current.
TEST(Lisp, CommandTypesItsArgumentsAsPromptAnswers)
{
    struct CommandCase
    {
        const char* text;
        std::vector<std::string> entries;
        const char* error = "";
        const char* ctab = "Model";
    };
    const CommandCase cases[] = {
        {"(if (= (getvar \"ctab\") \"Model\") (progn (command \"_zoom\" \"_e\") (command \"_qsave\")) (command \"x\"))",
         {"_zoom", "_e", "_qsave"}},
        {"(command \"_offset\" 2 2.5 0.1 -3.0 1e20)", {"_offset", "2", "2.5", "0.1", "-3", "100000000000000000000"}},
        {"(command \"_zoom\" \"_w\" '(0 0) (list 10.5 20 3))", {"_zoom", "_w", "0,0", "10.5,20,3"}},
        {"(command \"_-layer\" nil \"_s\" (getvar \"nosuchvar\") \"0\" \"\")", {"_-layer", "_s", "0", ""}},
        {"(command)", {"<cancel>"}},
        {"(foreach lay (layoutlist)\n"
         "  (if (/= lay \"Layout1\") ; skip the first tab (\n"
         "    (progn\n"
         "      (setvar \"CTAB\" lay)\n"
         "      (command \"_-plot\" \"_N\" (getvar \"ctab\") \"\" \"\"))))\n",
         {"_-plot", "_N", "Layout2", "", ""},
         "",
         "Layout2"},
        {"(defun c:plotall (/ lay)\n"
         "  (foreach lay (layoutlist) (setvar \"ctab\" lay)\n"
         "    (command \"_-plot\" \"_N\" lay \"\" \"\"))\n"
         "  (princ))\n"
         "(c:plotall)\n",
         {"_-plot", "_N", "Layout1", "", "", "_-plot", "_N", "Layout2", "", ""},
         "",
         "Layout2"},
        {"(setq name \"a)b\\\"c(\") ;| ( \n|; (command \"_text\" name\n'(1.5 2))\n", {"_text", "a)b\"c(", "1.5,2"}},
        // an error in one argument types nothing of that call, but what came before stays typed
        {"(command \"_audit\" \"_y\") (command \"_regen\" (/ 1 0))", {"_audit", "_y"}, "; error: divide by zero"},
        {"(command \"_audit\" \"_y\") (command \"_regen\" t)", {"_audit", "_y"}, "; error: invalid AutoCAD command: T"},
        // a rejected setvar stops the evaluation
        {"(foreach lay '(\"Layout1\" \"Nope\" \"Layout2\") (setvar \"CTAB\" lay) (command \"_-plot\" lay))",
         {"_-plot", "Layout1"},
         "; error: AutoCAD variable setting rejected: \"CTAB\" \"Nope\"",
         "Layout1"},
        // an unbalanced text is not evaluated at all
        {"(command \"_audit\" \"_y\") (command \"_regen\"", {}, "; error: malformed list on input"},
    };
    for (const CommandCase& c : cases) {
        FakeHost host;
        const LispOutcome outcome = evaluateLisp(c.text, host);
        EXPECT_EQ(outcome.error, c.error) << c.text;
        EXPECT_EQ(host.m_entries, c.entries) << c.text;
        EXPECT_EQ(host.m_variables["CTAB"].text, c.ctab) << c.text;
    }
}

TEST(Lisp, SymbolsLiveInTheDrawingAndLocalsAreRestored)
{
    FakeHost host;
    EXPECT_EQ(run(host, "(setq draw_name \"Plan\" lay \"outer\")"), "\"outer\"");
    EXPECT_EQ(printLisp(host.m_lisp.at("DRAW_NAME")), "\"Plan\"");
    EXPECT_EQ(run(host, "(strcat draw_name \".dxf\")"), "\"Plan.dxf\"");

    // foreach's variable and a function's parameters and locals get their old values back, even after an error
    EXPECT_EQ(run(host, "(foreach lay (layoutlist) lay)"), "\"Layout2\"");
    EXPECT_EQ(run(host, "(defun f (lay / draw_name) (setq draw_name 1) (/ lay 0)) (f 3)"), "; error: divide by zero");
    EXPECT_EQ(run(host, "(list lay draw_name)"), "(\"outer\" \"Plan\")");

    // a nil value unbinds the symbol
    run(host, "(setq lay nil)");
    EXPECT_EQ(host.m_lisp.count("LAY"), 0u);
}

TEST(Lisp, DepthCountsParenthesesOutsideStringsAndComments)
{
    struct DepthCase
    {
        const char* text;
        int depth;
    };
    const DepthCase cases[] = {
        {"", 0},
        {"(foreach lay (layoutlist) ; (\n(command lay", 2},
        {"(princ \"(\")", 0},
        {"(princ \"\\\")\"", 1},
        {"(princ \"a\\\\\")", 0},
        {"(setq a 1) ; (not counted", 0},
        {"(setq a ;| (\n |; 1", 1},
        {"(setq a ;| ( ", 1},
        {"(a))(", -1},
        {"(princ \"", 1},
    };
    for (const DepthCase& c : cases)
        EXPECT_EQ(lispDepth(c.text), c.depth) << c.text;
}

TEST(Lisp, ValuesAsPrintedAndAsPromptAnswers)
{
    using V = LispValue;
    struct ValueCase
    {
        LispValue value;
        const char* printed;
        std::optional<std::string> answer;
    };
    const ValueCase cases[] = {
        {V::fromInteger(-12), "-12", "-12"},
        {V::fromReal(-0.0), "-0.0", "0"},
        {V::fromReal(12.3456789), "12.3457", "12.3456789"},
        {V::fromReal(1e-7), "1.0e-007", "0.0000001"},
        {V::fromString("a\"b\\c"), "\"a\\\"b\\\\c\"", "a\"b\\c"},
        {V::symbol("layout"), "LAYOUT", std::nullopt},
        {V::list({V::fromInteger(1), V::fromReal(2.5)}), "(1 2.5)", "1,2.5"},
        {V::list({V::fromInteger(1)}), "(1)", std::nullopt},
        {V::list({V::fromInteger(1), V::fromString("2")}), "(1 \"2\")", std::nullopt},
    };
    for (const ValueCase& c : cases) {
        EXPECT_EQ(printLisp(c.value), c.printed);
        EXPECT_EQ(lispAnswer(c.value), c.answer) << c.printed;
    }
}

// A host whose disk is a map; a name under "missing/" cannot be created.
class FileHost : public FakeHost
{
public:
    std::map<std::string, std::string> m_disk;
    std::string writeFile(const std::string& path, const std::string& bytes) override
    {
        if (path.starts_with("missing/"))
            return "no such folder";
        m_disk[path] = bytes;
        return {};
    }
};

TEST(Lisp, WritesFilesWhenTheyAreClosed)
{
    FileHost host;
    // The progress lines of a watched run: nothing but the file and its line is left behind.
    const std::string progress =
        "((lambda (f) (write-line \"3 begun\" f) (if f (close f))) (open \"run/drawing-3.begun\" \"w\"))";
    EXPECT_EQ(run(host, progress), "nil");
    EXPECT_EQ(host.m_disk["run/drawing-3.begun"], "3 begun\r\n");
    EXPECT_TRUE(host.m_lisp.empty());
    EXPECT_TRUE(host.openFiles().empty());

    // Opening creates the file at once; the lines wait for the close.
    EXPECT_EQ(run(host, "(setq f (open \"run/a.txt\" \"W\"))"), "#<file \"run/a.txt\">");
    EXPECT_EQ(run(host, "(type f)"), "FILE");
    EXPECT_EQ(run(host, "(write-line \"one\" f)"), "\"one\"");
    EXPECT_EQ(host.m_disk["run/a.txt"], "");
    EXPECT_EQ(run(host, "(close f)"), "nil");
    EXPECT_EQ(host.m_disk["run/a.txt"], "one\r\n");

    const Case cases[] = {
        {"(close f)", "; error: bad argument type: streamp #<file \"run/a.txt\">"},
        {"(open \"missing/x.txt\" \"w\")", "nil"},
        {"((lambda (f) (write-line \"x\" f) (if f (close f))) (open \"missing/x\" \"w\"))", "nil"},
        {"(close nil)", "; error: bad argument type: streamp nil"},
        {"(write-line \"to the screen\")", "\"to the screen\""},
        {"(open \"run/a.txt\" \"r\")", "; error: open mode \"r\" is not modelled"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(host, c.text), c.expected) << c.text;
    EXPECT_EQ(host.m_disk.count("missing/x.txt"), 0u);
}

} // namespace
} // namespace qv::hostmodel
