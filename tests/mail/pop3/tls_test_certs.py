#!/usr/bin/env python3
"""Test certificates made with the openssl command in a folder of the caller's:
a test authority, and server certificates it signs for localhost (good), for
another name only (wrong_name) and for localhost but wholly in the past
(expired); and one for localhost signed by a second authority that nothing
trusts (untrusted). Each is a (certificate chain PEM, key PEM) pair of paths;
the chain file holds the server's certificate and then its authority's, as a
server sends them.
Usage: tls_test_certs.py FOLDER   (writes them there and lists them)"""
import datetime
import os
import subprocess
import sys

GOOD_NAMES = "DNS:localhost,IP:127.0.0.1"
WRONG_NAMES = "DNS:mail.example.jp"

CA_CONFIG = """[ca]
default_ca = test_ca
[test_ca]
database = {folder}/{name}.index
new_certs_dir = {folder}
serial = {folder}/{name}.serial
default_md = sha256
policy = any_name
unique_subject = no
copy_extensions = none
[any_name]
commonName = supplied
[authority]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
"""

SERVER_EXTENSIONS = """basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
subjectAltName = {names}
"""


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def asn1_time(when):
    return when.strftime("%Y%m%d%H%M%SZ")


class Authority:
    """A certificate authority whose validity starts long ago, so that the
    certificates it signed in the past lie within it."""

    def __init__(self, folder, name, common_name):
        self.folder, self.name = folder, name
        self.key = os.path.join(folder, name + ".key")
        self.cert = os.path.join(folder, name + ".pem")
        self.config = os.path.join(folder, name + ".cnf")
        with open(self.config, "w") as f:
            f.write(CA_CONFIG.format(folder=folder, name=name))
        open(os.path.join(folder, name + ".index"), "w").close()
        with open(os.path.join(folder, name + ".serial"), "w") as f:
            f.write("%s\n" % os.urandom(8).hex().upper())
        request = self._request(name, common_name)
        now = datetime.datetime.now(datetime.timezone.utc)
        self._sign(request, self.cert, now - datetime.timedelta(days=3650), now + datetime.timedelta(days=30),
                   ["-selfsign", "-extensions", "authority"])

    def _request(self, name, common_name):
        key = os.path.join(self.folder, name + ".key")
        request = os.path.join(self.folder, name + ".csr")
        openssl("req", "-new", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", request,
                "-subj", "/CN=" + common_name)
        return request

    def _sign(self, request, out, start, end, extra):
        openssl("ca", "-batch", "-notext", "-config", self.config, "-keyfile", self.key, "-cert", self.cert,
                "-in", request, "-out", out, "-startdate", asn1_time(start), "-enddate", asn1_time(end), *extra)

    def issue(self, name, common_name, names, start, end):
        """Signs a server certificate for `names` (subjectAltName) valid from start to end."""
        request = self._request(name, common_name)
        extensions = os.path.join(self.folder, name + ".ext")
        with open(extensions, "w") as f:
            f.write(SERVER_EXTENSIONS.format(names=names))
        cert = os.path.join(self.folder, name + ".pem")
        self._sign(request, cert, start, end, ["-extfile", extensions])
        chain = os.path.join(self.folder, name + ".chain.pem")
        with open(chain, "w") as out, open(cert) as leaf, open(self.cert) as authority:
            out.write(leaf.read() + authority.read())
        return chain, os.path.join(self.folder, name + ".key")


class TestCerts:
    def __init__(self, folder):
        tag = os.urandom(4).hex()
        self.authority = Authority(folder, "ca", "Vesmira Test CA " + tag)
        stranger = Authority(folder, "stranger", "Vesmira Untrusted CA " + tag)
        now = datetime.datetime.now(datetime.timezone.utc)
        day = datetime.timedelta(days=1)
        self.ca = self.authority.cert
        self.ca_name = "Vesmira Test CA " + tag
        self.good = self.authority.issue("good", "localhost", GOOD_NAMES, now - day, now + 7 * day)
        self.wrong_name = self.authority.issue("wrong", "mail.example.jp", WRONG_NAMES, now - day, now + 7 * day)
        self.expired = self.authority.issue("expired", "localhost", GOOD_NAMES, now - 400 * day, now - 30 * day)
        self.untrusted = stranger.issue("untrusted", "localhost", GOOD_NAMES, now - day, now + 7 * day)


def main():
    folder = os.path.abspath(sys.argv[1])
    os.makedirs(folder, exist_ok=True)
    certs = TestCerts(folder)
    print("authority %s (%s)" % (certs.ca, certs.ca_name))
    for kind in ("good", "wrong_name", "expired", "untrusted"):
        print("%s %s %s" % ((kind,) + getattr(certs, kind)))


if __name__ == "__main__":
    main()
