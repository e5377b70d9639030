#!/usr/bin/env python3
"""Runs the check-style pass with our client and with Python's poplib against
the Dovecot of dovecot_harness.py (VSMR_POP3_PORT), alternating rounds, and
prints the median times and their ratio.
Usage: compare.py PATH/TO/pop3_bench USER ROUNDS"""
import os
import poplib
import statistics
import subprocess
import sys
import time


def poplib_pass(port, user, password):
    start = time.perf_counter()
    p = poplib.POP3("127.0.0.1", port)
    p.user(user)
    p.pass_(password)
    count = p.stat()[0]
    for i in range(1, count + 1):
        p.top(i, 0)
        p.list(i)
    p.quit()
    return time.perf_counter() - start, count


def main():
    bench, user, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
    port, password = int(os.environ["VSMR_POP3_PORT"]), os.environ["VSMR_POP3_PASSWORD"]
    ours, theirs = [], []
    for _ in range(rounds):
        out = subprocess.run([bench, str(port), user, password, "1"], check=True, capture_output=True, text=True)
        seconds, count = out.stdout.split()
        ours.append(float(seconds))
        t, n = poplib_pass(port, user, password)
        theirs.append(t)
        assert int(count) == n, (count, n)
    o, t = statistics.median(ours), statistics.median(theirs)
    print("messages per pass: %d, rounds: %d" % (n, rounds))
    print("our client (median): %.3f s" % o)
    print("python poplib (median): %.3f s" % t)
    print("ratio ours/poplib: %.2f" % (o / t))


if __name__ == "__main__":
    main()
