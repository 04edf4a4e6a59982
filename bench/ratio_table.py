#!/usr/bin/env python3
"""Turns the JSON output of the bench programs into Markdown tables.

Every benchmark is named <group>/<candidate>. For each group the tables list
every candidate's figure and ezu's figure divided by it, all from the same
run, and mark the groups that have a target as met or missed.

    ratio_table.py convert.json format.json ...

Conversions are given in MB/s (10^6 bytes of source text per second, higher
is better), everything else in ns per operation (lower is better). With
repetitions the median is used. Figures are CPU time, so that other work on
the machine disturbs them less than wall-clock time would.
"""

import json
import os
import sys

# (group, candidate) -> (comparison, bound, wording). The ratio compared is
# ezu's figure divided by the candidate's: throughput for conversions, time
# for everything else.
TARGETS = {}
for _direction, _ascii in (("utf8_to_utf16le", 0.75), ("utf16le_to_utf8", 0.5)):
    for _text, _bound in (("ascii", _ascii), ("latin", 1.0), ("cjk_emoji", 1.0)):
        _group = _direction + "/" + _text
        TARGETS[(_group, "qt")] = (">=", _bound, "throughput >= %gx Qt" % _bound)
        TARGETS[(_group, "icu")] = (">", 1.0, "ahead of ICU")
        TARGETS[(_group, "iconv")] = (">", 1.0, "ahead of iconv")
        if _direction == "utf8_to_utf16le":
            # The core's throughput over the TStr road's: the road's time.
            TARGETS[(_group, "ezu_tstr")] = ("<=", 1.3, "TStr road time <= 1.3x the core's")
# The check: ezu's own figure on ASCII, and ahead of the conversion it
# guards on the other texts.
TARGETS[("validate_utf8/ascii", "ezu")] = ("MB/s >=", 2000, "at least 2,000 MB/s")
for _source in ("validate_utf8", "validate_utf16le"):
    for _text in ("latin", "cjk_emoji"):
        TARGETS[(_source + "/" + _text, "conversion")] = (">", 1.0, "ahead of the conversion")
TARGETS[("arg/two_numbers", "qt")] = ("<=", 0.5, "time <= 0.5x QString::arg")
TARGETS[("to_int64", "std")] = ("<=", 1.5, "time <= 1.5x from_chars")
TARGETS[("from_int64", "fmt")] = ("<=", 1.0, "time <= fmt::format")
TARGETS[("split_join/64", "qt")] = ("<=", 1.0, "time <= Qt")
TARGETS[("settings/1000", "unordered_map")] = ("<=", 3.0, "time <= 3x unordered_map")
TARGETS[("settings/1000", "qsettings")] = ("<=", 0.5, "time <= 0.5x QSettings")

# What one operation is, by group prefix.
OPERATIONS = [
    ("arg/", "one message with two numbers substituted"),
    ("args/", "one message with two number texts substituted in one pass"),
    ("from_int64", "one number written into a new text"),
    ("to_int64", "one text read as a number"),
    ("split_join/", "one text split into its elements and joined again"),
    ("settings/", "one key set and read back"),
    ("append/", "one append"),
]

TIME_UNITS_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def read_runs(paths):
    """Returns ({name: entry}, [context]) from the given JSON files."""
    runs, contexts, errors = {}, [], {}
    for path in paths:
        try:
            with open(path, encoding="utf-8") as f:
                data = json.load(f)
        except (OSError, ValueError) as e:
            print("ratio_table.py: skipping %s: %s" % (path, e), file=sys.stderr)
            continue
        contexts.append(data.get("context", {}))
        for b in data.get("benchmarks", []):
            name = b.get("run_name", b["name"])
            if b.get("error_occurred"):
                errors[name] = b.get("error_message", "error")
                continue
            if b.get("run_type") == "aggregate":
                if b.get("aggregate_name") == "median":
                    runs[name] = dict(b, cv=runs.get(name, {}).get("cv"))
                elif b.get("aggregate_name") == "cv":
                    runs.setdefault(name, {"run_type": "aggregate"})["cv"] = b["cpu_time"]
            elif name not in runs or runs[name].get("run_type") != "aggregate":
                # Without repetitions there are no aggregates: keep the run.
                runs[name] = b
    for name, message in errors.items():
        runs[name] = {"error_message": message}
    return runs, contexts


def figure(entry):
    """(value, kind): MB/s for conversions, ns per operation otherwise."""
    if "error_message" in entry:
        return None, None
    if "bytes_per_second" in entry:
        return entry["bytes_per_second"] / 1e6, "rate"
    if "items_per_second" in entry:
        return 1e9 / entry["items_per_second"], "time"
    return entry["cpu_time"] * TIME_UNITS_NS[entry.get("time_unit", "ns")], "time"


def fmt_number(x):
    if x >= 100:
        return "{:,.0f}".format(x)
    if x >= 10:
        return "{:.1f}".format(x)
    return "{:.2f}".format(x)


def verdict(ratio, target, value=None):
    op, bound, _ = target
    if op == "MB/s >=":  # a figure of ezu's own, not a ratio
        return "met" if value >= bound else "**missed**"
    ok = {">=": ratio >= bound, ">": ratio > bound, "<=": ratio <= bound}[op]
    return "met" if ok else "**missed**"


def group_rows(runs):
    """{group: [(candidate, entry)]} in the order the benchmarks ran."""
    groups = {}
    for name, entry in runs.items():
        group, _, candidate = name.rpartition("/")
        groups.setdefault(group, []).append((candidate, entry))
    return groups


def print_table(title, groups, kind, tally):
    header = "MB/s" if kind == "rate" else "ns/op"
    print("### " + title)
    print()
    print("| group | candidate | %s | spread | ezu ÷ candidate | target | |" % header)
    print("|---|---|---:|---:|---:|---|---|")
    for group, rows in groups.items():
        ezu = dict(rows).get("ezu")
        ezu_value = figure(ezu)[0] if ezu else None
        first = True
        for candidate, entry in rows:
            value, _ = figure(entry)
            target = TARGETS.get((group, candidate))
            shown = fmt_number(value) if value is not None else "error: " + entry["error_message"]
            ratio_text, mark = "", ""
            if value is not None and ezu_value is not None:
                ratio = ezu_value / value
                ratio_text = "{:.2f}".format(ratio)
                if target:
                    mark = verdict(ratio, target, value)
            elif target:
                mark = "not measured"
            if target:
                tally[mark.strip("*")] = tally.get(mark.strip("*"), 0) + 1
            spread = "±{:.0%}".format(entry["cv"]) if entry.get("cv") is not None else ""
            print("| %s | %s | %s | %s | %s | %s | %s |" % (
                group if first else "", candidate, shown, spread, ratio_text,
                target[2] if target else "", mark))
            first = False
    print()
    if kind == "time":
        seen = [(p, what) for p, what in OPERATIONS if any(g.startswith(p) for g in groups)]
        if seen:
            print("One operation: " + "; ".join("`%s` %s" % (p.rstrip("/"), what) for p, what in seen) + ".")
            print()


def cpu_model():
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


def print_context(contexts):
    if not contexts:
        return
    c = contexts[0]
    loads = [l for ctx in contexts for l in ctx.get("load_avg", [])[:1]]
    load = ""
    if loads:
        load = ", load average (1 min) %.1f to %.1f while it ran" % (min(loads), max(loads))
    print("Run of %s on %s (%d CPUs, %s)%s." % (
        c.get("date", "unknown date"), cpu_model(), c.get("num_cpus", 0),
        os.uname().sysname + " " + os.uname().machine, load))
    print()


def main(paths):
    if not paths:
        print("usage: ratio_table.py RESULT.json...", file=sys.stderr)
        return 2
    runs, contexts = read_runs(paths)
    groups = group_rows(runs)
    print_context(contexts)
    tally = {}
    by_kind = {"rate": {}, "time": {}}
    for group, rows in groups.items():
        kinds = [figure(e)[1] for _, e in rows if figure(e)[1]]
        by_kind[kinds[0] if kinds else "time"][group] = rows
    if by_kind["rate"]:
        print_table("Conversions: MB/s of source text, higher is better", by_kind["rate"], "rate", tally)
    if by_kind["time"]:
        print_table("Operations: ns per operation, lower is better", by_kind["time"], "time", tally)
    print("Targets: %d met, %d missed%s." % (
        tally.get("met", 0), tally.get("missed", 0),
        ", %d not measured" % tally["not measured"] if tally.get("not measured") else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
