# The 32-bit run: the i686 build's tests under i386 Wine. Source it after
# scripts/common.sh; do not run it.
#
# This machine's kernel runs no 32-bit code, so i386 Wine runs under qemu
# user-mode emulation (binfmt_misc), inside a Debian chroot of its own: wine32
# on the host itself would send the host's 64-bit runs through the slow 32-bit
# loader and can remove wine64 over a library clash. The chroot is amd64 with
# the i386 architecture added, so only the 32-bit processes are emulated.
#
# What is shared with the host: /dev (the null-modem ptys that socat makes on
# the host are the same /dev/pts nodes inside), the X server's socket, and the
# worktree, bind-mounted at its own path so every path (executables, prefix,
# results, cable state) reads the same on both sides.
#
#   TV_I686_ROOT   state folder (default /var/tmp/tv-i686): the chroot, logs, a
#                  lock; the chroot is built once and reused while it exists

TV_I686_ROOT=${TV_I686_ROOT:-/var/tmp/tv-i686}
TV_I686_CHROOT=$TV_I686_ROOT/chroot
# Bump when the package list changes, so an older chroot is completed.
TV_I686_PACKAGES="wine wine64 wine32:i386 wine32-preloader:i386 gcc gcc-multilib"
TV_I686_WINEPREFIX=$TV_BUILD/wineprefix-x86
TV_I686_MOUNTS=()

# The 32-bit run takes these test programs (a CTest regex; TV_I686_TESTS
# overrides it): all of them.
TV_I686_DEFAULT_TESTS='.'

# With qemu 10 (see tv_i686_binfmt) every e2e and serial case runs in 32-bit
# but one: Typing.LongStreamLosesNothing types 5000 keys, which takes about
# three minutes under emulation (~27 keys/s), past its two-minute limit; the
# keys were still arriving when it gave up, so it is too slow here, not lossy.
# In errors, FatalPath.InstalledExceptionFilterReportsACrash writes through a
# null pointer on purpose; under qemu 32-bit Wine reports that fault as an
# illegal instruction (c000001d) instead of an access violation, so the
# report's first line differs from the one the case expects.
# A case that fails here for any other reason fails the run.
# Programs whose 32-bit cases run one process each (see wine-test.sh), so that
# one crash of the emulated Wine costs one case: none at present (qemu 7.2
# needed it for serial, where a late overlapped completion took down the
# next case).
tv_i686_isolated() { false; }

tv_i686_filter() {
  case $1 in
    e2e_tests) printf '%s' '-Typing.LongStreamLosesNothing' ;;
    errors_tests) printf '%s' '-FatalPath.InstalledExceptionFilterReportsACrash' ;;
  esac
}

# Host side: qemu-i386 registered with binfmt_misc. Debian registers no i386
# handler on amd64; the F flag opens the interpreter now, so it also works
# inside the chroot, where the host's qemu binary does not exist.
#
# qemu 7.2 (Debian 12's own) kills the emulated 32-bit Wine ("uncaught
# target signal 11") as soon as a comm event completes, i.e. whenever bytes
# arrive on a port; 10.0 runs those cases. On Debian 12 it comes from
# bookworm-backports, taken for this package alone (-t; the suite is
# NotAutomatic, so nothing else on the host moves to it).
TV_I686_QEMU=/usr/bin/qemu-i386
TV_I686_QEMU_MAJOR=10
TV_I686_BINFMT=/proc/sys/fs/binfmt_misc/qemu-i386

tv_i686_qemu_ok() {
  local v
  v=$("$TV_I686_QEMU" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p')
  [ -n "$v" ] && [ "$v" -ge "$TV_I686_QEMU_MAJOR" ]
}

tv_i686_install_qemu() {
  local codename target=()
  codename=$(. /etc/os-release 2>/dev/null && printf '%s' "${VERSION_CODENAME:-}")
  if [ "$codename" = bookworm ]; then
    target=(-t bookworm-backports)
    grep -rqs '^[^#]*bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/ ||
      printf 'deb %s bookworm-backports main\n' "$(tv_i686_mirror)" |
      tv_sudo tee /etc/apt/sources.list.d/tv-bookworm-backports.list >/dev/null || return 1
  fi
  tv_log "installing qemu-user-static ${target[*]}"
  tv_sudo apt-get update -qq || true  # a broken secondary index need not stop us
  DEBIAN_FRONTEND=noninteractive tv_sudo apt-get install -y -qq --no-install-recommends "${target[@]}" \
    qemu-user-static >/dev/null || return 1
  tv_i686_qemu_ok || { tv_log "$TV_I686_QEMU is older than $TV_I686_QEMU_MAJOR.0"; return 1; }
}

tv_i686_binfmt() {
  if ! command -v debootstrap >/dev/null; then
    tv_log "installing debootstrap"
    tv_sudo apt-get update -qq || true
    DEBIAN_FRONTEND=noninteractive tv_sudo apt-get install -y -qq --no-install-recommends \
      debootstrap >/dev/null || return 1
  fi
  tv_i686_qemu_ok || tv_i686_install_qemu || return 1
  mountpoint -q /proc/sys/fs/binfmt_misc ||
    tv_sudo mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || return 1
  # A registration of another interpreter (an older qemu, or one without F)
  # is replaced: with F the kernel keeps the file it opened then.
  if [ -e "$TV_I686_BINFMT" ] && { ! grep -qx "interpreter $TV_I686_QEMU" "$TV_I686_BINFMT" ||
    ! grep -q '^flags:.*F' "$TV_I686_BINFMT"; }; then
    tv_log "replacing the qemu-i386 binfmt registration ($(sed -n 's/^interpreter //p' "$TV_I686_BINFMT"))"
    echo -1 | tv_sudo tee "$TV_I686_BINFMT" >/dev/null || return 1
  fi
  if [ ! -e "$TV_I686_BINFMT" ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$TV_I686_QEMU"':F' |
      tv_sudo tee /proc/sys/fs/binfmt_misc/register >/dev/null || return 1
  fi
  grep -q '^flags:.*F' "$TV_I686_BINFMT" || {
    tv_log "qemu-i386 is registered without the F flag: it will not run inside a chroot"
    return 1
  }
}

# One run at a time inside the chroot (its /tmp, its mounts): a run from
# another worktree waits here. Everything that mounts or unmounts holds it.
tv_i686_lock() {
  [ -n "${TV_I686_LOCK:-}" ] && return 0
  exec {TV_I686_LOCK}>"$TV_I686_ROOT/lock" || return 1
  if ! flock -w 3600 "$TV_I686_LOCK"; then
    tv_log "the i686 chroot stayed busy for an hour"
    exec {TV_I686_LOCK}>&-
    TV_I686_LOCK=
    return 1
  fi
}
tv_i686_unlock() {
  [ -n "${TV_I686_LOCK:-}" ] && exec {TV_I686_LOCK}>&-
  TV_I686_LOCK=
  return 0
}

# Mounts left over from a run that was killed outright, deepest first.
tv_i686_stale_mounts() {
  awk -v c="$TV_I686_CHROOT" '$2 == c || index($2, c "/") == 1 {print $2}' /proc/mounts | sort -r
}

tv_i686_umount_all() {
  local m
  for m in "${TV_I686_MOUNTS[@]}"; do tv_sudo umount -l "$m" 2>/dev/null; done
  TV_I686_MOUNTS=()
  for m in $(tv_i686_stale_mounts); do tv_sudo umount -l "$m" 2>/dev/null; done
  return 0
}

# tv_i686_mount <path inside the chroot> <mount arguments...>
tv_i686_mount() {
  local target=$TV_I686_CHROOT$1
  shift
  tv_sudo mkdir -p "$target" || return 1
  tv_sudo mount "$@" "$target" || return 1
  TV_I686_MOUNTS=("$target" "${TV_I686_MOUNTS[@]}")
}

tv_i686_mount_system() {
  tv_i686_mount /proc -t proc proc &&
    tv_i686_mount /sys -t sysfs sys &&
    tv_i686_mount /dev --rbind /dev &&
    # A slave copy: on a host with shared mounts, unmounting the chroot's
    # /dev/pts would otherwise unmount the host's own.
    tv_sudo mount --make-rslave "$TV_I686_CHROOT/dev" &&
    tv_i686_mount /tmp -t tmpfs tmpfs
}

# The Debian archive this host's apt already uses (its first non-security one).
tv_i686_mirror() {
  local m
  m=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk '/^deb / && $2 !~ /security/ {print $2; exit}')
  [ -n "$m" ] || m=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
    awk '/^URIs:/ && $2 !~ /security/ {print $2; exit}')
  printf '%s' "${m:-http://deb.debian.org/debian}"
}

# The chroot with 64-bit and 32-bit Wine and the preloader, made once.
# wine32-preloader is what makes this usable: without it every 32-bit Wine
# process takes ~50 s to start under qemu, with it ~0.35 s.
tv_i686_chroot() {
  local c=$TV_I686_CHROOT mirror
  if [ -f "$c/.tv-ready" ] && [ "$(cat "$c/.tv-ready")" = "$TV_I686_PACKAGES" ]; then return 0; fi
  mirror=$(tv_i686_mirror)
  if [ ! -x "$c/usr/bin/apt-get" ]; then
    tv_log "making the i686 chroot in $c (once; a few minutes)"
    # Never delete through a mount that a killed run left behind.
    [ -z "$(tv_i686_stale_mounts)" ] || { tv_log "mounts remain under $c"; return 1; }
    tv_sudo rm -rf --one-file-system "$c"
    tv_sudo mkdir -p "$c"
    tv_sudo debootstrap --variant=minbase bookworm "$c" "$mirror" >"$TV_I686_ROOT/debootstrap.log" 2>&1 || {
      tv_log "debootstrap failed, see $TV_I686_ROOT/debootstrap.log"
      return 1
    }
  fi
  # No security suite: its i386 index can lag amd64, and multiarch packages
  # need the same version on both sides.
  printf 'deb %s bookworm main\ndeb %s bookworm-updates main\n' "$mirror" "$mirror" |
    tv_sudo tee "$c/etc/apt/sources.list" >/dev/null
  tv_sudo cp /etc/resolv.conf "$c/etc/resolv.conf" 2>/dev/null
  tv_log "installing Wine (64 and 32-bit) in the i686 chroot"
  tv_i686_mount_system || return 1
  tv_sudo chroot "$c" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive sh -c "
    dpkg --add-architecture i386 && apt-get update -q &&
    apt-get install -y -q --no-install-recommends $TV_I686_PACKAGES && apt-get clean" \
    >"$TV_I686_ROOT/chroot-apt.log" 2>&1
  local rc=$?
  tv_i686_umount_all
  [ $rc = 0 ] || { tv_log "package installation failed, see $TV_I686_ROOT/chroot-apt.log"; return 1; }
  printf '%s\n' "$TV_I686_PACKAGES" | tv_sudo tee "$c/.tv-ready" >/dev/null
}

# Everything up to a usable chroot: host packages, binfmt, the chroot itself.
tv_i686_prepare() {
  tv_sudo mkdir -p "$TV_I686_ROOT" || return 1
  tv_i686_binfmt || return 1
  tv_i686_lock || return 1
  tv_i686_chroot
  local rc=$?
  tv_i686_unlock
  return $rc
}

# Runs a command inside the chroot with the run's Wine environment (and
# nothing else of the host's). Extra VAR=value words may come first. With
# TV_I686_TIMEOUT set, the command is killed after that many seconds.
tv_i686_env() {
  tv_sudo ${TV_I686_TIMEOUT:+timeout -k 10 "$TV_I686_TIMEOUT"} chroot "$TV_I686_CHROOT" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 \
    DISPLAY="${DISPLAY:-}" WINEPREFIX="$TV_I686_WINEPREFIX" WINEARCH=win64 WINEDEBUG="$WINEDEBUG" \
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES" "$@"
}
# The 64-bit reg: Wine's own settings are read from the 64-bit view.
tv_i686_reg() { tv_i686_env /usr/lib/wine/wine64 reg add "$@" /f >/dev/null 2>&1; }

# The TIOCMGET shim for the chroot's Wine, one build per word size: a preload
# names it through $LIB, which the loader of each process expands to its own
# library folder, so 64-bit Wine helpers are not told about a 32-bit library.
tv_i686_shim() {
  local src=$TV_ROOT/tests/host/tiocmget_shim.c dir=$TV_BUILD/host/i686 lib flag
  for lib in i386-linux-gnu:-m32 x86_64-linux-gnu:-m64; do
    flag=${lib#*:} lib=${lib%%:*}
    [ -f "$dir/lib/$lib/tiocmget_shim.so" ] && [ "$dir/lib/$lib/tiocmget_shim.so" -nt "$src" ] && continue
    mkdir -p "$dir/lib/$lib"
    tv_i686_env gcc "$flag" -shared -fPIC -O2 -Wall -Wextra -o "$dir/lib/$lib/tiocmget_shim.so" "$src" -ldl ||
      return 1
  done
  printf '%s/$LIB/tiocmget_shim.so' "$dir"
}

# A 64-bit (WoW64) prefix of the chroot's Wine: a pure 32-bit prefix makes
# winedevice.exe crash under qemu. Same settings as the host's test prefix.
tv_i686_prefix() {
  local p=$TV_I686_WINEPREFIX
  if [ ! -f "$p/.tv-ready" ]; then
    tv_log "creating the i686 Wine prefix $p"
    rm -rf "$p"
    mkdir -p "$p"
    tv_i686_env timeout 900 wineboot -i >"$TV_I686_ROOT/wineboot.log" 2>&1 || return 1
    tv_i686_env wineserver -w
    tv_i686_reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
    tv_i686_reg 'HKLM\Software\Wine\Drives' /v 'n:' /t REG_SZ /d network
    tv_i686_env wineserver -k 2>/dev/null
    tv_i686_env wineserver -w
    touch "$p/.tv-ready"
  fi
  local share=$TV_BUILD/network-share-x86
  mkdir -p "$share"
  cp -f "$TV_BUILD/x86/bin/TV-SERKEY.exe" "$share/"
  ln -sfn "$share" "$p/dosdevices/n:"
}

# Takes the lock, mounts the run's folders, builds the shim, readies the
# prefix and starts one wineserver. Pair with tv_i686_stop on every way out.
tv_i686_start() {
  tv_i686_lock || return 1
  tv_i686_umount_all
  tv_i686_mount_system || return 1
  tv_i686_mount "$TV_ROOT" --bind "$TV_ROOT" || return 1
  case $TV_BUILD/ in "$TV_ROOT"/*) ;; *) tv_i686_mount "$TV_BUILD" --bind "$TV_BUILD" || return 1 ;; esac
  if [ -d /tmp/.X11-unix ]; then tv_i686_mount /tmp/.X11-unix --bind /tmp/.X11-unix || return 1; fi
  TV_I686_PRELOAD=$(tv_i686_shim) || { tv_log "the i686 TIOCMGET shim failed to build"; return 1; }
  export TV_I686_PRELOAD
  tv_i686_prefix || { tv_log "the i686 Wine prefix failed, see $TV_I686_ROOT/wineboot.log"; return 1; }
  tv_i686_env wineserver -p >/dev/null 2>&1
  tv_i686_env wine cmd /c exit >/dev/null 2>&1
  return 0
}

tv_i686_stop() {
  # Without the lock the mounts are another run's: leave them alone.
  [ -n "${TV_I686_LOCK:-}" ] || return 0
  if [ ${#TV_I686_MOUNTS[@]} -gt 0 ]; then
    tv_i686_env wineserver -k >/dev/null 2>&1
    tv_i686_env wineserver -w >/dev/null 2>&1
  fi
  tv_i686_umount_all
  tv_i686_unlock
}
