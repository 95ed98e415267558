#pragma once
#include <vector>

// Median and range of a set of measurements; all zero when there are none.
struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
};

Summary Summarize(std::vector<double> values);

// (max - min) / median: how far apart the runs were, as a share of the
// median; 0 when the median is 0.
double RelativeSpread(const Summary& summary);

// numerators[i] / denominators[i] for each i both have, skipping a zero
// denominator: the ratio of runs made next to each other, which the load
// of other processes affects alike.
std::vector<double> PairedRatios(const std::vector<double>& numerators,
                                 const std::vector<double>& denominators);

// The product's measurements against the bare loop's.
struct Comparison {
    Summary product;
    Summary bare;
    double ratio = 0;        // of the medians; 0 when the bare median is 0
    double fastestRatio = 0; // of the fastest runs, which the load of others touched least
    Summary pairs;           // of the two runs of each round
};

Comparison Compare(const std::vector<double>& product, const std::vector<double>& bare);
