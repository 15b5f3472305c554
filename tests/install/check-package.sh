#!/usr/bin/env bash
# Makes the Debian package, unpacks it into a temporary root and checks its files, its
# dependencies (found by dpkg-shlibdeps) and that the program runs from there.
# Usage: check-package.sh BUILD_DIR VERSION. Exits 77 (skipped) without dpkg-dev.
set -euo pipefail
build=$1 version=$2
command -v dpkg-shlibdeps > /dev/null || { echo "dpkg-dev is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
deb=$(ls "$work"/out/*.deb)
dpkg-deb -x "$deb" "$work/root"
id=org.vexajava.VexaJava
for f in bin/vexajava bin/vexajava-cli share/applications/$id.desktop share/mime/packages/$id.xml \
         share/metainfo/$id.metainfo.xml share/icons/hicolor/48x48/apps/$id.png \
         share/man/man1/vexajava-cli.1.gz share/doc/vexajava/README.md.gz share/vexajava/defaults.ini \
         share/vexajava/vexajava-viewer.jar; do
    [ -f "$work/root/usr/$f" ] || { echo "not in the package: $f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q 'libqt6widgets6' <<< "$depends"
[ "$(dpkg-deb -f "$deb" Recommends)" = "xdg-utils, default-jre | openjdk-17-jre, bubblewrap" ]
# Debian's own checker, where it is installed: no error and no warning.
if command -v lintian > /dev/null; then
    lintian --fail-on error,warning "$deb"
fi
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ]
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
[ "$("$work/root/usr/bin/vexajava-cli" --version)" = "vexajava-cli (Vexa Java $version)" ]
echo "package $(basename "$deb") checked"
