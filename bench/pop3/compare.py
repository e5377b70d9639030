#!/usr/bin/env python3
"""Runs the check-style pass with our client and with Python's poplib against
the Dovecot of dovecot_harness.py (VSMR_POP3_PORT), alternating rounds: first
on loopback (our client reading as the check does), then through a proxy that
delays each direction by LATENCY_MS (default 10): our client pipelined, our
client one command at a time, and poplib. Prints the medians, the spread and
the ratios.
Usage: compare.py PATH/TO/pop3_bench USER ROUNDS"""
import os
import poplib
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "mail", "pop3"))
import latency_proxy  # noqa: E402


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


def our_pass(bench, port, user, password, mode):
    out = subprocess.run([bench, str(port), user, password, "1", mode], check=True, capture_output=True, text=True)
    seconds, count, taken, _ = out.stdout.split()
    return float(seconds), int(count), taken


def describe(name, times):
    return "%s (median of %d): %.3f s, spread %.3f-%.3f s" % (name, len(times), statistics.median(times),
                                                              min(times), max(times))


def main():
    bench, user, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
    port, password = int(os.environ["VSMR_POP3_PORT"]), os.environ["VSMR_POP3_PASSWORD"]
    ours, theirs = [], []
    for _ in range(rounds):
        seconds, count, _ = our_pass(bench, port, user, password, "pipelined")
        ours.append(seconds)
        t, n = poplib_pass(port, user, password)
        theirs.append(t)
        assert count == n, (count, n)
    o, t = statistics.median(ours), statistics.median(theirs)
    print("loopback: messages per pass: %d, rounds: %d" % (n, rounds))
    print(describe("our client, as the check reads", ours))
    print(describe("python poplib", theirs))
    print("ratio ours/poplib: %.2f" % (o / t))

    delay = float(os.environ.get("LATENCY_MS", "10"))
    latency_rounds = int(os.environ.get("LATENCY_ROUNDS", "3"))
    proxy, proxy_port = latency_proxy.start(port, delay, lifetime=latency_rounds * 200 + 60)
    try:
        times = {"pipelined": [], "sequential": [], "poplib": []}
        for _ in range(latency_rounds):
            for mode in ("pipelined", "sequential"):
                seconds, count, taken = our_pass(bench, proxy_port, user, password, mode)
                assert count == n and taken == mode, (count, taken)
                times[mode].append(seconds)
            t, count = poplib_pass(proxy_port, user, password)
            assert count == n
            times["poplib"].append(t)
    finally:
        proxy.kill()
        proxy.wait()
    med = {k: statistics.median(v) for k, v in times.items()}
    print("through a proxy delaying %g ms each way: messages per pass: %d, rounds: %d" % (delay, n, latency_rounds))
    print(describe("our client, pipelined", times["pipelined"]))
    print(describe("our client, one command at a time", times["sequential"]))
    print(describe("python poplib", times["poplib"]))
    print("ratio pipelined/sequential: %.3f (goal at most 0.100)" % (med["pipelined"] / med["sequential"]))
    print("ratio pipelined/poplib: %.3f" % (med["pipelined"] / med["poplib"]))


if __name__ == "__main__":
    main()
