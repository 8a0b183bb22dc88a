// The game's own sine, cosine and arctangent beside the C library's, on the same
// inputs in the same run: angles within a few thousand radians, as the asteroids'
// unwrapped angles grow, and the quotients of world coordinates that atan2 gets.
#include "base/exact_math.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int kInputs = 4096;

double librarySin(double x)
{
    return std::sin(x);
}
double libraryCos(double x)
{
    return std::cos(x);
}
double libraryAtan2(double y, double x)
{
    return std::atan2(y, x);
}

const std::vector<double>& angles()
{
    static const std::vector<double> values = [] {
        std::mt19937_64 g(5);
        std::uniform_real_distribution<double> angle(-3000.0, 3000.0);
        std::vector<double> v(kInputs);
        for (double& a : v) a = angle(g);
        return v;
    }();
    return values;
}

// (y, x) pairs: differences of positions in a world some thousands wide.
const std::vector<double>& coordinates()
{
    static const std::vector<double> values = [] {
        std::mt19937_64 g(6);
        std::uniform_real_distribution<float> coordinate(-4096.0f, 4096.0f);
        std::vector<double> v(2 * kInputs);
        for (double& c : v) c = coordinate(g);
        return v;
    }();
    return values;
}

template <double (*Function)(double)>
void BM_Angle(benchmark::State& state)
{
    const std::vector<double>& in = angles();
    for (auto _ : state) {
        double sum = 0.0;
        for (double x : in) sum += Function(x);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kInputs);
}

template <double (*Function)(double, double)>
void BM_Quotient(benchmark::State& state)
{
    const std::vector<double>& in = coordinates();
    for (auto _ : state) {
        double sum = 0.0;
        for (size_t i = 0; i < in.size(); i += 2) sum += Function(in[i], in[i + 1]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kInputs);
}

} // namespace

BENCHMARK_TEMPLATE(BM_Angle, exact::sin)->Name("ExactMath/sin/exact");
BENCHMARK_TEMPLATE(BM_Angle, librarySin)->Name("ExactMath/sin/library");
BENCHMARK_TEMPLATE(BM_Angle, exact::cos)->Name("ExactMath/cos/exact");
BENCHMARK_TEMPLATE(BM_Angle, libraryCos)->Name("ExactMath/cos/library");
BENCHMARK_TEMPLATE(BM_Quotient, exact::atan2)->Name("ExactMath/atan2/exact");
BENCHMARK_TEMPLATE(BM_Quotient, libraryAtan2)->Name("ExactMath/atan2/library");
