#!/usr/bin/python3
"""Opens pages of mttgen --explain in headless Chromium and clicks them.

examples/classes: a click on generated text must mark the template line and
the model element that made it, and a click on a template directive all the
text it produced; a screenshot is kept. The golden page (non-ASCII text) must
highlight the right characters. A page for about 1 MB of output is timed
(printed, not checked). Exits 77, which CTest counts as skipped, when
Chromium, its driver or python3-selenium is missing or cannot start.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"


def skip(why):
    print(f"SKIPPED: {why} (bash .ci/install-deps installs chromium, chromium-driver and python3-selenium)")
    sys.exit(SKIPPED)


try:
    from selenium import webdriver
    from selenium.common.exceptions import WebDriverException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
except ImportError:
    skip("python3-selenium is not installed")

# The character at a text offset in a pane, scrolled into view: its centre.
LOCATE = """
const [pane, offset] = arguments;
const view = document.querySelector(pane + ' .view:not([hidden])');
let left = offset;
for (const code of view.querySelectorAll('.code')) {
  const node = code.firstChild;
  if (left >= node.length) { left -= node.length; continue; }
  const range = document.createRange();
  range.setStart(node, left);
  range.setEnd(node, left + 1);
  let box = range.getBoundingClientRect();
  view.scrollTop += box.top - view.getBoundingClientRect().top - view.clientHeight / 2;
  box = range.getBoundingClientRect();
  return [box.left + box.width / 2, box.top + box.height / 2];
}
return null;
"""
# What the page shows as selected.
SELECTION = """
const mark = document.querySelector('#tplPane .view:not([hidden]) .linemark:not([hidden])');
const row = document.querySelector('#mdlView .row.sel');
const picked = [...CSS.highlights.get('pick')]
  .filter((r) => document.getElementById('genPane').contains(r.startContainer)).map((r) => r.toString());
return {line: mark ? Number(mark.dataset.line) : null, pointer: row ? row.dataset.pointer : null,
        crumb: document.getElementById('crumb').textContent, picked: picked,
        clickMs: window.explain.clickMs};
"""


class Browser:
    def __init__(self, profile):
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        # Without these Chromium waits for the network on a closed machine,
        # and as root it refuses to start sandboxed.
        for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", "--window-size=1600,900", f"--user-data-dir={profile}"):
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service(executable_path=DRIVER), options=options)
        self.driver.set_script_timeout(30)

    def open(self, path):
        start = time.monotonic()
        self.driver.get("file://" + path)
        for _ in range(300):
            if self.driver.execute_script("return window.explain && window.explain.ready"):
                break
            time.sleep(0.05)
        loaded = (time.monotonic() - start) * 1000
        return loaded, self.driver.execute_script("return window.explain")

    def click(self, pane, offset):
        point = self.driver.execute_script(LOCATE, pane, offset)
        assert point is not None, f"offset {offset} is not in {pane}"
        self.driver.execute_script("window.explain.clickMs = undefined")
        actions = ActionChains(self.driver)
        actions.w3c_actions.pointer_action.move_to_location(int(point[0]), int(point[1]))
        actions.w3c_actions.pointer_action.click()
        actions.perform()
        for _ in range(200):
            selection = self.driver.execute_script(SELECTION)
            if selection["clickMs"] is not None:
                return selection
            time.sleep(0.02)
        raise AssertionError("the page did not answer the click")


def utf16(text, index):
    """The UTF-16 offset of a character index of a Python string."""
    return len(text[:index].encode("utf-16-le")) // 2


def line_column(text, needle):
    at = text.index(needle)
    line = text.count("\n", 0, at) + 1
    return at, line, len(text[text.rfind("\n", 0, at) + 1:at].encode()) + 1


def explain(mttgen, page, model, template, cwd=None):
    subprocess.run([mttgen, "--explain", page, "-m", model, template], cwd=cwd, check=True,
                   stdout=subprocess.DEVNULL)


def check(failures, what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: got {actual!r}, expected {expected!r}")


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--mttgen", required=True)
    arguments.add_argument("--source", required=True)
    arguments.add_argument("--work", required=True)
    options = arguments.parse_args()
    options.mttgen = os.path.abspath(options.mttgen)
    for program in (CHROMIUM, DRIVER):
        if not os.access(program, os.X_OK):
            skip(f"{program} is not installed")
    os.makedirs(options.work, exist_ok=True)
    examples = os.path.join(options.source, "examples", "classes")
    golden = os.path.join(options.source, "tests", "host", "explain", "golden")
    pages = {name: os.path.join(options.work, f"explain-{name}.html") for name in ("classes", "golden", "large")}
    explain(options.mttgen, pages["classes"], "examples/classes/model.json", "examples/classes/classes.mtt",
            cwd=options.source)
    explain(options.mttgen, pages["golden"], "model.json", "page.mtt", cwd=golden)

    profile = tempfile.mkdtemp(prefix="explain-chromium-")
    try:
        try:
            browser = Browser(profile)
        except WebDriverException as error:
            skip(f"Chromium does not start: {error.msg}")
        try:
            failures = run(browser, options, examples, golden, pages)
        finally:
            browser.driver.quit()
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


def run(browser, options, examples, golden, pages):
    failures = []
    with open(os.path.join(examples, "classes.mtt"), encoding="utf-8") as file:
        template = file.read()
    output = subprocess.run([options.mttgen, "-m", os.path.join(examples, "model.json"),
                             os.path.join(examples, "classes.mtt")], check=True, capture_output=True, text=True).stdout

    # Generated text -> template and model: the name in "class Order : ...".
    browser.open(pages["classes"])
    for pane in ("genPane", "tplPane", "mdlPane"):
        if not browser.driver.execute_script(f"return document.getElementById('{pane}').offsetWidth > 0"):
            failures.append(f"pane {pane} is not shown")
    _, line, column = line_column(template, "${name}[% if")
    selection = browser.click("#genPane", utf16(output, output.index("class Order") + len("class ")))
    check(failures, "template line marked", selection["line"], line)
    check(failures, "model element marked", selection["pointer"], "/classes/2")
    if f"classes.mtt:{line}:{column}" not in selection["crumb"] or "/classes/2" not in selection["crumb"]:
        failures.append(f"breadcrumb: {selection['crumb']!r}")
    browser.driver.save_screenshot(os.path.join(options.work, "explain-classes.png"))

    # Template -> generated text: the ${type} of the private members.
    at = template.index("${type} _${name}")
    selection = browser.click("#tplPane", utf16(template, at))
    check(failures, "text of ${type} _", selection["picked"], ["int", "std::string", "std::string", "int", "Customer"])

    # Non-ASCII text: a click on the "b" after "«" must find that piece.
    browser.open(pages["golden"])
    with open(os.path.join(golden, "page.mtt"), encoding="utf-8", errors="replace") as file:
        template = file.read()
    _, line, column = line_column(template, "${name}")
    text = browser.driver.execute_script("return JSON.parse(document.getElementById('explain-data').textContent)"
                                         ".outputs[0].text")
    selection = browser.click("#genPane", utf16(text, text.index("«b»") + 1))
    check(failures, "golden: piece picked", selection["picked"], ["b"])
    check(failures, "golden: template line", selection["line"], line)
    check(failures, "golden: model element", selection["pointer"], "/items/1")
    selection = browser.click("#tplPane", utf16(template, template.index("${name}")))
    check(failures, "golden: text of ${name}", selection["picked"], ["𝄞clef", "b"])

    # About a megabyte of output: timings are reported, not checked.
    model = {"namespace": "big", "classes": [
        {"name": f"Class{i}", "base": "" if i % 3 else "Entity",
         "attributes": [{"name": f"member{j}", "type": "int" if j % 2 else "std::string"} for j in range(4)],
         "UserCode": f"    // kept {i}\n"} for i in range(1500)]}
    large = os.path.join(options.work, "explain-large.json")
    with open(large, "w", encoding="utf-8") as file:
        json.dump(model, file)
    explain(options.mttgen, pages["large"], large, os.path.join(examples, "classes.mtt"))
    loaded, page = browser.open(pages["large"])
    text = browser.driver.execute_script("return JSON.parse(document.getElementById('explain-data').textContent)"
                                         ".outputs[0].text")
    first = browser.click("#genPane", utf16(text, text.index("class Class700") + len("class ")))
    check(failures, "large: model element", first["pointer"], "/classes/700")
    later = browser.click("#genPane", utf16(text, text.index("class Class900") + len("class ")))
    with open(os.path.join(examples, "classes.mtt"), encoding="utf-8") as file:
        template = file.read()
    everything = browser.click("#tplPane", utf16(template, template.index("[% foreach attributes %]")))
    print(f"explain page for {len(text.encode()) / 1e6:.2f} MB of output ({os.path.getsize(pages['large']) / 1e6:.2f}"
          f" MB page): loaded in {loaded:.0f} ms (script ready at {page['readyMs']:.0f} ms); click to highlight"
          f" {first['clickMs']:.0f} ms (unfolding {len(model['classes'])} model rows), then {later['clickMs']:.0f} ms;"
          f" directive to all {len(everything['picked'])} ranges of its text {everything['clickMs']:.0f} ms")
    return failures


if __name__ == "__main__":
    sys.exit(main())
