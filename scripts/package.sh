#!/usr/bin/env bash
# Builds the Debian package of Orvani and proves it on a fresh Debian 12 (bookworm):
#   1. a Release build with the distribution's hardening flags, installed under /usr;
#   2. cpack -G DEB (dependencies computed from the binary);
#   3. desktop-file-validate, appstreamcli validate and lintian on what the package ships;
#   4. a minimal bookworm root made with debootstrap (cached under build/package), where the
#      package is installed with apt and the program is started headless, ended with SIGTERM,
#      and must have written all its settings;
#   5. the installed menu entry and icon shown on a virtual display, saved as a picture.
# Prints a summary and exits non-zero when any check failed. Needs root (or sudo) for apt,
# debootstrap and chroot.
# shellcheck disable=SC2317  # the check functions are called through check()
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/ensure-packages.sh
bash scripts/ensure-packages.sh scripts/packages-package.txt

build=$root/build/package
chroot_dir=$build/bookworm-root
base_tar=$build/bookworm-base.tar
apt_cache=$build/apt-archives
mkdir -p "$build" "$apt_cache"

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

results=()
failed=0
record() { # record <OK|FAILED> <what>
    results+=("$(printf '%-7s %s' "$1" "$2")")
    [ "$1" = OK ] || failed=1
}
check() { # check <what> <command...>: runs the command, records and returns its outcome
    local what=$1
    shift
    echo "== $what"
    if "$@"; then
        record OK "$what"
    else
        record FAILED "$what"
        return 1
    fi
}
summary() {
    echo
    echo "== Summary"
    printf '%s\n' "${results[@]}"
}

# --- 1. Build ---------------------------------------------------------------------------------
echo "== Building (Release, prefix /usr) in $build"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVANI_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
cmake --build "$build" -j "$(nproc)"
cmake --build "$build" -j "$(nproc)" --target desktop-preview

# --- 2. Package -------------------------------------------------------------------------------
echo "== cpack -G DEB"
rm -f "$build"/orvani_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/orvani_*.deb)
dpkg-deb --info "$deb"
contents=$build/deb-contents
rm -rf "$contents"
dpkg-deb -x "$deb" "$contents"

# --- 3. Static checks of what the package ships ------------------------------------------------
# From here on every check runs, whatever the outcome of the others, and goes into the summary.
set +e
# The window and the downloads it loads at the first one, beside each other.
ships_modules() { ls "$contents"/usr/lib/*/orvani/orvani-window.so "$contents"/usr/lib/*/orvani/orvani-network.so; }
check "the window and network modules are shipped" ships_modules
check "desktop-file-validate" desktop-file-validate "$contents/usr/share/applications/orvani.desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
check "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$contents"

lint_log=$build/lintian.txt
run_lintian() {
    # Errors fail the check; warnings and notes are listed for a person to judge.
    local status=0
    lintian --fail-on error --display-info "$deb" > "$lint_log" 2>&1 || status=$?
    grep -v -e '^N:' -e 'running with root privileges' "$lint_log" || true
    return "$status"
}
check "lintian (no errors)" run_lintian

# --- 4. A fresh Debian 12 root -----------------------------------------------------------------
# The Debian mirror this machine's apt uses, for bookworm (one-line and deb822 formats).
debian_mirror() {
    local lists=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list) sources=(/etc/apt/sources.list.d/*.sources)
    {
        awk '$1 == "deb" { for (i = 2; i < NF; i++) if ($i ~ /^(https?|ftp|file):/) {
                 if ($(i + 1) == "bookworm") print $i; break } }' "${lists[@]}" 2> /dev/null
        awk 'BEGIN { RS = ""; FS = "\n" }
             { types = uris = suites = ""; enabled = "yes"
               for (i = 1; i <= NF; i++) {
                 if ($i ~ /^#/ || index($i, ":") == 0) continue
                 key = tolower(substr($i, 1, index($i, ":") - 1))
                 value = " " substr($i, index($i, ":") + 1) " "
                 if (key == "types") types = value; else if (key == "uris") uris = value
                 else if (key == "suites") suites = value; else if (key == "enabled") enabled = value
               }
               if (types ~ / deb / && suites ~ / bookworm / && enabled !~ /no/) { split(uris, u, " "); print u[1] } }' \
            "${sources[@]}" 2> /dev/null
    } | head -n 1
}

unmount_proc() {
    if mountpoint -q "$chroot_dir/proc" 2> /dev/null; then "${as_root[@]}" umount "$chroot_dir/proc"; fi
}
trap unmount_proc EXIT

# debootstrap runs once; its result is kept as a tarball so that every run starts from a clean root.
make_base() {
    [ -s "$base_tar" ] && return 0
    local mirror stage=$build/bookworm-bootstrap
    mirror=$(debian_mirror)
    if [ -z "$mirror" ]; then
        mirror=http://deb.debian.org/debian
        echo "No bookworm mirror configured for apt; using $mirror"
    fi
    echo "debootstrap --variant=minbase bookworm from $mirror (log: $build/debootstrap.log)"
    "${as_root[@]}" rm -rf --one-file-system "$stage"
    "${as_root[@]}" debootstrap --variant=minbase bookworm "$stage" "$mirror" > "$build/debootstrap.log" 2>&1 || {
        tail -n 20 "$build/debootstrap.log"
        return 1
    }
    "${as_root[@]}" tar -C "$stage" -cf "$base_tar" . &&
        "${as_root[@]}" rm -rf --one-file-system "$stage"
}

# Unpacks the clean root and installs the package with apt, as a user would.
install_in_fresh_root() {
    unmount_proc &&
        "${as_root[@]}" rm -rf --one-file-system "$chroot_dir" &&
        "${as_root[@]}" mkdir -p "$chroot_dir" &&
        "${as_root[@]}" tar -C "$chroot_dir" -xf "$base_tar" &&
        "${as_root[@]}" cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf" &&
        "${as_root[@]}" mount -t proc proc "$chroot_dir/proc" &&
        "${as_root[@]}" cp "$deb" "$chroot_dir/tmp/orvani.deb" || return 1
    # Downloaded packages are kept between runs, so a re-run fetches nothing it had already.
    find "$apt_cache" -name '*.deb' -exec "${as_root[@]}" cp -t "$chroot_dir/var/cache/apt/archives" {} +
    local status=0
    "${as_root[@]}" chroot "$chroot_dir" /usr/bin/env DEBIAN_FRONTEND=noninteractive /bin/sh -c \
        'apt-get update -qq && cd /tmp && apt-get install -y -q -o Dpkg::Use-Pty=0 --no-install-recommends ./orvani.deb' || status=$?
    find "$chroot_dir/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -exec cp -t "$apt_cache" {} +
    return "$status"
}

# Starts the installed program headless for a few seconds, then ends it with SIGTERM.
home=/tmp/orvani-home
run_installed_program() {
    "${as_root[@]}" chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/bin:/bin HOME="$home" \
        XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
        /bin/sh -c '  # shellcheck disable=SC2016
        rm -rf "$HOME"; mkdir -p "$XDG_CONFIG_HOME"; mkdir -m 700 -p "$XDG_RUNTIME_DIR"
        orvani > "$HOME/output.txt" 2>&1 & pid=$!
        sleep 4
        if ! kill -0 $pid 2> /dev/null; then
            wait $pid; status=$?
            echo "orvani ended by itself within 4 s with status $status:"; cat "$HOME/output.txt"; exit 1
        fi
        kill -TERM $pid
        for i in 1 2 3 4 5 6 7 8 9 10; do kill -0 $pid 2> /dev/null || break; sleep 1; done
        if kill -0 $pid 2> /dev/null; then
            kill -KILL $pid; echo "orvani did not end within 10 s of SIGTERM"; exit 1
        fi
        wait $pid; status=$?
        echo "orvani ended after SIGTERM with status $status"; cat "$HOME/output.txt"
        [ $status -eq 0 ]'
}

# The command line's actions work in the fresh root and load none of the window's libraries.
run_installed_command_line() {
    local out libraries
    out=$("${as_root[@]}" chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 \
        orvani --format "dddd d mmmm yyyy" 2003-06-20) || return 1
    echo "orvani --format: $out"
    [ "$out" = "Friday 20 June 2003" ] || return 1
    libraries=$("${as_root[@]}" chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/bin:/bin LD_DEBUG=files \
        orvani --version 2>&1 | grep -o 'file=[^ ]*' | sort -u)
    if grep -E 'Qt6(Gui|Widgets|Network|Svg)|libX|libxcb|libGL' <<< "$libraries"; then
        echo "orvani --version loaded the window's libraries"
        return 1
    fi
}

# Every value the program reads must be in the settings file after its first run.
algemeen=(KleurAchtergrond KleurAchtergrondTitel KleurTitel KleurDagenDezeMaand KleurDagenAndereMaand
    SysteemLade GeminimaliseerdOpstarten Weeknummers Vandaag Lettertype Lettergrootte StatusTonen
    PositieMaand KopieerDatumFormaat HintSysteemLadeFormaat AlphaBlend Taal AantalMaanden
    PictogrammenOplichten TitelsKnoppen)
positie=(Breedte Hoogte Boven Links OpVoorgrond)
check_settings_file() {
    local file=$chroot_dir$home/config/KX/Orvani.reg
    if [ ! -f "$file" ]; then
        echo "Settings file $home/config/KX/Orvani.reg was not written."
        return 1
    fi
    # Lists "subkey/value" for every value, lower-case: registry names ignore case.
    local found
    found=$(awk '/^\[/ { key = tolower($0); sub(/\]$/, "", key); sub(/.*\\/, "", key) }
                 /^"/ { name = $0; sub(/^"/, "", name); sub(/"=.*/, "", name); print key "/" tolower(name) }' "$file")
    local missing=() name count=0
    for name in "${algemeen[@]/#/algemeen/}" "${positie[@]/#/positie/}"; do
        if grep -qxF "${name,,}" <<< "$found"; then count=$((count + 1)); else missing+=("$name"); fi
    done
    echo "Settings file holds $count of the $((${#algemeen[@]} + ${#positie[@]})) values."
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Missing: ${missing[*]}"
        echo "--- $home/config/KX/Orvani.reg"
        cat "$file"
        return 1
    fi
}

# The installed menu entry and icon, looked up the way a desktop does, on a virtual display.
menu_picture=$build/menu-entry.png
show_menu_entry() {
    rm -f "$menu_picture"
    # The icon theme's index comes with every desktop; a minimal root lacks it.
    "${as_root[@]}" chroot "$chroot_dir" /usr/bin/env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q -o Dpkg::Use-Pty=0 --no-install-recommends hicolor-icon-theme > /dev/null || return 1
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 640x480x24" "$build/desktop-preview" "$chroot_dir" orvani "$menu_picture" &&
        [ -s "$menu_picture" ] && echo "Menu entry and icon: $menu_picture"
}

if check "debootstrap bookworm (cached in $base_tar)" make_base &&
    check "apt-get install ./orvani.deb in a fresh bookworm root" install_in_fresh_root; then
    check "installed orvani starts headless and ends on SIGTERM" run_installed_program
    check "installed orvani --format works and loads no window library" run_installed_command_line
    check "settings file written with all 25 values" check_settings_file
    check "menu entry and icon on a virtual display" show_menu_entry
fi
unmount_proc

summary
echo "Package: $deb"
[ -f "$lint_log" ] && echo "Lintian report: $lint_log"
exit $failed
