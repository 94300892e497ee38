#include "rename/renamelog.h"

#include "platform/files.h"
#include "platform/textfile.h"
#include "text/cp1251.h"
#include "text/encoding.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

// Records synced to the disk together.
constexpr int kSyncBatch = 64;

RenameStepHook g_stepHook = nullptr;

std::string Header(const std::string& section) { return "[" + section + "]"; }

// The journal as written: a header line and records, each ending in CR LF.
// A last record without its line end (cut off by a crash) does not count;
// complete receives the size of the part that does.
struct Journal {
    std::string section;
    std::vector<std::string> lines;
    std::size_t complete = 0;
};

FileResult ReadJournal(const std::string& path, Journal& j) {
    std::string bytes;
    if (FileResult r = ReadFileBytes(path, bytes); !r) return r;
    const std::size_t lastEnd = bytes.rfind("\r\n");
    j.complete = lastEnd == std::string::npos ? 0 : lastEnd + 2;
    std::size_t pos = 0;
    bool header = true;
    while (pos < j.complete) {
        const std::size_t end = bytes.find("\r\n", pos);
        std::string line = bytes.substr(pos, end - pos);
        pos = end + 2;
        if (header) {
            if (line.size() < 2 || line.front() != '[' || line.back() != ']')
                return FileResult::Failure(Cp1251ToUtf8(path) + " is not a rename journal");
            j.section = line.substr(1, line.size() - 2);
            header = false;
        } else {
            j.lines.push_back(std::move(line));
        }
    }
    return FileResult::Success();
}

// One record as the journal and the log hold it.
void AppendRecord(std::string& out, std::string_view newName, std::string_view oldName) {
    out.append(newName).append(1, '=').append(oldName).append("\r\n");
}

// The bytes of "rename.ini" for the section and its records, as WriteTextLines
// writes the lines: code page 1251, or UTF-8 when those bytes would read back
// as Unicode.
std::string LogFileBytes(const std::string& section, const std::string& records) {
    std::string bytes;
    bytes.reserve(section.size() + 4 + records.size());
    bytes.append(Header(section)).append("\r\n").append(records);
    if (DetectTextEncoding(bytes).encoding != TextEncoding::Cp1251) return Cp1251ToUtf8(bytes);
    return bytes;
}

std::string_view Trimmed(std::string_view s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// The records of the first section of that name (without regard to case) in
// the bytes of "rename.ini", as ReadIniSection reads them with kIniAsWritten:
// a line that begins with "[" (blanks aside) and holds no "=" is a header;
// every other line holding "=" is a record, taken whole.
void ReadSectionLines(const std::string& bytes, const std::string& section, std::vector<std::string>& out) {
    TextOrigin origin;
    std::vector<std::string> lines = DecodeTextDocument(bytes, false, origin);
    const std::string wanted = ToLowerCase(TrimBlanks(section));
    bool inside = false;
    for (std::string& line : lines) {
        const std::string_view t = Trimmed(line);
        if (!t.empty() && t[0] == '[' && t.find('=') == std::string_view::npos) {
            if (inside) break;
            const std::size_t close = t.find(']');
            inside = ToLowerCase(TrimBlanks(t.substr(1, close == std::string_view::npos ? close : close - 1))) == wanted;
            continue;
        }
        if (inside && line.find('=') != std::string::npos) out.push_back(std::move(line));
    }
}

std::vector<std::string> LogFile(const std::string& section, const std::vector<std::string>& lines) {
    std::vector<std::string> file;
    file.reserve(lines.size() + 1);
    file.push_back(Header(section));
    file.insert(file.end(), lines.begin(), lines.end());
    return file;
}

}  // namespace

bool IsRenameLog(std::string_view name) { return name == kRenameLogName || name == kRenameJournalName; }

namespace {

bool HoldsLineBreak(const std::string& name) {
    for (char c : name)
        if (c == '\r' || c == '\n') return true;
    return false;
}

}  // namespace

std::string LogRefusal(const std::string& newName, const std::string& oldName) {
    if (HoldsLineBreak(newName) || HoldsLineBreak(oldName))
        return "the name holds a line break, which the rename log cannot hold";
    return {};
}

FileResult ReadLogSection(const std::string& dir, const std::string& section, LogLines& out) {
    out = {};
    const std::string wanted = ToLowerCase(section);
    const std::string journalPath = JoinPath(dir, kRenameJournalName);
    if (FileExists(journalPath)) {
        Journal j;
        if (FileResult r = ReadJournal(journalPath, j); !r) return r;
        if (!j.lines.empty()) {
            // The killed run is the last one that logged here.
            out.found = true;
            if (ToLowerCase(j.section) == wanted) out.lines = std::move(j.lines);
            return FileResult::Success();
        }
    }
    const std::string path = JoinPath(dir, kRenameLogName);
    if (!FileExists(path)) return FileResult::Success();
    out.found = true;
    // A header holds no "=": a log line of a name beginning with "[" is a record.
    std::string bytes;
    if (FileResult r = ReadFileBytes(path, bytes); !r) return r;
    ReadSectionLines(bytes, section, out.lines);
    return FileResult::Success();
}

FileResult RecoverJournal(const std::string& dir) {
    const std::string journalPath = JoinPath(dir, kRenameJournalName);
    if (!FileExists(journalPath)) return FileResult::Success();
    Journal j;
    if (FileResult r = ReadJournal(journalPath, j); !r) return r;
    if (!j.lines.empty()) {
        if (FileResult r = WriteTextLines(JoinPath(dir, kRenameLogName), LogFile(j.section, j.lines)); !r) return r;
        RenameStep();
    }
    FileResult r = DeleteFileChecked(journalPath);
    RenameStep();
    return r;
}

DirectoryLog::DirectoryLog(std::string dir, std::string section, bool enabled)
    : dir_(std::move(dir)), section_(std::move(section)), enabled_(enabled) {}

FileResult DirectoryLog::Start() {
    const std::string path = JoinPath(dir_, kRenameJournalName);
    if (FileExists(path)) {
        Journal j;
        if (ReadJournal(path, j) && !j.lines.empty() && ToLowerCase(j.section) == ToLowerCase(section_)) {
            // A killed run of the same kind: this run goes on with its journal.
            if (FileResult r = journal_.Open(path); !r) return r;
            if (FileResult r = journal_.Truncate(static_cast<std::int64_t>(j.complete)); !r) return r;
            section_ = j.section;
            for (const std::string& line : j.lines) records_.append(line).append("\r\n");
            unsynced_ = 1;  // what the killed run appended last may not be durable yet
            return FileResult::Success();
        }
        if (FileResult r = RecoverJournal(dir_); !r) return r;
    }
    if (FileResult r = journal_.Open(path); !r) return r;
    FileResult r = journal_.Truncate(0);
    if (r) r = journal_.Append(Header(section_) + "\r\n");
    if (!r) {
        // A journal that could not even take its header is not left behind.
        journal_.Close();
        (void)DeleteFileChecked(path);
    }
    return r;
}

FileResult DirectoryLog::Record(const std::string& newName, const std::string& oldName) {
    if (!enabled_) return FileResult::Success();
    if (!journal_.IsOpen()) {
        if (FileResult r = Start(); !r) {
            journal_.Close();
            return r;
        }
    }
    lastRecord_ = journal_.Size();
    std::string record;
    AppendRecord(record, newName, oldName);
    if (FileResult r = journal_.Append(record); !r) return r;
    lastLine_ = records_.size();
    records_ += record;
    if (++unsynced_ >= kSyncBatch) {
        unsynced_ = 0;
        if (FileResult r = journal_.Sync(); !r) {
            Cancel();
            return r;
        }
    }
    RenameStep();
    return FileResult::Success();
}

FileResult DirectoryLog::RecordBatch(const std::vector<std::pair<std::string_view, std::string_view>>& renames) {
    if (!enabled_ || renames.empty()) return FileResult::Success();
    if (!journal_.IsOpen()) {
        if (FileResult r = Start(); !r) {
            journal_.Close();
            return r;
        }
    }
    const std::int64_t before = journal_.Size();
    std::string records;
    std::size_t size = 0;
    for (const auto& [newName, oldName] : renames) size += newName.size() + oldName.size() + 3;
    records.reserve(size);
    for (const auto& [newName, oldName] : renames) AppendRecord(records, newName, oldName);
    FileResult r = journal_.Append(records);
    if (r) r = journal_.Sync();
    if (!r) {
        (void)journal_.Truncate(before);
        return r;
    }
    unsynced_ = 0;
    RenameStep();
    return FileResult::Success();
}

void DirectoryLog::Confirm(std::string_view newName, std::string_view oldName) {
    if (enabled_) AppendRecord(records_, newName, oldName);
}

void DirectoryLog::Cancel() {
    if (!enabled_ || records_.empty() || !journal_.IsOpen()) return;
    // A record left behind would do no harm: the rename back finds no file to move.
    (void)journal_.Truncate(lastRecord_);
    records_.resize(lastLine_);
}

FileResult DirectoryLog::Finish() {
    if (!enabled_ || !journal_.IsOpen()) return FileResult::Success();
    const std::string journalPath = JoinPath(dir_, kRenameJournalName);
    if (!records_.empty()) {
        const std::string logPath = JoinPath(dir_, kRenameLogName);
        const std::string bytes = LogFileBytes(section_, records_);
        // The records kept are those of the journal in its order, less the
        // renames that were not done. When every one was done (and the bytes
        // needed no conversion) the journal holds the log exactly: synced, it
        // becomes the log by one rename, and nothing is written twice.
        const std::size_t raw = Header(section_).size() + 2 + records_.size();
        if (journal_.Size() == static_cast<std::int64_t>(raw) && bytes.size() == raw &&
            (unsynced_ == 0 || journal_.Sync()) && journal_.MoveOver(logPath)) {
            unsynced_ = 0;
            records_.clear();
            RenameStep();
            return FileResult::Success();
        }
        FileResult r = ReplaceFileContents(logPath, bytes);
        if (!r) {
            (void)journal_.Sync();
            journal_.Close();
            return r;
        }
        RenameStep();
    }
    journal_.Close();
    records_.clear();
    FileResult r = DeleteFileChecked(journalPath);
    RenameStep();
    return r;
}

void SetRenameStepHook(RenameStepHook hook) { g_stepHook = hook; }

void RenameStep() {
    if (g_stepHook) g_stepHook();
}

}  // namespace tandrel
