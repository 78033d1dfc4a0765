#!/usr/bin/env python3
"""The release manifests: those written for a release pass the schema checks and name the
files' hashes, and each kind of fault the checks are there for is reported.

Usage: manifests_test.py REPOSITORY_ROOT
"""
import json
import pathlib
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(pathlib.Path(sys.argv[1]) / "packaging"))
import check_manifests  # noqa: E402
import manifests  # noqa: E402

FAULTS = [  # (file, change, what the report names)
    ("winget/Pluvette.Pluvette.locale.en-US.yaml", ("Publisher: ", "Publishr: "), "Publisher is missing"),
    ("winget/Pluvette.Pluvette.installer.yaml", ('"nullsoft"', '"nsis"'), "InstallerType"),
    ("winget/Pluvette.Pluvette.installer.yaml", ('InstallerUrl: "https://', 'InstallerUrl: "ftp://'), "InstallerUrl"),
    ("winget/Pluvette.Pluvette.yaml", ('PackageVersion: "1.10"', 'PackageVersion: "1.11"'), "different"),
    ("winget/Pluvette.Pluvette.yaml", ('ManifestType: "version"', 'ManifestType: "locale"'), "unknown ManifestType"),
    ("scoop/pluvette.json", ('"version": "1.10"', '"version": "1.10 beta"'), "version"),
    ("scoop/pluvette.json", ('"bin"', '"binary"'), "binary is not a field"),
]


def main():
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        folder = pathlib.Path(folder)
        setup, archive = folder / "pluvette-1.10-setup.exe", folder / "pluvette-1.10-win64.zip"
        setup.write_bytes(b"MZ installer")
        archive.write_bytes(b"PK archive")
        out = folder / "release"
        manifests.main("1.10", setup, archive, "https://example.org/files/", out)
        found = check_manifests.problems_of(out, setup, archive)
        if found:
            failures.append(f"a release's manifests: {found}")
        # A version that YAML would read as a number stays text.
        installer = (out / "winget/Pluvette.Pluvette.installer.yaml").read_text()
        if 'PackageVersion: "1.10"' not in installer:
            failures.append("the version is not written as text")
        if json.loads((out / "scoop/pluvette.json").read_text())["architecture"]["64bit"][
                "url"] != "https://example.org/files/pluvette-1.10-win64.zip":
            failures.append("the zip's address")

        for name, (old, new), expected in FAULTS:
            path = out / name
            original = path.read_text()
            assert old in original, (name, old)
            path.write_text(original.replace(old, new, 1))
            found = check_manifests.problems_of(out, setup, archive)
            path.write_text(original)
            if not any(expected in problem for problem in found):
                failures.append(f"{name} with {new!r}: {found} names no {expected!r}")
        setup.write_bytes(b"MZ another installer")
        if not any("InstallerSha256" in p for p in check_manifests.problems_of(out, setup, archive)):
            failures.append("a changed installer's hash is not reported")
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(FAULTS) + 2} faults tried, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
