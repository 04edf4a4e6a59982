#!/usr/bin/env python3
"""Runs scaling_bench and prints the growth exponent of every row.

    scaling_table.py [--smoke] [--limit X] [--min-time S] BINARY [BENCHMARK-OPTION...]

Each row of the benchmark times one operation at n, 4n and 16n. The growth
exponent is log(t(16n) / t(n)) / log(16): about 1 when the cost grows with the
input, 2 when it grows with its square. The table goes to standard output; the
exit status is 1 when a row is missing, failed its own check, or (except with
--smoke) grows faster than the limit (default 1.15).

--smoke runs every row at its small n with a short minimum time and checks
only that every row ran and printed its three sizes: no timing is judged.
"""
import argparse
import json
import math
import subprocess
import sys


def run(cmd):
    result = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        sys.stderr.write(result.stderr)
        sys.exit("scaling: %s exited with %d" % (cmd[0], result.returncode))
    return result.stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--smoke", action="store_true")
    parser.add_argument("--limit", type=float, default=1.15)
    parser.add_argument("--min-time", default=None)
    parser.add_argument("binary")
    parser.add_argument("options", nargs=argparse.REMAINDER)
    args = parser.parse_args()

    size_flag = ["--scaling_smoke"] if args.smoke else []
    min_time = args.min_time or ("0.01" if args.smoke else "0.3")
    # Every benchmark the program registers: name/size.
    listed = run([args.binary] + size_flag + ["--benchmark_list_tests=true"] + args.options).split()
    rows = {}
    for entry in listed:
        name, _, size = entry.rpartition("/")
        rows.setdefault(name, []).append(int(size))
    # Without --smoke each size runs three times and the median counts.
    extra = [] if args.smoke else ["--benchmark_repetitions=3",
                                   "--benchmark_report_aggregates_only=true"]
    report = json.loads(run([args.binary] + size_flag + ["--benchmark_format=json",
                                                        "--benchmark_min_time=" + min_time]
                            + extra + args.options))

    times = {}
    errors = {}
    for b in report["benchmarks"]:
        if b.get("aggregate_name", "median") != "median":
            continue
        name = b["run_name"] if "run_name" in b else b["name"]
        row, _, size = name.rpartition("/")
        if b.get("error_occurred"):
            errors[row] = b.get("error_message", "error")
            continue
        # This process's CPU time: the load of other processes on the
        # machine changes the wall clock far more.
        times[(row, int(size))] = float(b["cpu_time"])

    status = 0
    print("| row | t(n) µs | t(4n) µs | t(16n) µs | n | exponent |")
    print("|---|---:|---:|---:|---:|---:|")
    for row, sizes in rows.items():
        sizes.sort()
        if row in errors:
            print("| %s | failed: %s | | | | |" % (row, errors[row]))
            status = 1
            continue
        t = [times.get((row, s)) for s in sizes]
        if len(sizes) != 3 or None in t:
            print("| %s | missing | | | | |" % row)
            status = 1
            continue
        exponent = math.log(t[2] / t[0]) / math.log(sizes[2] / sizes[0]) if t[0] > 0 else float("inf")
        mark = ""
        if not args.smoke and exponent > args.limit:
            mark = " (over %.2f)" % args.limit
            status = 1
        print("| %s | %.2f | %.2f | %.2f | %d | %.2f%s |" % (row, t[0], t[1], t[2], sizes[0], exponent, mark))
    if not rows:
        print("scaling: the program lists no rows")
        status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
