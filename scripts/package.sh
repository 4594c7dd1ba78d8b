#!/usr/bin/env bash
# The download: builds TV-SERKEY for both targets and writes
#   dist/TV-SERKEY-<version>-i686.zip     32-bit build
#   dist/TV-SERKEY-<version>-x86_64.zip   64-bit build
#   dist/SHA256SUMS
# Each zip holds TV-SERKEY.exe and README.txt (docs/download-readme.txt).
# The version is the project version the version resource is made from.
# A build folder that makes the tests keeps doing so; only the program is built.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
tv_install_deps || exit 1
dist=$TV_ROOT/dist
for arch in x86 x64; do
  tests=$(tv_builds_tests "$arch")
  tv_log "building TV-SERKEY ($arch)"
  tv_build "$arch" "${tests:-OFF}" TV-SERKEY || exit 1
done
version=$(sed -n 's/^#define TV_VERSION_TEXT "\(.*\)"$/\1/p' "$TV_BUILD/x64/generated/version.h")
[ -n "$version" ] || { tv_log "no version in $TV_BUILD/x64/generated/version.h"; exit 1; }

mkdir -p "$dist"
rm -f "$dist"/TV-SERKEY-*.zip "$dist/SHA256SUMS"
python3 - "$dist" "$version" "$TV_ROOT/docs/download-readme.txt" \
  "i686=$TV_BUILD/x86/bin/TV-SERKEY.exe" "x86_64=$TV_BUILD/x64/bin/TV-SERKEY.exe" <<'PY' || exit 1
import hashlib, os, sys, time, zipfile

dist, version, readme = sys.argv[1:4]
builds = {"i686": "32-bit build: every Windows from 7 to 11, 32- or 64-bit",
          "x86_64": "64-bit build: 64-bit Windows 7 to 11"}
sums = []
for item in sys.argv[4:]:
    arch, exe = item.split("=", 1)
    name = f"TV-SERKEY-{version}-{arch}.zip"
    text = open(readme, encoding="utf-8").read().replace("@VERSION@", version).replace("@BUILD@", builds[arch])
    stamp = time.localtime(os.path.getmtime(exe))[:6]
    with zipfile.ZipFile(os.path.join(dist, name), "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr(zipfile.ZipInfo("TV-SERKEY.exe", stamp), open(exe, "rb").read(), zipfile.ZIP_DEFLATED)
        # Notepad of Windows 7 shows a text only with CR LF line ends.
        archive.writestr(zipfile.ZipInfo("README.txt", stamp), text.replace("\n", "\r\n"), zipfile.ZIP_DEFLATED)
    digest = hashlib.sha256(open(os.path.join(dist, name), "rb").read()).hexdigest()
    sums.append(f"{digest}  {name}\n")
    print(os.path.join(dist, name))
with open(os.path.join(dist, "SHA256SUMS"), "w", newline="\n") as out:
    out.writelines(sums)
print(os.path.join(dist, "SHA256SUMS"))
PY
