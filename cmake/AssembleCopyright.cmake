# cmake -P script: writes the package's machine-readable copyright file from
# our stanzas (HEAD) and the licence paragraphs of the components PDFium
# bundles (FreeType, ICU, Little CMS, OpenJPEG), taken verbatim from Debian's own copyright files of the same
# components. Inputs: HEAD, OUTPUT.

file(READ "${HEAD}" copyright)

# The text between the first occurrence of `start` (excluded) and the end of
# its paragraph, from a Debian copyright file.
function(paragraph_after path start out)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "Licence text missing: ${path}")
  endif()
  file(READ "${path}" text)
  string(FIND "${text}" "${start}" begin)
  if(begin LESS 0)
    message(FATAL_ERROR "No \"${start}\" paragraph in ${path}")
  endif()
  string(LENGTH "${start}" skip)
  math(EXPR begin "${begin} + ${skip}")
  string(SUBSTRING "${text}" ${begin} -1 rest)
  string(FIND "${rest}" "\n\n" end)
  if(end LESS 0)
    string(LENGTH "${rest}" end)
  endif()
  string(SUBSTRING "${rest}" 0 ${end} body)
  set(${out} "${body}" PARENT_SCOPE)
endfunction()

# FreeType's own licence paragraph, already in copyright-file form.
paragraph_after("/usr/share/doc/libfreetype6/copyright" "\n\nLicense: FTL\n" ftl)
# ICU's licence is the text of the "Files: *" stanza of Debian's ICU file.
paragraph_after("/usr/share/doc/libicu72/copyright" "\nLicense: MIT\n" icu)

# Little CMS's "Files: *" text and OpenJPEG's own licence paragraph.
paragraph_after("/usr/share/doc/liblcms2-2/copyright" "\nLicense: MIT\n" lcms)
paragraph_after("/usr/share/doc/libopenjp2-7/copyright" "\n\nLicense: BSD-2\n" openjpeg)

string(APPEND copyright "\nLicense: FTL\n${ftl}\n\nLicense: ICU\n${icu}\n\nLicense: MIT\n${lcms}\n"
                        "\nLicense: BSD-2-Clause\n${openjpeg}\n")
file(WRITE "${OUTPUT}.tmp" "${copyright}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
