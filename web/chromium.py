# SPDX-License-Identifier: GPL-3.0-or-later
"""Debian's headless Chromium through selenium, in a fresh profile, with the
page's viewport the window's client area: for the browser tests and
measure.py."""
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def browser(profile_prefix):
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync", "--no-first-run",
                     "--user-data-dir=" + tempfile.mkdtemp(prefix=profile_prefix)):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 785, "height": 691, "deviceScaleFactor": 1, "mobile": False})
    return driver
