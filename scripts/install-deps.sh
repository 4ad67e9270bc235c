#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need,
# only when one of them is missing. The second line is the desktop side: the
# icon rendered from its drawing, the Debian package and the validators of
# the desktop entry, the metadata and the file type.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools
          qt6-serialport-dev qt6-translations-l10n fonts-noto-cjk poppler-utils
          librsvg2-bin dpkg-dev desktop-file-utils appstream shared-mime-info
          "$@")   # what a caller needs besides, such as the fuzzing compiler
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
