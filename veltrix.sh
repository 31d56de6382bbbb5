#!/usr/bin/env bash
# ./veltrix.sh run   installs what is missing, builds and starts the editor
# ./veltrix.sh test  installs what is missing, builds and runs every test
# ./veltrix.sh package  installs what is missing, builds the Debian package build/veltrix_*.deb
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake make g++ pkgconf qt6-base-dev libx11-dev libhunspell-dev libgtest-dev libgmock-dev fonts-dejavu-core
          adwaita-icon-theme libxkbcommon-dev libglib2.0-dev libibus-1.0-dev)
# fonts-liberation2: the metric stand-ins for the Windows fonts, as the package recommends;
# hunspell-ru, hunspell-en-us: the dictionaries spell checking is tested with, recommended too.
test_packages=(clang libclang-rt-14-dev libreoffice-writer-nogui abiword pandoc fonts-liberation2 hunspell-ru
               hunspell-en-us)
# The checkers the test command runs on the Debian package it makes.
test_packages+=(lintian appstream man-db)
# The end-to-end scenarios: a private X server and window manager, the session
# and accessibility buses, XTest input, both kinds of tray, a screen reader's view;
# and a headless Wayland compositor with virtual-keyboard input and clipboard
# clients, with Qt's Wayland platform; an IBus daemon, whose engine list lives in dconf.
e2e_packages=(xvfb openbox dbus at-spi2-core python3 python3-pyatspi python3-dbus python3-gi gir1.2-atspi-2.0
              xdotool x11-utils x11-apps x11-xkb-utils trayer qt6-gtk-platformtheme gsettings-desktop-schemas
              sway wtype wl-clipboard qt6-wayland ibus
              dconf-gsettings-backend)

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() { # build-dir cmake-options...
    local dir=$1
    shift
    # Configuring every time picks up changed options; a cache left half-made by
    # an interrupted or failed first run is removed and the step tried once more.
    if ! cmake -S . -B "$dir" "$@"; then
        echo "Configuring $dir failed; retrying with a fresh cache" >&2
        rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
        cmake -S . -B "$dir" "$@"
    fi
    cmake --build "$dir" -j"$(nproc)"
}

# The Debian package of the release build in build/; dpkg-shlibdeps (dpkg-dev)
# reads its library dependencies from the program.
make_package() {
    install_missing dpkg-dev
    (cd build && cpack -G DEB)
}

case "${1:-}" in
run)
    install_missing "${packages[@]}"
    build build -DBUILD_TESTING=OFF
    exec build/veltrix
    ;;
test)
    install_missing "${packages[@]}" "${test_packages[@]}" "${e2e_packages[@]}"
    build build-test -DBUILD_TESTING=ON -DVELTRIX_SANITIZE=ON -DVELTRIX_WERROR=ON
    (cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure)
    # The program as a user starts it (the release build), on a real desktop.
    build build -DBUILD_TESTING=OFF
    make_package
    tests/package/check_package.sh
    /usr/bin/python3 tests/e2e/run.py build/veltrix
    /usr/bin/python3 tests/e2e/run.py --wayland build/veltrix
    # The readers of outside input under libFuzzer, for a bounded time each.
    build build-fuzz -DVELTRIX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
    (cd build-fuzz && ctest --output-on-failure)
    ;;
package)
    install_missing "${packages[@]}"
    build build -DBUILD_TESTING=OFF
    make_package
    ;;
*)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
