#!/usr/bin/python3
"""Times each effect's frames in headless Chromium (the player's WebAssembly module) and
prints milliseconds per frame at 320x200 and 640x480; bench_effects gives the native ones.
Usage: effects-wasm.py PLAYER.js   (needs chromium and python3-websocket)"""
import json, os, re, shutil, subprocess, sys, tempfile, time, urllib.request
import websocket

FRAMES = 200
# Each effect's tag at its default values (the engine reads the defaults itself) with the
# pictures bench_effects gives, named as
# each effect's source gives its class and applet.
SOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "effects")
CLASSES = {}
for name in sorted(os.listdir(SOURCES)):
    if name.endswith(".cpp"):
        with open(os.path.join(SOURCES, name)) as source:
            for code, applet in re.findall(r'return \{"([^"]+\.class)",\s*"([^"]+)"', source.read()):
                CLASSES[applet] = code
SCRIPT = """
new Promise(function (done) {
  var e = window.vexajavaEffects && window.vexajavaEffects.engine;
  function run() {
    e = window.vexajavaEffects.engine;
    var results = {};
    %s.forEach(function (entry) {
      var tag = '<applet code="' + entry[1] + '" width="' + entry[2] + '" height="' + entry[3] + '"></applet>';
      var bytes = new TextEncoder().encode(tag);
      var at = e.vx_buffer(bytes.length); new Uint8Array(e.memory.buffer, at, bytes.length).set(bytes);
      var id = e.vx_prepare(bytes.length);
      // Every picture as bench_effects gives it: 320x200 bytes counting up by 7.
      for (var k = 0; k < e.vx_picture_count(id); k++) {
        var size = 320 * 200 * 4, pixels = new Uint8Array(e.memory.buffer, e.vx_buffer(size), size);
        for (var i = 0; i < size; i++) pixels[i] = (i * 7) & 255;
        e.vx_set_picture(id, k, 320, 200);
      }
      e.vx_start(id);
      e.vx_frame(id, 0);
      var start = performance.now();
      for (var n = 1; n <= %d; n++) e.vx_frame(id, n);
      results[entry[0] + "/" + entry[2] + "/" + entry[3]] = (performance.now() - start) / %d;
    });
    done(JSON.stringify(results));
  }
  (function wait() { if (window.vexajavaEffects && window.vexajavaEffects.engine) run(); else setTimeout(wait, 50); })();
})
"""

def main():
    folder = tempfile.mkdtemp()
    shutil.copy(sys.argv[1], folder)
    # One applet the player starts, so that the module is loaded; the rest are made in the page.
    with open(os.path.join(folder, "bench.html"), "w") as page:
        page.write('<html><body><applet code="fire.class" width="8" height="8"></applet>'
                   '<script src="vexajava-effects.js"></script></body></html>')
    browser = subprocess.Popen(["chromium", "--headless", "--no-sandbox", "--disable-gpu",
                                "--remote-debugging-port=9333", "file://" + folder + "/bench.html"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            try:
                targets = json.load(urllib.request.urlopen("http://127.0.0.1:9333/json"))
                pages = [t for t in targets if t.get("type") == "page"]
                if pages:
                    break
            except OSError:
                pass
            time.sleep(0.1)
        socket = websocket.create_connection(pages[0]["webSocketDebuggerUrl"])
        entries = [[name, code, w, h] for name, code in CLASSES.items() for (w, h) in ((320, 200), (640, 480))]
        socket.send(json.dumps({"id": 1, "method": "Runtime.evaluate",
                                "params": {"expression": SCRIPT % (json.dumps(entries), FRAMES, FRAMES),
                                           "awaitPromise": True, "returnByValue": True}}))
        while True:
            reply = json.loads(socket.recv())
            if reply.get("id") == 1:
                break
        if "result" not in reply or "value" not in reply["result"]["result"]:
            sys.exit("The page did not answer: %s" % json.dumps(reply)[:400])
        for name, ms in json.loads(reply["result"]["result"]["value"]).items():
            print("%-16s %8.3f ms" % (name, ms))
    finally:
        browser.kill()
        shutil.rmtree(folder)

main()
