# Sourced by the scripts that run the programs under Wine.
#   wine_setup <build dir> <prefix dir>: picks the programs' build and Wine
#   make_prefix: a new prefix with drive C only, the programs, the tools, the
#     sample installation and the stand-ins registered for .html and http
#   install_sample_game [accepted]: the sample game as C:\Games\Drifthaven
#   map_test_drives <folder>: the game finder's drives D:, E: and F:
#   map_drives <folder> <letter:type>...: drive letters on folders, with their types
#   listen_to_sound <folder>: what the programs play is recorded there, a file a clip
#   virtual_desktop <width>x<height>: the programs' windows on Wine's own desktop
#   on_virtual_display <width>x<height> <command>...: the command on a virtual display
#   make_web_of_links <folder>: a drive's folder whose directories link back to each other
#   stop_prefix: stops the prefix's wineserver
# Drive Z (the host's root) is removed, so nothing run in the prefix reaches
# the host's own files.

wine_setup() {
    local build=$1
    export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # 32-bit programs where this machine runs 32-bit code, else their 64-bit builds.
    local arch=${E2E_ARCH:-}
    if [ -z "$arch" ]; then
        if python3 "$(dirname "${BASH_SOURCE[0]}")/can_run_32bit.py" 2>/dev/null && [ -x /usr/lib/wine/wine ]; then
            arch=32
        else
            arch=64
        fi
    fi
    if [ "$arch" = 32 ]; then
        WINE=/usr/lib/wine/wine; PROGRAMS=$build/windows; REG_VIEW=/reg:32
    else
        WINE=/usr/lib/wine/wine64; PROGRAMS=$build/windows64; REG_VIEW=/reg:64
    fi
    # The end-to-end test programs, built with another thread model (tools/build.sh).
    TEST_PROGRAMS=$PROGRAMS-tests
    WINESERVER=/usr/lib/wine/wineserver
    export WINE PROGRAMS TEST_PROGRAMS REG_VIEW WINESERVER
    echo "Wine: $arch-bit programs from $PROGRAMS, prefix $WINEPREFIX"
}

make_prefix() {
    local root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    "$WINESERVER" -k 2>/dev/null || true
    unmount_disks_under "$WINEPREFIX"
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i > /dev/null 2>&1 || { echo "Prefix set-up failed: wineboot could not make $WINEPREFIX" >&2; return 1; }
    "$WINESERVER" -w
    rm -f "$WINEPREFIX/dosdevices/z:"
    local c=$WINEPREFIX/drive_c
    mkdir -p "$c/launchers" "$c/tools" "$c/sample" || return 1
    cp "$PROGRAMS/valkor.exe" "$PROGRAMS/novalkor.exe" "$c/launchers/" || return 1
    # The 32-bit deliverables themselves, for the checks of their files and resources.
    mkdir -p "$c/deliverables" || return 1
    cp "$(dirname "$PROGRAMS")/windows/valkor.exe" "$(dirname "$PROGRAMS")/windows/novalkor.exe" "$c/deliverables/" || return 1
    # The test programs, and the DLL that a row plants beside a launcher.
    cp "$TEST_PROGRAMS"/tests/e2e/*.exe "$TEST_PROGRAMS"/tests/e2e/planted_dll.dll "$PROGRAMS"/sample/standin/*.exe "$PROGRAMS"/tools/demo/*.exe "$PROGRAMS"/bench/*.exe "$c/tools/" || return 1
    cp -r "$root/sample/game/." "$c/sample/" || return 1
    mkdir -p "$c/expected" || return 1
    cp "$root"/tests/e2e/expected/* "$c/expected/" || return 1
    local recorder='"C:\tools\recorder.exe" "%1"'
    for view in /reg:64 /reg:32; do
        wine_reg_add 'HKCR\.html' /ve /d recorder.html /f "$view" || return 1
        wine_reg_add 'HKCR\recorder.html\shell\open\command' /ve /d "$recorder" /f "$view" || return 1
        wine_reg_add 'HKCR\http\shell\open\command' /ve /d "$recorder" /f "$view" || return 1
    done
    "$WINESERVER" -w
}

# The sample installation as C:\Games\Drifthaven, registered as the game's;
# with "accepted", the no-warranty notice counts as accepted already. Sets GAME_DIR.
install_sample_game() {
    local root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    GAME_DIR=$WINEPREFIX/drive_c/Games/Drifthaven
    mkdir -p "$GAME_DIR"
    cp -r "$root/sample/game/." "$GAME_DIR/"
    cp "$PROGRAMS/sample/standin/Drifthvn.exe" "$GAME_DIR/"
    local key='HKLM\Software\Vortigen\Drifthaven'
    wine_reg_add "$key\Settings" /v InstallPath /t REG_SZ /d 'C:\Games\Drifthaven' /f "$REG_VIEW" || return 1
    wine_reg_add "$key\Settings" /v Version /t REG_DWORD /d 14 /f "$REG_VIEW" || return 1
    if [ "${1:-}" = accepted ]; then
        wine_reg_add "$key\Mods\Valkormod" /v Agreed /t REG_DWORD /d 1 /f "$REG_VIEW" || return 1
    fi
    "$WINESERVER" -w
}

# Drives for the game finder's tests, in folders of the build tree: B: a fixed
# drive of 20,421 empty directories, searched first, so that a search runs for
# some seconds at the pace of the disk, time for a person to act during it; D: a fixed
# drive with the game (and the mod) several levels down, E: a fixed drive without it (holding a
# directory that contains itself through a symbolic link), F: a CD-ROM drive with
# another copy. C: is reported as a network drive, so the search keeps to them.
map_test_drives() {
    local drives=$1
    rm -rf "$drives"
    mkdir -p "$drives/d/Games/Sub/Deep/Drifthaven/mods" "$drives/d/Tools" "$drives/e/Data/Old" "$drives/e/loop" "$drives/f"
    (cd "$drives" && mkdir -p b/Busy/{0..19}/{0..19}/{0..49})
    cp "$PROGRAMS/sample/standin/Drifthvn.exe" "$drives/d/Games/Sub/Deep/Drifthaven/"
    cp "$PROGRAMS/sample/standin/Drifthvn.exe" "$drives/f/"
    touch "$drives/d/Games/Sub/Deep/Drifthaven/mods/valkormod.zip" "$drives/d/Tools/readme.txt" "$drives/e/Data/Old/notes.txt"
    ln -s . "$drives/e/loop/again"
    map_drives "$drives" c:network b:hd d:hd e:hd f:cdrom
}

# Maps drive letters to folders <folder>/<letter> (all but C:) and sets their
# types, given as letter:type (hd, network, cdrom, floppy, ramdisk); the
# wineserver is restarted so that the types hold.
map_drives() {
    local folder=$1 drive letter
    shift
    for drive in "$@"; do
        letter=${drive%%:*}
        [ "$letter" = c ] || ln -sfn "$folder/$letter" "$WINEPREFIX/dosdevices/$letter:"
        wine_reg_add 'HKLM\Software\Wine\Drives' /v "$letter:" /d "${drive#*:}" /f /reg:64 || return 1
    done
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w
}

# A drive's folder woven with host symbolic links back to its own directories (a
# parent, the drive's root, a directory itself, one another) and to the game,
# which lies deeper; Wine reports every such link as a directory and a reparse point.
make_web_of_links() {
    local top=$1
    rm -rf "$top"
    mkdir -p "$top/Data/x" "$top/Data/y" "$top/Deep/Er/Game/mods"
    cp "$PROGRAMS/sample/standin/Drifthvn.exe" "$top/Deep/Er/Game/"
    touch "$top/Deep/Er/Game/mods/valkormod.zip" "$top/Data/x/notes.txt"
    ln -s .. "$top/Data/x/up"
    ln -s ../.. "$top/Data/y/root"
    ln -s . "$top/Data/loop"
    ln -s ../Data "$top/Deep/back"
    ln -s ../x "$top/Data/y/sideways"
    ln -s ../../Deep/Er/Game "$top/Data/y/game"
}

# Wine plays through ALSA; a configuration of our own (the machine's is left
# alone) makes the default device a file over a null device, so that every clip
# a program plays is recorded (tools/record_clip.sh) instead of heard.
listen_to_sound() {
    local folder=$1 root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    rm -rf "$folder"
    mkdir -p "$folder"
    cat > "$WINEPREFIX/asound.conf" <<CONF
pcm.!default {
    type file
    slave { pcm { type null } }
    format "wav"
    file "|$root/tools/record_clip.sh $folder"
}
CONF
    export ALSA_CONFIG_PATH=$WINEPREFIX/asound.conf
    wine_reg_add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f || return 1
    "$WINESERVER" -w
}

# A disk of a few MiB of its own at C:\small_disk (a tmpfs; mounting needs
# root), for the test of a full disk; C:\small_disk\mounted is there only while
# it is mounted. Without it that test fails, and this says why.
mount_small_disk() {
    local disk=$WINEPREFIX/drive_c/small_disk
    mkdir -p "$disk"
    if mount -t tmpfs -o size=4m,mode=0755 valkor-small-disk "$disk"; then
        touch "$disk/mounted"
    else
        echo "Could not mount a tmpfs at $disk (root is needed): the full-disk scenario will fail" >&2
    fi
}

# Unmounts what a run mounted below the folder (an earlier run may have ended early).
unmount_disks_under() {
    local mounted
    for mounted in $(awk -v under="$1/" 'index($2, under) == 1 { print $2 }' /proc/mounts); do
        umount "$mounted" || echo "Could not unmount $mounted" >&2
    done
}

# "wine reg add" with its arguments; on failure it says which value and why.
wine_reg_add() {
    local out
    out=$("$WINE" reg add "$@" 2>&1) || { echo "Prefix set-up failed: wine reg add $* said: $out" >&2; return 1; }
}

# Wine's own desktop, one X window that Wine draws whole: the windows get their
# frames, captions and close boxes, which on a bare X display no window manager
# would draw, and input goes only to Wine's windows.
virtual_desktop() {
    wine_reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f || return 1
    wine_reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$1" /f || return 1
    "$WINESERVER" -w
}

# Runs the command on a virtual display (Xvfb) of that size and lets Wine end in
# the prefix before the display closes; its exit status. Wine's processes that
# outlive the command (its desktop, a game the launcher started) would otherwise
# still be attached to the display as it goes, and each would print "X connection
# to :99 broken", which reads as a crash. What still runs after half a minute is
# stopped.
on_virtual_display() {
    local screen=$1
    shift
    xvfb-run -a -s "-screen 0 ${screen}x24" bash -c \
        '"$@"; status=$?; timeout 30 "$WINESERVER" -w || "$WINESERVER" -k; exit $status' on_virtual_display "$@"
}

stop_prefix() {
    "$WINESERVER" -k 2>/dev/null || true
}
