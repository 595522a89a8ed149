#!/usr/bin/env python3
"""Runs the examples of README.md and compares what they print with the README.

An example is a code block (indented by four blanks, or fenced by ```) whose first line begins
with "$ ": each "$ " line is a shell command (a line ending in a backslash goes on on the next),
and the lines under it, up to the next command or the end of the block, are what it prints on
its standard output and error. The commands run in README order in one scratch folder that holds
a copy of examples/, the folder plots/ (the first and the last 21 records of plot7.txt as two
plots) and tally.csv (the same two plots as one spreadsheet export); "quorvel-batch" and
"./run.sh --batch" at the start of a command run the batch given. The charts the README shows
are compared with the files under docs/screenshots/ too.

    tools/readme_examples.py BATCH [--update]

Without --update it prints each difference and exits 1 when there is one; with --update it
writes the program's output into README.md and the charts into docs/screenshots/ instead.
"""

import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
README = ROOT / "README.md"
# The charts of the README: the file an example writes, and the copy beside the README.
CHARTS = {
    "docs/screenshots/convergence_plot7.svg": "docs/screenshots/convergence_plot7.svg",
    "stand-stand.svg": "docs/screenshots/stand_example.svg",
}


def examples(lines):
    """(first, last) line ranges of the output under each command, with the command."""
    found = []
    i = 0
    while i < len(lines):
        fenced = lines[i].strip() == "```" and i + 1 < len(lines) and lines[i + 1].startswith("$ ")
        indented = lines[i].startswith("    $ ") and (i == 0 or not lines[i - 1].startswith("    "))
        if not (fenced or indented):
            i += 1
            continue
        indent = "" if fenced else "    "
        i += 1 if fenced else 0
        end = i
        while end < len(lines) and (
            (fenced and lines[end].strip() != "```") or (not fenced and lines[end].startswith("    "))
        ):
            end += 1
        j = i
        while j < end:
            command = lines[j][len(indent) + 2 :]
            while command.endswith("\\"):
                j += 1
                command = command[:-1] + " " + lines[j].strip()
            j += 1
            first = j
            while j < end and not lines[j].startswith(indent + "$ "):
                j += 1
            found.append((command, first, j, indent))
        i = end + 1
    return found


def scratch_folder(folder):
    shutil.copytree(ROOT / "examples", folder / "examples")
    (folder / "docs/screenshots").mkdir(parents=True)
    records = (ROOT / "examples/plot7.txt").read_text().splitlines()
    (folder / "plots").mkdir()
    (folder / "plots/north.txt").write_text("\n".join(records[:21]) + "\n")
    (folder / "plots/south.txt").write_text("\n".join(records[-21:]) + "\n")
    rows = ["plot;species;d1;d2;length;stage;notes"]
    for plot, part in (("north", records[:21]), ("south", records[-21:])):
        for k, record in enumerate(part):
            fields = [f.strip('"').replace(".", ",") for f in record.split(",")]
            rows.append(";".join([plot] + fields + ["charred" if k == 1 else ""]))
    (folder / "tally.csv").write_text("\n".join(rows) + "\n")


def run(command, batch, folder):
    command = re.sub(r"^(quorvel-batch|\./run\.sh --batch)\b", batch, command)
    environment = dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8")
    result = subprocess.run(["bash", "-c", command], cwd=folder, env=environment,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
    return result.stdout.decode("utf-8").replace("\r", "").splitlines()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    batch = os.path.abspath(sys.argv[1])
    update = "--update" in sys.argv[2:]
    lines = README.read_text().split("\n")
    differences = 0
    with tempfile.TemporaryDirectory() as name:
        folder = pathlib.Path(name)
        scratch_folder(folder)
        replaced = []
        for command, first, last, indent in examples(lines):
            got = [indent + line if line else line for line in run(command, batch, folder)]
            if got != lines[first:last]:
                differences += 1
                print(f"README.md:{first}: $ {command}")
                for line in got:
                    print("  + " + line)
                for line in lines[first:last]:
                    print("  - " + line)
            replaced.append((first, last, got))
        for made, shown in CHARTS.items():
            new, old = (folder / made).read_bytes(), (ROOT / shown).read_bytes()
            if new != old:
                differences += 1
                print(f"{shown} differs from what the README's example draws")
                if update:
                    (ROOT / shown).write_bytes(new)
    if update:
        for first, last, got in reversed(replaced):
            lines[first:last] = got
        README.write_text("\n".join(lines))
    elif differences:
        print(f"{differences} example(s) out of step; tools/readme_examples.py BATCH --update "
              "brings the README in step once the new output is right")
        sys.exit(1)


if __name__ == "__main__":
    main()
