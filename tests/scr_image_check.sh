#!/usr/bin/env bash
# Checks the image header of the built gleamo.scr:
#   scr_image_check.sh OBJDUMP gleamo.scr
# - it imports only DLLs the system keeps as known DLLs (loaded from the system
#   folder whatever lies beside the program), and comctl32, which the manifest
#   binds to the side-by-side common controls 6. Anything else the program
#   loads itself, from the system folder.
# - it imports none of the functions older systems lack, whose import would
#   have their loader refuse the program before it runs (the program looks
#   them up instead), nor the wide string functions that 95/98 keeps only as
#   stubs that fail.
# - it is large address aware, so that on a 64-bit system it has 4 GB of
#   address space for big pictures rather than 2.
set -u
objdump=$1
image=$2

header=$("$objdump" -p "$image") || { echo "cannot read the header of $image"; exit 1; }
allowed=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll user32.dll "
status=0
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$header")
[ -n "$imports" ] || { echo "no import table found in $image"; exit 1; }
while read -r name; do
  case "$allowed" in
    *" ${name,,} "*) ;;
    *) echo "imports $name, which is not one of the system's known DLLs"; status=1 ;;
  esac
done <<<"$imports"
# Vista's GetTickCount64, XP's AddVectoredExceptionHandler, NT's
# TryEnterCriticalSection, DCOM's CoInitializeEx; the lstr*W stubs.
missing_before_now=" GetTickCount64 AddVectoredExceptionHandler TryEnterCriticalSection CoInitializeEx SetDefaultDllDirectories IsProcessorFeaturePresent GetFileInformationByHandleEx FindFirstFileExW lstrcpyW lstrcpynW lstrcatW lstrcmpW lstrcmpiW "
while read -r function; do
  case "$missing_before_now" in
    *" $function "*) echo "imports $function, which older Windows lacks or has only as a stub"; status=1 ;;
  esac
done < <(awk '/^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ {print $3}' <<<"$header")
if ! grep -q "large address aware" <<<"$header"; then
  echo "$image is not large address aware"
  status=1
fi
exit $status
