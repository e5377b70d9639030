#!/usr/bin/env python3
"""`vsmr mail` over TLS, the Windows build under Wine: against private Dovecots, POP3S
and STLS list exactly what clear text lists; an untrusted, wrong-name or expired
certificate and a server without STLS are refused before any password is sent; against
hostile TLS servers every run ends within its time-out plus one second; an answer cut
off by a close without the closing alert is a failure, never a listed message.
The test authority is trusted in the Wine prefix for the run and removed afterwards.
Usage: tls_peer_test.py WINE-RUN PATH/TO/vsmr.exe PATH/TO/trust_root.exe"""
import os
import re
import select
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from dovecot_harness import PASSWORD, Dovecot, japanese_message, mailboxes, unavailable  # noqa: E402
from tls_test_certs import TestCerts  # noqa: E402

SKIPPED = 77
HOSTILE_TIMEOUT = 2
WINE_RUN, VSMR, TRUST_ROOT = sys.argv[1:4]
failures = []


def check(name, condition, detail=""):
    if not condition:
        failures.append("%s: %s" % (name, detail))


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def wine(*args):
    """Exit code and output (standard output and error together, code page 932)."""
    done = subprocess.run([WINE_RUN, *args], capture_output=True, timeout=120)
    return done.returncode, done.stdout.decode("cp932", "replace")


def mail(port, security, user="japanese", timeout=10):
    return wine(VSMR, "mail", "--server", "localhost", "--port", str(port), "--security", str(security),
                "--user", user, "--password", PASSWORD, "--timeout", str(timeout))


def rows(output):
    return [line for line in output.splitlines() if not line.startswith("vsmr mail: ")]


def no_auth_attempt(server, name):
    """The server logs each ended connection; none of them may have tried to log in."""
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline and server.log().count("Disconnected") < 2:
        time.sleep(0.1)
    log = server.log()
    check(name + ": connection logged", log.count("Disconnected") >= 2, log)
    check(name + ": no log-in attempt", "Login:" not in log and not re.search(r"\d+ attempts", log), log)


BOXES = {
    "japanese": [japanese_message(),
                 japanese_message(subject="見積書の送付について", name="佐藤花子", address="sato@example.jp",
                                  key="jp.2", body="見積書をお送りします。ご確認ください。")],
    "many": mailboxes(0)["many"],
}


def secured_runs(certs):
    with Dovecot(BOXES, tls=certs.good) as server:
        for user in BOXES:
            clear_rc, clear = mail(server.port, 0, user)
            check(user + " clear text", clear_rc == 0 and len(rows(clear)) == len(BOXES[user]), clear)
            for security, port in ((1, server.tls_port), (2, server.port)):
                rc, out = mail(port, security, user)
                check("%s security %d" % (user, security), rc == 0 and rows(out) == rows(clear),
                      "%d\n%s\nclear text:\n%s" % (rc, out, clear))
                if user == "japanese":
                    print("$ vsmr mail --server localhost --port %d --security %d --user japanese --password %s"
                          " --timeout 10\n%s" % (port, security, PASSWORD, out))
        tls_logins = [line for line in server.log().splitlines() if "Login:" in line and ", TLS," in line]
        check("log-ins over TLS", len(tls_logins) == 2 * len(BOXES), server.log())


def refused_runs(certs):
    # A server that sends only its certificate leaves its authority to be found: nothing trusts it either.
    untrusted_alone = (certs.untrusted[0].replace(".chain.pem", ".pem"), certs.untrusted[1])
    cases = [("untrusted", certs.untrusted, "サーバ証明書が信頼されていません (MailErrA)"),
             ("untrusted, no chain sent", untrusted_alone, "サーバ証明書が信頼されていません (MailErrA)"),
             ("wrong name", certs.wrong_name, "サーバ証明書の名前がサーバ名と一致しません (MailErrN)"),
             ("expired", certs.expired, "サーバ証明書の有効期限が切れています (MailErrX)")]
    small = {"japanese": BOXES["japanese"]}
    for name, cert, failure in cases:
        for security in (1, 2):
            with Dovecot(small, tls=cert) as server:
                rc, out = mail(server.tls_port if security == 1 else server.port, security)
                case = "%s, security %d" % (name, security)
                check(case, rc == 1 and "vsmr mail: " + failure in out, out)
                no_auth_attempt(server, case)
    with Dovecot(small) as server:
        rc, out = mail(server.port, 2)
        check("no STLS", rc == 1 and "vsmr mail: サーバがSTLSに対応していません (MailErrF)" in out, out)
        no_auth_attempt(server, "no STLS")
        rc, out = mail(server.port, 1)
        check("clear text answering TLS", rc == 1 and "vsmr mail: TLSで接続を開始できません (MailErrL)" in out, out)


class HostileTls:
    """One TLS connection on a free loopback port, driven by `behaviour` once the
    handshake is done. Notes the time from accept to the client's close and every
    application byte the client sent."""

    def __init__(self, cert, behaviour):
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(*cert)
        self.context.num_tickets = 0
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.behaviour, self.received, self.seconds = behaviour, b"", None
        self.client_ended = threading.Event()
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        self.listener.settimeout(0.2)
        while True:
            try:
                conn, _ = self.listener.accept()
                break
            except socket.timeout:
                if self.client_ended.is_set():  # it never connected
                    self.listener.close()
                    return
        start = time.monotonic()
        self.conn = conn
        conn.settimeout(20)
        self.incoming, self.outgoing = ssl.MemoryBIO(), ssl.MemoryBIO()
        self.tls = self.context.wrap_bio(self.incoming, self.outgoing, server_side=True)
        try:
            if self._handshake():
                self.behaviour(self)
                while self.poll(20):
                    pass
        except OSError:
            pass  # a reset is the client's close too
        self.seconds = time.monotonic() - start
        conn.close()
        self.listener.close()

    def _handshake(self):
        while True:
            try:
                self.tls.do_handshake()
                self.conn.sendall(self.outgoing.read())
                return True
            except ssl.SSLWantReadError:
                self.conn.sendall(self.outgoing.read())
                if not self.poll(20, decrypt=False):
                    return False

    def poll(self, seconds, decrypt=True):
        """Takes what the client sent within `seconds`; False once it has closed."""
        if not select.select([self.conn], [], [], seconds)[0]:
            return True
        data = self.conn.recv(65536)
        if not data:
            return False
        self.incoming.write(data)
        while decrypt:
            try:
                text = self.tls.read(65536)
            except ssl.SSLError:  # no whole record yet
                break
            if not text:  # the closing alert
                break
            self.received += text
        return True

    def records(self, text):
        self.tls.write(text)
        return self.outgoing.read()


def silence(server):
    pass


def drip(server):
    for byte in server.records(b"+OK a greeting dripped a byte at a time\r\n"):
        server.conn.sendall(bytes([byte]))
        if not server.poll(0.1):
            return


def flood(server):
    for _ in range((10 << 20) // 16000):
        server.conn.sendall(server.records(b"+OK flood " * 1600))
        if not server.poll(0):
            return


def close_mid_record(server):
    record = server.records(b"+OK this record is cut off\r\n")
    server.conn.sendall(record[:len(record) // 2])
    server.conn.shutdown(socket.SHUT_WR)


def answer_then_close_without_alert(server):
    """Logs the client in and cuts the RETR answer off with a bare TCP close."""
    replies = [b"+OK ready\r\n", b"+OK\r\n", b"+OK\r\n", b"+OK 1 500\r\n",
               b"+OK 500 octets\r\nSubject: cut off\r\n\r\nthe first line of the body\r\n"]
    server.conn.sendall(server.records(replies[0]))
    for commands, reply in enumerate(replies[1:], 1):
        while server.received.count(b"\r\n") < commands:
            if not server.poll(10):
                return
        server.conn.sendall(server.records(reply))
    server.conn.shutdown(socket.SHUT_RDWR)


def cut_answer_run(certs):
    server = HostileTls(certs.good, answer_then_close_without_alert)
    rc, out = wine(VSMR, "mail", "--server", "localhost", "--port", str(server.port), "--security", "1",
                   "--user", "japanese", "--password", PASSWORD, "--show", "1")
    server.client_ended.set()
    server.thread.join(30)
    print("cut answer: %s" % out.strip().splitlines()[-1:])
    code = re.search(r"\((MailErr.)\)", out)
    check("cut answer fails as a broken connection",
          rc == 1 and code is not None and code.group(1) == "MailErr1", out)
    check("cut answer is not shown", "the first line of the body" not in out, out)


def hostile_runs(certs):
    # As over clear text, except the drip: no byte of a record is readable before the
    # whole record, so a dripped greeting is silence to the session (clear text: MailErrP).
    for behaviour, expected in ((silence, "MailErrT"), (drip, "MailErrT"), (flood, "MailErrU"),
                                (close_mid_record, "MailErrP")):
        server = HostileTls(certs.good, behaviour)
        rc, out = mail(server.port, 1, timeout=HOSTILE_TIMEOUT)
        server.client_ended.set()
        server.thread.join(30)
        name = behaviour.__name__
        code = re.search(r"\((MailErr.)\)", out)
        print("%s: %s, %s s from accept to the client's close"
              % (name, out.strip().splitlines()[-1:], server.seconds and round(server.seconds, 2)))
        check(name + " fails", rc == 1 and code is not None and code.group(1) == expected, out)
        check(name + " on time", server.seconds is not None and server.seconds <= HOSTILE_TIMEOUT + 1, server.seconds)
        check(name + " sends no password", b"PASS" not in server.received, server.received)


def main():
    reason = unavailable()
    if reason:
        print("skipped: " + reason)
        return SKIPPED
    with tempfile.TemporaryDirectory(prefix="vsmr-tls-") as folder:
        certs = TestCerts(folder)
        rc, out = wine(TRUST_ROOT, "add", windows_path(certs.ca))
        if rc != 0:
            print("cannot trust the test authority: " + out)
            return 1
        try:
            secured_runs(certs)
            refused_runs(certs)
            hostile_runs(certs)
            cut_answer_run(certs)
        finally:
            wine(TRUST_ROOT, "remove", windows_path(certs.ca))
    if failures:
        print("\n".join(failures))
        return 1
    print("vsmr mail over TLS: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
