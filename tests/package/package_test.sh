#!/usr/bin/env bash
# The Debian package, built and taken apart: its file list and control fields, lintian, the
# desktop entry, the metainfo, the manual pages and the icons; then the replay tool and the game
# run from the unpacked tree, started from an unrelated folder. Arguments: CPACK BUILD_DIR
# VERSION SCREEN_PROBE WORK_DIR.
set -u
cpack=$1 build=$2 version=$3 probe=$4 work=$5

source "$(dirname "${BASH_SOURCE[0]}")/../e2e/x_display.sh"

need dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli man Xvfb xdotool xprop \
    import convert identify
rm -rf "$work"
mkdir -p "$work/out" "$work/root" "$work/elsewhere"
cd "$work" || fail "no work directory"

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >cpack.log 2>&1 ||
    fail "cpack: $(cat cpack.log)"
deb=$work/out/cellstorm_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb: $(ls out)"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# The layout: programs in games/, data in share/games/cellstorm, no font of our own.
{
    printf 'usr/games/%s\n' cellstorm cellstorm-replay
    printf 'usr/share/games/cellstorm/%s\n' CSSPL8.BMP lv1BLK8.BMP lv1DS8.BMP CSCON8.BMP \
        XCNBUT8.BMP CSTRAIL8.BMP CSICON.BMP XSMNUUP.VOC XSMNUDWN.VOC XSMNUSEL.VOC XSINTRO.VOC \
        XSLINE.VOC XSLOCK.VOC XSNEXTL.VOC XSLOSER.VOC XSSONG1.VOC XSVOICE1.VOC CSTRAIL.VOC \
        CSSPL.VOC playf{1..16}.xpf
    printf 'usr/share/icons/hicolor/%sx%s/apps/cellstorm.png\n' 16 16 32 32 48 48 64 64 128 128 \
        256 256
    printf 'usr/share/%s\n' applications/cellstorm.desktop \
        metainfo/org.example.cellstorm.metainfo.xml man/man6/cellstorm.6.gz \
        man/man6/cellstorm-replay.6.gz doc/cellstorm/copyright doc/cellstorm/changelog.gz
} | sort >expected.txt
dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ { sub(/^\.\//, "", $6); print $6 }' | sort >files.txt
diff expected.txt files.txt >files.diff || fail "file list (< expected, > packaged): $(cat files.diff)"

for field in Package=cellstorm "Version=$version" Section=games; do
    [ "$(dpkg-deb -f "$deb" "${field%%=*}")" = "${field#*=}" ] || fail "control field $field"
done
depends=", $(dpkg-deb -f "$deb" Depends),"
for package in fonts-dejavu-core libsdl2-2.0-0 libfreetype6 libc6; do
    grep -Eq ", ${package}[ ,]" <<<"$depends" || fail "Depends lacks $package: $depends"
done

dpkg-deb -x "$deb" root || fail "dpkg-deb -x"
lintian --fail-on error "$deb" >lintian.log 2>&1 || fail "lintian found errors: $(cat lintian.log)"
desktop-file-validate root/usr/share/applications/cellstorm.desktop ||
    fail "desktop-file-validate"
appstreamcli validate --no-net root/usr/share/metainfo/org.example.cellstorm.metainfo.xml ||
    fail "appstreamcli validate"
for page in cellstorm cellstorm-replay; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "root/usr/share/man/man6/$page.6.gz" \
        2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man --warnings on $page.6: $warnings"
done

# Icons: PNG of the size their folder names, see-through in the corner, solid in the middle.
for size in 16 32 48 64 128 256; do
    icon=root/usr/share/icons/hicolor/${size}x$size/apps/cellstorm.png
    [ "$(identify -format '%m %w %h' "$icon")" = "PNG $size $size" ] || fail "icon $icon"
    [ "$(convert "$icon" -format '%[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]' info:)" = "0 1" ] ||
        fail "icon $icon is blank or has no see-through corners"
    [ "$(convert "$icon" -alpha off -format '%k' info:)" -gt 16 ] || fail "icon $icon is flat"
done

# The replay tool with no --data: the menu, the game type's value written in the system's font
# (a font or data file not found is named on stderr), then the exit item.
printf -- '5*-\n2*down\n3*-\n4*down\nenter\n' >leave.txt
(cd elsewhere && ../root/usr/games/cellstorm-replay --seed 1 --input ../leave.txt) \
    >replay.log 2>&1 || fail "cellstorm-replay exit code $?: $(cat replay.log)"
grep 'data file' replay.log && fail "cellstorm-replay missed a data file or its font"
echo "cellstorm-replay: exit code 0"

start_x 1280x1024
cd elsewhere || fail "no folder to start from"
start_game ../root/usr/games/cellstorm
cd "$work" || fail "no work directory"
# The menu picture where nothing is written on it.
wait_for menu 30 "$probe" match current.ppm root/usr/share/games/cellstorm/CSCON8.BMP \
    96,108,52,336 300,169,340,217
icon_set=""
for window in $(xdotool search --name '^CELLSTORM$'); do
    xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (64 x 64)' && icon_set=yes
done
[ -n "$icon_set" ] || fail "the window has no 64 x 64 icon"
xdotool key alt+F4
sleep 3
alive && xdotool key alt+F4 # once more if a loaded machine lost it
wait_exit 10
grep 'data file' game.log && fail "the game missed a data file"
echo "cellstorm: ran from the unpacked package"
