#!/usr/bin/env python3
"""Writes build/demo/index.html from what scripts/demo.sh left in build/demo: the steps and their outcomes
(steps.tsv), the spooler lists (lists/), the screenshots (screens/), and the jobs the port received (jobs/:
each as a hex dump, with the paper mq450 render drew of it).

Usage: demo-report.py DEMO_DIR VERSION
"""
import html
import os
import sys

ORDER = ["wizard-licence", "wizard-model", "wizard-mode", "wizard-os", "wizard-port", "main", "watermark", "operation", "1dcode", "2dcode", "version-document", "utility",
         "download", "font", "version-device"]


def hex_dump(data, limit=4096):
    lines = []
    for offset in range(0, min(len(data), limit), 16):
        row = data[offset:offset + 16]
        hexes = " ".join(f"{b:02X}" for b in row)
        text = "".join(chr(b) if 32 <= b < 127 else "." for b in row)
        lines.append(f"{offset:06X}  {hexes:<47}  {text}")
    if len(data) > limit:
        lines.append(f"... {len(data) - limit} more bytes")
    return "\n".join(lines)


def read_text(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read()
    except OSError:
        return ""


def main():
    demo, version = sys.argv[1], sys.argv[2]
    steps = []
    for line in read_text(os.path.join(demo, "steps.tsv")).splitlines():
        name, status, detail = (line.split("\t") + ["", ""])[:3]
        steps.append((name, status, detail))
    passed = sum(1 for s in steps if s[1] == "ok")
    out = [
        "<!DOCTYPE html><html><head><meta charset='utf-8'>",
        f"<title>MQ-450 package {html.escape(version)}: demonstration</title>",
        "<style>body{font-family:sans-serif;margin:2em;max-width:1300px}table{border-collapse:collapse}"
        "td,th{border:1px solid #ccc;padding:3px 8px;text-align:left;vertical-align:top}"
        ".ok{color:#060}.FAIL{color:#b00;font-weight:bold}pre{background:#f6f6f6;padding:8px;overflow:auto}"
        "figure{display:inline-block;margin:6px;vertical-align:top}figcaption{font-size:90%}"
        ".lists{display:flex;gap:1em}</style></head><body>",
        f"<h1>MQ-450 package {html.escape(version)} under Wine</h1>",
        f"<p class='{'ok' if passed == len(steps) else 'FAIL'}'>{passed} of {len(steps)} steps passed.</p>",
        "<p>From the release archive alone, in a fresh Wine prefix: the wizard walked through and cancelled, an unattended installation"
        " of the MQ-450 on LPT1: (mapped to a Unix file), both property sheets opened on the installed printer"
        " with the plug-in the installer copied, the test prints, self-test and logo download sent, the bytes"
        " checked against mq450, and the unattended removal. This kernel runs 64-bit programs only, so the"
        " archive's installer.exe and uninstall.exe ran as their x64 builds.</p>",
        "<h2>Steps</h2><table><tr><th>Step</th><th>Outcome</th><th>Detail</th></tr>",
    ]
    for name, status, detail in steps:
        out.append(f"<tr><td>{html.escape(name)}</td><td class='{html.escape(status)}'>{html.escape(status)}</td>"
                   f"<td>{html.escape(detail)}</td></tr>")
    out.append("</table>")

    out.append("<h2>Printers, drivers, monitors and ports of the prefix</h2><div class='lists'>")
    for name, title in (("before", "before"), ("installed", "after the installation"), ("removed", "after the removal")):
        out.append(f"<div><h3>{title}</h3><pre>{html.escape(read_text(os.path.join(demo, 'lists', name + '.txt')))}</pre></div>")
    out.append("</div>")

    screens = os.path.join(demo, "screens")
    shots = sorted(os.listdir(screens)) if os.path.isdir(screens) else []
    rank = {name: i for i, name in enumerate(ORDER)}
    shots.sort(key=lambda s: (rank.get(s.rsplit("-", 1)[0], len(ORDER)), s))
    out.append("<h2>Screenshots</h2>")
    for shot in shots:
        if shot.endswith(".png"):
            out.append(f"<figure><img src='screens/{html.escape(shot)}'><figcaption>{html.escape(shot)}"
                       "</figcaption></figure>")

    out.append("<h2>Jobs received by the printer's port</h2>")
    jobs = os.path.join(demo, "jobs")
    for name in sorted(os.listdir(jobs)) if os.path.isdir(jobs) else []:
        if not (name.startswith("job-") and name.endswith(".bin")):
            continue
        base = name[:-4]
        with open(os.path.join(jobs, name), "rb") as f:
            data = f.read()
        out.append(f"<h3>{html.escape(base[4:])} ({len(data)} bytes)</h3>")
        data_text = read_text(os.path.join(jobs, base + ".data.txt"))
        if data_text:
            out.append(f"<p>Test print data: <code>{html.escape(data_text)}</code></p>")
        out.append(f"<pre>{html.escape(hex_dump(data))}</pre>")
        if os.path.exists(os.path.join(jobs, base + ".png")):
            out.append(f"<figure><img src='jobs/{html.escape(base)}.png'><figcaption>the paper, drawn by"
                       " mq450 render</figcaption></figure>")
        report = read_text(os.path.join(jobs, base + ".render.txt"))
        if report.strip():
            out.append(f"<pre>{html.escape(report)}</pre>")
    out.append("<p>Logs: build/demo/logs/.</p></body></html>")
    with open(os.path.join(demo, "index.html"), "w", encoding="utf-8") as f:
        f.write("\n".join(out))


if __name__ == "__main__":
    main()
