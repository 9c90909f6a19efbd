#!/usr/bin/env python3
"""Turns the benchmark outputs in a folder into one table:
figure | Vantrel | baseline | ratio | goal.

scripts/bench runs every build/bin/bench_* with Google Benchmark's JSON output
(NAME.json) and keeps its standard output (NAME.txt). A new benchmark plugs in
by following this convention; the script needs no change.

Rows from a benchmark's time
  Every benchmark run is a row with its real time, named after the benchmark
  (BM_ left off). BM_X_Baseline is the baseline of BM_X and gets no row of its
  own. Anything else a benchmark says about its row goes into its label
  (state.SetLabel, or DeclareFigures() in bench/benchfigures.h) as key=value
  pairs separated by ";":
    figure=TEXT      the row's caption
    baseline=BM_Y    BM_Y's time is this row's baseline (BM_Y gets no row)
    goal=TEXT        the goal column
    ratio=times      ratio = Vantrel / baseline, shown as "1.20x"; without it
                     ratio = baseline / Vantrel (above 1: Vantrel is faster)

Rows from user counters (state.counters["c"] = value)
  A counter is a row when the label declares its caption; its keys carry the
  counter's name before a colon:
    c:figure=TEXT    the row's caption (required)
    c:unit=UNIT      printed after the value (ms, %, ms/min, ...)
    c:baseline=d     counter d of the same benchmark is the baseline
    c:worst=w        counter w is c's worst case: "m median, w worst"
                     (d:worst=... does the same for a baseline counter)
    c:goal=TEXT      the goal column
    c:ratio=speedup  ratio = baseline / Vantrel; counters default to
                     ratio=times (Vantrel / baseline), as they are mostly
                     costs measured beside a plainer path
  A benchmark whose label declares counter rows and no figure= shows no time
  row (its time is only how long the measuring took).

Programs that are no Google Benchmark may print lines
  FIGURE: caption | value | baseline | ratio | goal
which become rows as they are.

A benchmark that reports an error (SkipWithError) shows its rows with "-"
and the error in the goal column.
"""
import json
import os
import re
import sys


def fmt_time(ns):
    if ns is None:
        return "-"
    if ns >= 1e6:
        return "%.2f ms" % (ns / 1e6)
    if ns >= 1e3:
        return "%.1f us" % (ns / 1e3)
    return "%.0f ns" % ns


def fmt_num(v, unit):
    if v is None:
        return "-"
    a = abs(v)
    text = "%.0f" % v if a >= 100 else "%.1f" % v if a >= 10 else "%.2f" % v if a >= 0.1 else "%.3f" % v
    if not unit:
        return text
    return text + ("%" if unit == "%" else " " + unit)


def parse_label(label):
    keys = {}
    for part in (label or "").split(";"):
        if "=" in part:
            k, v = part.split("=", 1)
            keys[k.strip()] = v.strip()
    return keys


def ratio_text(value, base, kind):
    # A ratio of figures at or below zero (a delay measured as early) says nothing.
    if value is None or base is None or value <= 0 or base <= 0:
        return "-"
    if kind == "times":
        return "%.2fx" % (value / base)
    return "%.2f" % (base / value)


def rows_of_json(data):
    runs = [b for b in data.get("benchmarks", []) if b.get("run_type") != "aggregate"]
    by_name = {}
    for b in runs:
        by_name[b["name"].split("/")[0]] = b
    used_as_baseline = set()
    for name, b in by_name.items():
        keys = parse_label(b.get("label"))
        if "baseline" in keys:
            used_as_baseline.add(keys["baseline"])
        if name + "_Baseline" in by_name:
            used_as_baseline.add(name + "_Baseline")
    rows = []
    for name, b in by_name.items():
        if name in used_as_baseline:
            continue
        keys = parse_label(b.get("label"))
        error = b.get("error_message") if b.get("error_occurred") else None
        counters = [k[: -len(":figure")] for k in keys if k.endswith(":figure")]
        if "figure" in keys or not counters:
            base_name = keys.get("baseline", name + "_Baseline")
            base = by_name.get(base_name)
            unit = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}
            t = None if error else b["real_time"] * unit[b.get("time_unit", "ns")]
            bt = base["real_time"] * unit[base.get("time_unit", "ns")] if base else None
            rows.append((keys.get("figure", re.sub(r"^BM_", "", name)), fmt_time(t), fmt_time(bt),
                         ratio_text(t, bt, keys.get("ratio", "speedup")),
                         "not measured: " + error if error else keys.get("goal", "")))
        for c in counters:
            unit = keys.get(c + ":unit", "")

            def show(counter):
                if error or counter not in b:
                    return None, "-"
                v = b[counter]
                w = keys.get(counter + ":worst")
                if w and w in b:
                    return v, "%s median, %s worst" % (fmt_num(v, unit), fmt_num(b[w], unit))
                return v, fmt_num(v, unit)

            v, vtext = show(c)
            base = keys.get(c + ":baseline")
            bv, btext = show(base) if base else (None, "-")
            rows.append((keys[c + ":figure"], vtext, btext,
                         ratio_text(v, bv, keys.get(c + ":ratio", "times")),
                         "not measured: " + error if error else keys.get(c + ":goal", "")))
    return rows


def main(folder):
    rows = []
    for f in sorted(os.listdir(folder)):
        p = os.path.join(folder, f)
        if f.endswith(".json"):
            try:
                with open(p) as fh:
                    data = json.load(fh)
            except (OSError, ValueError):
                continue
            rows += rows_of_json(data)
        elif f.endswith(".txt"):
            with open(p, errors="replace") as fh:
                for line in fh:
                    if line.startswith("FIGURE:"):
                        parts = [x.strip() for x in line[7:].split("|")]
                        parts += [""] * (5 - len(parts))
                        rows.append(tuple(parts[:5]))
    head = ("figure", "Vantrel", "baseline", "ratio", "goal")
    widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(5)]

    def line(r):
        return "| " + " | ".join(str(r[i]).ljust(widths[i]) for i in range(5)) + " |"

    print(line(head))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))


if __name__ == "__main__":
    main(sys.argv[1])
