#include "cli/text_command.h"
#include "cli/cliargs.h"

#include <charconv>
#include <exception>
#include <limits>
#include <optional>
#include <string_view>
#include <variant>

#include "text/cp1251.h"
#include "text/numbers.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/synonyms.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

enum class Kind { Text, Char, Int, Long };

struct Param {
    std::string_view name;
    Kind kind;
};

constexpr Param Text(std::string_view name) { return {name, Kind::Text}; }
constexpr Param Char(std::string_view name) { return {name, Kind::Char}; }
constexpr Param Int(std::string_view name) { return {name, Kind::Int}; }
constexpr Param Long(std::string_view name) { return {name, Kind::Long}; }

// The arguments of one call, converted: every one as code-page-1251 text, and
// number arguments also as their value.
struct Args {
    std::vector<std::string> text;
    std::vector<long long> number;

    const std::string& s(size_t k) const { return text[k]; }
    char c(size_t k) const { return text[k][0]; }
    int i(size_t k) const { return static_cast<int>(number[k]); }
    long long l(size_t k) const { return number[k]; }
};

using Result = std::variant<std::string, bool, long long, StringList>;

struct Operation {
    std::string_view name;
    std::vector<Param> params;
    Result (*run)(const Args&);
};

Result Number(long long n) { return n; }

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> operations = {
        {"ToTranslit", {Text("TEXT")}, [](const Args& a) -> Result { return ToTranslit(a.s(0)); }},
        {"ToTranslitShort", {Text("TEXT")}, [](const Args& a) -> Result { return ToTranslitShort(a.s(0)); }},
        {"SwitchKeyLayout", {Text("TEXT")}, [](const Args& a) -> Result { return SwitchKeyLayout(a.s(0)); }},
        {"ToLowerCase", {Text("TEXT")}, [](const Args& a) -> Result { return ToLowerCase(a.s(0)); }},
        {"ToUpperCase", {Text("TEXT")}, [](const Args& a) -> Result { return ToUpperCase(a.s(0)); }},
        {"UpFirstLettersOfWords", {Text("TEXT")},
         [](const Args& a) -> Result { return UpFirstLettersOfWords(a.s(0)); }},
        {"UpFirstLetter", {Text("TEXT")}, [](const Args& a) -> Result { return UpFirstLetter(a.s(0)); }},
        {"UpFirstLettersOfArtistAndTitle", {Text("TEXT"), Int("MODE")},
         [](const Args& a) -> Result { return UpFirstLettersOfArtistAndTitle(a.s(0), a.i(1)); }},
        {"CopyBeforeChar", {Text("TEXT"), Char("CHAR")},
         [](const Args& a) -> Result { return CopyBeforeChar(a.s(0), a.c(1)); }},
        {"CopyBeforeSubStr", {Text("TEXT"), Text("SUB")},
         [](const Args& a) -> Result { return CopyBeforeSubStr(a.s(0), a.s(1)); }},
        {"CopyAfterLastChar", {Text("TEXT"), Char("CHAR")},
         [](const Args& a) -> Result { return CopyAfterLastChar(a.s(0), a.c(1)); }},
        {"CopyBeforeLastChar", {Text("TEXT"), Char("CHAR")},
         [](const Args& a) -> Result { return CopyBeforeLastChar(a.s(0), a.c(1)); }},
        {"CopyAfterFirstChar", {Text("TEXT"), Char("CHAR")},
         [](const Args& a) -> Result { return CopyAfterFirstChar(a.s(0), a.c(1)); }},
        {"CopyBetweenLastChars", {Text("TEXT"), Char("OPEN"), Char("CLOSE")},
         [](const Args& a) -> Result { return CopyBetweenLastChars(a.s(0), a.c(1), a.c(2)); }},
        {"ExtInMaskList", {Text("MASKS"), Text("EXT")},
         [](const Args& a) -> Result { return ExtInMaskList(a.s(0), a.s(1)); }},
        {"CollapseCharRuns", {Text("TEXT"), Char("CHAR")},
         [](const Args& a) -> Result { return CollapseCharRuns(a.s(0), a.c(1)); }},
        {"CollapseSpaces", {Text("TEXT")}, [](const Args& a) -> Result { return CollapseSpaces(a.s(0)); }},
        {"DeleteChar", {Text("TEXT"), Char("CHAR")},
         [](const Args& a) -> Result { return DeleteChar(a.s(0), a.c(1)); }},
        {"DeleteQuotes", {Text("TEXT")}, [](const Args& a) -> Result { return DeleteQuotes(a.s(0)); }},
        {"TrimChar", {Text("TEXT"), Char("CHAR")},
         [](const Args& a) -> Result { return TrimChar(a.s(0), a.c(1)); }},
        {"TrimLeadingSeparators", {Text("TEXT")},
         [](const Args& a) -> Result { return TrimLeadingSeparators(a.s(0)); }},
        {"DeleteSubStr", {Text("SUB"), Text("TEXT")},
         [](const Args& a) -> Result { return DeleteSubStr(a.s(0), a.s(1)); }},
        {"LineBreaksToSpaces", {Text("TEXT")},
         [](const Args& a) -> Result { return LineBreaksToSpaces(a.s(0)); }},
        {"ReplaceChar", {Char("FROM"), Char("TO"), Text("TEXT")},
         [](const Args& a) -> Result { return ReplaceChar(a.c(0), a.c(1), a.s(2)); }},
        {"ReplaceSubStr", {Text("OLD"), Text("NEW"), Text("TEXT")},
         [](const Args& a) -> Result { return ReplaceSubStr(a.s(0), a.s(1), a.s(2)); }},
        {"SplitByChar", {Text("TEXT"), Char("CHAR")},
         [](const Args& a) -> Result {
             StringList list;
             SplitByChar(a.s(0), a.c(1), list);
             return list;
         }},
        {"SplitToWords", {Text("TEXT")},
         [](const Args& a) -> Result {
             StringList list;
             SplitToWords(a.s(0), list);
             return list;
         }},
        {"FindSynonyms", {Text("WORD"), Text("FILE")},
         [](const Args& a) -> Result { return FindSynonyms(a.s(0), a.s(1)); }},
        {"CountChar", {Char("CHAR"), Text("TEXT")},
         [](const Args& a) -> Result { return Number(CountChar(a.c(0), a.s(1))); }},
        {"IsInteger", {Text("TEXT")}, [](const Args& a) -> Result { return IsInteger(a.s(0)); }},
        {"LeadingNumberLength", {Text("TEXT")},
         [](const Args& a) -> Result { return Number(LeadingNumberLength(a.s(0))); }},
        {"IntToStrZero", {Long("N"), Int("WIDTH")},
         [](const Args& a) -> Result { return IntToStrZero(a.l(0), a.i(1)); }},
        {"JoinNonEmpty", {Text("A"), Text("B"), Text("SEP")},
         [](const Args& a) -> Result { return JoinNonEmpty(a.s(0), a.s(1), a.s(2)); }},
        {"ExtractDirPart", {Text("PATH")}, [](const Args& a) -> Result { return ExtractDirPart(a.s(0)); }},
        {"JoinPath", {Text("DIR"), Text("NAME")},
         [](const Args& a) -> Result { return JoinPath(a.s(0), a.s(1)); }},
        {"JoinPathSep", {Text("DIR"), Text("NAME"), Int("MODE")},
         [](const Args& a) -> Result { return JoinPathSep(a.s(0), a.s(1), a.i(2)); }},
    };
    return operations;
}

// Arguments are texts as they stand, "--" and "--x" included; only "--help"
// in the first place asks for the usage.
const OptionSet kVerbatim{{}, {}, {}, true};

std::string FunctionUsage(const Operation& op) {
    std::string usage = "text " + std::string(op.name);
    for (const Param& p : op.params) usage += " " + std::string(p.name);
    return usage;
}

// "TEXT, OPEN and CLOSE".
std::string ParamNames(const Operation& op) {
    std::string names;
    for (size_t k = 0; k < op.params.size(); ++k) {
        if (k > 0) names += k + 1 == op.params.size() ? " and " : ", ";
        names += op.params[k].name;
    }
    return names;
}

// The command's form, then the form of each function.
const std::string& Usage() {
    static const std::string usage = [] {
        std::string u = "text FUNCTION ARG...";
        for (const Operation& op : Operations()) u += "\n" + FunctionUsage(op);
        return u;
    }();
    return usage;
}

bool ParseNumber(const std::string& raw, Kind kind, long long& value) {
    const char* end = raw.data() + raw.size();
    const auto [ptr, ec] = std::from_chars(raw.data(), end, value);
    if (ec != std::errc() || ptr != end) return false;
    if (kind == Kind::Int) {
        return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
    }
    return true;
}

// Checks the code-page-1251 arguments against op's parameters; false with
// what is wrong with the first bad one in problem.
bool ConvertArgs(const Operation& op, std::vector<std::string> text, Args& args, std::string& problem) {
    for (size_t k = 0; k < op.params.size(); ++k) {
        const Param& p = op.params[k];
        const std::string& value = text[k];
        long long number = 0;
        const std::string bad = std::string(op.name) + ": " + std::string(p.name);
        if ((p.kind == Kind::Int || p.kind == Kind::Long) && !ParseNumber(value, p.kind, number)) {
            problem = bad + " must be a whole number, not '" + Cp1251ToUtf8(value) + "'";
            return false;
        }
        if (p.kind == Kind::Char && value.size() != 1) {
            problem = bad + " must be exactly one character, not '" + Cp1251ToUtf8(value) + "'";
            return false;
        }
        args.number.push_back(number);
    }
    args.text = std::move(text);
    return true;
}

void Print(const Result& result, std::ostream& out) {
    if (const auto* s = std::get_if<std::string>(&result)) {
        out << Cp1251ToUtf8(*s) << '\n';
    } else if (const auto* b = std::get_if<bool>(&result)) {
        out << (*b ? "true" : "false") << '\n';
    } else if (const auto* n = std::get_if<long long>(&result)) {
        out << *n << '\n';
    } else {
        for (const std::string& item : std::get<StringList>(result)) out << Cp1251ToUtf8(item) << '\n';
    }
}

}  // namespace

int RunTextCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // The function's name first, then its arguments by the function's own form.
    CommandLine head;
    const std::vector<std::string> first(args.begin(), args.begin() + (args.empty() ? 0 : 1));
    if (std::optional<int> code = ParseCommand(first, {Usage(), kVerbatim, 1, 1, "FUNCTION"}, head, out, err)) return *code;
    const std::string& name = args[0];
    const Operation* op = nullptr;
    for (const Operation& candidate : Operations()) {
        if (candidate.name == name) op = &candidate;
    }
    if (!op) return CliUsage(err, "unknown function '" + name + "'", Usage());

    const std::string usage = FunctionUsage(*op);
    const std::string names = ParamNames(*op);
    const CommandSpec command{usage, kVerbatim, op->params.size(), op->params.size(), names};
    CommandLine line;
    if (std::optional<int> code = ParseCommand({args.begin() + 1, args.end()}, command, line, out, err)) return *code;
    Args converted;
    if (std::string problem; !ConvertArgs(*op, std::move(line.positional), converted, problem))
        return CliUsage(err, problem, usage);
    try {
        Print(op->run(converted), out);
    } catch (const std::exception& e) {
        err << "tandrel-cli: text " << name << " failed: " << e.what() << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace tandrel
