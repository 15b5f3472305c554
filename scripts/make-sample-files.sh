#!/usr/bin/env bash
# Makes the pictures and the VexaFont that the applets' default values name, so a
# fresh installation previews and publishes every applet without missing files.
# Each file lands in its applet's folder under data/files/applets, at the size the
# applet's page derives from its default Width/Height/Res (tests/core/tst_sample_files.cpp
# holds the same rules and checks the result).
#
# Documentation of how the shipped files were made: the build does not run it.
# Needs ImageMagick 6 (the real one: /usr/bin/convert, or the path in IM)
# and the DejaVu fonts. Re-running it rewrites the same files.
set -euo pipefail
cd "$(dirname "$0")/.."

IM=${IM:-/usr/bin/convert}
FONTS=${FONTS:-/usr/share/fonts/truetype/dejavu}
SANS="$FONTS/DejaVuSans-Bold.ttf"
MONO="$FONTS/DejaVuSansMono-Bold.ttf"
APPLETS=data/files/applets
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

for f in "$SANS" "$MONO"; do
    [ -f "$f" ] || { echo "missing font $f" >&2; exit 1; }
done
"$IM" -version | grep -q ImageMagick || { echo "$IM is not ImageMagick" >&2; exit 1; }

# Baseline JPEG without metadata: the applets' picture loaders predate progressive JPEG.
jpeg() { # out, then the image operations
    local out=$1; shift
    "$IM" "$@" -strip -interlace none -sampling-factor 2x2 -quality 82 "JPEG:$out"
}

# GIF89a with its logical screen equal to the picture: the page reads the size from there.
gif() { # out, colours, then the image operations
    local out=$1 colours=$2; shift 2
    "$IM" "$@" +repage -strip -dither None -colors "$colours" "GIF:$out"
}

# Centred label with a soft shadow, as image operations in LABEL:
# $1 point size, $2 text, $3 vertical offset from the centre.
label() {
    LABEL=(-font "$SANS" -pointsize "$1" -gravity center
        -fill '#00000080' -annotate "+2+$(($3 + 2))" "$2"
        -fill white -annotate "+0+$3" "$2" -gravity northwest)
}

# A landscape: sky gradient, a sun, two hills and a label.
landscape() { # out w h sky-top sky-bottom hill-far hill-near text
    local out=$1 w=$2 h=$3 top=$4 bottom=$5 far=$6 near=$7 text=$8
    local sunx=$((w * 3 / 4)) suny=$((h * 3 / 10)) r=$((h / 9))
    local horizon=$((h * 62 / 100))
    label $((h / 7)) "$text" $((-h / 8))
    jpeg "$out" -size "${w}x${h}" "gradient:$top-$bottom" \
        -fill '#fff3b0' -draw "circle $sunx,$suny $((sunx + r)),$suny" \
        -fill "$far" -draw "ellipse $((w / 4)),$((horizon + h / 10)) $((w * 45 / 100)),$((h / 4)) 180,360" \
        -fill "$far" -draw "rectangle 0,$((horizon + h / 10)) $w,$h" \
        -fill "$near" -draw "ellipse $((w * 3 / 4)),$((h * 95 / 100)) $((w * 55 / 100)),$((h / 4)) 180,360" \
        -fill "$near" -draw "rectangle 0,$((h * 95 / 100)) $w,$h" \
        "${LABEL[@]}"
}

# A seamless square pattern (checks with rings) for the applets that wrap their picture.
pattern() { # out size colour-a colour-b text
    local out=$1 s=$2 a=$3 b=$4 text=$5 q=$(($2 / 4))
    label $((s / 11)) "$text" 0
    jpeg "$out" -size "${s}x${s}" "xc:$a" \
        -fill "$b" -draw "rectangle 0,0 $((s / 2 - 1)),$((s / 2 - 1))" \
        -draw "rectangle $((s / 2)),$((s / 2)) $s,$s" \
        -fill none -stroke '#ffffff90' -strokewidth 3 \
        -draw "circle $q,$q $q,$((q / 3))" -draw "circle $((3 * q)),$((3 * q)) $((3 * q)),$((3 * q - q * 2 / 3))" \
        -draw "circle $((3 * q)),$q $((3 * q)),$((q / 3))" -draw "circle $q,$((3 * q)) $q,$((3 * q - q * 2 / 3))" \
        -stroke none \
        -fill '#00000060' -draw "roundrectangle $((s / 8)),$((s * 40 / 100)) $((s * 7 / 8)),$((s * 60 / 100)) 8,8" \
        "${LABEL[@]}"
}

# A titled card on a diagonal gradient: slides, mosaic pictures and the like.
card() { # out w h colour-a colour-b title subtitle
    local out=$1 w=$2 h=$3 a=$4 b=$5 title=$6 sub=$7
    label $((h / 5)) "$title" $((-h / 12))
    jpeg "$out" -size "${h}x${w}" "gradient:$a-$b" -rotate 90 +repage \
        -fill '#ffffff30' -draw "circle $((w / 5)),$((h / 4)) $((w / 5 + h / 3)),$((h / 4))" \
        -fill '#00000030' -draw "circle $((w * 4 / 5)),$((h * 4 / 5)) $((w * 4 / 5 + h / 4)),$((h * 4 / 5))" \
        "${LABEL[@]}" \
        -font "$SANS" -pointsize $((h / 14)) -gravity center -fill '#ffffffd0' \
        -annotate "+0+$((h / 6))" "$sub" -gravity northwest
}

# --- image effects: the picture is the applet (Width/Res x Height/Res) ----------------
for a in bump deform huerot water lens; do
    landscape "$APPLETS/$a/sample.jpg" 320 200 '#1d4e89' '#9fd3f5' '#3b7d3a' '#2a5d2a' 'Vexa Java'
done
# LAKE: the applet adds the reflection below the picture (Height = picture height x 2).
landscape "$APPLETS/lake/sample.jpg" 320 100 '#243b7a' '#f6b26b' '#4a6d3c' '#2f4f2a' 'Vexa Java'
# Pictures the applets wrap or rotate: square, powers of two.
pattern "$APPLETS/rot/sample.jpg" 256 '#c0392b' '#e67e22' 'Vexa Java'
pattern "$APPLETS/warp/sample.jpg" 256 '#1f618d' '#48c9b0' 'Vexa Java'
pattern "$APPLETS/tunnel/sample.jpg" 256 '#4a235a' '#2e86c1' 'Vexa Java'
pattern "$APPLETS/tunnel3d/sample.jpg" 256 '#145a32' '#b7950b' 'Vexa Java'
pattern "$APPLETS/wobbler/sample.jpg" 256 '#7d3c98' '#f1c40f' 'Vexa Java'

# VEXACAM: the place holder until the camera's first picture arrives.
label 22 'Web cam' 75
jpeg "$APPLETS/vexacam/webcam.jpg" -size 240x320 'gradient:#2c3e50-#7f8c8d' -rotate 90 +repage \
    -fill '#1b2631' -draw 'roundrectangle 100,70 220,150 12,12' \
    -fill '#566573' -draw 'circle 160,110 160,78' \
    -fill '#17202a' -draw 'circle 160,110 160,90' \
    -fill '#85c1e9' -draw 'circle 152,102 152,97' \
    -fill '#1b2631' -draw 'rectangle 150,150 170,175' -draw 'rectangle 125,175 195,182' \
    -fill '#e74c3c' -draw 'circle 22,22 22,15' \
    -font "$SANS" -pointsize 14 -fill white -annotate +36+27 'LIVE' \
    "${LABEL[@]}"

# SNOW: the winter night the flakes fall over; the applet takes the picture's size.
jpeg "$APPLETS/vxsnow/snow.jpg" -size 320x200 'gradient:#0b1a3a-#3d5a8a' \
    -fill '#f4f6f7' -draw 'circle 60,45 60,25' \
    -fill '#0b1a3a' -draw 'circle 70,40 70,22' \
    -fill '#e8eef5' -draw 'ellipse 90,200 200,55 180,360' -draw 'ellipse 280,205 150,45 180,360' \
    -fill '#1e4d2b' -draw 'polygon 230,150 250,95 270,150' -draw 'polygon 262,160 285,100 308,160' \
    -draw 'polygon 40,165 58,120 76,165' \
    -fill '#4a3020' -draw 'rectangle 247,150 253,160' -draw 'rectangle 282,160 288,170' \
    -draw 'rectangle 55,165 61,173' \
    -font "$SANS" -pointsize 18 -fill '#ffffffc0' -gravity northeast -annotate +12+12 'Vexa Java' \
    -gravity northwest

# --- picture lists: one common size, the applet's ------------------------------------
colours=('#8e44ad' '#3498db' '#16a085' '#f39c12' '#c0392b' '#2c3e50')
for n in 1 2 3; do
    a=${colours[n - 1]} b=${colours[n]}
    card "$APPLETS/cfade/slide$n.jpg" 320 200 "$a" "$b" "Slide $n" 'Vexa Java cross fade'
done
# MOSAIC: the page frames the picture with the margins its 20x20 tiles fly out into;
# 314x191 comes to 320x199, the nearest to the default 320x200 that whole margins reach.
mosaic_sky=('#1d4e89' '#6c3483' '#b9770e')
mosaic_ground=('#2a5d2a' '#1a5276' '#6e2c00')
for n in 1 2 3; do
    landscape "$APPLETS/mosaic/tile$n.jpg" 314 191 "${mosaic_sky[n - 1]}" '#f5cba7' '#58a05a' \
        "${mosaic_ground[n - 1]}" "Picture $n"
done
# BOOKFLIP: paper pages; the applet's Height adds its 20 pixels of extra height.
for n in 1 2 3; do
    args=()
    for y in 80 95 110 125 140 155; do
        args+=(-draw "rectangle 40,$y $((y == 155 ? 190 : 280)),$((y + 6))")
    done
    jpeg "$APPLETS/bookflip/page$n.jpg" -size 320x200 'xc:#fbf6e9' \
        -fill none -stroke '#d5c7a1' -strokewidth 2 -draw 'rectangle 10,10 309,189' -stroke none \
        -font "$SANS" -pointsize 34 -fill "${colours[n]}" -annotate +40+60 "Page $n" \
        -fill '#c8bfa8' "${args[@]}" \
        -font "$SANS" -pointsize 12 -fill '#8c7e5f' -gravity south -annotate +0+14 "- $n -" -gravity northwest
done

# --- cube faces: 128x128, a number on each --------------------------------------------
cube_face() { # out colour-a colour-b number caption
    "$IM" -size 128x128 "gradient:$2-$3" \
        -fill none -stroke '#ffffffa0' -strokewidth 4 -draw 'rectangle 4,4 123,123' -stroke none \
        -font "$SANS" -pointsize 64 -gravity center -fill '#00000070' -annotate +3-5 "$4" \
        -fill white -annotate +0-8 "$4" \
        -pointsize 15 -annotate +0+40 "$5" \
        -strip -interlace none -sampling-factor 2x2 -quality 85 "JPEG:$1"
}
menu=('Home' 'News' 'Products' 'Support' 'Downloads' 'Contact')
faces=('#c0392b:#e74c3c' '#d35400:#f39c12' '#27ae60:#2ecc71' '#2980b9:#5dade2' '#8e44ad:#bb8fce' '#2c3e50:#5d6d7e')
for n in 1 2 3 4 5 6; do
    IFS=: read -r a b <<<"${faces[n - 1]}"
    cube_face "$APPLETS/cubemenu/face$n.jpg" "$a" "$b" "$n" "${menu[n - 1]}"
    cube_face "$APPLETS/tmapcube/face$n.jpg" "$b" "$a" "$n" "Face $n"
done

# --- BLUR: eight frames of a ball crossing the picture (frame1.jpg ... frame8.jpg) -----
for n in 1 2 3 4 5 6 7 8; do
    x=$((40 + (n - 1) * 34)) y=$((140 - (n - 1) * (8 - n) * 4))
    jpeg "$APPLETS/blur/frame$n.jpg" -size 320x200 'gradient:#101833-#34495e' \
        -fill '#1c2833' -draw 'rectangle 0,170 320,200' \
        -fill '#00000060' -draw "ellipse $x,172 $((26 - (140 - y) / 8)),5 0,360" \
        -fill '#e67e22' -draw "circle $x,$y $((x + 22)),$y" \
        -fill '#f8c471' -draw "circle $((x - 7)),$((y - 7)) $((x - 1)),$((y - 7))" \
        -font "$SANS" -pointsize 13 -fill '#d6dbdf' -annotate +10+22 "Frame $n"
done

# --- FLAGLOAD: a flag of our own, at the applet's size -----------------------------------
gif "$APPLETS/flagload/flag.gif" 32 -size 200x150 'xc:#1f4e9c' \
    -fill white -draw 'polygon 0,0 70,0 200,105 200,150 130,150 0,45' \
    -fill '#d62828' -draw 'polygon 0,0 35,0 200,128 200,150 165,150 0,22' \
    -fill '#f7c948' -draw 'polygon 45,92 52,110 71,110 56,121 62,140 45,128 28,140 34,121 19,110 38,110'

# --- VEXA3D LIGHT: GIF textures (64x64) and the phong light map (128x128) ----------------
gif "$APPLETS/vexa3d/texture0.gif" 32 -size 64x64 'xc:#8a8f98' \
    -fill '#a5432a' \
    -draw 'rectangle 1,1 30,14' -draw 'rectangle 33,1 62,14' \
    -draw 'rectangle 0,17 14,30' -draw 'rectangle 17,17 46,30' -draw 'rectangle 49,17 63,30' \
    -draw 'rectangle 1,33 30,46' -draw 'rectangle 33,33 62,46' \
    -draw 'rectangle 0,49 14,62' -draw 'rectangle 17,49 46,62' -draw 'rectangle 49,49 63,62' \
    -fill '#b9553a' -draw 'rectangle 3,3 28,6' -draw 'rectangle 35,35 60,38' -draw 'rectangle 19,19 44,22'
gif "$APPLETS/vexa3d/texture1.gif" 16 -size 64x64 'xc:#f2f3f4' \
    -fill '#2471a3' -draw 'rectangle 0,0 15,15' -draw 'rectangle 32,0 47,15' \
    -draw 'rectangle 16,16 31,31' -draw 'rectangle 48,16 63,31' \
    -draw 'rectangle 0,32 15,47' -draw 'rectangle 32,32 47,47' \
    -draw 'rectangle 16,48 31,63' -draw 'rectangle 48,48 63,63'
"$IM" -size 64x64 'gradient:#f9e79f-#b9770e' "$TMP/wood.png"
gif "$APPLETS/vexa3d/texture2.gif" 32 "$TMP/wood.png" \
    -fill none -stroke '#7e510980' -strokewidth 2 \
    -draw 'ellipse 32,70 40,50 180,360' -draw 'ellipse 32,70 28,38 180,360' \
    -draw 'ellipse 32,70 16,26 180,360' -draw 'ellipse 32,70 52,62 180,360'
gif "$APPLETS/vexa3d/phong.gif" 128 -size 128x128 'radial-gradient:white-black'

# --- TREEMENU: a folder icon (closed and open side by side, 32x16) and a page icon -------
gif "$APPLETS/treemenu/folder.gif" 16 -size 32x16 xc:none \
    -fill '#b7950b' -draw 'polygon 1,3 6,3 7,5 14,5 14,14 1,14' \
    -fill '#f4d03f' -draw 'rectangle 1,6 14,14' \
    -fill '#b7950b' -draw 'polygon 17,3 22,3 23,5 29,5 29,14 17,14' \
    -fill '#f7dc6f' -draw 'polygon 19,8 31,8 28,14 16,14'
gif "$APPLETS/treemenu/page.gif" 16 -size 16x16 xc:none \
    -fill white -stroke '#5d6d7e' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' \
    -fill '#d5dbdb' -draw 'polygon 10,1 10,4 13,4' -stroke none \
    -fill '#5dade2' -draw 'rectangle 5,6 11,6' -draw 'rectangle 5,8 11,8' -draw 'rectangle 5,10 9,10'
# Every new tree-menu item starts with this icon: a transparent square, so a new item shows
# no picture until the user picks one, and publishing finds the file it names.
gif "$APPLETS/treemenu/ic_empty.gif" 2 -size 16x16 xc:none

# --- SOLIDSCROLLER: a VexaFont and its glyph strip ---------------------------------------
# The strip holds one cell per character of line 5, left to right in that order, each
# cell as wide and high as lines 2 and 3 say; the letters are filled with a gradient.
cw=16 ch=20 spacing=2
chars=$(printf '%s' ' !"#$%&'"'"'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\]^_`abcdefghijklmnopqrstuvwxyz{|}~')
cells=()
for ((i = 0; i < ${#chars}; i++)); do
    c=${chars:i:1}
    case $c in # ImageMagick reads % and \ as escapes and a leading @ as a file name
    '%') c='%%' ;;
    '\') c='\\' ;;
    '@') c='\@' ;;
    esac
    cells+=('(' -size "${cw}x${ch}" xc:black -font "$MONO" -pointsize 19 -gravity center -fill white
        -annotate +0+0 "$c" ')')
done
"$IM" "${cells[@]}" +append +repage "$TMP/mask.png"
strip_w=$((cw * ${#chars}))
gif "$APPLETS/solidscr/solidfont.gif" 32 \
    -size "${strip_w}x${ch}" 'gradient:#fff8d0-#ff3c00' "$TMP/mask.png" -compose multiply -composite
printf '%s\r\n' 'Vexa Solid 16x20' "$cw" "$ch" "$spacing" "$chars" \
    'Sample font made for Vexa Java: 95 glyphs of 16x20 pixels' \
    'Glyphs in solidfont.gif, one row in the order of line 5' >"$APPLETS/solidscr/solidfont.vxf"

echo "sample files written under $APPLETS"
