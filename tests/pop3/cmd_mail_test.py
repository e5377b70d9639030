#!/usr/bin/env python3
"""`vsmr mail` against the Dovecot of dovecot_harness.py: the list rows, the
composed view text, the source, and the failure message.
Usage: cmd_mail_test.py PATH/TO/vsmr"""
import os
import subprocess
import sys

VSMR = sys.argv[1]
PORT = os.environ["VSMR_POP3_PORT"]
PASSWORD = os.environ["VSMR_POP3_PASSWORD"]
failures = []


def mail(user, *extra, password=PASSWORD):
    return subprocess.run([VSMR, "mail", "--server", "127.0.0.1", "--port", PORT, "--user", user,
                           "--password", password, "--timeout", "10", *extra],
                          capture_output=True, timeout=60)


def check(name, condition, detail=""):
    if not condition:
        failures.append("%s: %s" % (name, detail))


# A decoded Japanese row: user, sender without its address, subject, short date, size.
r = mail("japanese")
rows = r.stdout.decode("utf-8").splitlines()
check("japanese rc", r.returncode == 0, r.stderr)
check("japanese rows", len(rows) == 1, rows)
if rows:
    fields = rows[0].split("\t")
    check("japanese fields", fields[:4] == ["japanese", "山田太郎 ", "会議の資料", "26/12/01 09:30"], fields)
    check("japanese size", len(fields) == 5 and int(fields[4]) > 200, fields)

# Every message of a large mailbox, in order.
r = mail("many")
rows = r.stdout.decode("utf-8").splitlines()
check("many rows", len(rows) == 300, len(rows))
check("many order", all(row.split("\t")[2] == "message %d" % i for i, row in enumerate(rows, 1)), rows[:3])

# An empty mailbox lists nothing and succeeds.
r = mail("empty")
check("empty", r.returncode == 0 and r.stdout == b"", (r.returncode, r.stdout))

# The composed view: decoded header lines and the body in Shift-JIS (shown as UTF-8).
r = mail("japanese", "--show", "1")
text = r.stdout.decode("utf-8")
check("show rc", r.returncode == 0, r.stderr)
for needle in ["山田太郎", "会議の資料", "明日の会議の資料です。", "2026年12月01日"]:
    check("show " + needle, needle in text, text)

# The source: the message as the server sent it, status line removed.
r = mail("dots", "--source", "1")
check("source start", r.stdout.startswith(b"From: Sender lines"), r.stdout[:40])
check("source dots", b"\r\n\r\n..hidden\r\n...two\r\n..\r\nend\r\n.\r\n" in r.stdout, r.stdout[-60:])

# Usage errors and refused log-ins.
r = mail("one", "--show", "1", "--source", "1")
check("exclusive options", r.returncode == 2, r.returncode)
r = mail("one", password="wrong")
check("refused", r.returncode == 1 and "パスワードの認証失敗 (MailErrU)" in r.stderr.decode("utf-8"), r.stderr)

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("vsmr mail: all checks passed")
