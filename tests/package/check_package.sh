#!/usr/bin/env bash
# Checks the Debian package as Debian's own tools do, and fails on any error or
# warning: lintian on the package, AppStream's validator on its metadata and man
# on both manual pages. Usage: tests/package/check_package.sh [PACKAGE.deb]
# (by default the newest build/veltrix_*.deb).
set -euo pipefail
cd "$(dirname "$0")/../.."

deb=${1:-}
if [ -z "$deb" ]; then
    deb=$(ls -t build/veltrix_*.deb 2>/dev/null | head -n 1)
    [ -n "$deb" ] || { echo "no build/veltrix_*.deb; make it with ./veltrix.sh package" >&2; exit 2; }
fi
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failed=()

echo "lintian $deb"
lintian --fail-on error,warning "$deb" || failed+=(lintian)

dpkg-deb -x "$deb" "$root"
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
if [ -f "${metainfo[0]}" ]; then
    appstreamcli validate --no-net "${metainfo[@]}" || failed+=(appstreamcli)
else
    echo "no AppStream metadata in /usr/share/metainfo" >&2
    failed+=(appstreamcli)
fi

for page in usr/share/man/man1/veltrix.1.gz usr/share/man/ru/man1/veltrix.1.gz; do
    # man writes groff's complaints to its standard error; a page that does not
    # render at all fails too.
    if ! warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/$page" 2>&1 >/dev/null) ||
        [ -n "$warnings" ]; then
        echo "/$page: ${warnings:-does not render}" >&2
        failed+=("/$page")
    fi
done

if ((${#failed[@]})); then
    echo "package checks failed: ${failed[*]}" >&2
    exit 1
fi
echo "package checks passed: $deb"
