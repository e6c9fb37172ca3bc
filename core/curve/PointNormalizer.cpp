#include "curve/PointNormalizer.h"

#include <algorithm>
#include <cmath>

PointNormalizer::PointNormalizer()
    : keys_(MaxCurvePoints), merged_(MaxCurvePoints), runEnds_(MaxCurvePoints), fenwick_(MaxCurvePoints + 1),
      queue_(MaxCurvePoints), sorted_(MaxCurvePoints)
{
}

namespace {

template <class Key>
void mergeRuns(const Key* first, const Key* middle, const Key* last, Key* out)
{
    // Runs already in order (disjoint pieces of a preview) are only copied.
    if (middle == first || middle == last || !(middle->x < (middle - 1)->x)) {
        std::copy(first, last, out);
        return;
    }
    const Key* a = first;
    const Key* b = middle;
    // Equal keys come from the left run first: the merge keeps the input order.
    while (a < middle && b < last)
        *out++ = b->x < a->x ? *b++ : *a++;
    out = std::copy(a, middle, out);
    std::copy(b, last, out);
}

} // namespace

PointNormalizer::Key* PointNormalizer::sortKeys(int n)
{
    Key* src = keys_.data();
    Key* dst = merged_.data();
    int runs = 0;
    for (int i = 0; i < n;) {
        int j = i + 1;
        if (j < n && src[j].x < src[i].x) {
            // A strictly descending run holds no equal keys, so reversing it keeps the
            // input order of equal keys.
            while (j < n && src[j].x < src[j - 1].x)
                ++j;
            std::reverse(src + i, src + j);
        } else {
            while (j < n && !(src[j].x < src[j - 1].x))
                ++j;
        }
        runEnds_[runs++] = j;
        i = j;
    }
    while (runs > 1) {
        int merged = 0;
        int start = 0;
        for (int r = 0; r < runs; r += 2) {
            const int middle = runEnds_[r];
            const int stop = r + 1 < runs ? runEnds_[r + 1] : middle;
            mergeRuns(src + start, src + middle, src + stop, dst + start);
            runEnds_[merged++] = stop;
            start = stop;
        }
        runs = merged;
        std::swap(src, dst);
    }
    return src;
}

// The exchange sort that the document has always used does not keep points of equal x
// in their input order, and which of them survives the thinning depends on that order.
// Followed pass by pass, the order it leaves among the points of one x value v depends
// only on where the points below v lie: reading the input from the start, each point of
// value v joins the back of a queue, and each point below v, once the queue holds one,
// sends the point at its front to the back; the queue at the end is the order. The
// points below v between two of value v come from a prefix count over positions.
void PointNormalizer::orderTies(Key* keys, int n)
{
    bool anyTie = false;
    for (int i = 1; i < n && !anyTie; ++i)
        anyTie = keys[i].x == keys[i - 1].x;
    if (!anyTie)
        return;

    std::fill_n(fenwick_.begin(), n + 1, 0);
    // How many of the points already counted lie before `position`.
    auto countBefore = [this](int position) {
        int sum = 0;
        for (int i = position; i > 0; i -= i & -i)
            sum += fenwick_[i];
        return sum;
    };
    auto count = [this, n](int position) {
        for (int i = position + 1; i <= n; i += i & -i)
            ++fenwick_[i];
    };

    for (int s = 0; s < n;) {
        int e = s + 1;
        while (e < n && keys[e].x == keys[s].x)
            ++e;
        if (e - s > 1) {
            // Rotations never exceed the points below v, so the queue never holds more
            // than n entries over its whole use.
            int head = 0;
            int tail = 0;
            auto rotate = [&](int steps) {
                steps %= tail - head;
                while (steps-- > 0)
                    queue_[tail++] = queue_[head++];
            };
            int previous = countBefore(keys[s].index);
            queue_[tail++] = keys[s].index;
            for (int j = s + 1; j < e; ++j) {
                const int before = countBefore(keys[j].index);
                rotate(before - previous);
                previous = before;
                queue_[tail++] = keys[j].index;
            }
            rotate(s - previous); // every point below v is counted: there are s of them
            for (int j = s; j < e; ++j)
                keys[j].index = queue_[head + (j - s)];
        }
        for (int j = s; j < e; ++j)
            count(keys[j].index);
        s = e;
    }
}

int PointNormalizer::normalize(std::span<CurvePoint> points)
{
    const int n = static_cast<int>(points.size());
    if (n > static_cast<int>(keys_.size()))
        return normalizePoints(points);
    for (int i = 0; i < n; ++i) {
        // NaN orders nothing; the document's own procedure then says what happens.
        if (std::isnan(points[i].x))
            return normalizePoints(points);
        keys_[i] = {points[i].x, i};
    }
    if (n < 2)
        return n;
    Key* keys = sortKeys(n);
    orderTies(keys, n);
    for (int i = 0; i < n; ++i)
        sorted_[i] = points[keys[i].index];

    // The document's one thinning pass: the later point of a close pair survives and
    // is not compared again.
    constexpr double tolerance = 0.0005;
    int kept = 0;
    for (int r = 0; r < n;) {
        if (r + 1 < n) {
            const double xi = sorted_[r].x;
            const double next = sorted_[r + 1].x;
            if (xi - tolerance < next && next < xi + tolerance) {
                points[kept++] = sorted_[r + 1];
                r += 2;
                continue;
            }
        }
        points[kept++] = sorted_[r++];
    }
    return kept;
}
