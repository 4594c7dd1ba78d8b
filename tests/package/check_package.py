#!/usr/bin/env python3
"""Checks the download scripts/package.sh wrote: each zip holds the program
and its text, the program is stripped, self-contained and carries icon,
manifest and version, the version in the zip's name is the one in the
program's own version resource, the program stays within its size, and
SHA256SUMS matches the zips.

    check_package.py <dist folder>

Prints one line per failure and ends with "package: N passed, N failed"."""
import hashlib, os, re, struct, subprocess, sys, tempfile, zipfile

BUILDS = {"i686": (0x14C, "i686-w64-mingw32"), "x86_64": (0x8664, "x86_64-w64-mingw32")}
# Most bytes each stripped program may take: a small download that starts at
# once (a part of the runtime drawn in without need shows here first).
LARGEST = {"i686": 620 * 1024, "x86_64": 540 * 1024}
# What every Windows from 7 on has: a self-contained program imports nothing else.
SYSTEM_DLLS = {"kernel32", "user32", "gdi32", "comctl32", "comdlg32", "shell32", "shlwapi", "advapi32", "ole32",
               "oleaut32", "gdiplus", "version", "msvcrt", "ws2_32", "winmm", "setupapi", "imm32", "uxtheme"}

dist = sys.argv[1]
failures, passed = [], 0


def check(ok, what):
    global passed
    if ok:
        passed += 1
    else:
        failures.append(what)


def tool(triple, name, *args):
    return subprocess.run([f"{triple}-{name}", *args], capture_output=True, text=True).stdout


def check_program(zip_name, arch, version, exe):
    machine, triple = BUILDS[arch]
    size = os.path.getsize(exe)
    check(size <= LARGEST[arch], f"{zip_name}: TV-SERKEY.exe is {size // 1024} KiB, more than {LARGEST[arch] // 1024} KiB")
    header = open(exe, "rb").read(0x400)
    pe = struct.unpack_from("<I", header, 0x3C)[0]
    # COFF header after "PE\0\0": machine, section count, time stamp, symbol table offset, symbol count.
    kind, symbols, symbol_count = struct.unpack_from("<H6xII", header, pe + 4)
    check(kind == machine, f"{zip_name}: TV-SERKEY.exe is not an {arch} program")
    check(symbols == 0 and symbol_count == 0, f"{zip_name}: TV-SERKEY.exe keeps a symbol table")
    sections = tool(triple, "objdump", "-h", exe)
    check(".debug" not in sections, f"{zip_name}: TV-SERKEY.exe keeps debugging sections")
    dlls = {d.lower().removesuffix(".dll") for d in re.findall(r"DLL Name: (\S+)", tool(triple, "objdump", "-p", exe))}
    foreign = sorted(d for d in dlls if d not in SYSTEM_DLLS and not d.startswith("api-ms-win-"))
    check(dlls and not foreign, f"{zip_name}: TV-SERKEY.exe needs DLLs beside it: {foreign}")
    rc = tool(triple, "windres", "-i", exe, "-O", "rc")
    check("RT_GROUP_ICON" in rc and re.search(r"^1 24\b", rc, re.M), f"{zip_name}: icon or manifest missing")
    own = re.search(r'VALUE "ProductVersion", "([^"]*)"', rc)
    numbers = re.search(r"FILEVERSION (\d+), (\d+), (\d+), (\d+)", rc)
    check(own and own.group(1) == version, f"{zip_name}: the program says it is version {own and own.group(1)}")
    check(numbers and [int(n) for n in numbers.groups()[:3]] == [int(n) for n in version.split(".")],
          f"{zip_name}: FILEVERSION {numbers and numbers.groups()} is not {version}")


zips = sorted(n for n in os.listdir(dist) if n.endswith(".zip"))
check(len(zips) == len(BUILDS), f"expected one zip per build, found {zips}")
versions = set()
with tempfile.TemporaryDirectory() as temp:
    for name in zips:
        match = re.fullmatch(r"TV-SERKEY-(\d+\.\d+\.\d+)-(i686|x86_64)\.zip", name)
        check(match, f"{name}: not TV-SERKEY-<version>-<i686|x86_64>.zip")
        if not match:
            continue
        versions.add(match.group(1))
        with zipfile.ZipFile(os.path.join(dist, name)) as archive:
            check(archive.testzip() is None, f"{name}: damaged")
            check(sorted(archive.namelist()) == ["README.txt", "TV-SERKEY.exe"], f"{name}: holds {archive.namelist()}")
            text = archive.read("README.txt").decode("ascii", "replace") if "README.txt" in archive.namelist() else ""
            check(match.group(1) in text and "reg delete" in text and "\r\n" in text,
                  f"{name}: README.txt lacks the version, the removal or CR LF line ends")
            if "TV-SERKEY.exe" in archive.namelist():
                exe = archive.extract("TV-SERKEY.exe", os.path.join(temp, match.group(2)))
                check_program(name, match.group(2), match.group(1), exe)
check(len(versions) == 1, f"the zips name different versions: {versions}")

sums_path = os.path.join(dist, "SHA256SUMS")
listed = dict(reversed(line.split(None, 1)) for line in open(sums_path).read().splitlines()) if os.path.exists(
    sums_path) else {}
listed = {name.strip().lstrip("*"): digest for name, digest in listed.items()}
check(sorted(listed) == zips, f"SHA256SUMS lists {sorted(listed)}, the folder holds {zips}")
for name in zips:
    digest = hashlib.sha256(open(os.path.join(dist, name), "rb").read()).hexdigest()
    check(listed.get(name) == digest, f"SHA256SUMS: wrong checksum for {name}")

for failure in failures:
    print(f"  FAILED: {failure}")
print(f"package: {passed} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
