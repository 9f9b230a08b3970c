#!/usr/bin/env python3
"""CPU time of `solvane --report --pci DUMP` as a whole process against `lspci -F DUMP -vnn`.

Runs each command RUNS times (default 30) on every dump given (default: the real dumps of
tests/data/realdata/pci/dumps) and prints the mean user+system CPU time of one run of each and their
ratio. The report's budget is a third of lspci's time.

    bench/pci_report_cost.py [--runs N] [--program build/bin/solvane] [DUMP ...]
"""
import argparse
import os
import resource
import shutil
import subprocess
import sys
import tempfile

BUDGET = 1 / 3


def cpu_seconds(command, runs):
    """Mean user+system CPU time of one run of command, children's clock."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    for _ in range(runs):
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    used = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return used / runs


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=30)
    parser.add_argument("--program", default=os.path.join(root, "build", "bin", "solvane"))
    parser.add_argument("dumps", nargs="*")
    arguments = parser.parse_args()
    dumps = arguments.dumps
    if not dumps:
        folder = os.path.join(root, "tests", "data", "realdata", "pci", "dumps")
        dumps = sorted(os.path.join(folder, name) for name in os.listdir(folder))
    if shutil.which("lspci") is None:
        sys.exit("lspci is not installed (Debian package pciutils)")

    worst = 0.0
    with tempfile.TemporaryDirectory() as state:
        print(f"{'dump':44} {'solvane ms':>10} {'lspci ms':>9} {'ratio':>6}")
        for dump in dumps:
            report = cpu_seconds([arguments.program, "--state-dir", state, "--report", "--pci", dump],
                                 arguments.runs)
            lspci = cpu_seconds(["lspci", "-F", dump, "-vnn"], arguments.runs)
            ratio = report / lspci if lspci > 0 else float("inf")
            worst = max(worst, ratio)
            print(f"{os.path.basename(dump)[:44]:44} {report * 1000:10.2f} {lspci * 1000:9.2f} {ratio:6.2f}")
    print(f"worst ratio {worst:.2f} (budget {BUDGET:.2f}): {'within' if worst <= BUDGET else 'OVER'} budget")


if __name__ == "__main__":
    main()
