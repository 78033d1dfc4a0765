#!/usr/bin/env python3
"""Prints the ratios the README reports from Google Benchmark JSON files: each of this
program's timings divided by the one it is measured against in the same run."""
import json
import sys

PAIRS = {
    "stepRippleBench": [("memory baseline", "memoryStreamBaseline")],
    "weatherStep": [("memory baseline", "memoryStreamBaseline")],
    "twoSurfacesRain": [("memory baseline of one", "memoryStreamBaseline")],
    "decodeOurs": [("Wuffs", "decodeWuffs"), ("libpng", "decodeLibpng"), ("libspng", "decodeSpng"), ("stb_image", "decodeStb")],
    "decodeOursConcurrently": [("Wuffs", "decodeWuffs"), ("libpng", "decodeLibpng"), ("libspng", "decodeSpng"), ("stb_image", "decodeStb")],
    "fileToBmpOurs": [("Wuffs", "fileToBmpWuffs")],
    "inflateOurs": [("zlib", "inflateZlib"), ("libdeflate", "inflateLibdeflate")],
    "scaleOurs": [("stb_image_resize box", "scaleStbBox"), ("memory baseline", "readBaseline")],
}


def main(paths):
    times, labels = {}, {}
    for path in paths:
        with open(path) as f:
            text = f.read()
        # A program whose benchmarks a filter left out writes nothing.
        if not text.strip():
            continue
        for b in json.loads(text)["benchmarks"]:
            name = b["name"].split("/min_time")[0]
            function, _, args = name.partition("/")
            times[(function, args)] = b["real_time"]
            labels[args] = b.get("label") or args.replace("/", "x")
    for ours, references in PAIRS.items():
        rows = [args for (function, args) in times if function == ours]
        if not rows:
            continue
        header = " / ".join(name for name, _ in references)
        print(f"\n{ours}: time divided by {header} (below 1.00 is faster)")
        for args in rows:
            # A code path given as a last argument ("/avx2:1") shares the reference's run.
            shared = args.rsplit("/", 1)[0] if "/avx2:" in args else args
            # The weather's steps share the baseline of their surface's size.
            size = "/".join(p for p in args.split("/") if p.split(":")[0] in ("width", "height"))
            ratios = [times[(ours, args)] / times[(ref, key)] for _, ref in references
                      for key in (shared, size) if (ref, key) in times][:len(references)]
            print(f"  {labels[args]:<30}" + "".join(f"{r:8.2f}" for r in ratios))


if __name__ == "__main__":
    main(sys.argv[1:])
