#!/usr/bin/env python3
"""Runs a command against a private Dovecot POP3 server on a free loopback port.

Creates the mail user if missing, fills one maildir per test mailbox with
generated messages, starts Dovecot with its own configuration in a temporary
folder, runs the command with VSMR_POP3_PORT set, and stops Dovecot again.
Usage: dovecot_harness.py [--bench N] -- command [args...]
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


def japanese_message():
    """Subject, sender name and body in ISO-2022-JP, as Japanese mailers send them."""
    return ("From: %s <yamada@example.jp>\nTo: taro@example.jp\nSubject: %s\n"
            "Date: Tue, 1 Dec 2026 09:30:00 +0900\nMessage-ID: <jp.1@example.jp>\nMIME-Version: 1.0\n"
            "Content-Type: text/plain; charset=ISO-2022-JP\nContent-Transfer-Encoding: 7bit\n\n%s\n"
            % (encoded_word("山田太郎"), encoded_word("会議の資料"),
               "明日の会議の資料です。".encode("iso2022_jp").decode("ascii")))


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
    }
    if bench:
        boxes["bench"] = [message("bench %d" % i, ["body %d" % i] * 20) for i in range(1, bench + 1)]
    return boxes


def write_maildirs(root, user):
    for name, messages in mailboxes(BENCH).items():
        box = os.path.join(root, "mail", name)
        for sub in ("cur", "new", "tmp"):
            os.makedirs(os.path.join(box, sub))
        for i, text in enumerate(messages, 1):
            # Delivery times in message order so that Dovecot numbers them in that order.
            path = os.path.join(box, "cur", "%d.M%dP1.vsmr:2," % (1700000000 + i, i))
            with open(path, "w", newline="\n") as f:
                f.write(text)
            os.utime(path, (1700000000 + i, 1700000000 + i))
    for dirpath, dirnames, filenames in os.walk(os.path.join(root, "mail")):
        for n in [dirpath] + [os.path.join(dirpath, f) for f in filenames]:
            os.chown(n, user.pw_uid, user.pw_gid)


def write_config(root, port, user):
    with open(os.path.join(root, "users"), "w") as f:
        for name in mailboxes(BENCH):
            f.write("%s:{PLAIN}%s:%d:%d::%s::\n" % (name, PASSWORD, user.pw_uid, user.pw_gid,
                                                   os.path.join(root, "mail", name)))
    conf = os.path.join(root, "dovecot.conf")
    with open(conf, "w") as f:
        f.write("""protocols = pop3
listen = 127.0.0.1
base_dir = {root}/run
state_dir = {root}/state
log_path = {root}/dovecot.log
info_log_path = {root}/dovecot.log
ssl = no
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
    port = 0
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
""".format(root=root, port=port))
    return conf


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


def main():
    global BENCH
    args = sys.argv[1:]
    BENCH = 0
    if args[:1] == ["--bench"]:
        BENCH = int(args[1])
        args = args[2:]
    if args[:1] == ["--"]:
        args = args[1:]
    user = ensure_mail_user()
    root = tempfile.mkdtemp(prefix="vsmr-dovecot-")
    os.chmod(root, 0o755)
    server = None
    try:
        write_maildirs(root, user)
        port = free_port()
        conf = write_config(root, port, user)
        server = subprocess.Popen(["dovecot", "-F", "-c", conf], stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        if not wait_for_port(port, 15):
            sys.stderr.write("dovecot did not start; its log:\n")
            if os.path.exists(os.path.join(root, "dovecot.log")):
                sys.stderr.write(open(os.path.join(root, "dovecot.log")).read())
            return 1
        env = dict(os.environ, VSMR_POP3_PORT=str(port), VSMR_POP3_PASSWORD=PASSWORD)
        return subprocess.call(args, env=env)
    finally:
        if server is not None:
            server.send_signal(signal.SIGTERM)
            try:
                server.wait(10)
            except subprocess.TimeoutExpired:
                server.kill()
                server.wait()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
