#!/usr/bin/python3
"""Opens pages of mttgen --explain in headless Chromium and clicks through them.

Each group runs mttgen on an example (or a small case written here) and
checks what the page then shows in its DOM: the breadcrumb, the lit text,
the marked template line, the selected model row, the panel's lists.
  examples/classes   a click on generated text, on a directive, on a scalar
                     member (the value read); search; links to a place
  golden page        non-ASCII text: the right characters are lit
  cpp-headers        --each: calls in the chain, a call line lighting its
                     text, counts per file and a click that opens the file
  errors             a failed run still writes the page, which lists the
                     message, opens where evaluation stopped and names the
                     element; a run with --keep-going lists its messages
  changes            --explain-since marks changed lines with their cause
  injection          markup and script in every input stay text
  tall               more lines than a browser lets an element be tall:
                     the last line is reachable
  large              about 1 MB of output: timings are printed, not checked
Screenshots go to the work folder, or with --screenshots DIR there (the
ones docs/explain.md shows). Exits 77, which CTest counts as skipped, when
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
FLAGS = ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--disable-dev-shm-usage", "--window-size=1600,900")


def skip(why):
    print(f"SKIPPED: {why} (bash .ci/install-deps installs chromium, chromium-driver and python3-selenium)")
    sys.exit(SKIPPED)


try:
    from selenium import webdriver
    from selenium.common.exceptions import WebDriverException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
except ImportError:
    skip("python3-selenium is not installed")

# The centre of the character at a 0-based line and UTF-16 column of the
# text pane shown in a pane, scrolled into sight first.
LOCATE = """
const [pane, line, column] = arguments;
const view = document.querySelector(pane + ' .view:not([hidden])');
const rowAt = () => [...view.querySelectorAll('.row:not([hidden])')]
  .find((row) => Number(row.querySelector('.gut').textContent) === line + 1);
if (!rowAt()) view.scrollTop = Math.max(0, line * 18 - view.clientHeight / 3);
return new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(() => {
  const row = rowAt();
  if (!row) { resolve(null); return; }
  const node = row.querySelector('.code').firstChild;
  const range = document.createRange();
  range.setStart(node, column);
  range.setEnd(node, column + 1);
  let box = range.getBoundingClientRect();
  const sight = view.getBoundingClientRect();
  const gutter = row.querySelector('.gut').getBoundingClientRect().right;
  if (box.right > sight.right - 20 || box.left < gutter + 4) {
    view.scrollLeft += box.left - (gutter + 40);
    box = range.getBoundingClientRect();
  }
  resolve([box.left + box.width / 2, box.top + box.height / 2]);
})));
"""
# A model row drawn now whose text holds a needle: its centre.
MODEL_ROW = """
const row = [...document.querySelectorAll('#mdlPane .row:not([hidden])')].find((r) => r.textContent.includes(arguments[0]));
if (!row) return null;
const box = row.getBoundingClientRect();
return [box.left + 60, box.top + box.height / 2];
"""
# What the page shows as selected.
SELECTION = """
const explain = window.explain;
const marked = (pane) => {
  const row = document.querySelector(pane + ' .view:not([hidden]) .row.band');
  return row ? Number(row.querySelector('.gut').textContent) : null;
};
const picked = [...CSS.highlights.get('pick')].filter((r) => document.getElementById('genPane').contains(r.startContainer))
  .map((r) => r.startContainer.data.slice(r.startOffset, r.endOffset));
const selected = document.querySelector('#mdlPane .row.sel');
return {line: marked('#tplPane'), outputLine: marked('#genPane'), crumb: document.getElementById('crumb').textContent,
        picked: picked, lit: explain.lit(), model: selected ? selected.textContent : null,
        output: document.getElementById('outputs').value, clickMs: explain.clickMs};
"""


class Browser:
    def __init__(self, profile):
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        # Without these Chromium waits for the network on a closed machine,
        # and as root it refuses to start sandboxed.
        for flag in FLAGS + (f"--user-data-dir={profile}",):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service(executable_path=DRIVER), options=options)
        self.driver.set_script_timeout(60)

    def open(self, path, fragment=""):
        start = time.monotonic()
        self.driver.get("about:blank")
        self.driver.get("file://" + path + fragment)
        for _ in range(1200):
            if self.driver.execute_script("return window.explain && window.explain.ready"):
                break
            time.sleep(0.05)
        loaded = (time.monotonic() - start) * 1000
        return loaded, self.driver.execute_script("return window.explain")

    def problems(self):
        """What the console said: script errors, refused content."""
        return [entry["message"] for entry in self.driver.get_log("browser") if entry["level"] in ("SEVERE", "WARNING")]

    def point(self, x, y, click=True):
        self.driver.execute_script("window.explain.clickMs = undefined")
        actions = ActionChains(self.driver)
        actions.w3c_actions.pointer_action.move_to_location(int(x), int(y))
        if click:
            actions.w3c_actions.pointer_action.click()
        actions.perform()

    def answer(self):
        for _ in range(400):
            selection = self.driver.execute_script(SELECTION)
            if selection["clickMs"] is not None:
                return selection
            time.sleep(0.02)
        raise AssertionError("the page did not answer the click")

    def click(self, pane, text, index):
        """Clicks the character at index of text, as the pane shows text."""
        line = text.count("\n", 0, index)
        column = utf16(text, index) - utf16(text, text.rfind("\n", 0, index) + 1)
        point = self.driver.execute_async_script("const done = arguments[arguments.length - 1];"
                                                 "(async () => {" + LOCATE + "})().then(done);", pane, line, column)
        assert point is not None, f"line {line + 1} is not drawn in {pane}"
        self.point(*point)
        return self.answer()

    def click_model(self, needle):
        point = self.driver.execute_script(MODEL_ROW, needle)
        assert point is not None, f"no model row shows {needle}"
        self.point(*point)
        return self.answer()

    def click_css(self, selector):
        element = self.driver.find_element("css selector", selector)
        self.driver.execute_script("window.explain.clickMs = undefined")
        element.click()
        return self.answer()

    def shot(self, path):
        self.driver.save_screenshot(path)


def utf16(text, index):
    """The UTF-16 offset of a character index of a Python string."""
    return len(text[:index].encode("utf-16-le")) // 2


def line_column(text, needle, start=0):
    """1-based line and column (in characters) of a needle."""
    at = text.index(needle, start)
    return text.count("\n", 0, at) + 1, at - text.rfind("\n", 0, at)


def run(command, cwd=None, status=0):
    result = subprocess.run(command, cwd=cwd, capture_output=True, text=True, errors="replace")
    if result.returncode != status:
        raise AssertionError(f"{' '.join(command)} exited with {result.returncode}, not {status}:\n{result.stderr}")
    return result


class Checks:
    def __init__(self):
        self.failures = []

    def equal(self, what, actual, expected):
        if actual != expected:
            self.failures.append(f"{what}: got {actual!r}, expected {expected!r}")

    def holds(self, what, text, *needles):
        for needle in needles:
            if text is None or needle not in text:
                self.failures.append(f"{what}: {needle!r} is not in {text!r}")

    def true(self, what, condition):
        if not condition:
            self.failures.append(what)


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--mttgen", required=True)
    arguments.add_argument("--source", required=True)
    arguments.add_argument("--work", required=True)
    arguments.add_argument("--screenshots", help="where to keep the screenshots docs/explain.md shows")
    options = arguments.parse_args()
    options.mttgen = os.path.abspath(options.mttgen)
    for program in (CHROMIUM, DRIVER):
        if not os.access(program, os.X_OK):
            skip(f"{program} is not installed")
    os.makedirs(options.work, exist_ok=True)
    options.screenshots = options.screenshots or options.work
    profile = tempfile.mkdtemp(prefix="explain-chromium-")
    checks = Checks()
    try:
        try:
            browser = Browser(profile)
        except WebDriverException as error:
            skip(f"Chromium does not start: {error.msg}")
        try:
            for group in (classes, golden, cpp_headers, errors, changes, injection, tall, large):
                before = len(checks.failures)
                group(browser, options, checks)
                for problem in browser.problems():
                    checks.failures.append(f"{group.__name__}: the console says {problem}")
                print(f"{group.__name__}: {'ok' if len(checks.failures) == before else 'FAILED'}")
        finally:
            browser.driver.quit()
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    for failure in checks.failures:
        print("FAILED:", failure)
    return 1 if checks.failures else 0


def read(path):
    with open(path, encoding="utf-8", errors="replace") as file:
        return file.read()


def write(path, text):
    with open(path, "w", encoding="utf-8") as file:
        file.write(text)


def classes(browser, options, checks):
    examples = os.path.join(options.source, "examples", "classes")
    page = os.path.join(options.work, "explain-classes.html")
    run([options.mttgen, "--explain", page, "-m", "model.json", "classes.mtt"], cwd=examples)
    template = read(os.path.join(examples, "classes.mtt"))
    output = run([options.mttgen, "-m", "model.json", "classes.mtt"], cwd=examples).stdout
    browser.open(page)
    for pane in ("genPane", "tplPane", "mdlPane"):
        checks.true(f"pane {pane} is shown",
                    browser.driver.execute_script(f"return document.getElementById('{pane}').offsetWidth > 0"))
    policy = browser.driver.execute_script(
        "const m = document.querySelector('meta[http-equiv=\"Content-Security-Policy\"]'); return m && m.content")
    checks.holds("content security policy", policy, "default-src 'none'", "script-src 'sha256-")

    # Generated text -> template and model: the name in "class Order : ...",
    # read from the member "name", which the model pane selects.
    line, column = line_column(template, "${name}[% if")
    selection = browser.click("#genPane", output, output.index("class Order") + len("class "))
    checks.equal("template line marked", selection["line"], line)
    checks.holds("breadcrumb of a name", selection["crumb"], f"classes.mtt:{line}:{column}", "[% foreach classes %]",
                 "/classes/2/name")
    checks.holds("the member read is selected", selection["model"], '"name"', '"Order"')
    browser.shot(os.path.join(options.screenshots, "explain.png"))

    # A scalar member lights every piece read from it, through a function's
    # parameter too: the type of /classes/0/attributes/0 ("id").
    browser.click("#genPane", output, output.index("int Get_id") + 1)
    selection = browser.click_model('"type": "int"')
    checks.equal("text read from a scalar", selection["lit"], ["int", "int", "int"])
    checks.holds("count in plain words", selection["crumb"], "/classes/0/attributes/0/type", "3 places in the generated text")

    # Template -> generated text: ${type} of the private members.
    selection = browser.click("#tplPane", template, template.index("${type} _${name}"))
    checks.equal("text of ${type} _", selection["lit"], ["int", "std::string", "std::string", "int", "Customer"])

    # A literal spanning lines ("\nclass ") names the line clicked, not its first.
    at = output.index("class Customer")
    selection = browser.click("#genPane", output, at)
    line, column = line_column(template, "class ${name}")
    checks.holds("breadcrumb of a literal's later line", selection["crumb"], f"classes.mtt:{line}:{column}", '"class"')

    # Copy and link: the breadcrumb's text, and a link to the line clicked.
    browser.driver.find_element("id", "copyCrumb").click()
    checks.equal("copied breadcrumb", browser.driver.execute_script("return window.explain.copied"), selection["crumb"])
    browser.driver.find_element("id", "linkCrumb").click()
    out_line = output.count("\n", 0, at) + 1
    checks.holds("copied link", browser.driver.execute_script("return window.explain.copied"), f"#out={out_line}")

    # Search across the panes; Enter goes to each place in turn.
    search = browser.driver.find_element("id", "search")
    search.send_keys("Customer", Keys.ENTER)
    count = browser.driver.find_element("id", "searchCount").text
    checks.holds("search count", count, "of")
    found = browser.driver.execute_script("return window.explain.found()")
    checks.true(f"search finds the text, the template and the model: {found}",
                found["out"] >= 4 and found["model"] >= 2 and found["tpl"] == 0)
    current = browser.driver.execute_script(
        "return [...CSS.highlights.get('current')].map((r) => r.startContainer.data.slice(r.startOffset, r.endOffset))")
    checks.equal("search place shown", current, ["Customer"])
    search.send_keys(Keys.ESCAPE)

    # Links open the page at a place: a generated line, a template line.
    browser.open(page, "#out=18")
    selection = browser.driver.execute_script(SELECTION)
    checks.equal("link to a generated line", selection["outputLine"], 18)
    checks.holds("link to a generated line: breadcrumb", selection["crumb"], "classes.mtt:")
    browser.open(page, "#tpl=classes.mtt:26")
    selection = browser.driver.execute_script(SELECTION)
    checks.equal("link to a template line", selection["line"], 26)
    checks.equal("link to a template line lights its text", selection["lit"],
                 ["int", "std::string", "std::string", "int", "Customer"])
    goto = browser.driver.find_element("id", "goto")
    goto.send_keys("classes.mtt:5", Keys.ENTER)
    checks.equal("go to a template line", browser.driver.execute_script(SELECTION)["line"], 5)


def golden(browser, options, checks):
    """Non-ASCII text: a click on the "b" after "«" must find that piece."""
    case = os.path.join(options.source, "tests", "host", "explain", "golden")
    page = os.path.join(options.work, "explain-golden.html")
    run([options.mttgen, "--explain", page, "-m", "model.json", "page.mtt"], cwd=case)
    template = read(os.path.join(case, "page.mtt"))
    browser.open(page)
    text = browser.driver.execute_script("return window.explain.text()")
    line, column = line_column(template, "${name}")
    selection = browser.click("#genPane", text, text.index("«b»") + 1)
    checks.equal("golden: piece picked", selection["lit"], ["b"])
    checks.equal("golden: template line", selection["line"], line)
    checks.holds("golden: column in characters", selection["crumb"], f"page.mtt:{line}:{column}", "/items/1/name")
    selection = browser.click("#tplPane", template, template.index("${name}"))
    checks.equal("golden: text of ${name}", selection["lit"], ["𝄞clef", "b"])


def cpp_headers(browser, options, checks):
    examples = os.path.join(options.source, "examples", "cpp-headers")
    gen = os.path.join(options.work, "cpp-headers")
    shutil.rmtree(gen, ignore_errors=True)
    os.makedirs(gen)
    page = os.path.join(options.work, "explain-cpp-headers.html")
    run([options.mttgen, "-m", "model.json", "--each", "classes", "-o", gen + "/${name|snake}.h", "class.h.mtt",
         "--explain", page], cwd=examples)
    template = read(os.path.join(examples, "class.h.mtt"))
    browser.open(page)
    names = browser.driver.execute_script("return [...document.getElementById('outputs').options].map((o) => o.text)")
    checks.equal("one entry per file", [os.path.basename(name) for name in names], ["customer.h", "order.h", "order_line.h"])
    browser.driver.execute_script("const list = document.getElementById('outputs');"
                                  "list.value = '1'; list.dispatchEvent(new Event('change'));")
    order = read(os.path.join(gen, "order.h"))

    # The getter's int and the setter's int: each names its call.
    getter = browser.click("#genPane", order, order.index("int number()"))
    setter = browser.click("#genPane", order, order.index("(int value)") + 1)
    template_line = template.count("\n", 0, template.index("[% call passed(${type}) %] ${name}() const")) + 1
    for what, selection, line in (("getter", getter, template_line), ("setter", setter, template_line + 1)):
        checks.holds(f"{what}: call in the chain", selection["crumb"],
                     f"[% call passed(${{type}}) %] @class.h.mtt:{line} \u203a [% function passed(type) %]",
                     "/classes/1/attributes/0/type")
    checks.true("getter and setter differ", getter["crumb"] != setter["crumb"])

    # A call line lights what its function wrote, here and in the other files.
    browser.driver.find_element("css selector", "#tabs .tab:nth-child(1)").click()
    selection = browser.click("#tplPane", template, template.index("[% call passed(${type}) %] ${name}() const") + 4)
    checks.equal("text of the getter's call", selection["lit"], ["int", "Status", "const std::string&"])
    checks.holds("counts per file", selection["crumb"], "3 places in this file", "7 places in 2 other files")
    entries = browser.driver.execute_script(
        "return [...document.querySelectorAll('#panelBody .item.found')].map((item) => item.textContent)")
    checks.equal("found in files", len(entries), 3)
    selection = browser.click_css("#panelBody .item.found:first-child")
    checks.equal("a click on a file opens it", selection["output"], "0")
    checks.equal("its places are lit", selection["lit"], ["int", "const std::string&", "const std::string&"])

    # A function line lights the text of all its calls.
    browser.driver.find_element("css selector", "#tabs .tab:nth-child(2)").click()
    types = read(os.path.join(examples, "types.mtt"))
    selection = browser.click("#tplPane", types, types.index("[% function passed(type) %]") + 4)
    checks.holds("function line", selection["crumb"], "[% function passed(type) %]", "places in this file")


def errors(browser, options, checks):
    work = os.path.join(options.work, "errors")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    write(os.path.join(work, "t.mtt"), "start\n[% foreach classes %]\nclass ${name}\n[%   foreach members %]\n"
                                       "  ${name};\n[%   end %]\n[% end %]\n")
    write(os.path.join(work, "model.json"), json.dumps({"classes": [{"name": "A", "members": [{"name": "x"}]},
                                                                    {"name": "B"}]}))
    page = os.path.join(work, "page.html")
    run([options.mttgen, "--explain", page, "-m", "model.json", "-o", "out.txt", "t.mtt"], cwd=work, status=1)
    checks.true("a failed run writes no output", not os.path.exists(os.path.join(work, "out.txt")))
    browser.open(page)
    outcome = browser.driver.find_element("id", "outcome")
    checks.true("the page says nothing was written", outcome.is_displayed() and "Nothing was written" in outcome.text)
    items = browser.driver.execute_script(
        "return [...document.querySelectorAll('#panelBody .item.stop')].map((item) => item.textContent)")
    checks.true(f"the message that stopped evaluation is listed: {items}",
                len(items) == 1 and 'Property "${:members}" does not exist.' in items[0] and "t.mtt:4:1" in items[0])
    selection = browser.driver.execute_script(SELECTION)
    checks.holds("opens where it stopped", selection["crumb"], "t.mtt:4:1", "/classes/1")
    checks.equal("template line of the failure", selection["line"], 4)
    checks.equal("the text as far as it got", browser.driver.execute_script("return window.explain.text()"),
                 "start\nclass A\n  x;\nclass B\n")
    badge = browser.driver.execute_script(
        "const row = document.querySelector('#genPane .row[data-badge]'); return row && row.dataset.badge")
    checks.holds("stop mark", badge, "evaluation stopped here")
    browser.shot(os.path.join(options.screenshots, "explain-errors.png"))

    # Errors that do not stop evaluation: each with its element and line.
    write(os.path.join(work, "k.mtt"), "[% foreach items %]\n${name}: [%= ${total} / ${count} %] each\n[% end %]\n")
    write(os.path.join(work, "k.json"), json.dumps({"items": [{"name": "a", "total": "6", "count": "2"},
                                                              {"name": "b", "total": "5", "count": "0"}]}))
    run([options.mttgen, "--explain", page, "--keep-going", "-m", "k.json", "-o", "k.txt", "k.mtt"], cwd=work, status=1)
    browser.open(page)
    selection = browser.click_css("#panelBody .item.error")
    checks.holds("a message of a run kept going", selection["crumb"], "division by zero", "k.mtt:2:10", "/items/1",
                 "k.txt:2")
    checks.equal("its output line", selection["outputLine"], 2)


def changes(browser, options, checks):
    examples = os.path.join(options.source, "examples", "classes")
    work = os.path.join(options.work, "changes")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    shutil.copy(os.path.join(examples, "classes.mtt"), work)
    model = json.loads(read(os.path.join(examples, "model.json")))
    write(os.path.join(work, "model.json"), json.dumps(model))
    run([options.mttgen, "--explain", "page.html", "-m", "model.json", "-o", "shop.h", "classes.mtt"], cwd=work)
    shutil.copy(os.path.join(work, "shop.h"), os.path.join(work, "shop.h.before"))
    model["namespace"] = "store"
    write(os.path.join(work, "model.json"), json.dumps(model))
    template = read(os.path.join(work, "classes.mtt")).replace("public:\n", "public:  // accessors\n")
    write(os.path.join(work, "classes.mtt"), template)
    # The page this run replaces is the one it compares with.
    run([options.mttgen, "--explain", "page.html", "--explain-since", "page.html", "-m", "model.json", "-o", "shop.h",
         "classes.mtt"], cwd=work)
    browser.open(os.path.join(work, "page.html"))
    items = browser.driver.execute_script(
        "return [...document.querySelectorAll('#panelBody .item.change')].map((item) => item.textContent)")
    line = template.count("\n", 0, template.index("public:")) + 1
    checks.true(f"a template change is named: {items}", any(f"template classes.mtt:{line} changed" in item for item in items))
    checks.true(f"a model change is named: {items}",
                any('model /namespace was "shop", now "store"' in item for item in items))
    marked = browser.driver.execute_script("return document.querySelectorAll('#genPane .row.changed').length")
    checks.true("changed lines are marked", marked > 0)
    selection = browser.click_css("#panelBody .item.change:nth-child(3)")
    checks.holds("a change's breadcrumb", selection["crumb"], "changed since page.html")
    browser.shot(os.path.join(options.screenshots, "explain-changes.png"))

    # Against a generated file, changes are marked with what made the line.
    run([options.mttgen, "--explain", "plain.html", "--explain-since", "shop.h.before", "-m", "model.json", "-o",
         "shop.h", "classes.mtt"], cwd=work)
    browser.open(os.path.join(work, "plain.html"))
    items = browser.driver.execute_script(
        "return [...document.querySelectorAll('#panelBody .item.change')].map((item) => item.textContent)")
    checks.true(f"changes against a generated file: {items}", any("made by classes.mtt:" in item for item in items))


def injection(browser, options, checks):
    """Whatever a run reads or says is shown as text, never run or parsed."""
    work = os.path.join(options.work, "injection")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    bad = '</script><script>window.hit=1</script><img src=x onerror="window.hit=2"><!--'
    name = "<svg onload=window.hit=3>.mtt"
    write(os.path.join(work, name), "<b>${title}</b> [% foreach items %]${" + json.dumps(bad) + "}${name}"
                                    "[% usercode %][% end %]\n[%= ${n} / ${z} %]\n")
    model = {"title": bad, "n": "1", "z": "0", "items": [{bad: bad, "name": "<i>x</i>", "UserCode": bad + "\n"}]}
    write(os.path.join(work, "m.json"), json.dumps(model))
    out = "<u>out</u>.txt"
    page = os.path.join(work, "page.html")
    arguments = ["--explain", "page.html", "--keep-going", "-D", "v=" + bad, "-m", "m.json", "-o", out, name]
    run([options.mttgen] + arguments, cwd=work, status=1)
    model["title"] = bad + "2"
    write(os.path.join(work, "m.json"), json.dumps(model))
    run([options.mttgen, "--explain-since", "page.html"] + arguments, cwd=work, status=1)
    browser.open(page)
    for pane in ("#genPane", "#tplPane", "#panelBody"):
        browser.driver.execute_script(f"document.querySelector('{pane}').scrollTop = 0")
    browser.driver.execute_script("document.getElementById('tabChanges').click()")
    hit = browser.driver.execute_script("return window.hit === undefined && "
                                        "document.querySelectorAll('img, svg, iframe, object, embed, u, i, b').length")
    checks.equal("no markup from the run's data became elements", hit, 0)
    shown = browser.driver.execute_script("return document.body.innerText")
    checks.holds("the data is shown as text", shown, "<svg onload=window.hit=3>.mtt", "<u>out</u>.txt")


def tall(browser, options, checks):
    """More lines than a browser lets an element be tall: all are reachable."""
    work = os.path.join(options.work, "tall")
    os.makedirs(work, exist_ok=True)
    write(os.path.join(work, "t.mtt"), "[% foreach items %]\n" + "line ${.}\n" + "x\n" * 99 + "[% end %]\n")
    write(os.path.join(work, "m.json"), json.dumps({"items": list(range(20000))}))
    page = os.path.join(work, "page.html")
    run([options.mttgen, "--explain", page, "-m", "m.json", "-o", "out.txt", "t.mtt"], cwd=work)
    lines = 20000 * 100
    browser.open(page)
    view = browser.driver.find_element("css selector", "#genPane .view:not([hidden])")
    browser.driver.execute_script("arguments[0].focus()", view)
    view.send_keys(Keys.END)
    time.sleep(0.3)
    last = browser.driver.execute_script(
        "const rows = [...document.querySelectorAll('#genPane .view:not([hidden]) .row:not([hidden])')];"
        "return Number(rows[rows.length - 1].querySelector('.gut').textContent)")
    checks.equal("the last line is reachable", last, lines)
    goto = browser.driver.find_element("id", "goto")
    goto.send_keys(str(lines - 150), Keys.ENTER)
    selection = browser.driver.execute_script(SELECTION)
    checks.equal("a line near the end", selection["outputLine"], lines - 150)
    checks.holds("its breadcrumb", selection["crumb"], f"t.mtt:{2 + (lines - 151) % 100}:1", f"/items/{(lines - 151) // 100}")


def large(browser, options, checks):
    """About a megabyte of output: timings are reported, not checked."""
    examples = os.path.join(options.source, "examples", "classes")
    model = {"namespace": "big", "classes": [
        {"name": f"Class{i}", "base": "" if i % 3 else "Entity",
         "attributes": [{"name": f"member{j}", "type": "int" if j % 2 else "std::string"} for j in range(4)],
         "UserCode": f"    // kept {i}\n"} for i in range(1500)]}
    path = os.path.join(options.work, "explain-large.json")
    write(path, json.dumps(model))
    page = os.path.join(options.work, "explain-large.html")
    run([options.mttgen, "--explain", page, "-m", path, os.path.join(examples, "classes.mtt")])
    loaded, state = browser.open(page)
    text = browser.driver.execute_script("return window.explain.text()")
    first = browser.click("#genPane", text, text.index("class Class700") + len("class "))
    checks.holds("large: model element", first["crumb"], "/classes/700/name")
    later = browser.click("#genPane", text, text.index("class Class900") + len("class "))
    template = read(os.path.join(examples, "classes.mtt"))
    everything = browser.click("#tplPane", template, template.index("[% foreach attributes %]"))
    print(f"explain page for {len(text.encode()) / 1e6:.2f} MB of output ({os.path.getsize(page) / 1e6:.2f}"
          f" MB page): loaded in {loaded:.0f} ms (script ready at {state['readyMs']:.0f} ms); click to highlight"
          f" {first['clickMs']:.0f} ms, then {later['clickMs']:.0f} ms;"
          f" directive to all {len(everything['lit'])} places of its text {everything['clickMs']:.0f} ms")


if __name__ == "__main__":
    sys.exit(main())
