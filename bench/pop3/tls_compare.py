#!/usr/bin/env python3
"""The 1,000-message check pass of the Windows build under Wine over TLS from the first
byte (POP3S) against the same pass over clear text: one Dovecot serving both (ssl = yes),
processes alternating between the two. Every process makes PASSES passes and times each
inside itself; its first pass also loads and starts the TLS libraries, so the medians
are taken over the later ones, and the first passes are shown apart.
Usage: tls_compare.py WINE-RUN WIN64-BIN ROUNDS [PASSES]"""
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "pop3"))
from dovecot_harness import PASSWORD, Dovecot, mailboxes, unavailable  # noqa: E402
from tls_test_certs import TestCerts  # noqa: E402

MESSAGES = 1000
GOAL = 1.3


def passes(wine_run, binary, port, security, count):
    out = subprocess.run([wine_run, binary, str(port), "bench", PASSWORD, str(count), "pipelined", str(security),
                          "localhost"], capture_output=True, timeout=600)
    text = out.stdout.decode("cp932", "replace")
    lines = [line.split() for line in text.splitlines() if line.strip()]
    if out.returncode != 0 or len(lines) != count or any(int(n) != MESSAGES for _, n, _ in lines):
        raise RuntimeError("pass failed (security %d): %s" % (security, text))
    return [float(seconds) for seconds, _, _ in lines]


def describe(name, times):
    return "%s (median of %d): %.3f s, spread %.3f-%.3f s" % (name, len(times), statistics.median(times),
                                                              min(times), max(times))


def main():
    wine_run, win64_bin, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
    count = int(sys.argv[4]) if len(sys.argv) > 4 else 6
    reason = unavailable()
    if reason:
        print("pop3 over TLS: skipped: " + reason)
        return 0
    bench, trust_root = os.path.join(win64_bin, "pop3_bench.exe"), os.path.join(win64_bin, "trust_root.exe")
    with tempfile.TemporaryDirectory(prefix="vsmr-tls-bench-") as folder:
        certs = TestCerts(folder)
        ca = "Z:" + certs.ca.replace("/", "\\")
        subprocess.run([wine_run, trust_root, "add", ca], check=True, capture_output=True)
        try:
            with Dovecot({"bench": mailboxes(MESSAGES)["bench"]}, tls=certs.good, ssl="yes") as server:
                warm, first = {0: [], 1: []}, {0: [], 1: []}
                for _ in range(rounds):
                    for security, port in ((0, server.port), (1, server.tls_port)):
                        times = passes(wine_run, bench, port, security, count)
                        first[security].append(times[0])
                        warm[security].extend(times[1:])
                # Dovecot marks each log-in made over TLS: every POP3S pass must have been one.
                tls_logins = sum(1 for line in server.log().splitlines() if "Login:" in line and ", TLS," in line)
                if tls_logins != rounds * count:
                    raise RuntimeError("%d of %d POP3S passes logged in over TLS" % (tls_logins, rounds * count))
        finally:
            subprocess.run([wine_run, trust_root, "remove", ca], capture_output=True)
    print("pop3 over TLS under Wine: messages per pass: %d, processes per mode: %d, passes per process: %d"
          % (MESSAGES, rounds, count))
    print(describe("clear text", warm[0]))
    print(describe("POP3S", warm[1]))
    print(describe("clear text, first pass of a process", first[0]))
    print(describe("POP3S, first pass of a process", first[1]))
    ratio = statistics.median(warm[1]) / statistics.median(warm[0])
    print("ratio POP3S/clear text: %.3f (goal at most %.1f)%s" % (ratio, GOAL, "" if ratio <= GOAL else ": MISSED"))
    print("ratio of first passes: %.3f" % (statistics.median(first[1]) / statistics.median(first[0])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
