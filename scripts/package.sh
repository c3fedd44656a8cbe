#!/usr/bin/env bash
# Builds the Debian package, build-package/tavek_<version>_<arch>.deb, the way
# Debian builds its own: the programs only (no tests), with the distribution's
# build flags and all of its hardening (stack protector, _FORTIFY_SOURCE,
# format-string errors, RELRO and BIND_NOW; gcc makes position-independent
# executables by default).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top" # dpkg-buildflags maps the folder it runs in to "." in the binaries
"$top/scripts/setup-debian.sh"

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# The package is stripped, so compiling debug information would only make
# the build longer.
export DEB_CXXFLAGS_MAINT_STRIP=-g DEB_CFLAGS_MAINT_STRIP=-g
eval "$(dpkg-buildflags --export=sh)"
# CMake reads the flags from the environment only when a folder is first
# configured, and knows no CPPFLAGS: all of them go in as cache variables.
cmake --preset package \
    -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" \
    -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" \
    -DCMAKE_SHARED_LINKER_FLAGS="$LDFLAGS" \
    -DCMAKE_MODULE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build --preset package -j"$(nproc)"

rm -f build-package/tavek_*.deb
(cd build-package && cpack -G DEB >cpack.log) || {
    cat build-package/cpack.log >&2
    exit 1
}
ls "$top"/build-package/tavek_*.deb
