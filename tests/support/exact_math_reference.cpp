#include "support/exact_math_reference.h"

#include "base/exact_math.h"

#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

namespace exact_reference {

namespace {

constexpr mpfr_prec_t kPrecision = 256;

struct Mpfr {
    mpfr_t v;
    Mpfr() { mpfr_init2(v, kPrecision); }
    ~Mpfr() { mpfr_clear(v); }
    Mpfr(const Mpfr&) = delete;
    Mpfr& operator=(const Mpfr&) = delete;
};

int evaluate(Function f, Input in, mpfr_t out)
{
    Mpfr a, b;
    mpfr_set_d(a.v, in.a, MPFR_RNDN);
    mpfr_set_d(b.v, in.b, MPFR_RNDN);
    switch (f) {
    case Function::Sin: return mpfr_sin(out, a.v, MPFR_RNDN);
    case Function::Cos: return mpfr_cos(out, a.v, MPFR_RNDN);
    case Function::Atan2: return mpfr_atan2(out, a.v, b.v, MPFR_RNDN);
    }
    return 0;
}

double gameResult(Function f, Input in)
{
    switch (f) {
    case Function::Sin: return exact::sin(in.a);
    case Function::Cos: return exact::cos(in.a);
    case Function::Atan2: return exact::atan2(in.a, in.b);
    }
    return 0.0;
}

// |result - exact| in ulps of the exact value (the spacing of doubles at its size,
// subnormal spacing below the normal range).
double ulpError(const Mpfr& exactValue, double result)
{
    if (mpfr_nan_p(exactValue.v)) return std::isnan(result) ? 0.0 : std::numeric_limits<double>::infinity();
    if (mpfr_inf_p(exactValue.v)) return mpfr_get_d(exactValue.v, MPFR_RNDN) == result ? 0.0 : std::numeric_limits<double>::infinity();
    if (std::isnan(result)) return std::numeric_limits<double>::infinity();
    Mpfr diff, ulp;
    mpfr_sub_d(diff.v, exactValue.v, result, MPFR_RNDN);
    mpfr_abs(diff.v, diff.v, MPFR_RNDN);
    if (mpfr_zero_p(exactValue.v)) return mpfr_zero_p(diff.v) ? 0.0 : std::numeric_limits<double>::infinity();
    const long exponent = std::max<long>(mpfr_get_exp(exactValue.v), -1021); // value in [2^(e-1), 2^e)
    mpfr_set_ui_2exp(ulp.v, 1, exponent - 53, MPFR_RNDN);
    mpfr_div(diff.v, diff.v, ulp.v, MPFR_RNDN);
    return mpfr_get_d(diff.v, MPFR_RNDU);
}

bool sameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

double randomDouble(std::mt19937_64& g)
{
    for (;;) {
        const uint64_t bits = g();
        double v;
        static_assert(sizeof v == sizeof bits);
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) return v;
    }
}

const std::vector<double>& specialValues()
{
    const double inf = std::numeric_limits<double>::infinity();
    static const std::vector<double> values = {
        0.0, -0.0, inf, -inf, std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::min(), std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
        0x1p-26, 0x1p-27, 0x1.0000000000001p-26, 0x1p-1000, 1.0, -1.0, 0.5, 2.0,
        0x1.921fb54442d18p+1, 0x1.921fb54442d18p+0, 0x1.921fb54442d18p-1, 0x1.921fb54442d18p+2,
        6381956970095103.0 * 0x1p797, -6381956970095103.0 * 0x1p797, 0x1p19, 0x1p19 - 0x1p-34, 1e22, 1e300,
        0x1.6ac5b262ca1ffp+849, 0x1.5cb2e92a7f7e8p+999};
    return values;
}

} // namespace

// MPFR rounds to the 53 bits asked for; with double's exponent range and the
// subnormal step, that is the double nearest the true value, with no second rounding.
double correctlyRounded(Function f, Input in)
{
    const mpfr_exp_t emin = mpfr_get_emin(), emax = mpfr_get_emax();
    mpfr_set_emin(-1073);
    mpfr_set_emax(1024);
    mpfr_t value;
    mpfr_init2(value, 53);
    const int inexact = evaluate(f, in, value);
    mpfr_subnormalize(value, mpfr_check_range(value, inexact, MPFR_RNDN), MPFR_RNDN);
    const double rounded = mpfr_get_d(value, MPFR_RNDN);
    mpfr_clear(value);
    mpfr_set_emin(emin);
    mpfr_set_emax(emax);
    return rounded;
}

void measure(Function f, Input in, Tally& tally, UlpMeasure ulps)
{
    const double result = gameResult(f, in);
    const bool correct = sameDouble(result, correctlyRounded(f, in));
    double error = correct ? 0.5 : 0.0; // a correctly rounded result is within half an ulp
    if (!correct || ulps == UlpMeasure::Always) {
        Mpfr value;
        evaluate(f, in, value.v);
        error = ulpError(value, result);
    }
    ++tally.count;
    if (error > tally.worstUlps) {
        tally.worstUlps = error;
        tally.worstInput = in;
    }
    if (!correct) {
        if (tally.notCorrectlyRounded == 0) tally.firstNotCorrectlyRounded = in;
        ++tally.notCorrectlyRounded;
    }
}

std::vector<Input> angleInputs(int64_t randomCount, uint64_t seed)
{
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> game(-5000.0, 5000.0);
    std::vector<Input> inputs;
    for (double v : specialValues()) inputs.push_back({v, 0.0});
    // Near multiples of pi/2, where the remainder cancels most: the doubles on either
    // side of k pi/2 for small and large k.
    for (int64_t k = 1; k < 2000; ++k) {
        for (double scale : {1.0, 1024.0 * 1024.0 * 1024.0}) {
            const double near = double(k) * scale * 0x1.921fb54442d18p+0;
            inputs.push_back({near, 0.0});
            inputs.push_back({std::nextafter(near, 0.0), 0.0});
            inputs.push_back({-std::nextafter(near, 1e308), 0.0});
        }
    }
    for (int64_t i = 0; i < randomCount; ++i) {
        switch (i % 4) {
        case 0:
        case 1: inputs.push_back({game(g), 0.0}); break;
        case 2: inputs.push_back({randomDouble(g), 0.0}); break;
        default: inputs.push_back({std::ldexp(game(g), -int(g() % 40)), 0.0}); break; // small angles
        }
    }
    return inputs;
}

std::vector<Input> atan2Inputs(int64_t randomCount, uint64_t seed)
{
    std::mt19937_64 g(seed);
    // World coordinates: differences of positions in a world some thousands wide.
    std::uniform_real_distribution<double> world(-4096.0, 4096.0);
    std::vector<Input> inputs;
    for (double y : specialValues()) {
        for (double x : specialValues()) inputs.push_back({y, x});
    }
    for (int64_t i = 0; i < randomCount; ++i) {
        switch (i % 4) {
        case 0:
        case 1: inputs.push_back({double(float(world(g))), double(float(world(g)))}); break;
        case 2: inputs.push_back({randomDouble(g), randomDouble(g)}); break;
        default: {
            const double x = world(g);
            inputs.push_back({x * (1.0 + std::ldexp(world(g), -int(g() % 60))), x}); // near the diagonals
            break;
        }
        }
    }
    return inputs;
}

std::string describe(Function f, const Tally& tally)
{
    static const char* const kNames[] = {"sin", "cos", "atan2"};
    char text[400];
    int length = std::snprintf(text, sizeof text, "%-5s inputs %lld, worst error %.6f ulp at (%a, %a), not correctly rounded %lld",
                               kNames[static_cast<int>(f)], static_cast<long long>(tally.count), tally.worstUlps,
                               tally.worstInput.a, tally.worstInput.b, static_cast<long long>(tally.notCorrectlyRounded));
    if (tally.notCorrectlyRounded > 0 && length > 0 && length < static_cast<int>(sizeof text)) {
        std::snprintf(text + length, sizeof text - length, " (the first at (%a, %a))", tally.firstNotCorrectlyRounded.a,
                      tally.firstNotCorrectlyRounded.b);
    }
    return text;
}

} // namespace exact_reference
