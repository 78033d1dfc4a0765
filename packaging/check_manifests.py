#!/usr/bin/env python3
"""Checks a release's manifests (as manifests.py writes them) against what the published
schemas require: winget's 1.6.0 version, installer and defaultLocale schemas and scoop's app
manifest schema (required fields, types, patterns, lengths, enumerations), that every field
is one the schema knows, that the three winget files agree, and that the hashes are those of
the files given. Prints each problem and fails when there is one.

Usage: check_manifests.py MANIFEST_FOLDER SETUP_EXE ZIP
"""
import hashlib
import json
import pathlib
import re
import sys

import yaml

IDENTIFIER = r'^[^\.\s\\/:\*\?"<>\|\x01-\x1f]{1,32}(\.[^\.\s\\/:\*\?"<>\|\x01-\x1f]{1,32}){1,7}$'
VERSION = r'^[^\\/:\*\?"<>\|\x01-\x1f]+$'
LOCALE = r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$"
PART = r"(0|[1-9][0-9]{0,3}|[1-5][0-9]{4}|6[0-4][0-9]{3}|65[0-4][0-9]{2}|655[0-2][0-9]|6553[0-5])"
MANIFEST_VERSION = rf"^{PART}(\.{PART}){{2}}$"
URL = r"^([Hh][Tt][Tt][Pp][Ss]?)://.+$"
SHA256 = r"^[A-Fa-f0-9]{64}$"


def text(pattern=None, low=0, high=None, enum=None, const=None):
    return {"type": str, "pattern": pattern, "low": low, "high": high, "enum": enum,
            "const": const}


HEAD = {"PackageIdentifier": text(IDENTIFIER, 1, 128), "PackageVersion": text(VERSION, 1, 128),
        "ManifestVersion": text(MANIFEST_VERSION)}
WINGET = {
    "version": ({**HEAD, "DefaultLocale": text(LOCALE, 1, 20),
                 "ManifestType": text(const="version")},
                ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType",
                 "ManifestVersion"]),
    "installer": ({**HEAD, "ManifestType": text(const="installer"),
                   "InstallerType": text(enum=["msix", "msi", "appx", "exe", "zip", "inno",
                                               "nullsoft", "wix", "burn", "pwa", "portable"]),
                   "Scope": text(enum=["user", "machine"]),
                   "InstallModes": {"type": list, "items": text(
                       enum=["interactive", "silent", "silentWithProgress"]), "high": 3},
                   "UpgradeBehavior": text(enum=["install", "uninstallPrevious"]),
                   "ProductCode": text(None, 1, 255),
                   "Installers": {"type": list, "low": 1, "high": 1024, "items": {
                       "type": dict, "required": ["Architecture", "InstallerUrl",
                                                  "InstallerSha256"],
                       "fields": {"Architecture": text(enum=["x86", "x64", "arm", "arm64",
                                                             "neutral"]),
                                  "InstallerUrl": text(URL, 1, 2048),
                                  "InstallerSha256": text(SHA256)}}}},
                  ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType",
                   "ManifestVersion"]),
    "defaultLocale": ({**HEAD, "ManifestType": text(const="defaultLocale"),
                       "PackageLocale": text(LOCALE, 1, 20), "Publisher": text(None, 2, 256),
                       "PublisherUrl": text(URL, 1, 2048), "PackageName": text(None, 2, 256),
                       "PackageUrl": text(URL, 1, 2048), "License": text(None, 3, 512),
                       "ShortDescription": text(None, 3, 256),
                       "Description": text(None, 3, 10000),
                       "Tags": {"type": list, "high": 16, "unique": True,
                                "items": text(None, 1, 40)}},
                      ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher",
                       "PackageName", "License", "ShortDescription", "ManifestType",
                       "ManifestVersion"]),
}
SCOOP_HASH = (r"^([a-fA-F0-9]{64}|(sha1|sha256|sha512|md5):([a-fA-F0-9]{32}|[a-fA-F0-9]{40}|"
              r"[a-fA-F0-9]{64}|[a-fA-F0-9]{128}))$")
STRINGS = {"type": list, "low": 1, "items": text()}
SCOOP = ({"version": text(r"^[\w\-.+_]+$", 1), "description": text(), "homepage": text(URL),
          "license": text(None, 1), "bin": text(None, 1), "persist": text(None, 1),
          "pre_install": STRINGS, "pre_uninstall": STRINGS,
          "shortcuts": {"type": list, "low": 1, "items": {"type": list, "low": 2, "high": 4,
                                                          "items": text()}},
          "architecture": {"type": dict, "fields": {"64bit": {"type": dict, "fields": {
              "url": text(r"^https?://[^$\s]+$"), "hash": text(SCOOP_HASH)}}}}},
         # Only the version is required by the schema; scoop's buckets require these too.
         ["version", "description", "homepage", "license"])


def check(value, rule, where, problems):
    if not isinstance(value, rule["type"]) or isinstance(value, bool):
        problems.append(f"{where}: not a {rule['type'].__name__}")
        return
    if rule["type"] is dict:
        check_object(value, rule["fields"], rule.get("required", []), where, problems)
        return
    size = len(value)
    if size < (rule.get("low") or 0) or (rule.get("high") is not None and size > rule["high"]):
        problems.append(f"{where}: length {size} out of bounds")
    if rule["type"] is list:
        if rule.get("unique") and len(set(map(str, value))) != size:
            problems.append(f"{where}: items repeat")
        for index, item in enumerate(value):
            check(item, rule["items"], f"{where}[{index}]", problems)
        return
    if rule.get("pattern") and not re.search(rule["pattern"], value):
        problems.append(f"{where}: {value!r} does not match {rule['pattern']}")
    if rule.get("enum") and value not in rule["enum"]:
        problems.append(f"{where}: {value!r} is none of {rule['enum']}")
    if rule.get("const") and value != rule["const"]:
        problems.append(f"{where}: {value!r} is not {rule['const']!r}")


def check_object(value, fields, required, where, problems):
    for name in required:
        if name not in value:
            problems.append(f"{where}: {name} is missing")
    for name, item in value.items():
        if name not in fields:
            problems.append(f"{where}: {name} is not a field of the schema")
        else:
            check(item, fields[name], f"{where}.{name}", problems)


def sha256(path):
    return hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()


def problems_of(folder, setup, archive):
    folder, problems = pathlib.Path(folder), []
    winget = {}
    for path in sorted((folder / "winget").glob("*.yaml")):
        content = yaml.safe_load(path.read_text(encoding="utf-8"))
        kind = content.get("ManifestType") if isinstance(content, dict) else None
        if kind not in WINGET:
            problems.append(f"{path.name}: unknown ManifestType {kind!r}")
            continue
        check_object(content, *WINGET[kind], path.name, problems)
        winget[kind] = content
    for kind in WINGET:
        if kind not in winget:
            problems.append(f"winget: no {kind} manifest")
    heads = {(m.get("PackageIdentifier"), m.get("PackageVersion")) for m in winget.values()}
    if len(heads) > 1:
        problems.append(f"winget: the files name different packages or versions: {heads}")
    if winget.get("version", {}).get("DefaultLocale") != winget.get("defaultLocale", {}).get(
            "PackageLocale"):
        problems.append("winget: DefaultLocale is not the defaultLocale file's PackageLocale")
    for installer in winget.get("installer", {}).get("Installers", []):
        if str(installer.get("InstallerSha256", "")).lower() != sha256(setup):
            problems.append("winget: InstallerSha256 is not the installer's")
    scoop = json.loads((folder / "scoop" / "pluvette.json").read_text(encoding="utf-8"))
    check_object(scoop, SCOOP[0], SCOOP[1], "pluvette.json", problems)
    if scoop.get("architecture", {}).get("64bit", {}).get("hash", "").lower() != sha256(archive):
        problems.append("scoop: the hash is not the zip's")
    versions = {scoop.get("version")} | {version for _, version in heads}
    if len(versions) > 1:
        problems.append(f"the manifests name different versions: {versions}")
    return problems


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    found = problems_of(*sys.argv[1:])
    for problem in found:
        print(problem)
    sys.exit(1 if found else 0)
