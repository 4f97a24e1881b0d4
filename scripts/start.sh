#!/usr/bin/env bash
# Installs what is missing, builds Vesmarin and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)"
exec build/default/bin/vesmarin "$@"
