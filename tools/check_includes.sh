#!/bin/sh
# Fails when a library includes a header of a library that depends on it or
# that it does not depend on, so the library edges run one way: platform at
# the ground, then engine and skin, then buffer, vprog and skinwnd, then calc,
# then app. A library's logic never includes windows (a forms/ folder); its
# windows may include the logic and windows of the libraries it may reach.
# The program's app/main.cpp is no part of a library and may include
# anything. Usage: tools/check_includes.sh [source root]
cd "${1:-$(dirname "$0")/..}" || exit 2

grep -sHn '^#include "[a-z]*/' platform engine skin buffer vprog skinwnd calc app -r \
    --include='*.cpp' --include='*.h' | awk '
BEGIN {
    # The libraries each library may include, besides itself.
    may["platform"] = ""
    may["engine"] = "platform"
    may["skin"] = "platform"
    may["buffer"] = "platform engine"
    may["vprog"] = "platform engine"
    may["skinwnd"] = "platform skin"
    may["calc"] = "platform engine buffer skin"
    may["app"] = "platform engine buffer vprog skin calc"
}
{
    file = $0
    sub(/:.*/, "", file)
    if (file == "app/main.cpp")
        next
    split(file, from, "/")
    target = $0
    sub(/.*#include "/, "", target)
    split(target, to, "/")
    windows = from[2] == "forms"
    ok = to[1] == from[1] || index(" " may[from[1]] " ", " " to[1] " ") > 0
    if (to[2] == "forms" && !windows)
        ok = 0
    if (!ok) {
        print "upward include: " $0
        bad = 1
    }
}
END { exit bad }'
