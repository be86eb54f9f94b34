#!/usr/bin/env python3
"""Kills the editing driver with SIGKILL at random moments and checks what it leaves behind.

Each round starts `kill_driver run` on a fresh folder with its own seed, kills it after a random delay
(some before it has even started editing), then has `kill_driver check` recover the folder as the editor
would and compare it with the seed's script replayed: the story file must be whole and one of the saved
versions, and the draft must hold every change the driver reported as written. The verdict never depends
on when the kill lands; a slow machine only moves the moments.

Usage: kill_test.py DRIVER WORKDIR [--kills N] [--seed S]
"""
import argparse
import os
import random
import shutil
import signal
import subprocess
import sys
import threading
import time

FIRST_LINE_WAIT = 60.0  # seconds; a driver this slow to start is killed wherever it is


def kill_round(driver, folder, seed, rng):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    process = subprocess.Popen([driver, "run", folder, str(seed)], stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE)
    lines = []
    started = threading.Event()

    def read():
        for raw in process.stdout:
            lines.append(raw)
            started.set()

    reader = threading.Thread(target=read)
    reader.start()
    if rng.random() < 0.15:
        time.sleep(rng.uniform(0.0, 0.02))
    else:
        started.wait(FIRST_LINE_WAIT)
        time.sleep(rng.uniform(0.0, 0.6))
    process.send_signal(signal.SIGKILL)
    process.wait()
    reader.join()
    errors = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if process.returncode != -signal.SIGKILL:
        return False, f"the driver ended by itself ({process.returncode}): {errors}"
    # Only whole lines were written: each report is one write() of a short line.
    reported = -1
    for raw in lines:
        if raw.endswith(b"\n") and raw.startswith(b"recorded "):
            reported = int(raw.split()[1])
    check = subprocess.run([driver, "check", folder, str(seed), str(reported)], capture_output=True,
                           text=True)
    verdict = (check.stdout + check.stderr).strip()
    return check.returncode == 0, verdict


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("driver")
    parser.add_argument("workdir")
    parser.add_argument("--kills", type=int, default=20)
    parser.add_argument("--seed", type=int, default=None)
    args = parser.parse_args()
    base = args.seed if args.seed is not None else random.SystemRandom().randrange(1, 1 << 30)
    rng = random.Random(base)
    print(f"{args.kills} kills, seed {base} (rerun with --seed {base})", flush=True)
    failures = 0
    torn = saving = journals = 0
    reported_total = 0
    for i in range(args.kills):
        folder = os.path.join(args.workdir, f"kill-{i:03d}")
        seed = base * 1000 + i
        ok, verdict = kill_round(args.driver, folder, seed, rng)
        print(f"kill {i + 1}/{args.kills} (seed {seed}): {verdict}", flush=True)
        if ok:
            shutil.rmtree(folder, ignore_errors=True)
            torn += "torn" in verdict
            journals += "from the journal" in verdict
            saving += "killed saving" in verdict
            if verdict.startswith("ok: reported "):
                reported_total += int(verdict.split()[2].rstrip(","))
        else:
            failures += 1
    print(f"{args.kills} kills, {failures} failures; recovered from a journal {journals} times "
          f"(a torn last record {torn} times), killed while saving {saving} times, "
          f"{reported_total} reported changes in all", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
