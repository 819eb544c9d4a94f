#!/usr/bin/env python3
"""The Linux side of the simulated distribution: sets up a state folder, reads back what the
simulated tools recorded, and serves the server's OTA endpoint while the simulated server is up.

    sim.py init DIR [--running] [--server-up] [--boot-delay-ms N] [--restart-delay-ms N]
                    [--route-file FILE]
    sim.py serve DIR [--port 8003] [--max-seconds 600] [--parent PID]
    sim.py journal DIR

See README.md next to this file for the files of the state folder.
"""

import argparse
import json
import os
import select
import socket
import subprocess
import sys
import time

OTA_PATH = "/tarvino/ota/"

DEFAULT_CONFIG = """\
# Configuration of the voice-assistant server.
server:
  ip: 0.0.0.0
  port: 8000
  websocket: "ws://127.0.0.1:8000/tarvino/v1/"
LLM:
  ChatGLMLLM:
    type: openai
    model_name: glm-4-flash
    api_key: "the-author-test-key"
TTS:
  EdgeTTS:
    type: edge
    voice: "zh-CN-XiaoxiaoNeural"
    output_file: tmp/
"""


# --- the state folder -------------------------------------------------------------------------

def now_ms():
    return int(time.time() * 1000)


def read_state(folder):
    state = {"distro": "Stopped", "server_up_at_ms": "never", "boot_delay_ms": "0",
             "restart_delay_ms": "0", "boot": "0", "keepalive": ""}
    try:
        with open(os.path.join(folder, "state"), encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\r\n")
                if "=" in line and not line.startswith("#"):
                    key, value = line.split("=", 1)
                    state[key] = value
    except FileNotFoundError:
        pass
    return state


def write_state(folder, state):
    temp = os.path.join(folder, "state.tmp-py")
    with open(temp, "w", encoding="utf-8", newline="\n") as f:
        for key, value in state.items():
            f.write(f"{key}={value}\n")
    os.replace(temp, os.path.join(folder, "state"))


def update_state(folder, **values):
    state = read_state(folder)
    state.update({k: str(v) for k, v in values.items()})
    write_state(folder, state)


def server_up(folder, state=None):
    state = state or read_state(folder)
    if state.get("distro") != "Running":
        return False
    up_at = state.get("server_up_at_ms", "never")
    return up_at != "never" and now_ms() >= int(up_at)


def init(folder, running=False, server_up_now=False, boot_delay_ms=0, restart_delay_ms=0,
         route=None, config=DEFAULT_CONFIG):
    """A fresh state folder: every earlier file removed, then the given state written."""
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.isfile(path):
            os.remove(path)
    write_state(folder, {
        "distro": "Running" if running else "Stopped",
        "server_up_at_ms": "0" if server_up_now else "never",
        "boot_delay_ms": str(boot_delay_ms),
        "restart_delay_ms": str(restart_delay_ms),
        "boot": "1" if running else "0",
        "keepalive": "",
    })
    with open(os.path.join(folder, "config.yaml"), "w", encoding="utf-8", newline="\n") as f:
        f.write(config)
    if route is not None:
        with open(os.path.join(folder, "route.txt"), "wb") as f:
            f.write(route.encode("utf-8") if isinstance(route, str) else route)


def journal(folder):
    """The journal as a list of (seconds, pid, program, arguments); program + " " + arguments is
    the command line as the program received it."""
    entries = []
    try:
        with open(os.path.join(folder, "journal.log"), encoding="utf-8") as f:
            for line in f:
                stamp, pid, program, arguments = line.rstrip("\n").split("\t", 3)
                entries.append((float(stamp), int(pid), program, arguments))
    except FileNotFoundError:
        pass
    return entries


def command_lines(folder):
    return [f"{program} {arguments}" for _, _, program, arguments in journal(folder)]


def table(folder, name):
    """firewall.txt or portproxy.txt as a list of dicts, in the machine's order."""
    rows = []
    try:
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\n")
                if line:
                    rows.append(dict(field.split("=", 1) for field in line.split("\t")))
    except FileNotFoundError:
        pass
    return rows


# --- the configuration ------------------------------------------------------------------------

def _scalar(text):
    text = text.strip()
    if len(text) >= 2 and text[0] == '"' and text[-1] == '"':
        return json.loads(text)
    if len(text) >= 2 and text[0] == "'" and text[-1] == "'":
        return text[1:-1].replace("''", "'")
    return text.split(" #", 1)[0].rstrip()


def yaml_values(text):
    """Every scalar of a YAML file of nested mappings, by its dotted key (".a.b")."""
    values, stack = {}, []  # stack of (indent, key)
    for raw in text.splitlines():
        stripped = raw.lstrip(" ")
        if not stripped or stripped.startswith("#") or stripped.startswith("-") or ":" not in stripped:
            continue
        indent = len(raw) - len(stripped)
        key, _, rest = stripped.partition(":")
        if rest and not rest.startswith(" "):
            continue
        while stack and stack[-1][0] >= indent:
            stack.pop()
        stack.append((indent, _scalar(key)))
        if rest.strip() and not rest.strip().startswith("#"):
            values["." + ".".join(k for _, k in stack)] = _scalar(rest)
    return values


def yaml_get(folder, key):
    try:
        with open(os.path.join(folder, "config.yaml"), encoding="utf-8") as f:
            return yaml_values(f.read()).get(key)
    except FileNotFoundError:
        return None


# --- the OTA endpoint -------------------------------------------------------------------------

def _answer(folder, connection):
    connection.settimeout(2.0)
    request = b""
    try:
        while b"\r\n\r\n" not in request and len(request) < 16384:
            chunk = connection.recv(4096)
            if not chunk:
                break
            request += chunk
    except OSError:
        return
    head = request.split(b"\r\n\r\n", 1)[0].decode("latin-1")
    lines = head.split("\r\n")
    parts = lines[0].split(" ")
    method, path = (parts[0], parts[1]) if len(parts) >= 2 else ("", "")
    agent = ""
    for line in lines[1:]:
        name, _, value = line.partition(":")
        if name.strip().lower() == "user-agent":
            agent = value.strip()
    with open(os.path.join(folder, "ota.log"), "a", encoding="utf-8") as log:
        log.write(f"{time.time():.3f}\t{method}\t{path}\t{agent}\n")

    if path.split("?", 1)[0] != OTA_PATH:
        status, body = "404 Not Found", b'{"error":"not found"}'
    elif method != "GET":
        status, body = "405 Method Not Allowed", b'{"error":"method not allowed"}'
    else:
        address = yaml_get(folder, ".server.websocket") or ""
        status = "200 OK"
        body = json.dumps({"websocket": {"url": address}}, separators=(",", ":"),
                          ensure_ascii=False).encode("utf-8")
    reply = (f"HTTP/1.1 {status}\r\nContent-Type: application/json; charset=utf-8\r\n"
             f"Content-Length: {len(body)}\r\nConnection: close\r\n\r\n").encode("ascii") + body
    try:
        connection.sendall(reply)
    except OSError:
        pass


def _listen(hosts, port):
    sockets = []
    for host in hosts:
        family = socket.AF_INET6 if ":" in host else socket.AF_INET
        try:
            s = socket.socket(family, socket.SOCK_STREAM)
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            if family == socket.AF_INET6:
                s.setsockopt(socket.IPPROTO_IPV6, socket.IPV6_V6ONLY, 1)
            s.bind((host, port))
            s.listen(16)
            sockets.append(s)
        except OSError:
            s.close()
    return sockets


def _alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except ProcessLookupError:
        return False
    except PermissionError:
        return True


def serve(folder, port=8003, hosts=("127.0.0.1", "::1"), max_seconds=600.0, parent=None):
    """Answers while the simulated server is up; closes the port while it is down, so that
    connections are refused. Ends after max_seconds, when the parent ends or the folder goes."""
    deadline = time.monotonic() + max_seconds
    listeners = []
    with open(os.path.join(folder, "ota.pid"), "w") as f:
        f.write(str(os.getpid()))
    try:
        while time.monotonic() < deadline and os.path.isdir(folder):
            if parent and not _alive(parent):
                break
            up = server_up(folder)
            if up and not listeners:
                listeners = _listen(hosts, port)
            elif not up and listeners:
                for s in listeners:
                    s.close()
                listeners = []
            if not listeners:
                time.sleep(0.05)
                continue
            ready, _, _ = select.select(listeners, [], [], 0.05)
            for s in ready:
                try:
                    connection, _ = s.accept()
                except OSError:
                    continue
                with connection:
                    if server_up(folder):
                        _answer(folder, connection)
    finally:
        for s in listeners:
            s.close()


class OtaServer:
    """The OTA endpoint in a child process, for the length of a `with` block."""

    def __init__(self, folder, port=8003, max_seconds=600):
        self.folder, self.port, self.max_seconds = folder, port, max_seconds
        self.process = None

    def __enter__(self):
        pid_file = os.path.join(self.folder, "ota.pid")
        if os.path.exists(pid_file):
            os.remove(pid_file)
        self.process = subprocess.Popen(
            [sys.executable, os.path.abspath(__file__), "serve", self.folder,
             "--port", str(self.port), "--max-seconds", str(self.max_seconds),
             "--parent", str(os.getpid())],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(pid_file) or self.process.poll() is not None:
                break
            time.sleep(0.05)
        return self

    def stop(self):
        if self.process and self.process.poll() is None:
            os.kill(self.process.pid, 15)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.kill(self.process.pid, 9)
                self.process.wait()
        self.process = None

    def __exit__(self, *exc):
        self.stop()


# --- command line -----------------------------------------------------------------------------

def main(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    p = commands.add_parser("init")
    p.add_argument("dir")
    p.add_argument("--running", action="store_true")
    p.add_argument("--server-up", action="store_true")
    p.add_argument("--boot-delay-ms", type=int, default=0)
    p.add_argument("--restart-delay-ms", type=int, default=0)
    p.add_argument("--route-file")
    p = commands.add_parser("serve")
    p.add_argument("dir")
    p.add_argument("--port", type=int, default=8003)
    p.add_argument("--max-seconds", type=float, default=600.0)
    p.add_argument("--parent", type=int)
    p = commands.add_parser("journal")
    p.add_argument("dir")
    args = parser.parse_args(argv)
    folder = os.path.abspath(args.dir)
    if args.command == "init":
        route = None
        if args.route_file:
            with open(args.route_file, "rb") as f:
                route = f.read()
        init(folder, args.running, args.server_up, args.boot_delay_ms, args.restart_delay_ms,
             route)
    elif args.command == "serve":
        serve(folder, args.port, max_seconds=args.max_seconds, parent=args.parent)
    else:
        for stamp, pid, program, arguments in journal(folder):
            print(f"{stamp:.3f} {pid} {program} {arguments}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
