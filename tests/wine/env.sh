# Sourced with the build's Wine folder in $1: the environment every Wine run of the tests uses.
wine_dir=$1
export WINEPREFIX="$wine_dir/prefix"
export WINEARCH=win64
# Without these Wine tries to download Mono and Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
# A zh_CN locale of our own, so that Wine's ANSI code page keeps Chinese text.
if [ -d "$wine_dir/locale/zh_CN.UTF-8" ]; then
    export LOCPATH="$wine_dir/locale"
    export LANG=zh_CN.UTF-8
fi
if [ -f "$wine_dir/display" ]; then
    DISPLAY=$(cat "$wine_dir/display")
    export DISPLAY
fi
