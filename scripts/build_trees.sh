# Sourced by the scripts here: configures the build trees they share, the same way everywhere.
# Expects $root (the checkout). ccache is used when it is installed.

cache=()
if command -v ccache >/dev/null 2>&1; then
  cache=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# The host tree the unit tests run in: debug, with ASan and UBSan.
configure_host_tree() {
  cmake -S "$root" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVESSA_SANITIZE=ON "${cache[@]}" >/dev/null
}

# The Windows tree, cross-compiled with MinGW-w64 (its release/vessa.exe is the packaged one).
configure_windows_tree() {
  cmake -S "$root" -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cache[@]}" >/dev/null
}
