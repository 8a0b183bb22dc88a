#!/usr/bin/env bash
# Sets up what the browser build needs, beside what setup.sh installs: Debian's
# emscripten (its system libraries come prebuilt, so nothing is downloaded at build
# time), node for the runner, Chromium for the page tests, and zlib compiled to
# WebAssembly from Debian's own source package into build/web-zlib. A second run
# changes nothing. The source entry that fetching zlib needs is added in a file of its
# own and removed again, so the machine's package sources are left as they were.
#   tools/web/setup.sh [ZLIB_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/../.."
zlib_folder=$(realpath -m "${1:-build/web-zlib}")

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -q)

packages=(emscripten nodejs chromium dpkg-dev python3)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${apt[@]}" update
    "${apt[@]}" install -y --no-install-recommends "${missing[@]}"
fi

[ -f "$zlib_folder/lib/libz.a" ] && exit 0

# The machine's own Debian entries, as source entries: the same mirrors and keys.
source_entry=/etc/apt/sources.list.d/space-game-zlib-source.sources
one_line_entry=/etc/apt/sources.list.d/space-game-zlib-source.list
remove_entries() { "${as_root[@]}" rm -f "$source_entry" "$one_line_entry"; }
trap remove_entries EXIT
for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && [ "$file" != "$source_entry" ] && sed 's/^Types: deb$/Types: deb-src/' "$file"
    echo
done | "${as_root[@]}" tee "$source_entry" >/dev/null
{ cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } | sed -n 's/^deb \(.*\)$/deb-src \1/p' |
    "${as_root[@]}" tee "$one_line_entry" >/dev/null
"${apt[@]}" update

work=$(mktemp -d)
trap 'remove_entries; rm -rf "$work"' EXIT
chmod a+rwx "$work" # apt's own user downloads into it
# Newest first; a mirror may not serve every version it lists (a security update's
# sources, say), so the others are tried in turn.
fetched=""
for version in $(apt-cache showsrc zlib | sed -n 's/^Version: //p' | sort -ruV); do
    if (cd "$work" && apt-get -q source --download-only "zlib=$version"); then
        fetched=$version
        break
    fi
done
[ -n "$fetched" ] || { echo "could not fetch zlib's source package" >&2; exit 1; }
(cd "$work" && dpkg-source -x zlib_*.dsc zlib >/dev/null)
remove_entries

echo "Building zlib for WebAssembly into $zlib_folder"
export NODE_PATH=/usr/share/nodejs
(
    cd "$work/zlib"
    CFLAGS="-O2" emconfigure ./configure --static --prefix="$zlib_folder" >/dev/null
    emmake make -j2 libz.a >/dev/null
    mkdir -p "$zlib_folder/lib" "$zlib_folder/include"
    cp zlib.h zconf.h "$zlib_folder/include/"
    cp libz.a "$zlib_folder/lib/"
)
