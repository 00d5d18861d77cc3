"""A time-stamping authority on the loopback address for the release check, answered by `openssl ts -reply`.

    timestamp_server.py CONFIG PORT_FILE

Serves RFC 3161 over HTTP on 127.0.0.1, on a port the system picks, which it writes to PORT_FILE once it
listens. Each POST of an application/timestamp-query is answered with `openssl ts -reply -config CONFIG`'s
application/timestamp-reply. It runs until it is terminated (the check stops it), or for at most half an
hour.
"""

import http.server
import os
import subprocess
import sys
import threading

LIFETIME_SECONDS = 1800


class Authority(http.server.BaseHTTPRequestHandler):
    config = ""

    def do_POST(self):  # noqa: N802 (the handler's name is http.server's)
        length = int(self.headers.get("Content-Length", "0"))
        if not 0 < length <= 65536 or self.headers.get("Content-Type") != "application/timestamp-query":
            self.send_error(400, "expected an application/timestamp-query")
            return
        query = self.rfile.read(length)
        answer = subprocess.run(["openssl", "ts", "-reply", "-config", self.config, "-queryfile", "/dev/stdin"],
                                input=query, capture_output=True, timeout=60)
        if answer.returncode != 0 or not answer.stdout:
            sys.stderr.write(answer.stderr.decode(errors="replace"))
            self.send_error(500, "openssl ts -reply failed")
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(answer.stdout)))
        self.end_headers()
        self.wfile.write(answer.stdout)

    def log_message(self, format, *args):  # noqa: A002 (http.server's name)
        sys.stderr.write("timestamp server: " + format % args + "\n")


def main():
    config, port_file = sys.argv[1:]
    Authority.config = config
    server = http.server.HTTPServer(("127.0.0.1", 0), Authority)
    threading.Timer(LIFETIME_SECONDS, server.shutdown).start()
    with open(port_file + ".part", "w") as f:
        f.write(f"{server.server_address[1]}\n")
    os.replace(port_file + ".part", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
