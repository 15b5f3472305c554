#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that everything a desktop needs is
# there and valid, and that the installed programs find their data.
# Usage: check-install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log"

id=org.vexajava.VexaJava
files=(
    bin/vexajava bin/vexajava-cli
    share/applications/$id.desktop
    share/mime/packages/$id.xml
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/vexajava.1.gz share/man/man1/vexajava-cli.1.gz share/doc/vexajava/copyright
    share/doc/vexajava/changelog.gz share/doc/vexajava/README.md.gz
    share/vexajava/defaults.ini share/vexajava/applets/qzbut1.gif share/vexajava/help/helproot.html
    share/vexajava/applets/treemenu/ic_empty.gif share/vexajava/vexajava-viewer.jar
)
for size in 16 24 32 48 64 128 256; do
    files+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${files[@]}"; do
    [ -f "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
grep -q 'glob pattern="\*.vxp"' "$prefix/share/mime/packages/$id.xml"
grep -q '^MimeType=application/x-vexajava-project;' "$prefix/share/applications/$id.desktop"
grep -q "release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml"
# The manual pages carry the programs' own options.
man=$prefix/share/man/man1
zgrep -q 'save\\-project APPLET FILE' "$man/vexajava-cli.1.gz"
zgrep -q '\\-\\-version' "$man/vexajava.1.gz"
# The pages are filled text: man fits them to 80 columns, indent included, and runs a
# sentence on across the help's own line breaks.
for page in "$man/vexajava.1.gz" "$man/vexajava-cli.1.gz"; do
    LC_ALL=C MANWIDTH=80 man -l "$page" | awk 'length > 80 { print "wider than 80 columns: " $0; wide = 1 }
                                               END { exit wide }'
done
LC_ALL=C MANWIDTH=200 man -l "$man/vexajava.1.gz" | grep -q 'page by page, preview the page'

# The installed programs answer and find their installation data.
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
[ "$("$prefix/bin/vexajava-cli" --version)" = "vexajava-cli (Vexa Java $version)" ]
[ "$("$prefix/bin/vexajava" --version)" = "Vexa Java $version" ]
# One version everywhere: the programs, their manual pages (the About box shows the same text).
zgrep -q "\"Vexa Java $version\"" "$man/vexajava.1.gz"
zgrep -q "\"vexajava-cli (Vexa Java $version)\"" "$man/vexajava-cli.1.gz"
"$prefix/bin/vexajava-cli" tag BLOBS | grep -q '^<applet archive="blobs.jar"'
# The installation is never written, even where it may be: the preview goes into the user's copy.
preview=$("$prefix/bin/vexajava-cli" preview BLOBS)
[ "$preview" = "$XDG_DATA_HOME/Vexa Team/Vexa Java/applets/blobs/preview.html" ]

# Uninstalled with the README's commands, nothing of the installation is left, and the user's files stay.
manifest=$build/install_manifest.txt
xargs -d '\n' rm -f < "$manifest"
xargs -d '\n' dirname < "$manifest" | sort -u |
    while IFS= read -r dir; do [ ! -d "$dir" ] || rmdir -p --ignore-fail-on-non-empty "$dir"; done
[ ! -e "$prefix" ] || { echo "left after uninstalling:"; find "$prefix"; exit 1; }
[ -f "$preview" ]
echo "installed and valid: ${#files[@]} files"
