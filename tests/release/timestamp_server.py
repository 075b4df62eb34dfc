"""A time-stamping authority on 127.0.0.1 for the signing test: answers each
RFC 3161 request posted to it with `openssl ts -reply` and its configuration.

    timestamp_server.py OPENSSL_TS_CONFIG PORT_FILE

writes the port it listens on to PORT_FILE once it takes requests.
"""
import http.server
import os
import subprocess
import sys


class TimeStampHandler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", sys.argv[1], "-queryfile", "/dev/stdin", "-out", "/dev/stdout"],
            input=query, capture_output=True)
        if reply.returncode != 0:
            sys.stderr.write(reply.stderr.decode(errors="replace"))
            self.send_error(500)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)


server = http.server.HTTPServer(("127.0.0.1", 0), TimeStampHandler)
with open(sys.argv[2] + ".part", "w") as port_file:
    port_file.write(str(server.server_port))
# Renamed once written, so a reader never sees half a number.
os.replace(sys.argv[2] + ".part", sys.argv[2])
server.serve_forever()
