// LOAD and SAVE of .mdata files: a count line (the last line index) and then eight
// numbers per line record, start, texStart, end, texEnd, one per CR LF line. Loading
// builds the new outline apart and swaps it in only when the whole file was read;
// saving writes a temporary file beside the target and renames it over the old one.
#include "model/model.h"

#include "files/file_read.h"
#include "platform/file_replace.h"
#include "model/mdata_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

const std::string kModelFolder = "data/model/";
constexpr size_t kValuesPerLine = 8;
// More records than any file could hold; the contents bound the real number anyway.
constexpr double kMostAnnouncedLines = 1e15;
// Room for the most lines a demo can fly (65535) even written out long-hand; a larger
// file is no model.
constexpr FileKind kModelFile{"model file", uint64_t(64) << 20};

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
// so a count far beyond the contents costs no memory. complete tells whether the
// file held every value of every record the count asked for. False on a read error.
bool readLines(std::FILE* file, std::vector<ModelLine>& lines, bool& complete)
{
    std::string text;
    const size_t wanted = readLine(file, text) ? announcedLines(parseMdataNumber(text)) : 0;
    complete = true;
    while (lines.size() < wanted && complete) {
        float values[kValuesPerLine] = {};
        size_t present = 0;
        while (present < kValuesPerLine && readLine(file, text)) values[present++] = parseMdataCoordinate(text);
        complete = present == kValuesPerLine;
        if (present > 0) lines.push_back(lineFromFileOrder(values));
    }
    return std::ferror(file) == 0;
}

// Opens and reads the file; on false, problem says why in words for the user.
bool readFile(const std::string& path, std::vector<ModelLine>& lines, bool& complete, std::string& problem)
{
    std::FILE* file = openRegularFile(path, kModelFile, problem);
    if (!file) return false;
    const bool read = readLines(file, lines, complete);
    if (!read) problem = std::strerror(errno);
    std::fclose(file);
    return read;
}

// Reads lines while they are numbers alone, at most count of them; false at the first
// line that is something else, or past the end.
bool readNumberLines(std::FILE* file, size_t count, std::string& line, double& last)
{
    for (size_t i = 0; i < count; ++i) {
        if (!readLine(file, line) || !isWholeMdataNumber(line)) return false;
        last = parseMdataNumber(line);
    }
    return true;
}

bool holdsModelText(std::FILE* file)
{
    std::string line;
    double count = 0.0;
    if (!readNumberLines(file, 1, line, count) || count != std::floor(count) || count < -1.0) return false;
    if (count >= kMostAnnouncedLines) return false;
    double ignored = 0.0;
    if (!readNumberLines(file, kValuesPerLine * static_cast<size_t>(count + 1.0), line, ignored)) return false;
    while (readLine(file, line)) {
        if (line.find_first_not_of(" \t") != std::string::npos) return false;
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

} // namespace

void setModelLines(Model& model, std::vector<ModelLine> lines)
{
    model.transformed.assign(lines.size(), ModelLine{});
    model.lines = std::move(lines);
}

bool readModelFile(Model& model, const std::string& path, std::string& problem)
{
    std::vector<ModelLine> lines;
    bool complete = false;
    if (!readFile(path, lines, complete, problem)) return false;
    setModelLines(model, std::move(lines));
    return true;
}

bool readWholeModelFile(Model& model, const std::string& path, std::string& problem)
{
    std::vector<ModelLine> lines;
    bool complete = false;
    if (!readFile(path, lines, complete, problem)) return false;
    if (!complete || lines.empty()) {
        problem = lines.empty() ? "it holds no outline" : "it ends before the last line its count announces";
        return false;
    }
    setModelLines(model, std::move(lines));
    return true;
}

bool isModelText(const std::string& path)
{
    std::string ignoredProblem;
    std::FILE* file = openRegularFile(path, kModelFile, ignoredProblem);
    if (!file) return false;
    const bool model = holdsModelText(file);
    std::fclose(file);
    return model;
}

bool loadModelFile(Model& model, const std::string& path)
{
    std::string ignoredProblem;
    if (readModelFile(model, path, ignoredProblem)) return true;
    report("Could not load file!");
    return false;
}

bool writeModelFile(const Model& model, const std::string& path, std::string& problem)
{
    return replaceFile(path, fileText(model), problem);
}

bool saveModelFile(const Model& model, const std::string& path)
{
    std::string ignoredProblem;
    if (writeModelFile(model, path, ignoredProblem)) return true;
    report("Could not save file!");
    return false;
}

bool LOAD(Model& model, const std::string& name) { return loadModelFile(model, kModelFolder + name); }

bool SAVE(const Model& model, const std::string& name) { return saveModelFile(model, kModelFolder + name); }
