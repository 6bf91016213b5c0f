# A hostile CalDAV server: the first path segment chooses how it misbehaves.
# Usage: hostile.py [CERTIFICATE KEY]; prints its port, and that of the same server over TLS when given a certificate.
import ssl
import sys
import threading
from http.server import BaseHTTPRequestHandler, HTTPServer

TODO = b"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nUID:x\r\nDUE;VALUE=DATE:20261210\r\nSUMMARY:Mathe: fremd\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"


def listing(href, extra=b""):
    return (b'<?xml version="1.0"?><d:multistatus xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav"><d:response><d:href>'
            + href + b'</d:href><d:propstat><d:prop><d:getetag>"1"</d:getetag>' + extra
            + b'</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response><d:sync-token>t1</d:sync-token></d:multistatus>')


class Handler(BaseHTTPRequestHandler):
    def answer(self):
        self.rfile.read(int(self.headers.get("Content-Length", 0)))
        mode = self.path.split("/")[1]
        status, body, headers = 207, b"", {}
        if mode == "big":
            body = b"<d:multistatus xmlns:d='DAV:'>" + b" " * (9 * 1024 * 1024) + b"</d:multistatus>"
        elif mode == "badxml":
            body = b"<d:multistatus xmlns:d='DAV:'><d:response><d:href>/badxml/tasks/a.ics</d:href>"
        elif mode == "outside":
            body = listing(b"/elsewhere/a.ics")
        elif mode == "redirect":
            status, headers = 302, {"Location": "http://127.0.0.2:%d%s" % (self.server.server_port, self.path)}
        elif mode == "badical":
            body = listing(b"/badical/tasks/a.ics", b"<c:calendar-data>BEGIN:VCALENDAR\nBEGIN:VTODO\nDUE:kaputt</c:calendar-data>")
        self.send_response(status)
        for name, value in headers.items():
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    do_REPORT = do_PROPFIND = do_PUT = do_DELETE = do_GET = answer

    def log_message(self, *args):
        pass


server = HTTPServer(("127.0.0.1", 0), Handler)
ports = [server.server_port]
if len(sys.argv) > 2:
    tls = HTTPServer(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(sys.argv[1], sys.argv[2])
    tls.socket = context.wrap_socket(tls.socket, server_side=True)
    threading.Thread(target=tls.serve_forever, daemon=True).start()
    ports.append(tls.server_port)
print(*ports, flush=True)
server.serve_forever()
