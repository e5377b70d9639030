#!/usr/bin/env python3
"""The 1,000-message check pass of the Windows build under Wine over TLS from the first
byte (POP3S) against the same pass over clear text: one Dovecot serving both (ssl = yes).
Each of PROCESSES processes makes ROUNDS rounds of one clear and one POP3S pass (which
first alternates between processes), timing each pass inside itself. A process's first
round also loads and starts the TLS libraries: the medians are taken over the later
rounds, and the first POP3S passes are shown apart.
Usage: tls_compare.py WINE-RUN WIN64-BIN PROCESSES [ROUNDS]"""
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "mail", "pop3"))
from dovecot_harness import PASSWORD, Dovecot, mailboxes, unavailable  # noqa: E402
from tls_test_certs import TestCerts  # noqa: E402

MESSAGES = 1000
GOAL = 1.3
CLEAR, POP3S = 0, 1


def rounds_of(wine_run, binary, ways, rounds):
    """[{security: seconds}] for each round; `ways` is [(security, port)] in pass order."""
    (first, first_port), (second, second_port) = ways
    out = subprocess.run([wine_run, binary, str(first_port), "bench", PASSWORD, str(rounds), "pipelined",
                          str(first), "localhost", str(second), str(second_port)], capture_output=True, timeout=600)
    text = out.stdout.decode("cp932", "replace")
    passes = [line.split() for line in text.splitlines() if line.strip()]
    if out.returncode != 0 or len(passes) != 2 * rounds or any(p[1] != str(MESSAGES) for p in passes):
        raise RuntimeError("a pass failed: " + text)
    return [{int(p[3]): float(p[0]) for p in passes[i:i + 2]} for i in range(0, len(passes), 2)]


def describe(name, times):
    return "%s (median of %d): %.3f s, spread %.3f-%.3f s" % (name, len(times), statistics.median(times),
                                                              min(times), max(times))


def main():
    wine_run, win64_bin, processes = sys.argv[1], sys.argv[2], int(sys.argv[3])
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 7
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
                ways = [(CLEAR, server.port), (POP3S, server.tls_port)]
                warm, first_tls = [], []
                for process in range(processes):
                    measured = rounds_of(wine_run, bench, ways if process % 2 == 0 else ways[::-1], rounds)
                    first_tls.append(measured[0][POP3S])
                    warm.extend(measured[1:])
                # Dovecot marks each log-in made over TLS: every POP3S pass must have been one.
                tls_logins = sum(1 for line in server.log().splitlines() if "Login:" in line and ", TLS," in line)
                if tls_logins != processes * rounds:
                    raise RuntimeError("%d of %d POP3S passes logged in over TLS" % (tls_logins, processes * rounds))
        finally:
            subprocess.run([wine_run, trust_root, "remove", ca], capture_output=True)
    clear, tls = [r[CLEAR] for r in warm], [r[POP3S] for r in warm]
    print("pop3 over TLS under Wine: messages per pass: %d, processes: %d, rounds per process: %d (first set apart)"
          % (MESSAGES, processes, rounds))
    print(describe("clear text", clear))
    print(describe("POP3S", tls))
    print(describe("POP3S, first pass of a process", first_tls))
    print("median of the rounds' POP3S/clear text ratios: %.3f"
          % statistics.median(r[POP3S] / r[CLEAR] for r in warm))
    ratio = statistics.median(tls) / statistics.median(clear)
    print("ratio POP3S/clear text: %.3f (goal at most %.1f)%s" % (ratio, GOAL, "" if ratio <= GOAL else ": MISSED"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
