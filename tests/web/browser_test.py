#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web edition in one headless Chromium: real key and mouse events through
selenium, texts read back from the DOM, the printed report through
Page.printToPDF and pdftotext. The worked decrees' lines come from the native
core (web_expected_reports); messages, orders and bytes are written here by
hand, as the window shows them."""
import base64
import json
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

SITE = os.environ.get("DECREE_WEB_SITE", "")
EXPECTED = os.environ.get("WEB_EXPECTED_REPORTS", "")
if not os.path.isfile(SITE):
    print(f"no page at '{SITE}': run scripts/web.sh first")
    sys.exit(77)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web"))
import chromium  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

URL = "file://" + os.path.abspath(SITE)
ENTER, TAB, SPACE, DOWN = Keys.ENTER, Keys.TAB, Keys.SPACE, Keys.ARROW_DOWN


class Chord(tuple):
    """A key pressed while a modifier is held."""


SHIFT_TAB = Chord((Keys.SHIFT, Keys.TAB))
SELECT_ALL = Chord((Keys.CONTROL, "a"))

# The Enter order of the input panel, from Edit1 to the compute button.
ENTER_ORDER = ["Edit1", "Edit2", "Edit3", "Edit26", "Edit4", "Edit5", "Edit25", "Edit18", "Edit6", "Edit7",
               "Edit8", "Edit9", "Edit10", "Edit12", "ComboBox1"]
ENTER_ORDER_AFTER_COMBO = ["Edit11", "CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox8", "Edit13",
                           "Edit14", "Edit15", "Edit16", "Edit17", "Edit19", "Edit20", "Edit21", "Edit22", "Edit23",
                           "Edit24", "CheckBox6", "Button1"]
TAB_ORDER = ["Edit1", "Edit2", "Edit3", "Edit26", "Edit4", "Edit5", "Edit25", "Edit18", "Edit6", "Edit7", "Edit8",
             "Edit9", "Edit10", "Edit12", "ComboBox1", "Edit11", "CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4",
             "CheckBox8", "Edit13", "Edit14", "Edit15", "Edit16", "Edit17", "Edit19", "Edit20", "Edit21", "Edit22",
             "Edit23", "Edit24", "CheckBox5", "CheckBox6", "Button1"]

# Decree A typed as a clerk types it, from Edit1 on: a text then Enter ("" only
# Enter), keys as tuples. Insurance 1 takes two choices: Down chooses item 0 and
# moves on, Shift+Tab comes back, Down chooses item 1.
KEYS_A = ["1000", "2000000", "1600000", "6000000", "300000", "100000", "", "", "9", "2", "800000", "100000", "4",
          "", (DOWN,), SHIFT_TAB, (DOWN,), "2", (SPACE, ENTER), (ENTER,), (SPACE, ENTER), (ENTER,), (ENTER,),
          "20", "50", "10", "", "", "", "20", "", "", "", "", (ENTER,), (ENTER,)]
# Decree B: the clause-B amount comes from 200 points; CheckBox5 was clicked
# first; toggling CheckBox6 moves straight on to the compute button.
KEYS_B = ["1000", "2000000", "1600000", "16000000", "300000", "100000", "200", "", "9", "2", "800000", "100000",
          "4", "50000", (DOWN,), "2", (SPACE, ENTER), (SPACE, ENTER), (SPACE, ENTER), (SPACE, ENTER), (ENTER,),
          "20", "50", "10", "", "10", "5", "20", "", "20", "", "", (SPACE,), (ENTER,)]

STORED_A = "1000\r\n2000000\r\n1600000\r\n300000\r\n100000\r\n\r\n\r\n6000000\r\n"
NOTHING_TO_PRINT = "موردی برای چاپ وجود ندارد"
# The thirteen required entries in the order they are checked: the control
# that must be filled, the message when it is not (the window's words), and
# what is typed into it before the next press of the compute button.
REQUIRED = [
    ("Edit1", "ضریب اعلامی برای سال جدید را وارد کنید", "1000"),
    ("Edit2", "مبلغ کمترین حقوق اعلامی برای سال جدید را به صورت ریال وارد کنید", "2000000"),
    ("Edit3", "مبلغ حداقل حقوق موثر برای سال جدید را به صورت ریال وارد کنید", "1600000"),
    ("Edit26", "مبلغ حداقل حقوق و مزایا برای سال جدید را به صورت ریال وارد کنید", "6000000"),
    ("Edit4", "مبلغ حق عائله مندی برای سال جدید را به صورت ریال وارد کنید", "300000"),
    ("Edit5", "مبلغ حق اولاد برای سال جدید را به صورت ریال وارد کنید", "100000"),
    ("Edit6", "گروه مستخدم شامل کل گروه های دریافتی اعم از استحقاقی، تشویقی و ... برای سال جدید را به صورت عددی وارد"
              " کنید", "9"),
    ("Edit8", "مبلغ حقوق پایه سال قبل را به صورت ریال وارد کنید", "800000"),
    ("Edit9", "مبلغ افزایش سنواتی سال قبل را به صورت ریال وارد کنید", "100000"),
    ("Edit10", "درصد افزایش سنواتی برای سال جدید را به صورت عددی وارد کنید", "4"),
    ("ComboBox1", "نوع بیمه مستخدم را انتخاب کنید", DOWN),
    ("Edit13", "درصد فوق العاده شغل برای سال جدید را به صورت عددی وارد کنید", "20"),
    ("Edit14", "درصد فوق العاده جذب برای سال جدید را به صورت عددی وارد کنید", "50"),
]
# The 35 inputs a screen reader names: the edit boxes, the check boxes, the
# insurance list and the compute button.
INPUTS = ([f"Edit{n}" for n in range(1, 27)] + [f"CheckBox{n}" for n in (1, 2, 3, 4, 5, 6, 8)] +
          ["ComboBox1", "Button1"])


def expected_reports(separator=","):
    """The native core's report lines of decrees A and B, and the desktop
    window's names of its inputs."""
    return json.loads(subprocess.run([EXPECTED, separator], check=True, capture_output=True, text=True).stdout)


def setUpModule():
    global DRIVER
    DRIVER = chromium.browser("web-test-")
    # Every page records what its content security policy refused.
    DRIVER.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
        window.Refused = [];
        document.addEventListener('securitypolicyviolation', (e) => Refused.push(e.violatedDirective + ' ' + e.blockedURI));
    """})


def tearDownModule():
    DRIVER.quit()


class Page(unittest.TestCase):
    """One page per test, opened afresh; the stored base values are cleared
    unless a test keeps them."""

    def open(self, keep_storage=False, locale="en-US"):
        DRIVER.execute_cdp_cmd("Emulation.setLocaleOverride", {"locale": locale})
        DRIVER.get(URL)
        self.wait("document.documentElement.hasAttribute('data-ready')")
        if not keep_storage:
            self.js("localStorage.clear()")
            DRIVER.get(URL)
            self.wait("document.documentElement.hasAttribute('data-ready')")

    def js(self, script, *args):
        """The value of an expression, or statements (with ';') run as they are."""
        return DRIVER.execute_script(script if ";" in script else "return " + script, *args)

    def wait(self, condition, seconds=5, **argument):
        end = time.time() + seconds
        while not self.js(condition, *argument.values()):
            if time.time() > end:
                self.fail(f"timed out waiting for {condition} {argument}")
            time.sleep(0.02)

    def keys(self, *keys):
        chain = ActionChains(DRIVER)
        for key in keys:
            if isinstance(key, Chord):
                chain.key_down(key[0]).send_keys(key[1]).key_up(key[0])
            else:
                chain.send_keys(key)
        chain.perform()

    def click(self, name):
        ActionChains(DRIVER).click(DRIVER.find_element("id", name)).perform()

    def focused(self):
        return self.js("document.activeElement.id")

    def value(self, name):
        return self.js("document.getElementById(arguments[0]).value", name)

    def visible(self, name):
        return self.js("!document.getElementById(arguments[0]).hidden", name)

    def message(self):
        """The message box's text when it is open, else None."""
        return self.js("document.getElementById('MessageBox').open ? "
                       "document.getElementById('MessageText').textContent : null")

    def error_box(self):
        """True when the open box is the general error box (with its icon)."""
        return self.js("document.getElementById('MessageBox').classList.contains('error')")

    def close_message(self):
        self.keys(ENTER)
        self.wait("!document.getElementById('MessageBox').open")

    def report(self):
        return self.js("Array.from(document.getElementById('RichEdit1').children).map((p) => p.textContent)")

    def fetched(self):
        """What the page has requested from anywhere but itself (its WebAssembly is a data: URL)."""
        return self.js("performance.getEntriesByType('resource').filter((e) => !e.name.startsWith('data:'))"
                       ".map((e) => e.name)")

    def type_entries(self, entries):
        for entry in entries:
            if isinstance(entry, Chord):
                self.keys(entry)
            elif isinstance(entry, tuple):
                self.keys(*entry)
            else:
                self.keys(entry, ENTER)

    def compute(self, entries, locale="en-US", first_click=None):
        self.open(locale=locale)
        if first_click:
            self.click(first_click)
        self.click("Edit1")
        self.type_entries(entries)
        self.wait("!document.getElementById('Panel1').hidden")

    def paste(self, name, text):
        # What a paste through the context menu leaves: the text, unfiltered.
        self.js("const e = document.getElementById(arguments[0]); e.focus(); e.value = arguments[1]", name, text)


class StartAndLayout(Page):
    def test_start_state(self):
        self.open()
        self.assertEqual(self.focused(), "Edit6")
        self.assertEqual(DRIVER.title, "نرم افزار محاسبه احکام کارگزینی (برنامه نویس: واحد کارگزینی - 000-00000000)"
                                       " - نسخه 5.5.26")
        self.assertEqual(self.js("Array.from(document.querySelectorAll('input[type=text]')).map((e) => e.value)"),
                         [""] * 26)
        self.assertEqual(self.js("document.querySelectorAll('input[type=checkbox]:checked').length"), 0)
        self.assertEqual(self.js("document.getElementById('ComboBox1').selectedIndex"), -1)
        self.assertTrue(self.visible("Panel2"))
        self.assertFalse(self.visible("Panel1"))
        self.assertEqual(self.js("document.compatMode"), "CSS1Compat")
        self.assertTrue(self.js("document.getElementById('Panel1').hasAttribute('hidden')"))
        self.assertEqual(self.js("Refused"), [])
        self.assertEqual(self.fetched(), [])

    def test_places_in_the_window(self):
        # Outer corner of each control from the window's corner, at 96 dpi.
        self.open()
        rows = [("Edit1", 417, 55, 121, 24), ("Edit6", 416, 322, 121, 24), ("Edit22", 61, 255, 104, 24),
                ("ComboBox1", 416, 472, 121, 22), ("Button1", 20, 378, 369, 53),
                ("WaterImage1", 16, 436, 375, 237), ("GroupBox3", 20, 22, 369, 355)]
        for name, left, top, width, height in rows:
            with self.subTest(name):
                box = self.js("const f = document.getElementById('Form1').getBoundingClientRect();"
                              "const r = document.getElementById(arguments[0]).getBoundingClientRect();"
                              "return [r.left - f.left, r.top - f.top, r.width, r.height]", name)
                self.assertEqual(box, [left, top, width, height])
        # A label sized to its text keeps its right edge next to its control.
        right = self.js("document.getElementById('Label1').getBoundingClientRect().right - "
                        "document.getElementById('Form1').getBoundingClientRect().left")
        self.assertEqual(right, 395 + 148 + 40)

    def test_check_boxes_hold_their_box_at_the_right_end(self):
        # The box's distance from the left and from the right edge of the
        # control's rectangle; CheckBox6 reads left to right.
        self.open()
        rows = [("CheckBox1", "right"), ("CheckBox2", "right"), ("CheckBox3", "right"), ("CheckBox4", "right"),
                ("CheckBox8", "right"), ("CheckBox6", "left")]
        for name, end in rows:
            with self.subTest(name):
                left, right = self.js("const b = document.getElementById(arguments[0]).getBoundingClientRect();"
                                      "const r = document.getElementById(arguments[0]).parentElement"
                                      ".getBoundingClientRect(); return [b.left - r.left, r.right - b.right]", name)
                near, far = (right, left) if end == "right" else (left, right)
                self.assertLessEqual(near, 3)
                self.assertGreater(far, 50)

    def test_hints(self):
        # Only these controls show a hint; Edit6 and its label the same one.
        self.open()
        hinted = self.js("Array.from(document.querySelectorAll('#Panel2 [title]'))"
                         ".map((e) => e.id).filter((id) => id).sort()")
        self.assertEqual(hinted, sorted(["Label6", "Edit6", "Label86", "CheckBox5", "ComboBox1"]))
        self.assertEqual(DRIVER.find_element("id", "Label86").get_attribute("title"), "20% یا 25%")
        self.assertEqual(DRIVER.find_element("id", "Edit6").get_attribute("title"),
                         DRIVER.find_element("id", "Label6").get_attribute("title"))

    def test_screen_reader_names(self):
        # Each input as the desktop window names it (SpokenName, printed by the native helper).
        self.open()
        names = expected_reports()["names"]
        self.assertEqual(sorted(names), sorted(INPUTS))
        for name in INPUTS:
            with self.subTest(name):
                self.assertEqual(DRIVER.find_element("id", name).accessible_name, names[name])
        self.assertEqual(names["CheckBox2"], "فوق العاده ایثارگری: مشمول می باشد")
        self.assertEqual(DRIVER.find_element("id", "WaterImage1").accessible_name, "تصویر متحرک موج آب")


class Keyboard(Page):
    def test_key_filter(self):
        # Typed into an empty field: what it then holds.
        rows = [("Edit8", "1a2 3", "123"), ("Edit8", "-5.5,", "55"), ("Edit8", "۱۲٤4", "4"),
                ("Edit6", "123", "12"), ("Edit7", "123", "12"), ("Edit11", "123", "12"), ("Edit10", "1234", "123"),
                ("Edit13", "99999", "999"), ("Edit24", "1234", "123"), ("Edit1", "30000000000", "30000000000"),
                ("Edit12", "12345678901", "12345678901"), ("Edit25", "+e1", "1")]
        self.open()
        for name, typed, held in rows:
            with self.subTest(name=name, typed=typed):
                self.click(name)
                self.keys(SELECT_ALL, Keys.BACKSPACE, typed)
                self.assertEqual(self.value(name), held)

    def test_enter_order(self):
        self.open()
        self.click("Edit1")
        seen = [self.focused()]
        for _ in ENTER_ORDER[1:]:
            self.keys(ENTER)
            seen.append(self.focused())
        self.assertEqual(seen, ENTER_ORDER)
        self.keys(ENTER)  # Enter on the list does nothing: no item, no open list
        self.assertEqual(self.focused(), "ComboBox1")
        self.assertFalse(self.js("document.getElementById('ComboBox1').matches(':open')"))
        self.assertEqual(self.js("document.getElementById('ComboBox1').selectedIndex"), -1)
        self.keys(DOWN)  # choosing an item moves on
        seen = [self.focused()]
        for _ in ENTER_ORDER_AFTER_COMBO[1:]:
            self.keys(ENTER)
            seen.append(self.focused())
        self.assertEqual(seen, ENTER_ORDER_AFTER_COMBO)
        self.assertEqual(self.js("document.getElementById('ComboBox1').selectedIndex"), 0)

    def test_tab_order_goes_round(self):
        self.open()
        self.click("Edit1")
        seen = [self.focused()]
        for _ in TAB_ORDER:
            self.keys(TAB)
            seen.append(self.focused())
        self.assertEqual(seen, TAB_ORDER + ["Edit1"])
        self.keys(SHIFT_TAB)
        self.assertEqual(self.focused(), "Button1")

    def test_space_toggles_a_check_box_and_enter_moves_on(self):
        self.open()
        self.click("Edit11")
        self.keys(ENTER, SPACE)
        self.assertEqual(self.focused(), "CheckBox1")
        self.assertTrue(self.js("document.getElementById('CheckBox1').checked"))
        self.keys("5", ENTER)
        self.assertEqual(self.focused(), "CheckBox2")

    def test_clicking_check_box_6_moves_to_the_compute_button(self):
        self.open()
        self.click("CheckBox6")
        self.assertEqual(self.focused(), "Button1")


class ClauseB(Page):
    def test_product_follows_key_releases(self):
        # Coefficient, points typed in that order: what Edit18 shows.
        rows = [("3216", "1500", "4824000"), ("100000000", "10000000", "1E15"), ("1000", "", "")]
        self.open()
        for coefficient, points, amount in rows:
            with self.subTest(coefficient=coefficient, points=points):
                for name, text in (("Edit1", coefficient), ("Edit25", points)):
                    self.click(name)
                    self.keys(SELECT_ALL, Keys.BACKSPACE, text)
                self.assertEqual(self.value("Edit18"), amount)

    def test_a_typed_amount_gives_way_to_the_product(self):
        self.open()
        for name, text in (("Edit1", "10"), ("Edit25", "5"), ("Edit18", "7")):
            self.click(name)
            self.keys(Keys.END, text)
        self.assertEqual(self.value("Edit18"), "507")
        # The release of the Tab that brings the focus into Edit25 counts.
        self.click("Edit5")
        self.keys(TAB)
        self.assertEqual((self.focused(), self.value("Edit18")), ("Edit25", "50"))
        self.click("Edit18")
        self.keys(SELECT_ALL, "7")
        self.click("Edit1")
        self.keys(Keys.ARROW_LEFT)
        self.assertEqual(self.value("Edit18"), "50")

    def test_text_that_arrives_without_a_key_does_not_refill(self):
        # As with text pasted with the mouse: no key is released in the field.
        self.open()
        for name, text in (("Edit1", "3216"), ("Edit25", "1500")):
            self.js("document.getElementById(arguments[0]).focus()", name)
            DRIVER.execute_cdp_cmd("Input.insertText", {"text": text})
            self.assertEqual(self.value(name), text)
        self.assertEqual(self.value("Edit18"), "")
        self.keys(Keys.ARROW_LEFT)
        self.assertEqual(self.value("Edit18"), "4824000")

    def test_pasted_text_gives_the_conversion_error_once(self):
        self.open()
        self.paste("Edit1", "abc")
        self.click("Edit25")
        self.keys("7")
        self.assertEqual(self.message(), "'abc' is not a valid floating point value.")
        self.assertEqual(self.value("Edit18"), "")
        # The Enter that closes the box is released over Edit25: no second box.
        self.close_message()
        time.sleep(0.2)
        self.assertIsNone(self.message())
        self.assertEqual(self.focused(), "Edit25")


class Decrees(Page):
    def test_worked_decree_a(self):
        self.compute(KEYS_A)
        self.assertEqual(self.report(), expected_reports(",")["A"])
        self.assertFalse(self.visible("Panel2"))
        self.assertEqual(self.js("localStorage.getItem('info.ini')"), STORED_A)
        # The optional fields left empty show "0", the clause-B amount stays empty.
        for name in ("Edit12", "Edit16", "Edit17", "Edit19", "Edit21", "Edit22", "Edit23", "Edit24"):
            self.assertEqual(self.value(name), "0", name)
        self.assertEqual(self.value("Edit18"), "")
        self.assertEqual(self.fetched(), [])

    def test_worked_decree_b(self):
        self.compute(KEYS_B, first_click="CheckBox5")
        self.assertEqual(self.value("Edit18"), "200000")
        self.assertEqual(self.report(), expected_reports(",")["B"])

    def test_worked_decree_a_in_a_persian_locale(self):
        self.compute(KEYS_A, locale="fa-IR")
        self.assertEqual(self.report(), expected_reports("\u066c")["A"])

    def test_base_values_come_back_and_inputs_survive_the_return(self):
        self.compute(KEYS_A)
        self.click("Button3")
        self.assertTrue(self.visible("Panel2"))
        self.assertEqual(self.value("Edit8"), "800000")
        DRIVER.get(URL)
        self.wait("document.documentElement.hasAttribute('data-ready')")
        values = [self.value(name) for name in ("Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit18", "Edit25",
                                                "Edit26", "Edit6", "Edit8")]
        self.assertEqual(values, ["1000", "2000000", "1600000", "300000", "100000", "", "", "6000000", "", ""])

    def test_back_returns_to_the_inputs(self):
        self.compute(KEYS_A)
        DRIVER.back()
        self.wait("document.getElementById('Panel1').hidden")
        self.assertEqual(self.value("Edit6"), "9")

    def test_a_second_computation_replaces_the_report(self):
        self.compute(KEYS_A)
        self.click("Button3")
        self.click("Edit8")
        self.keys(SELECT_ALL, "900000")
        self.click("Button1")
        self.wait("!document.getElementById('Panel1').hidden")
        lines = self.report()
        before = expected_reports(",")["A"]
        # One opening line, the new one.
        self.assertEqual([line for line in lines if "حقوق مبنا" in line], [lines[1]])
        self.assertNotEqual(lines[1], before[1])

class Messages(Page):
    def test_required_fields_in_their_order(self):
        # Everything empty: each press of the compute button names the first
        # missing entry and, once the box is closed, puts the focus on it;
        # filling that one in gives the next message. Edit7, Edit11 and the
        # percentages after Edit14 stay empty throughout.
        self.open()
        for name, text, typed in REQUIRED:
            with self.subTest(name):
                self.click("Button1")
                self.assertEqual(self.message(), text)
                self.assertEqual(self.js("document.querySelectorAll('#MessageBox button').length"), 1)
                self.assertEqual(DRIVER.find_element("id", "MessageOK").text, "تأیید")
                self.assertFalse(self.error_box())
                self.close_message()
                self.wait("document.activeElement.id === arguments[0]", focus=name)
                self.assertTrue(self.visible("Panel2"))
                self.assertEqual(self.value("Edit7"), "")  # nothing is written before the checks pass
                self.keys(typed)
        self.assertEqual(self.js("document.getElementById('MessageBox').tagName"), "DIALOG")
        self.click("Button1")
        self.wait("!document.getElementById('Panel1').hidden")
        self.assertEqual(self.value("Edit7"), "0")

    def test_conversion_error_keeps_the_zeros_written_before_it(self):
        self.open()
        for name in ("Edit1", "Edit2", "Edit3", "Edit26", "Edit4", "Edit5", "Edit6", "Edit8", "Edit9", "Edit10",
                     "Edit14"):
            self.click(name)
            self.keys("1")
        self.js("document.getElementById('ComboBox1').selectedIndex = 0")
        self.paste("Edit13", "12a")
        self.click("Button1")
        self.assertEqual(self.message(), "'12a' is not a valid floating point value.")
        self.assertTrue(self.js("document.getElementById('MessageBox').classList.contains('error')"))
        self.close_message()
        self.assertEqual([self.value(n) for n in ("Edit7", "Edit11", "Edit12", "Edit15", "Edit24")],
                         ["0", "0", "0", "", ""])
        self.assertTrue(self.visible("Panel2"))



class Storage(Page):
    def test_a_refused_save_keeps_the_inputs_in_front(self):
        # The window's error for a file it cannot create, the cause the browser's.
        self.open()
        self.js("Storage.prototype.setItem = () => { throw new DOMException('quota exceeded', 'QuotaExceededError'); }")
        self.click("Edit1")
        self.type_entries(KEYS_A)
        self.wait("document.getElementById('MessageBox').open")
        self.assertEqual(self.message(), 'Cannot create file "info.ini". quota exceeded.')
        self.assertTrue(self.error_box())
        self.close_message()
        self.assertTrue(self.visible("Panel2"))
        self.assertFalse(self.visible("Panel1"))
        self.assertEqual(self.report(), expected_reports()["A"])  # behind the inputs
        self.assertIsNone(self.js("localStorage.getItem('info.ini')"))

    def test_storage_that_cannot_be_read_at_start(self):
        # The window's error for a file it cannot open; the fields stay empty.
        self.open()
        self.js("localStorage.setItem('info.ini', arguments[0])", STORED_A)
        script = DRIVER.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
            Object.defineProperty(window, 'localStorage', {get() {
              throw new DOMException('Access is denied for this document.', 'SecurityError'); }});
        """})
        try:
            DRIVER.get(URL)
            self.wait("document.documentElement.hasAttribute('data-ready')")
            self.assertEqual(self.message(), 'Cannot open file "info.ini". Access is denied for this document.')
            self.assertTrue(self.error_box())
            self.close_message()
            self.assertEqual(self.focused(), "Edit6")
            self.assertEqual(self.js("Array.from(document.querySelectorAll('input[type=text]')).map((e) => e.value)"),
                             [""] * 26)
        finally:
            DRIVER.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": script["identifier"]})

    def test_stored_texts_read_by_the_rules_of_the_file(self):
        # What the browser holds under info.ini: the eight fields it fills
        # (Edit1 .. Edit5, Edit18, Edit25, Edit26), or None for none.
        eight = ["1", "2", "3", "4", "5", "6", "7", "8"]
        rows = [("\ufeff1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n", eight),
                ("1\n2\n3\n4\n5\n6\n7\n8", eight),
                ("1\r2\r3\r4\r5\r\r\r 8 \r", ["1", "2", "3", "4", "5", "", "", " 8 "]),
                ("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n\r\n", None),
                ("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n", None)]
        self.open()
        for stored, fields in rows:
            with self.subTest(stored=stored):
                self.js("localStorage.setItem('info.ini', arguments[0])", stored)
                DRIVER.get(URL)
                self.wait("document.documentElement.hasAttribute('data-ready')")
                self.assertIsNone(self.message())
                values = [self.value(name) for name in ("Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit18",
                                                        "Edit25", "Edit26")]
                self.assertEqual(values, fields or [""] * 8)
                self.assertEqual(self.focused(), "Edit6")


class Printing(Page):
    def printed(self):
        """The print stylesheet's PDF: its pages, its text and its images."""
        pdf = DRIVER.execute_cdp_cmd("Page.printToPDF", {"preferCSSPageSize": True})["data"]
        folder = tempfile.mkdtemp(prefix="web-print-")
        path = os.path.join(folder, "report.pdf")
        with open(path, "wb") as f:
            f.write(base64.b64decode(pdf))

        def run(*command):
            return subprocess.run(command, check=True, capture_output=True, text=True).stdout
        pages = int(run("pdfinfo", path).split("Pages:")[1].split()[0])
        images = run("pdfimages", "-list", path).splitlines()[2:]
        return pages, run("pdftotext", "-layout", path, "-"), images

    def printed_text(self):
        pages, text, _ = self.printed()
        return pages, text

    def test_the_report_alone_is_printed(self):
        self.compute(KEYS_A)
        pages, text, images = self.printed()
        self.assertEqual(pages, 1)
        # Nothing of the input panel: no caption of its group boxes and labels, no banner.
        for word in ("اطلاعات", "ضریب", "درصد", "مستخدم"):
            self.assertFalse(any(word in line for line in expected_reports()["A"]), word)
            self.assertNotIn(word, text)
        self.assertEqual(images, [])

        def amounts(line):  # the numbers of a line, whatever order the bidirectional text comes out in
            return sorted(re.findall(r"\d[\d,]*", line))

        printed = [amounts(line) for line in text.splitlines() if line.strip()]
        self.assertEqual(printed, [amounts(line) for line in expected_reports(",")["A"] if line.strip()])
        self.assertEqual(text.count("-" * 36), 2)
        self.assertNotIn("خروج", text)  # no button, no caption, no header or footer

    def test_a_long_report_goes_on_to_a_second_page(self):
        self.compute(KEYS_A)
        self.js("const a = document.getElementById('RichEdit1');"
                "for (let i = 0; i < 40; ++i) { const p = document.createElement('div'); p.textContent = 'x' + i;"
                " a.append(p); }")
        pages, text = self.printed_text()
        self.assertEqual(pages, 2)
        self.assertIn("x39", text)

    def test_print_button(self):
        self.compute(KEYS_A)
        self.js("window.Printed = []; window.print = () => { Printed.push(document.title);"
                " dispatchEvent(new Event('afterprint')); };")
        self.click("Button2")
        self.assertEqual(self.js("Printed"), ["چاپ نتیجه محاسبات"])  # the job is named after the document
        self.assertTrue(DRIVER.title.startswith("نرم افزار محاسبه احکام کارگزینی"))
        self.js("document.getElementById('RichEdit1').replaceChildren(' \\n ')")
        self.click("Button2")
        self.assertEqual(self.message(), NOTHING_TO_PRINT)
        self.assertEqual(len(self.js("Printed")), 1)


class Banner(Page):
    def changed_pixels(self):
        return self.js("""
            const c = document.getElementById('WaterImage1');
            const o = document.createElement('canvas'); o.width = c.width; o.height = c.height;
            const x = o.getContext('2d'); x.drawImage(document.getElementById('BannerPicture'), 0, 0);
            const a = x.getImageData(0, 0, c.width, c.height).data;
            const b = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
            let n = 0; for (let i = 0; i < a.length; i += 4) if (a[i] !== b[i] || a[i + 1] !== b[i + 1]) ++n;
            return n;""")

    def test_the_mouse_raises_ripples_and_a_click_opens_the_page_once(self):
        self.open()
        self.js("window.Opened = []; window.open = (...a) => { Opened.push(a[0]); return null; }")
        banner = DRIVER.find_element("id", "WaterImage1")
        chain = ActionChains(DRIVER).move_to_element_with_offset(banner, -100, 0)
        for dx in range(-100, 100, 10):
            chain.move_to_element_with_offset(banner, dx, 10)
        chain.perform()
        end = time.time() + 5
        while self.changed_pixels() <= 100 and time.time() < end:
            time.sleep(0.05)
        self.assertGreater(self.changed_pixels(), 100)
        ActionChains(DRIVER).double_click(banner).perform()
        self.assertEqual(self.js("Opened"), ["https://example.org/"])

    def test_it_stands_still_while_the_page_is_hidden(self):
        # Frames drawn while another tab is in front: none, though the water moves.
        self.open()
        self.js("""window.Drawn = []; window.Shown = [];
            const put = CanvasRenderingContext2D.prototype.putImageData;
            CanvasRenderingContext2D.prototype.putImageData = function (...a) {
              Drawn.push(document.visibilityState); return put.apply(this, a); };
            document.addEventListener('visibilitychange', () => Shown.push(document.visibilityState));""")
        banner = DRIVER.find_element("id", "WaterImage1")
        chain = ActionChains(DRIVER)
        for dx in range(-150, 150, 10):
            chain.move_to_element_with_offset(banner, dx, 0)
        chain.perform()
        page = DRIVER.current_window_handle
        DRIVER.switch_to.new_window("tab")
        time.sleep(1.5)
        DRIVER.close()
        DRIVER.switch_to.window(page)
        self.wait("Shown.length === 2")
        self.assertEqual(self.js("Shown"), ["hidden", "visible"])
        self.assertNotIn("hidden", self.js("Drawn"))
        # And it moves again once in front.
        self.wait("Drawn.length > arguments[0]", count=len(self.js("Drawn")))


class Served(Page):
    def test_the_page_works_from_a_web_server(self):
        import functools
        import http.server
        import threading
        handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=os.path.dirname(SITE))
        handler.log_message = lambda *args: None
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        try:
            DRIVER.get(f"http://127.0.0.1:{server.server_address[1]}/{os.path.basename(SITE)}")
            self.wait("document.documentElement.hasAttribute('data-ready')")
            self.assertEqual(self.focused(), "Edit6")
            self.click("Edit1")
            self.type_entries(KEYS_A)
            self.wait("!document.getElementById('Panel1').hidden")
            self.assertEqual(self.report(), expected_reports()["A"])
            self.assertEqual(self.js("Refused"), [])
            self.assertEqual(self.fetched(), [])
        finally:
            server.shutdown()
            server.server_close()


if __name__ == "__main__":
    unittest.main(verbosity=2)
