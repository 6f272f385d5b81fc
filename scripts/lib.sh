# Shared by the scripts in this folder; sourced, never run on its own.
#
# Settings taken from the environment:
#   ZR5_BUILD_DIR   build folder (default: <repository>/build)
#   ZR5_BUILD_TYPE  CMake build type of a fresh build folder (default: RelWithDebInfo)
#   ZR5_JOBS        parallel build jobs (default: number of cores)
#   ZR5_GENERATOR   CMake generator of a fresh build folder (default: Ninja)

ZR5_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZR5_BUILD_DIR=${ZR5_BUILD_DIR:-$ZR5_ROOT/build}
ZR5_BUILD_TYPE=${ZR5_BUILD_TYPE:-RelWithDebInfo}
ZR5_JOBS=${ZR5_JOBS:-$(nproc 2>/dev/null || echo 2)}
ZR5_GENERATOR=${ZR5_GENERATOR:-Ninja}
ZR5_BIN_DIR=$ZR5_BUILD_DIR/bin

# Debian packages the build, the tests and the tools around them need.
#   ninja-build: a build with nothing to do takes a tenth of a second with
#   Ninja, against several seconds of Make re-running every target's moc step.
#   qt6-base-dev pulls the GL and Vulkan headers that Qt6Gui's CMake package
#   looks for; libgl-dev is named anyway because a missing OpenGL::GL is the
#   usual reason find_package(Qt6 Gui) fails.
#   xvfb and xauth run the window without a display (xvfb-run), and the fonts
#   give it readable text there.
#   avrdude is the external tool that controller updates and production runs start.
ZR5_PACKAGES=(
    cmake g++ make ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    xvfb xauth fonts-dejavu-core
    avrdude
)

# Prints the comment block at the top of a script (its usage).
zr5_usage() { awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$1"; }

zr5_say() { printf '==> %s\n' "$*" >&2; }
zr5_die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Prints the packages of ZR5_PACKAGES that are not installed, one a line.
zr5_missing_packages() {
    local installed
    installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${ZR5_PACKAGES[@]}" 2>/dev/null \
                | awk '$2 == "installed" { print $1 }')
    local p
    for p in "${ZR5_PACKAGES[@]}"; do
        grep -qxF "$p" <<<"$installed" || printf '%s\n' "$p"
    done
}

zr5_install_packages() {
    command -v dpkg-query >/dev/null 2>&1 || zr5_die "dpkg-query not found: these scripts expect Debian 12 or a relative"
    local missing
    mapfile -t missing < <(zr5_missing_packages)
    [ "${#missing[@]}" -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            # -n: never wait for a password on a machine without a terminal (CI).
            if [ -t 0 ]; then sudo=(sudo); else sudo=(sudo -n); fi
        else
            zr5_die "missing packages (${missing[*]}) and no sudo; install them as root: apt-get install ${missing[*]}"
        fi
    fi
    zr5_say "installing missing packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq \
        || zr5_die "apt-get update failed"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends -o Dpkg::Use-Pty=0 "${missing[@]}" >/dev/null \
        || zr5_die "apt-get install failed for: ${missing[*]}"
    mapfile -t missing < <(zr5_missing_packages)
    [ "${#missing[@]}" -eq 0 ] || zr5_die "still missing after apt-get install: ${missing[*]}"
}

# Configures the build folder unless it already holds a usable configuration;
# after that, 'cmake --build' re-runs CMake by itself whenever a CMakeLists.txt
# changes, so an unchanged tree costs no configure step.
zr5_configure() {
    if [ -f "$ZR5_BUILD_DIR/CMakeCache.txt" ] \
       && { [ -f "$ZR5_BUILD_DIR/Makefile" ] || [ -f "$ZR5_BUILD_DIR/build.ninja" ]; }; then
        return 0
    fi
    # A folder configured before keeps its generator (CMake refuses to change
    # it); only a new one gets ZR5_GENERATOR.
    local generator=()
    if [ ! -f "$ZR5_BUILD_DIR/CMakeCache.txt" ]; then
        generator=(-G "$ZR5_GENERATOR")
    fi
    zr5_say "configuring $ZR5_BUILD_DIR ($ZR5_BUILD_TYPE${generator:+, $ZR5_GENERATOR})"
    cmake -S "$ZR5_ROOT" -B "$ZR5_BUILD_DIR" "${generator[@]}" \
        -DCMAKE_BUILD_TYPE="$ZR5_BUILD_TYPE" >/dev/null \
        || zr5_die "CMake configuration failed (run: cmake -S $ZR5_ROOT -B $ZR5_BUILD_DIR)"
}

# zr5_build [TARGET...]: builds the given targets, or everything. The compiler
# output goes to a log that is shown when the build fails; in CI (CI=true) or
# with ZR5_VERBOSE=1 it is shown as it comes.
zr5_build() {
    local targets=()
    local t
    for t in "$@"; do targets+=(--target "$t"); done
    zr5_say "building ${*:-everything} in $ZR5_BUILD_DIR ($ZR5_JOBS jobs)"
    local log=$ZR5_BUILD_DIR/last-build.log
    if [ "${CI:-}" = true ] || [ "${ZR5_VERBOSE:-0}" = 1 ]; then
        cmake --build "$ZR5_BUILD_DIR" --parallel "$ZR5_JOBS" "${targets[@]}" \
            || zr5_die "build failed"
    elif ! cmake --build "$ZR5_BUILD_DIR" --parallel "$ZR5_JOBS" "${targets[@]}" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        zr5_die "build failed (full log: $log)"
    fi
}

# zr5_setup [TARGET...]: packages, configuration and build in one step.
zr5_setup() {
    zr5_install_packages
    zr5_configure
    zr5_build "$@"
}
