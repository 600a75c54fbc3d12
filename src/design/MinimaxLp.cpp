#include "design/MinimaxLp.h"

#include <ClpSimplex.hpp>
#include <algorithm>
#include <cmath>
#include <limits>

namespace gc::design {

namespace {
constexpr int kRowsPerPass = 120;       // violated rows added per solve at most
constexpr int kMaxPasses = 60;          // solves per program at most
constexpr double kViolationTol = 1e-6;  // relative to the row's largest coefficient
}  // namespace

void LpRows::add(const double* coef, double t, double lower, double upper) {
    a.insert(a.end(), coef, coef + columns);
    tCoef.push_back(t);
    lo.push_back(lower);
    hi.push_back(upper);
}

LpResult solveMinimaxLp(const LpRows& rows, const std::vector<double>& xLo,
                        const std::vector<double>& xHi, double tLo, double tHi,
                        const std::vector<size_t>& seed, const DesignControl& control) {
    LpResult out;
    const int n = rows.columns;
    const int cols = n + 1;  // x, then t
    const size_t count = rows.size();
    std::vector<double> rowScale(count, 1.0);
    for (size_t r = 0; r < count; ++r) {
        double s = std::fabs(rows.tCoef[r]);
        for (int k = 0; k < n; ++k) s = std::max(s, std::fabs(rows.a[r * n + k]));
        rowScale[r] = s > 0.0 ? s : 1.0;
    }

    ClpSimplex lp;
    lp.setLogLevel(0);
    lp.resize(0, cols);
    for (int k = 0; k < n; ++k) {
        lp.setColumnBounds(k, xLo[k], xHi[k]);
        lp.setObjectiveCoefficient(k, 0.0);
    }
    lp.setColumnBounds(n, tLo, tHi);
    lp.setObjectiveCoefficient(n, 1.0);
    lp.setPrimalTolerance(1e-10);
    lp.setDualTolerance(1e-10);
    lp.scaling(0);  // the rows come scaled; Clp's own scaling only slows these programs

    std::vector<char> inProgram(count, 0);
    std::vector<int> starts;
    std::vector<int> index;
    std::vector<double> value, lower, upper;
    auto addRows = [&](const std::vector<size_t>& which) {
        starts.assign(1, 0);
        index.clear();
        value.clear();
        lower.clear();
        upper.clear();
        for (size_t r : which) {
            if (inProgram[r]) continue;
            inProgram[r] = 1;
            // Rows scaled to a largest coefficient of 1, so one tolerance fits them all.
            const double s = 1.0 / rowScale[r];
            for (int k = 0; k < n; ++k) {
                const double v = rows.a[r * n + k] * s;
                if (v != 0.0) {
                    index.push_back(k);
                    value.push_back(v);
                }
            }
            if (rows.tCoef[r] != 0.0) {
                index.push_back(n);
                value.push_back(rows.tCoef[r] * s);
            }
            starts.push_back(static_cast<int>(index.size()));
            lower.push_back(std::isfinite(rows.lo[r]) ? rows.lo[r] * s : -COIN_DBL_MAX);
            upper.push_back(std::isfinite(rows.hi[r]) ? rows.hi[r] * s : COIN_DBL_MAX);
        }
        const int added = static_cast<int>(lower.size());
        if (added > 0)
            lp.addRows(added, lower.data(), upper.data(), starts.data(), index.data(),
                       value.data());
        return added;
    };

    std::vector<size_t> first;
    for (size_t r : seed)
        if (r < count) first.push_back(r);
    addRows(first);
    std::vector<std::pair<double, size_t>> violated;
    std::vector<double> excess(count);
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        if (control.cancelled()) {
            out.status = LpResult::Status::Cancelled;
            return out;
        }
        lp.dual();
        const int status = lp.status();
        if (status == 1) {
            out.status = LpResult::Status::Infeasible;
            return out;
        }
        if (status != 0 && status != 3) {
            // Numerical trouble: once more from scratch with the primal method.
            lp.primal();
            if (lp.status() == 1) {
                out.status = LpResult::Status::Infeasible;
                return out;
            }
            if (lp.status() != 0) return out;
        }
        const double* x = lp.primalColumnSolution();
        violated.clear();
        for (size_t r = 0; r < count; ++r) {
            double v = rows.tCoef[r] * x[n];
            const double* a = &rows.a[r * n];
            for (int k = 0; k < n; ++k) v += a[k] * x[k];
            excess[r] = std::max(rows.lo[r] - v, v - rows.hi[r]) / rowScale[r];
        }
        // Only the peaks of the violation (rows of one kind lie in frequency order, at most
        // two to a frequency): their neighbours add little but size.
        for (size_t r = 0; r < count; ++r) {
            if (inProgram[r] || !(excess[r] > kViolationTol)) continue;
            bool peak = true;
            for (size_t d = 1; d <= 2 && peak; ++d) {
                if (r >= d && excess[r - d] > excess[r]) peak = false;
                if (r + d < count && excess[r + d] > excess[r]) peak = false;
            }
            if (peak) violated.emplace_back(excess[r], r);
        }
        if (violated.empty())
            for (size_t r = 0; r < count; ++r)
                if (!inProgram[r] && excess[r] > kViolationTol) violated.emplace_back(excess[r], r);
        if (violated.empty()) {
            out.x.assign(x, x + n);
            out.t = x[n];
            out.status = LpResult::Status::Optimal;
            for (size_t r = 0; r < count; ++r)
                if (inProgram[r] && excess[r] > -1e-7) out.active.push_back(r);
            return out;
        }
        const size_t keep = std::min<size_t>(violated.size(), kRowsPerPass);
        std::partial_sort(violated.begin(), violated.begin() + static_cast<long>(keep),
                          violated.end(),
                          [](const auto& p, const auto& q) { return p.first > q.first; });
        std::vector<size_t> next;
        for (size_t i = 0; i < keep; ++i) next.push_back(violated[i].second);
        addRows(next);
    }
    // Out of passes: the last solution, slightly infeasible on rows never added.
    const double* x = lp.primalColumnSolution();
    out.x.assign(x, x + n);
    out.t = x[n];
    out.status = LpResult::Status::Optimal;
    return out;
}

}  // namespace gc::design
