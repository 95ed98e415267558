#!/usr/bin/env bash
# Checks what a shipped executable is made of:
#   check_executable.sh <release exe> <test-build exe>
# The release build must be a PE32 GUI program for i386 that imports by name
# only DLLs the system always takes from itself, runs on Windows XP, carries
# the hardening it is built with, and none of the seams of the test build.
set -euo pipefail
release=$1
test_build=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
headers=$(i686-w64-mingw32-objdump -p "$release")

kind=$(file -b "$release")
[[ $kind == "PE32 executable (GUI) Intel 80386"* ]] || fail "not a PE32 GUI i386 program: $kind"

# By name, only the KnownDLLs, which Windows maps from the system folder
# whatever lies next to the program, and comctl32, which the manifest takes
# from the side-by-side store. Everything else is delay-loaded from the
# system folder by full path (cmake/DelayLoad.cmake).
allowed='^(advapi32|comctl32|gdi32|kernel32|msvcrt|ole32|shell32|user32)\.dll$'
dlls=$(awk '/DLL Name:/ {print $3}' <<<"$headers")
while read -r dll; do
  lower=$(tr 'A-Z' 'a-z' <<<"$dll")
  [[ $lower =~ $allowed ]] || fail "imports $dll by name, which a planted DLL of that name could replace"
done <<<"$dlls"

# Windows XP must be able to load it: nothing it lacks is imported by name
# (later additions are looked up at run time).
vista_and_later='^(GetTickCount64|InitializeSRWLock|(Acquire|Release|TryAcquire)SRWLock(Exclusive|Shared)|InitializeConditionVariable|SleepConditionVariable(CS|SRW)|Wake(All)?ConditionVariable|InitOnce[A-Za-z]*|GetDynamicTimeZoneInformation|Fls(Alloc|Free|GetValue|SetValue)|GetLocaleInfoEx|LCIDToLocaleName|LocaleNameToLCID|GetUserDefaultLocaleName|CompareStringEx|GetFileInformationByHandleEx|SetFileInformationByHandle|CreateSymbolicLink[AW]|GetFinalPathNameByHandle[AW]|QueryFullProcessImageName[AW]|CancelIoEx|GetErrorMode|SetThreadErrorMode|Create(Event|Mutex|Semaphore)Ex[AW]|GetSystemTimePreciseAsFileTime|SHGetKnownFolderPath|inet_pton|inet_ntop|InetPton[AW]|InetNtop[AW]|RegGetValue[AW]|SetDefaultDllDirectories|AddDllDirectory)$'
imports=$(awk '/DLL Name:/ {dll=1; next} dll && NF>=3 && $1 ~ /^[0-9a-f]+$/ {print $3}' <<<"$headers")
late=$(grep -E "$vista_and_later" <<<"$imports" || true)
[ -z "$late" ] || fail "imports functions Windows XP does not have: $late"

# Hardening: a dynamic base with its relocations, DEP, stack canaries and
# checked string and memory functions (whose failure messages the program's
# handlers carry, platform/StackProtector_win.cpp).
characteristics=$(awk '/^DllCharacteristics/ {print $2}' <<<"$headers")
(( 0x$characteristics & 0x40 )) || fail "no dynamic base (ASLR): DllCharacteristics $characteristics"
(( 0x$characteristics & 0x100 )) || fail "not NX compatible (DEP): DllCharacteristics $characteristics"
grep -Eq '^Entry 5 [0-9a-f]+ 0*[1-9a-f][0-9a-f]* Base Relocation' <<<"$headers" ||
  fail "no relocations, so the dynamic base cannot be used"
grep -qa 'stack smashing detected' "$release" || fail "no stack protector"
grep -qa 'buffer overflow detected' "$release" || fail "no checked string and memory functions"

# It is the first thing a user downloads: at most 1 MiB, artwork and all
# (about 0.6 MB today; make size says where the bytes go).
max_bytes=1048576
bytes=$(stat -c %s "$release")
[ "$bytes" -le $max_bytes ] || fail "$bytes bytes, more than $max_bytes (make size says where they go)"

# The seam's name is in the test build and nowhere in the release build.
contains() { grep -qa "$2" "$1" || grep -qaP "$(sed 's/./&\\x00/g' <<<"$2")" "$1"; }
contains "$test_build" KESTRIX_TEST_OFFLINE || fail "the test build lost its seam; this check proves nothing"
if contains "$release" KESTRIX_TEST_; then fail "the release build contains a test seam"; fi
echo "release executable: $kind, $bytes bytes; imports by name only$(tr 'A-Z\n' 'a-z ' <<<" $dlls"); none newer than Windows XP;" \
  "DllCharacteristics $characteristics (dynamic base, NX), relocations, stack protector, fortified calls; no test seams"
