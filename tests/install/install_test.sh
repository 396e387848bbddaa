#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses it as a user would, with nothing but the installed tree:
# a C client built once with find_package(tvbcclib) and once with pkg-config, the tools, and the Python package
# imported with PYTHONPATH alone. Arguments: the build directory, the transportation model, the C compiler.
set -euo pipefail
build=$1 model=$2 cc=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
unset LD_LIBRARY_PATH TVBCCLIB_LIBRARY PYTHONPATH
expected="90 1 153.675"

cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(dirname "$(find "$prefix" -name libtvbcclib.so)")

check() {  # check <what> <expected> <command...>: the command's output must be the expected text
  local what=$1 want=$2 got
  shift 2
  got=$("$@") || { echo "FAIL: $what: exit status $?"; exit 1; }
  [ "$got" = "$want" ] || { echo "FAIL: $what printed '$got', not '$want'"; exit 1; }
  echo "ok: $what"
}

cmake -S "$here/client" -B "$work/with_cmake" -G Ninja -DCMAKE_C_COMPILER="$cc" -DCMAKE_PREFIX_PATH="$prefix" \
  >/dev/null
cmake --build "$work/with_cmake" >/dev/null
check "client built with find_package" "$expected" "$work/with_cmake/client" "$model" "$work/a.tvf"

export PKG_CONFIG_PATH=$libdir/pkgconfig
"$cc" -Wall -Wextra -pedantic -Werror "$here/client/client.c" -o "$work/with_pkg_config" \
  $(pkg-config --cflags --libs tvbcclib runddclib) -Wl,-rpath,"$(pkg-config --variable=libdir tvbcclib)"
check "client built with pkg-config" "$expected" "$work/with_pkg_config" "$model" "$work/b.tvf"

check "installed tvfdump" $'value\n90' "$prefix/bin/tvfdump" --csv f "$work/a.tvf"
check "installed tvfdiff" "" "$prefix/bin/tvfdiff" "$work/a.tvf" "$work/b.tvf"

check "Python package from the installed tree" "$libdir/libtvbcclib.so 90.0 optimal 153.675" \
  env PYTHONPATH="$libdir/python" /usr/bin/python3 -c "
import tvb, tvb._library
with tvb.Database.read('$work/a.tvf') as db:
    freight = db['f'][()]
model = tvb.Model.from_mathprog('$model')
result = tvb.Database.from_model(model).solve('CLP')
print(tvb._library.library_path(), freight, result.model_status, round(result.objective, 3))"
