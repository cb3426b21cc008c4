#!/usr/bin/env bash
# Builds both programs from the committed tree (HEAD, not the working copy) and writes dist/:
#   CaldwexUninstaller-VERSION-win32.zip   the 32-bit program (the one we ship) and README.txt
#   CaldwexUninstaller-VERSION-win64.zip   the 64-bit program and README.txt
#   SHA256SUMS                             the checksums of the two archives
# VERSION is the ProductVersion of the version resource (resources/caldwex.rc). The result is
# reproducible: the same commit gives the same bytes in any clone, in any folder, at any time.
#   scripts/release.sh
set -euo pipefail
who=release
source "$(dirname "$0")/lib.sh"

command -v python3 >/dev/null || fail "python3 is needed to write the archives (Debian package python3)"
commit=$(git -C "$root" rev-parse --verify HEAD) || fail "$root is not a git clone with a commit"
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
  say "the working copy has changes that are not committed: they are not in the release"

version=$(git -C "$root" show "$commit:resources/caldwex.rc" |
  sed -n 's/^ *VALUE "ProductVersion", "\([^"]*\)".*/\1/p')
[[ "$version" =~ ^[0-9][0-9A-Za-z.-]*$ ]] ||
  fail "resources/caldwex.rc has no ProductVersion of digits, letters, dots and dashes (found '$version')"

bash "$root/scripts/setup.sh" i686 x86_64
export CALDWEX_PACKAGES_CHECKED=1

work=$(mktemp -d "${TMPDIR:-/tmp}/caldwex-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/source"
git -C "$root" archive "$commit" | tar -x -C "$work/source"

for arch in i686 x86_64; do
  step "configuring the $arch program" cmake -S "$work/source" -B "$work/build-$arch" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/source/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DDEPS_PREFIX="$(deps_prefix "$arch")"
  say "building the $arch program"
  step "building the $arch program" cmake --build "$work/build-$arch" --target CaldwexUninstaller
done

# The archives' entries carry the commit's time, in a fixed order, with fixed attributes.
dist="$root/dist"
rm -rf "$dist"; mkdir -p "$dist"
python3 - "$dist" "$version" "$(git -C "$root" show -s --format=%ct "$commit")" \
  "$root/scripts/release-readme.txt" "$work" <<'EOF'
import sys, time, zipfile
dist, version, epoch, readme, work = sys.argv[1:]
stamp = time.gmtime(max(int(epoch), 315532800))[:6]  # a zip's times start in 1980
notes = {
    "win32": ("32", "This is the 32-bit program. It runs on every Windows; on 64-bit Windows it lists the\r\n"
                    "programs registered for 32-bit Windows programs, as 32-bit programs see them."),
    "win64": ("64", "This is the 64-bit program, for 64-bit Windows. It lists the programs registered for\r\n"
                    "64-bit Windows programs; the 32-bit program lists those registered for 32-bit ones."),
}
with open(readme, encoding="utf-8") as f:
    template = f.read().replace("\r\n", "\n").replace("\n", "\r\n")
for arch, platform in (("i686", "win32"), ("x86_64", "win64")):
    bits, note = notes[platform]
    text = (template.replace("@VERSION@", version).replace("@BITS@", bits)
            .replace("@PLATFORM@", platform).replace("@BITS_NOTE@", note))
    with open(f"{work}/build-{arch}/CaldwexUninstaller.exe", "rb") as f:
        program = f.read()
    name = f"{dist}/CaldwexUninstaller-{version}-{platform}.zip"
    with zipfile.ZipFile(name, "w") as archive:
        for entry, data in (("CaldwexUninstaller.exe", program), ("README.txt", text.encode("utf-8"))):
            info = zipfile.ZipInfo(entry, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0      # MS-DOS: no Unix owner or mode bits
            info.external_attr = 0x20   # FILE_ATTRIBUTE_ARCHIVE
            archive.writestr(info, data, compresslevel=9)
EOF
(cd "$dist" && sha256sum -- *.zip > SHA256SUMS)
say "wrote $dist for $version (commit ${commit:0:12}):"
sed 's/^/  /' "$dist/SHA256SUMS"
