# What the package carries besides the programs, as the build makes it, checked
# without installing anything: the AppStream metadata passes appstreamcli's pedantic
# validation, and each manual page shows every option its program's --help lists.
# package_files.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

metainfo=$(echo "$build"/package/*.metainfo.xml)
[ -f "$metainfo" ] || fail "no AppStream metadata in $build/package"
# --no-net: the screenshots' addresses are checked for their form, not fetched.
appstreamcli validate --pedantic --no-net "$metainfo" || fail "appstreamcli validate --pedantic $metainfo"

for program in game:space-game:6 editor:space-game-editor:6 server:space-game-server:1; do
    IFS=: read -r target name section <<<"$program"
    binary=$build/$target
    page=$build/package/man/$name.$section.gz
    # Wide and in plain ASCII, so that no option is broken over two lines or shown
    # with a typographic dash.
    manual=$(LC_ALL=C MANWIDTH=300 man -l "$page" 2>&1) || fail "man -l $page: $manual"
    options=$("$binary" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
    [ -n "$options" ] || fail "$binary --help lists no option"
    for option in $options; do
        grep -q -- "$option\\b" <<<"$manual" || fail "the manual page of $name lacks $option"
    done
    for heading in ENVIRONMENT FILES "EXIT STATUS"; do
        grep -q "^$heading" <<<"$manual" || fail "the manual page of $name has no $heading section"
    done
done
echo "PASS: AppStream metadata valid; each manual page shows every option of --help"
