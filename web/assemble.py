#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the site's one index.html: the template with the style sheet, the
bridge (emscripten's script with the WebAssembly inside), the page's script and
the banner picture inlined, so that the file works on its own, from file://,
a USB stick or an intranet server.

The content security policy lets in exactly these inline scripts and the style
sheet (by their SHA-256) and the WebAssembly compile, and lets out nothing:
no request of any kind leaves the page. Only opening the author's web page,
when the banner is clicked, leaves it, in a new window."""

import argparse
import base64
import hashlib
import os
import re


def inline_script(text):
    # "</script" inside a script would end the element early.
    return re.sub(r"</(script)", r"<\\/\1", text, flags=re.IGNORECASE)


def compact_script(text):
    # Whole-line comments and indentation only: nothing inside a line is
    # touched, so no string or regular expression can be changed.
    return "".join(line.strip() + "\n" for line in text.splitlines()
                   if line.strip() and not line.strip().startswith("//"))


def compact_style(text):
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.DOTALL)
    return "".join(line.strip() + "\n" for line in text.splitlines() if line.strip())


def digest(text):
    return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode("utf-8")).digest()).decode("ascii") + "'"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    for name in ("template", "style", "bridge", "script", "banner", "output"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()

    def read(path):
        with open(path, encoding="utf-8") as f:
            return f.read()

    # The site travels as one file: its own style and script without comments.
    style = compact_style(read(args.style))
    bridge = inline_script(read(args.bridge))
    script = inline_script(compact_script(read(args.script)))
    with open(args.banner, "rb") as f:
        banner = "data:image/jpeg;base64," + base64.b64encode(f.read()).decode("ascii")

    policy = "; ".join([
        "default-src 'none'",
        "script-src " + " ".join([digest(bridge), digest(script), "'wasm-unsafe-eval'"]),
        "style-src " + digest(style),
        "img-src data:",
        # emscripten's script fetches its own WebAssembly from a data: URL; a
        # data: URL is inside the page, nothing goes out.
        "connect-src data:",
        "base-uri 'none'",
        "form-action 'none'",
    ])
    page = read(args.template)
    for marker, value in (("@POLICY@", policy), ("@STYLE@", style), ("@BANNER@", banner),
                          ("@BRIDGE@", bridge), ("@SCRIPT@", script)):
        if page.count(marker) != 1:
            raise SystemExit(f"assemble.py: {marker} must appear once in {args.template}")
        page = page.replace(marker, value)

    os.makedirs(os.path.dirname(args.output), exist_ok=True)
    temporary = args.output + ".tmp"
    with open(temporary, "w", encoding="utf-8") as f:
        f.write(page)
    os.replace(temporary, args.output)


if __name__ == "__main__":
    main()
