#!/usr/bin/env python3
"""Runs programs that drive LibreOffice Calc many times and checks how each one ends.

Usage: calc_exit_runs.py --tabulix BIN --helper BIN --demo DIR [--runs N] [--kinds KIND,...]

Four kinds of run, N times each:
  failing      `tabulix --application calc` on a form whose sheet name holds "/": exit status 1
               and a message starting "tabulix: "
  success      the same command on the demonstration's form: exit status 0, the workbook saved
  return       a program that starts Calc and returns from main without shutting it down: exit 0
  interrupted  the success run stopped by SIGINT while its workbook is being saved: ended by
               the signal, the save's temporary file removed and the old file left alone
After every run: no crash (no allocator message, no other signal), no soffice of the run left in
the process table (running or defunct), no save's temporary file, and nothing of the run left in
the temporary folders: its folder (profile, output), LibreOffice's lu*.tmp files and its pipes.
A program stopped by a signal cannot end soffice (the kernel kills it) nor remove its folder and
pipes; those of an interrupted run are counted, not faults, since the next start removes them
(the script removes its pipes itself). Prints every fault and one line per kind with its exit
statuses and how many of each thing were left behind; exits 0 when there is no fault, 1
otherwise, 77 when soffice is not installed.
"""

import argparse
import collections
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

KINDS = ("failing", "success", "return", "interrupted")
LEFT_BEHIND = ("soffice processes", "session folders", "lu*.tmp", "pipes", "save temporaries")
# What only the next start of Calc can clear after a program stopped by a signal.
LEFT_BY_A_SIGNAL = ("session folders", "lu*.tmp", "pipes")
CRASH_MARKERS = ("malloc", "Segmentation", "Aborted", "core dumped", "terminate called", "double free")


def socket_files_of(pids):
    """The paths of the local sockets that the processes `pids` hold open."""
    inodes = set()
    for pid in pids:
        try:
            for fd in os.listdir(f"/proc/{pid}/fd"):
                target = os.readlink(f"/proc/{pid}/fd/{fd}")
                if target.startswith("socket:["):
                    inodes.add(target[8:-1])
        except OSError:
            pass
    paths = set()
    if inodes:
        with open("/proc/net/unix") as table:
            for line in table:
                fields = line.split()
                if len(fields) >= 8 and fields[6] in inodes:
                    paths.add(fields[7])
    return paths


def processes_of_run(pid):
    """soffice processes started by the run `pid`: their command line names its private folder."""
    mark = f"tabulix-calc-{pid}-".encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                if mark in f.read():
                    found.append(int(entry))
        except OSError:
            pass
    return found


def still_there(pids):
    """Those of `pids` still in the process table, running or defunct."""
    return [pid for pid in sorted(pids) if os.path.exists(f"/proc/{pid}")]


def save_temporaries(work):
    """The temporary files of saves of out.xlsx in `work`."""
    return sorted(name for name in os.listdir(work) if name.startswith(".~out.xlsx."))


def run_once(kind, args, work, private_tmp):
    shutil.rmtree(private_tmp, ignore_errors=True)
    os.makedirs(private_tmp)
    env = dict(os.environ, TMPDIR=private_tmp, TABULIX_APPLICATION="calc")
    output = os.path.join(work, "out.xlsx")
    for name in save_temporaries(work):  # an earlier run's fault, reported then
        os.remove(os.path.join(work, name))
    with open(output, "w") as old:
        old.write("old")
    if kind == "return":
        command = [args.helper, "return"]
    else:
        form = "bad.form" if kind == "failing" else "DemoTabulix.form"
        command = [args.tabulix, os.path.join(work, form), "-o", output]
    # The run's soffice is watched while it lives, so that its pipes are known by their owner, not
    # by their names (soffice names one of them after a hash of its profile).
    pipes = set()
    soffices = set()
    interrupted = False
    with tempfile.TemporaryFile("w+") as err_file:
        process = subprocess.Popen(command, cwd=work, env=env, stdout=subprocess.DEVNULL, stderr=err_file, text=True)
        deadline = time.monotonic() + 300
        while process.poll() is None and time.monotonic() < deadline:
            running = processes_of_run(process.pid)
            soffices |= set(running)
            pipes |= socket_files_of(running)
            if kind == "interrupted" and not interrupted and save_temporaries(work):
                process.send_signal(signal.SIGINT)
                interrupted = True
            time.sleep(0.01 if kind == "interrupted" else 0.05)
        if process.poll() is None:
            process.kill()
            process.wait()
            return process.returncode, ["did not end within 300 s"], "", {}
        err_file.seek(0)
        err = err_file.read()
    faults = []
    status = process.returncode
    if "soffice was not found" in err:
        return status, None, err, {}
    expected = {"failing": 1, "interrupted": -signal.SIGINT}.get(kind, 0)
    if kind == "interrupted" and not interrupted:
        faults.append("the save was not seen, so it was not interrupted")
    if status != expected:
        faults.append(f"killed by signal {-status}" if status < 0 else f"exit status {status}, expected {expected}")
    if any(marker in err for marker in CRASH_MARKERS):
        faults.append("crash message: " + err.strip().splitlines()[-1])
    if kind == "failing" and not err.startswith("tabulix: "):
        faults.append("no message of the command: " + err.strip()[:200])
    with open(output, "rb") as saved:
        replaced = saved.read() != b"old"
    if kind == "success" and not replaced:
        faults.append("no workbook saved")
    if kind != "success" and replaced:
        faults.append("the old workbook was replaced")
    if kind == "interrupted":
        # The kernel kills soffice when its parent dies; give it a moment to go.
        for _ in range(100):
            if not still_there(soffices):
                break
            time.sleep(0.05)
    # A process id could be taken again by a new process within this moment; not in practice.
    mark = f"tabulix-calc-{process.pid}-"
    left = {
        "soffice processes": still_there(soffices),
        "session folders": sorted(set(os.listdir(private_tmp))
                                  | {f"/tmp/{n}" for n in os.listdir("/tmp") if mark in n and os.path.isdir(f"/tmp/{n}")}),
        "lu*.tmp": sorted(os.path.join(folder, name) for folder, dirs, files in os.walk(private_tmp)
                          for name in dirs + files if re.fullmatch(r"lu.*\.tmp", name)),
        "pipes": sorted(path for path in pipes if os.path.exists(path)),
        "save temporaries": save_temporaries(work),
    }
    for what, paths in left.items():
        if paths and not (kind == "interrupted" and what in LEFT_BY_A_SIGNAL):
            faults.append(f"{what} left: {paths}")
    for path in left["pipes"]:
        os.remove(path)
    if not pipes or not soffices:
        faults.append("soffice was not seen running: the checks of what it leaves could not run")
    return status, faults, err, {what: len(paths) for what, paths in left.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tabulix", required=True)
    parser.add_argument("--helper", required=True)
    parser.add_argument("--demo", required=True, help="the folder of DemoTabulix.form and Demo.DBF")
    parser.add_argument("--runs", type=int, default=50)
    parser.add_argument("--kinds", default=",".join(KINDS), help="which kinds of run, separated by commas")
    args = parser.parse_args()
    if set(args.kinds.split(",")) - set(KINDS):
        parser.error("--kinds takes " + ", ".join(KINDS))
    args.tabulix, args.helper = os.path.abspath(args.tabulix), os.path.abspath(args.helper)

    work = tempfile.mkdtemp(prefix="calc-exit-runs-")
    try:
        for name in ("DemoTabulix.form", "Demo.DBF"):
            shutil.copy(os.path.join(args.demo, name), work)
        with open(os.path.join(work, "DemoTabulix.form"), encoding="latin-1") as f:
            form = f.read()
        bad, count = re.subn(r"NombreHoja = '[^']*'", "NombreHoja = 'a/b'", form)
        if count != 1:
            print("the demonstration's form has no NombreHoja line to change")
            return 1
        with open(os.path.join(work, "bad.form"), "w", encoding="latin-1") as f:
            f.write(bad)
        private_tmp = os.path.join(work, "tmp")
        failed = False
        for kind in args.kinds.split(","):
            statuses = collections.Counter()
            left = collections.Counter({what: 0 for what in LEFT_BEHIND})
            faulty = 0
            for run in range(1, args.runs + 1):
                status, faults, err, run_left = run_once(kind, args, work, private_tmp)
                if faults is None:
                    print("soffice is not installed; skipping:", err.strip())
                    return 77
                statuses[status] += 1
                left.update(run_left)
                if faults:
                    faulty += 1
                    print(f"{kind} run {run}: " + "; ".join(faults))
            failed = failed or faulty > 0
            shown = ", ".join(f"{status}: {n}" for status, n in sorted(statuses.items()))
            counts = ", ".join(f"{what} {n}" for what, n in left.items())
            print(f"{kind}: {args.runs} runs, exit statuses {{{shown}}}, {faulty} with a fault; left behind: {counts}")
        return 1 if failed else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
