// Periodic value noise: lattice values from the hash, wrapped modulo the octave's cell
// count, blended with the quintic fade so the field has no visible cell creases.
#include "noise.h"

#include "random.h"

#include <cmath>

namespace assetgen {

namespace {

double quinticFade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

int wrapIndex(int i, int period)
{
    const int r = i % period;
    return r < 0 ? r + period : r;
}

} // namespace

PeriodicFbm::PeriodicFbm(const FbmShape& shape)
{
    double amplitude = 1.0;
    for (int o = 0; o < shape.octaves; ++o) {
        const uint32_t layerSeed = shape.seed * 131u + uint32_t(o);
        Octave octave{shape.cellsX << o, shape.cellsY << o, double(1 << o), amplitude,
                      latticeHash(-1, o, layerSeed), latticeHash(o, -1, layerSeed), {}};
        octave.lattice.resize(size_t(octave.cellsX) * size_t(octave.cellsY));
        for (int y = 0; y < octave.cellsY; ++y)
            for (int x = 0; x < octave.cellsX; ++x)
                octave.lattice[size_t(y) * size_t(octave.cellsX) + size_t(x)] = latticeHash(x, y, layerSeed);
        amplitudeSum += amplitude;
        amplitude *= shape.gain;
        octaves.push_back(std::move(octave));
    }
}

double PeriodicFbm::sampleOctave(const Octave& octave, double x, double y)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const double tx = quinticFade(x - fx);
    const double ty = quinticFade(y - fy);
    const int x0 = wrapIndex(int(fx), octave.cellsX);
    const int y0 = wrapIndex(int(fy), octave.cellsY);
    const int x1 = x0 + 1 == octave.cellsX ? 0 : x0 + 1;
    const int y1 = y0 + 1 == octave.cellsY ? 0 : y0 + 1;
    const double* row0 = &octave.lattice[size_t(y0) * size_t(octave.cellsX)];
    const double* row1 = &octave.lattice[size_t(y1) * size_t(octave.cellsX)];
    const double top = row0[x0] + (row0[x1] - row0[x0]) * tx;
    const double bottom = row1[x0] + (row1[x1] - row1[x0]) * tx;
    return top + (bottom - top) * ty;
}

double PeriodicFbm::sample(double x, double y) const
{
    double sum = 0.0;
    for (const Octave& octave : octaves) {
        const double u = x * octave.frequency + octave.offsetX;
        const double v = y * octave.frequency + octave.offsetY;
        sum += octave.amplitude * sampleOctave(octave, u, v);
    }
    return sum / amplitudeSum;
}

} // namespace assetgen
