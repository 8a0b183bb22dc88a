// Writing demo files in the layout described in demo_reader.cpp. Each frame is
// flushed as it is added: a recording is only as good as what reached the disk when
// the game stopped.
#include "app/demo_file.h"

#include "app/demo_layout.h"
#include "base/bit_cast.h"
#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>

namespace {

using namespace demo_layout;

template <class T>
void append(std::string& bytes, T value)
{
    auto raw = bits::cast<std::array<char, sizeof(T)>>(value);
    if constexpr (std::endian::native == std::endian::big) std::reverse(raw.begin(), raw.end());
    bytes.append(raw.data(), raw.size());
}

} // namespace

std::string encodeDemoStart(const DemoStart& start)
{
    std::string bytes(kMagic);
    append(bytes, start.challenge ? kDemoChallengeFormat : kDemoFreePlayFormat);
    append(bytes, static_cast<uint8_t>(start.gameVersion.size()));
    bytes += start.gameVersion;
    append(bytes, start.seed);
    append(bytes, start.clock);
    append(bytes, static_cast<uint16_t>(start.level));
    append(bytes, static_cast<uint8_t>(start.shake ? kShakeOption : 0));
    if (start.challenge) {
        const DemoChallenge& challenge = *start.challenge;
        append(bytes, static_cast<uint16_t>(challenge.day.year));
        append(bytes, static_cast<uint8_t>(challenge.day.month));
        append(bytes, static_cast<uint8_t>(challenge.day.day));
        append(bytes, static_cast<uint16_t>(challenge.rulesVersion));
        append(bytes, static_cast<uint8_t>((challenge.shortened ? kShortenedChallenge : 0) |
                                           (challenge.builtinShip ? kBuiltinShipChallenge : 0)));
    }
    append(bytes, static_cast<uint16_t>(start.ship.size()));
    for (const ModelLine& line : start.ship) {
        for (const Vec2f& point : {line.start, line.texStart, line.end, line.texEnd}) {
            append(bytes, point.x);
            append(bytes, point.y);
        }
    }
    return bytes;
}

std::string encodeDemoFrame(const DemoFrame& frame)
{
    std::string bytes(1, char(kFrameTag));
    append(bytes, heldWord(frame.held));
    append(bytes, frame.step);
    return bytes;
}

std::string encodeDemoEnd(const DemoEnd& end)
{
    std::string bytes(1, char(kEndTag));
    append(bytes, end.frames);
    append(bytes, end.score);
    append(bytes, end.level);
    append(bytes, end.fuel);
    append(bytes, end.battery);
    append(bytes, end.asteroidsLeft);
    append(bytes, end.frameHash);
    return bytes;
}

DemoWriter::~DemoWriter()
{
    if (!file_) return;
    std::fclose(file_);
    if (made_ && !begun_) ::unlink(path_.c_str());
}

bool DemoWriter::open(const std::string& path, bool replace)
{
    path_ = path;
    // Made exclusively, so a file that appears meanwhile is not emptied either.
    const int made = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    made_ = made >= 0;
    if (made_) {
        file_ = ::fdopen(made, "wb");
        if (!file_) ::close(made);
    } else if (errno != EEXIST) {
        fail(std::strerror(errno));
        return false;
    } else if (!replace) {
        fail("the file exists; --force replaces it");
        return false;
    } else {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            fail(S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file");
            return false;
        }
        // "r+" follows a link, keeps the mode and owner, and empties nothing yet.
        file_ = std::fopen(path.c_str(), "r+b");
    }
    if (file_) return true;
    fail(std::strerror(errno));
    if (made_) ::unlink(path.c_str());
    return false;
}

bool DemoWriter::begin(const DemoStart& start)
{
    if (start.gameVersion.size() > UINT8_MAX || start.ship.size() > UINT16_MAX || start.level < 1 ||
        start.level > kDemoMostLevel) {
        // Refused before anything is written: the destructor then treats the file as
        // never begun, leaving an existing one whole and removing one open() made.
        fail("this game does not fit a demo (its version, ship or level is too large)");
        return false;
    }
    begun_ = true;
    if (file_ && ::ftruncate(::fileno(file_), 0) != 0) fail(std::strerror(errno));
    write(encodeDemoStart(start));
    return error_.empty();
}

void DemoWriter::add(const DemoFrame& frame)
{
    write(encodeDemoFrame(frame));
    if (error_.empty()) ++frames_;
}

bool DemoWriter::finish(DemoEnd end)
{
    end.frames = frames_;
    write(encodeDemoEnd(end));
    if (file_ && std::fclose(file_) != 0 && error_.empty()) fail(std::strerror(errno));
    if (file_ && error_.empty()) keepWrittenFile(path_);
    file_ = nullptr;
    return error_.empty();
}

void DemoWriter::write(const std::string& bytes)
{
    if (!file_ || !error_.empty()) return;
    if (written_ + bytes.size() > kDemoLargestFile) {
        fail("the demo has reached the largest size a demo may have (" + std::to_string(kDemoLargestFile >> 20) +
             " MiB); the rest was not recorded");
        return;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() || std::fflush(file_) != 0) {
        fail(std::strerror(errno));
        return;
    }
    written_ += bytes.size();
}

void DemoWriter::fail(const std::string& problem)
{
    if (error_.empty()) error_ = path_ + ": " + problem;
}
