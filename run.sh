#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds VORAX and starts it; an optional MODEL file is passed on as the
# program's first argument. The program runs in its build folder.
set -euo pipefail
cd "$(dirname "$0")"
args=()
if (($# > 0)); then
    model=$1
    shift
    [[ "$model" = /* ]] || model="$OLDPWD/$model"
    args=("$model" "$@")
fi
./scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target vorax
cd build/dev
exec ./vorax "${args[@]}"
