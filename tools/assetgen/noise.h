// Smooth value noise and its fractal sum (fBm) that repeat exactly over a whole number
// of lattice cells, so textures built from them tile and the world's wrap-around edge
// of the background shows no seam. Values lie in [0, 1].
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

struct FbmShape {
    int cellsX;      // lattice cells across one period at the first octave
    int cellsY;
    int octaves;     // each octave doubles the frequency (and so the cell count)
    double gain;     // amplitude of each octave relative to the one before
    uint32_t seed;
};

// One fBm field with its lattice values precomputed, so sampling costs four look-ups
// per octave. Coordinates are in first-octave cells: the field repeats every cellsX
// along x and cellsY along y.
class PeriodicFbm {
public:
    explicit PeriodicFbm(const FbmShape& shape);
    double sample(double x, double y) const;

private:
    struct Octave {
        int cellsX;
        int cellsY;
        double frequency;
        double amplitude;
        double offsetX; // a shift per octave keeps the lattices of all octaves from
        double offsetY; // meeting at the origin, which would show as bright or dark knots
        std::vector<double> lattice; // cellsX * cellsY values in [0, 1)
    };
    std::vector<Octave> octaves;
    double amplitudeSum = 0.0;

    static double sampleOctave(const Octave& octave, double x, double y);
};

} // namespace assetgen
