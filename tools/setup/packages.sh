# tools/setup/packages.sh — sourced by ./run: installs the Debian packages the
# project needs, on machines whose package index may be half synchronised.
#
#   install_packages PKG...   installs those of PKG that are missing
#
# 1. apt-get waits for the package lock (the system may be updating itself)
#    and never removes a package to make room (--no-remove): a conflict
#    between twins would otherwise be "solved" by removing what uses them.
# 2. A failed `apt-get update` is a warning: a mirror in the middle of a sync
#    leaves one index (often the security suite's i386 one) short, and the
#    other indexes are still good.
# 3. If the plain install cannot be resolved, once more with the security
#    suite below the main suite for that one call (an APT preference given on
#    the command line, never written under /etc), and with the amd64 twins of
#    the i386 libraries to come moved to the version their twin has: packages
#    that are Multi-Arch: same must match exactly, and an i386 index that lags
#    offers the twins only at the main suite's versions.

apt_lock_wait=(-o DPkg::Lock::Timeout=600)

apt_as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The installed version of PKG (an architecture may be given), or nothing.
installed_version() {
    dpkg-query -W -f='${db:Status-Abbrev} ${Version}' "$1" 2>/dev/null | awk '$1 == "ii" { print $2 }'
}

# The packages of the i386 dependency closure of "${wanted[@]}" that are
# Multi-Arch: same and whose amd64 twin is installed at another version than
# the i386 candidate, as "name:amd64=version" (the candidate's version, where
# it can be had for amd64 too). APT options in "$@".
twin_downgrades() {
    # sort and join must agree on the order: byte order, whatever the user's locale.
    local -x LC_ALL=C
    local closure installed names
    closure=$(apt-cache "$@" depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
                  --no-replaces --no-enhances "${wanted[@]}" 2>/dev/null |
              sed -n 's/^\([a-z0-9][^ ]*\):i386$/\1/p' | sort -u) || true
    installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package} ${Architecture} ${Multi-Arch} ${Version}\n' 2>/dev/null |
                awk '$1 == "ii" && $3 == "amd64" && $4 == "same" { print $2, $5 }' | sort -u)
    names=$(join <(echo "$closure") <(echo "$installed") | awk '{ print $1 }')
    [ -n "$names" ] || return 0
    local name twin version
    # One policy query for all: "name:i386 candidate".
    apt-cache "$@" policy $(sed 's/$/:i386/' <<<"$names") 2>/dev/null |
        awk '/^[^ ].*:$/ { name = substr($1, 1, length($1) - 1) } /Candidate:/ { print name, $2 }' |
        while read -r name version; do
            name=${name%:i386}
            twin=$(join <(echo "$name") <(echo "$installed") | awk '{ print $2 }')
            [ "$version" != "(none)" ] && [ -n "$twin" ] && [ "$version" != "$twin" ] || continue
            # madison pads the version column: compare it trimmed, and literally.
            apt-cache "$@" madison "$name" 2>/dev/null |
                awk -F'|' -v want="$version" '{ gsub(/ /, "", $2) } $2 == want && $3 ~ / amd64 / { found = 1 }
                                              END { exit !found }' || continue
            echo "$name:amd64=$version"
        done
}

install_packages() {
    local -a missing=() wanted=()
    local p
    for p in "$@"; do
        [ -n "$(installed_version "$p")" ] || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    wanted=("${missing[@]}")
    echo "Installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then apt_as_root dpkg --add-architecture i386; fi
    if ! apt_as_root apt-get "${apt_lock_wait[@]}" update -qq >/tmp/brisora-apt-update.log 2>&1; then
        echo "warning: apt-get update reported errors (a mirror in sync?); going on with the indexes it has:"
        grep -E '^(E|W):' /tmp/brisora-apt-update.log | head -3 | sed 's/^/   /'
    fi
    local log=/tmp/brisora-apt-install.log
    if DEBIAN_FRONTEND=noninteractive apt_as_root apt-get "${apt_lock_wait[@]}" install -y -qq --no-remove \
           --no-install-recommends "${missing[@]}" >"$log" 2>&1; then
        return 0
    fi
    grep -qE 'held broken packages|unmet dependencies|Unable to correct problems|remove is disabled|generated breaks' "$log" || {
        tail -20 "$log" >&2; return 1; }

    # The fall-back: a preference for this call only, beside the user's own.
    local parts
    parts=$(mktemp -d /tmp/brisora-apt-preferences.XXXXXX)
    cp /etc/apt/preferences.d/* "$parts"/ 2>/dev/null || true
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 50\n' >"$parts/zz-brisora-lagging-index.pref"
    local -a options=(-o "Dir::Etc::PreferencesParts=$parts")
    local -a downgrades
    mapfile -t downgrades < <(twin_downgrades "${options[@]}")
    local moved=""
    [ ${#downgrades[@]} -gt 0 ] && moved=", and moving ${downgrades[*]} to the version of their i386 twins"
    echo "The package index lags (i386 twins only at the main suite's versions): installing with the security" \
         "suite below main for this call$moved."
    if DEBIAN_FRONTEND=noninteractive apt_as_root apt-get "${apt_lock_wait[@]}" "${options[@]}" install -y -qq --no-remove \
           --no-install-recommends --allow-downgrades "${missing[@]}" ${downgrades[@]+"${downgrades[@]}"} \
           >"$log" 2>&1; then
        rm -rf "$parts"
        return 0
    fi
    rm -rf "$parts"
    tail -20 "$log" >&2
    return 1
}
