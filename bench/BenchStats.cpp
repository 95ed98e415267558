#include "bench/BenchStats.h"

#include <algorithm>

Summary Summarize(std::vector<double> values) {
    Summary summary;
    if (values.empty())
        return summary;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    summary.median = values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    summary.min = values.front();
    summary.max = values.back();
    return summary;
}

double RelativeSpread(const Summary& summary) {
    return summary.median == 0 ? 0 : (summary.max - summary.min) / summary.median;
}

std::vector<double> PairedRatios(const std::vector<double>& numerators,
                                 const std::vector<double>& denominators) {
    std::vector<double> ratios;
    const size_t count = std::min(numerators.size(), denominators.size());
    for (size_t i = 0; i < count; ++i) {
        if (denominators[i] != 0)
            ratios.push_back(numerators[i] / denominators[i]);
    }
    return ratios;
}

Comparison Compare(const std::vector<double>& product, const std::vector<double>& bare) {
    Comparison comparison;
    comparison.product = Summarize(product);
    comparison.bare = Summarize(bare);
    if (comparison.bare.median != 0)
        comparison.ratio = comparison.product.median / comparison.bare.median;
    if (comparison.bare.min != 0)
        comparison.fastestRatio = comparison.product.min / comparison.bare.min;
    comparison.pairs = Summarize(PairedRatios(product, bare));
    return comparison;
}
