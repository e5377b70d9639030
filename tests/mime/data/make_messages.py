#!/usr/bin/env python3
"""Writes the Japanese test messages (*.eml) and Python's decoding of each
(*.expected) for the mail decoding tests.

Messages are built with the standard `email` package in ISO-2022-JP, the way
Japanese mailers send them. Each .expected file holds Python's own decoding
(the `email` parser with the iso-2022-jp and cp932 codecs) as CP932 bytes:

    subject=...\\n from=...\\n to=...\\n date_short=...\\n date_long=...\\n
    attachments=...\\n (multipart only) body=\\n followed by the body text (CRLF)

Run from anywhere: python3 tests/mime/data/make_messages.py
"""
import email
import email.charset
import email.header
import email.policy
import email.utils
import os
from email.mime.application import MIMEApplication
from email.mime.multipart import MIMEMultipart
from email.mime.nonmultipart import MIMENonMultipart
from email.mime.text import MIMEText

HERE = os.path.dirname(os.path.abspath(__file__))
JIS = 'iso-2022-jp'
# Header objects keep their own charset and folding under compat32.
WIRE = email.policy.compat32.clone(linesep='\r\n')
DATE = 'Sun, 05 Jan 2003 12:34:56 +0900'

BODY = ('こんにちは、山田です。\n'
        '来週の会議の資料を送ります。\n'
        '東京都千代田区１丁目２番地\n'
        'ABC テスト 123 = 等号\n'
        '以上、よろしくお願いします。\n')
LONG_LINE = ('長い行のテストです。' * 12) + '\n'


def jis_header(text):
    return email.header.Header(text, JIS)


def base_headers(msg, subject, to='hanako@example.jp', msgid='<20030105123456.1@example.jp>'):
    msg['From'] = jis_header('山田 太郎').encode() + ' <taro@example.jp>'
    msg['To'] = to
    msg['Subject'] = subject if isinstance(subject, str) else subject.encode()
    msg['Date'] = DATE
    msg['Message-ID'] = msgid


def text_part(body, encoding=None):
    charset = email.charset.Charset(JIS)
    if encoding is not None:
        charset.body_encoding = encoding
    part = MIMENonMultipart('text', 'plain')
    part.set_payload(body, charset)
    return part


def upper(raw):
    """The upper-case encoded-word spelling that many Japanese mailers write."""
    return raw.replace(b'=?iso-2022-jp?b?', b'=?ISO-2022-JP?B?')


def messages():
    # Subject in the upper-case form, 7-bit ISO-2022-JP body.
    msg = text_part(BODY)
    base_headers(msg, jis_header('会議資料の送付'))
    yield 'plain_upper', upper(msg.as_bytes(policy=WIRE))

    # Python's own lower-case "=?iso-2022-jp?b?" form.
    msg = text_part(BODY)
    base_headers(msg, jis_header('会議資料の送付'))
    yield 'plain_python_lower', msg.as_bytes(policy=WIRE)

    # A long subject folded over several lines, one encoded word per line.
    msg = text_part(BODY + LONG_LINE)
    base_headers(msg, jis_header('とても長い件名のテストです。' * 4))
    yield 'folded_subject', upper(msg.as_bytes(policy=WIRE))

    # ASCII and encoded words on one line with blanks between them.
    msg = text_part(BODY)
    subject = email.header.Header('Re: [ml 12]', 'us-ascii')
    subject.append('お知らせ', JIS)
    base_headers(msg, subject)
    yield 'mixed_subject', upper(msg.as_bytes(policy=WIRE))

    # Quoted-printable ISO-2022-JP body (ESC as =1B, "=" as =3D, soft line breaks).
    msg = text_part(BODY + LONG_LINE + '行末の空白 \n', email.charset.QP)
    base_headers(msg, jis_header('QP 本文'))
    yield 'quoted_printable', upper(msg.as_bytes(policy=WIRE))

    # Base64 body: the view shows the encoded text as it is.
    msg = text_part(BODY, email.charset.BASE64)
    base_headers(msg, jis_header('Base64 本文'))
    yield 'base64_body', upper(msg.as_bytes(policy=WIRE))

    # Nested multipart: alternative (plain, html) inside mixed, then a named PDF.
    inner = MIMEMultipart('alternative', boundary='==inner-boundary-2003==')
    inner.attach(text_part(BODY))
    html = MIMEText('', 'html')
    html.set_payload('<html><body><p>こんにちは</p></body></html>\n', email.charset.Charset(JIS))
    inner.attach(html)
    outer = MIMEMultipart('mixed', boundary='==outer-boundary-2003==')
    outer.attach(inner)
    outer.attach(MIMEApplication(b'%PDF-1.4\n%test\n', 'pdf', name='a.pdf'))
    base_headers(outer, jis_header('添付ファイル付き'))
    yield 'multipart_nested', upper(outer.as_bytes(policy=WIRE))

    # Flat multipart: a quoted-printable text part first, then two named files.
    outer = MIMEMultipart('mixed', boundary='----=_Part_0_12345')
    outer.attach(text_part(BODY + LONG_LINE, email.charset.QP))
    outer.attach(MIMEApplication(b'PK\x03\x04zip', 'zip', name='data.zip'))
    outer.attach(MIMEApplication(b'\x89PNG', 'octet-stream', name='photo.png'))
    base_headers(outer, jis_header('写真とデータ'))
    yield 'multipart_qp_first', upper(outer.as_bytes(policy=WIRE))

    # HTML first, quoted-printable text second: the text part's encoding is
    # looked up in the first part's header, so the view leaves it encoded.
    outer = MIMEMultipart('alternative', boundary='alt-boundary')
    html = MIMEText('', 'html')
    html.set_payload('<p>本文</p>\n', email.charset.Charset(JIS))
    outer.attach(html)
    outer.attach(text_part(BODY, email.charset.QP))
    base_headers(outer, jis_header('HTML が先'))
    yield 'multipart_html_first', upper(outer.as_bytes(policy=WIRE))

    # Old mailers: raw ISO-2022-JP in the Subject, no MIME headers, a body
    # whose lines end in bare LFs.
    raw = ('From: taro@example.jp\r\nTo: hanako@example.jp\r\nSubject: ' +
           '生の JIS 件名' + '\r\nDate: ' + DATE + '\r\n\r\n' + BODY).encode(JIS)
    yield 'raw_jis_header', raw


def reference(raw):
    """Python's own decoding, as CP932 bytes."""
    msg = email.message_from_bytes(raw, policy=email.policy.default)

    def unjis(text):
        # Raw ISO-2022-JP outside MIME reaches Python as ASCII with ESC bytes.
        return text.encode('ascii').decode(JIS) if '\x1b' in text else text

    def header(name):
        value = msg.get(name)
        return unjis(str(value).strip()) if value is not None else ''

    when = email.utils.parsedate_to_datetime(msg['Date'])
    weekday = '月火水木金土日'[when.weekday()]
    fields = [
        ('subject', header('Subject')),
        ('from', header('From')),
        ('to', header('To')),
        ('date_short', when.strftime('%y/%m/%d %H:%M')),
        ('date_long', when.strftime('%Y年%m月%d日(') + weekday + when.strftime(') %H:%M:%S')),
    ]
    if msg.is_multipart():
        body = msg.get_body(preferencelist=('plain',)).get_content()
        notes = ''
        for part in msg.walk():
            if part.get_content_type() == 'text/html':
                notes = 'HTMLファイル, '
            elif part.get_param('name') is not None:
                notes += '"%s", ' % part.get_param('name')
        fields.append(('attachments', notes[:-2]))
    else:
        body = msg.get_content()
    body = unjis(body).replace('\r\n', '\n').replace('\n', '\r\n')
    out = b''.join(k.encode() + b'=' + v.encode('cp932') + b'\n' for k, v in fields)
    return out + b'body=\n' + body.encode('cp932')


def main():
    for name, raw in messages():
        with open(os.path.join(HERE, name + '.eml'), 'wb') as f:
            f.write(raw)
        with open(os.path.join(HERE, name + '.expected'), 'wb') as f:
            f.write(reference(raw))


if __name__ == '__main__':
    main()
