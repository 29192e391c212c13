"""Headless Chromium driven over the DevTools protocol (--remote-debugging-pipe), a local web
server for the built page, and the PNG reading and PSNR the frame comparisons need. Standard
library only."""

import base64
import functools
import http.server
import json
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

# SwiftShader through ANGLE is the software WebGL 2 that renders in headless mode; Chromium's
# other GL choices give a blank canvas here. The rest keeps the browser from calling home.
CHROMIUM_FLAGS = [
    "--headless=new",
    "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader",
    "--no-sandbox",
    "--autoplay-policy=no-user-gesture-required",
    "--disable-quic",
    "--no-first-run",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--mute-audio",
    "--disable-renderer-backgrounding",
    "--disable-background-timer-throttling",
    "--disable-backgrounding-occluded-windows",
]


def find_chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    raise RuntimeError("no chromium found (./build.sh web installs it)")


class _Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".data": "application/octet-stream"})

    def log_message(self, *args):
        pass


class _QuietServer(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        # A browser closed mid-download (a test ending early) is no server fault.
        if not isinstance(sys.exc_info()[1], (ConnectionError, BrokenPipeError)):
            super().handle_error(request, client_address)


class PageServer:
    """Serves a folder on 127.0.0.1 at a free port for as long as it is open."""

    def __init__(self, folder):
        handler = functools.partial(_Handler, directory=folder)
        self.httpd = _QuietServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Browser:
    """One headless Chromium with one page of width x height CSS pixels."""

    def __init__(self, width=800, height=600, extra_flags=()):
        self.profile = tempfile.mkdtemp(prefix="castrelle-chromium-")
        to_child, self._out = os.pipe()
        self._in, from_child = os.pipe()

        def pipes():
            os.dup2(to_child, 3)
            os.dup2(from_child, 4)

        args = [find_chromium(), "--remote-debugging-pipe", "--user-data-dir=" + self.profile,
                "--window-size=%d,%d" % (width, height)] + CHROMIUM_FLAGS + list(extra_flags)
        self.log = tempfile.TemporaryFile()
        self.proc = subprocess.Popen(args + ["about:blank"], preexec_fn=pipes, close_fds=False,
                                     stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
        os.close(to_child)
        os.close(from_child)
        self._next_id = 0
        self._lock = threading.Condition()
        self._replies = {}
        self.console = []  # (level, text) of the page's console and uncaught exceptions
        self._closed = False
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

        targets = self.call("Target.getTargets")["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self.session = self.call("Target.attachToTarget", targetId=page["targetId"], flatten=True)["sessionId"]
        for domain in ("Page", "Runtime", "Log"):
            self.page(domain + ".enable")
        self.page("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=1,
                  mobile=False)

    def _read(self):
        buffer = b""
        while True:
            chunk = os.read(self._in, 1 << 16)
            if not chunk:
                break
            buffer += chunk
            while b"\0" in buffer:
                raw, buffer = buffer.split(b"\0", 1)
                self._dispatch(json.loads(raw))
        with self._lock:
            self._closed = True
            self._lock.notify_all()

    def _dispatch(self, message):
        with self._lock:
            if "id" in message:
                self._replies[message["id"]] = message
            else:
                method, params = message.get("method"), message.get("params", {})
                if method == "Runtime.consoleAPICalled":
                    text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
                    self.console.append((params["type"], text))
                elif method == "Runtime.exceptionThrown":
                    details = params["exceptionDetails"]
                    text = details.get("exception", {}).get("description") or details.get("text", "")
                    self.console.append(("exception", text))
                elif method == "Log.entryAdded":
                    entry = params["entry"]
                    self.console.append((entry["level"], entry["text"]))
            self._lock.notify_all()

    def call(self, method, session=None, timeout=60, **params):
        with self._lock:
            self._next_id += 1
            ident = self._next_id
        message = {"id": ident, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self._out, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        with self._lock:
            while ident not in self._replies:
                left = deadline - time.monotonic()
                if self._closed or left <= 0:
                    raise RuntimeError("no answer to %s from chromium" % method)
                self._lock.wait(left)
            reply = self._replies.pop(ident)
        if "error" in reply:
            raise RuntimeError("%s: %s" % (method, reply["error"]))
        return reply.get("result", {})

    def page(self, method, timeout=60, **params):
        return self.call(method, session=self.session, timeout=timeout, **params)

    def open(self, url):
        self.page("Page.navigate", url=url)

    def evaluate(self, expression, timeout=60):
        result = self.page("Runtime.evaluate", timeout=timeout, expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("page script failed: %s" % result["exceptionDetails"])
        return result["result"].get("value")

    def wait_for_console(self, text, timeout):
        """Waits for a console line holding text; returns it. Fails early on a page failure."""
        deadline = time.monotonic() + timeout
        seen = 0
        while time.monotonic() < deadline:
            with self._lock:
                lines = list(self.console)
            for level, line in lines[seen:]:
                if text in line:
                    return line
            seen = len(lines)
            if self.evaluate("!!(window.castrellePage && window.castrellePage.failed)"):
                raise RuntimeError("the page reports a failure: %s" % self.page_message())
            time.sleep(0.5)
        raise RuntimeError("'%s' did not appear within %d s" % (text, timeout))

    def page_message(self):
        return self.evaluate("(document.getElementById('caption') || {}).textContent + ': ' + "
                             "(document.getElementById('text') || {}).textContent")

    def screenshot(self):
        return base64.b64decode(self.page("Page.captureScreenshot", format="png")["data"])

    def errors(self):
        """Console lines at the error level and uncaught exceptions."""
        with self._lock:
            return [text for level, text in self.console if level in ("error", "exception")]

    def close(self):
        try:
            self.call("Browser.close", timeout=10)
        except RuntimeError:
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        os.close(self._out)
        shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def read_png(data):
    """(width, height, rows of RGB bytes) of an 8-bit non-interlaced RGB or RGBA PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, width, height, channels = 8, b"", 0, 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise ValueError("unsupported PNG (depth %d, colour type %d)" % (depth, colour))
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line) if channels == 3 else bytes(v for k, v in enumerate(line) if k % 4 != 3))
        previous = line
    return width, height, rows


def psnr(png_a, png_b):
    """PSNR in dB over the RGB channels of two PNGs of one size (inf when identical)."""
    wa, ha, a = read_png(png_a)
    wb, hb, b = read_png(png_b)
    if (wa, ha) != (wb, hb):
        raise ValueError("sizes differ: %dx%d and %dx%d" % (wa, ha, wb, hb))
    total = 0
    for ra, rb in zip(a, b):
        total += sum((x - y) * (x - y) for x, y in zip(ra, rb))
    mse = total / (wa * ha * 3)
    return math.inf if mse == 0 else 10 * math.log10(255 * 255 / mse)
