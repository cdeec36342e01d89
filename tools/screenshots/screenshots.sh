#!/bin/sh
# Photographs the plug-in's two dialogs as the built DLL shows them under Wine,
# into docs/setup-default.png, docs/setup-quote.png, docs/setup-folder.png and
# docs/select-signature.png
# at 96 DPI, and docs/setup-default-144dpi.png at 144 DPI.
#
#   tools/screenshots/screenshots.sh [BUILD_DIR]     (default: build/win32, built beforehand)
#
# Runs in its own virtual X display (xvfb-run) and photographs it with
# ImageMagick's import. The program tools/screenshots/dialog_pictures.exe opens the
# dialogs with sample settings and says where each window is.
set -eu
cd "$(dirname "$0")/../.."
build=${1:-build/win32}
program="$build/tools/screenshots/dialog_pictures.exe"
[ -f "$program" ] || { echo "build $program first" >&2; exit 1; }

if [ -z "${BK_SCREENSHOTS_DISPLAY:-}" ]; then
    exec env BK_SCREENSHOTS_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

flags=$(mktemp -d)
trap 'rm -rf "$flags"' EXIT
mkdir -p docs
cr=$(printf '\r')
# shoot <pictures to keep> <suffix of their files> [<dpi>]: one run of the program.
shoot() {
    BK_LOGPIXELS=${3:-} "$build/wine-run" "$program" "Z:$flags" | while read -r word name x y width height; do
        height=${height%"$cr"}  # the program's lines end in CR LF
        [ "$word" = shot ] || continue
        case " $1 " in
            *" $name "*)
                import -window root -crop "${width}x${height}+${x}+${y}" +repage "docs/$name$2.png"
                echo "docs/$name$2.png (${width} x ${height})" ;;
        esac
        touch "$flags/$name.done"
    done
    rm -f "$flags"/*.done
}
shoot "setup-default setup-quote setup-folder select-signature" ""
# The default setup again at 150 % display scaling (144 DPI).
shoot "setup-default" "-144dpi" 144
"$build/wine-run" --stop  # before the virtual display goes
