#!/usr/bin/env bash
# Checks installing and packaging a build: installs it into a temporary
# DESTDIR and checks the layout, the icon sizes, the menu entry and the file
# types; then builds the Debian package with CPack and checks its files and
# dependencies. Usage: scripts/check-package.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

icon_sizes=(16 22 24 32 48 64 96 128 256)
doubled_sizes=(16 24 32 48 64 128)
expected=(bin/mok bin/mokcli
          share/mok/samples/Sampler/Models/Sampler_d.3d share/mok/samples/Sampler/Models/Sampler_a.3d share/mok/samples/Sampler/Models/Sampler_k.3d share/mok/samples/Sampler/Classes/Sampler.uc
          share/mok/samples/Sampler/Models/Sampler_ring.pcx share/mok/samples/Sampler/Models/Sampler_core.tga
          share/mok/maps/phongs/Sampler_phong.bmp share/mok/maps/enviros/Sampler_sky.bmp
          share/applications/mok.desktop share/mime/packages/mok.xml
          share/icons/hicolor/scalable/apps/mok.svg)
for size in "${icon_sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/mok.png"); done
for size in "${doubled_sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}@2/apps/mok.png"); done

# Install.
DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr > "$scratch/install.log"
usr="$scratch/root/usr"
for file in "${expected[@]}"; do [ -f "$usr/$file" ] || fail "not installed: $file"; done
[ -x "$usr/bin/mok" ] && [ -x "$usr/bin/mokcli" ] || fail "programs not executable"

# Every PNG holds the pixels its folder promises (twice as many in the @2 folders).
/usr/bin/python3 - "$usr/share/icons/hicolor" <<'PY' || fail "icon sizes"
import pathlib, struct, sys
for png in pathlib.Path(sys.argv[1]).glob("*/apps/mok.png"):
    folder = png.parent.parent.name
    size, _, scale = folder.partition("@")
    want = int(size.split("x")[0]) * int(scale or 1)
    head = png.read_bytes()[:24]
    width, height = struct.unpack(">II", head[16:24])
    if head[:8] != b"\x89PNG\r\n\x1a\n" or (width, height) != (want, want):
        sys.exit(f"{png}: {width}x{height}, expected {want}x{want}")
PY

# The installed programs answer and read the installed sample.
"$usr/bin/mok" --help | head -n 1 | grep -q '^Usage: mok ' || fail "mok --help"
"$usr/bin/mok" --version | grep -Eq '^mok [0-9]+\.[0-9]+' || fail "mok --version"
"$usr/bin/mokcli" info "$usr/share/mok/samples/Sampler/Models/Sampler_d.3d" | grep -q '"triangles": 648' || fail "mokcli info"

# Menu entry and file types.
desktop-file-validate "$usr/share/applications/mok.desktop" || fail "desktop-file-validate"
xmllint --noout "$usr/share/mime/packages/mok.xml" || fail "MIME package is not well-formed"
mkdir -p "$scratch/mime/packages"
cp "$usr/share/mime/packages/mok.xml" "$scratch/mime/packages/"
XDG_DATA_HOME="$scratch" XDG_DATA_DIRS="$scratch" update-mime-database "$scratch/mime" 2> "$scratch/mime.log" || fail "update-mime-database: $(cat "$scratch/mime.log")"
[ ! -s "$scratch/mime.log" ] || fail "update-mime-database complained: $(cat "$scratch/mime.log")"
for glob in "model/x-unreal-3d-geometry:\*_d.3d" "model/x-unreal-3d-animation:\*_a.3d" \
            "model/x-unreal-3d:\*.3d" "model/x-quake2-md2:\*.md2"; do
  grep -q ":$glob\$" "$scratch/mime/globs2" || fail "glob missing: $glob"
done
grep -aq "IDP2" "$scratch/mime/magic" || fail "MD2 magic missing"
for type in $(sed -n 's/^MimeType=//p' "$usr/share/applications/mok.desktop" | tr ';' ' '); do
  grep -q "^$type\$" "$scratch/mime/types" || fail "the menu entry names an unknown type $type"
done

# The Debian package.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" > "$scratch/cpack.log" 2>&1 ||
  fail "cpack: $(tail -n 20 "$scratch/cpack.log")"
deb=$(ls "$scratch"/deb/mok_*.deb)
dpkg-deb -c "$deb" | awk '{print $NF}' > "$scratch/contents"
for file in "${expected[@]}"; do grep -qx "./usr/$file" "$scratch/contents" || fail "not in the package: $file"; done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "the package does not depend on $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = mok ] || fail "package name"
echo "Packaging checks passed: ${#expected[@]} files installed and packaged; depends on: $depends"
