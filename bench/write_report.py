#!/usr/bin/env python3
"""Writes docs/benchmarks.md from the results `./run.sh bench` left in a folder: the
Google Benchmark JSON files (bench_*.json) and the load program's report
(load_registers.json). Each figure stands beside its target with met/missed."""
import json
import os
import platform
import re
import subprocess
import sys
from datetime import datetime, timezone

HERE = os.path.dirname(os.path.abspath(__file__))


def read(folder, name):
    path = os.path.join(folder, name)
    if not os.path.exists(path):
        return None
    with open(path) as f:
        return json.load(f)


def to_ms(entry, key="real_time"):
    factor = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[entry.get("time_unit", "ns")]
    return entry[key] * factor


def plain(name):
    """The benchmark's name without the run settings Google Benchmark appends."""
    return "/".join(p for p in name.split("/") if not re.match(r"(min_time|repeats|iterations|threads):|manual_time$|real_time$", p))


def runs(result):
    """name -> entry: the median of repeated runs, or the single run."""
    out = {}
    if not result:
        return out
    for b in result.get("benchmarks", []):
        name = plain(b["run_name"])
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                out[name] = b
        else:
            out.setdefault(name, b)
    return out


def verdict(value, target):
    if value is None:
        return "not measured"
    return "met" if value <= target else "**missed**"


def fmt(value, digits=2):
    return "—" if value is None else f"{value:.{digits}f}"


def figure(entries, name, key=None):
    e = entries.get(name)
    if not e or e.get("error_occurred"):
        return None, (e or {}).get("error_message", "not run")
    return (e[key] if key else to_ms(e)), None


def machine():
    cpu = platform.processor()
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    ram = "?"
    try:
        with open("/proc/meminfo") as f:
            kb = int(f.readline().split()[1])
            ram = f"{kb / 1024 / 1024:.1f} GiB"
    except (OSError, ValueError, IndexError):
        pass
    os_name = platform.system()
    try:
        with open("/etc/os-release") as f:
            for line in f:
                if line.startswith("PRETTY_NAME="):
                    os_name = line.split("=", 1)[1].strip().strip('"')
    except OSError:
        pass
    root = os.path.dirname(HERE)
    try:
        commit = subprocess.run(["git", "-C", root, "rev-parse", "--short", "HEAD"], capture_output=True,
                                text=True).stdout.strip()
        dirty = subprocess.run(["git", "-C", root, "status", "--porcelain", "--untracked-files=no"],
                               capture_output=True, text=True).stdout.strip()
        if dirty:
            commit += " (with uncommitted changes)"
    except OSError:
        commit = "?"
    return cpu, os.cpu_count(), ram, os_name, commit


def sale_table(lines, sale):
    lines += ["## The sale in process", "",
              "`Recebimento` end to end in process: the screen, one cash tender, one credit card through the "
              "simulated terminal, the confirmation with the fiscal printer simulator, the close. \"The call\" is "
              "the host's call of `Recebimento` alone, with the sale's datasets in memory as a host hands them over "
              "(the targets are on it); \"scripted run\" is what `recebimento run` does in process around it as well "
              "(reading the sale file and the script, writing the run's JSON output). Median of 5 repetitions; the "
              "processor time of the call beside it (the rest is waiting: the disk's flush of the receipt's backup, "
              "which keeps the printed items through a power cut, and a processor shared with other work); peak heap above what was live before the sale.", "",
              "| store | items | the call (ms) | processor (ms) | scripted run (ms) | peak heap (MB) | target | result |",
              "|---|---|---|---|---|---|---|---|"]
    for engine, bench in (("embedded (SQLite)", "Embedded"), ("PostgreSQL", "PostgreSQL")):
        call, scripted = f"BM_Sale{bench}", f"BM_ScriptedSale{bench}"
        med100, _ = figure(sale, f"{call}/100")
        for items in (10, 100, 1000):
            ms, err = figure(sale, f"{call}/{items}")
            run_ms, run_err = figure(sale, f"{scripted}/{items}")
            heap, _ = figure(sale, f"{call}/{items}", "peak_heap_MB")
            target, result = "—", "—"
            if bench == "Embedded" and items == 100:
                target, result = "≤ 5 ms", verdict(ms, 5.0)
            elif items == 1000 and med100:
                target = f"≤ 10 × 100 items ({10 * med100:.1f} ms)"
                result = verdict(ms, 10 * med100)
            run_text = run_err if run_err else fmt(run_ms)
            if err:
                lines.append(f"| {engine} | {items} | {err} | — | {run_text} | — | {target} | not measured |")
            else:
                cpu = to_ms(sale[f"{call}/{items}"], "cpu_time")
                lines.append(f"| {engine} | {items} | {fmt(ms)} | {fmt(cpu)} | {run_text} | {fmt(heap, 1)} | "
                             f"{target} | {result} |")
    lines.append("")


def ratio_table(lines, ratio):
    lines += ["## The data module beside the engine", "",
              "Each function against the same SQL through the engine's C API (sqlite3, libpq) in the same process, "
              "prepared once and read whole. The two run in turn, call after call, so a machine whose speed drifts "
              "moves both alike; mean time of a call, median of 5 repetitions. Target: the module within 1.3 times "
              "the raw engine.", "",
              "| function | engine | module (µs) | raw (µs) | ratio | target | result |",
              "|---|---|---|---|---|---|---|"]
    names = []
    for name in ratio:
        fn = name.split("/")[0]
        if fn not in names:
            names.append(fn)
    for fn in names:
        for engine in ("SQLite", "PostgreSQL"):
            r, err = figure(ratio, f"{fn}/{engine}", "ratio")
            if err:
                lines.append(f"| `{fn}` | {engine} | {err} | — | — | ≤ 1.3 | not measured |")
                continue
            module, _ = figure(ratio, f"{fn}/{engine}", "module_us")
            raw, _ = figure(ratio, f"{fn}/{engine}", "raw_us")
            lines.append(f"| `{fn}` | {engine} | {fmt(module, 1)} | {fmt(raw, 1)} | {fmt(r)} | ≤ 1.3 | "
                         f"{verdict(r, 1.3)} |")
    lines.append("")


def load_table(lines, load):
    lines += ["## Many registers on one PostgreSQL", ""]
    if not load:
        lines += ["Not run.", ""]
        return
    if "skipped" in load:
        lines += [f"Not run: {load['skipped']}.", ""]
        return
    lines += [f"{load['registers']} registers with their own connections, {load['consumers']} consumers, "
              f"{load['elapsedSeconds']:.1f} s: {load['sales']} consumer-account sales "
              f"({load['salesPerSecond']:.1f} a second), {load['refusals']} refused by the balance check, "
              f"{load['errors']} failed" + (f" (first: {load['firstError']})" if load.get("firstError") else "") + ".",
              "", "| operation | count | p50 (ms) | p99 (ms) | target | result |", "|---|---|---|---|---|---|"]
    targets = {"validation": 50.0, "balance update": 50.0}
    for op, s in load["operations"].items():
        t = targets.get(op)
        lines.append(f"| {op} | {s['count']} | {fmt(s['p50Ms'])} | {fmt(s['p99Ms'])} | "
                     f"{'p99 ≤ %g ms' % t if t else '—'} | {verdict(s['p99Ms'], t) if t else '—'} |")
    lines += ["", "| check | found | target | result |", "|---|---|---|---|",
              f"| NFC-e numbers handed out twice | {load['duplicateNumbers']} | 0 | "
              f"{'met' if load['duplicateNumbers'] == 0 else '**missed**'} |",
              f"| balances not equal to the sum of their movements (of {load['balancesChecked']}) | "
              f"{load['balancesNotEqualToMovements']} | 0 | "
              f"{'met' if load['balancesNotEqualToMovements'] == 0 else '**missed**'} |", ""]


def startup_table(lines, startup):
    lines += ["## Start-up and memory of the programs", "",
              "Measured from outside, as a register starts them; median of 3 repetitions.", "",
              "| measure | figure | target | result |", "|---|---|---|---|"]
    ms, err = figure(startup, "BM_RunToFirstScreenState")
    lines.append(f"| `recebimento run`, process start to the first screen state (the run leaves the screen at once; "
                 f"the figure includes the exit) | {err or fmt(ms) + ' ms'} | ≤ 15 ms | "
                 f"{'not measured' if err else verdict(ms, 15.0)} |")
    rss, err = figure(startup, "BM_ScriptedRun1000Items", "peak_rss_MB")
    ms, _ = figure(startup, "BM_ScriptedRun1000Items")
    lines.append(f"| peak resident memory of a 1,000-item scripted run ({fmt(ms, 1)} ms whole) | "
                 f"{err or fmt(rss, 1) + ' MB'} | ≤ 40 MB | {'not measured' if err else verdict(rss, 40.0)} |")
    ms, err = figure(startup, "BM_TouchScreenFirstPaint")
    lines.append(f"| touch screen, launch to first paint (offscreen) | {err or fmt(ms) + ' ms'} | ≤ 300 ms | "
                 f"{'not measured' if err else verdict(ms, 300.0)} |")
    lines.append("")


def other_tables(lines, folder, skip):
    lines += ["## Other benchmarks", "", "| program | benchmark | time | |", "|---|---|---|---|"]
    for name in sorted(os.listdir(folder)):
        if not name.startswith("bench_") or not name.endswith(".json") or name in skip:
            continue
        for run, e in runs(read(folder, name)).items():
            value = "—" if e.get("error_occurred") else f"{e['real_time']:.3g} {e.get('time_unit', 'ns')}"
            extra = f"{e['items_per_second']:.3g} items/s" if "items_per_second" in e else ""
            lines.append(f"| {name[:-5]} | {run} | {value} | {extra} |")
    lines.append("")


def main():
    folder, target = sys.argv[1], sys.argv[2]
    cpu, cores, ram, os_name, commit = machine()
    lines = ["# Benchmarks", "",
             "Written by `./run.sh bench` (do not edit by hand: the next run writes it again).", "",
             f"- machine: {cpu}, {cores} cores, {ram} RAM, {os_name}",
             f"- commit: {commit}",
             f"- run: {datetime.now(timezone.utc).strftime('%Y-%m-%d %H:%M UTC')}", ""]
    sale_table(lines, runs(read(folder, "bench_sale.json")))
    ratio_table(lines, runs(read(folder, "bench_engine_ratio.json")))
    load_table(lines, read(folder, "load_registers.json"))
    startup_table(lines, runs(read(folder, "bench_startup.json")))
    other_tables(lines, folder, {"bench_sale.json", "bench_engine_ratio.json", "bench_startup.json"})
    notes = os.path.join(HERE, "before_after.md")
    if os.path.exists(notes):
        with open(notes) as f:
            lines += [f.read().rstrip(), ""]
    lines += ["## How to rerun", "",
              "`./run.sh bench` builds `build-bench` (Release, with the touch screen, without the tests), starts a "
              "throwaway PostgreSQL (its cases are skipped with a line saying so when none starts), runs every "
              "`build-bench/bench/bench_*` and the load program, keeps their JSON under `build-bench/results/` and "
              "writes this file. One program alone: `build-bench/bench/bench_sale --benchmark_filter=Embedded`; the "
              "load program: `build-bench/bench/load_registers --registers 8 --seconds 20` with "
              "`RECEBIMENTO_TEST_PG` naming a server (`RECEBIMENTO_LOAD_SECONDS` sets the bench command's run).", ""]
    with open(target, "w") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
