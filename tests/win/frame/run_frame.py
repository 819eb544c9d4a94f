#!/usr/bin/env python3
"""Quellor.exe under Wine against the simulated distribution: the main window shows with its
controls and texts, and each way of closing it tested here makes wsl receive "-t ROZivuvarud"
once, after which the process ends.

The program starts with the simulated tools' folder as its current directory, so that cmd.exe
and CreateProcess find the doubles first; the test driver reads and closes the window.
"""
import argparse
import os
import subprocess
import sys
import time

CAPTION = "Calbrin"
NOTICE = ("尊敬的用户，您好，您当前的大语言模型使用的是作者用于测试的智普免费 Key，"
          "为了确保您全程体验的稳定性和安全性，请尽快点击下方按钮，置换自己的智普免费 Key...")
EXPECTED_TEXTS = {1000: "设置 Key", 1007: "AI 语音服务器正在启动...", 1008: NOTICE}
SHUTDOWN = ("wsl", "-t ROZivuvarud")


def wine_env(wine_dir):
    """The environment of tests/wine/env.sh."""
    env = dict(os.environ)
    env.update(WINEPREFIX=os.path.join(wine_dir, "prefix"), WINEARCH="win64",
               WINEDLLOVERRIDES="mscoree,mshtml=", WINEDEBUG="-all")
    locale = os.path.join(wine_dir, "locale")
    if os.path.isdir(os.path.join(locale, "zh_CN.UTF-8")):
        env.update(LOCPATH=locale, LANG="zh_CN.UTF-8")
    display = os.path.join(wine_dir, "display")
    if os.path.exists(display):
        env["DISPLAY"] = open(display).read().strip()
    return env


def journal(state_dir):
    path = os.path.join(state_dir, "journal.log")
    if not os.path.exists(path):
        return []
    lines = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.rstrip("\r\n").split("\t", 3)
            if len(parts) == 4:
                lines.append((parts[2], parts[3]))
    return lines


class Run:
    def __init__(self, args, env, name):
        self.args, self.env, self.name = args, env, name
        self.failures = []

    def check(self, ok, what):
        if not ok:
            self.failures.append(what)
            print(f"[{self.name}] FAILED: {what}", flush=True)
        return ok

    def driver(self, *argv, timeout_ms=10000):
        command = ["wine", self.args.driver, "--timeout", str(timeout_ms)] + list(argv)
        done = subprocess.run(command, env=self.env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=timeout_ms / 1000 + 60)
        return done.returncode, done.stdout.decode("utf-8", "replace").rstrip("\r\n")

    def go(self, close_way):
        state = os.path.join(self.args.work, self.name)
        subprocess.run(["rm", "-rf", state], check=True)
        subprocess.run([sys.executable, self.args.sim_py, "init", state], check=True)
        env = dict(self.env, QUELLOR_SIM_DIR=state)
        log = open(os.path.join(self.args.work, self.name + ".log"), "wb")
        program = subprocess.Popen(["wine", self.args.exe], cwd=self.args.sim_bin, env=env,
                                   stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        try:
            # The start-up sequence runs before the window is first shown.
            rc, _ = self.driver("wait", CAPTION, timeout_ms=120000)
            if not self.check(rc == 0, f"no window {CAPTION} (driver exit {rc})"):
                return
            for control, text in EXPECTED_TEXTS.items():
                rc, shown = self.driver("text", CAPTION, str(control))
                self.check(rc == 0 and shown == text, f"control {control} shows {shown!r}")
            picture = os.path.join(self.args.work, self.name + ".bmp")
            rc, _ = self.driver("capture", CAPTION, "Z:" + picture)
            self.check(rc == 0 and os.path.getsize(picture) > 1000, "capture of the window")
            self.check(SHUTDOWN not in journal(state), "shutdown before the close")

            rc, _ = self.driver(close_way, CAPTION)
            self.check(rc == 0, f"driver {close_way} exit {rc}")
            try:
                program.wait(timeout=60)
            except subprocess.TimeoutExpired:
                self.check(False, "the process did not end after the close")
                return
            entries = journal(state)
            self.check(entries.count(SHUTDOWN) == 1, f"{entries.count(SHUTDOWN)} shutdowns")
            wsl = [e for e in entries if e[0] == "wsl"]
            self.check(bool(wsl) and wsl[-1] == SHUTDOWN, "the shutdown is wsl's last command")
            rc, _ = self.driver("wait-gone", CAPTION, timeout_ms=5000)
            self.check(rc == 0, "a window is still there")
        finally:
            if program.poll() is None:
                program.kill()  # the process this test started, by its handle
                program.wait()
            log.close()


def main():
    parser = argparse.ArgumentParser()
    for option in ("--wine-dir", "--exe", "--driver", "--sim-bin", "--sim-py", "--work"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    env = wine_env(args.wine_dir)
    failures = []
    # The close box's request and Esc: the two ways that reach a dialog from outside it.
    for name, way in (("close-box", "close"), ("esc", "esc")):
        run = Run(args, env, name)
        run.go(way)
        failures += [f"{name}: {f}" for f in run.failures]
        print(f"[{name}] {'ok' if not run.failures else 'failed'}", flush=True)
    if failures:
        print("\n".join(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
