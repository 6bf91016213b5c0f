# A proxy in front of the test's CalDAV server whose first answer with a todo titled "... S. 13" in it carries
# the todos garbled, or leaves them out. Usage: flaky.py SERVER-PORT garble|leave-out; prints its own port.
import http.client
import re
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

spoilt = False


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def forward(self):
        global spoilt
        body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        server = http.client.HTTPConnection("127.0.0.1", int(sys.argv[1]))
        server.request(self.command, self.path, body, {k: v for k, v in self.headers.items() if k.lower() not in ("host", "connection", "accept-encoding")})
        answer = server.getresponse()
        data = answer.read()
        if not spoilt and b"calendar-data" in data and b"S. 13" in data:
            spoilt = True
            if sys.argv[2] == "garble":
                data = re.sub(rb"(<[^<>/]*calendar-data[^<>]*>).*?(</)", rb"\1kaputt\2", data, flags=re.S)
            else:
                data = re.sub(rb"<[^<>/]*calendar-data[^<>]*>.*?</[^<>]*calendar-data>", b"", data, flags=re.S)
        self.send_response_only(answer.status)
        for name, value in answer.getheaders():
            if name.lower() not in ("content-length", "transfer-encoding", "connection"):
                self.send_header(name, value)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    do_PUT = do_DELETE = do_PROPFIND = do_REPORT = do_MKCALENDAR = forward


proxy = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(proxy.server_port, flush=True)
proxy.serve_forever()
