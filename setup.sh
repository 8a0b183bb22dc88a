#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need. Packages
# already present are left alone, so a second run changes nothing and asks nothing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config            # the build
    libsdl2-dev libsdl2-mixer-dev zlib1g-dev     # what the programs link
    libcurl4-openssl-dev                        # the game sending runs to a leaderboard
    libgtest-dev libbenchmark-dev libpng-dev     # tests, benchmarks, the reference PNG decoder
    libmpfr-dev                                 # the reference for the game's sine, cosine and arctangent
    libx11-dev xvfb xdotool imagemagick x11-apps # end-to-end tests of the real windows
    clang libclang-rt-14-dev                    # the fuzzers (libFuzzer)
    dpkg-dev file desktop-file-utils            # the Debian package (shlibdeps) and its desktop entries
    help2man man-db                             # the manual pages, made from --help and read with man -l
    lintian appstream                           # checks of the package and of its AppStream metadata
    x11-utils                                   # xprop: the window's icon in the end-to-end tests
    locales                                     # a decimal-comma locale for the model file tests
    libsqlite3-dev libpqxx-dev libssl-dev postgresql # the leaderboard's run storage; a PostgreSQL cluster for its tests
    libcpp-httplib-dev nlohmann-json3-dev curl jq # the leaderboard server's HTTP and JSON; its end-to-end test
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The model file tests write and read numbers under a locale whose decimal mark is a comma.
if ! locale -a | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the locale de_DE.UTF-8"
    "${as_root[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
