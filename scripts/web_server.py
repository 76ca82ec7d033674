#!/usr/bin/env python3
"""Serves a folder on http://127.0.0.1:PORT/ for the web page, isolated from
other origins (Cross-Origin-Opener-Policy: same-origin and
Cross-Origin-Embedder-Policy: require-corp), which the page needs for its
threaded build; --no-isolation serves without those headers, as a plain static
host would, and the page then runs its single-threaded build.

usage: web_server.py FOLDER [--port PORT] [--no-isolation]
"""
import argparse
import functools
import http.server


class Handler(http.server.SimpleHTTPRequestHandler):
    isolated = True

    def end_headers(self):
        if self.isolated:
            self.send_header("Cross-Origin-Opener-Policy", "same-origin")
            self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        super().end_headers()

    def log_message(self, *args):
        pass


def serve(folder, port, isolated):
    """A running server (port 0 picks a free one); the caller serves it forever."""
    handler = type("Handler", (Handler,), {"isolated": isolated})
    return http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(handler, directory=folder))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--port", type=int, default=8000)
    parser.add_argument("--no-isolation", action="store_true")
    args = parser.parse_args()
    httpd = serve(args.folder, args.port, not args.no_isolation)
    print(f"web: serving http://127.0.0.1:{httpd.server_address[1]}/", flush=True)
    try:
        httpd.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
