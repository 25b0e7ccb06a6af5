# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader hears of the input panel, read over AT-SPI: the window
offered as a frame named by its caption, and 35 inputs, each with a name of
its own that is its label's caption. Prints what it heard; exits 1 on a fault."""
import sys
import time

import pyatspi

APPLICATION = "محاسبه احکام کارگزینی"
CAPTION_START = "نرم افزار محاسبه احکام کارگزینی (برنامه نویس: "
INPUT_ROLES = {"text", "combo box", "check box", "push button"}

# A few inputs as a clerk would name them, written out here by hand.
EXPECTED = {
    "ضریب": "text",
    "فوق العاده خاص جز 3 بند ب": "text",
    "گروه مستخدم": "text",
    "تفاوت تطبیق موضوع جز 1+بند ی تبصره 12": "text",
    "نوع بیمه": "combo box",
    "وضعیت عائله مندی: سرپرست خانوار است": "check box",
    "فوق العاده ایثارگری: مشمول می باشد": "check box",
    "محرومیت از تسهیلات زندگی 2 (مخصوص مناطق مرزی): مشمول می باشد": "check box",
    "درصد فوق العاده كار با اشعه": "text",
    "مبلغ فوق العاده خاص جز 3 بند ب در محاسبه حق مسکن لحاظ شود": "check box",
    "محاسبه\u200cی حکم": "push button",
}
DESCRIBED = {
    "گروه مستخدم": "گروه مستخدم (کل گروه شامل استحقاقی و تشویقی و...)",
    "درصد فوق العاده مناطق عملیاتی": "20% یا 25%",
}


def application():
    for _ in range(300):  # 30 s for the program to start
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == APPLICATION and app.childCount > 0:
                return app
        time.sleep(0.1)
    return None


def showing(node):
    """The objects a screen reader can reach: those on screen, depth first."""
    try:
        if not node.getState().contains(pyatspi.STATE_SHOWING):
            return
    except Exception:
        return
    yield node
    for child in node:
        if child is not None:
            yield from showing(child)


def main():
    app = application()
    if app is None:
        print("no application named %s on the accessibility bus" % APPLICATION)
        return 1
    faults = []
    windows = [child for child in app if child is not None]
    frames = [w for w in windows if w.getRoleName() == "frame" and w.name.startswith(CAPTION_START)]
    if len(frames) != 1:
        faults.append("the window is not one frame named by its caption: %s"
                      % [(w.getRoleName(), w.name) for w in windows])
        return report(faults)
    heard = list(showing(frames[0]))
    for node in heard:
        print("%s\t%s\t%s" % (node.getRoleName(), node.name, node.description))
    groups = {n.name.strip() for n in heard if n.getRoleName() == "panel" and n.name.strip()}
    inputs = [n for n in heard if n.getRoleName() in INPUT_ROLES]
    names = [n.name for n in inputs]
    if len(inputs) != 35:
        faults.append("%d inputs instead of 35" % len(inputs))
    for name in sorted(set(names)):
        if names.count(name) > 1:
            faults.append("%d inputs are named %r" % (names.count(name), name))
    for node in inputs:
        if not node.name.strip():
            faults.append("a %s without a name" % node.getRoleName())
        elif node.name.strip() in groups:
            faults.append("a %s named only by its group box: %r" % (node.getRoleName(), node.name))
    by_name = {n.name: n for n in inputs}
    for name, role in EXPECTED.items():
        node = by_name.get(name)
        if node is None:
            faults.append("no input named %r" % name)
        elif node.getRoleName() != role:
            faults.append("%r is a %s, not a %s" % (name, node.getRoleName(), role))
    for name, description in DESCRIBED.items():
        node = by_name.get(name)
        if node is not None and node.description != description:
            faults.append("%r is described as %r" % (name, node.description))
    images = [n for n in heard if n.getRoleName() == "image"]
    if len(images) != 1 or not images[0].name or not images[0].description:
        faults.append("the banner is not one named and described image: %s"
                      % [(n.name, n.description) for n in images])
    else:
        action = images[0].queryAction()
        if "Press" not in [action.getName(i) for i in range(action.nActions)]:
            faults.append("the banner offers no press action")
    return report(faults)


def report(faults):
    for fault in faults:
        print("FAULT: " + fault)
    print("%d faults" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
