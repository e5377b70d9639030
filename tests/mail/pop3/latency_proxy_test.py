#!/usr/bin/env python3
"""The latency proxy through an echo server: a round trip costs the delay twice,
pieces sent back to back pay it once together, bytes keep their order, and the
proxy ends at its lifetime with a connection still open."""
import os
import socket
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import latency_proxy  # noqa: E402

DELAY_MS = 50
failures = []


def check(name, condition, detail=""):
    if not condition:
        failures.append("%s: %s" % (name, detail))


def echo(listener):
    peer, _ = listener.accept()
    peer.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    while True:
        data = peer.recv(65536)
        if not data:
            break
        peer.sendall(data)
    peer.close()


def receive(sock, length):
    got = b""
    while len(got) < length:
        more = sock.recv(65536)
        if not more:
            break
        got += more
    return got


listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(1)
threading.Thread(target=echo, args=(listener,), daemon=True).start()
started = time.monotonic()
proxy, port = latency_proxy.start(listener.getsockname()[1], DELAY_MS, lifetime=3)
client = socket.create_connection(("127.0.0.1", port))
client.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

start = time.monotonic()
client.sendall(b"ping")
check("one round trip", receive(client, 4) == b"ping")
elapsed = time.monotonic() - start
check("round trip pays the delay both ways", elapsed >= 2 * DELAY_MS / 1000, elapsed)

start = time.monotonic()
pieces = [b"piece %02d;" % i for i in range(10)]
for piece in pieces:
    client.sendall(piece)
    time.sleep(0.002)
got = receive(client, sum(len(p) for p in pieces))
elapsed = time.monotonic() - start
check("order kept", got == b"".join(pieces), got)
# Paid once per piece it would be ten round trips (1 s).
check("back-to-back pieces pay the delay once", elapsed < 4 * DELAY_MS / 1000, elapsed)

try:
    proxy.wait(timeout=5)
    check("ends at its lifetime", 2.5 <= time.monotonic() - started <= 5, time.monotonic() - started)
except Exception:  # noqa: BLE001
    proxy.kill()
    failures.append("still running after its lifetime")
client.close()

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("latency proxy: all checks passed")
