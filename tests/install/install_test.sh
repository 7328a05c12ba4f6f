#!/usr/bin/env bash
# The installed layout: `cmake --install` of the build into a fresh prefix, then the installed
# tq240 finds the installed library through ../lib (never the build's), answers --version and
# a call, and the man page and the bash completion are where users look for them; the
# completion completes commands, options and function names.
#   install_test.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1
prefix=$2/prefix
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "install test: $*" >&2; exit 1; }

[ -x "$prefix/bin/tq240" ] || fail "no bin/tq240"
library=$(ls "$prefix"/lib*/libtq240std.so.* 2>/dev/null | head -1)
[ -n "$library" ] || fail "no libtq240std.so.* under lib"
soname=$(objdump -p "$library" | awk '/SONAME/ { print $2 }')
[[ $soname == libtq240std.so.* ]] || fail "SONAME is '$soname'"
[ -f "$prefix/share/man/man1/tq240.1" ] || fail "no man page"
[ -f "$prefix/share/bash-completion/completions/tq240" ] || fail "no bash completion"
[ -f "$prefix/share/doc/tq240std/README.md" ] || fail "no README"
[ -f "$prefix/share/doc/tq240std/host-cli.md" ] || fail "no host contract"

export TQ_DEVICE=$2/device
version=$(env -u TQ_LIBRARY "$prefix/bin/tq240" --version)
[[ $version == *"$prefix"/lib* ]] || fail "the installed tq240 loaded another library: $version"
[ "$("$prefix/bin/tq240" call IsEven 4)" = true ] || fail "IsEven 4 is not true"

# The completion, driven as bash drives it.
source "$prefix/share/bash-completion/completions/tq240"
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _tq240
  echo "${COMPREPLY[*]}"
}
[[ " $(complete_words "$prefix/bin/tq240" de) " == *" describe "* ]] || fail "command completion"
[[ " $(complete_words "$prefix/bin/tq240" --ver) " == *" --version "* ]] || fail "option completion"
[[ " $(complete_words "$prefix/bin/tq240" --lang 9 call DateToS) " == *" DateToString "* ]] ||
  fail "function completion"
# The Debian package holds the same layout (where the packaging tools are installed).
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
  rm -rf "$2/package"
  cpack -G DEB -B "$2/package" --config "$build/CPackConfig.cmake" >/dev/null
  contents=$(dpkg-deb -c "$2"/package/*.deb)
  for file in usr/bin/tq240 usr/share/man/man1/tq240.1 usr/share/bash-completion/completions/tq240; do
    [[ $contents == *"./$file"* ]] || fail "the package lacks $file"
  done
  [[ $contents == *libtq240std.so.* ]] || fail "the package lacks the library"
fi
echo "install test: ok"
