#!/usr/bin/env python3
"""Builds the Debian package from a build folder with cpack and checks it as an office would get
it: extracted with dpkg-deb into a temporary root, its files, its control fields, its menu entry,
and its launcher started with HOME in a temporary folder under the offscreen platform."""

import argparse
import configparser
import gzip
import hashlib
import os
import re
import shutil
import sqlite3
import struct
import subprocess
import sys
import tempfile
import time
import unittest

ARGS = None
DEB = None
ROOT = None

PROGRAM = "usr/lib/varnel/varnel"
LAUNCHER = "usr/bin/varnel"
IMPORTER = "usr/bin/varnel-import-cases"
PRISTINE = "usr/share/varnel"
HAND_LISTED = [
    "libqt6sql6-sqlite",
    "libqt6sql6-psql",
    "fonts-arphic-uming",
    "fonts-noto-cjk",
    "xdg-utils",
    "qt6-translations-l10n",
]

EXECUTABLES = (LAUNCHER, PROGRAM, IMPORTER, PRISTINE + "/setup-office-archive.sh")


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def expected_files():
    files = {
        LAUNCHER,
        PROGRAM,
        PRISTINE + "/varnel.db",
        "usr/share/applications/varnel.desktop",
        "usr/share/icons/hicolor/scalable/apps/varnel.svg",
        "usr/share/icons/hicolor/48x48/apps/varnel.png",
        "usr/share/man/man1/varnel.1.gz",
        "usr/share/man/man1/varnel-import-cases.1.gz",
        "usr/share/doc/varnel/copyright",
        "usr/share/doc/varnel/changelog.gz",
        PRISTINE + "/akfpb.xlsx",
        PRISTINE + "/fpfa.docx",
        PRISTINE + "/schema_pg.sql",
        PRISTINE + "/setup-office-archive.sh",
        IMPORTER,
        "etc/varnel/varnel.ini",
    }
    return files


def pristine_names():
    return ["varnel.db", "akfpb.xlsx", "fpfa.docx"]


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def depends_names():
    field = run(["dpkg-deb", "-f", DEB, "Depends"], check=True).stdout
    return {re.match(r"\s*([^\s(]+)", item).group(1): item.strip() for item in field.split(",")}


def owning_package(path):
    """The installed package that holds a library, by the path dpkg knows it under (with merged
    /usr, /lib/... and /usr/lib/... are one folder, but dpkg has only one of the two names)."""
    real = os.path.realpath(path)
    candidates = [path, real]
    for name in (path, real):
        if name.startswith("/usr/"):
            candidates.append(name[4:])
        else:
            candidates.append("/usr" + name)
    for candidate in candidates:
        found = run(["dpkg", "-S", candidate])
        if found.returncode == 0:
            return found.stdout.split(":")[0]
    return None


def setUpModule():
    global DEB, ROOT
    out = os.path.join(ARGS.build_dir, "packages")
    shutil.rmtree(out, ignore_errors=True)
    made = run([ARGS.cpack, "-G", "DEB", "-B", out], cwd=ARGS.build_dir)
    if made.returncode != 0:
        raise RuntimeError("cpack failed:\n" + made.stdout + made.stderr)
    arch = run(["dpkg", "--print-architecture"], check=True).stdout.strip()
    DEB = os.path.join(out, "varnel_%s_%s.deb" % (ARGS.version, arch))
    if not os.path.isfile(DEB):
        raise RuntimeError("cpack made no %s; the folder holds %s" % (DEB, os.listdir(out)))
    ROOT = tempfile.mkdtemp(prefix="varnel-root-")
    run(["dpkg-deb", "-x", DEB, ROOT], check=True)
    print("package: %s, %d bytes" % (DEB, os.path.getsize(DEB)))


def tearDownModule():
    if ROOT:
        shutil.rmtree(ROOT, ignore_errors=True)


class PackageContents(unittest.TestCase):
    def test_file_list_owners_and_modes(self):
        listing = run(["dpkg-deb", "-c", DEB], check=True).stdout.splitlines()
        files = {}
        for line in listing:
            mode, owner, _size, _day, _hour, name = line.split(None, 5)
            self.assertEqual(owner, "root/root", line)
            if mode.startswith("d"):
                self.assertEqual(mode, "drwxr-xr-x", line)
            else:
                files[name[2:]] = mode
        self.assertEqual(set(files), expected_files())
        for name, mode in files.items():
            wanted = "-rwxr-xr-x" if name in EXECUTABLES else "-rw-r--r--"
            self.assertEqual(mode, wanted, name)

    def test_control_fields(self):
        fields = ["Package", "Version", "Architecture", "Section", "Maintainer"]
        values = run(["dpkg-deb", "-f", DEB] + fields, check=True).stdout
        self.assertIn("Package: varnel\n", values)
        self.assertIn("Version: %s\n" % ARGS.version, values)
        self.assertRegex(values, r"Maintainer: .+ <[^@\s]+@[^@\s]+>")
        description = run(["dpkg-deb", "-f", DEB, "Description"], check=True).stdout
        lines = description.rstrip("\n").split("\n")
        self.assertGreater(len(lines), 5, "the description needs an extended part")
        self.assertTrue(all(line.startswith(" ") for line in lines[1:]), description)
        self.assertNotIn("&", description)

    def test_dependencies_hand_listed_and_found_by_shlibdeps(self):
        depends = depends_names()
        for name in HAND_LISTED:
            self.assertIn(name, depends)
        # Every library the program is linked against is provided by a package it depends on,
        # with a lowest version as dpkg-shlibdeps writes it.
        program = os.path.join(ROOT, PROGRAM)
        needed = re.findall(r"NEEDED\s+(\S+)", run(["objdump", "-p", program], check=True).stdout)
        self.assertIn("libQt6Widgets.so.6", needed)
        cache = run(["/sbin/ldconfig", "-p"], check=True).stdout
        for soname in needed:
            with self.subTest(library=soname):
                found = re.search(r"^\s*%s \(.*x86-64.*\) => (\S+)" % re.escape(soname), cache, re.M)
                self.assertIsNotNone(found, soname)
                package = owning_package(found.group(1))
                self.assertIn(package, depends, "%s comes from %s" % (soname, package))
                # libpq5's symbols file dates the functions the program calls to its first
                # version: dpkg-shlibdeps then writes the name alone.
                if package != "libpq5":
                    self.assertRegex(depends[package], r"\(>= [^)]+\)")

    def test_binaries_stripped(self):
        described = run(["file", "-b", os.path.join(ROOT, PROGRAM)], check=True).stdout
        self.assertIn("ELF 64-bit", described)
        self.assertRegex(described, r", stripped\s*$")

    def test_desktop_entry_starts_the_launcher(self):
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(os.path.join(ROOT, "usr/share/applications/varnel.desktop"), encoding="utf-8")
        section = entry["Desktop Entry"]
        self.assertEqual(section["Type"], "Application")
        self.assertEqual(section["Name"], "Varnel 法院办公工具")
        self.assertRegex(section["Comment"], r"[\u4e00-\u9fff]{4}")
        self.assertEqual(section["Categories"], "Office;")
        self.assertEqual(section["Icon"], "varnel")
        self.assertEqual(section["Terminal"], "false")
        self.assertEqual("usr/bin/" + section["Exec"].split()[0], LAUNCHER)

    def test_icons(self):
        with open(os.path.join(ROOT, "usr/share/icons/hicolor/48x48/apps/varnel.png"), "rb") as f:
            head = f.read(24)
        self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
        self.assertEqual(struct.unpack(">II", head[16:24]), (48, 48))
        with open(os.path.join(ROOT, "usr/share/icons/hicolor/scalable/apps/varnel.svg")) as f:
            self.assertIn("<svg", f.read())

    def test_changelog_names_this_version(self):
        with gzip.open(os.path.join(ROOT, "usr/share/doc/varnel/changelog.gz"), "rt") as f:
            first = f.readline()
        self.assertTrue(first.startswith("varnel (%s) " % ARGS.version), first)

    def test_pristine_database_is_empty_with_its_tables(self):
        db = sqlite3.connect("file:%s?mode=ro" % os.path.join(ROOT, PRISTINE, "varnel.db"), uri=True)
        try:
            for table in ("案件", "交款", "债权"):
                self.assertEqual(db.execute("SELECT COUNT(*) FROM %s" % table).fetchone(), (0,))
        finally:
            db.close()

    def test_lintian_reports_no_error(self):
        checked = run(["lintian", "--fail-on", "error", DEB])
        print("lintian:\n" + checked.stdout, end="")
        self.assertNotRegex(checked.stdout, r"(?m)^E: ")
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)


class Launcher(unittest.TestCase):
    """The launcher of the extracted package, run with HOME in a temporary folder."""

    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="varnel-home-")
        self.home = os.path.join(self.scratch, "home")
        self.elsewhere = os.path.join(self.scratch, "elsewhere")
        os.makedirs(self.home)
        os.makedirs(self.elsewhere)
        # The office's settings from a folder of the test's own, never the machine's /etc/varnel.
        self.env = dict(os.environ, HOME=self.home, QT_QPA_PLATFORM="offscreen",
                        VARNEL_SETTINGS_DIR=self.scratch)
        self.folder = os.path.join(self.home, "Varnel")

    def tearDown(self):
        shutil.rmtree(self.scratch, ignore_errors=True)

    def launcher(self, *args, cwd=None):
        return run([os.path.join(ROOT, LAUNCHER)] + list(args), cwd=cwd or self.elsewhere,
                   env=self.env, timeout=30)

    def start_and_stop(self, *args, cwd=None):
        """Starts the launcher, checks that the program runs in its place and keeps running, and
        stops it. Returns the program's working directory."""
        started = subprocess.Popen([os.path.join(ROOT, LAUNCHER)] + list(args),
                                   cwd=cwd or self.elsewhere, env=self.env,
                                   stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        try:
            program = os.path.realpath(os.path.join(ROOT, PROGRAM))
            deadline = time.monotonic() + 15
            while time.monotonic() < deadline and started.poll() is None:
                try:
                    if os.readlink("/proc/%d/exe" % started.pid) == program:
                        break
                except OSError:
                    pass
                time.sleep(0.05)
            if started.poll() is not None:
                self.fail("ended at once: %s" % started.stdout.read().decode(errors="replace"))
            self.assertEqual(os.readlink("/proc/%d/exe" % started.pid), program)
            with open("/proc/%d/cmdline" % started.pid, "rb") as f:
                self.assertEqual(len(f.read().rstrip(b"\0").split(b"\0")), 1, "no arguments")
            directory = os.readlink("/proc/%d/cwd" % started.pid)
            time.sleep(3)
            if started.poll() is not None:
                self.fail("the program ended by itself: %s"
                          % started.stdout.read().decode(errors="replace"))
            return directory
        finally:
            started.terminate()
            try:
                started.wait(timeout=10)
            except subprocess.TimeoutExpired:
                started.kill()
                started.wait()
            started.stdout.close()

    def store_case(self, path):
        db = sqlite3.connect(path)
        with db:
            db.execute("INSERT INTO 案件 (名称) VALUES ('（2026）执字第7号')")
            db.execute("INSERT INTO 交款 (ajid, 交款人, 金额, 交款时间) VALUES (1, '张三', '1000.5', '2026/3/1')")
            db.execute("INSERT INTO 债权 (ajid, 债权人, 债权金额, 债权性质) VALUES (1, '李四', '800', '工资')")
        db.close()

    def assert_case_stored(self, path):
        db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
        try:
            self.assertEqual(db.execute("SELECT ajid, 名称 FROM 案件").fetchall(), [(1, "（2026）执字第7号")])
            self.assertEqual(db.execute("SELECT 金额 FROM 交款").fetchall(), [("1000.5",)])
        finally:
            db.close()

    def test_version_help_and_wrong_arguments_start_nothing(self):
        shown = self.launcher("--version")
        self.assertEqual((shown.returncode, shown.stdout), (0, "Varnel %s\n" % ARGS.version))
        helped = self.launcher("--help")
        self.assertEqual(helped.returncode, 0)
        self.assertIn("--here", helped.stdout)
        self.assertIn("~/Varnel/", helped.stdout)
        for wrong in (["--bogus"], ["--here", "--here"], ["案件"]):
            with self.subTest(arguments=wrong):
                refused = self.launcher(*wrong)
                self.assertNotEqual(refused.returncode, 0)
                self.assertIn("varnel:", refused.stderr)
        self.assertFalse(os.path.exists(self.folder))

    def test_first_start_makes_the_folder_and_a_later_start_keeps_the_cases(self):
        self.assertEqual(self.start_and_stop(), self.folder)
        for name in pristine_names():
            with self.subTest(file=name):
                self.assertEqual(digest(os.path.join(self.folder, name)),
                                 digest(os.path.join(ROOT, PRISTINE, name)))
        self.assertTrue(os.access(os.path.join(self.folder, "varnel.db"), os.W_OK))

        database = os.path.join(self.folder, "varnel.db")
        self.store_case(database)
        with open(os.path.join(self.folder, "akfpb.xlsx"), "ab") as f:
            f.write(b"an office's own change")
        kept = {name: digest(os.path.join(self.folder, name)) for name in pristine_names()}
        self.assertEqual(self.start_and_stop(), self.folder)
        for name, value in kept.items():
            self.assertEqual(digest(os.path.join(self.folder, name)), value, name)
        self.assert_case_stored(database)

    def test_only_the_missing_file_is_copied(self):
        os.makedirs(self.folder)
        database = os.path.join(self.folder, "varnel.db")
        shutil.copyfile(os.path.join(ROOT, PRISTINE, "varnel.db"), database)
        self.store_case(database)
        kept = digest(database)
        self.start_and_stop()
        self.assertEqual(digest(database), kept)
        self.assert_case_stored(database)
        self.assertEqual(digest(os.path.join(self.folder, "akfpb.xlsx")),
                         digest(os.path.join(ROOT, PRISTINE, "akfpb.xlsx")))
        self.assertEqual(sorted(os.listdir(self.folder)), sorted(pristine_names()))

    def test_here_uses_the_current_folder(self):
        shared = os.path.join(self.scratch, "共用文件夹")
        os.makedirs(shared)
        self.assertEqual(self.start_and_stop("--here", cwd=shared), shared)
        for name in pristine_names():
            self.assertTrue(os.path.isfile(os.path.join(shared, name)), name)
        self.assertFalse(os.path.exists(self.folder), "--here must not make ~/Varnel")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--cpack", required=True)
    parser.add_argument("--version", required=True)
    ARGS, rest = parser.parse_known_args()
    result = unittest.main(argv=[sys.argv[0], "-v"] + rest, exit=False).result
    print("Totals: %d run, %d failed, %d errors" % (result.testsRun, len(result.failures),
                                                  len(result.errors)))
    sys.exit(0 if result.wasSuccessful() and result.testsRun > 0 else 1)


if __name__ == "__main__":
    main()
