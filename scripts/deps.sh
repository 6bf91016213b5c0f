# Installs the Debian packages the planner needs to build, test and run, when missing.
# Sourced by scripts/run and scripts/test.
kalmora_packages="cmake g++ make libxcb1-dev qt6-base-dev qt6-multimedia-dev libqt6svg6 libbenchmark-dev qt6-translations-l10n fonts-liberation python3 openssl ca-certificates tinyproxy clang-14 libclang-rt-14-dev xvfb openbox trayer xdotool x11-utils libical-dev pkg-config python3-icalendar qt6-charts-dev libqt6opengl6-dev dunst dbus-daemon dbus-bin libarchive-dev dpkg-dev lintian devscripts desktop-file-utils appstream file man-db xdg-desktop-portal xdg-desktop-portal-gtk gsettings-desktop-schemas libglib2.0-bin at-spi2-core python3-pyatspi qtkeychain-qt6-dev python3-radicale radicale xandikos python3-caldav gnome-keyring"

kalmora_install_deps() {
  local missing=""
  for p in $kalmora_packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  if [ -n "$missing" ]; then
    echo "Installing:$missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
  fi
}

kalmora_build() {
  local build_dir=$1; shift
  cmake -S "$KALMORA_SOURCE" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$build_dir" -j2
}
