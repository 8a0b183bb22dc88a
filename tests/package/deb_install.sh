# The Debian package from a build folder: cpack makes it, lintian finds nothing to
# object to (no error, no warning, with its pedantic tags on), apt-get installs it on
# this machine, both programs answer from /, and removing it leaves none of its files.
# deb_install.sh BUILD_DIR. Installing a package needs root: otherwise the test is
# skipped (status 77). A space-game installed before the test is left alone.
set -euo pipefail
build=$(cd "$1" && pwd)

skip() {
    echo "SKIP: $*"
    exit 77
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in apt-get cpack lintian; do
    command -v $tool >/dev/null || skip "$tool is missing"
done

# Other builds on this machine install the same package; one at a time.
exec 9>/tmp/space-game-package-test.lock
flock 9
! dpkg-query -W -f='${Status}' space-game 2>/dev/null | grep -q "install ok installed" ||
    skip "space-game is already installed here; not touching it"

scratch=$(mktemp -d)
installed=
clean_up() {
    [ -z "$installed" ] || apt-get purge -y -q space-game >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap clean_up EXIT

(cd "$build" && cpack -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1) || fail "cpack: $(cat "$scratch/cpack.log")"
version=$(sed -n 's/^inline constexpr std::string_view kProductVersion = "\(.*\)";$/\1/p' "$build/generated/app/build_info.h")
package="$scratch/space-game_${version}_$(dpkg --print-architecture).deb"
[ -f "$package" ] || fail "no $(basename "$package") in: $(ls "$scratch")"

depends=$(dpkg-deb -f "$package" Depends)
for library in libsdl2-2.0-0 libsdl2-mixer-2.0-0 zlib1g libcurl4 libc6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
[ -n "$(dpkg-deb -f "$package" Description)" ] || fail "no description"
files=$(dpkg-deb -c "$package" | awk '{print $6}')
for file in ./usr/games/space-game ./usr/games/space-game-editor ./usr/games/space-game-server \
    ./usr/share/space-game/data/visual/space.png \
    ./usr/share/space-game/data/model/Ship.mdata ./usr/share/applications/space-game.desktop \
    ./usr/share/applications/space-game-editor.desktop ./usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/space-game.png \
    ./usr/share/man/man6/space-game.6.gz ./usr/share/man/man6/space-game-editor.6.gz \
    ./usr/share/man/man6/space-game-server.6.gz ./usr/share/doc/space-game/examples/space-game-server.service \
    ./usr/share/metainfo/org.space_game.game.metainfo.xml ./usr/share/doc/space-game/{README.md,copyright,changelog.gz}; do
    grep -qx "$file" <<<"$files" || fail "the package lacks $file"
done
! grep -v '^\./usr/' <<<"$files" | grep -qv '^\./$' || fail "files outside /usr: $(grep -v '^\./usr/' <<<"$files")"
! grep -q '^\./usr/bin/' <<<"$files" || fail "a game's programs belong in /usr/games: $(grep '^\./usr/bin/' <<<"$files")"

# Errors and warnings fail; the informational tags are shown for whoever reads the log.
lintian -I -E --pedantic --fail-on error,warning "$package" >"$scratch/lintian.log" 2>&1 ||
    fail "lintian objects to $(basename "$package"):
$(cat "$scratch/lintian.log")"
cat "$scratch/lintian.log"

installed=yes
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 \
    "$package" >"$scratch/apt.log" 2>&1 || fail "apt-get install: $(cat "$scratch/apt.log")"
[ "$(cd / && /usr/games/space-game --version)" = "Space Game $version" ] ||
    fail "space-game --version: $(cd / && /usr/games/space-game --version)"
(cd / && /usr/games/space-game-editor --help) | grep -q "^Usage: space-game-editor " || fail "space-game-editor --help"
(cd / && /usr/games/space-game-server --help) | grep -q "^Usage: space-game-server " || fail "space-game-server --help"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -q -o DPkg::Lock::Timeout=300 space-game >"$scratch/apt.log" 2>&1 ||
    fail "apt-get purge: $(cat "$scratch/apt.log")"
installed=
# Folders such as /usr/share/applications belong to others too; the game's own must go.
for file in $files; do
    path=${file#.}
    if [ -d "$path" ]; then
        case "$path" in /usr/share/space-game* | /usr/share/doc/space-game*) fail "$path is left behind" ;; esac
    elif [ -e "$path" ]; then
        fail "$path is left behind"
    fi
done
echo "PASS: built, installed, ran and removed $(basename "$package")"
