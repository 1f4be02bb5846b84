#!/usr/bin/python3
"""Figures of mttgen --explain on the reference workload, and of its page in
headless Chromium: for each number of classes, mttgen's time and peak memory
without and with --explain (medians of --runs taken in turns, after one of
each to warm up, and the median of the turns' ratios of time), the page's
size, then in the browser the time until the page answers (its first frame
after start-up), a click on generated text, on a directive that made every
line, and on a model element, the memory of the tab (the renderer's resident
memory and the JavaScript heap), and whether the last output line can be
scrolled to.

  explain_page_figures.py --mttgen build/release/host/mttgen [--classes 20000,100000]
                          [--figures FILE]

--figures also writes the figures as JSON, a list with an object per size.
Peak memory is mttgen's own, as /usr/bin/time (Debian's package time)
reports it: a child of this script would count the script's memory too.

The model has the shape of bench/BenchDataset (classes of ten attributes with
random names); the template is bench/classes.mtt. Without Chromium, its
driver or python3-selenium the browser figures are left out.
"""
import argparse
import json
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"
TIME = "/usr/bin/time"


def model_text(classes):
    rng = random.Random(20000)

    def word(low, high):
        return "".join(chr(97 + rng.randrange(26)) for _ in range(rng.randint(low, high)))

    items = []
    for _ in range(classes):
        name = word(6, 12)
        attributes = [{"name": word(3, 7), "type": "string" if i % 3 == 2 else rng.choice(("int", "double"))}
                      for i in range(10)]
        items.append({"name": name[0].upper() + name[1:], "attributes": attributes})
    return json.dumps({"classes": items}, separators=(",", ":"))


def measure(command, cwd):
    """Wall seconds and peak resident MB of a run (None without
    /usr/bin/time), its standard error."""
    timed = os.access(TIME, os.X_OK)
    peak_file = os.path.join(cwd, "peak.txt")
    if timed:
        command = [TIME, "-f", "%M", "-o", peak_file] + command
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, _ = os.wait4(process.pid, 0)
    seconds = time.monotonic() - start
    error = process.stderr.read().decode(errors="replace")
    if os.waitstatus_to_exitcode(status) != 0:
        raise RuntimeError(f"{' '.join(command)} failed: {error}")
    peak = None
    if timed:
        with open(peak_file) as file:
            peak = int(file.read().split()[-1]) * 1024 / 1e6
        os.remove(peak_file)
    return seconds, peak, error


def summary(figures):
    """The median time and peak of runs, and the last one's standard error."""
    peaks = [f[1] for f in figures if f[1] is not None]
    return (statistics.median(f[0] for f in figures), statistics.median(peaks) if peaks else None, figures[-1][2])


def paired_runs(plain, explain, cwd, runs):
    """Plain and --explain runs taken in turns, after one of each to warm
    up: this host's speed drifts within seconds, and two batches taken one
    after the other drift apart with it. Their summaries, and the median of
    the turns' ratios of time."""
    measure(plain, cwd)
    measure(explain, cwd)
    plains, explains = [], []
    for _ in range(runs):
        plains.append(measure(plain, cwd))
        explains.append(measure(explain, cwd))
    ratio = statistics.median(e[0] / p[0] for p, e in zip(plains, explains))
    return summary(plains), summary(explains), ratio


def renderer_megabytes():
    """Resident memory of the largest renderer process: the page's tab."""
    largest = 0
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as file:
                command = file.read().replace(b"\0", b" ")
            if b"chrom" not in command or b"--type=renderer" not in command:
                continue
            with open(f"/proc/{pid}/status") as file:
                for line in file:
                    if line.startswith("VmRSS:"):
                        largest = max(largest, int(line.split()[1]))
        except OSError:
            continue
    return largest / 1024


CLICK = """
const [pane, text] = arguments;
const view = document.querySelector(pane + ' .view:not([hidden])');
const row = [...view.querySelectorAll('.row:not([hidden])')].find((r) => r.textContent.includes(text));
if (!row) return null;
const code = row.querySelector('.code') || row;
const node = code.firstChild && code.firstChild.nodeType === 3 ? code.firstChild : null;
let box = row.getBoundingClientRect();
if (node) {
  const range = document.createRange();
  const at = node.data.indexOf(text);
  range.setStart(node, Math.max(at, 0));
  range.setEnd(node, Math.max(at, 0) + 1);
  box = range.getBoundingClientRect();
}
return [box.left + Math.min(box.width / 2, 4), box.top + box.height / 2];
"""


def browser_figures(page, lines):
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.keys import Keys
    except ImportError:
        return None
    if not (os.access(CHROMIUM, os.X_OK) and os.access(DRIVER, os.X_OK)):
        return None
    profile = tempfile.mkdtemp(prefix="explain-figures-")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--disable-dev-shm-usage", "--enable-precise-memory-info", "--window-size=1600,900",
                 f"--user-data-dir={profile}"):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service(executable_path=DRIVER), options=options)
    driver.set_script_timeout(300)
    driver.set_page_load_timeout(600)
    figures = {}
    try:
        driver.get("file://" + page)
        for _ in range(12000):
            if driver.execute_script("return window.explain && window.explain.shownMs !== undefined"):
                break
            time.sleep(0.05)
        figures["answers_ms"] = driver.execute_script("return window.explain.shownMs")

        def click(pane, text):
            point = driver.execute_script(CLICK, pane, text)
            if point is None:
                return None
            driver.execute_script("window.explain.clickMs = undefined")
            actions = ActionChains(driver)
            actions.w3c_actions.pointer_action.move_to_location(int(point[0]), int(point[1]))
            actions.w3c_actions.pointer_action.click()
            actions.perform()
            for _ in range(6000):
                ms = driver.execute_script("return window.explain.clickMs")
                if ms is not None:
                    return ms
                time.sleep(0.01)
            return None

        # A class name in the middle of the text, reached by going to its line.
        goto = driver.find_element("id", "goto")
        goto.send_keys(str(lines // 2), Keys.ENTER)
        time.sleep(0.2)
        figures["click_text_ms"] = click("#genPane", "class ")
        figures["click_directive_ms"] = click("#tplPane", "[% foreach attributes %]")
        figures["click_model_ms"] = click("#mdlPane", '"name"')
        view = driver.find_element("css selector", "#genPane .view:not([hidden])")
        driver.execute_script("arguments[0].focus()", view)
        view.send_keys(Keys.END)
        time.sleep(0.3)
        figures["last_line"] = driver.execute_script(
            "const rows = [...document.querySelectorAll('#genPane .view:not([hidden]) .row:not([hidden])')];"
            "return Number(rows[rows.length - 1].querySelector('.gut').textContent)")
        figures["heap_mb"] = driver.execute_script("return performance.memory.usedJSHeapSize") / 1e6
        figures["tab_mb"] = renderer_megabytes()
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
    return figures


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--mttgen", required=True)
    arguments.add_argument("--classes", default="20000,100000")
    arguments.add_argument("--runs", type=int, default=3)
    arguments.add_argument("--work", help="a folder for the files (default: a temporary one)")
    arguments.add_argument("--figures", help="a file for the figures in JSON")
    options = arguments.parse_args()
    mttgen = os.path.abspath(options.mttgen)
    template = os.path.join(HERE, "classes.mtt")
    work = options.work or tempfile.mkdtemp(prefix="explain-figures-")
    os.makedirs(work, exist_ok=True)
    print(f"{'classes':>8} {'plain s':>8} {'plain MB':>9} {'explain s':>10} {'x plain':>8} {'explain MB':>11}"
          f" {'page MB':>8}"
          f" {'answers ms':>11} {'click ms':>9} {'directive ms':>13} {'model ms':>9} {'tab MB':>7} {'heap MB':>8}"
          f" {'last line':>10}")
    sizes = []
    for classes in (int(n) for n in options.classes.split(",")):
        model = os.path.join(work, f"model-{classes}.json")
        with open(model, "w") as file:
            file.write(model_text(classes))
        output = os.path.join(work, f"out-{classes}.txt")
        page = os.path.join(work, f"page-{classes}.html")
        plain, explain, times = paired_runs([mttgen, "-m", model, "-o", output, template],
                                            [mttgen, "-m", model, "-o", output, "--explain", page, template], work,
                                            options.runs)
        with open(output, "rb") as file:
            lines = file.read().count(b"\n")
        browser = browser_figures(page, lines) or {}

        def shown(key, digits=0):
            value = browser.get(key)
            return "-" if value is None else f"{value:.{digits}f}" if isinstance(value, float) else str(value)

        def megabytes(value):
            return "-" if value is None else f"{value:.0f}"

        print(f"{classes:>8} {plain[0]:>8.2f} {megabytes(plain[1]):>9} {explain[0]:>10.2f} {times:>8.2f}"
              f" {megabytes(explain[1]):>11}"
              f" {os.path.getsize(page) / 1e6:>8.1f} {shown('answers_ms'):>11} {shown('click_text_ms'):>9}"
              f" {shown('click_directive_ms'):>13} {shown('click_model_ms'):>9} {shown('tab_mb'):>7}"
              f" {shown('heap_mb'):>8} {shown('last_line'):>6}/{lines}")
        for line in explain[2].splitlines():
            if "warning" in line:
                print("  mttgen:", line)
        sys.stdout.flush()
        sizes.append(dict(browser, classes=classes, lines=lines, plain_s=plain[0], plain_mb=plain[1],
                          explain_s=explain[0], explain_mb=explain[1], explain_times=times))
    if options.figures:
        with open(options.figures, "w") as file:
            json.dump(sizes, file)
    if not options.work:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
