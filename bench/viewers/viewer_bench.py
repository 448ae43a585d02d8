#!/usr/bin/python3
"""Measures QuarloView against other viewers inside the X server of the session it runs in.

Started by run_viewer_bench.sh inside its private Xvfb and D-Bus session. Every launch goes through
viewer_probe, which starts the viewer and watches the X server's pixels; this script makes the files,
chooses the command line of each viewer, collects the probe's lines and prints medians and ratios.
"""

import argparse
import csv
import os
import shutil
import statistics
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor
from dataclasses import dataclass, field
from pathlib import Path

# Bump when the pictures change, so a cache made by an older script is made again.
FILES_VERSION = "1"
PHOTO_SIZE = (6000, 4000)
FOLDER_SIZE, FOLDER_COUNT = (1920, 1080), 500
PAGE_SIZE, PAGE_COUNT = (1500, 2200), 300
JPEG_QUALITY = "90"
# Switches that put QuarloView into its test mode, or that a developer's shell may carry; a benchmark
# measures a normal start.
QUARLO_TEST_SWITCHES = ("QUARLO_VIEW_SETTINGS_KEY", "QUARLO_VIEW_PARK_WINDOWS", "QUARLO_VIEW_INSTANCE",
                        "QUARLO_VIEW_SHOTS", "QUARLO_VIEW_TRACE", "QUARLO_WIDGET_FORCE_WARP")
OURS = "quarloview"


@dataclass
class Files:
    photo: Path
    folder: Path
    cbz: Path

    def folder_pictures(self):
        return sorted(str(p) for p in self.folder.glob("*.jpg"))


@dataclass
class Viewer:
    name: str
    key: str  # the keysym that shows the next picture
    photo: list = field(default_factory=list)  # argument lists; empty: the viewer takes no part
    cbz: list = field(default_factory=list)
    folder: list = field(default_factory=list)


def viewers(build: Path, files: Files):
    first = files.folder_pictures()[0]
    ours = str(build / "app" / "quarloview")
    return [
        Viewer(OURS, "Right", [ours, str(files.photo)], [ours, str(files.cbz)], [ours, first]),
        Viewer("gpicview", "Right", ["gpicview", str(files.photo)], [], ["gpicview", first]),
        # feh shows a large picture at 100 % unless told to fit it; given a folder it lists it unsorted.
        Viewer("feh", "Right", ["feh", "--scale-down", str(files.photo)], [],
               ["feh", "--scale-down", "--sort", "filename", "--start-at", first, str(files.folder)]),
        # nsxiv skips folders named on its command line unless it recurses, so it gets the pictures.
        Viewer("nsxiv", "space", ["nsxiv", str(files.photo)], [], ["nsxiv", *files.folder_pictures()]),
        Viewer("mcomix", "Right", [], ["mcomix", str(files.cbz)], []),
    ]


def make_picture(generator: Path, size, seed: int, path: Path):
    partial = path.with_suffix(".partial")
    make = subprocess.Popen([str(generator), str(size[0]), str(size[1]), str(seed)], stdout=subprocess.PIPE)
    encode = subprocess.run(["cjpeg", "-quality", JPEG_QUALITY, "-outfile", str(partial)], stdin=make.stdout)
    make.stdout.close()
    if make.wait() != 0 or encode.returncode != 0:
        raise RuntimeError(f"cannot make {path}")
    partial.rename(path)


def make_files(build: Path, cache: Path) -> Files:
    files = Files(cache / "photo-6000x4000.jpg", cache / "folder-500", cache / "pages-300.cbz")
    stamp = cache / f"complete-{FILES_VERSION}"
    if stamp.exists():
        return files
    print(f"Making the benchmark files in {cache} (once) ...", flush=True)
    shutil.rmtree(cache, ignore_errors=True)
    pages = cache / "pages"
    files.folder.mkdir(parents=True)
    pages.mkdir()
    generator = build / "bench" / "viewers" / "make_bench_picture"
    jobs = [(PHOTO_SIZE, 1, files.photo)]
    jobs += [(FOLDER_SIZE, n, files.folder / f"{n:04d}.jpg") for n in range(1, FOLDER_COUNT + 1)]
    jobs += [(PAGE_SIZE, n, pages / f"page{n:03d}.jpg") for n in range(1, PAGE_COUNT + 1)]
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        list(pool.map(lambda job: make_picture(generator, *job), jobs))
    # Comic archives usually store their JPEG pages: deflating them gains nothing.
    subprocess.run(["zip", "-0", "-q", "-j", "-D", str(files.cbz), *sorted(str(p) for p in pages.iterdir())],
                   check=True)
    shutil.rmtree(pages)
    stamp.touch()
    return files


def viewer_environment(work: Path, name: str):
    env = {k: v for k, v in os.environ.items() if k not in QUARLO_TEST_SWITCHES and not k.startswith("ASAN_")}
    home = work / name
    for variable, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
                          ("XDG_CACHE_HOME", "cache"), ("XDG_STATE_HOME", "state")):
        (home / sub).mkdir(parents=True, exist_ok=True)
        env[variable] = str(home / sub)
    # This machine has no network; a normal start would otherwise try to send its usage events.
    env["QUARLO_SDK_NO_USAGE_STATS"] = "1"
    return env


@dataclass
class Run:
    shown_ms: float = None
    window: str = ""
    peak_kib: int = None
    pages_ms: list = field(default_factory=list)
    failure: str = ""


def probe(build: Path, env, argv, timeout_s: float, settle_ms: int, pages: int = 0, key: str = "Right") -> Run:
    command = [str(build / "bench" / "viewers" / "viewer_probe"), "--timeout", str(int(timeout_s * 1000)),
               "--settle", str(settle_ms), "--pages", str(pages), "--key", key, "--", *argv]
    # The probe ends the viewer itself; the outer limit only guards against a probe that hangs.
    limit = timeout_s * (pages + 1) + (settle_ms / 1000 + 3) * (pages + 1) + 10
    run = Run()
    try:
        result = subprocess.run(command, env=env, capture_output=True, text=True, timeout=limit)
    except subprocess.TimeoutExpired:
        run.failure = f"the probe did not finish within {limit:.0f} s"
        return run
    for line in result.stdout.splitlines():
        word, _, rest = line.partition(" ")
        if word == "shown":
            ms, run.window = rest.split()
            run.shown_ms = float(ms)
        elif word == "peak":
            run.peak_kib = int(rest)
        elif word == "page":
            run.pages_ms.append(float(rest.split()[1]))
        elif word == "failed":
            run.failure = rest
    if result.returncode != 0 and not run.failure:
        run.failure = f"probe status {result.returncode}: {result.stderr.strip()[:200]}"
    return run


@dataclass
class Goal:
    key: str
    title: str
    unit: str
    viewers: list = field(default_factory=list)  # in the order they were measured
    samples: dict = field(default_factory=dict)  # viewer name -> list of numbers
    failures: dict = field(default_factory=dict)  # viewer name -> why it has no samples
    windows: dict = field(default_factory=dict)


def measure_launches(args, work, goal: Goal, memory: Goal, viewer: Viewer, argv, writer):
    """One warm-up launch, then args.runs counted ones; after a failed launch the viewer is not tried again."""
    env = viewer_environment(work, f"{viewer.name}-{goal.key}")
    settle_ms = 1000 if memory else 200
    goal.viewers.append(viewer.name)
    if memory:
        memory.viewers.append(viewer.name)
    for run_index in range(args.runs + 1):
        run = probe(args.build, env, argv, args.timeout, settle_ms)
        if run.failure:
            goal.failures[viewer.name] = run.failure
            if memory:
                memory.failures[viewer.name] = run.failure
            writer.writerow([goal.key, viewer.name, run_index, "", "", run.failure])
            return
        if run_index == 0:
            continue
        goal.samples.setdefault(viewer.name, []).append(run.shown_ms)
        goal.windows[viewer.name] = run.window
        writer.writerow([goal.key, viewer.name, run_index, f"{run.shown_ms:.1f}", run.window, ""])
        if memory and run.peak_kib:
            memory.samples.setdefault(viewer.name, []).append(run.peak_kib / 1024)
            writer.writerow([memory.key, viewer.name, run_index, f"{run.peak_kib / 1024:.1f}", run.window, ""])


def measure_paging(args, work, goal: Goal, viewer: Viewer, writer):
    env = viewer_environment(work, f"{viewer.name}-{goal.key}")
    goal.viewers.append(viewer.name)
    run = probe(args.build, env, viewer.folder, args.timeout, 1000, args.pages, viewer.key)
    for index, ms in enumerate(run.pages_ms, 1):
        writer.writerow([goal.key, viewer.name, index, f"{ms:.1f}", run.window, ""])
    if run.pages_ms:
        goal.samples[viewer.name] = run.pages_ms
        goal.windows[viewer.name] = run.window
    if run.failure:
        goal.failures[viewer.name] = run.failure
        writer.writerow([goal.key, viewer.name, len(run.pages_ms) + 1, "", "", run.failure])


def table(goals):
    lines = [f"{'goal':42} {'viewer':10} {'n':>3} {'median':>8} {'min':>8} {'max':>8} {'ours/peer':>9}  window"]
    for goal in goals:
        ours = goal.samples.get(OURS)
        title = f"{goal.title} ({goal.unit})"
        for name in goal.viewers:
            values = goal.samples.get(name, [])
            if values:
                median = statistics.median(values)
                ratio = f"{statistics.median(ours) / median:.2f}" if ours and name != OURS else ""
                row = (f"{len(values):>3} {median:8.1f} {min(values):8.1f} {max(values):8.1f} {ratio:>9}  "
                       f"{goal.windows.get(name, '')}")
            else:
                row = ""
            if name in goal.failures:
                row += ("  " if row else "") + goal.failures[name]
            lines.append(f"{title:42} {name:10} {row}")
            title = ""
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", type=Path, required=True, help="the Release build folder")
    parser.add_argument("--runs", type=int, default=10, help="counted launches per viewer and goal")
    parser.add_argument("--pages", type=int, default=12, help="key presses in the folder")
    parser.add_argument("--timeout", type=float, default=10, help="seconds a viewer gets for each picture")
    parser.add_argument("--viewers", default="", help="comma-separated names (default: all)")
    args = parser.parse_args()
    work = Path(os.environ.get("QUARLO_E2E_WORK") or args.build / "viewer-work")
    results = args.build / "viewer-results"
    results.mkdir(parents=True, exist_ok=True)
    files = make_files(args.build, args.build / "viewer-files")
    known = viewers(args.build, files)
    wanted = args.viewers.split(",") if args.viewers else [v.name for v in known]
    unknown = set(wanted) - {v.name for v in known}
    if unknown:
        sys.exit(f"unknown viewers: {', '.join(sorted(unknown))} (known: {', '.join(v.name for v in known)})")
    chosen = [v for v in known if v.name in wanted]
    for viewer in chosen:
        if viewer.name != OURS and shutil.which(viewer.name) is None:
            sys.exit(f"{viewer.name} is not installed (run_viewer_bench.sh installs it)")

    photo = Goal("photo", "launch to a fitted 24 MP JPEG", "ms")
    cbz = Goal("cbz", "launch to page 1 of a 300-page CBZ", "ms")
    paging = Goal("paging", "next picture of 500, prefetched", "ms")
    memory = Goal("memory", "peak memory with the 24 MP JPEG", "MiB")
    with open(results / "runs.csv", "w", newline="") as out:
        writer = csv.writer(out)
        writer.writerow(["goal", "viewer", "run", "value", "window", "failure"])
        for viewer in chosen:
            print(f"Measuring {viewer.name} ...", flush=True)
            if viewer.photo:
                measure_launches(args, work, photo, memory, viewer, viewer.photo, writer)
            if viewer.cbz:
                measure_launches(args, work, cbz, None, viewer, viewer.cbz, writer)
            if viewer.folder:
                measure_paging(args, work, paging, viewer, writer)
    summary = table([photo, cbz, paging, memory])
    (results / "summary.txt").write_text(summary + "\n")
    print(summary)
    print(f"\nPer-run figures: {results / 'runs.csv'}")


if __name__ == "__main__":
    main()
