#pragma once
// How a benchmark names the rows it adds to scripts/bench's table: key=value
// pairs in the benchmark's label. The keys are described at the top of
// scripts/bench_table.py.
#include <benchmark/benchmark.h>
#include <initializer_list>
#include <string>
#include <utility>

inline void DeclareFigures(benchmark::State& st,
                           std::initializer_list<std::pair<std::string, std::string>> keys) {
    std::string label;
    for (const auto& [k, v] : keys) {
        if (!label.empty()) label += " ; ";
        label += k + "=" + v;
    }
    st.SetLabel(label);
}
