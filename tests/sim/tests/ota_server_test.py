"""The simulated OTA endpoint: answers only while the simulated server is up, refuses
connections while it is down, and ends by itself."""

import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import sim  # noqa: E402

PORT = 8003


def get(path="/tarvino/ota/", agent="brenlow-se"):
    """(status, body) of one GET, or None when the connection is refused (or reset by a port
    that closes while the connection waits to be taken)."""
    try:
        with socket.create_connection(("127.0.0.1", PORT), timeout=2) as s:
            s.sendall(f"GET {path} HTTP/1.1\r\nHost: localhost:8003\r\nUser-Agent: {agent}\r\n"
                      "\r\n".encode())
            reply = b""
            while chunk := s.recv(4096):
                reply += chunk
    except (ConnectionRefusedError, ConnectionResetError):
        return None
    head, _, body = reply.partition(b"\r\n\r\n")
    return int(head.split(b" ")[1]), body


def eventually(predicate, seconds=3.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(0.05)
    return predicate()


class OtaServerTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="quellor-ota-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def test_answers_with_the_configured_address_only_while_the_server_is_up(self):
        sim.init(self.dir)  # distribution stopped
        with sim.OtaServer(self.dir):
            time.sleep(0.2)
            self.assertIsNone(get(), "refused while the distribution is stopped")

            sim.update_state(self.dir, distro="Running", server_up_at_ms=sim.now_ms() + 600)
            time.sleep(0.2)
            self.assertIsNone(get(), "refused while the server is still booting")
            self.assertTrue(eventually(lambda: get() is not None))
            status, body = get()
            self.assertEqual(status, 200)
            self.assertEqual(json.loads(body),
                             {"websocket": {"url": "ws://127.0.0.1:8000/tarvino/v1/"}})

            with open(os.path.join(self.dir, "config.yaml"), "w") as f:
                f.write('server:\n  websocket: "ws://192.168.1.20:8000/tarvino/v1/"\n')
            status, body = get()
            # The probe reads only the first 255 bytes: the address must lie within them.
            self.assertIn(b"ws://192.168.1.20:8000/tarvino/v1/", body[:255])
            self.assertEqual(get("/other")[0], 404)

            sim.update_state(self.dir, server_up_at_ms="never")
            self.assertTrue(eventually(lambda: get() is None), "refused again once down")

        with open(os.path.join(self.dir, "ota.log")) as log:
            agents = [line.split("\t")[3].strip() for line in log]
        self.assertIn("brenlow-se", agents)

    def test_ends_by_itself(self):
        sim.init(self.dir, running=True, server_up_now=True)
        for ending, ends in [
            ("deadline", lambda p: None),
            ("folder removed", lambda p: shutil.rmtree(self.dir)),
        ]:
            with self.subTest(ending):
                os.makedirs(self.dir, exist_ok=True)
                seconds = 1.5 if ending == "deadline" else 60
                process = subprocess.Popen([sys.executable, sim.__file__, "serve", self.dir,
                                            "--max-seconds", str(seconds)])
                try:
                    time.sleep(0.5)
                    self.assertIsNone(process.poll())
                    ends(process)
                    process.wait(timeout=5)
                finally:
                    if process.poll() is None:
                        process.kill()
                        process.wait()


class YamlReadTest(unittest.TestCase):
    def test_reads_plain_and_quoted_scalars_by_dotted_key(self):
        values = sim.yaml_values(
            "# comment\nserver:\n  websocket: \"ws://a:8000/x\"\n  ip: 0.0.0.0\n"
            "LLM:\n  ChatGLMLLM:\n    api_key: 'it''s'\n  Other:\n    api_key: \"\"\n"
            "TTS:\n  EdgeTTS:\n    voice: zh-CN-YunxiNeural # male\n")
        self.assertEqual(values[".server.websocket"], "ws://a:8000/x")
        self.assertEqual(values[".server.ip"], "0.0.0.0")
        self.assertEqual(values[".LLM.ChatGLMLLM.api_key"], "it's")
        self.assertEqual(values[".LLM.Other.api_key"], "")
        self.assertNotIn(".LLM", values)


if __name__ == "__main__":
    unittest.main()
