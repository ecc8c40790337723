#!/bin/bash
# The program's Japanese texts where nobody helped Wine with fonts: prefixes
# made by wineboot alone (no faces mapped, no font links), each seeing only
# one Japanese font package through a fontconfig file of its own, under an
# English and a Japanese locale.
#   tests/plain_prefix.sh window_tests.exe BUILD_DIR
# The prefixes stay in BUILD_DIR/plain-prefix for the next run.
set -o pipefail

[ $# -eq 2 ] || { echo "usage: $0 window_tests.exe BUILD_DIR" >&2; exit 2; }
tests=$1
# Absolute: Wine's processes do not run in this folder, and a fontconfig
# file they cannot find makes fontconfig fall back to every installed font.
mkdir -p "$2/plain-prefix" && dir=$(cd "$2/plain-prefix" && pwd) || exit 1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The balloon's exact column widths are those of its designed face only.
# Whatever face draws, the banner's picture stays inside the main dialog,
# and the dialogs open centred, grown or not.
filter='JapaneseText.*:CatalogueTextFont.EveryText*:BannerTest.AtRest*:*.OpensCentred*'
fail() { echo "plain_prefix: $*" >&2; exit 1; }

# What the dialogs measure where the prefix maps the template's face.
sizes=$("$here/wine-run.sh" "$tests" --gtest_filter='JapaneseText.TheDialogsKeep*' | tr -d '\r' |
    sed -n 's/^dialog sizes: //p')
[ -n "$sizes" ] || fail "no dialog sizes from the tests' prefix"
echo "dialog sizes with the face mapped: $sizes"

# Wine follows LANG only to a locale the C library has; a private copy
# leaves the system as it is.
if [ ! -d "$dir/locale/ja_JP.UTF-8" ]; then
    mkdir -p "$dir/locale" && localedef -i ja_JP -f UTF-8 "$dir/locale/ja_JP.UTF-8" ||
        fail "could not build the ja_JP.UTF-8 locale"
fi

# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
trap wine_env_stop EXIT

# Latin faces beside the Japanese ones, as on any desktop: where only
# Japanese faces exist, any face Wine falls back to draws Japanese too, and
# a missing face would go unnoticed.
latin=$(dpkg -L fonts-dejavu-core 2>/dev/null | grep -m1 -E '\.ttf$') || fail "fonts-dejavu-core is not installed"

status=0
# Each package with the proportional face the dialogs must then use, and
# whether its widths are those of the template's face. A fourth word makes
# the face a name for that font: a Windows face with narrower dialog units
# than the template's, so that the main dialog grows to fit its banner.
while read -r package face same_widths font_behind; do
    font=$(dpkg -L "$package" 2>/dev/null | grep -m1 -E '\.(ttf|otf|ttc)$') || fail "$package is not installed"
    export FONTCONFIG_FILE=$dir/$package.conf
    cat >"$FONTCONFIG_FILE" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>${font%/*}</dir>
  <dir>${latin%/*}</dir>
  <cachedir>$dir/fontconfig-cache</cachedir>
</fontconfig>
EOF
    # Wine remembers the fonts it found when the prefix was made, so each
    # package needs a prefix of its own.
    wine_env_start "$dir/$package${font_behind:+-$face}" plain || fail "no plain prefix for $package"
    if [ -n "$font_behind" ]; then
        "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${face//_/ }" /d "$font_behind" /f \
            >/dev/null 2>&1 || fail "could not make ${face//_/ } stand for $font_behind"
    fi
    # Each LANG with the locale Wine must then report.
    for pair in C.UTF-8:en-US ja_JP.UTF-8:ja-JP; do
        lang=${pair%:*} locale=${pair#*:}
        echo "== $package as ${face//_/ }, LANG=$lang"
        settings=(LANG="$lang" LC_ALL= VUKA6_EXPECT_FACE="${face//_/ }")
        [ "$lang" = C.UTF-8 ] || settings+=(LOCPATH="$dir/locale")
        [ "$same_widths" = yes ] && settings+=(VUKA6_EXPECT_SIZES="$sizes")
        output=$(env "${settings[@]}" "$WINE" "$tests" --gtest_filter="$filter" 2>&1 | tr -d '\r')
        result=$?
        printf '%s\n' "$output"
        # A locale Wine did not take would test the English case twice.
        grep -q "^locale: $locale," <<<"$output" || { echo "Wine did not take LANG=$lang" >&2; status=1; }
        [ $result -eq 0 ] || { status=1; wine_env_report window_tests.exe "" $result; }
    done
    wine_env_stop
done <<EOF
fonts-ipafont-gothic IPAPGothic yes
fonts-vlgothic VL_PGothic no
fonts-ipafont-gothic Yu_Gothic_UI no IPAGothic
EOF
exit $status
