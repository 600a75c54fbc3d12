#pragma once
// Minimax by linear programming: the smallest t with every candidate row
// lo_r <= a_r . x + c_r * t <= hi_r, solved with COIN-OR Clp by row generation (the rows most
// violated by the last solution join the program until none is), so that only the few rows
// that bind at the optimum are ever factorised.
#include <cstddef>
#include <vector>

#include "design/IntegerRefine.h"

namespace gc::design {

struct LpRows {
    int columns{0};             // x has this many entries
    std::vector<double> a;      // row-major, rows x columns
    std::vector<double> tCoef;  // c_r
    std::vector<double> lo;     // -inf allowed
    std::vector<double> hi;     // +inf allowed

    [[nodiscard]] size_t size() const { return lo.size(); }
    void add(const double* coef, double t, double lower, double upper);
};

struct LpResult {
    enum class Status { Optimal, Infeasible, Failed, Cancelled };
    Status status{Status::Failed};
    std::vector<double> x;
    double t{0.0};
    std::vector<size_t> active;  // rows of the program that bind (or nearly) at the optimum
};

// Minimises t over x in [xLo, xHi] and t in [tLo, tHi]. `seed` rows start the program.
[[nodiscard]] LpResult solveMinimaxLp(const LpRows& rows, const std::vector<double>& xLo,
                                      const std::vector<double>& xHi, double tLo, double tHi,
                                      const std::vector<size_t>& seed,
                                      const DesignControl& control = {});

}  // namespace gc::design
