// libFuzzer target for the demo reader. Besides the sanitizers it checks that what
// is accepted is exactly what the bytes say: encoding the demo read gives back the
// input (a whole demo) or a prefix of it (a demo cut short), so no value is misread,
// no frame invented and none dropped before the cut.
#include "app/demo_file.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Demo demo;
    std::string problem;
    if (!parseDemo(std::span<const uint8_t>(data, size), demo, problem)) {
        if (problem.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    std::string encoded = encodeDemoStart(demo.start);
    for (const DemoFrame& frame : demo.frames) encoded += encodeDemoFrame(frame);
    if (demo.end) encoded += encodeDemoEnd(*demo.end);
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (demo.end ? encoded != input : input.compare(0, encoded.size(), encoded) != 0) std::abort();
    return 0;
}
