#!/usr/bin/env bash
# The folders of src/ must include one another one way only: the graph of their includes,
# folder to folder, must sort topologically.
set -euo pipefail
src=$1
edges=$(grep -rhoE '^#include "[a-z_]+/' "$src" --include='*.h' --include='*.cpp' -H |
    sed -E 's|^'"$src"'/([a-z_]+)/[^:]*:#include "([a-z_]+)/$|\2 \1|' | sort -u)
if ! problem=$(printf '%s\n' "$edges" | tsort 2>&1 > /dev/null); then
    echo "The folders include one another in a cycle: $problem" >&2
    exit 1
fi
echo "$(printf '%s\n' "$edges" | wc -l) folder edges, no cycle"
