#!/usr/bin/env python3
"""check_reference.py PROGRAM MANPAGE.gz COMPLETION

What `tivora --help` lists, the manual page and the bash completion say
alike: every entry of --help (an option, an export kind, an exit status)
stands in the page with the same words, and the completion, sourced in bash
as bash-completion sources it, offers each mode's options and the export
kinds exactly as --help lists them, file names after an option that takes a
file, and design files (*.csv) where a design is asked for.
"""

import os
import re
import subprocess
import sys
import tempfile

program, page, completion = sys.argv[1:4]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def help_blocks():
    """The entries of `tivora --help` under each heading, folded lines joined."""
    text = subprocess.run([program, "--help"], capture_output=True, text=True, check=True).stdout
    blocks, heading, entry = {}, None, None
    for line in text.splitlines():
        if line.endswith(":") and not line.startswith(" "):
            heading = line
            blocks[heading] = []
        elif heading and re.match(r"  \S", line):
            left, _, words = line.strip().partition("  ")
            entry = [left, words.strip()]
            blocks[heading].append(entry)
        elif heading and entry and line.startswith("   "):
            entry[1] += " " + line.strip()
        else:
            heading = entry = None
    return blocks


def plain(text):
    """Words with single blanks between, the page's typography undone."""
    text = re.sub(r".\x08", "", text)
    for fancy, ascii in (("\u2212", "-"), ("\u2010", "-"), ("\u2019", "'"), ("\u2018", "'")):
        text = text.replace(fancy, ascii)
    return " ".join(text.split())


blocks = help_blocks()
for heading in ("Options:", "Options of --analyse (unit; default):", "KIND is one of:", "Options of --export:",
                "Exit status:"):
    check(blocks.get(heading), f"--help has no entries under {heading!r}")

# The page, each line as long as it wants to be, so that nothing is folded.
environment = dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="2000")
manual = plain(subprocess.run(["man", "-l", page], capture_output=True, text=True, check=True,
                              env=environment).stdout)
for heading, entries in blocks.items():
    for left, words in entries:
        entry = plain(left + " " + words)
        check(entry in manual, f"the manual page lacks {heading} {entry!r}")

script = r"""
source "$1"
complete -p tivora
offered() {
    COMP_WORDS=(tivora "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tivora
    printf '%s\n' "${COMPREPLY[@]}"
}
echo '# window'; offered --
echo '# analyse'; offered --analyse --
echo '# kinds'; offered --export ''
echo '# export'; offered --export carving-table --
echo '# file'; offered --analyse --polar ''
echo '# design'; offered --export template-svg ''
"""
with tempfile.TemporaryDirectory() as folder:
    for name in ("polar.txt", "rotor.csv", "OLD.CSV"):
        open(os.path.join(folder, name), "w").close()
    os.mkdir(os.path.join(folder, "designs"))
    run = subprocess.run(["bash", "--norc", "-c", script, "bash", os.path.abspath(completion)],
                         capture_output=True, text=True, cwd=folder)
check(run.returncode == 0 and run.stderr == "", f"sourcing the completion: {run.stderr}")
lines = run.stdout.splitlines()
check(lines[:1] == ["complete -F _tivora tivora"], f"complete -p tivora says {lines[:1]}")
said, name = {}, None
for line in lines[1:]:
    if line.startswith("# "):
        name = line[2:]
        said[name] = set()
    elif line:
        said[name].add(line)


def names(heading):
    return {left.split()[0] for left, _ in blocks.get(heading, [])}


for offered, heading in (("window", "Options:"), ("analyse", "Options of --analyse (unit; default):"),
                         ("kinds", "KIND is one of:"), ("export", "Options of --export:")):
    check(said.get(offered) == names(heading),
          f"completion after {offered}: {sorted(said.get(offered, []))}, --help: {sorted(names(heading))}")
check(said.get("file") == {"polar.txt", "rotor.csv", "OLD.CSV", "designs"}, f"a file: {said.get('file')}")
check(said.get("design") == {"rotor.csv", "OLD.CSV", "designs"}, f"a design file: {said.get('design')}")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
