# The prepared Wine prefix that every end-to-end test (tests/e2e/run_e2e.sh) and the benchmark (bench.sh) copies.
# Source this file; it defines WINE_TEMPLATE_SCREEN and ensure_wine_template. Needs wine (64-bit), wineboot,
# wineserver and flock.

# Bump when the recipe of the template changes, so every cached template is made again.
WINE_TEMPLATE_RECIPE=2
WINE_TEMPLATE_SCREEN=1024x768

# ensure_wine_template TEMPLATE DISPLAY LOG TAG: makes the prefix TEMPLATE on the X display DISPLAY, unless this recipe
# made it already with the Wine in use. One caller at a time makes or checks it. What making it prints goes to LOG,
# and is shown if it fails; progress lines start with TAG.
ensure_wine_template() {
    local template=$1 display=$2 log_file=$3 tag=$4
    local stamp
    stamp="$(wine --version 2>/dev/null) recipe $WINE_TEMPLATE_RECIPE screen $WINE_TEMPLATE_SCREEN"
    mkdir -p "$(dirname "$template")"
    (
        flock 9
        if [[ -f $template/.lumoff-e2e-template && $(cat "$template/.lumoff-e2e-template") == "$stamp" ]]; then
            echo "$tag reusing template prefix $template"
            exit 0
        fi
        local started=$SECONDS
        echo "$tag making Wine template prefix $template ($(wine --version 2>/dev/null))"
        rm -rf "$template"
        (
            export WINEPREFIX=$template DISPLAY=$display WINEARCH=win64 WINEDEBUG=-all
            # No Mono or Gecko: nothing here needs them, and their installers would ask for a download.
            WINEDLLOVERRIDES="mscoree=;mshtml=" wineboot -i </dev/null
            # A virtual desktop: without a window manager Wine waits about a second whenever a top-level window hides
            # and two when a tray icon goes; inside its own desktop both are immediate and injected keys reach hotkeys
            # without any focus step. A crashing program must end, not wait on a crash dialog nobody will close.
            cat >"$template/drive_c/lumoff-e2e.reg" <<EOF
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="$WINE_TEMPLATE_SCREEN"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
            wine regedit /S 'C:\lumoff-e2e.reg' </dev/null
            # Wine's own "MS Sans Serif" and Tahoma, where the prefix finds them, so captions are measured as on
            # Windows.
            if [[ -d /usr/share/wine/fonts ]]; then
                cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$template/drive_c/windows/Fonts/" \
                    2>/dev/null || true
            fi
            wineserver -w
            rm -f "$template/drive_c/lumoff-e2e.reg"
        ) >"$log_file" 2>&1 || {
            echo "$tag making the template failed:" >&2
            cat "$log_file" >&2
            exit 1
        }
        if ! grep -q '"Desktop"="Default"' "$template/user.reg"; then
            echo "$tag the template has no virtual desktop setting" >&2
            exit 1
        fi
        # Written last: a template without it is incomplete and is made again.
        echo "$stamp" >"$template/.lumoff-e2e-template"
        echo "$tag template made in $((SECONDS - started)) s"
    ) 9>"$template.lock"
}
