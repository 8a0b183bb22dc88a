// Demo files: a game recorded as everything that decides it (the seed, the clock and
// level it started at, the ship it flew, and each frame's time step and held actions)
// so that it replays exactly, with the final state and picture it reached to check a
// replay against. The byte layout is described at the top of demo_reader.cpp.
#pragma once

#include "app/actions.h"
#include "app/challenge_day.h"
#include "model/model.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What a challenge's demo says of itself besides the game's start.
struct DemoChallenge {
    ChallengeDay day;
    int rulesVersion = kChallengeRulesVersion; // of the rules it was played under
    bool shortened = false;   // fewer steps than a challenge has: a test run
    bool builtinShip = true;  // flew the ship built into the program
    bool operator==(const DemoChallenge&) const = default;
};

struct DemoStart {
    std::string gameVersion; // of the program that recorded it
    double seed = 0.0;
    double clock = 0.0; // the game clock at start-up: the rules keep times as floats of it
    int level = 1;      // the first frame plays this level
    bool shake = true;  // the view shakes when the ship is destroyed
    std::vector<ModelLine> ship; // the outline flown, as read from its file
    std::optional<DemoChallenge> challenge; // a day's challenge (format 2); none in free play
};

struct DemoFrame {
    ActionSet held; // a demo keeps the actions the rules read, and quit
    double step = 0.0;
    bool operator==(const DemoFrame&) const = default;
};

// Where the recorded game stood after its last frame.
struct DemoEnd {
    uint32_t frames = 0;
    int32_t score = 0;
    int32_t level = 0;
    float fuel = 0.0f;
    float battery = 0.0f;
    uint32_t asteroidsLeft = 0;
    uint64_t frameHash = 0; // frameHash() of the last frame's picture
    bool operator==(const DemoEnd&) const = default;
};

struct Demo {
    DemoStart start;
    std::vector<DemoFrame> frames;
    std::optional<DemoEnd> end; // none when the recording was cut short (the game crashed)
};

// Free play is recorded in format 1 and a challenge in format 2, which adds what the
// challenge was; a program reads every format up to the newest it knows.
constexpr uint16_t kDemoFreePlayFormat = 1;
constexpr uint16_t kDemoChallengeFormat = 2;
constexpr uint16_t kDemoFormatVersion = kDemoChallengeFormat;
constexpr int kDemoMostLevel = 1000;
constexpr double kDemoLongestStep = 86400.0; // a day: longer is no recording of play
constexpr uint64_t kDemoLargestFile = uint64_t(64) << 20;

// Reads a demo from memory. A file cut short after its header is a demo without an
// end; anything else that is wrong (not a demo, a newer format, a value no recording
// holds, bytes after the end) gives false with the problem in words for the user.
bool parseDemo(std::span<const uint8_t> bytes, Demo& demo, std::string& problem);
// parseDemo of a file; on false, error names the file and the problem.
bool readDemoFile(const std::string& path, Demo& demo, std::string& error);

// The three parts of the layout, as bytes.
std::string encodeDemoStart(const DemoStart& start);
std::string encodeDemoFrame(const DemoFrame& frame);
std::string encodeDemoEnd(const DemoEnd& end);

// Writes a demo as the game is played, each frame as soon as it is known, so that a
// crash keeps every frame played before it. The file is written in place (through a
// link, keeping its mode): a recording is never whole until its end. After the first
// failure nothing more is written and error() says what went wrong, naming the file.
// Nothing of an existing file is lost before the recording begins: a game that fails
// to start leaves it as it was, and removes the file again if it made it.
class DemoWriter {
public:
    DemoWriter() = default;
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;
    ~DemoWriter();

    // Creates the file, or opens an existing one when replace is set (refused
    // otherwise); false with error(). Done before the game starts, so that a file that
    // cannot be written stops the program before its window opens.
    bool open(const std::string& path, bool replace);
    // The demo's start, written over whatever the file held, then its frames as they
    // are played.
    bool begin(const DemoStart& start);
    void add(const DemoFrame& frame);
    // Writes the end and closes the file; false with error() when anything failed.
    bool finish(DemoEnd end);

    uint32_t frames() const { return frames_; }
    const std::string& error() const { return error_; }

private:
    void write(const std::string& bytes);
    void fail(const std::string& problem);

    std::FILE* file_ = nullptr;
    std::string path_;
    std::string error_;
    bool made_ = false;    // open() created the file
    bool begun_ = false;
    uint64_t written_ = 0; // bytes
    uint32_t frames_ = 0;
};
