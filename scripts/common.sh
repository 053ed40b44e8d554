# Shared by the run and test scripts: install what is missing, then build.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"

# Paths in the compiler cache are relative to the checkout, so that another
# clone of the same sources (a CI run, a second worktree) builds from the cache.
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1

# Debian 12 packages the program, its tests and its tools need; the last row
# checks the desktop files, builds the Debian package and checks it.
PACKAGES=(g++ cmake ninja-build ccache pkg-config qt6-base-dev qt6-svg-dev libgl-dev libturbojpeg0-dev
          zlib1g-dev qt6-image-formats-plugins
          qtkeychain-qt6-dev libsecret-1-0 gnome-keyring
          libavcodec-dev libavformat-dev libswscale-dev libavutil-dev
          libssl3 libssl-dev ca-certificates
          fonts-dejavu-core dbus-daemon
          desktop-file-utils appstream dpkg-dev file lintian)

install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# Configures and builds into a folder (build/ unless given), with any further
# CMake options.
build_everything() {
    local folder=${1:-$BUILD}
    cmake -S "$ROOT" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}"
    cmake --build "$folder" --parallel "$(nproc)"
}
