// Score entries as files: "key=value" lines under a first line that says what the file
// is, each read back with every field checked, and the ranking over them.
#include "app/score_table.h"

#include "files/file_read.h"
#include "platform/file_replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <map>
#include <random>
#include <set>

namespace {

constexpr std::string_view kFirstLine = "space-game challenge score 1";
constexpr std::string_view kEntrySuffix = ".score";
constexpr std::string_view kSetAsideSuffix = ".unreadable";
constexpr std::string_view kClaimSuffix = ".claim";
const std::string kLastNameFile = "last-name";
constexpr FileKind kEntryFile{"score entry", 4096};
constexpr int kMostNameTries = 100; // a clash of six random characters is already rare

std::string systemProblem(const std::string& path) { return path + ": " + std::strerror(errno); }

bool isDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits where the pattern has '9', the pattern's own character elsewhere.
bool matchesPattern(std::string_view text, std::string_view pattern)
{
    if (text.size() != pattern.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (pattern[i] == '9' ? !isDigits(text.substr(i, 1)) : text[i] != pattern[i]) return false;
    }
    return true;
}

bool isDay(std::string_view text) { return matchesPattern(text, "9999-99-99"); }
bool isStamp(std::string_view text) { return matchesPattern(text, "9999-99-99T99:99:99Z"); }

// A demo named by an entry must be a plain file name in the entry's own folder.
bool isDemoName(std::string_view name)
{
    return name.empty() || (name.front() != '.' && name.find('/') == std::string_view::npos);
}

template <typename Number>
bool readNumber(std::string_view text, Number& number)
{
    if (text.empty() || !isDigits(text)) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

std::string entryText(const ScoreEntry& entry)
{
    std::string text(kFirstLine);
    text += "\nname=" + entry.name + "\nday=" + entry.day + "\nscore=" + std::to_string(entry.score) +
            "\nlevel=" + std::to_string(entry.level) + "\nfinished=" + entry.finished + "\ndemo=" + entry.demo + "\n";
    return text;
}

// The fields of an entry's text, or the first thing wrong with it.
bool parseEntry(std::string_view text, ScoreEntry& entry, std::string& problem)
{
    std::map<std::string, std::string, std::less<>> fields;
    size_t lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (lineNumber++ == 0) {
            if (line == kFirstLine) continue;
            problem = "not a score entry (its first line is not \"" + std::string(kFirstLine) + "\")";
            return false;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        fields.emplace(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
    }
    entry.name = fields["name"];
    entry.day = fields["day"];
    entry.finished = fields["finished"];
    entry.demo = fields["demo"];
    if (lineNumber == 0) problem = "the file is empty";
    else if (!validPlayerName(entry.name)) problem = "no valid name";
    else if (!isDay(entry.day)) problem = "no valid day";
    else if (!readNumber(fields["score"], entry.score)) problem = "no valid score";
    else if (!readNumber(fields["level"], entry.level) || entry.level < 1) problem = "no valid level";
    else if (!isStamp(entry.finished)) problem = "no valid finishing time";
    else if (!isDemoName(entry.demo)) problem = "no valid demo file name";
    return problem.empty();
}

std::vector<std::string> entryFileNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return names;
    while (const dirent* item = ::readdir(listing)) {
        const std::string name = item->d_name;
        if (name.front() != '.' && name.ends_with(kEntrySuffix)) names.push_back(name);
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end()); // the same order whatever the folder's
    return names;
}

std::string randomLetters()
{
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device; // not the game's generator: that one belongs to the rules
    std::string letters;
    for (int i = 0; i < 6; ++i) letters += kLetters[device() % kLetters.size()];
    return letters;
}

// Claims a name for the entry by making "<name>.claim" exclusively; while the claim
// stands no other writer takes the name, and readers never see a half-made entry
// (they read only whole ".score" files, which the replacement renames into place).
// "2026-12-08_071503_k3x9qa.score" keeps a folder listing in order.
bool claimEntryName(const std::string& folder, const ScoreEntry& entry, std::string& name, std::string& error)
{
    std::string time = entry.finished.substr(kStampTimeStart, kStampTimeLength);
    time.erase(std::remove(time.begin(), time.end(), ':'), time.end());
    for (int tries = 0; tries < kMostNameTries; ++tries) {
        name = entry.day + "_" + time + "_" + randomLetters() + std::string(kEntrySuffix);
        const std::string claim = folder + "/" + name + std::string(kClaimSuffix);
        const int file = ::open(claim.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (file < 0 && errno != EEXIST) {
            error = systemProblem(claim);
            return false;
        }
        if (file < 0) continue;
        ::close(file);
        if (noFileAt(folder + "/" + name)) return true;
        ::unlink(claim.c_str());
    }
    error = folder + ": no free name for a score entry";
    return false;
}

std::set<std::string> keptEntryFiles(const std::vector<ScoreEntry>& entries)
{
    std::set<std::string> days, kept;
    for (const ScoreEntry& entry : entries) days.insert(entry.day);
    for (const std::string& day : days) {
        const ScoreTables tables = bestTables(entries, day);
        for (const auto* table : {&tables.day, &tables.allTime}) {
            for (const ScoreEntry& entry : *table) kept.insert(entry.file);
        }
    }
    return kept;
}

void removeOrWarn(const std::string& path, std::vector<std::string>& warnings)
{
    std::string error;
    if (!removeFile(path, error)) warnings.push_back(error);
}

} // namespace

bool validPlayerName(std::string_view name)
{
    const bool printable = std::all_of(name.begin(), name.end(), [](char c) { return c >= ' ' && c <= '~'; });
    return printable && !name.empty() && name.size() <= kLongestPlayerName &&
           name.find_first_not_of(' ') != std::string_view::npos;
}

std::string challengeFolder(const Environment& environment)
{
    const std::string data = userDataFolder(environment);
    return data.empty() ? data : data + "/challenge";
}

std::string shortenedRunFolder(const std::string& challengeFolder) { return challengeFolder + "/shortened"; }

std::string entryFolderFor(const std::string& challengeFolder, bool practice, bool shortened)
{
    if (shortened) return shortenedRunFolder(challengeFolder);
    return practice ? "" : challengeFolder;
}

std::string utcStamp(std::time_t seconds)
{
    std::tm parts{};
    ::gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

bool ranksBefore(const ScoreEntry& a, const ScoreEntry& b)
{
    if (a.score != b.score) return a.score > b.score;
    if (a.finished != b.finished) return a.finished < b.finished;
    return a.file < b.file;
}

ScoreTables bestTables(std::vector<ScoreEntry> entries, const std::string& day)
{
    std::sort(entries.begin(), entries.end(), ranksBefore);
    ScoreTables tables;
    for (const ScoreEntry& entry : entries) {
        if (entry.day == day && tables.day.size() < kTableSize) tables.day.push_back(entry);
        if (tables.allTime.size() < kTableSize) tables.allTime.push_back(entry);
    }
    return tables;
}

bool entersTables(const std::vector<ScoreEntry>& entries, const ScoreEntry& run)
{
    // On equal score and time the run, whose file has no name yet, is taken to come first.
    size_t aheadThatDay = 0, aheadOfAll = 0;
    for (const ScoreEntry& entry : entries) {
        if (ranksBefore(run, entry)) continue;
        ++aheadOfAll;
        if (entry.day == run.day) ++aheadThatDay;
    }
    return aheadThatDay < kTableSize || aheadOfAll < kTableSize;
}

std::vector<ScoreEntry> readScoreEntries(const std::string& folder, std::vector<std::string>& warnings)
{
    std::vector<ScoreEntry> entries;
    for (const std::string& name : entryFileNames(folder)) {
        const std::string path = folder + "/" + name;
        FileBytes bytes;
        std::string problem;
        ScoreEntry entry;
        if (readWholeFile(path, kEntryFile, bytes, problem) && parseEntry(bytes.text(), entry, problem)) {
            entry.file = name;
            entries.push_back(std::move(entry));
            continue;
        }
        std::string error;
        const bool moved = moveFile(path, path + std::string(kSetAsideSuffix), error);
        warnings.push_back(path + ": " + problem + "; " +
                           (moved ? "set aside as " + name + std::string(kSetAsideSuffix) : error));
    }
    return entries;
}

bool writeScoreEntry(const std::string& folder, ScoreEntry& entry, std::string& error)
{
    std::string name;
    if (!makeFolders(folder, error) || !claimEntryName(folder, entry, name, error)) return false;
    const bool written = replaceFile(folder + "/" + name, entryText(entry), error);
    ::unlink((folder + "/" + name + std::string(kClaimSuffix)).c_str());
    if (written) entry.file = name;
    return written;
}

void pruneScoreEntries(const std::string& folder, const std::vector<ScoreEntry>& entries,
                       std::vector<std::string>& warnings)
{
    const std::set<std::string> kept = keptEntryFiles(entries);
    std::set<std::string> keptDemos;
    for (const ScoreEntry& entry : entries) {
        if (kept.count(entry.file)) keptDemos.insert(entry.demo);
    }
    for (const ScoreEntry& entry : entries) {
        if (kept.count(entry.file)) continue;
        removeOrWarn(folder + "/" + entry.file, warnings);
        if (!entry.demo.empty() && !keptDemos.count(entry.demo)) removeOrWarn(folder + "/" + entry.demo, warnings);
    }
}

std::string lastPlayerName(const std::string& folder)
{
    FileBytes bytes;
    std::string problem;
    const std::string path = folder + "/" + kLastNameFile;
    if (noFileAt(path) || !readWholeFile(path, kEntryFile, bytes, problem)) return "";
    std::string name(bytes.text().substr(0, bytes.text().find('\n')));
    return validPlayerName(name) ? name : "";
}

bool keepPlayerName(const std::string& folder, const std::string& name, std::string& error)
{
    return makeFolders(folder, error) && replaceFile(folder + "/" + kLastNameFile, name + "\n", error);
}
