"""Time of simulations from Python against the same runs in C++ (bench/experiment_run_bench):
10 000 cyclic voltammograms one after another and on two threads. Targets: per run at most 1.1x
the C++ run; two threads at least 1.6x one on an idle 2-core machine.

    PYTHONPATH=build/python python3 -P python/bench_simulate.py [runs]

(-P: the folder of this script holds the package's sources, not the built module.)
"""

import sys
import time
from concurrent.futures import ThreadPoolExecutor

import qalto


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 10000
    for mode in ("analytical", "digital"):
        experiment = qalto.Experiment(technique="cv", mode=mode)
        experiment.simulate()
        start = time.perf_counter()
        for _ in range(runs):
            experiment.simulate()
        one = time.perf_counter() - start
        start = time.perf_counter()
        with ThreadPoolExecutor(2) as pool:
            list(pool.map(lambda _: experiment.simulate(), range(runs)))
        two = time.perf_counter() - start
        print(f"{mode}: {runs} CVs in {one:.2f} s ({one / runs * 1e3:.3f} ms each); "
              f"two threads {two:.2f} s, {one / two:.2f}x")


if __name__ == "__main__":
    main()
