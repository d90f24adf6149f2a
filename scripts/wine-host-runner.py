#!/usr/bin/env python3
"""Runs host programs for a test program of the Windows build under Wine, which cannot start
Linux programs itself. The test writes a request N.req (JSON: program, args, stdin) into the
folder given as the argument; this runs it and answers with N.out, N.err and, last, N.done
holding the exit code. Stops when the folder goes."""
import json
import os
import subprocess
import sys
import time

folder = sys.argv[1]
while os.path.isdir(folder):
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".req"):
            continue
        base = os.path.join(folder, name[:-4])
        with open(base + ".req", encoding="utf-8") as f:
            req = json.load(f)
        os.remove(base + ".req")
        stdin = open(req["stdin"], "rb") if req.get("stdin") else subprocess.DEVNULL
        try:
            done = subprocess.run([req["program"]] + req["args"], stdin=stdin,
                                  capture_output=True, timeout=300)
            out, err, rc = done.stdout, done.stderr, done.returncode
        except (OSError, subprocess.TimeoutExpired) as e:
            out, err, rc = b"", str(e).encode(), 127
        for ext, data in ((".out", out), (".err", err)):
            with open(base + ext, "wb") as f:
                f.write(data)
        with open(base + ".tmp", "w") as f:
            f.write(str(rc))
        os.rename(base + ".tmp", base + ".done")
    time.sleep(0.005)
