#!/usr/bin/python3
"""Turns the conversion benchmark's JSON into the figures of docs/performance.md and its plot.

    /usr/bin/python3 bench/performance_report.py RESULTS.json DOC.md PLOT.png

The medians of the repetitions are written into DOC.md between the markers
<!-- figures:begin --> and <!-- figures:end -->, and the machine between <!-- machine:begin -->
and <!-- machine:end -->; the rest of DOC.md is left as it is. PLOT.png is drawn with gnuplot.
Standard library only.
"""

import json
import os
import re
import subprocess
import sys
import tempfile

FLOOR_OF = {"exportar": ("floor_parse", "floor_write_tables"),
            "importar": ("floor_parse", "floor_write_result")}
MAX_FLOOR_RATIO = 3.0
MAX_GROWTH = 120.0      # scale 100 against scale 1
MAX_PEAK_PER_DOC = 20.0


def medians(results):
    """{(case, scale): row} from the median aggregates, or from the single runs without them."""
    rows = {}
    aggregated = any(b.get("aggregate_name") == "median" for b in results["benchmarks"])
    for bench in results["benchmarks"]:
        if bench.get("error_occurred"):
            raise SystemExit(f"{bench['name']}: {bench.get('error_message')}")
        if aggregated and bench.get("aggregate_name") != "median":
            continue
        case, scale = bench["run_name"].split("/")[:2]
        rows[(case, int(scale))] = bench
    return rows


def ms(row, key="real_time"):
    factor = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[row["time_unit"]]
    return row[key] * factor


def floor_ms(rows, direction, scale, key="real_time"):
    return sum(ms(rows[(part, scale)], key) for part in FLOOR_OF[direction])


def scales_of(rows):
    return sorted({scale for _, scale in rows})


def figures_table(rows):
    lines = ["| Scale | Document | Result | Lessons | exportar | floor | × floor | importar | floor | × floor |",
             "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"]
    for scale in scales_of(rows):
        row = rows[("exportar", scale)]
        cells = [str(scale), f"{row['doc_MB']:.2f} MB", f"{row['result_MB']:.2f} MB", f"{row['lessons']:,.0f}"]
        for direction in ("exportar", "importar"):
            took, floor = ms(rows[(direction, scale)]), floor_ms(rows, direction, scale)
            cells += [f"{took:,.1f} ms", f"{floor:,.1f} ms", f"{took / floor:.2f}"]
        lines.append("| " + " | ".join(cells) + " |")
    return lines


def durable_table(rows):
    """exportar against a floor that flushes its tables to the disk as exportar does."""
    lines = ["| Scale | exportar | parse + synced write | × that |", "|---:|---:|---:|---:|"]
    for scale in scales_of(rows):
        if ("synced_write_tables", scale) not in rows:
            continue
        took = ms(rows[("exportar", scale)])
        durable = ms(rows[("floor_parse", scale)]) + ms(rows[("synced_write_tables", scale)])
        lines.append(f"| {scale} | {took:,.1f} ms | {durable:,.1f} ms | {took / durable:.2f} |")
    return lines


def detail_table(rows):
    lines = ["| Case | Scale | Wall (median) | CPU (median) | Peak RSS | Peak growth | Growth ÷ document |",
             "|---|---:|---:|---:|---:|---:|---:|"]
    for case in ("exportar", "importar", "floor_parse", "floor_write_tables", "floor_write_result",
                 "synced_write_tables"):
        for scale in scales_of(rows):
            if (case, scale) not in rows:
                continue
            row = rows[(case, scale)]
            lines.append(f"| {case} | {scale} | {ms(row):,.2f} ms | {ms(row, 'cpu_time'):,.2f} ms | "
                         f"{row['peak_MB']:.1f} MB | {row['peak_growth_MB']:.1f} MB | {row['growth_per_doc']:.1f} |")
    return lines


def verdict(holds):
    return "holds" if holds else "**missed**"


def targets_table(rows):
    scales = scales_of(rows)
    lines = ["| Target | exportar | importar |", "|---|---|---|"]
    for scale in scales:
        cells = []
        for direction in ("exportar", "importar"):
            wall = ms(rows[(direction, scale)]) / floor_ms(rows, direction, scale)
            cpu = ms(rows[(direction, scale)], "cpu_time") / floor_ms(rows, direction, scale, "cpu_time")
            cells.append(f"{verdict(wall <= MAX_FLOOR_RATIO)}: {wall:.2f}× (CPU {cpu:.2f}×)")
        lines.append(f"| within {MAX_FLOOR_RATIO:g}× the floor, scale {scale} | " + " | ".join(cells) + " |")
    if scales[0] == 1 and scales[-1] == 100:
        cells = []
        for direction in ("exportar", "importar"):
            growth = ms(rows[(direction, 100)]) / ms(rows[(direction, 1)])
            cells.append(f"{verdict(growth <= MAX_GROWTH)}: {growth:.1f}×")
        lines.append(f"| scale 100 at most {MAX_GROWTH:g}× scale 1 | " + " | ".join(cells) + " |")
    for scale in scales:
        cells = []
        for direction in ("exportar", "importar"):
            row = rows[(direction, scale)]
            per_doc = row["growth_per_doc"]
            cells.append(f"{verdict(per_doc < MAX_PEAK_PER_DOC)}: {row['peak_growth_MB']:.1f} MB = "
                         f"{per_doc:.1f}× the document")
        lines.append(f"| peak memory under {MAX_PEAK_PER_DOC:g}× the document, scale {scale} | "
                     + " | ".join(cells) + " |")
    return lines


def machine_lines(context):
    load = ", ".join(f"{value:.2f}" for value in context.get("load_avg", []))
    return [f"- CPU: {context.get('cpu', '?')}, {context.get('num_cpus')} cores at {context.get('mhz_per_cpu')} MHz",
            f"- Memory: {context.get('ram', '?')}",
            f"- Compiler: {context.get('compiler', '?')}; build type {context.get('build_type', '?')}",
            f"- System: {context.get('system', '?')}; libxml2 {context.get('libxml2', '?')}",
            f"- Sources: commit {context.get('commit', '?')}, with {context.get('changed_sources', '?')} files "
            "under src/ changed in the working tree",
            f"- Run: {context.get('date')}, load average before it {load}; "
            f"Google Benchmark library built as {context.get('library_build_type')}"]


def replace_between(text, name, lines):
    begin, end = f"<!-- {name}:begin -->", f"<!-- {name}:end -->"
    pattern = re.compile(re.escape(begin) + ".*?" + re.escape(end), re.S)
    if not pattern.search(text):
        raise SystemExit(f"no {begin} ... {end} in the document")
    return pattern.sub(lambda _: "\n".join([begin, *lines, end]), text)


def plot(rows, png):
    series = [("exportar", lambda s: ms(rows[("exportar", s)])),
              ("importar", lambda s: ms(rows[("importar", s)])),
              ("floor of exportar (parse + write tables)", lambda s: floor_ms(rows, "exportar", s)),
              ("floor of importar (parse + write result)", lambda s: floor_ms(rows, "importar", s))]
    with tempfile.TemporaryDirectory() as folder:
        data = os.path.join(folder, "times.dat")
        with open(data, "w") as out:
            for scale in scales_of(rows):
                out.write(f"{scale} " + " ".join(f"{value(scale):.4f}" for _, value in series) + "\n")
        styles = ["lw 2 pt 7", "lw 2 pt 5", "lw 1 dt 2 pt 6", "lw 1 dt 2 pt 4"]
        plots = ", ".join(f"'{data}' using 1:{i + 2} with linespoints {styles[i]} title '{title}'"
                          for i, (title, _) in enumerate(series))
        script = "\n".join([
            "set terminal pngcairo size 900,560 font 'sans,10'",
            f"set output '{png}'",
            "set title 'Conversion time against scale (wall clock, median)'",
            "set logscale xy", "set xlabel 'scale (1 = one school of 40 teachers)'",
            "set ylabel 'milliseconds'", "set xtics (1, 10, 100)", "set grid", "set key top left",
            f"plot {plots}"])
        subprocess.run(["gnuplot"], input=script, text=True, check=True)


def main():
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    results_path, doc_path, png_path = sys.argv[1:]
    with open(results_path) as source:
        results = json.load(source)
    rows = medians(results)
    with open(doc_path) as source:
        text = source.read()
    text = replace_between(text, "machine", machine_lines(results["context"]))
    text = replace_between(text, "figures", [*figures_table(rows), "", *targets_table(rows), "",
                                             *durable_table(rows), "", *detail_table(rows)])
    with open(doc_path, "w") as out:
        out.write(text)
    plot(rows, os.path.abspath(png_path))
    print(f"{doc_path} and {png_path} written from {results_path}")


if __name__ == "__main__":
    main()
