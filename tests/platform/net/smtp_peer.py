"""A mail server for the tests, on 127.0.0.1 only.

    smtp_peer.py <capture file> <user> <password>

Listens on a free port, prints that port on a line of its own, takes mails with AUTH (no TLS) for the given user
and password only, and writes each mail into the capture file before answering, so the file is complete when the
client hears that the mail was taken. Stops when its standard input closes.
"""
import socket
import sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


def main():
    capture, user, password = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()
    logins = []

    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = isinstance(auth_data, LoginPassword) and auth_data.login == user and auth_data.password == password
        if ok:
            logins.append(auth_data.login.decode())
        # "handled=False" makes the server answer 535 itself; the default leaves the client waiting.
        return AuthResult(success=ok, handled=False)

    class Handler:
        async def handle_DATA(self, server, session, envelope):
            with open(capture, "w", encoding="utf-8", newline="") as out:
                out.write("LOGIN %s\n" % (logins[-1] if logins else ""))
                out.write("FROM %s\n" % envelope.mail_from)
                for rcpt in envelope.rcpt_tos:
                    out.write("TO %s\n" % rcpt)
                out.write("DATA\n")
                out.write(envelope.content.decode("utf-8", "replace"))
            return "250 OK"

    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    controller = Controller(Handler(), hostname="127.0.0.1", port=port, authenticator=authenticate,
                            auth_require_tls=False, auth_required=True)
    controller.start()
    print(port, flush=True)
    sys.stdin.read()
    controller.stop()


if __name__ == "__main__":
    main()
