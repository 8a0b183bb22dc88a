// Reading demo files. The layout, versions 1 and 2, all numbers little-endian, floats
// as their IEEE bits, so that every value comes back exactly as the game used it:
//
//   start  8 bytes   magic "SGDEMO\r\n"
//          u16       format version: 1 free play, 2 a day's challenge
//          u8 n, n   the game's version, printable text
//          f64       the seed
//          f64       the game clock at start-up
//          u16       the level the first frame plays, 1..1000
//          u8        options: 1 = the view shakes; other bits 0
//          (format 2 only) u16 year, u8 month, u8 day: the challenge's UTC day;
//          u16 the rules' version; u8: 1 = shortened (a test run), 2 = the built-in
//          ship; other bits 0
//          u16 m     lines of the ship's outline, then per line 8 x f32:
//                    start x, y, texStart x, y, end x, y, texEnd x, y
//   frame  'F', u16 held actions (bit n: Action n for thrust..zoom_out, bit 10: quit),
//          f64 time step in seconds (0 to a day); only the last frame may hold quit
//   end    'E', u32 frames, i32 score, i32 level, f32 fuel, f32 battery,
//          u32 asteroids left, u64 hash of the last frame's picture; nothing after it
//
// Frames follow the start until the end record. A file that stops before it (a game
// that crashed while recording) still replays, as far as it goes; a frame cut in the
// middle is dropped. Counts are checked against the bytes left before anything is
// allocated, so no file can ask for more memory than its own size.
#include "app/demo_file.h"

#include "app/demo_layout.h"
#include "base/bit_cast.h"
#include "files/file_read.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

namespace {

using namespace demo_layout;

constexpr size_t kFloatsPerLine = 8;
constexpr double kLatestStartClock = 1e12; // seconds: some 30 000 years of a running clock

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t left() const { return bytes_.size() - at_; }
    bool atEnd() const { return left() == 0; }

    // False when fewer bytes are left than the value needs; the value is then unread.
    template <class T>
    bool take(T& value)
    {
        if (left() < sizeof(T)) return false;
        std::array<uint8_t, sizeof(T)> raw;
        std::memcpy(raw.data(), bytes_.data() + at_, sizeof(T));
        if constexpr (std::endian::native == std::endian::big) std::reverse(raw.begin(), raw.end());
        value = bits::cast<T>(raw);
        at_ += sizeof(T);
        return true;
    }
    bool take(std::string& text, size_t size)
    {
        if (left() < size) return false;
        text.assign(reinterpret_cast<const char*>(bytes_.data() + at_), size);
        at_ += size;
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

bool refuse(std::string& problem, const std::string& text)
{
    problem = text;
    return false;
}

bool printable(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

bool readShip(ByteReader& in, std::vector<ModelLine>& ship, std::string& problem)
{
    uint16_t lines = 0;
    if (!in.take(lines)) return refuse(problem, "it ends inside its start");
    if (in.left() < size_t{lines} * kFloatsPerLine * sizeof(float)) {
        return refuse(problem, "it ends inside the ship's outline");
    }
    ship.resize(lines);
    for (ModelLine& line : ship) {
        for (Vec2f* point : {&line.start, &line.texStart, &line.end, &line.texEnd}) {
            in.take(point->x);
            in.take(point->y);
        }
    }
    return true;
}

bool readChallenge(ByteReader& in, DemoStart& start, std::string& problem)
{
    uint16_t year = 0, rulesVersion = 0;
    uint8_t month = 0, day = 0, flags = 0;
    if (!in.take(year) || !in.take(month) || !in.take(day) || !in.take(rulesVersion) || !in.take(flags)) {
        return refuse(problem, "it ends inside its start");
    }
    DemoChallenge challenge;
    challenge.day = {year, month, day};
    std::string dayProblem;
    if (!parseChallengeDay(formatChallengeDay(challenge.day), dayProblem)) {
        return refuse(problem, "its challenge day: " + dayProblem);
    }
    if (rulesVersion == 0) return refuse(problem, "it names rules version 0, which never existed");
    if (flags & ~(kShortenedChallenge | kBuiltinShipChallenge)) {
        return refuse(problem, "its challenge asks for options this game does not know");
    }
    challenge.rulesVersion = rulesVersion;
    challenge.shortened = flags & kShortenedChallenge;
    challenge.builtinShip = flags & kBuiltinShipChallenge;
    start.challenge = challenge;
    return true;
}

bool readStart(ByteReader& in, DemoStart& start, std::string& problem)
{
    std::string magic;
    if (!in.take(magic, kMagicSize) || magic != kMagic) return refuse(problem, "it is not a demo file");
    uint16_t version = 0;
    uint8_t versionSize = 0;
    if (!in.take(version)) return refuse(problem, "it ends inside its start");
    if (version > kDemoFormatVersion) {
        problem = "it was recorded in demo format " + std::to_string(version) + " by a newer game; this one reads " +
                  std::to_string(kDemoFormatVersion);
        return false;
    }
    if (version == 0) return refuse(problem, "it names demo format 0, which never existed");
    uint16_t level = 0;
    uint8_t options = 0;
    if (!in.take(versionSize) || !in.take(start.gameVersion, versionSize) || !in.take(start.seed) ||
        !in.take(start.clock) || !in.take(level) || !in.take(options)) {
        return refuse(problem, "it ends inside its start");
    }
    if (!printable(start.gameVersion)) return refuse(problem, "its game version is not text");
    if (!std::isfinite(start.seed)) return refuse(problem, "its seed is not a number");
    if (!(start.clock >= 0.0 && start.clock <= kLatestStartClock)) return refuse(problem, "its starting clock is out of range");
    if (level < 1 || level > kDemoMostLevel) {
        return refuse(problem, "it starts at level " + std::to_string(level) + ", not 1 to " + std::to_string(kDemoMostLevel));
    }
    if (options & ~kShakeOption) return refuse(problem, "it asks for options this game does not know");
    start.level = level;
    start.shake = options & kShakeOption;
    if (version == kDemoChallengeFormat && !readChallenge(in, start, problem)) return false;
    return readShip(in, start.ship, problem);
}

std::string frameName(size_t index) { return "frame " + std::to_string(index + 1); }

// False with the problem; a frame cut short is not read, and is no problem.
bool readFrame(ByteReader& in, Demo& demo, bool& cut, std::string& problem)
{
    uint16_t held = 0;
    DemoFrame frame;
    if (!in.take(held) || !in.take(frame.step)) {
        cut = true;
        return true;
    }
    if (held >> kHeldBits) return refuse(problem, frameName(demo.frames.size()) + " holds unknown actions");
    if (!(frame.step >= 0.0 && frame.step <= kDemoLongestStep)) {
        return refuse(problem, frameName(demo.frames.size()) + " has a time step out of range");
    }
    if (!demo.frames.empty() && demo.frames.back().held[bit(Action::quit)]) {
        return refuse(problem, frameName(demo.frames.size() - 1) + " quits, but more frames follow");
    }
    frame.held = heldActions(held);
    demo.frames.push_back(frame);
    return true;
}

bool readEnd(ByteReader& in, Demo& demo, std::string& problem)
{
    DemoEnd end;
    if (!in.take(end.frames) || !in.take(end.score) || !in.take(end.level) || !in.take(end.fuel) ||
        !in.take(end.battery) || !in.take(end.asteroidsLeft) || !in.take(end.frameHash)) {
        return true; // cut inside the end: as good as no end
    }
    if (end.frames != demo.frames.size()) {
        problem = "its end counts " + std::to_string(end.frames) + " frames, but it holds " +
                  std::to_string(demo.frames.size());
        return false;
    }
    if (!in.atEnd()) return refuse(problem, "more follows its end");
    demo.end = end;
    return true;
}

} // namespace

bool parseDemo(std::span<const uint8_t> bytes, Demo& demo, std::string& problem)
{
    demo = Demo{};
    ByteReader in(bytes);
    if (!readStart(in, demo.start, problem)) return false;
    demo.frames.reserve(in.left() / kFrameSize);
    bool cut = false;
    while (!in.atEnd() && !cut && !demo.end) {
        uint8_t tag = 0;
        in.take(tag);
        if (tag == kFrameTag) {
            if (!readFrame(in, demo, cut, problem)) return false;
        } else if (tag == kEndTag) {
            if (!readEnd(in, demo, problem)) return false;
            cut = !demo.end;
        } else {
            problem = "after " + (demo.frames.empty() ? std::string("its start") : frameName(demo.frames.size() - 1)) +
                      " comes a record this game does not know";
            return false;
        }
    }
    return true;
}

bool readDemoFile(const std::string& path, Demo& demo, std::string& error)
{
    FileBytes bytes;
    std::string problem;
    if (!readWholeFile(path, {"demo", kDemoLargestFile}, bytes, problem)) {
        error = path + ": " + problem;
        return false;
    }
    if (!parseDemo(bytes.bytes(), demo, problem)) {
        error = path + ": not a demo this game can replay: " + problem;
        return false;
    }
    return true;
}
