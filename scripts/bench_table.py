#!/usr/bin/env python3
"""Turns the benchmark outputs in a folder into one table."""
import json, os, re, sys

GOALS = {
    "TextLayout": "< 20 ms, faster than baseline",
    "TextScrollStep": "< 2 ms, faster than baseline",
}

def fmt(ns):
    if ns is None:
        return "-"
    if ns >= 1e6:
        return "%.2f ms" % (ns / 1e6)
    if ns >= 1e3:
        return "%.1f us" % (ns / 1e3)
    return "%.0f ns" % ns

def main(folder):
    rows = []
    for f in sorted(os.listdir(folder)):
        p = os.path.join(folder, f)
        if f.endswith(".json"):
            try:
                data = json.load(open(p))
            except Exception:
                continue
            times = {}
            for b in data.get("benchmarks", []):
                if b.get("run_type") == "aggregate":
                    continue
                unit = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
                times[b["name"].split("/")[0]] = b["real_time"] * unit
            for name, t in times.items():
                if name.endswith("_Baseline"):
                    continue
                fig = re.sub(r"^BM_", "", name)
                base = times.get(name + "_Baseline")
                ratio = "%.2f" % (base / t) if base and t else "-"
                rows.append((fig, fmt(t), fmt(base), ratio, GOALS.get(fig, "")))
        elif f.endswith(".txt") and not os.path.exists(p[:-4] + ".json"):
            pass
        # Plain figures printed by a benchmark as "FIGURE: figure | value | baseline | ratio | goal"
        if f.endswith(".txt"):
            for line in open(p, errors="replace"):
                if line.startswith("FIGURE:"):
                    parts = [x.strip() for x in line[7:].split("|")]
                    parts += [""] * (5 - len(parts))
                    rows.append(tuple(parts[:5]))
    head = ("figure", "Vantrel", "baseline", "ratio", "goal")
    widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(5)]
    line = lambda r: "| " + " | ".join(str(r[i]).ljust(widths[i]) for i in range(5)) + " |"
    print(line(head))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))

if __name__ == "__main__":
    main(sys.argv[1])
