#!/usr/bin/env bash
# Builds the game for 64-bit ARM (arm64) on an x86-64 Debian machine and proves it
# there: the unit tests, every golden demo and the pinned runner hashes run under
# qemu and must give the bits the x86-64 build gives, as must the long runs of
# tests/data/long_runs.txt (runner_level_*_long_*, a quarter of an hour to an hour each there). Last,
# cpack makes the arm64 Debian package, its dependencies read from the arm64 libraries.
# Sets up what it needs (the arm64 architecture, the cross compiler, qemu and the
# :arm64 libraries) and leaves what is already there alone.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)

packages=(
    crossbuild-essential-arm64 qemu-user        # the compiler, and a way to run what it makes
    libsdl2-dev:arm64 libsdl2-mixer-dev:arm64 zlib1g-dev:arm64 libcurl4-openssl-dev:arm64
    libgtest-dev:arm64 libbenchmark-dev:arm64 libpng-dev:arm64 libmpfr-dev:arm64
    libsqlite3-dev:arm64 libpq5:arm64 libssl-dev:arm64 # the leaderboard's run storage (libpqxx: below)
    libcpp-httplib-dev:arm64 # the leaderboard server's HTTP (its JSON library is headers for every machine)
    libjack-dev:arm64 # SDL2_mixer's headers pull in a JACK one: the one the host has, not a rival
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    dpkg --print-foreign-architectures | grep -qx arm64 || "${as_root[@]}" dpkg --add-architecture arm64
    echo "Installing: ${missing[*]}"
    "${apt[@]}" update -q
    "${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"
fi

# libpqxx's arm64 development files cannot be installed beside the host's: apt would
# remove the host's libpqxx-dev and libpq-dev. They are unpacked into a folder of the
# build's own instead, laid out as libpqxx-6.4's package build tree (its DEBIAN holds
# that package's symbols file, from which cpack's dpkg-shlibdeps reads the dependency).
private=$PWD/build/arm64-private
if [ ! -e "$private/DEBIAN/symbols" ]; then
    debs=$private-debs
    rm -rf "$debs" && mkdir -p "$debs"
    # libpq's headers are those of the libpq5:arm64 installed above.
    (cd "$debs" && apt-get download -q libpqxx-dev:arm64 libpqxx-6.4:arm64 \
        "libpq-dev:arm64=$(dpkg-query -W -f='${Version}' libpq5:arm64)")
    rm -rf "$private" && mkdir -p "$private"
    for deb in "$debs"/*.deb; do dpkg-deb -x "$deb" "$private"; done
    # Their pkg-config files name /usr, where the host's are.
    sed -i "s|/usr|$private/usr|g" "$private"/usr/lib/aarch64-linux-gnu/pkgconfig/*.pc
    dpkg-deb -e "$debs"/libpqxx-6.4_*.deb "$private/DEBIAN" # last: it marks the folder complete
    rm -rf "$debs"
fi

build=build/arm64
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake \
      -DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS=ON -DARM64_PRIVATE_ROOT="$private"
cmake --build "$build"

# Under qemu everything runs many times slower. The unit tests run one process each
# under ctest, every one with a time limit, so a test that hangs fails with its name
# instead of stalling the run. The golden demos are replayed by the runner too, whose
# exit status says whether each ended as recorded.
ctest --test-dir "$build" --output-on-failure -j 2 -L '^(unit|postgresql)$' --timeout 900
run=(qemu-aarch64 -L /usr/aarch64-linux-gnu)
for demo in tests/data/demos/*.demo; do
    "${run[@]}" "$build/runner" --replay "$demo" >/dev/null || { echo "arm64: $demo does not replay as recorded" >&2; exit 1; }
done
echo "arm64: every golden demo replays as recorded"
ctest --test-dir "$build" --output-on-failure -j 2 -R '^runner_level_'

# dpkg-shlibdeps reads the target's architecture from here to find the arm64
# libraries and their symbol files.
(cd "$build" && DEB_HOST_ARCH=arm64 cpack -G DEB)
deb=$(ls "$build"/space-game_*_arm64.deb)
# A library that dpkg-shlibdeps finds without its package's symbols or shlibs costs the
# package that dependency without a word: libpqxx, unpacked beside the build, could be one.
dpkg-deb -f "$deb" Depends | grep -q 'libpqxx-6\.4 ' || { echo "arm64: $deb does not depend on libpqxx" >&2; exit 1; }
echo "arm64: made $deb"
