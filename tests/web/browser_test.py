#!/usr/bin/python3
"""The browser version in headless Chromium over the DevTools protocol: a player's walk from the
title through settings, play, pause and the menu to the closing picture, screenshots checked with
the desktop walkthrough's screen probe, sound, a clean console and the page's budgets."""
import argparse
import atexit
import base64
import json
import os
import shutil
import subprocess
import time
import urllib.request

import websocket

MENU_TEXT = "96,108,52,336 300,169,340,26 300,216,340,26 300,264,340,26 300,312,340,26 300,360,340,26"
PLAY_TEXT = ("30,14,292,420 428,76,212,24 426,146,214,24 434,210,206,24 416,276,224,24 "
             "526,300,74,74 0,458,300,22 444,428,196,24")
VIRTUAL_KEYS = {"Enter": 13, "Escape": 27, "ArrowLeft": 37, "ArrowUp": 38, "ArrowRight": 39,
                "ArrowDown": 40}
WELL, PAUSE_TEXT, GAME_TYPE = (30, 14, 292, 420), (444, 428, 196, 24), (545, 218, 50, 20)


def until(seconds, what, check, pause=0.2, again=None):
    """The first true result of check; with again: that is called once if nothing came in 2 s."""
    start = time.time()
    while not (result := check()):
        if again and time.time() > start + 2:
            print(f"tried once more for {what}")
            again, _ = None, again()
        assert time.time() < start + seconds, f"{what} not seen within {seconds} s"
        time.sleep(pause)
    return result


class Page:
    def __init__(self, args):
        self.args, self.next_id, self.events = args, 0, []
        profile = os.path.join(args.work, "chromium")
        os.makedirs(args.work, exist_ok=True)
        shutil.rmtree(profile, ignore_errors=True)  # a fresh one, with nothing cached
        self.processes = [subprocess.Popen(
            ["/usr/bin/python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
             "--directory", args.site], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)]
        self.url = f"http://127.0.0.1:{self.processes[0].stdout.readline().split()[5]}/cellstorm.html"
        self.processes.append(subprocess.Popen(
            ["chromium", "--headless=new", "--no-sandbox", "--remote-debugging-port=0",
             "--autoplay-policy=no-user-gesture-required", "--disable-gpu", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             f"--user-data-dir={profile}"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        for process in self.processes:  # at exit: terminated, then waited for
            atexit.register(process.wait, 10)
            atexit.register(process.terminate)
        port_file = os.path.join(profile, "DevToolsActivePort")
        port = until(30, "Chromium", lambda: os.path.exists(port_file) and open(port_file).readline())
        with urllib.request.urlopen(urllib.request.Request(
                f"http://127.0.0.1:{port.strip()}/json/new", method="PUT")) as reply:
            self.ws = websocket.create_connection(json.load(reply)["webSocketDebuggerUrl"],
                                                  suppress_origin=True, timeout=60)

    def call(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while (message := json.loads(self.ws.recv())).get("id") != self.next_id:
            self.events.append(message)
        assert "error" not in message, f"{method}: {message.get('error')}"
        return message["result"]

    def evaluate(self, js):  # None when it throws
        return self.call("Runtime.evaluate", expression=js, returnByValue=True)["result"].get("value")

    def tap(self, code, seconds=0.03):  # with the key and key code a keyboard gives too
        key, vk = (code[3:], ord(code[3])) if code.startswith("Key") else (code, VIRTUAL_KEYS[code])
        for kind in ("keyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, code=code, key=key, windowsVirtualKeyCode=vk)
            time.sleep(seconds)

    def shot(self, name):
        """The canvas as NAME.png and NAME.ppm in the work folder, where the probe looks."""
        png = self.call("Page.captureScreenshot", format="png", clip=self.evaluate(
            "(({x, y, width, height}) => ({x, y, width, height, scale: 1}))"
            "(document.getElementById('screen').getBoundingClientRect())"))["data"]
        self.current = self.path(name)
        subprocess.run(["convert", "png:-", "-write", self.current + ".png", self.current + ".ppm"],
                       input=base64.b64decode(png), check=True)
        return True

    def path(self, name):  # a picture of the game's (NAME.BMP) or a screenshot taken before
        return os.path.join(self.args.data if name.endswith(".BMP") else self.args.work, name)

    def probe(self, command, *words):
        """The probe run on the last screenshot, pictures and screenshots named by file name."""
        return subprocess.run([self.args.probe, command, self.current + ".ppm",
                               *(self.path(w) if "." in w else w for w in words)],
                              stdout=subprocess.PIPE, text=True)

    def matches(self, picture="lv1DS8.BMP", text=PLAY_TEXT):  # by default: play
        return self.probe("match", picture, *text.split()).returncode == 0

    def differs(self, other, rect):
        return int(self.probe("differs", other, *map(str, rect)).stdout)

    def menu_at(self, item):
        return self.matches("CSCON8.BMP", MENU_TEXT) and int(
            self.probe("selected", "XCNBUT8.BMP", "CSCON8.BMP").stdout) == item

    def wait_for(self, name, seconds, check, retap=None):
        """With retap: that key first, and once more if nothing came of it (the game forgets taps)."""
        if retap:
            self.tap(retap)
        until(seconds, name, lambda: self.shot(name) and check(),
              again=retap and (lambda: self.tap(retap)))
        print(f"seen: {name}")

    def rates(self, seconds):
        """Picture changes a second (one a frame) and the main thread's busy share."""
        def sample():
            metrics = {m["name"]: m["value"] for m in self.call("Performance.getMetrics")["metrics"]}
            return [*self.evaluate("[Module._cellstorm_picture_changes(), performance.now() / 1000]"),
                    metrics["TaskDuration"], metrics["Timestamp"]]
        before = sample()
        time.sleep(seconds)
        changes, elapsed, busy, stamp = (a - b for a, b in zip(sample(), before))
        return changes / elapsed, busy / stamp


def walk(page):
    for domain in ("Page", "Runtime", "Log", "Performance"):
        page.call(domain + ".enable")
    page.call("Emulation.setDeviceMetricsOverride", width=1280, height=1008, deviceScaleFactor=1,
              mobile=False)
    # From the page's very start, note when the canvas first shows the title picture (5 points).
    rgb = subprocess.run(["convert", page.path("CSSPL8.BMP"), "rgb:-"], capture_output=True).stdout
    points = [[(y * 640 + x) * 4 + i, rgb[(y * 640 + x) * 3 + i]] for i in range(3)
              for x, y in ((40, 40), (320, 240), (600, 440), (100, 400), (500, 100))]
    page.call("Page.addScriptToEvaluateOnNewDocument", source=(
        "(function look() { const c = window.Module && Module.cellstormContext;"
        " const d = c && c.getImageData(0, 0, 640, 480).data;"
        " if (d && %s.every(([i, v]) => d[i] === v)) window.cellstormTitleAt = performance.now();"
        " else requestAnimationFrame(look); })();"
        % json.dumps(points)))
    page.call("Page.navigate", url=page.url)
    title_ms = until(15, "the title picture", lambda: page.evaluate("window.cellstormTitleAt"), 0.05)
    page.wait_for("title", 5, lambda: page.matches("CSSPL8.BMP", ""))
    layout = page.evaluate("[Module.canvas.clientWidth, Module.canvas.clientHeight,"
                           " document.activeElement.id]")
    page.wait_for("menu", 20, lambda: page.menu_at(0))
    menu_rate, _ = page.rates(2)
    rendered = page.evaluate("Module.cellstormAudio.rendered")
    for item in (1, 2):
        page.wait_for(f"menu_item_{item}", 3, lambda: page.menu_at(item), retap="ArrowDown")
    page.tap("ArrowRight")
    page.wait_for("menu_game_type_changed", 3, lambda: page.differs("menu.ppm", GAME_TYPE) > 20)
    for item in (1, 0):
        page.wait_for(f"menu_item_{item}", 3, lambda: page.menu_at(item), retap="ArrowUp")
    page.wait_for("play", 5, lambda: page.matches(), retap="Enter")
    sound = page.evaluate("[Module.cellstormAudio.rendered, Module.cellstormAudio.audible]")
    frame_rate, main_thread = page.rates(4)
    for key in ("ArrowLeft", "ArrowLeft", "KeyA", "KeyS", "ArrowRight", "ArrowDown"):
        page.tap(key, 0.4 if key == "ArrowDown" else 0.08)
    page.wait_for("play_moved", 3, lambda: page.matches() and page.differs("play.ppm", WELL) > 0)
    # P and Esc held as people hold them (each press acts once, and what it did stays).
    page.tap("KeyP", 0.2)
    page.wait_for("paused", 3, lambda: page.differs("lv1DS8.BMP", PAUSE_TEXT) > 30)
    time.sleep(0.5)
    still = page.shot("still_paused") and page.differs("paused.ppm", WELL) == 0
    page.tap("KeyP", 0.12)
    page.wait_for("resumed", 3, lambda: page.differs("lv1DS8.BMP", PAUSE_TEXT) == 0)
    page.tap("Escape", 0.12)
    page.wait_for("menu_from_play", 5, lambda: page.menu_at(0))
    time.sleep(1)
    still = still and page.shot("still_menu") and page.menu_at(0)
    page.tap("Escape", 0.2)
    page.wait_for("play_resumed", 5, lambda: page.matches())
    time.sleep(1)
    still = still and page.shot("still_play") and page.matches()
    page.tap("Escape", 0.12)
    page.wait_for("menu_again", 5, lambda: page.menu_at(0))
    for item in range(1, 7):
        page.wait_for(f"menu_item_{item}", 3, lambda: page.menu_at(item), retap="ArrowDown")
    page.tap("Enter")
    page.wait_for("closing", 10, lambda: page.matches("CSTRAIL8.BMP", ""))
    time.sleep(1.5)  # the closing picture is held a second before keys are read
    page.wait_for("the page saying the game has ended", 10,
                  lambda: page.evaluate("!document.getElementById('again').hidden"), retap="Escape")
    transfer = page.evaluate("performance.getEntries().reduce((n, e) => n + (e.transferSize || 0), 0)")
    errors = [e for e in page.events if e.get("method") == "Runtime.exceptionThrown" or
              e.get("params", {}).get("type") in ("error", "assert") or
              e.get("params", {}).get("entry", {}).get("level") == "error"]
    results = {what: ok for ok, what in (
            (layout == [1280, 960, "screen"], f"canvas size and keyboard focus {layout}"),
            (sound[0] > rendered and sound[1] > 0, "sound rendered after the first key"),
            (still, "the pause, the menu and the resumed play stay as a held key left them"),
            (not errors, "console errors: " + json.dumps(errors)[:2000]),
            (transfer <= 4 << 20, f"the page transfers {transfer} bytes (budget 4 MiB)"),
            (title_ms <= 2000, f"the title picture on screen at {title_ms:.0f} ms (budget 2 s)"),
            (main_thread <= 0.15, f"main thread busy {main_thread:.1%} of play (budget 15 %)"),
            (21.5 <= frame_rate <= 23.3, f"play at {frame_rate:.1f} frames a second (43 ms)"),
            (8.5 <= menu_rate <= 10.1, f"the menu at {menu_rate:.1f} frames a second (100 ms)"))}
    print(*(("ok: " if ok else "FAILED: ") + what for what, ok in results.items()), sep="\n")
    assert all(results.values()), "the browser version falls short"


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__)
    for option in ("site", "data", "probe", "work"):
        parser.add_argument("--" + option, required=True)
    walk(Page(parser.parse_args()))
    print("browser test passed")
