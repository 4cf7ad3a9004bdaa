"""Checks `mokcli skins` and `mokcli script` against the shared mod folders.

usage: script_skins_check.py MOKCLI MODFOLDERS SCRATCH

For every mesh of MODFOLDERS/expected.json:
  - `mokcli skins MESH` must give the expected script, mesh name and channels
    (texture name, file found or null, declared file or null);
  - the lines `mokcli script` writes into a copy of the package must, once
    the package's other scripts are gone, read back (`mokcli skins`) to the
    same mesh name and the same channels with files, and keep the origin and
    scale of the original script.
Prints one line per difference; exit status 1 when there is any.
"""
import json
import os
import re
import shutil
import subprocess
import sys


def skins(mokcli, mesh):
    out = subprocess.run([mokcli, "skins", mesh], capture_output=True, text=True, check=True).stdout
    return json.loads(out)


def relative(path, root):
    return None if path is None else os.path.relpath(path, root).replace(os.sep, "/")


def channels(found, root):
    return [(s["num"], s["texture"], relative(s["file"], root), s["declaredFile"]) for s in found["skins"]]


def check_found(mokcli, root, entry, problems):
    found = skins(mokcli, os.path.join(root, entry["mesh"]))
    want = [(s["num"], s["texture"], s["file"], s["declaredFile"]) for s in entry["skins"]]
    got = channels(found, root)
    if relative(found["uc"], root) != entry["uc"] or found["meshName"] != entry["meshName"] or got != want:
        problems.append("%s: got %s %s %s, want %s %s %s" % (entry["mesh"], relative(found["uc"], root),
                        found["meshName"], got, entry["uc"], entry["meshName"], want))
    missing = [s["texture"] for s in entry["skins"] if s["file"] is None]
    if found["missing"] != list(dict.fromkeys(missing)):
        problems.append("%s: missing %s, want %s" % (entry["mesh"], found["missing"], missing))


def kept_values(text, command, lines, problems, mesh):
    """Every NAME=VALUE of the original line must be on the written line."""
    if not lines:
        return
    written = [l for l in text.splitlines() if l.upper().startswith("#EXEC " + command)]
    for name, value in lines[0]["values"].items():
        if not written or not re.search(r"\b%s=%s(\s|$)" % (name, re.escape(value)), written[0], re.I):
            problems.append("%s: %s lost %s=%s: %s" % (mesh, command, name, value, written))


def check_round_trip(mokcli, root, scratch, entry, problems):
    package = entry["mesh"].split("/")[0]
    copy = os.path.join(scratch, entry["meshName"])
    shutil.copytree(os.path.join(root, package), os.path.join(copy, package))
    before = skins(mokcli, os.path.join(copy, entry["mesh"]))
    classes = os.path.join(copy, package, "Classes")
    out = os.path.join(classes, "Exported.uc")
    subprocess.run([mokcli, "script", os.path.join(copy, entry["mesh"]), out], capture_output=True, check=True)
    for name in os.listdir(classes):
        if name != "Exported.uc":
            os.remove(os.path.join(classes, name))
    after = skins(mokcli, os.path.join(copy, entry["mesh"]))
    with_files = [(s["num"], s["file"]) for s in before["skins"] if s["file"]]
    if after["meshName"] != entry["meshName"] or [(s["num"], s["file"]) for s in after["skins"]] != with_files:
        problems.append("%s: read back %s %s, want %s %s" % (entry["mesh"], after["meshName"], after["skins"],
                        entry["meshName"], with_files))
    text = open(out, encoding="utf-8").read()
    kept_values(text, "MESH ORIGIN", entry["origin"], problems, entry["mesh"])
    kept_values(text, "MESHMAP SCALE", entry["scale"], problems, entry["mesh"])
    shutil.rmtree(copy)


def main():
    mokcli, root, scratch = sys.argv[1:4]
    problems = []
    entries = json.load(open(os.path.join(root, "expected.json"), encoding="utf-8"))
    for entry in entries:
        check_found(mokcli, root, entry, problems)
        check_round_trip(mokcli, root, scratch, entry, problems)
    print("\n".join(problems) if problems else "%d meshes agree" % len(entries))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
