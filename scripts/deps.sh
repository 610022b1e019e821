#!/bin/bash
# Installs the Debian packages the build, the tests and the editor need, when missing.
set -euo pipefail
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
          qt6-translations-l10n libx11-dev fonts-ipafont-gothic libsdl2-mixer-dev libdeflate-dev qt6-declarative-dev
          timgm6mb-soundfont xvfb xauth xdotool imagemagick ccache clang-14 clang-format-14 libclang-rt-14-dev
          shared-mime-info desktop-file-utils xdg-utils libfile-mimeinfo-perl)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
