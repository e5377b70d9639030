#!/usr/bin/env python3
"""The program's save sequence of both files (save_loop.exe under Wine, the program's own
file code) killed at random moments, and saved into a file system that fills up part way:
each file is always wholly the old one or wholly the new one, and a save that could not
be written says so.
Usage: crash_test.py kills SAVE_LOOP_EXE [COUNT]  (COUNT: $VSMR_CRASH_KILLS, else 100)
       crash_test.py full SAVE_LOOP_EXE          (needs root for a small tmpfs; else skipped)"""
import collections
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
FILES = ("vsmrsys.ini", "vsmrcmd.dat")
PAGE = 4096  # what a tmpfs gives a file at a time
MODE, EXE = sys.argv[1], os.path.abspath(sys.argv[2])
BUILD = os.path.dirname(os.path.dirname(os.path.dirname(EXE)))  # build/win64/bin/x.exe
SOURCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
os.environ.setdefault("VSMR_E2E_WINE", BUILD)  # the build's own prefix, as wine-run.sh uses
sys.path.insert(0, os.path.join(SOURCE, "tests", "e2e"))
from wine import wine_env, windows_path  # noqa: E402


def environment():
    env = wine_env()
    display = subprocess.run([os.path.join(SOURCE, "scripts", "test-display.sh")], env=env,
                             stdout=subprocess.PIPE, check=True, text=True).stdout.strip()
    env["DISPLAY"] = display
    return env


def read(folder):
    out = {}
    for name in FILES:
        with open(os.path.join(folder, name), "rb") as f:
            out[name] = f.read()
    return out


def put(folder, files):
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


def save_loop(env, mode, folder, log, **kwargs):
    return subprocess.Popen([env["WINE"], EXE, mode, windows_path(folder)], env=env, cwd=folder,
                            stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT, **kwargs)


def prepare(env, work):
    for sub in ("old", "new", "scratch"):
        os.makedirs(os.path.join(work, sub), exist_ok=True)
    with open(os.path.join(work, "prepare.log"), "wb") as log:
        rc = save_loop(env, "prepare", work, log).wait(120)
    with open(os.path.join(work, "prepare.log"), "rb") as f:
        print("prepare:", f.read().decode("cp932", "replace").strip())
    if rc != 0:
        sys.exit("save_loop prepare failed (%d)" % rc)
    return read(os.path.join(work, "old")), read(os.path.join(work, "new"))


def kills(env, count):
    work = tempfile.mkdtemp(prefix="vsmr-crash-", dir=BUILD)
    old, new = prepare(env, work)
    run = os.path.join(work, "run")
    os.makedirs(run)
    outcomes = collections.Counter()
    torn = []
    failed_starts = []
    leftovers = 0
    start = time.monotonic()
    log = open(os.path.join(work, "loop.log"), "wb")
    for i in range(count):
        put(run, old)
        marker = os.path.join(run, "running")
        if os.path.exists(marker):
            os.remove(marker)
        for attempt in range(3):
            process = save_loop(env, "loop", run, log)
            deadline = time.monotonic() + 60
            while not os.path.exists(marker) and process.poll() is None and time.monotonic() < deadline:
                time.sleep(0.002)
            if os.path.exists(marker):
                break
            # Wine now and then fails to start a process on a busy machine; it
            # has saved nothing yet, so the files must still be the old ones.
            process.kill()
            process.wait(30)
            failed_starts.append("run %d: exit %s" % (i, process.poll()))
            if read(run) != old:
                torn.append("run %d: the files changed before the save began" % i)
        if not os.path.exists(marker):
            sys.exit("run %d: save_loop did not start (%s)" % (i, "; ".join(failed_starts[-3:])))
        time.sleep(random.uniform(0, 0.05))  # a random moment of the save sequence
        os.kill(process.pid, signal.SIGKILL)
        process.wait(30)
        now = read(run)
        state = []
        for name in FILES:
            kind = "old" if now[name] == old[name] else "new" if now[name] == new[name] else "torn"
            state.append(kind)
            if kind == "torn":
                torn.append("run %d: %s is neither the old nor the new file (%d bytes)"
                            % (i, name, len(now[name])))
        outcomes[tuple(state)] += 1
        leftovers += sum(1 for name in os.listdir(run) if name.endswith(".tmp"))
        for name in os.listdir(run):
            if name.endswith(".tmp"):
                os.remove(os.path.join(run, name))
    log.close()
    seconds = time.monotonic() - start
    print("%d kills in %.0f s" % (count, seconds))
    for (settings, commands), n in sorted(outcomes.items()):
        print("  vsmrsys.ini %s, vsmrcmd.dat %s: %d" % (settings, commands, n))
    print("  temporary files left by a kill (replaced by the next save): %d" % leftovers)
    if failed_starts:
        print("  starts that Wine failed before the save began (started again): %s"
              % ", ".join(failed_starts))
    if torn:
        print("\n".join(torn))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    return 0


def mount_tmpfs(folder, size):
    if os.geteuid() != 0:
        return "not root"
    done = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%d" % size, "vsmr-full", folder],
                          capture_output=True, text=True)
    return None if done.returncode == 0 else "cannot mount a tmpfs: " + done.stderr.strip()


def fill_leaving(folder, free):
    """Fills the file system of `folder` up to `free` bytes."""
    filler = os.path.join(folder, "filler")
    with open(filler, "wb", buffering=0) as f:
        try:
            while True:
                f.write(b"\0" * PAGE)
        except OSError:
            pass
    size = os.path.getsize(filler)
    os.truncate(filler, max(0, size - free))


def full(env):
    work = tempfile.mkdtemp(prefix="vsmr-full-", dir=BUILD)
    old, new = prepare(env, work)
    mount = os.path.join(work, "mount")
    os.makedirs(mount)
    reason = mount_tmpfs(mount, 1 << 20)
    if reason:
        print("skipped: " + reason)
        shutil.rmtree(work, ignore_errors=True)
        return SKIPPED
    failures = []
    try:
        for name, free in (("both files", PAGE), ("the settings file", None)):
            for entry in os.listdir(mount):
                os.remove(os.path.join(mount, entry))
            put(mount, old)
            if free is None:  # room for the new command file, not for the settings file too
                free = -(-len(new["vsmrcmd.dat"]) // PAGE) * PAGE
            fill_leaving(mount, free)
            with open(os.path.join(work, "once.log"), "wb") as log:
                rc = save_loop(env, "once", mount, log).wait(120)
            with open(os.path.join(work, "once.log"), "rb") as f:
                said = f.read().decode("cp932", "replace")
            now = read(mount)
            print("%s: free %d bytes, exit %d\n%s" % (name, free, rc, said.strip()))
            if rc != 1:
                failures.append("%s: the save did not report its failure (exit %d)" % (name, rc))
            for file in FILES:
                kind = "old" if now[file] == old[file] else "new" if now[file] == new[file] else "torn"
                line = next((l for l in said.splitlines() if l.split("\t")[0].endswith(file)), "")
                if kind == "torn":
                    failures.append("%s: %s is torn" % (name, file))
                elif kind == "old" and "\tfailed\t" not in line:
                    failures.append("%s: %s was not written and nothing said so" % (name, file))
                elif kind == "new" and "\twritten\t" not in line:
                    failures.append("%s: %s was written but reported otherwise" % (name, file))
            if any(n.endswith(".tmp") for n in os.listdir(mount)):
                failures.append("%s: a temporary file was left" % name)
            if name == "both files" and now != old:
                failures.append("both files: not both kept")
    finally:
        subprocess.run(["umount", mount], check=False)
    if failures:
        print("\n".join(failures))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    return 0


def main():
    env = environment()
    if MODE == "kills":
        count = int(sys.argv[3]) if len(sys.argv) > 3 else int(os.environ.get("VSMR_CRASH_KILLS", "100"))
        return kills(env, count)
    if MODE == "full":
        return full(env)
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
