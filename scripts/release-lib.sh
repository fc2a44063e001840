# The downloads, shared by scripts/release and scripts/test so that both
# build, check and compare them the same way:
#   quadsum-<version>-windows-x86.zip, quadsum-<version>-windows-x64.zip
#     Quadsum.exe, quadsum-cli.exe and README.txt (the README's user part);
#   quadsum-cli_<version>_amd64.deb (CPack, from the release preset);
#   SHA256SUMS over the three, as `sha256sum -c` reads it.
# They are built from the working tree: the files git lists (tracked or new,
# not ignored) as they are on disk, at a fresh path. Source lib.sh first.
# shellcheck shell=bash

# Sets what every function below uses. Every time stamp in the downloads is
# the commit's: PE headers have none, and CMake, CPack, help2man and the zips
# take this one.
release_init() {
  VERSION="$(project_version)"
  SOURCE_DATE_EPOCH="$(git -C "$ROOT" log -1 --format=%ct)"
  export SOURCE_DATE_EPOCH
  ZIPS=("quadsum-$VERSION-windows-x86.zip" "quadsum-$VERSION-windows-x64.zip")
  ZIP_ARCHES=(i686 x86_64)
  DEB="quadsum-cli_${VERSION}_amd64.deb"
}

# Says whether the release is of HEAD alone or of changes beside it.
describe_tree() {
  local head
  head="$(git -C "$ROOT" rev-parse --short HEAD)"
  if [[ -n "$(git -C "$ROOT" status --porcelain)" ]]; then
    log "release $VERSION of the working tree: $head and the uncommitted changes beside it"
  else
    log "release $VERSION of $head"
  fi
}

# The working tree's files, as on disk, into <dir>; a tracked file that was
# deleted is left out, as the build would not see it.
copy_worktree() {  # <dir>
  mkdir -p "$1"
  (cd "$ROOT" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do
      [[ -e "$file" || -L "$file" ]] && printf '%s\0' "$file"
    done | tar --null -T - -cf -) | tar -xf - -C "$1"
}

# The README up to its developer section, without its pictures, as Windows
# text: what a user reads beside the programs.
readme_txt() {  # <README.md> <README.txt>
  sed -n '/^# Quadsum/,/^## For developers/p' "$1" | sed '$d' | grep -v '^!\[' |
    sed 's/$/\r/' >"$2"
}

# zip_exes <ship build dir> <README.md> <zip>: members in a fixed order, with
# fixed modes and the commit's time. zip -X leaves out the owner and the
# access and change times, which libarchive's zips (cmake -E tar) carry.
zip_exes() {
  local stage
  stage="$(mktemp -d)"
  install -m 0755 "$1/Quadsum.exe" "$1/cli/quadsum-cli.exe" "$stage/"
  readme_txt "$2" "$stage/README.txt"
  chmod 0644 "$stage/README.txt"
  touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
  (cd "$stage" && TZ=UTC zip -q -X -D "$3" Quadsum.exe quadsum-cli.exe README.txt)
  rm -rf "$stage"
}

# build_release <scratch> <dist> <umask> <build dir name>: every download,
# from a copy of the working tree at <scratch>/quadsum-<version>, built in
# <build dir name>/<preset> of that copy under the umask, into <dist>. No
# compiler cache: what is compared is what the compilers made.
build_release() {
  local scratch="$1" dist="$2" mask="$3" builds="$4" tree="$1/quadsum-$VERSION" preset
  rm -rf "$tree" && mkdir -p "$tree" "$dist"
  dist="$(realpath "$dist")"
  copy_worktree "$tree"
  (
    umask "$mask"
    cd "$tree"
    export CCACHE_DISABLE=1 PATH
    PATH="$(tr : '\n' <<<"$PATH" | grep -v ccache | paste -sd :)"
    unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
    for preset in ship ship-x64 release; do
      cmake --preset "$preset" -B "$builds/$preset" >/dev/null
      cmake --build "$builds/$preset"
    done
    # CPack stages the package's directories and writes its own members
    # with the umask's modes, whatever the install settings say: under a
    # fixed umask they are the same for every build.
    (cd "$builds/release" && umask 022 && cpack -G DEB >/dev/null)
  )
  rm -f "$dist"/*
  zip_exes "$tree/$builds/ship" "$tree/README.md" "$dist/${ZIPS[0]}"
  zip_exes "$tree/$builds/ship-x64" "$tree/README.md" "$dist/${ZIPS[1]}"
  cp "$tree/$builds/release/$DEB" "$dist/"
  (cd "$dist" && sha256sum "${ZIPS[@]}" "$DEB" >SHA256SUMS)
}

# The zips' programs into <dir>/i686 and <dir>/x86_64, replacing what was
# there: the programs the Windows tests drive are the shipped bytes.
unpack_zips() {  # <dist> <dir>
  local i out
  for i in "${!ZIPS[@]}"; do
    out="$2/${ZIP_ARCHES[i]}"
    rm -rf "$out" && mkdir -p "$out"
    (cd "$out" && cmake -E tar xf "$1/${ZIPS[i]}")
  done
}

# Each exe unpacked by unpack_zips passes the shipped programs' checks.
check_zips() {  # <dir of unpack_zips>
  local arch exes=()
  for arch in "${ZIP_ARCHES[@]}"; do exes+=("$1/$arch/Quadsum.exe" "$1/$arch/quadsum-cli.exe"); done
  "$ROOT/scripts/check-shipped" "${exes[@]}"
}

# lintian finds no error but those only the owner can mend: the maintainer's
# address (a licence is not checked for); the package unpacked into <root>
# converts, shows its man page, and its program is stripped.
check_deb() {  # <dist> <root>
  local deb="$1/$DEB" root="$2"
  lintian --fail-on error --suppress-tags bogus-mail-host,bogus-mail-host-in-debian-changelog "$deb"
  rm -rf "$root" && dpkg-deb -x "$deb" "$root"
  [[ "$("$root/usr/bin/quadsum-cli" 192.168.0.1)" == 3232235521 ]] ||
    { log "the packaged quadsum-cli does not convert"; return 1; }
  # grep reads all its input (no -q): a writer cut off early would fail the
  # pipe under pipefail.
  man -l "$root/usr/share/man/man1/quadsum-cli.1.gz" 2>/dev/null | grep 'quadsum-cli' >/dev/null ||
    { log "the packaged man page does not show"; return 1; }
  ! readelf -S "$root/usr/bin/quadsum-cli" | grep '\.symtab' >/dev/null ||
    { log "the packaged quadsum-cli is not stripped"; return 1; }
  [[ -f "$root/usr/share/bash-completion/completions/quadsum-cli" ]] ||
    { log "the package has no bash completion"; return 1; }
  echo "ok: $DEB"
}

# Every file of two releases byte for byte; names each file that differs or
# is in one alone, and for a zip or package the members that differ.
compare_releases() {  # <dist> <other dist>
  local file differ=0
  for file in $( (ls -A "$1"; ls -A "$2") | sort -u); do
    if [[ ! -f "$1/$file" || ! -f "$2/$file" ]]; then
      log "in one build only: $file"; differ=1
    elif ! cmp -s "$1/$file" "$2/$file"; then
      log "differs between the two builds: $file"; differ=1
      compare_members "$1/$file" "$2/$file" || true
    fi
  done
  ((differ == 0)) || return 1
  log "the two builds are byte for byte the same: $(ls -A "$1" | xargs)"
}

# Which members of two zips or packages differ, to tell where to look.
compare_members() {  # <file> <other file>
  local scratch side
  scratch="$(mktemp -d)"
  for side in 1 2; do
    mkdir "$scratch/$side"
    case "$1" in
      *.zip) (cd "$scratch/$side" && cmake -E tar xf "${!side}") ;;
      *.deb) dpkg-deb -R "${!side}" "$scratch/$side" ;;
      *) rm -rf "$scratch"; return 0 ;;
    esac
  done
  diff -rq "$scratch/1" "$scratch/2" |
    sed -E "s|^Files $scratch/1/(.*) and .* differ\$|  member differs: \1|; s|^Only in $scratch/([12])/?(.*): |  in build \1 only: \2/|; s|only: /|only: |" >&2
  rm -rf "$scratch"
}
