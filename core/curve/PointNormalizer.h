#pragma once

#include "curve/CurvePoints.h"

#include <span>
#include <vector>

// Sorts points by x and thins them exactly as normalizePoints does, to the last bit and
// including which of several points of equal x survives, without its quadratic
// exchange sort: the input is split into ascending runs (descending ones reversed) that
// are merged, so a preview made of a few sorted pieces sorts in a few linear passes.
// Works in buffers reserved once, for up to MaxCurvePoints points.
class PointNormalizer {
public:
    PointNormalizer();
    // Normalizes `points` in place; returns how many are left at its front.
    int normalize(std::span<CurvePoint> points);

private:
    struct Key {
        double x;
        int index; // position before sorting
    };
    // Sorts keys_[0..n) by x, equal keys in input order; gives keys_ or merged_,
    // whichever holds the result.
    Key* sortKeys(int n);
    void orderTies(Key* keys, int n);

    std::vector<Key> keys_;
    std::vector<Key> merged_;
    std::vector<int> runEnds_;
    std::vector<int> fenwick_;
    std::vector<int> queue_;
    std::vector<CurvePoint> sorted_;
};
