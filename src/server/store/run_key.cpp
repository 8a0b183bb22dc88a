// The run key over the frames as the demo layout encodes them, so a change to what a
// frame holds changes the key with it.
#include "server/store/run_key.h"

#include "server/store/store_backends.h"

#include <openssl/evp.h>

#include <array>
#include <stdexcept>

namespace {
// Names the key's layout: bumped if the hashed bytes ever change.
constexpr const char* kKeyPrefix = "space-game run key 1\n";
}

std::string runKey(const ChallengeDay& day, std::span<const DemoFrame> frames)
{
    std::string bytes = kKeyPrefix + formatChallengeDay(day) + "\n";
    for (const DemoFrame& frame : frames) bytes += encodeDemoFrame(frame);
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (!EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr))
        throw std::runtime_error("SHA-256 is not available from OpenSSL");
    return hexText(std::span(digest.data(), length));
}
