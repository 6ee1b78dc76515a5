// Plain statistics for the pack report.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace packreport {

inline double Mean(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) sum += v;
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

// Standard deviation over the mean (population form).
inline double CoefficientOfVariation(const std::vector<double>& values) {
    const double mean = Mean(values);
    double squares = 0;
    for (double v : values) squares += (v - mean) * (v - mean);
    return values.empty() || mean == 0
               ? 0
               : std::sqrt(squares / static_cast<double>(values.size())) / mean;
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

// The p-th quantile (0 to 1), interpolated between the nearest ranks.
inline double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const double at = p * static_cast<double>(values.size() - 1);
    const std::size_t below = static_cast<std::size_t>(std::floor(at));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (at - static_cast<double>(below)) * (values[above] - values[below]);
}

// Pearson correlation of a[i] with b[i + lag] over the indices where both exist.
inline double Correlation(const std::vector<double>& a, const std::vector<double>& b, int lag) {
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    int n = 0;
    for (int i = 0; i < static_cast<int>(a.size()); ++i) {
        const int j = i + lag;
        if (j < 0 || j >= static_cast<int>(b.size())) continue;
        const double x = a[static_cast<std::size_t>(i)], y = b[static_cast<std::size_t>(j)];
        sa += x;
        sb += y;
        saa += x * x;
        sbb += y * y;
        sab += x * y;
        ++n;
    }
    if (n < 2) return 0;
    const double cov = sab - sa * sb / n;
    const double va = saa - sa * sa / n, vb = sbb - sb * sb / n;
    return va > 0 && vb > 0 ? cov / std::sqrt(va * vb) : 0;
}

// The best correlation over lags -maxLag to maxLag.
inline double BestCorrelation(const std::vector<double>& a, const std::vector<double>& b,
                              int maxLag) {
    double best = -1;
    for (int lag = -maxLag; lag <= maxLag; ++lag) best = std::max(best, Correlation(a, b, lag));
    return best;
}

}  // namespace packreport
