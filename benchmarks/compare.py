#!/usr/bin/env python3
"""Before and after figures of every benchmark, measured in one session.

    benchmarks/compare.py BASE [Google Benchmark options]
    benchmarks/compare.py --qt6 [Google Benchmark options]

Builds the library of commit BASE (release preset, in a scratch directory) and this tree's
library and benchmark program, then runs the same program against both (it loads the other
library through LD_LIBRARY_PATH). Each benchmark runs against one library, then the other, ROUNDS
times, so that both sides meet the same load on a shared machine. Prints a Markdown table of the
fastest repetition of each side (other work on the machine only ever adds time), with the
allocations per operation and the floor ratio. The BASE library must keep this tree's public
headers: the program is built once, against them.

With --qt6 the two sides are the Qt 5 and the Qt 6 flavour of this tree instead: the release and
release-qt6 presets' programs, each with its own library, in the same alternating rounds.
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

ROUNDS = 3
DEFAULT_OPTIONS = ["--benchmark_repetitions=3", "--benchmark_min_time=0.2"]
SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def program(preset):
    return os.path.join(SOURCE, "build", preset, "benchmarks", "devicemodel_benchmarks")


def build_program(preset):
    run(["cmake", "--preset", preset], cwd=SOURCE, stdout=subprocess.DEVNULL)
    run(["cmake", "--build", "--preset", preset, "--target", "devicemodel_benchmarks"],
        cwd=SOURCE, stdout=sys.stderr)


def exact(name):
    """A benchmark name as a regular expression of Google Benchmark's filter, which takes no
    backslash escapes: every special character goes into a bracket expression of its own."""
    return "".join("[" + c + "]" if c in "().[]*+?{}|^$" else c for c in name)


def run(command, **kwargs):
    subprocess.run(command, check=True, **kwargs)


def build_base(base, scratch):
    source = os.path.join(scratch, "base")
    os.mkdir(source)
    archive = subprocess.run(["git", "-C", SOURCE, "archive", base], check=True,
                             stdout=subprocess.PIPE).stdout
    run(["tar", "-x", "-C", source], input=archive)
    run(["cmake", "--preset", "release", "-DDEVICEMODEL_BUILD_BENCHMARKS=OFF"], cwd=source,
        stdout=subprocess.DEVNULL)
    run(["cmake", "--build", "--preset", "release", "--target", "devicemodel"], cwd=source,
        stdout=sys.stderr)
    return os.path.join(source, "build", "release", "model")


def measure(library_dir, report, options, preset="release"):
    env = dict(os.environ)
    if library_dir:
        env["LD_LIBRARY_PATH"] = library_dir
    run([program(preset), "--benchmark_out=" + report, "--benchmark_out_format=json"] + options,
        env=env, stdout=subprocess.DEVNULL)
    with open(report) as f:
        data = json.load(f)
    loaded = data["context"].get("devicemodel_library", "")
    expected = library_dir or os.path.join(SOURCE, "build", preset, "model")
    if not loaded.startswith(expected):
        sys.exit(f"compare: measured {loaded}, expected a library in {expected}")
    return [b for b in data["benchmarks"] if b.get("run_type", "iteration") == "iteration"]


def collect(runs):
    """Per benchmark: CPU times in ns, and the last seen counters."""
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
    result = {}
    for benchmark in runs:
        name = benchmark.get("run_name", benchmark["name"])
        entry = result.setdefault(name, {"cpu": [], "counters": {}})
        entry["cpu"].append(benchmark["cpu_time"] * scale[benchmark["time_unit"]])
        for key in ("allocs", "heap_B", "floor_ratio"):
            if key in benchmark:
                entry["counters"][key] = benchmark[key]
    return result


def time_text(ns):
    for unit, factor in (("s", 1e9), ("ms", 1e6), ("µs", 1e3)):
        if ns >= factor:
            return f"{ns / factor:.3g} {unit}"
    return f"{ns:.3g} ns"


def counter_text(before, after, key, digits):
    if key not in before or key not in after:
        return ""
    b, a = before[key], after[key]
    return f"{b:.{digits}f} → {a:.{digits}f}" if b != a else f"{a:.{digits}f}"


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    base, options = sys.argv[1], sys.argv[2:] or DEFAULT_OPTIONS
    flavours = base == "--qt6"
    build_program("release")
    if flavours:
        build_program("release-qt6")
    scratch = tempfile.mkdtemp()
    try:
        if flavours:
            # Each program loads the library of its own build (its run path).
            measure_before = lambda report, opts: measure(None, report, opts)
            measure_after = lambda report, opts: measure(None, report, opts, "release-qt6")
        else:
            base_library = build_base(base, scratch)
            measure_before = lambda report, opts: measure(base_library, report, opts)
            measure_after = lambda report, opts: measure(None, report, opts)
        names = subprocess.run([program("release"), "--benchmark_list_tests"] + [
            o for o in options if o.startswith("--benchmark_filter")], check=True,
            stdout=subprocess.PIPE, text=True).stdout.split()
        before, after = [], []
        report = os.path.join(scratch, "report.json")
        for name in names:
            only = ["--benchmark_filter=^" + exact(name) + "$"]
            rest = [o for o in options if not o.startswith("--benchmark_filter")]
            for round_number in range(ROUNDS):
                before += measure_before(report, rest + only)
                after += measure_after(report, rest + only)
    finally:
        shutil.rmtree(scratch)

    before, after = collect(before), collect(after)
    sides = ("Qt 5", "Qt 6") if flavours else ("before", "after")
    print(f"Fastest CPU time per iteration over {ROUNDS} alternating rounds of "
          f"{' '.join(options)}; " + ("Qt 5 against Qt 6" if flavours else f"before = {base}")
          + ".\n")
    print(f"| benchmark | {sides[0]} | {sides[1]} | {sides[1]}/{sides[0]} | allocs | floor ratio |")
    print("| --- | ---: | ---: | ---: | ---: | ---: |")
    for name, a in after.items():
        b = before.get(name)
        if not b:
            continue
        tb, ta = min(b["cpu"]), min(a["cpu"])
        print(f"| {name} | {time_text(tb)} | {time_text(ta)} | {ta / tb:.2f} | "
              f"{counter_text(b['counters'], a['counters'], 'allocs', 0)} | "
              f"{counter_text(b['counters'], a['counters'], 'floor_ratio', 1)} |")


if __name__ == "__main__":
    main()
