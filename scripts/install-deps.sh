#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need. Idempotent: it
# only calls apt-get when a package is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev
  libyaml-cpp-dev zlib1g-dev libdeflate-dev libgtest-dev
  fonts-dejavu-core
  # The locale sources: the tests generate a decimal-comma locale (de_DE.UTF-8) with localedef.
  locales
  # The Debian package (dpkg-shlibdeps computes its dependencies, file finds its programs)
  # and its checks (the desktop entry and AppStream validators, strace).
  dpkg-dev file desktop-file-utils appstream strace
)
case "${1:-}" in
  --with-art | --with-ci)
    # The picture and document generator (Qt SVG for the scalable icon); CI runs its check.
    packages+=(pandoc python3 qt6-svg-dev)
    ;;&
  --with-ci)
    # CI checks the formatting as well.
    packages+=(clang-format)
    ;;
  --with-bench)
    # tools/bench/batch-compare.sh measures the calculator's peak memory with /usr/bin/time.
    packages+=(time)
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
