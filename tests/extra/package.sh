#!/usr/bin/env bash
# Builds the .deb from a release build and checks that the package tools accept it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$("$root/tools/release-build.sh")
(cd "$build" && cpack -G DEB >/dev/null)
deb="$build/velmor_$(sed -n 's/^project(Velmor VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "package: no $deb"; exit 1; }

info=$(dpkg-deb --info "$deb")
for lib in fonts-wqy-microhei libqt6widgets6 libportaudio2 libmpg123-0 libsndfile1 libsoxr0 libsoundtouch; do
  grep -q "Depends:.*$lib" <<<"$info" || { echo "package: no dependency on $lib"; echo "$info"; exit 1; }
done
contents=$(dpkg-deb --contents "$deb")
id=org.example.velmor.Velmor
for file in usr/bin/velmor usr/share/applications/$id.desktop \
  usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/metainfo/$id.metainfo.xml; do
  grep -q "$file" <<<"$contents" || { echo "package: $file missing"; exit 1; }
done
desktop-file-validate "$root/data/$id.desktop"
appstreamcli validate --no-net "$root/data/$id.metainfo.xml"
echo "package: $(basename "$deb") is accepted"
