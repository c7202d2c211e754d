#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping those already present.
set -euo pipefail

case "${1:-}" in
  --help | -h)
    cat <<'EOF'
usage: tools/install-deps.sh [EXTRA_PACKAGE ...]
       tools/install-deps.sh --help
Installs with apt-get the Debian packages the project needs that are missing, and the extra
packages named (sudo when not root).
EOF
    exit 0 ;;
  -*) echo "install-deps.sh: unknown option $1" >&2; exit 2 ;;
esac

packages=(build-essential cmake ninja-build pkg-config clang libclang-rt-dev locales
          libgtest-dev libgmock-dev libbenchmark-dev libtomlplusplus-dev qt6-base-dev
          fonts-wqy-microhei xvfb xauth "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale with a decimal comma, so that the tests check that numbers are formatted and read the
# same whatever the process locale says.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  echo "generating the locale de_DE.UTF-8"
  $sudo_cmd sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo_cmd tee -a /etc/locale.gen >/dev/null
  $sudo_cmd locale-gen >/dev/null
fi
