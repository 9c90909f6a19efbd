#include "align/dtw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Makes the window one a path can cross: every row reachable from the last.
void makeMonotone(TDtwWindow& w, int cols) {
    const int rows = int(w.Lo.size());
    if (rows == 0) return;
    w.Lo[0] = 0;
    w.Hi[size_t(rows - 1)] = cols - 1;
    for (int i = 1; i < rows; ++i)
        w.Hi[size_t(i)] = std::max(w.Hi[size_t(i)], w.Hi[size_t(i - 1)]);
    for (int i = rows - 2; i >= 0; --i)
        w.Lo[size_t(i)] = std::min(w.Lo[size_t(i)], w.Lo[size_t(i + 1)]);
    for (int i = 0; i < rows; ++i) {
        w.Lo[size_t(i)] = std::clamp(w.Lo[size_t(i)], 0, cols - 1);
        w.Hi[size_t(i)] = std::clamp(w.Hi[size_t(i)], w.Lo[size_t(i)], cols - 1);
    }
    // A row must start no later than one past where the previous one ends.
    for (int i = 1; i < rows; ++i)
        w.Lo[size_t(i)] = std::min(w.Lo[size_t(i)], w.Hi[size_t(i - 1)] + 1);
}

float distance(const float* x, const float* y, int dim) {
    float s = 0;
    for (int d = 0; d < dim; ++d) {
        const float t = x[d] - y[d];
        s += t * t;
    }
    return std::sqrt(s);
}

} // namespace

TDtwWindow DiagonalBand(int rows, int cols, int radius) {
    TDtwWindow w;
    w.Lo.resize(size_t(rows));
    w.Hi.resize(size_t(rows));
    for (int i = 0; i < rows; ++i) {
        const int c = rows > 1 ? int(qint64(i) * (cols - 1) / (rows - 1)) : 0;
        w.Lo[size_t(i)] = c - radius;
        w.Hi[size_t(i)] = c + radius;
    }
    makeMonotone(w, cols);
    return w;
}

TDtwWindow AroundPath(const TDtwPath& coarse, int factor, int rows, int cols, int radius) {
    TDtwWindow w;
    w.Lo.assign(size_t(rows), std::numeric_limits<int>::max());
    w.Hi.assign(size_t(rows), -1);
    for (const auto& [ci, cj] : coarse.Cells) {
        const int r0 = std::max(0, ci * factor - radius),
                  r1 = std::min(rows - 1, ci * factor + factor - 1 + radius);
        const int c0 = cj * factor - radius, c1 = cj * factor + factor - 1 + radius;
        for (int r = r0; r <= r1; ++r) {
            w.Lo[size_t(r)] = std::min(w.Lo[size_t(r)], c0);
            w.Hi[size_t(r)] = std::max(w.Hi[size_t(r)], c1);
        }
    }
    for (int r = 0; r < rows; ++r)
        if (w.Hi[size_t(r)] < 0) { // beyond the coarse path's rows: the last columns
            w.Lo[size_t(r)] = cols - 1 - radius;
            w.Hi[size_t(r)] = cols - 1;
        }
    makeMonotone(w, cols);
    return w;
}

TDtwPath Dtw(const TFeatures& a, const TFeatures& b, const TDtwWindow& w,
             const std::vector<char>& elastic) {
    const int rows = a.Count, cols = b.Count;
    TDtwPath path;
    if (rows == 0 || cols == 0) return path;
    // Steps of every visited cell: 0 diagonal, 1 from above, 2 from the left.
    std::vector<size_t> offset(size_t(rows) + 1, 0);
    for (int i = 0; i < rows; ++i)
        offset[size_t(i) + 1] = offset[size_t(i)] + size_t(w.Hi[size_t(i)] - w.Lo[size_t(i)] + 1);
    std::vector<uint8_t> step(offset[size_t(rows)]);
    constexpr float inf = std::numeric_limits<float>::infinity();
    std::vector<float> prev, cur;
    int prevLo = 0, prevHi = -1;
    for (int i = 0; i < rows; ++i) {
        const int lo = w.Lo[size_t(i)], hi = w.Hi[size_t(i)];
        cur.assign(size_t(hi - lo + 1), inf);
        const auto above = [&](int j) {
            return j >= prevLo && j <= prevHi ? prev[size_t(j - prevLo)] : inf;
        };
        for (int j = lo; j <= hi; ++j) {
            const float d = distance(a.Row(i), b.Row(j), a.Dim);
            if (i == 0 && j == 0) {
                cur[0] = d;
                step[offset[0]] = 0;
                continue;
            }
            const float diag = j > 0 ? above(j - 1) : inf;
            const float up = above(j);
            const bool free = !elastic.empty() && elastic[size_t(j)];
            const float left = (j > lo ? cur[size_t(j - 1 - lo)] : inf) - (free ? d : 0.f);
            float best = diag;
            uint8_t s = 0;
            if (up < best) best = up, s = 1;
            if (left < best) best = left, s = 2;
            cur[size_t(j - lo)] = best + d;
            step[offset[size_t(i)] + size_t(j - lo)] = s;
        }
        prev.swap(cur);
        prevLo = lo;
        prevHi = hi;
    }
    int i = rows - 1, j = cols - 1;
    for (;;) {
        path.Cells.emplace_back(i, j);
        path.Cost.push_back(distance(a.Row(i), b.Row(j), a.Dim));
        if (i == 0 && j == 0) break;
        const uint8_t s = step[offset[size_t(i)] + size_t(j - w.Lo[size_t(i)])];
        if (s == 0)
            --i, --j;
        else if (s == 1)
            --i;
        else
            --j;
        if (i < 0 || j < 0) break; // cannot happen in a monotone window
    }
    std::reverse(path.Cells.begin(), path.Cells.end());
    std::reverse(path.Cost.begin(), path.Cost.end());
    return path;
}

TDtwPath MultiscaleDtw(const TFeatures& a, const TFeatures& b, const std::vector<int>& factors,
                       int bandFrames, int radius, const std::vector<char>& elastic) {
    TDtwPath path;
    int lastFactor = 0;
    for (const int f : factors) {
        const TFeatures da = f > 1 ? Downsample(a, f) : a;
        const TFeatures db = f > 1 ? Downsample(b, f) : b;
        // A coarse column is elastic when all its frames are.
        std::vector<char> el;
        if (!elastic.empty()) {
            el.assign(size_t(db.Count), 1);
            for (size_t j = 0; j < elastic.size(); ++j)
                if (!elastic[j]) el[j / size_t(f)] = 0;
        }
        const TDtwWindow w =
            lastFactor == 0 ? DiagonalBand(da.Count, db.Count, std::max(radius, bandFrames / f))
                            : AroundPath(path, lastFactor / f, da.Count, db.Count, radius);
        path = Dtw(da, db, w, el);
        lastFactor = f;
    }
    return path;
}
