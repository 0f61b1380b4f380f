# cmake -P script: writes the shipped THIRD_PARTY_NOTICES from our own list
# and the full licence texts that Debian installs with the same components.
# Inputs: HEAD, OUTPUT.

file(READ "${HEAD}" notices)

function(append_section title path)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "Licence text missing: ${path}")
  endif()
  file(READ "${path}" text)
  string(LENGTH "${title}" width)
  string(REPEAT "-" ${width} rule)
  set(notices "${notices}\n\n${title}\n${rule}\n\n${text}" PARENT_SCOPE)
endfunction()

append_section("FreeType licence (from Debian's FreeType copyright file, FTL section)" "/usr/share/doc/libfreetype6/copyright")
append_section("ICU licence (from Debian's ICU copyright file)" "/usr/share/doc/libicu72/copyright")
append_section("Little CMS licence (from Debian's Little CMS copyright file, MIT section)" "/usr/share/doc/liblcms2-2/copyright")
append_section("OpenJPEG licence (from Debian's OpenJPEG copyright file, BSD-2 sections)" "/usr/share/doc/libopenjp2-7/copyright")
append_section("Apache License 2.0 (PDFium parts, qpdf, Tesseract, OpenSSL 3, Roboto)" "/usr/share/common-licenses/Apache-2.0")
append_section("GNU Lesser General Public License version 3 (Qt)" "/usr/share/common-licenses/LGPL-3")
append_section("GNU General Public License version 3 (referenced by the LGPL)" "/usr/share/common-licenses/GPL-3")

file(WRITE "${OUTPUT}.tmp" "${notices}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
