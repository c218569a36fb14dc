#!/usr/bin/python3
"""Runs kelvane and its peers over the generated trees and writes
bench/RESULTS.md and bench/results.png.

    run.py [--kelvane build/kelvane] [--work /tmp/kelvane-bench] [--runs 5] [--trees mixed,bigdup,deep,samesize]

Every tool runs once untimed (warm cache), then --runs times; the median
wall time and the largest peak RSS are reported, and every tool's duplicate
sets are checked against the generator's answer."""
import argparse
import datetime
import json
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
MIN_SIZE = 1000000


def timed(command, cwd=None, env=None, stdout=subprocess.DEVNULL):
    """Wall seconds and peak RSS in KiB of one run of command. GNU time
    reports the RSS: a child forked from this Python would report its size."""
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.perf_counter()
        code = subprocess.run(["/usr/bin/time", "-q", "-f", "%M", "-o", report.name] + command, cwd=cwd, env=env,
                              stdout=stdout, stderr=subprocess.DEVNULL).returncode
        wall = time.perf_counter() - start
        if code not in (0, 1):
            raise RuntimeError("%s failed with %d" % (command[0], code))
        return wall, int(report.read().split()[-1])


def groups_by_blank_lines(text, root):
    sets, current = [], []
    for line in text.splitlines() + [""]:
        if line.strip():
            current.append(os.path.relpath(line.strip(), root))
        elif current:
            sets.append(sorted(current))
            current = []
    return sets


class Tool:
    def __init__(self, name, version):
        self.name, self.version = name, version


class Kelvane(Tool):
    def __init__(self, binary, min_size=MIN_SIZE):
        super().__init__("kelvane", "this tree")
        self.binary, self.min_size = binary, min_size

    def prepare(self, tree, scratch):
        self.drives = os.path.join(scratch, "drives")
        os.makedirs(self.drives, exist_ok=True)
        link = os.path.join(self.drives, "d:")
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(tree, link)
        self.start = os.path.join(scratch, "start")
        os.makedirs(self.start, exist_ok=True)

    def command(self, tree):
        return [self.binary, "D", str(self.min_size)]

    def run(self, tree):
        env = dict(os.environ, KELVANE_DRIVES=self.drives)
        return timed(self.command(tree), cwd=self.start, env=env)

    def sets(self, tree):
        log = os.path.join(self.start, "kelvane.log")
        if not os.path.exists(log):
            return []
        sets = []
        for record in open(log, encoding="utf-8", newline="").read().split("\r\n\r\n"):
            lines = [l for l in record.split("\r\n") if l and not l.startswith("-- size=")]
            if lines:
                sets.append(sorted(l[3:].replace("\\", "/") for l in lines))
        return sets


class Peer(Tool):
    def __init__(self, name, version, command, parse):
        super().__init__(name, version)
        self.command, self.parse = command, parse

    def prepare(self, tree, scratch):
        self.scratch = scratch

    def run(self, tree):
        self.out = os.path.join(self.scratch, self.name + ".out")
        with open(self.out, "wb") as out:
            return timed(self.command(tree, self.scratch), cwd=self.scratch, stdout=out)

    def sets(self, tree):
        return self.parse(tree, self.scratch, open(self.out, encoding="utf-8", errors="replace").read())


def rdfind_sets(tree, scratch, _):
    groups = {}
    for line in open(os.path.join(scratch, "rdfind.txt")):
        if line.startswith("#"):
            continue
        fields = line.split(None, 7)
        if len(fields) == 8:
            groups.setdefault(fields[1].lstrip("-"), []).append(os.path.relpath(fields[7].rstrip("\n"), tree))
    return [sorted(g) for g in groups.values() if len(g) > 1]


def rmlint_sets(tree, scratch, _):
    groups = {}
    for entry in json.load(open(os.path.join(scratch, "rmlint.json"))):
        if entry.get("type") == "duplicate_file":
            groups.setdefault(entry["checksum"], []).append(os.path.relpath(entry["path"], tree))
    return [sorted(g) for g in groups.values() if len(g) > 1]


def version(command):
    try:
        done = subprocess.run(command, capture_output=True, text=True)
        out = done.stdout + done.stderr
    except FileNotFoundError:
        return None
    match = re.search(r"\d+\.\d+(\.\d+)?", out)
    return match.group(0) if match else "?"


def peers():
    found = []
    if version(["fdupes", "-v"]):
        found.append(Peer("fdupes", version(["fdupes", "-v"]),
                          lambda t, s: ["fdupes", "-r", "-q", "-G", str(MIN_SIZE), t],
                          lambda t, s, out: groups_by_blank_lines(out, t)))
    if version(["jdupes", "-v"]):
        found.append(Peer("jdupes", version(["jdupes", "-v"]),
                          lambda t, s: ["jdupes", "-r", "-q", "-X", "size+=:%d" % MIN_SIZE, t],
                          lambda t, s, out: groups_by_blank_lines(out, t)))
    if version(["rdfind", "-v"]):
        found.append(Peer("rdfind", version(["rdfind", "-v"]),
                          lambda t, s: ["rdfind", "-minsize", str(MIN_SIZE), "-dryrun", "true", "-outputname",
                                        os.path.join(s, "rdfind.txt"), t], rdfind_sets))
    if version(["rmlint", "--version"]):
        found.append(Peer("rmlint", version(["rmlint", "--version"]),
                          lambda t, s: ["rmlint", "-T", "df", "--size", "1M-1000T", "-o",
                                        "json:" + os.path.join(s, "rmlint.json"), t], rmlint_sets))
    return found


def candidates(tree):
    """Files that share their size with another one of at least MIN_SIZE."""
    by_size = {}
    for root, _, names in os.walk(tree):
        for name in names:
            path = os.path.join(root, name)
            size = os.lstat(path).st_size
            if size >= MIN_SIZE:
                by_size.setdefault(size, []).append(path)
    return [p for group in by_size.values() if len(group) > 1 for p in group]


def cat_command(files, listing):
    with open(listing, "w") as f:
        f.write("\0".join(files))
    return ["sh", "-c", "xargs -0 cat < '%s' > /dev/null" % listing]


def comparison_reads(answer, tree):
    """The files in the order the comparisons of identical sets read them:
    the reference once for each of its copies, every copy once."""
    order = []
    for group in answer["sets"]:
        for copy in group[1:]:
            order += [os.path.join(tree, group[0]), os.path.join(tree, copy)]
    return order


def floors(tree, scratch, answer):
    find = ["find", tree, "-type", "f", "-size", "+%dc" % (MIN_SIZE - 1)]
    return {"walk (find)": find,
            "copies read once (cat)": cat_command(candidates(tree), os.path.join(scratch, "candidates.txt")),
            "comparison reads of the copies (cat)": cat_command(comparison_reads(answer, tree),
                                                                os.path.join(scratch, "reads.txt"))}


def state_per_file(with_faults, tree, scratch, files):
    """Peak RSS with every file recorded (minimal size 0, the run stopped where
    the comparisons would begin) less that of the walk alone, per file."""
    stop = {"KELVANE_TEST_BEFORE_COMPARE": "kill -9 $PPID"}
    peaks = []
    for min_size, extra in ((0, stop), (2147483647, {})):
        tool = Kelvane(with_faults, min_size)
        tool.prepare(tree, scratch)
        env = dict(os.environ, KELVANE_DRIVES=tool.drives, **extra)
        with tempfile.NamedTemporaryFile("r") as report:
            subprocess.run(["/usr/bin/time", "-q", "-f", "%M", "-o", report.name] + tool.command(tree),
                           cwd=tool.start, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            peaks.append(int(report.read().split()[-1]))
    return (peaks[0] - peaks[1]) * 1024 / files


def measure(run, runs):
    run()  # warm cache
    samples = [run() for _ in range(runs)]
    return statistics.median(s[0] for s in samples), max(s[1] for s in samples)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kelvane", default=os.path.join(HERE, "..", "build", "kelvane"))
    parser.add_argument("--work", default=os.path.join(tempfile.gettempdir(), "kelvane-bench"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--trees", default="mixed,bigdup,deep,samesize")
    parser.add_argument("--scale", type=float, default=1.0)
    parser.add_argument("--with-faults", default=os.path.join(HERE, "..", "build", "tests", "kelvane_with_faults"),
                        help="the test build that can stop a run where phase 2 begins")
    parser.add_argument("--report", action="store_true", help="rewrite RESULTS.md from bench/results.json")
    args = parser.parse_args()
    if args.report:
        saved = json.load(open(os.path.join(HERE, "results.json")))
        write_results(saved["results"], saved["runs"])
        return
    binary = os.path.abspath(args.kelvane)
    results = {}
    for kind in args.trees.split(","):
        base = os.path.join(args.work, kind)
        if not os.path.exists(os.path.join(base, "answer.json")):
            shutil.rmtree(base, ignore_errors=True)
            subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), kind, base, "--scale",
                            str(args.scale)], check=True)
        answer = json.load(open(os.path.join(base, "answer.json")))
        tree = os.path.join(base, "tree")
        scratch = os.path.join(base, "scratch")
        os.makedirs(scratch, exist_ok=True)
        rows = []
        for tool in [Kelvane(binary)] + peers():
            tool.prepare(tree, scratch)
            wall, rss = measure(lambda: tool.run(tree), args.runs)
            correct = sorted(tool.sets(tree)) == answer["sets"]
            rows.append((tool.name, tool.version, wall, rss, "yes" if correct else "NO"))
            print(kind, rows[-1], flush=True)
        walk_only = Kelvane(binary, 2147483647)
        walk_only.prepare(tree, scratch)
        walk, walk_rss = measure(lambda: walk_only.run(tree), args.runs)
        rows.append(("kelvane, walk alone", "", walk, walk_rss, ""))
        for name, command in floors(tree, scratch, answer).items():
            wall, rss = measure(lambda: timed(command), args.runs)
            rows.append((name, "floor", wall, rss, ""))
        results[kind] = {"files": answer["files"], "sets": len(answer["sets"]), "rows": rows}
        if kind == "deep" and os.path.exists(args.with_faults):
            results[kind]["state_bytes_per_file"] = state_per_file(os.path.abspath(args.with_faults), tree, scratch,
                                                                   answer["files"])
        print(kind, rows[-3:], flush=True)
    json.dump({"results": results, "runs": args.runs}, open(os.path.join(HERE, "results.json"), "w"), indent=1)
    write_results(results, args.runs)


def write_results(results, runs):
    memory = os.sysconf("SC_PAGE_SIZE") * os.sysconf("SC_PHYS_PAGES") / 2**30
    lines = ["# Benchmark results", "",
             "Generated by `bench/run.py` on %s: %d cores, %.0f GiB, %s. Warm cache; median wall time of %d runs "
             "after one untimed run; peak RSS the largest of those runs. \"correct\": the tool's duplicate sets "
             "equal the generator's answer (files of at least 1000000 bytes)." %
             (datetime.date.today(), os.cpu_count(), memory, platform.platform(), runs), ""]
    for kind, result in results.items():
        lines += ["## %s (%d files, %d duplicate sets)" % (kind, result["files"], result["sets"]), "",
                  "| tool | version | median wall (s) | peak RSS (MiB) | correct |", "|---|---|---|---|---|"]
        for name, ver, wall, rss, correct in result["rows"]:
            lines.append("| %s | %s | %.3f | %.1f | %s |" % (name, ver, wall, rss / 1024, correct))
        if "state_bytes_per_file" in result:
            lines += ["", "State per recorded file (minimal size 0, all %d files recorded): about %.0f bytes of "
                      "peak RSS." % (result["files"], result["state_bytes_per_file"])]
        lines.append("")
    lines += ["![median wall time per tree](results.png)", ""]
    extra = os.path.join(HERE, "NOTES.md")
    if os.path.exists(extra):
        lines += [open(extra).read()]
    open(os.path.join(HERE, "RESULTS.md"), "w").write("\n".join(lines))
    chart(results)


def chart(results):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    fig, axes = plt.subplots(1, len(results), figsize=(4.5 * len(results), 4))
    if len(results) == 1:
        axes = [axes]
    for ax, (kind, result) in zip(axes, results.items()):
        names = [r[0] for r in result["rows"]]
        walls = [r[2] for r in result["rows"]]
        colors = ["tab:red" if n == "kelvane" else "tab:gray" if r[1] == "floor" else "tab:blue"
                  for n, r in zip(names, result["rows"])]
        ax.barh(names, walls, color=colors)
        ax.invert_yaxis()
        ax.set_title(kind)
        ax.set_xlabel("median wall time (s)")
    fig.tight_layout()
    fig.savefig(os.path.join(HERE, "results.png"), dpi=90)


if __name__ == "__main__":
    main()
