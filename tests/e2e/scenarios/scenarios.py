#!/usr/bin/env python3
"""End-to-end scenarios: Quellor.exe under Wine, started by a debugger of ours from the folder of
the simulated wsl.exe and netsh.exe, each scenario from a fresh state folder with the simulated
OTA endpoint running. The test reads what the panel did from the journal of the simulated tools,
the state folder, the window's controls (through the test driver) and the debugger output.

    scenarios.py SCENARIO --wine-dir DIR --panel EXE --driver EXE --debug-run EXE --sim-bin DIR

SCENARIO: cold-start, warm-start, key-and-voice, never-up.
"""

import argparse
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, "..", "..", ".."))
sys.path.insert(0, os.path.join(SOURCE, "tests", "sim"))
import sim  # noqa: E402

CAPTION = "Calbrin"
STARTING = "AI 语音服务器正在启动..."
RESTARTING = "AI 语音服务器正在重启..."
NAT_ROUTE = "8.8.8.8 via 172.29.96.1 dev eth0 src 172.29.100.139 uid 0 \n    cache \n"
LIST = "wsl -l -v"
ROUTE_PROBE = "wsl -d ROZivuvarud -u root -e ip route get 8.8.8.8"
KEEP_ALIVE = 'start /b wsl -d ROZivuvarud -u root -e bash -c "tail -f /dev/null"'
KEEP_ALIVE_RUN = KEEP_ALIVE[len("start /b "):]  # what start /b runs: the journal's line
SHUTDOWN = "wsl -t ROZivuvarud"
RESTART = ('wsl -d ROZivuvarud -u root -e bash -c "docker compose -f '
           '/root/tarvino-server/docker-compose.yml restart"')
# How far a tick may stray from its period, as the journal sees it (process start included).
TICK_SLACK_MS = 1500


def edit(key, value):
    return (f"wsl -d ROZivuvarud -u root -e bash -c \"yq -i '{key} = \\\"{value}\\\"' "
            f"/root/tarvino-server/data/.config.yaml\"")


def lan_address():
    """The source address of this machine's route towards 8.8.8.8, as the panel finds it. A
    connected UDP socket asks the routing table and sends nothing."""
    try:
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
            s.connect(("8.8.8.8", 53))
            return s.getsockname()[0]
    except OSError:
        return ""


def running_text(lan):
    return f"\n\nAI 语音服务器运行中\n连接地址->http://{lan}:8003/tarvino/ota/"


def network_setup(route=NAT_ROUTE):
    """The command lines of one network set-up, for the given route probe output."""
    lines = [
        'netsh advfirewall firewall delete rule name="开放TCP - 8000"',
        'netsh advfirewall firewall add rule name="开放TCP - 8000" dir=in action=allow '
        'protocol=TCP localport=8000',
        'netsh advfirewall firewall delete rule name="开放TCP - 8003"',
        'netsh advfirewall firewall add rule name="开放TCP - 8003" dir=in action=allow '
        'protocol=TCP localport=8003',
        ROUTE_PROBE,
    ]
    if "172" in route and ".172" not in route:
        address = route.split("src ", 1)[1].split(" ", 1)[0]
        for port in ("8000", "8003"):
            lines += [
                f"netsh interface portproxy delete v4tov4 listenport={port} listenaddress=0.0.0.0",
                f"netsh interface portproxy add v4tov4 listenport={port} listenaddress=0.0.0.0 "
                f"connectport={port} connectaddress={address}",
            ]
    return lines


# --- the debugger output as the runners write it ----------------------------------------------

def exec1(command, limit_ms, exit_code):
    return [f"[CommonExec1] Command: {command}, timeout={limit_ms}ms\n",
            f"[CommonExec1] Exit code: {exit_code}\n"]


def exec2(command, output):
    return [f"[CommonExec2] Main Command: {command}\n", f"[CommonExec2] Output: {output}\n"]


def listing(state_word):
    return ("  NAME           STATE           VERSION\r\n"
            f"* ROZivuvarud    {state_word}         2\r\n")


def setup_lines(first, route=NAT_ROUTE):
    """The runners' lines of one network set-up; `first`: no rule or forward existed before, so
    every delete fails with exit code 1."""
    out = []
    delete_code = 1 if first else 0
    for line in network_setup(route):
        if line == ROUTE_PROBE:
            out += exec2(line, route)
        else:
            out += exec1(line, 3000, delete_code if " delete " in line else 0)
    return out


# --- the panel under Wine ---------------------------------------------------------------------

class Failure(Exception):
    pass


class Run:
    def __init__(self, args, name):
        self.args = args
        self.work = tempfile.mkdtemp(prefix=f"quellor-e2e-{name}-")
        self.state = os.path.join(self.work, "state")
        self.failures = []
        self.panel = None
        self.ota = None
        env_text = subprocess.run(
            ["bash", "-c", '. "$1" "$2" && env -0', "_",
             os.path.join(SOURCE, "tests", "wine", "env.sh"), args.wine_dir],
            check=True, capture_output=True).stdout.decode()
        self.env = dict(item.split("=", 1) for item in env_text.split("\0") if "=" in item)
        self.env.pop("WSL_UTF8", None)
        self.env["QUELLOR_SIM_DIR"] = self.state

    # Checks collect failures so that one run reports all it saw.
    def check(self, condition, message):
        if not condition:
            self.failures.append(message)
            print("FAIL:", message, flush=True)
        return condition

    def equal(self, got, want, what):
        return self.check(got == want, f"{what}:\n    got  {got!r}\n    want {want!r}")

    @staticmethod
    def windows_path(path):
        return "Z:" + os.path.abspath(path).replace("/", "\\")

    def wine(self, *argv, timeout=60):
        """Runs a Windows program through the harness' wrapper; its output, CRs dropped."""
        result = subprocess.run(
            [os.path.join(SOURCE, "tests", "wine", "wine-run.sh"), self.args.wine_dir, *argv],
            env=self.env, cwd=self.args.sim_bin, stdin=subprocess.DEVNULL,
            capture_output=True, timeout=timeout)
        return result.returncode, result.stdout.decode("utf-8", "replace").replace("\r", "")

    def drive(self, *argv, timeout_ms=20000):
        code, out = self.wine(self.args.driver, "--timeout", str(timeout_ms), *argv)
        return code, out[:-1] if out.endswith("\n") else out

    def status(self):
        code, text = self.drive("text", CAPTION, "1007")
        return text if code == 0 else None

    def wait_status(self, want, seconds):
        deadline = time.monotonic() + seconds
        got = None
        while time.monotonic() < deadline:
            got = self.status()
            if got == want:
                return True
            time.sleep(0.3)
        return self.equal(got, want, "status text")

    def start(self, **state):
        sim.init(self.state, **state)
        self.ota = sim.OtaServer(self.state, max_seconds=300).__enter__()
        self.debug_file = os.path.join(self.work, "debug.txt")
        self.log = open(os.path.join(self.work, "panel.log"), "wb")
        self.panel = subprocess.Popen(
            ["wine", self.args.debug_run, self.windows_path(self.debug_file),
             self.windows_path(self.args.panel)],
            env=self.env, cwd=self.args.sim_bin, stdin=subprocess.DEVNULL,
            stdout=self.log, stderr=subprocess.STDOUT)
        code, _ = self.drive("wait", CAPTION, timeout_ms=60000)
        if not self.check(code == 0, "the main window did not open"):
            raise Failure()
        self.shown_at = time.monotonic()

    def close(self):
        """Closes the window with its close box: the shutdown command runs, the process ends."""
        self.drive("close", CAPTION)
        try:
            self.panel.wait(timeout=20)
            self.equal(self.panel.returncode, 0, "the panel's exit code (through the debugger)")
        except subprocess.TimeoutExpired:
            self.check(False, "the panel did not end after the close box")
        self.check(self.commands()[-1:] == [SHUTDOWN], "the shutdown command comes last")
        # The keep-alive ends with the distribution.
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline and sim.read_state(self.state)["keepalive"]:
            time.sleep(0.1)
        state = sim.read_state(self.state)
        self.equal((state["distro"], state["keepalive"]), ("Stopped", ""),
                   "distribution and keep-alive after the shutdown")

    def finish(self):
        if self.panel and self.panel.poll() is None:
            self.panel.kill()
            self.panel.wait()
        if os.path.isdir(self.state) and sim.read_state(self.state)["keepalive"]:
            self.wine("wsl.exe", "-t", "ROZivuvarud")
        if self.ota:
            self.ota.stop()
        if self.failures and os.environ.get("QUELLOR_E2E_KEEP"):
            print("kept", self.work)
        else:
            shutil.rmtree(self.work, ignore_errors=True)

    # What the panel did.
    def commands(self):
        return sim.command_lines(self.state)

    def times(self, command):
        return [int(stamp * 1000) for stamp, _, program, arguments in sim.journal(self.state)
                if f"{program} {arguments}" == command]

    def debug_lines(self):
        with open(self.debug_file, "rb") as f:
            return f.read().decode("utf-8").split("\x1e")[:-1]

    def ota_requests(self):
        try:
            with open(os.path.join(self.state, "ota.log"), encoding="utf-8") as log:
                return [tuple(line.rstrip("\n").split("\t")[1:]) for line in log]
        except FileNotFoundError:
            return []

    def check_period(self, stamps, period_ms, what):
        gaps = [b - a for a, b in zip(stamps, stamps[1:])]
        self.check(all(abs(g - period_ms) <= TICK_SLACK_MS for g in gaps),
                   f"{what}: polls {gaps} ms apart, expected {period_ms}")

    def check_debug_output(self, want):
        got = self.debug_lines()
        for i, (g, w) in enumerate(zip(got, want)):
            if g != w:
                self.equal(g, w, f"debugger line {i}")
                return
        self.equal(len(got), len(want), "number of debugger lines")


# --- scenarios --------------------------------------------------------------------------------

def cold_start(run):
    """The distribution is stopped: the panel writes the WebSocket address, starts the keep-alive
    and polls every 5000 ms until the server (up 7 s after the boot) answers."""
    lan = lan_address()
    run.start(boot_delay_ms=7000)
    run.equal(run.status(), STARTING, "status when the window is first shown")
    run.wait_status(running_text(lan), 25)
    polls_at_success = len(run.times(LIST))
    time.sleep(6)  # one more period: the polling has stopped
    run.equal(len(run.times(LIST)), polls_at_success, "checks after the successful one")

    websocket = f"ws://{lan}:8000/tarvino/v1/"
    startup = network_setup() + [LIST, edit(".server.websocket", websocket), KEEP_ALIVE_RUN]
    commands = run.commands()
    run.equal(commands[:len(startup)], startup, "start-up command lines in order")
    polls = commands[len(startup):]
    failed = max(0, polls.count(LIST) - 1)
    run.equal(polls, [LIST] * (failed + 1) + network_setup(),
              "polls, then the network set-up again after the successful check")
    run.check(failed >= 1, "at least one poll failed before the server came up")
    run.equal(sim.yaml_get(run.state, ".server.websocket"), websocket, ".server.websocket")

    lists = run.times(LIST)
    keep_alive = run.times(KEEP_ALIVE_RUN)[0]
    run.check(abs(lists[1] - keep_alive - 5000) <= TICK_SLACK_MS,
              f"first poll {lists[1] - keep_alive} ms after the keep-alive, expected 5000")
    run.check_period(lists[1:], 5000, "start-up polling")
    run.equal([r["name"] for r in sim.table(run.state, "firewall.txt")],
              ["开放TCP - 8000", "开放TCP - 8003"], "firewall rules")
    run.equal([(f["listenport"], f["connectaddress"]) for f in sim.table(run.state, "portproxy.txt")],
              [("8000", "172.29.100.139"), ("8003", "172.29.100.139")], "port forwards")

    run.close()
    want = (setup_lines(True) + exec2(LIST, listing("Stopped")) +
            exec1(edit(".server.websocket", websocket), 3000, 0) + exec1(KEEP_ALIVE, 10000, 0) +
            exec2(LIST, listing("Running")) * (failed + 1) + setup_lines(False) +
            exec1(SHUTDOWN, 5000, 0))
    run.check_debug_output(want)


def warm_start(run):
    """The server answers already: the running text at once, no WebSocket write, no keep-alive,
    no polling."""
    lan = lan_address()
    run.start(running=True, server_up_now=True)
    run.equal(run.status(), running_text(lan), "status when the window is first shown")
    time.sleep(6)
    run.equal(run.commands(), network_setup() + [LIST] + network_setup(),
              "command lines: set-up, one check, set-up again, nothing more")
    run.equal(sim.yaml_get(run.state, ".server.websocket"), "ws://127.0.0.1:8000/tarvino/v1/",
              ".server.websocket left alone")
    run.equal(run.ota_requests(), [("GET", "/tarvino/ota/", "brenlow-se")],
              "requests to the OTA endpoint: one probe of the one check")
    run.close()
    run.check_debug_output(setup_lines(True) + exec2(LIST, listing("Running")) +
                           setup_lines(False) + exec1(SHUTDOWN, 5000, 0))


def change(run, open_dialog, caption, fill, value_edit, lan):
    """Opens a dialog, fills it, presses OK and follows the restart and the polling (3000 ms
    apart) until the running text returns. The server is down for 4 s after the restart."""
    before = len(run.commands())
    open_dialog()
    code, out = run.drive("wait", caption)
    if not run.check(code == 0, f"the dialog {caption} did not open ({code}: {out})"):
        raise Failure()
    fill()
    run.drive("click", caption, "1")
    run.drive("wait-gone", caption)
    run.equal(run.status(), RESTARTING, "status right after OK")
    run.wait_status(running_text(lan), 20)
    time.sleep(0.5)
    added = run.commands()[before:]
    failed = max(0, added.count(LIST) - 1)
    run.equal(added, [value_edit, RESTART] + [LIST] * (failed + 1) + network_setup(),
              f"command lines of the change in {caption}")
    run.check(failed >= 1, "at least one poll failed while the server restarted")
    restart = run.times(RESTART)[-1]
    lists = [t for t in run.times(LIST) if t > restart]
    run.check(abs(lists[0] - restart - 3000) <= TICK_SLACK_MS,
              f"first poll {lists[0] - restart} ms after the restart, expected 3000")
    run.check_period(lists, 3000, f"polling after {caption}")
    return failed


def key_and_voice(run):
    lan = lan_address()
    run.start(running=True, server_up_now=True, restart_delay_ms=4000)
    run.equal(run.status(), running_text(lan), "status when the window is first shown")

    key_failed = change(run, lambda: run.drive("click", CAPTION, "1000"), "设置 Key",
                        lambda: run.drive("type", "设置 Key", "1001", " \t my-key-123  "),
                        edit(".LLM.ChatGLMLLM.api_key", "my-key-123"), lan)
    run.equal(sim.yaml_get(run.state, ".LLM.ChatGLMLLM.api_key"), "my-key-123", "the key")

    voice_failed = change(run, lambda: run.drive("menu", CAPTION, "32774"), "高级设置",
                          lambda: run.drive("click", "高级设置", "1014"),
                          edit(".TTS.EdgeTTS.voice", "zh-CN-XiaoyiNeural"), lan)
    run.equal(sim.yaml_get(run.state, ".TTS.EdgeTTS.voice"), "zh-CN-XiaoyiNeural", "the voice")
    run.equal(sim.yaml_get(run.state, ".LLM.ChatGLMLLM.api_key"), "my-key-123", "the key kept")

    run.close()
    want = setup_lines(True) + exec2(LIST, listing("Running")) + setup_lines(False)
    for value_edit, failed in [(edit(".LLM.ChatGLMLLM.api_key", "my-key-123"), key_failed),
                               (edit(".TTS.EdgeTTS.voice", "zh-CN-XiaoyiNeural"), voice_failed)]:
        want += (exec1(value_edit, 3000, 0) + exec1(RESTART, 15000, 0) +
                 exec2(LIST, listing("Running")) * (failed + 1) + setup_lines(False))
    run.check_debug_output(want + exec1(SHUTDOWN, 5000, 0))


def never_up(run):
    """The server never answers: one check at start-up and ten polls, then no more."""
    run.start(boot_delay_ms=-1)
    run.equal(run.status(), STARTING, "status when the window is first shown")
    keep_alive = None
    deadline = time.monotonic() + 90
    while time.monotonic() < deadline:
        stamps = run.times(KEEP_ALIVE_RUN)
        if stamps:
            keep_alive = stamps[0]
            # The twelfth check would come 60 s after the keep-alive: wait past it.
            if sim.now_ms() > keep_alive + 60000 + 1500:
                break
        time.sleep(0.5)
    lists = run.times(LIST)
    run.equal(len(lists), 11, "checks in all")
    run.check_period(lists[1:], 5000, "polling")
    run.equal(run.status(), STARTING, "status after the polling gave up")
    run.close()
    websocket = f"ws://{lan_address()}:8000/tarvino/v1/"
    run.check_debug_output(
        setup_lines(True) + exec2(LIST, listing("Stopped")) +
        exec1(edit(".server.websocket", websocket), 3000, 0) + exec1(KEEP_ALIVE, 10000, 0) +
        exec2(LIST, listing("Running")) * 10 + exec1(SHUTDOWN, 5000, 0))


SCENARIOS = {"cold-start": cold_start, "warm-start": warm_start, "key-and-voice": key_and_voice,
             "never-up": never_up}


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    for option in ("--wine-dir", "--panel", "--driver", "--debug-run", "--sim-bin"):
        parser.add_argument(option, required=True)
    args = parser.parse_args(argv)
    run = Run(args, args.scenario)
    try:
        SCENARIOS[args.scenario](run)
    except Failure:
        pass
    finally:
        run.finish()
    print(f"{args.scenario}: {'FAILED' if run.failures else 'passed'}")
    return 1 if run.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
