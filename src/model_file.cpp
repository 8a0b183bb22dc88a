// LOAD and SAVE of .mdata files: a count line (the last line index) and then eight
// numbers per line record, start, texStart, end, texEnd, one per CR LF line. Loading
// builds the new outline apart and swaps it in only when the whole file was read;
// saving writes a temporary file beside the target and renames it over the old one.
#include "model.h"

#include "mdata_text.h"

#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

const std::string kModelFolder = "data/model/";
const std::string kTemporarySuffix = ".saving";
constexpr size_t kValuesPerLine = 8;
// More records than any file could hold; the contents bound the real number anyway.
constexpr double kMostAnnouncedLines = 1e15;

void report(const char* message)
{
    std::puts(message);
    std::fflush(stdout);
}

// One text line without its end. CR LF, LF and a lone CR all end a line; text after
// the last line end is a last line. False when no line is left.
bool readLine(std::FILE* file, std::string& line)
{
    line.clear();
    int c = std::getc(file);
    if (c == EOF) return false;
    while (c != EOF && c != '\n' && c != '\r') {
        line += static_cast<char>(c);
        c = std::getc(file);
    }
    if (c == '\r') {
        const int next = std::getc(file);
        if (next != '\n' && next != EOF) std::ungetc(next, file);
    }
    return true;
}

// Number of line records the count line asks for: the count is the last index,
// rounded halves to even; anything below 0 (or no number at all) asks for none.
size_t announcedLines(double count)
{
    const double lastIndex = std::nearbyint(count);
    if (!(lastIndex >= 0.0)) return 0;
    if (lastIndex >= kMostAnnouncedLines) return static_cast<size_t>(kMostAnnouncedLines);
    return static_cast<size_t>(lastIndex) + 1;
}

ModelLine lineFromFileOrder(const float (&v)[kValuesPerLine])
{
    ModelLine line;
    line.start = {v[0], v[1]};
    line.texStart = {v[2], v[3]};
    line.end = {v[4], v[5]};
    line.texEnd = {v[6], v[7]};
    return line;
}

// Reads as many records as the count asks for and the file holds: a record of which
// only some values are present gets 0 for the rest, and none is made past the end,
// so a count far beyond the contents costs no memory. False on a read error.
bool readLines(std::FILE* file, std::vector<ModelLine>& lines)
{
    std::string text;
    const size_t wanted = readLine(file, text) ? announcedLines(parseMdataNumber(text)) : 0;
    while (lines.size() < wanted) {
        float values[kValuesPerLine] = {};
        size_t present = 0;
        while (present < kValuesPerLine && readLine(file, text)) values[present++] = parseMdataCoordinate(text);
        if (present == 0) break;
        lines.push_back(lineFromFileOrder(values));
        if (present < kValuesPerLine) break;
    }
    return std::ferror(file) == 0;
}

void appendLine(std::string& text, const std::string& number)
{
    text += number;
    text += "\r\n";
}

std::string fileText(const Model& model)
{
    std::string text;
    appendLine(text, formatMdataCount(static_cast<int32_t>(model.lines.size()) - 1));
    for (const ModelLine& line : model.lines) {
        for (const Vec2f& point : {line.start, line.texStart, line.end, line.texEnd}) {
            appendLine(text, formatMdataNumber(point.x));
            appendLine(text, formatMdataNumber(point.y));
        }
    }
    return text;
}

// Writes the whole text and makes it durable before anyone renames it into place.
// A full disk often shows only at the flush or the close, so both are checked.
bool writeFile(const std::string& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = written && std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
    written = std::fclose(file) == 0 && written;
    if (!written) std::remove(path.c_str());
    return written;
}

} // namespace

bool LOAD(Model& model, const std::string& name)
{
    std::FILE* file = std::fopen((kModelFolder + name).c_str(), "rb");
    if (!file) {
        report("Could not load file!");
        return false;
    }
    std::vector<ModelLine> lines;
    const bool read = readLines(file, lines);
    std::fclose(file);
    // A folder opens on some systems and fails only at the first read.
    if (!read) {
        report("Could not load file!");
        return false;
    }
    model.transformed.assign(lines.size(), ModelLine{});
    model.lines = std::move(lines);
    return true;
}

bool SAVE(const Model& model, const std::string& name)
{
    const std::string path = kModelFolder + name;
    // Same folder as the target, so the rename stays on one file system and is atomic.
    const std::string temporary = path + kTemporarySuffix;
    if (!writeFile(temporary, fileText(model))) {
        report("Could not save file!");
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        report("Could not save file!");
        return false;
    }
    return true;
}
