#!/usr/bin/env python3
"""`vsmr mail` against the Dovecot of dovecot_harness.py: the list rows, the
composed view text, the source, and the failure messages.
Usage: cmd_mail_test.py PATH/TO/vsmr            (host build: UTF-8 console)
       cmd_mail_test.py WINE-RUN PATH/TO/vsmr.exe (Windows build: code page 932;
       its standard output and error arrive as one stream)"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dovecot_harness as harness  # noqa: E402
import latency_proxy  # noqa: E402

VSMR = sys.argv[1:]
WINE = len(VSMR) > 1
ENCODING = "cp932" if WINE else "utf-8"
PORT = os.environ["VSMR_POP3_PORT"]
PASSWORD = os.environ["VSMR_POP3_PASSWORD"]
failures = []


class Result:
    def __init__(self, done):
        self.returncode = done.returncode
        self.stdout = done.stdout
        self.stderr = (done.stdout if WINE else done.stderr).decode(ENCODING, "replace")
        # Under Wine the mode line on the error stream comes with the rows.
        self.text = "".join(line for line in done.stdout.decode(ENCODING, "replace").splitlines(True)
                            if not (WINE and line.startswith("vsmr mail: ")))


def mail(user, *extra, password=PASSWORD, server="127.0.0.1", port=PORT):
    return Result(subprocess.run(VSMR + ["mail", "--server", server, "--port", port, "--user", user,
                                         "--password", password, "--timeout", "10", *extra],
                                 capture_output=True, timeout=120))


def check(name, condition, detail=""):
    if not condition:
        failures.append("%s: %s" % (name, detail))


# A decoded Japanese row: user, sender without its address, subject, short date, size.
r = mail("japanese")
rows = r.text.splitlines()
check("japanese rc", r.returncode == 0, r.stderr)
check("japanese rows", len(rows) == 1, rows)
if rows:
    fields = rows[0].split("\t")
    check("japanese fields", fields[:4] == ["japanese", "山田太郎 ", "会議の資料", "26/12/01 09:30"], fields)
    check("japanese size", len(fields) == 5 and int(fields[4]) > 200, fields)

# Every message of a large mailbox, in order.
r = mail("many")
rows = r.text.splitlines()
check("many rows", len(rows) == 300, len(rows))
check("many order", all(row.split("\t")[2] == "message %d" % i for i, row in enumerate(rows, 1)), rows[:3])
check("many pipelined", "vsmr mail: pipelined" in r.stderr, r.stderr)
r = mail("many", "--sequential")
check("many sequential", r.text.splitlines() == rows and "vsmr mail: sequential" in r.stderr, r.stderr)

# 20 ms away: one command at a time would wait at least 300 x 2 round trips (12 s).
proxy, proxy_port = latency_proxy.start(PORT, 10, lifetime=100)
start = time.monotonic()
r = mail("many", port=str(proxy_port))
elapsed = time.monotonic() - start
proxy.kill()
check("many far away", r.text.splitlines() == rows, r.stderr)
check("many far away pipelined", elapsed < 6, elapsed)

# An empty mailbox lists nothing and succeeds.
r = mail("empty")
check("empty", r.returncode == 0 and r.stdout == b"", (r.returncode, r.stdout))

# The composed view: decoded header lines and the body in Shift-JIS (shown as UTF-8).
r = mail("japanese", "--show", "1")
text = r.text
check("show rc", r.returncode == 0, r.stderr)
for needle in ["山田太郎", "会議の資料", "明日の会議の資料です。", "2026年12月01日"]:
    check("show " + needle, needle in text, text)

# A message in each charset (the decoding tests' reference messages): the rows
# and the view text are Python's decoding of them, in code page 932.
def reference(name):
    with open(os.path.join(harness.MIME_DATA, name + ".expected"), "rb") as f:
        data = f.read()
    head, body = data.split(b"body=\n", 1)
    fields = dict(line.split("=", 1) for line in head.decode("cp932").splitlines())
    fields["body"] = body.decode("cp932")
    return fields


r = mail("charsets")
rows = r.text.splitlines()
check("charsets rows", r.returncode == 0 and len(rows) == len(harness.CHARSET_MESSAGES), (r.stderr, rows))
for number, (name, row) in enumerate(zip(harness.CHARSET_MESSAGES, rows), 1):
    python = reference(name)
    fields = row.split("\t")
    sender = python["from"].split("<")[0]
    check("charsets row " + name, fields[:4] == ["charsets", sender, python["subject"], python["date_short"]],
          fields)
    view = ("送信者: %s\r\n宛先  : %s\r\n件名  : %s\r\n日付  : %s\r\n\r\n\r\n%s"
            % (python["from"], python["to"], python["subject"], python["date_long"], python["body"]))
    r = mail("charsets", "--show", str(number))
    shown = r.stdout.decode(ENCODING, "replace")
    check("charsets show " + name, r.returncode == 0 and shown == view, (shown, view))

# The source: the message as it was sent, without the server's added dots and end line.
r = mail("dots", "--source", "1")
check("source start", r.stdout.startswith(b"From: Sender lines"), r.stdout[:40])
check("source dots", r.stdout.endswith(b"\r\n\r\n.hidden\r\n..two\r\n.\r\nend\r\n"), r.stdout[-60:])

# Usage errors and refused log-ins.
r = mail("one", "--show", "1", "--source", "1")
check("exclusive options", r.returncode == 2, r.returncode)
r = mail("one", password="wrong")
check("refused", r.returncode == 1 and "パスワードの認証失敗 (MailErrU)" in r.stderr, r.stderr)
r = mail("one", server="no-such-host.invalid")
check("unresolvable", r.returncode == 1 and "no-such-host.invalidが見つかりません (MailErrH)" in r.stderr, r.stderr)
r = mail("one", port="1")
check("nothing listening", r.returncode == 1 and "サーバソケットに接続失敗 (MailErrC)" in r.stderr, r.stderr)

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("vsmr mail: all checks passed")
