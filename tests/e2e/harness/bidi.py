"""A WebDriver BiDi session over the browser's own WebSocket: one command
at a time, with the events that come in between kept, and JavaScript values
turned into Python ones and back."""

import json
import math
import re

import websocket

# What Firefox prints on stderr once it accepts sessions.
LISTENING = re.compile(r"WebDriver BiDi listening on (ws://\S+)")
COMMAND_TIMEOUT = 30.0
SPECIAL_NUMBERS = {"NaN": math.nan, "-0": -0.0, "Infinity": math.inf, "-Infinity": -math.inf}


class BidiError(Exception):
    """The browser refused a command."""


def listening_address(stderr):
    """The WebSocket address announced in the browser's stderr, else None."""
    match = LISTENING.search(stderr)
    return match.group(1) if match else None


def python_value(remote):
    """A script's result (a BiDi RemoteValue) as the Python value a
    WebDriver script returns: None, bool, int or float, str, list, dict.
    TypeError for what has no such value (a node, a function)."""
    kind = remote["type"]
    if kind in ("undefined", "null"):
        return None
    if kind in ("string", "boolean"):
        return remote["value"]
    if kind == "number":
        value = remote["value"]
        return SPECIAL_NUMBERS[value] if isinstance(value, str) else value
    if kind == "bigint":
        return int(remote["value"])
    if kind in ("array", "set"):
        return [python_value(item) for item in remote["value"]]
    if kind in ("object", "map"):
        return {key if isinstance(key, str) else python_value(key): python_value(value)
                for key, value in remote["value"]}
    raise TypeError(f"a script returned a {kind}, which has no Python value")


def local_value(value):
    """A Python argument as a BiDi LocalValue."""
    if value is None:
        return {"type": "null"}
    if isinstance(value, bool):
        return {"type": "boolean", "value": value}
    if isinstance(value, (int, float)):
        if isinstance(value, float) and not math.isfinite(value):
            return {"type": "number", "value": "NaN" if math.isnan(value) else
                    ("Infinity" if value > 0 else "-Infinity")}
        return {"type": "number", "value": value}
    if isinstance(value, str):
        return {"type": "string", "value": value}
    if isinstance(value, (list, tuple)):
        return {"type": "array", "value": [local_value(item) for item in value]}
    if isinstance(value, dict):
        return {"type": "object",
                "value": [[str(key), local_value(item)] for key, item in value.items()]}
    raise TypeError(f"{type(value).__name__} cannot be passed to a script")


class Session:
    """One session on the browser listening at `address`."""

    def __init__(self, address):
        self.socket = websocket.create_connection(address + "/session", suppress_origin=True,
                                                  timeout=COMMAND_TIMEOUT)
        self.last_id = 0
        self.events = []  # (method, params) of each event, in order
        # What the browser says of itself: browserName, browserVersion...
        self.capabilities = self.command("session.new", {"capabilities": {}})["capabilities"]

    def command(self, method, params=None):
        """The command's result; BidiError if the browser refused it."""
        self.last_id += 1
        self.socket.send(json.dumps({"id": self.last_id, "method": method,
                                     "params": params or {}}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.last_id:
                break
            if message.get("type") == "event":
                self.events.append((message["method"], message["params"]))
        if message["type"] != "success":
            raise BidiError(f"{method}: {message.get('error')}: {message.get('message')}")
        return message["result"]

    def close(self):
        try:
            self.command("session.end")
        finally:
            self.socket.close()
