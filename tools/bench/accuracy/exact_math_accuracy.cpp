// The unit test's MPFR comparison on many more inputs: prints, for sin, cos and
// atan2, the worst error in ulps (measured for every result) and how many results
// are not the correctly rounded double. Exits 1 when an error exceeds 1 ulp.
//   exact_math_accuracy [INPUTS]   (10 million by default)
#include "support/exact_math_reference.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using exact_reference::Function;
using exact_reference::Input;
using exact_reference::Tally;

Tally measureAll(Function f, const std::vector<Input>& inputs)
{
    Tally tally;
    for (const Input& in : inputs) exact_reference::measure(f, in, tally, exact_reference::UlpMeasure::Always);
    std::printf("%s\n", exact_reference::describe(f, tally).c_str());
    std::fflush(stdout);
    return tally;
}

} // namespace

int main(int argc, char** argv)
{
    long long count = 10'000'000;
    if (argc > 1) {
        char* end = nullptr;
        count = std::strtoll(argv[1], &end, 10);
        if (argc > 2 || *end != '\0' || count <= 0) {
            std::fprintf(stderr, "usage: %s [INPUTS]  (a positive count, 10000000 by default)\n", argv[0]);
            return 2;
        }
    }
    // The special and hard cases come on top of the random ones.
    const std::vector<Input> angles = exact_reference::angleInputs(count, 31);
    const std::vector<Input> quotients = exact_reference::atan2Inputs(count, 32);
    double worst = 0.0;
    for (Function f : {Function::Sin, Function::Cos}) worst = std::max(worst, measureAll(f, angles).worstUlps);
    worst = std::max(worst, measureAll(Function::Atan2, quotients).worstUlps);
    return worst <= 1.0 ? 0 : 1;
}
