#!/usr/bin/env bash
# Builds Varnel for 64-bit Windows on Debian 12 and makes its setup program,
# build-windows/Varnel-<version>-setup.exe, from Debian's packages and source packages only.
# The cross-built Qt and libraries come from scripts/windows-cache.sh (built once into
# /var/cache/varnel-windows/, then reused). Run as root (it installs packages).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-env.sh

# Gathers varnel.exe, the start program, the office's import tool, the pristine data files and
# the DLLs, plugins and translations of packaging/windows/runtime-files.txt into the folder $1.
stage() {
  local stage="$1" from to
  rm -rf "$stage"
  mkdir -p "$stage/share"
  cp "$VARNEL_WINDOWS_BUILD/varnel.exe" "$VARNEL_WINDOWS_BUILD/varnel-start.exe" \
    "$VARNEL_WINDOWS_BUILD/varnel-import-cases.exe" "$stage/"
  cp "$VARNEL_WINDOWS_BUILD/share/varnel.db" "$VARNEL_WINDOWS_BUILD/share/akfpb.xlsx" \
    "$VARNEL_WINDOWS_BUILD/share/fpfa.docx" "$stage/share/"
  while read -r from to; do
    case "$from" in "" | "#"*) continue ;; esac
    from="${from/\$QT/$VARNEL_WINDOWS_PREFIX}"
    from="${from/\$GCC/$VARNEL_MINGW_GCC_DIR}"
    from="${from/\$MINGW//usr/x86_64-w64-mingw32}"
    from="${from/\$L10N//usr/share/qt6/translations}"
    mkdir -p "$stage/$to"
    cp "$from" "$stage/$to/"
  done <packaging/windows/runtime-files.txt
  find "$stage" -iname '*.exe' -o -iname '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
}

imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }

# True when a DLL of that name is one the build brings (not one of Windows' own).
ours() {
  local d
  for d in "$VARNEL_WINDOWS_PREFIX/bin" "$VARNEL_MINGW_GCC_DIR" /usr/x86_64-w64-mingw32/lib; do
    [ -n "$(find "$d" -maxdepth 1 -iname "$1" -print -quit)" ] && return 0
  done
  return 1
}

# Every DLL that a program or plugin of the stage imports and that the build brings lies beside
# varnel.exe, and every DLL beside it is imported by something.
check_imports() {
  local stage="$1" file dll failed=0 used=""
  while read -r file; do
    for dll in $(imports "$file"); do
      used="$used ${dll,,}"
      if [ ! -e "$stage/$dll" ] && [ -z "$(find "$stage" -maxdepth 1 -iname "$dll" -print -quit)" ] &&
        ours "$dll"; then
        echo "build-windows: ${file#"$stage"/} imports $dll, which runtime-files.txt lacks" >&2
        failed=1
      fi
    done
  done < <(find "$stage" -iname '*.exe' -o -iname '*.dll')
  for file in "$stage"/*.dll; do
    dll="$(basename "$file")"
    if [[ " $used " != *" ${dll,,} "* ]]; then
      echo "build-windows: $dll is listed in runtime-files.txt but nothing imports it" >&2
      failed=1
    fi
  done
  return $failed
}

# The NSIS include files that install and remove exactly the staged files.
file_lists() {
  local stage="$1" out="$2" rel dir
  : >"$out/files.nsh"
  : >"$out/remove.nsh"
  (cd "$stage" && find . -type d | sort) | while read -r dir; do
    dir="${dir#./}"
    [ "$dir" = "." ] && dir=""
    echo "SetOutPath \"\$INSTDIR${dir:+\\${dir//\//\\}}\"" >>"$out/files.nsh"
    (cd "$stage/${dir:-.}" && find . -maxdepth 1 -type f | sort) | while read -r rel; do
      rel="${rel#./}"
      echo "File \"$(realpath "$stage/${dir:+$dir/}$rel")\"" >>"$out/files.nsh"
    done
  done
  echo "SetOutPath \"\$INSTDIR\"" >>"$out/files.nsh"
  (cd "$stage" && find . -type f | sort) | while read -r rel; do
    rel="${rel#./}"
    echo "Delete \"\$INSTDIR\\${rel//\//\\}\"" >>"$out/remove.nsh"
  done
  (cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r rel; do
    rel="${rel#./}"
    echo "RMDir \"\$INSTDIR\\${rel//\//\\}\"" >>"$out/remove.nsh"
  done
}

windows_configure
cmake --build "$VARNEL_WINDOWS_BUILD" --target varnel varnel_start varnel-import-cases \
  akfpb_template fpfa_template varnel_db \
  -j"$(nproc)"
version="$(sed -n 's/^project(Varnel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
staged="$VARNEL_WINDOWS_BUILD/stage"
stage "$staged"
check_imports "$staged"
file_lists "$staged" "$VARNEL_WINDOWS_BUILD"
size_kb="$(du -sk "$staged" | cut -f1)"
out="$(realpath "$VARNEL_WINDOWS_BUILD")"
setup="$out/Varnel-$version-setup.exe"
# makensis reads its include files and the icon relative to the script: give it full paths.
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$out/stage" \
  -DFILES="$out/files.nsh" -DREMOVE="$out/remove.nsh" -DSIZE_KB="$size_kb" \
  -DICON="$out/windows/varnel.ico" -DSETTINGS="$(realpath packaging/windows/varnel.ini)" -DOUTFILE="$setup" packaging/windows/varnel.nsi
echo "== setup program: $setup ($(stat -c %s "$setup") bytes; installs $size_kb KiB)"
