# Debian packages, by what needs them. Sourced by the other scripts.
# shellcheck disable=SC2034
build_packages=(g++ cmake ninja-build pkg-config libsdl2-dev)
test_packages=(libgtest-dev libbenchmark-dev clang-format xvfb xauth libx11-dev libxtst-dev)
