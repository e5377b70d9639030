#!/usr/bin/env python3
"""Runs a command against a private Dovecot POP3 server on a free loopback port.

Creates the mail user if missing, fills one maildir per test mailbox with
generated messages, starts Dovecot with its own configuration in a temporary
folder, runs the command with VSMR_POP3_PORT set, and stops Dovecot again.
Usage: dovecot_harness.py [--bench N] -- command [args...]
Imported, its Dovecot class serves mailboxes of the caller's on a port of its choice,
in clear text only or with TLS (STLS on that port, TLS from the first byte on another).
"""
import base64
import os
import pwd
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

MAIL_USER = "vsmrmail"
PASSWORD = "pw"


def ensure_mail_user():
    try:
        return pwd.getpwnam(MAIL_USER)
    except KeyError:
        subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", MAIL_USER],
                       check=True)
        return pwd.getpwnam(MAIL_USER)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def message(subject, body_lines, extra_headers=()):
    head = ["From: Sender %s <sender@example.jp>" % subject.split()[-1], "To: taro@example.jp",
            "Subject: " + subject, "Date: Mon, 7 Dec 2026 05:00:00 +0900",
            "Message-ID: <%s@example.jp>" % subject.replace(" ", ".")]
    return "\n".join(list(extra_headers) + head) + "\n\n" + "\n".join(body_lines) + "\n"


def encoded_word(text):
    return "=?ISO-2022-JP?B?%s?=" % base64.b64encode(text.encode("iso2022_jp")).decode("ascii")


def japanese_message(subject="会議の資料", name="山田太郎", address="yamada@example.jp", key="jp.1",
                     body="明日の会議の資料です。"):
    """Subject, sender name and body in ISO-2022-JP, as Japanese mailers send them;
    `key` is the message-id without its angle brackets and domain."""
    return ("From: %s <%s>\nTo: taro@example.jp\nSubject: %s\n"
            "Date: Tue, 1 Dec 2026 09:30:00 +0900\nMessage-ID: <%s@example.jp>\nMIME-Version: 1.0\n"
            "Content-Type: text/plain; charset=ISO-2022-JP\nContent-Transfer-Encoding: 7bit\n\n%s\n"
            % (encoded_word(name), address, encoded_word(subject), key,
               body.encode("iso2022_jp").decode("ascii")))


# Messages of the mail decoding tests' reference table (tests/mail/mime/data), each
# beside Python's decoding of it: one in each charset Japanese mail comes in.
MIME_DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "mime", "data")
CHARSET_MESSAGES = ["utf8_8bit", "shift_jis_8bit", "euc_jp_quoted_printable", "jis_body_utf8_headers",
                    "plain_upper", "html_only"]


def reference_message(name):
    """A reference message as bytes with LF line ends (Dovecot sends CR LF)."""
    with open(os.path.join(MIME_DATA, name + ".eml"), "rb") as f:
        return f.read().replace(b"\r\n", b"\n")


def mailboxes(bench):
    """Mailbox name -> list of messages (LF line ends; Dovecot sends CR LF)."""
    boxes = {
        "empty": [],
        "one": [message("only message", ["hello"])],
        "many": [message("message %d" % i, ["body of %d" % i]) for i in range(1, 301)],
        "bigheader": [message("big header", ["short body"],
                              ["Received: from host%03d.example.jp by relay.example.jp with SMTP id %08d" % (i, i)
                               for i in range(200)])],
        "large": [message("large message", ["line %06d: %s" % (i, "x" * 60) for i in range(50000)]),
                  message("after large", ["small"])],
        "dots": [message("dot lines", [".hidden", "..two", ".", "end"])],
        "deleteme": [message("delete %d" % i, ["x"]) for i in range(1, 4)],
        "japanese": [japanese_message()],
        "charsets": [reference_message(name) for name in CHARSET_MESSAGES],
    }
    if bench:
        boxes["bench"] = [message("bench %d" % i, ["body %d" % i] * 20) for i in range(1, bench + 1)]
    return boxes


def write_message(box, number, text, user):
    """Delivers one message into the maildir `box` as its `number`th message."""
    # Delivery times in message order so that Dovecot numbers them in that order.
    name = "%d.M%dP1.vsmr" % (1700000000 + number, number)
    temporary = os.path.join(box, "tmp", name)
    with open(temporary, "wb") as f:
        f.write(text if isinstance(text, bytes) else text.encode("utf-8"))
    os.utime(temporary, (1700000000 + number, 1700000000 + number))
    os.chown(temporary, user.pw_uid, user.pw_gid)
    # Written in tmp and renamed into cur, so that a running server never sees half a message.
    os.rename(temporary, os.path.join(box, "cur", name + ":2,"))


def write_maildirs(root, user, boxes):
    for name, messages in boxes.items():
        box = os.path.join(root, "mail", name)
        for sub in ("cur", "new", "tmp"):
            os.makedirs(os.path.join(box, sub))
        for i, text in enumerate(messages, 1):
            write_message(box, i, text, user)
    for dirpath, dirnames, filenames in os.walk(os.path.join(root, "mail")):
        os.chown(dirpath, user.pw_uid, user.pw_gid)


def tls_config(tls, ssl, tls_port):
    """The configuration lines for TLS: none at all (STLS not offered) without `tls`."""
    if tls is None:
        return "ssl = no\n", 0
    chain, key = tls
    return ("ssl = %s\nssl_cert = <%s\nssl_key = <%s\n" % (ssl, chain, key)), tls_port


def write_config(root, port, user, boxes, tls=None, ssl="required", tls_port=0):
    with open(os.path.join(root, "users"), "w") as f:
        for name in boxes:
            f.write("%s:{PLAIN}%s:%d:%d::%s::\n" % (name, PASSWORD, user.pw_uid, user.pw_gid,
                                                   os.path.join(root, "mail", name)))
    conf = os.path.join(root, "dovecot.conf")
    ssl_lines, tls_port = tls_config(tls, ssl, tls_port)
    with open(conf, "w") as f:
        f.write("""{ssl_lines}protocols = pop3
listen = 127.0.0.1
base_dir = {root}/run
state_dir = {root}/state
log_path = {root}/dovecot.log
info_log_path = {root}/dovecot.log
disable_plaintext_auth = no
auth_mechanisms = plain
auth_failure_delay = 0
mail_location = maildir:~
first_valid_uid = 1
default_internal_user = dovecot
default_login_user = dovenull
pop3_uidl_format = %08Xu%08Xv
passdb {{
  driver = passwd-file
  args = {root}/users
}}
userdb {{
  driver = passwd-file
  args = {root}/users
}}
service pop3-login {{
  inet_listener pop3 {{
    address = 127.0.0.1
    port = {port}
  }}
  inet_listener pop3s {{
    address = 127.0.0.1
    port = {tls_port}
    ssl = yes
  }}
}}
service imap-login {{
  inet_listener imap {{
    port = 0
  }}
  inet_listener imaps {{
    port = 0
  }}
}}
""".format(root=root, port=port, ssl_lines=ssl_lines, tls_port=tls_port))
    return conf


def port_taken(port):
    """True when something already listens on 127.0.0.1:port: a server of another run
    would answer in place of ours, and its mail and log-ins would be taken for ours."""
    with socket.socket() as s:
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            s.bind(("127.0.0.1", port))
        except OSError:
            return True
    return False


def wait_for_port(port, seconds):
    end = time.time() + seconds
    while time.time() < end:
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=1) as s:
                if s.recv(64).startswith(b"+OK"):
                    return True
        except OSError:
            time.sleep(0.1)
    return False


def unavailable():
    """Why this machine cannot run a private Dovecot, or None when it can."""
    if shutil.which("dovecot") is None:
        return "dovecot is not installed (scripts/install-deps installs dovecot-pop3d)"
    if os.geteuid() != 0:
        return "starting Dovecot with its own mail user needs root"
    return None


class Dovecot:
    """A private Dovecot serving `boxes` ({mailbox name: [message text, ...]}, each
    mailbox a user with password PASSWORD) on 127.0.0.1 at `port` (a free one when 0).
    Messages can be added while it runs; stop() removes everything it made.
    With `tls` (certificate chain PEM, key PEM) the server offers STLS on `port`
    and speaks TLS from the first byte on `tls_port`, and `ssl` is Dovecot's
    setting ("required": no log-in before TLS; "yes": clear-text log-ins too);
    without it there is no TLS at all."""

    def __init__(self, boxes, port=0, tls=None, ssl="required"):
        self.user = ensure_mail_user()
        self.root = tempfile.mkdtemp(prefix="vsmr-dovecot-")
        os.chmod(self.root, 0o755)
        self.counts = {name: len(messages) for name, messages in boxes.items()}
        self.log_path = os.path.join(self.root, "dovecot.log")
        self._server = None
        try:
            write_maildirs(self.root, self.user, boxes)
            self.port = port or free_port()
            self.tls_port = free_port() if tls else 0
            if port_taken(self.port):
                raise RuntimeError("port %d is already in use: another test run's server?" % self.port)
            conf = write_config(self.root, self.port, self.user, boxes, tls, ssl, self.tls_port)
            self._server = subprocess.Popen(["dovecot", "-F", "-c", conf], stdout=subprocess.DEVNULL,
                                            stderr=subprocess.STDOUT)
            if not wait_for_port(self.port, 15) or self._server.poll() is not None:
                raise RuntimeError("dovecot did not start on port %d; its log:\n%s" % (self.port, self.log()))
        except BaseException:
            self.stop()
            raise

    def add(self, box, text):
        """Delivers one more message to the mailbox, after those it holds."""
        self.counts[box] += 1
        write_message(os.path.join(self.root, "mail", box), self.counts[box], text, self.user)

    def log(self):
        try:
            with open(self.log_path, errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def logins(self, box):
        """How many log-ins of the mailbox the server has accepted so far."""
        return self.log().count("Login: user=<%s>" % box)

    def stop(self):
        if self._server is not None:
            self._server.send_signal(signal.SIGTERM)
            try:
                self._server.wait(10)
            except subprocess.TimeoutExpired:
                self._server.kill()
                self._server.wait()
            self._server = None
        shutil.rmtree(self.root, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def main():
    args = sys.argv[1:]
    bench = 0
    if args[:1] == ["--bench"]:
        bench = int(args[1])
        args = args[2:]
    if args[:1] == ["--"]:
        args = args[1:]
    try:
        server = Dovecot(mailboxes(bench))
    except RuntimeError as e:
        sys.stderr.write("%s\n" % e)
        return 1
    with server:
        env = dict(os.environ, VSMR_POP3_PORT=str(server.port), VSMR_POP3_PASSWORD=PASSWORD)
        return subprocess.call(args, env=env)


if __name__ == "__main__":
    sys.exit(main())
