#!/usr/bin/env bash
# Checks what a shipped executable is made of:
#   check_executable.sh <release exe> <test-build exe>
# The release build must be a PE32 GUI program for i386 importing only DLLs
# that ship with Windows, and carry none of the seams of the test build.
set -euo pipefail
release=$1
test_build=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

kind=$(file -b "$release")
[[ $kind == "PE32 executable (GUI) Intel 80386"* ]] || fail "not a PE32 GUI i386 program: $kind"

# DLLs that every supported Windows ships.
allowed='^(advapi32|comctl32|gdi32|gdiplus|iphlpapi|kernel32|msvcrt|ole32|oleaut32|shell32|shlwapi|user32|uxtheme|version|windowscodecs|winmm|wininet|ws2_32|crypt32)\.dll$'
while read -r dll; do
  lower=$(tr 'A-Z' 'a-z' <<<"$dll")
  [[ $lower =~ $allowed ]] || fail "imports $dll, which Windows does not ship"
done < <(i686-w64-mingw32-objdump -p "$release" | awk '/DLL Name:/ {print $3}')

# Windows XP must be able to load it: nothing it lacks is imported by name
# (later additions are looked up at run time).
vista_and_later='^(GetTickCount64|InitializeSRWLock|(Acquire|Release|TryAcquire)SRWLock(Exclusive|Shared)|InitializeConditionVariable|SleepConditionVariable(CS|SRW)|Wake(All)?ConditionVariable|InitOnce[A-Za-z]*|GetDynamicTimeZoneInformation|Fls(Alloc|Free|GetValue|SetValue)|GetLocaleInfoEx|LCIDToLocaleName|LocaleNameToLCID|GetUserDefaultLocaleName|CompareStringEx|GetFileInformationByHandleEx|SetFileInformationByHandle|CreateSymbolicLink[AW]|GetFinalPathNameByHandle[AW]|QueryFullProcessImageName[AW]|CancelIoEx|GetErrorMode|SetThreadErrorMode|Create(Event|Mutex|Semaphore)Ex[AW]|GetSystemTimePreciseAsFileTime|SHGetKnownFolderPath|inet_pton|inet_ntop|InetPton[AW]|InetNtop[AW]|RegGetValue[AW])$'
imports=$(i686-w64-mingw32-objdump -p "$release" | awk '/DLL Name:/ {dll=1; next} dll && NF>=3 && $1 ~ /^[0-9a-f]+$/ {print $3}')
late=$(grep -E "$vista_and_later" <<<"$imports" || true)
[ -z "$late" ] || fail "imports functions Windows XP does not have: $late"

# The seam's name is in the test build and nowhere in the release build.
contains() { grep -qa "$2" "$1" || grep -qaP "$(sed 's/./&\\x00/g' <<<"$2")" "$1"; }
contains "$test_build" KESTRIX_TEST_OFFLINE || fail "the test build lost its seam; this check proves nothing"
if contains "$release" KESTRIX_TEST_; then fail "the release build contains a test seam"; fi
echo "release executable: $kind; imports only system DLLs, none newer than Windows XP; no test seams"
