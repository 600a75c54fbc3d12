#include "design/IntegerRefine.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace gc::design {

namespace {

constexpr double kPi = 3.14159265358979323846;

template <typename T>
double amplitudeOf(const std::vector<T>& half, int length, double f) {
    const double centre = 0.5 * (length - 1);
    double sum = 0.0;
    for (int k = 0; k < static_cast<int>(half.size()); ++k)
        sum += tapMultiplicity(length, k) * static_cast<double>(half[k]) *
               std::cos(2.0 * kPi * f * (centre - k));
    return sum;
}

bool isFixed(const IntegerProblem& p, int k) {
    return !p.fixed.empty() && p.fixed[static_cast<size_t>(k)];
}

// The residuals e_r and the weighted basis columns, kept so that a trial change of one tap
// costs one pass over the rows.
class Search {
  public:
    Search(const IntegerProblem& p, const std::vector<double>& columns, std::vector<int> half,
           const DesignControl& control)
        : p_(p), control_(control), half_(std::move(half)), column_(columns) {
        rows_ = static_cast<int>(p.freq.size());
        h_ = static_cast<int>(half_.size());
        resid_.assign(rows_, 0.0);
        for (int r = 0; r < rows_; ++r) resid_[r] = -p.weight[r] * p.target[r];
        for (int k = 0; k < h_; ++k)
            for (int r = 0; r < rows_; ++r) resid_[r] += half_[k] * col(k)[r];
        sum_ = fullSum(half_, p.length);
        trial_.resize(rows_);
        slack_ = p.slack;
        if (slack_.empty()) slack_.assign(rows_, 0.0);
        for (int k = 0; k < h_; ++k)
            if (!isFixed(p, k)) free_.push_back(k);
    }

    bool run() {
        for (const int doublings : {2, 4, 0}) {
            if (!singles(doublings)) return false;
        }
        // Pairs, then singles again, while either finds a gain.
        for (int round = 0; round < p_.pairRounds; ++round) {
            bool gained = false;
            if (!pairs(gained)) return false;
            if (!gained) break;
            if (!singles(0)) return false;
        }
        return true;
    }

    double worst() const {
        double w = 0.0;
        for (int r = 0; r < rows_; ++r) w = std::max(w, std::fabs(resid_[r]) - slack_[r]);
        return w;
    }
    std::vector<int> half() const { return half_; }

  private:
    const double* col(int k) const { return &column_[static_cast<size_t>(k) * rows_]; }

    double error(const std::vector<double>& e, double scale, int doublings) const {
        double total = 0.0;
        if (doublings == 0) {
            for (int r = 0; r < rows_; ++r) total = std::max(total, std::fabs(e[r]) - slack_[r]);
            return total / scale;
        }
        for (int r = 0; r < rows_; ++r) {
            const double v = std::max(0.0, std::fabs(e[r]) - slack_[r]);
            double a = v / scale;
            a *= a;
            for (int d = 1; d < doublings; ++d) a *= a;
            total += a;
        }
        return total;
    }

    bool allowed(int k, int step) const {
        const int v = half_[k] + step;
        if (v < p_.minTap || v > p_.maxTap) return false;
        const long long s = sum_ + static_cast<long long>(tapMultiplicity(p_.length, k)) * step;
        return s >= p_.sumMin && s <= p_.sumMax;
    }

    void apply(int k, int step) {
        half_[k] += step;
        sum_ += static_cast<long long>(tapMultiplicity(p_.length, k)) * step;
        resid_.swap(trial_);
    }

    // Single +-1 changes. False when cancelled.
    bool singles(int doublings) {
        for (int sweep = 0; sweep < p_.maxSweeps; ++sweep) {
            if (control_.cancelled()) return false;
            double scale = std::max(worst(), 1e-300);
            double current = error(resid_, scale, doublings);
            bool improved = false;
            for (int k : free_) {
                for (const int step : {1, -1}) {
                    if (!allowed(k, step)) continue;
                    const double* c = col(k);
                    for (int r = 0; r < rows_; ++r) trial_[r] = resid_[r] + step * c[r];
                    const double e = error(trial_, scale, doublings);
                    if (e < current) {
                        apply(k, step);
                        current = e;
                        improved = true;
                        break;
                    }
                }
            }
            if (!improved) break;
        }
        return true;
    }

    // Two taps changed together: one +1 and another -1 (equal multiplicities keep the sum),
    // or both +1 or both -1 where the sum window allows. Sets `gained`.
    bool pairs(bool& gained) {
        gained = false;
        double current = worst();
        static constexpr int kSteps[3][2] = {{1, -1}, {1, 1}, {-1, -1}};
        const int n = static_cast<int>(free_.size());
        for (int ia = 0; ia < n; ++ia) {
            if (control_.cancelled()) return false;
            const int a = free_[ia];
            for (int ib = 0; ib < n; ++ib) {
                const int b = free_[ib];
                if (a == b) continue;
                for (const auto& st : kSteps) {
                    if (st[0] == st[1] && ib < ia) continue;  // same-sign pairs once
                    const int sa = st[0];
                    const int sb = st[1];
                    if (half_[a] + sa > p_.maxTap || half_[a] + sa < p_.minTap) continue;
                    if (half_[b] + sb > p_.maxTap || half_[b] + sb < p_.minTap) continue;
                    const long long s = sum_ +
                                        static_cast<long long>(tapMultiplicity(p_.length, a)) * sa +
                                        static_cast<long long>(tapMultiplicity(p_.length, b)) * sb;
                    if (s < p_.sumMin || s > p_.sumMax) continue;
                    const double* ca = col(a);
                    const double* cb = col(b);
                    double e = 0.0;
                    for (int r = 0; r < rows_; ++r) {
                        trial_[r] = resid_[r] + sa * ca[r] + sb * cb[r];
                        e = std::max(e, std::fabs(trial_[r]) - slack_[r]);
                        if (e >= current) break;
                    }
                    if (e < current) {
                        for (int r = 0; r < rows_; ++r)
                            trial_[r] = resid_[r] + sa * ca[r] + sb * cb[r];
                        half_[a] += sa;
                        half_[b] += sb;
                        sum_ = s;
                        resid_.swap(trial_);
                        current = e;
                        gained = true;
                    }
                }
            }
        }
        return true;
    }

    const IntegerProblem& p_;
    const DesignControl& control_;
    std::vector<int> half_;
    int rows_{0};
    int h_{0};
    const std::vector<double>& column_;  // weighted basis, one column of rows_ per half tap
    std::vector<double> resid_;
    std::vector<double> trial_;
    std::vector<double> slack_;
    std::vector<int> free_;
    long long sum_{0};
};

// Clamps to the tap range and moves free taps nearest the centre until the sum lies in the
// window (each by as much as its range allows).
void constrain(const IntegerProblem& p, std::vector<int>& q) {
    const int h = static_cast<int>(q.size());
    for (int k = 0; k < h; ++k)
        if (!isFixed(p, k)) q[k] = std::clamp(q[k], p.minTap, p.maxTap);
    for (int pass = 0; pass < 4; ++pass) {
        for (int k = h - 1; k >= 0; --k) {
            if (isFixed(p, k)) continue;
            const long long s = fullSum(q, p.length);
            const int m = tapMultiplicity(p.length, k);
            long long need = 0;
            if (s < p.sumMin) need = (p.sumMin - s + m - 1) / m;
            if (s > p.sumMax) need = -((s - p.sumMax + m - 1) / m);
            if (need == 0) return;
            const long long v = std::clamp<long long>(q[k] + need, p.minTap, p.maxTap);
            q[k] = static_cast<int>(v);
        }
    }
}

// The weighted basis: column k holds weight_r * multiplicity_k * cos(2 pi f_r (c - k)).
std::vector<double> weightedColumns(const IntegerProblem& p) {
    const int rows = static_cast<int>(p.freq.size());
    const int h = halfCount(p.length);
    const double centre = 0.5 * (p.length - 1);
    std::vector<double> columns(static_cast<size_t>(rows) * h);
    for (int r = 0; r < rows; ++r) {
        // cos((c - k) t) for k = 0..h-1 by the rotation recurrence, from k = h - 1 down.
        const double t = 2.0 * kPi * p.freq[r];
        const double step = std::cos(t);
        double prev = std::cos(t * (centre - (h - 1) - 1.0));
        double cur = std::cos(t * (centre - (h - 1)));
        for (int k = h - 1; k >= 0; --k) {
            columns[static_cast<size_t>(k) * rows + r] =
                p.weight[r] * tapMultiplicity(p.length, k) * cur;
            const double next = 2.0 * step * cur - prev;
            prev = cur;
            cur = next;
        }
    }
    return columns;
}

}  // namespace

int halfCount(int length) { return (length + 1) / 2; }

int tapMultiplicity(int length, int k) { return (length % 2 == 1 && k == length / 2) ? 1 : 2; }

std::vector<int> mirrorHalf(const std::vector<int>& half, int length) {
    std::vector<int> full(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        full[i] = half[static_cast<size_t>(std::min(i, length - 1 - i))];
    return full;
}

long long fullSum(const std::vector<int>& half, int length) {
    long long s = 0;
    for (int k = 0; k < static_cast<int>(half.size()); ++k)
        s += static_cast<long long>(tapMultiplicity(length, k)) * half[k];
    return s;
}

double zeroPhaseAmplitude(const std::vector<double>& half, int length, double f) {
    return amplitudeOf(half, length, f);
}

double zeroPhaseAmplitude(const std::vector<int>& half, int length, double f) {
    return amplitudeOf(half, length, f);
}

RefineResult refineIntegerTaps(const IntegerProblem& problem, std::vector<int> start,
                               const DesignControl& control) {
    const std::vector<double> columns = weightedColumns(problem);
    Search search(problem, columns, std::move(start), control);
    RefineResult result;
    result.cancelled = !search.run();
    result.half = search.half();
    result.worstError = search.worst();
    return result;
}

RefineResult quantiseAndRefine(const IntegerProblem& problem, const std::vector<double>& half,
                               int dithered, const DesignControl& control) {
    std::mt19937 random(12345u);
    std::uniform_real_distribution<double> dither(-0.5, 0.5);
    const std::vector<double> columns = weightedColumns(problem);
    RefineResult best;
    bool have = false;
    for (int candidate = 0; candidate <= dithered; ++candidate) {
        std::vector<int> q(half.size());
        for (size_t k = 0; k < half.size(); ++k) {
            double x = half[k];
            if (candidate > 0 && !isFixed(problem, static_cast<int>(k))) x += dither(random);
            q[k] = static_cast<int>(std::lround(x));
        }
        constrain(problem, q);
        Search search(problem, columns, std::move(q), control);
        RefineResult r;
        r.cancelled = !search.run();
        r.half = search.half();
        r.worstError = search.worst();
        if (!have || r.worstError < best.worstError) {
            const bool cancelled = r.cancelled;
            best = std::move(r);
            have = true;
            if (cancelled) break;
        } else if (r.cancelled) {
            best.cancelled = true;
            break;
        }
    }
    return best;
}

}  // namespace gc::design
