#!/usr/bin/env python3
"""Writes the package managers' manifests of one release: a winget manifest set for the
installer (version, installer and default locale files, for winget-pkgs'
manifests/p/Pluvette/Pluvette/VERSION/) and a scoop manifest for the zip, each naming the
file's address and SHA-256.

Usage: manifests.py VERSION SETUP_EXE ZIP DOWNLOAD_URL OUTPUT_FOLDER
"""
import hashlib
import json
import pathlib
import sys

IDENTIFIER = "Pluvette.Pluvette"
MANIFEST_VERSION = "1.6.0"
SITE = "https://www.pluvette.org/"
PUBLISHER = "The Pluvette developers"
SHORT_DESCRIPTION = "Turns your screen into a pool of water: rain, ripples under the pointer."
DESCRIPTION = (
    "Pluvette covers the screen with water over what it shows, or over a picture or a folder "
    "of pictures you choose: rain falls, the pointer draws ripples and a click makes a big "
    "one. It is also a screen saver."
)


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as file:
        for block in iter(lambda: file.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest().upper()


def yaml_lines(value, indent=""):
    """A small YAML writer for what the manifests hold: every string double-quoted, so
    that no version or text is read as another type."""
    if isinstance(value, dict):
        for key, item in value.items():
            if isinstance(item, (dict, list)):
                yield f"{indent}{key}:"
                yield from yaml_lines(item, indent + "  ")
            else:
                yield f"{indent}{key}: {yaml_scalar(item)}"
    else:
        for item in value:
            lines = list(yaml_lines(item, indent + "  ")) if isinstance(item, dict) else None
            if lines:
                yield f"{indent}- {lines[0].lstrip()}"
                yield from lines[1:]
            else:
                yield f"{indent}- {yaml_scalar(item)}"


def yaml_scalar(value):
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, int):
        return str(value)
    return json.dumps(value, ensure_ascii=False)


def write_yaml(path, kind, content):
    schema = f"https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json"
    text = f"# yaml-language-server: $schema={schema}\n"
    text += "\n".join(yaml_lines(content)) + "\n"
    path.write_text(text, encoding="utf-8")


def main(version, setup, archive, download_url, output):
    setup, archive, output = pathlib.Path(setup), pathlib.Path(archive), pathlib.Path(output)
    base = download_url.rstrip("/")
    head = {"PackageIdentifier": IDENTIFIER, "PackageVersion": version}
    winget = output / "winget"
    winget.mkdir(parents=True, exist_ok=True)
    write_yaml(winget / f"{IDENTIFIER}.yaml", "version",
               {**head, "DefaultLocale": "en-US", "ManifestType": "version",
                "ManifestVersion": MANIFEST_VERSION})
    write_yaml(winget / f"{IDENTIFIER}.installer.yaml", "installer", {
        **head,
        "InstallerType": "nullsoft",
        "Scope": "user",
        "InstallModes": ["interactive", "silent", "silentWithProgress"],
        "UpgradeBehavior": "install",
        "ProductCode": "Pluvette",
        "Installers": [{"Architecture": "x64", "InstallerUrl": f"{base}/{setup.name}",
                        "InstallerSha256": sha256(setup)}],
        "ManifestType": "installer",
        "ManifestVersion": MANIFEST_VERSION,
    })
    write_yaml(winget / f"{IDENTIFIER}.locale.en-US.yaml", "defaultLocale", {
        **head,
        "PackageLocale": "en-US",
        "Publisher": PUBLISHER,
        "PublisherUrl": SITE,
        "PackageName": "Pluvette",
        "PackageUrl": SITE,
        "License": "MIT",
        "ShortDescription": SHORT_DESCRIPTION,
        "Description": DESCRIPTION,
        "Tags": ["screensaver", "water", "rain", "ripples"],
        "ManifestType": "defaultLocale",
        "ManifestVersion": MANIFEST_VERSION,
    })
    scoop = output / "scoop"
    scoop.mkdir(parents=True, exist_ok=True)
    manifest = {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": SITE,
        "license": "MIT",
        "architecture": {"64bit": {"url": f"{base}/{archive.name}", "hash": sha256(archive).lower()}},
        "bin": "pluvette.exe",
        "shortcuts": [["pluvette.exe", "Pluvette"]],
        # The settings live beside the program, and scoop keeps them across updates as a hard
        # link in its persist folder. Saving replaces the file, which undoes the link, so the
        # saved file is copied back before an update or uninstall takes the folder away.
        "persist": "config.txt",
        "pre_install": [
            'if (!(Test-Path "$persist_dir\\config.txt")) '
            '{ New-Item "$dir\\config.txt" -ItemType File | Out-Null }'
        ],
        "pre_uninstall": [
            'if ((Test-Path "$dir\\config.txt") -and '
            "((Get-Item \"$dir\\config.txt\").LinkType -ne 'HardLink')) "
            '{ Copy-Item "$dir\\config.txt" "$persist_dir\\config.txt" -Force }'
        ],
    }
    (scoop / "pluvette.json").write_text(json.dumps(manifest, indent=4) + "\n", encoding="utf-8")


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
