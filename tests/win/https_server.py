#!/usr/bin/env python3
"""A small HTTPS server on the loopback address for the Windows-side HTTPS tests.

Runs inside the private network namespace that https_namespace.sh makes, so it can take port
443 without touching anything outside. Answers by path:

  /text              200, a short UTF-8 text
  /echo              200, the request line and the User-Agent header, one per line
  /status/<n>        status <n> with a short body
  /size/<n>          200, <n> bytes of "a" (with Content-Length)
  /latin1            200, "café" in Latin-1 (not UTF-8)
  /hang              reads the request and never answers
  /v1/forecast?...   the forecast answer set in STATE/forecast: its first line is the status,
                     the rest the body; a built-in clear-sky answer while that file is absent
  /api/?...          the place-search answer set in STATE/places the same way (a first line
                     "hang" reads the request and never answers); a built-in answer of one
                     city and one house named Tokyo while that file is absent

Every request is appended to STATE/requests.log as "<path>\t<user agent>". STATE/ready
appears once the server listens.
"""
import argparse
import http.server
import os
import ssl
import sys
import threading

DEFAULT_FORECAST = (200, b'{"current":{"temperature_2m":21.5,"weather_code":0},'
                         b'"hourly":{"precipitation_probability":[10]}}')
DEFAULT_PLACES = (200, (
    '{"type":"FeatureCollection","features":['
    '{"type":"Feature","geometry":{"type":"Point","coordinates":[139.7671,35.6812]},'
    '"properties":{"name":"東京都","state":"東京都","country":"日本","type":"city"}},'
    '{"type":"Feature","geometry":{"type":"Point","coordinates":[139.7,35.6]},'
    '"properties":{"name":"Tokyo House","country":"日本","type":"house"}}]}').encode("utf-8"))


def make_handler(state):
    log_lock = threading.Lock()
    stop = threading.Event()

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, fmt, *args):  # keep the test output quiet
            pass

        def record(self):
            with log_lock, open(os.path.join(state, "requests.log"), "a", encoding="utf-8") as log:
                log.write(f"{self.path}\t{self.headers.get('User-Agent', '')}\n")

        def answer(self, status, body, content_type="text/plain; charset=utf-8"):
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(body)
            self.wfile.flush()
            self.close_connection = True

        def scripted(self, name, default):
            """(status, body) from STATE/<name>, or None for "hang"."""
            try:
                with open(os.path.join(state, name), "rb") as f:
                    status_line, _, body = f.read().partition(b"\n")
            except FileNotFoundError:
                return default
            if status_line.strip() == b"hang":
                return None
            return int(status_line.strip()), body

        def do_GET(self):
            self.record()
            path = self.path
            if path == "/text":
                self.answer(200, "VESSA の試験: 晴れ °C".encode("utf-8"))
            elif path == "/echo":
                ua = self.headers.get("User-Agent", "")
                self.answer(200, f"{self.requestline}\n{ua}\n".encode("utf-8"))
            elif path.startswith("/status/"):
                status = int(path[len("/status/"):])
                self.answer(status, f"status {status}".encode("ascii"))
            elif path.startswith("/size/"):
                self.answer(200, b"a" * int(path[len("/size/"):]))
            elif path == "/latin1":
                self.answer(200, "café".encode("latin-1"), "text/plain; charset=iso-8859-1")
            elif path == "/hang":
                stop.wait()  # until the server goes
            elif path.startswith("/v1/forecast?"):
                status, body = self.scripted("forecast", DEFAULT_FORECAST)
                self.answer(status, body, "application/json")
            elif path.startswith("/api/?"):
                scripted = self.scripted("places", DEFAULT_PLACES)
                if scripted is None:
                    stop.wait()
                else:
                    self.answer(scripted[0], scripted[1], "application/json")
            else:
                self.answer(404, b"not found")

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--port", type=int, default=443)
    parser.add_argument("--state", required=True)
    args = parser.parse_args()

    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert, args.key)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), make_handler(args.state))
    server.daemon_threads = True
    # The handshake runs in each request's thread, so a silent client never holds up the rest.
    server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
    with open(os.path.join(args.state, "ready"), "w", encoding="ascii") as ready:
        ready.write(f"{os.getpid()}\n")
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
