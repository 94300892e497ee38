#include "cli/text_command.h"

#include <charconv>
#include <exception>
#include <limits>
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

constexpr std::string_view kPrefix = "tandrel-cli text: ";

void PrintUsage(std::ostream& to) {
    to << "usage: tandrel-cli text FUNCTION ARG...\nfunctions:\n";
    for (const Operation& op : Operations()) {
        to << "  " << op.name;
        for (const Param& p : op.params) to << ' ' << p.name;
        to << '\n';
    }
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

// Converts the raw UTF-8 arguments for op; reports the first bad one on err.
bool ConvertArgs(const Operation& op, const std::vector<std::string>& raw, Args& args, std::ostream& err) {
    for (size_t k = 0; k < op.params.size(); ++k) {
        const Param& p = op.params[k];
        const std::string& value = raw[k];
        long long number = 0;
        if (p.kind == Kind::Int || p.kind == Kind::Long) {
            if (!ParseNumber(value, p.kind, number)) {
                err << kPrefix << op.name << ": " << p.name << " must be a whole number, not '" << value << "'\n";
                return false;
            }
        }
        Cp1251Text converted = Utf8ToCp1251(value);
        if (!converted.lossless) {
            err << kPrefix << op.name << ": " << p.name << " '" << value
                << "' holds a character that code page 1251 cannot represent\n";
            return false;
        }
        if (p.kind == Kind::Char && converted.text.size() != 1) {
            err << kPrefix << op.name << ": " << p.name << " must be exactly one character, not '" << value
                << "'\n";
            return false;
        }
        args.text.push_back(std::move(converted.text));
        args.number.push_back(number);
    }
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
    if (args.empty()) {
        err << kPrefix << "no function given\n";
        PrintUsage(err);
        return 2;
    }
    const std::string& name = args[0];
    const Operation* op = nullptr;
    for (const Operation& candidate : Operations()) {
        if (candidate.name == name) op = &candidate;
    }
    if (!op) {
        err << kPrefix << "unknown function '" << name << "'\n";
        PrintUsage(err);
        return 2;
    }
    const std::vector<std::string> raw(args.begin() + 1, args.end());
    if (raw.size() != op->params.size()) {
        err << kPrefix << name << " takes " << op->params.size() << " argument(s), " << raw.size()
            << " given\nusage: tandrel-cli text " << name;
        for (const Param& p : op->params) err << ' ' << p.name;
        err << '\n';
        return 2;
    }
    Args converted;
    if (!ConvertArgs(*op, raw, converted, err)) return 2;
    try {
        Print(op->run(converted), out);
    } catch (const std::exception& e) {
        err << kPrefix << name << " failed: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace tandrel
