#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Figures of the web edition in headless Chromium: the site's size, the time
from the navigation's start to data-ready (the window built, Edit6 focused, the
base values loaded), in fresh browsers and again in one, the time from a click
on the compute button to the frame that shows the report, and the main thread's CPU while the banner animates: left alone (random
drops only) and stirred (the mouse swept across it all the time), and the
time of one frame in the bridge.

    /usr/bin/python3 web/measure.py [--site build-web/site/index.html] [--seconds 30]
"""
import argparse
import os
import statistics
import time

import chromium

# Decree A, by control; the insurance and the check boxes are set apart.
DECREE_A = {"Edit1": "1000", "Edit2": "2000000", "Edit3": "1600000", "Edit26": "6000000", "Edit4": "300000",
            "Edit5": "100000", "Edit6": "9", "Edit7": "2", "Edit8": "800000", "Edit9": "100000", "Edit10": "4",
            "Edit11": "2", "Edit13": "20", "Edit14": "50", "Edit15": "10", "Edit20": "20"}


def browser():
    return chromium.browser("web-measure-")


def open_page(driver, url):
    driver.get(url)
    while not driver.execute_script("return document.documentElement.hasAttribute('data-ready')"):
        time.sleep(0.005)
    return int(driver.execute_script("return document.documentElement.getAttribute('data-ready')"))


def task_seconds(driver):
    metrics = driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]
    return next(m["value"] for m in metrics if m["name"] == "TaskDuration")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--site", default=os.path.join(root, "build-web", "site", "index.html"))
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--fresh", type=int, default=8, help="first openings, each in a new browser profile")
    args = parser.parse_args()
    url = "file://" + os.path.abspath(args.site)

    size = os.path.getsize(args.site)
    print(f"site: {size} bytes ({size / 1024:.0f} KiB) in one index.html")

    # A browser that has never opened the page: its first opening pays for
    # the browser's own start-up of a renderer, fonts and the WebAssembly.
    fresh = []
    for _ in range(args.fresh):
        driver = browser()
        try:
            fresh.append(open_page(driver, url))
        finally:
            driver.quit()
    if fresh:
        print(f"first opening in a fresh browser profile, navigation start -> data-ready: median "
              f"{statistics.median(fresh):.0f} ms (min {min(fresh)}, max {max(fresh)}) of {len(fresh)}")

    driver = browser()
    try:
        first = open_page(driver, url)
        ready = [open_page(driver, url) for _ in range(args.runs)]
        focused = driver.execute_script("return document.activeElement.id")
        print(f"navigation start -> data-ready ({focused} focused): first {first} ms, "
              f"then median {statistics.median(ready):.0f} ms (min {min(ready)}, max {max(ready)}) of {args.runs}")

        shown, handled = [], []
        for _ in range(args.runs):
            open_page(driver, url)
            # The clerk types for a while before computing: the page is idle by then.
            time.sleep(0.5)
            # From the click's own time stamp to the end of the frame that
            # shows the report: a task posted from that frame's animation
            # callback runs after its style, layout and paint.
            driver.execute_script("""
                for (const [name, text] of Object.entries(arguments[0])) document.getElementById(name).value = text;
                document.getElementById('ComboBox1').selectedIndex = 1;
                for (const name of ['CheckBox1', 'CheckBox3']) document.getElementById(name).checked = true;
                window.Clicked = 0; window.Handled = 0; window.Shown = 0;
                const button = document.getElementById('Button1');
                button.addEventListener('click', (event) => { Clicked = event.timeStamp; }, true);
                button.addEventListener('click', () => { setTimeout(() => { Handled = Handled || performance.now(); }); });
                new MutationObserver(() => {
                  Handled = performance.now();
                  requestAnimationFrame(() => {
                    const after = new MessageChannel();
                    after.port1.onmessage = () => { Shown = performance.now(); };
                    after.port2.postMessage(0);
                  });
                }).observe(document.getElementById('Panel1'), {attributes: true});""", DECREE_A)
            driver.find_element("id", "Button1").click()
            while not driver.execute_script("return Shown > 0"):
                time.sleep(0.005)
            click_to = driver.execute_script("return [Handled - Clicked, Shown - Clicked]")
            handled.append(click_to[0])
            shown.append(click_to[1])
        print(f"compute click -> report shown (the frame after the switch done): median {statistics.median(shown):.1f} ms "
              f"(min {min(shown):.1f}, max {max(shown):.1f}) of {args.runs}; the handler's part: median "
              f"{statistics.median(handled):.1f} ms")

        driver.execute_cdp_cmd("Performance.enable", {"timeDomain": "timeTicks"})
        for stirred in (False, True):
            open_page(driver, url)
            box = driver.execute_script("const r = document.getElementById('WaterImage1').getBoundingClientRect();"
                                        "return [r.left, r.top, r.width, r.height]")
            time.sleep(1)
            start_cpu, start = task_seconds(driver), time.monotonic()
            step = 0
            while time.monotonic() - start < args.seconds:
                if stirred:
                    # Across the banner and back, a move every 20 ms.
                    x = box[0] + 5 + (step * 7) % (box[2] - 10)
                    y = box[1] + 5 + (step * 3) % (box[3] - 10)
                    driver.execute_cdp_cmd("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": x, "y": y})
                    step += 1
                time.sleep(0.02 if stirred else 0.5)
            used = task_seconds(driver) - start_cpu
            elapsed = time.monotonic() - start
            kind = "stirred by the mouse" if stirred else "left alone"
            print(f"banner animating, {kind}: main thread busy {100 * used / elapsed:.1f} % of one core "
                  f"over {elapsed:.0f} s (DevTools TaskDuration)")
        # One frame in the bridge alone (a random drop perhaps, the step, the
        # draw, the canvas's pixels), on water stirred by three drops a frame,
        # in a second instance of the bridge.
        frame = driver.execute_script("""
            const picture = document.getElementById('WaterImage1');
            const pixels = picture.getContext('2d').getImageData(0, 0, picture.width, picture.height).data;
            return SalaryDecreeBridge().then((m) => {
              const at = m._WebBannerCanvas(picture.width, picture.height);
              m.HEAPU8.set(pixels, at);
              m._WebBannerPictureWritten();
              let step = 0;
              const start = performance.now();
              for (let i = 0; i < 400; ++i) {
                for (let k = 0; k < 3; ++k, ++step) {
                  m._WebBannerMouseMove((step * 7) % picture.width, (step * 3) % picture.height, 0);
                }
                m._WebBannerTick();
              }
              return (performance.now() - start) / 400;
            });""")
        print(f"one banner frame in the bridge, stirred water: {frame:.2f} ms")
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
