#include "cli/planfile.h"

#include <unordered_set>
#include <vector>

#include "platform/files.h"
#include "platform/textfile.h"
#include "text/cp1251.h"
#include "text/paths.h"

namespace tandrel {

namespace {

bool Exists(const std::string& path) { return FileExists(path) || DirectoryExists(path); }

// Prints the failures the plan met before any file (unreadable directories).
int PlanFailures(const RenamePlan& plan, std::ostream& err) {
    int code = kExitOk;
    for (const PlanMark& m : plan.marks)
        if (m.kind == PlanMark::Failure) {
            err << "tandrel-cli: " << Cp1251ToUtf8(m.text) << "\n";
            code = kExitFailed;
        }
    return code;
}

// The "will rename" rows of a saved plan that still fit the disk: each old
// name exists (or an earlier row gives it) and no entry has the new name
// (or an earlier row moves it away). Stale rows are reported on err and
// counted in stale.
bool ReadSavedPlan(const std::string& file, RenamePlan& plan, int& stale, std::ostream& err) {
    std::string bytes;
    if (FileResult r = ReadFileBytes(file, bytes); !r) {
        err << "tandrel-cli: " << r.error << "\n";
        return false;
    }
    bool clean = true;
    std::unordered_set<std::string> given, vacated;
    std::size_t number = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string::npos) end = bytes.size();
        std::string text = bytes.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty()) continue;
        std::vector<std::string> fields;
        for (std::size_t f = 0;;) {
            const std::size_t tab = text.find('\t', f);
            fields.push_back(text.substr(f, tab - f));
            if (tab == std::string::npos) break;
            f = tab + 1;
        }
        const std::string where = Cp1251ToUtf8(file) + ", line " + std::to_string(number);
        if (fields.size() != 4) {
            err << "tandrel-cli: " << where << ": not a plan row (status, directory, old and new name)\n";
            clean = false;
            continue;
        }
        if (fields[0] != PlanStatusText(PlanStatus::WillRename)) continue;
        const Cp1251Text dir = Utf8ToCp1251(fields[1]), oldName = Utf8ToCp1251(fields[2]),
                         newName = Utf8ToCp1251(fields[3]);
        const std::string from = JoinPath(dir.text, oldName.text), to = JoinPath(dir.text, newName.text);
        std::string reason;
        if (!dir.lossless || !oldName.lossless || !newName.lossless)
            reason = "a name holds a character outside code page 1251";
        else if (!given.count(from) && (vacated.count(from) || !Exists(from)))
            reason = "the old name no longer exists";
        else if (given.count(to) || (!vacated.count(to) && Exists(to)))
            reason = "the new name exists";
        if (!reason.empty()) {
            err << "tandrel-cli: " << where << ": stale row refused: " << fields[1] << "/" << fields[2] << " -> "
                << fields[3] << " (" << reason << ")\n";
            ++stale;
            clean = false;
            continue;
        }
        given.erase(from);
        vacated.insert(from);
        vacated.erase(to);
        given.insert(to);
        AddPlanRow(plan, dir.text, oldName.text, newName.text, PlanStatus::WillRename);
    }
    return clean;
}

}  // namespace

std::string PlanText(const RenamePlan& plan) {
    std::string text;
    for (const PlanRow& row : plan.rows) {
        text += PlanStatusText(row.status);
        text += '\t' + Cp1251ToUtf8(row.dir) + '\t' + Cp1251ToUtf8(row.oldName) + '\t' + Cp1251ToUtf8(row.newName) + '\n';
    }
    return text;
}

int FinishRenameCommand(const CommandLine& line, std::string_view usage, const RenamePlan& frame,
                        const std::function<RenamePlan()>& build,
                        const std::function<int(const RenameStats&)>& report, Prompter& prompter, std::ostream& out,
                        std::ostream& err) {
    const bool dryRun = line.Switch("dry-run", false);
    const std::string* planFile = line.Value("plan");
    const std::string* applyFile = line.Value("apply");
    if (applyFile && (dryRun || planFile)) return CliUsage(err, "--apply goes with neither --dry-run nor --plan", usage);
    if (applyFile) {
        RenamePlan plan;
        plan.section = frame.section;
        plan.logged = frame.logged;
        int stale = 0;
        const bool clean = ReadSavedPlan(*applyFile, plan, stale, err);
        RenameStats stats = ExecuteRenamePlan(plan, prompter);
        stats.staleRows = stale;
        const int code = report(stats);
        return clean ? code : kExitFailed;
    }
    RenamePlan plan = build();
    if (!dryRun && !planFile) return report(ExecuteRenamePlan(plan, prompter));
    const std::string text = PlanText(plan);
    if (dryRun) out << text;
    int code = PlanFailures(plan, err);
    if (plan.noLog) {
        err << "tandrel-cli: " << Cp1251ToUtf8(NoLogText(plan.noLogIn)) << "\n";
        code = kExitFailed;
    }
    if (planFile) {
        if (FileResult r = ReplaceFileContents(*planFile, text); !r) {
            err << "tandrel-cli: " << r.error << "\n";
            return kExitFailed;
        }
    }
    return code;
}

}  // namespace tandrel
