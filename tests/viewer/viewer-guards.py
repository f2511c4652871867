#!/usr/bin/env python3
"""The viewer listens to its own page only: a request naming another host or coming from another
page's script is refused, an oversized or malformed one gets a 4xx, and the device keeps running
through all of them. Usage: viewer-guards.py TORVANE_SIM"""

import http.client
import re
import signal
import socket
import subprocess
import sys

viewer = subprocess.Popen([sys.argv[1], "view", "--port", "0"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
failures = []


def check(what, got, wanted):
    if got != wanted:
        failures.append(f"{what}: got {got}, wanted {wanted}")


try:
    address = None
    for line in viewer.stdout:
        match = re.search(r"http://127\.0\.0\.1:(\d+)/", line)
        if match:
            address = int(match.group(1))
            break
    if address is None:
        print("the viewer printed no address")
        sys.exit(1)
    own = f"127.0.0.1:{address}"

    def request(method, path, body=None, headers=None):
        connection = http.client.HTTPConnection("127.0.0.1", address, timeout=20)
        connection.putrequest(method, path, skip_host=True, skip_accept_encoding=True)
        for name, value in (headers or {}).items():
            connection.putheader(name, value)
        if body is not None:
            connection.putheader("Content-Length", str(len(body)))
        connection.endheaders(body)
        response = connection.getresponse()
        response.read()
        connection.close()
        return response.status

    json_headers = {"Host": own, "Content-Type": "application/json"}
    check("another host name", request("GET", "/", headers={"Host": f"rebound.example:{address}"}), 403)
    check("a script of another page", request("POST", "/api/command", b'{"command": "home"}',
          dict(json_headers, Origin="http://elsewhere.example")), 403)
    check("an oversized body", request("POST", "/api/command", b"[" + b"1," * (1 << 20) + b"1]", json_headers), 413)
    check("malformed JSON", request("POST", "/api/command", b'{"command": ', json_headers), 400)
    check("a form, not JSON", request("POST", "/api/command", b"command=home",
          {"Host": own, "Content-Type": "application/x-www-form-urlencoded"}), 415)

    with socket.create_connection(("127.0.0.1", address), timeout=20) as raw:
        raw.sendall(b"NOT A REQUEST\r\n\r\n")
        answer = raw.recv(64).decode(errors="replace")
        if answer and not re.match(r"HTTP/1\.[01] 4\d\d", answer):
            failures.append(f"a malformed request line: answered {answer!r}")

    # Still serving, and the device still answers.
    check("the page afterwards", request("GET", "/", headers={"Host": own}), 200)
    check("a dump afterwards", request("GET", "/api/dump?target=springboard", headers={"Host": own}), 200)
    check("the page's own request", request("POST", "/api/command", b'{"command": "home"}',
          dict(json_headers, Origin=f"http://{own}")), 200)
finally:
    viewer.send_signal(signal.SIGINT)
    try:
        status = viewer.wait(timeout=30)
    except subprocess.TimeoutExpired:
        viewer.kill()
        status = "hung"
    check("the viewer's exit on Ctrl-C", status, 0)

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
