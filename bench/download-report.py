#!/usr/bin/env python3
"""The download benchmark's tables, from kestrix-download-bench's outputs.

    download-report.py <bench-<N>MiB.txt>...

Each output holds a "RUN key=value ..." line per counted run and one "END"
line. Ratios are of the medians (product / bare); "fastest" is of the fastest
runs, which the load of other processes touched least; "within rounds" is of
the two runs of each round.
"""
import statistics
import sys


def fields(line):
    return dict(item.split("=", 1) for item in line.split()[1:])


def read(path):
    runs = {"product": [], "bare": []}
    end = None
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            if line.startswith("RUN "):
                run = fields(line)
                runs[run["kind"]].append({k: float(v) for k, v in run.items() if k != "kind"})
            elif line.startswith("END "):
                end = {k: float(v) for k, v in fields(line).items()}
    if end is None or not runs["product"] or not runs["bare"]:
        sys.exit("download-report: %s holds no complete benchmark" % path)
    return runs, end


def summary(values):
    return statistics.median(values), min(values), max(values)


def compare(runs, key):
    product = [r[key] for r in runs["product"]]
    bare = [r[key] for r in runs["bare"]]
    pairs = [p / b for p, b in zip(product, bare) if b]
    return {"product": summary(product), "bare": summary(bare),
            "ratio": statistics.median(product) / statistics.median(bare),
            "fastest": min(product) / min(bare), "pairs": summary(pairs)}


def spread(s):
    return "%.3f (%.3f-%.3f)" % s


def main():
    results = [(path, *read(path)) for path in sys.argv[1:]]
    if not results:
        sys.exit(__doc__)
    for title, key in (("Wall time", "wall"), ("CPU time of the process", "cpu")):
        print("\n%s in seconds, median (min-max):" % title)
        print("%-8s %6s  %-23s  %-23s  %7s  %7s  %-21s" % (
            "package", "rounds", "product", "bare", "ratio", "fastest", "ratio within rounds"))
        for _, runs, end in results:
            c = compare(runs, key)
            print("%-8s %6d  %-23s  %-23s  %7.3f  %7.3f  %-21s" % (
                "%d MiB" % (end["size"] / 1048576), end["rounds"], spread(c["product"]),
                spread(c["bare"]), c["ratio"], c["fastest"], spread(c["pairs"])))
    print("\nWhere the wall time goes, medians: until the first read, between the first and the"
          " last\nread, after the last read (product / bare):")
    print("%-8s  %-17s  %-19s  %7s  %-15s" % ("package", "open ms", "transfer s", "ratio",
                                             "close ms"))
    for _, runs, end in results:
        o, t, c = (compare(runs, k) for k in ("open", "transfer", "close"))
        print("%-8s  %-17s  %-19s  %7.3f  %-15s" % (
            "%d MiB" % (end["size"] / 1048576),
            "%.1f / %.1f" % (o["product"][0] * 1000, o["bare"][0] * 1000),
            "%.3f / %.3f" % (t["product"][0], t["bare"][0]), t["ratio"],
            "%.1f / %.1f" % (c["product"][0] * 1000, c["bare"][0] * 1000)))
    print("\nWhat the product loop adds per read (checks, buffer clearing, progress report),"
          " measured alone:")
    print("%-8s  %12s  %20s" % ("package", "ns per read", "share of a bare read"))
    for _, runs, end in results:
        # Whole chunks, a partial one, and the empty read that ends the loop.
        reads = (end["size"] + 4095) // 4096 + 1
        bare_read_ns = compare(runs, "wall")["bare"][0] * 1e9 / reads
        print("%-8s  %12d  %19.2f%%" % ("%d MiB" % (end["size"] / 1048576), end["extras_ns"],
                                       end["extras_ns"] * 100 / bare_read_ns))
    print("\nPeak working set in MiB (largest sampled during the runs; process peak at the end):")
    print("%-8s  %13s  %10s  %12s" % ("package", "product runs", "bare runs", "process peak"))
    for _, runs, end in results:
        print("%-8s  %13.1f  %10.1f  %12.1f" % (
            "%d MiB" % (end["size"] / 1048576), max(r["peak"] for r in runs["product"]),
            max(r["peak"] for r in runs["bare"]), end["process_peak"]))


if __name__ == "__main__":
    main()
