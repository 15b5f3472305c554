#!/usr/bin/env bash
# Sets up, builds and starts Vexa Java.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the programs: the test command builds the tests.
VEXAJAVA_TARGETS="vexajava vexajava-cli" bash scripts/setup-and-build.sh
if [ -x build/bin/vexajava ]; then
    exec build/bin/vexajava "$@"
fi
exec build/bin/vexajava-cli --help
