#!/usr/bin/env bash
# The seam check finds every kind of breach in a product folder and leaves tests alone
# (product-seam/, a small tree of its own), and the real tree has none.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
check="$here/../check-product-seam"

expected='settings-core/Breaches.cpp:16: `sim::` names the stand-ins'"'"' own helpers
settings-core/Breaches.cpp:3: "foundation/Clock.h" is a stand-in'"'"'s own header, not the phone'"'"'s
settings-core/Breaches.cpp:5: "foundation/tests/Watchdog.h" is not a public header of the platform
settings-core/Breaches.cpp:10: <nlohmann/json.hpp> is not a header of the phone'"'"'s SDK
settings-core/Breaches.cpp:12: <sys/epoll.h> is not a header of the phone'"'"'s SDK
check-product-seam: 5 place(s) where product code reaches past the platform'"'"'s public interface'

if found="$("$check" "$here/product-seam" 2>&1)"; then
    echo "FAIL: the check passed a tree with breaches" >&2
    exit 1
fi
if [[ "$found" != "$expected" ]]; then
    printf 'FAIL: the check reported\n%s\ninstead of\n%s\n' "$found" "$expected" >&2
    exit 1
fi
"$check" "$here/../.."
echo "the seam check finds each breach, and the product has none"
