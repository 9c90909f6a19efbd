#pragma once
// Dynamic time warping between two feature sequences, in a window of
// columns per row so that long recordings stay fast and small: a band
// around the diagonal at a coarse resolution, then a narrow stripe around
// the path found there at each finer one.
#include "align/features.h"

#include <utility>
#include <vector>

// Columns lo[i]..hi[i] of row i may be visited.
struct TDtwWindow {
    std::vector<int> Lo, Hi;
};

struct TDtwPath {
    std::vector<std::pair<int, int>> Cells; // (row, column) from (0, 0) to the last
    std::vector<float> Cost;                // local distance at each cell
};

// A band of `radius` columns each side of the straight line from the first
// to the last cell.
TDtwWindow DiagonalBand(int rows, int cols, int radius);
// The cells of a path found at a coarser resolution (`factor` times fewer
// frames), widened by `radius` cells of the finer one.
TDtwWindow AroundPath(const TDtwPath& coarse, int factor, int rows, int cols, int radius);

// The cheapest monotone path from (0, 0) to (a.Count - 1, b.Count - 1)
// inside the window, with steps right, down and diagonal; Euclidean
// distance of the frames. Columns of b marked in `elastic` (empty: none)
// may be passed along one row at no cost: the pauses put between the
// pieces of a synthetic recording, which the real one may not have.
TDtwPath Dtw(const TFeatures& a, const TFeatures& b, const TDtwWindow& w,
             const std::vector<char>& elastic = {});

// Coarse to fine: `factors` from coarse to fine, the last normally 1.
TDtwPath MultiscaleDtw(const TFeatures& a, const TFeatures& b, const std::vector<int>& factors,
                       int bandFrames, int radius, const std::vector<char>& elastic = {});
