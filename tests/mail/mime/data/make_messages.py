#!/usr/bin/env python3
"""Writes the Japanese test messages (*.eml) and Python's decoding of each
(*.expected) for the mail decoding tests.

Messages are built with the standard `email` package: in ISO-2022-JP, the way
Japanese mailers sent them, and in each charset and transfer encoding mail
arrives in today (UTF-8 with the default policy as modern mailers write it,
Shift_JIS, Windows-31J, EUC-JP, ISO-8859-1, US-ASCII; 8bit, base64,
quoted-printable; HTML only and multipart/alternative). Each .expected file
holds Python's own decoding (the `email` parser and the charset's codec, errors
replaced) as CP932 bytes, the geta mark for a character cp932 lacks:

    subject=...\\n from=...\\n to=...\\n date_short=...\\n date_long=...\\n
    attachments=...\\n (multipart only) body=\\n followed by the body text (CRLF)

Shift_JIS and its aliases are decoded with Python's cp932 codec: mail that says
Shift_JIS is written by Windows in code page 932. An HTML body is turned into
text by `TextOfHtml` below, on Python's html.parser.

Run from anywhere: python3 tests/mail/mime/data/make_messages.py
"""
import base64
import codecs
import email
import email.charset
import email.base64mime
import email.header
import email.policy
import email.quoprimime
import email.utils
import html.parser
import os
from email.message import EmailMessage
from email.mime.application import MIMEApplication
from email.mime.multipart import MIMEMultipart
from email.mime.nonmultipart import MIMENonMultipart
from email.mime.text import MIMEText

HERE = os.path.dirname(os.path.abspath(__file__))
JIS = 'iso-2022-jp'
# Header objects keep their own charset and folding under compat32.
WIRE = email.policy.compat32.clone(linesep='\r\n')
# What modern mailers write: the default policy (RFC 2047 words in UTF-8), and
# with RFC 6532 raw UTF-8 headers.
MODERN = email.policy.default.clone(linesep='\r\n')
MODERN_RAW = MODERN.clone(utf8=True)
DATE = 'Sun, 05 Jan 2003 12:34:56 +0900'
GETA = '〓'
codecs.register_error('geta', lambda e: (GETA * (e.end - e.start), e.end))
# Charset names whose text Python's own codec of that name reads otherwise
# than the mailers that write them.
CODECS = {'shift_jis': 'cp932', 'windows-31j': 'cp932', 'sjis': 'cp932'}

# Code page 932's own characters (NEC and IBM extensions), then some it lacks.
SPECIALS_CP932 = '丸数字①②、㈱、全角チルダ～と波ダッシュ〜、髙橋さん\n'
SPECIALS = SPECIALS_CP932 + '円記号¥、絵文字😀、ハングル한、ドイツ語ß\n'
HTML = ('<!DOCTYPE html>\n<html><head><title>題名</title><style>p { color: red }</style></head>\n'
        '<body><h1>お知らせ</h1>\n<p>こんにちは、\n   山田です。&nbsp;本日は &amp; &lt;b&gt; &copy; '
        '&#x3042;&#12354;&hellip;</p>\n'
        '<p>資料は<a href="https://example.jp/docs?a=1&amp;b=2">こちら</a>、'
        '連絡は<a href="mailto:taro@example.jp?subject=hi">taro@example.jp</a>へ。<br>改行の後<br/>'
        '<a href="http://example.jp/">http://example.jp/</a></p>\n'
        '<ul><li>一つ目</li><li>二つ目</li></ul>\n<table><tr><td>品名</td><td>数量</td></tr>'
        '<tr><td>りんご</td><td>3</td></tr></table>\n'
        '<pre>  整形済み\n    テキスト</pre><!-- 注釈 --><div>終わり</div></body></html>\n')

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


def word(text, label, codec, q=False):
    """An encoded word of the email package, in `codec` under the name `label`."""
    data = text.encode(codec)
    if q:
        return email.quoprimime.header_encode(data, label)
    return email.base64mime.header_encode(data, label)


def modern(subject, body, subtype='plain', **content):
    """A message as the default policy writes it: headers in UTF-8 words."""
    msg = EmailMessage(policy=MODERN)
    msg['From'] = '山田太郎 <yamada@example.jp>'
    msg['To'] = 'hanako@example.jp'
    msg['Subject'] = subject
    msg['Date'] = DATE
    msg['Message-ID'] = '<20030105123456.9@example.jp>'
    msg.set_content(body, subtype=subtype, **content)
    return msg


def coded_message(label, codec, subject, body, cte='8bit', q=False, name='山田 太郎', header_label=None):
    """Headers and body in `codec`, named `label` (the headers' words
    `header_label` if given), the body as `cte` says."""
    msg = MIMENonMultipart('text', 'plain', charset=label)
    data = body.encode(codec)
    if cte == 'base64':
        msg.set_payload(email.base64mime.body_encode(data))
    elif cte == 'quoted-printable':
        msg.set_payload(email.quoprimime.body_encode(data.decode('latin-1')))
    else:
        msg.set_payload(data.decode('ascii', 'surrogateescape'))
    msg['Content-Transfer-Encoding'] = cte
    header_label = header_label or label
    msg['From'] = word(name, header_label, codec, q) + ' <taro@example.jp>'
    msg['To'] = 'hanako@example.jp'
    msg['Subject'] = word(subject, header_label, codec, q)
    msg['Date'] = DATE
    msg['Message-ID'] = '<20030105123456.2@example.jp>'
    return msg.as_bytes(policy=WIRE)


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

    # UTF-8 as modern mailers write it: words in the headers, an 8bit body.
    yield 'utf8_8bit', modern('会議の資料について', BODY + SPECIALS).as_bytes()

    msg = modern('見積書の送付', BODY + SPECIALS, cte='base64')
    msg.replace_header('From', '佐藤花子 <sato@example.jp>')
    yield 'utf8_base64', msg.as_bytes()

    # Q words (blanks as "_") and a quoted-printable body with soft line breaks.
    yield 'utf8_quoted_printable', coded_message('utf-8', 'utf-8', 'Re: 週報 ①の件 (再送)',
                                                 BODY + LONG_LINE + SPECIALS, 'quoted-printable', q=True)

    # A character split between two words: the first ends inside 田.
    name = '山田太郎からのお知らせ'.encode('utf-8')
    raw = coded_message('utf-8', 'utf-8', 'x', BODY)
    yield 'utf8_split_character', raw.replace(
        b'Subject: =?utf-8?b?eA==?=', b'Subject: =?UTF-8?B?%s?= =?UTF-8?B?%s?=' % (
            base64.b64encode(name[:4]), base64.b64encode(name[4:])))

    # RFC 6532: the headers themselves in UTF-8.
    yield 'utf8_raw_headers', modern('生の UTF-8 件名 ①', BODY).as_bytes(policy=MODERN_RAW)

    # ISO-2022-JP text under UTF-8 headers.
    yield 'jis_body_utf8_headers', modern('JIS の本文', BODY, charset=JIS).as_bytes()

    yield 'shift_jis_8bit', coded_message('Shift_JIS', 'cp932', 'シフトJISの件名', BODY)
    # Python reads the code page's words only as CP932.
    yield 'windows31j_base64', coded_message('Windows-31J', 'cp932', '機種依存文字①㈱髙',
                                             BODY + SPECIALS_CP932, 'base64', header_label='CP932')
    yield 'euc_jp_quoted_printable', coded_message('EUC-JP', 'euc_jp', 'EUC-JP の件名',
                                                   BODY + LONG_LINE, 'quoted-printable')
    yield 'latin1_quoted_printable', coded_message('ISO-8859-1', 'latin-1', 'Café × 2',
                                                   'Café à la crème, 2 × 3 ÷ 4 ±1°\n',
                                                   'quoted-printable', q=True, name='Zoë')
    yield 'us_ascii', coded_message('us-ascii', 'ascii', 'Plain ASCII subject',
                                    'Hello, world.\nSecond line.\n', '7bit', q=True, name='Taro Yamada')

    # HTML only, and HTML beside a named file.
    yield 'html_only', modern('HTMLだけのメール', HTML, subtype='html', cte='quoted-printable').as_bytes()

    msg = modern('HTMLと添付', HTML, subtype='html')
    msg.add_attachment(b'%PDF-1.4\n', maintype='application', subtype='pdf', filename='a.pdf')
    msg.set_boundary('mixed-boundary-1')
    yield 'html_with_attachment', msg.as_bytes()

    # Both forms: the text one is shown.
    msg = modern('テキストとHTML', BODY + SPECIALS, cte='quoted-printable')
    msg.add_alternative(HTML, subtype='html')
    msg.set_boundary('alternative-boundary-1')
    yield 'alternative', msg.as_bytes()


class TextOfHtml(html.parser.HTMLParser):
    """HTML as the message view shows it: tags dropped, what <script>, <style>
    and <title> hold dropped, blanks collapsed outside <pre>, a line break for
    <br> and where a block element begins or ends a line, a blank before each
    table cell, and a link's target after its text in angle brackets unless the
    text already is it (mailto: links as the bare address)."""
    BLOCKS = {'address', 'article', 'aside', 'blockquote', 'body', 'center', 'dd', 'div', 'dl', 'dt',
              'fieldset', 'figcaption', 'figure', 'footer', 'form', 'h1', 'h2', 'h3', 'h4', 'h5', 'h6',
              'header', 'hr', 'html', 'li', 'main', 'nav', 'ol', 'p', 'pre', 'section', 'table', 'tbody',
              'tfoot', 'thead', 'tr', 'ul'}
    HIDDEN = {'script', 'style', 'title'}
    SCHEMES = ('http:', 'https:', 'ftp:', 'mailto:')
    SPACE = ' \t\r\n\f'

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.out, self.line_start, self.pending = [], True, False
        self.hidden = self.pre = 0
        self.link = None

    def text(self):
        return ''.join(self.out)

    def visible(self, text):
        if self.pending:
            self.out.append(' ')
        self.pending = self.line_start = False
        self.out.append(text)

    def blank(self):
        self.pending = not self.line_start

    def end_line(self, always=False):
        if always or not self.line_start:
            self.out.append('\r\n')
        self.line_start, self.pending = True, False

    def handle_starttag(self, tag, attrs):
        if tag in self.HIDDEN:
            self.hidden += 1
        elif tag == 'br':
            if not self.hidden:
                self.end_line(always=True)
        elif tag in ('td', 'th'):
            self.blank()
        elif tag == 'a':
            href = (dict(attrs).get('href') or '').strip(self.SPACE)
            self.link = None
            if href.lower().startswith(self.SCHEMES):
                if href.lower().startswith('mailto:'):
                    href = href[7:].split('?')[0]
                self.link = (href, len(self.text()))
        elif tag in self.BLOCKS:
            self.end_line()
            self.pre += tag == 'pre'

    def handle_endtag(self, tag):
        if tag in self.HIDDEN:
            self.hidden = max(0, self.hidden - 1)
        elif tag == 'a' and self.link:
            target, mark = self.link
            self.link = None
            if self.text()[mark:].strip(self.SPACE) != target:
                self.blank()
                self.visible('<' + target + '>')
        elif tag in self.BLOCKS:
            self.end_line()
            if tag == 'pre':
                self.pre = max(0, self.pre - 1)

    def handle_data(self, data):
        if self.hidden:
            return
        for ch in data.replace('\r\n', '\n'):
            if ch == '\xa0':
                self.visible(' ')
            elif self.pre:
                self.out.append('\r\n' if ch == '\n' else ch)
                self.line_start, self.pending = ch == '\n', False
            elif ch in self.SPACE:
                self.blank()
            else:
                self.visible(ch)


def html_text(markup):
    parser = TextOfHtml()
    parser.feed(markup)
    parser.close()
    return parser.text()


def body_text(part):
    """A text part as Python reads it: in the codec of its charset, errors
    replaced; raw ISO-2022-JP when it names no charset."""
    charset = part.get_content_charset()
    if charset is None:
        text = part.get_content()
        text = text.encode('ascii').decode(JIS) if '\x1b' in text else text
    else:
        text = part.get_payload(decode=True).decode(CODECS.get(charset, charset), 'replace')
    if part.get_content_type() == 'text/html':
        return html_text(text.replace('\r\n', '\n'))
    return text.replace('\r\n', '\n').replace('\n', '\r\n')


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
        body = body_text(msg.get_body(preferencelist=('plain', 'html')))
        notes = ''
        for part in msg.walk():
            if part.get_content_type() == 'text/html':
                notes = 'HTMLファイル, '
            elif part.get_param('name') is not None:
                notes += '"%s", ' % part.get_param('name')
        fields.append(('attachments', notes[:-2]))
    else:
        body = body_text(msg)
    out = b''.join(k.encode() + b'=' + v.encode('cp932', 'geta') + b'\n' for k, v in fields)
    return out + b'body=\n' + body.encode('cp932', 'geta')


def main():
    for name, raw in messages():
        with open(os.path.join(HERE, name + '.eml'), 'wb') as f:
            f.write(raw)
        with open(os.path.join(HERE, name + '.expected'), 'wb') as f:
            f.write(reference(raw))


if __name__ == '__main__':
    main()
