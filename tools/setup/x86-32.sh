# tools/setup/x86-32.sh — sourced by ./run: can this machine run 32-bit x86
# code, natively or through user-mode emulation?
#
#   probe_x86_32            runs a 96-byte i386 program; 0 if it exited as it should
#   enable_x86_32_emulation registers qemu-i386-static with binfmt_misc (idempotent)
#   prepare_x86_32 [emulate] the two together; sets x86_32_mode to native, emulated
#                           or none, and x86_32_reason to why it is none; with
#                           "emulate", the emulation even where code runs natively
#
# Without the kernel's 32-bit support, the registration makes every i386 ELF
# program start under qemu-i386-static (flag F: the interpreter is opened now,
# so it works inside other mount namespaces too). It lasts until the next boot;
# `echo -1 > /proc/sys/fs/binfmt_misc/brisora-i386` removes it sooner.
# QEMU_RESERVED_VA gives emulated Wine the top of the 4 GB space it maps its
# shared user data into.

x86_32_mode=none
x86_32_reason=""
binfmt=/proc/sys/fs/binfmt_misc

# An ELF header, one program header and: mov ebx, 42; mov eax, 1 (exit); int 0x80.
probe_x86_32() {
    local probe
    probe=$(mktemp /tmp/brisora-x86-32-probe.XXXXXX)
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
    printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
    printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000' >>"$probe"
    printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
    printf '\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
    printf '\273\052\000\000\000\270\001\000\000\000\315\200' >>"$probe"
    chmod +x "$probe"
    local code=0
    timeout 120 "$probe" 2>/dev/null || code=$?
    rm -f "$probe"
    [ "$code" -eq 42 ]
}

enable_x86_32_emulation() {
    local qemu=/usr/bin/qemu-i386-static
    if [ ! -x "$qemu" ]; then x86_32_reason="qemu-i386-static is not installed"; return 1; fi
    if [ "$(id -u)" -ne 0 ]; then x86_32_reason="registering an interpreter needs root"; return 1; fi
    if [ ! -e "$binfmt/register" ]; then
        mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || {
            x86_32_reason="binfmt_misc cannot be mounted here"; return 1; }
    fi
    [ "$(cat "$binfmt/status" 2>/dev/null)" = enabled ] || echo 1 >"$binfmt/status" 2>/dev/null || true
    # An entry of our own or the distribution's (qemu-i386) already serves;
    # one switched off (echo 0) is switched on again.
    local entry
    for entry in "$binfmt/brisora-i386" "$binfmt/qemu-i386"; do
        if [ -e "$entry" ] && ! grep -qs '^enabled' "$entry"; then echo 1 >"$entry" 2>/dev/null || true; fi
    done
    if [ ! -e "$binfmt/brisora-i386" ] && [ ! -e "$binfmt/qemu-i386" ]; then
        local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":brisora-i386:M::$magic:$mask:$qemu:F" >"$binfmt/register" 2>/dev/null || {
            x86_32_reason="binfmt_misc refused the registration"; return 1; }
    fi
    return 0
}

prepare_x86_32() {
    if [ "${1:-}" != emulate ] && probe_x86_32; then
        # binfmt_misc comes before the kernel's own ELF loader: with an entry
        # for i386 enabled (this run's, an earlier one's or the distribution's)
        # the program ran emulated.
        x86_32_mode=native
        if grep -qs '^enabled' "$binfmt/brisora-i386" "$binfmt/qemu-i386"; then x86_32_mode=emulated; fi
    elif enable_x86_32_emulation && probe_x86_32; then
        x86_32_mode=emulated
    else
        x86_32_mode=none
        [ -n "$x86_32_reason" ] || x86_32_reason="the emulation did not start it"
        if [ "${1:-}" = emulate ]; then
            x86_32_reason="the emulation cannot be set up: $x86_32_reason"
        else
            x86_32_reason="this machine runs no 32-bit x86 code and $x86_32_reason"
        fi
        return 0
    fi
    if [ "$x86_32_mode" = emulated ]; then
        export QEMU_RESERVED_VA=0xffff0000
    fi
}
