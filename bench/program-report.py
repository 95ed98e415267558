#!/usr/bin/env python3
"""The whole-program benchmark's table, from kestrix-program-bench's records.

    program-report.py <records.jsonl> --width W --load TEXT --commit C [--keep DOC]

Prints a Markdown table of ratios, each with its two figures and its goal;
with --keep, also puts it between the markers of DOC, with the command that
made it.
"""
import argparse
import json
import statistics
import sys

BEGIN = "<!-- program-bench: made by make bench -->"
END = "<!-- /program-bench -->"


def median(values):
    return statistics.median(values) if values else float("nan")


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]


def table(records, width, load, commit):
    def pick(kind, program=None, size=None):
        return [r for r in records if r["kind"] == kind
                and (program is None or r.get("program") == program)
                and (size is None or r.get("sizeMiB") == size)]

    handoff_installer = pick("handoff", "installer", 512)
    handoff_bare = pick("handoff", "bare", 512)
    handoff_checked = pick("handoff", "bare-checked", 512)
    inst_ms = median([r["ms"] for r in handoff_installer])
    bare_ms = median([r["ms"] for r in handoff_bare])
    checked_ms = median([r["ms"] for r in handoff_checked])
    pairs = [a["ms"] / b["ms"] for a, b in zip(handoff_installer, handoff_bare)]
    curl_ms = median([r["ms"] for r in pick("curl")])
    inst_dl = median([r["downloadedMs"] for r in handoff_installer])
    bare_dl = median([r["downloadedMs"] for r in handoff_bare])

    responses = pick("responses")[0]
    trips_ms = [us / 1000 for us in responses["roundTripsUs"]]

    minimal = pick("startup", "minimal")
    baseline_mib = median([r["peakKiB"] for r in minimal]) / 1024
    memory = {r["sizeMiB"]: r["peakKiB"] / 1024 for r in pick("memory")}
    small, large = memory.get(64, float("nan")), memory.get(1024, float("nan"))

    start_inst = median([r["ms"] for r in pick("startup", "installer")])
    start_min = median([r["ms"] for r in minimal])

    cpu_inst = median([r["cpuS"] * 1024 / r["sizeMiB"] for r in handoff_installer])
    cpu_bare = median([r["cpuS"] * 1024 / r["sizeMiB"] for r in handoff_bare])
    cpu_checked = median([r["cpuS"] * 1024 / r["sizeMiB"] for r in handoff_checked])

    def met(ok):
        return "yes" if ok else "**no**"

    rows = [
        ("Launch to hand-off, 512 MiB (median of %d rounds; paired ratios %.3f-%.3f)"
         % (len(pairs), min(pairs), max(pairs)),
         "%.2f s" % (inst_ms / 1000), "%.2f s (bare loop)" % (bare_ms / 1000),
         "%.3f" % (inst_ms / bare_ms), "<= 1.05", met(inst_ms / bare_ms <= 1.05)),
        ("  against the bare loop that checks the signature as the installer does",
         "", "%.2f s (bare loop, checked)" % (checked_ms / 1000),
         "%.3f" % (inst_ms / checked_ms), "<= 1.05", met(inst_ms / checked_ms <= 1.05)),
        ("  of which until the file was whole",
         "%.2f s" % (inst_dl / 1000), "%.2f s" % (bare_dl / 1000),
         "%.3f" % (inst_dl / bare_dl), "", ""),
        ("  curl natively, same URL, for scale", "", "%.2f s" % (curl_ms / 1000), "", "", ""),
        ("Window's answer to WM_NULL every 10 ms, 512 MiB download (%d sends, %d unanswered)"
         % (len(trips_ms), responses["unanswered"]),
         "p99 %.1f ms, max %.1f ms" % (percentile(trips_ms, 0.99), max(trips_ms)), "", "",
         "p99 <= 16 ms, max <= 50 ms",
         met(percentile(trips_ms, 0.99) <= 16 and max(trips_ms) <= 50)),
        ("Peak working set, 64 MiB / 1 GiB package",
         "%.1f / %.1f MiB" % (small, large), "%.1f MiB (minimal dialog)" % baseline_mib,
         "+%.1f / +%.1f MiB" % (small - baseline_mib, large - baseline_mib),
         "<= +16 MiB, sizes within 2 MiB",
         met(max(small, large) - baseline_mib <= 16 and abs(large - small) <= 2)),
        ("Start to first window visible (median of %d pairs)" % len(minimal),
         "%.0f ms" % start_inst, "%.0f ms (minimal dialog)" % start_min,
         "%.3f" % (start_inst / start_min), "<= 1.2", met(start_inst / start_min <= 1.2)),
        ("CPU (user + system) per GiB, 512 MiB runs",
         "%.2f s" % cpu_inst, "%.2f s (bare loop)" % cpu_bare,
         "%.3f" % (cpu_inst / cpu_bare), "<= 1.10", met(cpu_inst / cpu_bare <= 1.10)),
        ("  against the bare loop that checks the signature", "",
         "%.2f s (bare loop, checked)" % cpu_checked,
         "%.3f" % (cpu_inst / cpu_checked), "<= 1.10", met(cpu_inst / cpu_checked <= 1.10)),
    ]
    width_name = "64-bit" if width == "win64" else "32-bit"
    lines = [
        "The %s test build under %s Wine, commit %s; load average before / after: %s."
        % (width_name, width_name, commit, load),
        "",
        "| Measure | Installer | Reference | Ratio | Goal | Met |",
        "|---|---|---|---|---|---|",
    ]
    lines += ["| " + " | ".join(row) + " |" for row in rows]
    return "\n".join(lines) + "\n"


def keep(doc, text):
    with open(doc, encoding="utf-8") as f:
        content = f.read()
    if BEGIN not in content or END not in content:
        sys.exit("program-report: %s has no %s ... %s markers" % (doc, BEGIN, END))
    head, rest = content.split(BEGIN, 1)
    _, tail = rest.split(END, 1)
    with open(doc, "w", encoding="utf-8") as f:
        f.write(head + BEGIN + "\n" + text + END + tail)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("records")
    parser.add_argument("--width", required=True, choices=["win32", "win64"])
    parser.add_argument("--load", required=True)
    parser.add_argument("--commit", required=True)
    parser.add_argument("--keep")
    args = parser.parse_args()
    with open(args.records, encoding="utf-8") as f:
        records = [json.loads(line) for line in f if line.strip()]
    text = table(records, args.width, args.load, args.commit)
    print(text, end="")
    if args.keep:
        keep(args.keep, text)


if __name__ == "__main__":
    main()
