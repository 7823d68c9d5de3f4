#!/usr/bin/env bash
# Holds the program's includes to the layer table (layers.txt). Each header and source file of
# a folder of the table may include, as #include "folder/file.h", only the folders that its own
# folder's line allows; an include with no folder ("corvane_version.h") is not checked. A file
# whose name does not end in _win32.cpp or _win32.h, outside platform/win32, is portable: it
# includes neither <windows.h> nor a header of platform/win32. A file in a sub-folder that the
# table does not list is a fault too (the build would leave it out), as is a table whose folder
# builds on one that comes after it. Prints one line per fault and fails if there is any.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
table=layers.txt
files=$(
  for folder in $(awk '{ sub(/#.*/, "") } NF { print $1 }' "$table"); do
    if [ -d "$folder" ]; then find "$folder" -type f \( -name '*.h' -o -name '*.cpp' \); fi
  done | sort -u
)
awk -v table="$table" '
  function folder_of(path) { return path ~ /\// ? substr(path, 1, match(path, /\/[^\/]*$/) - 1) : "" }
  function fault(text) { print text; faults++ }
  BEGIN {
    while ((getline line < table) > 0) {
      number++
      sub(/#.*/, "", line)
      count = split(line, word, " ")
      if (count == 0) continue
      folder = word[1]
      position[folder] = ++rows
      allowed[folder] = ""
      for (i = 2; i <= count; i++) {
        may[folder, word[i]] = 1
        allowed[folder] = allowed[folder] (i > 2 ? " " : "") word[i]
        uses[++pairs] = folder SUBSEP word[i] SUBSEP number
      }
    }
    if (rows == 0) { fault(table ": no folder"); exit 1 }
    for (p = 1; p <= pairs; p++) {
      split(uses[p], pair, SUBSEP)
      if (pair[2] in position) {
        if (position[pair[2]] > position[pair[1]])
          fault(table ":" pair[3] ": " pair[1] " may include " pair[2] ", which comes later in the table")
      } else if (system("test -d \"" pair[2] "\"") != 0) {
        fault(table ":" pair[3] ": " pair[1] " may include " pair[2] ", which is neither in the table nor a folder")
      }
    }
  }
  {
    file = $0
    folder = folder_of(file)
    if (!(folder in position)) { fault(file ": in " folder ", which " table " does not list"); next }
    portable = file !~ /_win32\.(cpp|h)$/ && folder != "platform/win32" && folder !~ /^platform\/win32\//
    while ((getline line < file) > 0) {
      if (line !~ /^[ \t]*#[ \t]*include[ \t]*[<"]/) continue
      sub(/^[ \t]*#[ \t]*include[ \t]*/, "", line)
      if (line ~ /^</) {
        header = substr(line, 2, index(line, ">") - 2)
        if (portable && tolower(header) == "windows.h")
          fault(file ": includes <" header ">, but only *_win32.cpp and *_win32.h files and those of platform/win32 may")
        continue
      }
      header = substr(line, 2)
      header = substr(header, 1, index(header, "\"") - 1)
      included = folder_of(header)
      if (included == "") continue
      if (!((folder, included) in may))
        fault(file ": includes \"" header "\", but " folder " may include only " allowed[folder])
      if (portable && (included == "platform/win32" || included ~ /^platform\/win32\//))
        fault(file ": includes \"" header "\", but only *_win32.cpp and *_win32.h files and those of platform/win32 may include platform/win32")
    }
    close(file)
  }
  END { exit faults ? 1 : 0 }
' <<<"$files"
