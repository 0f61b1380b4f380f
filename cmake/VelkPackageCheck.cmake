# CPack pre-build script: the staged tree must hold everything the programs
# load at run time, or no package is made. A package without an engine
# library, a language file or the notices would install and then fail at
# the first PDF operation.

set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
if(CPACK_VELK_DEPENDS_ERROR)
  message(FATAL_ERROR "${CPACK_VELK_DEPENDS_ERROR}")
endif()

# Debian packages install under /usr; an older build directory may still
# carry CMake's /usr/local.
if(NOT CPACK_PACKAGING_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "Cannot build the package: the build is configured to install under "
                      "${CPACK_PACKAGING_INSTALL_PREFIX}; run cmake -DCMAKE_INSTALL_PREFIX=/usr on it "
                      "(scripts/package.sh does).")
endif()

function(fail_missing relative why)
  message(FATAL_ERROR "Cannot build the package: ${relative} ${why}.")
endfunction()

string(REGEX REPLACE "^/" "" appdir "${CPACK_VELK_APPDIR}")
set(programs velk-pdf velk-pdf-worker velk-token-worker velk-secure-store velk-office-worker)
set(data libpdfium.so THIRD_PARTY_NOTICES tessdata/tur.traineddata tessdata/eng.traineddata)

foreach(name IN LISTS programs data)
  set(relative "${appdir}/${name}")
  if(IS_SYMLINK "${root}/${relative}" OR NOT EXISTS "${root}/${relative}" OR IS_DIRECTORY "${root}/${relative}")
    fail_missing("${relative}" "is missing from the installed tree")
  endif()
  file(SIZE "${root}/${relative}" size)
  if(size EQUAL 0)
    fail_missing("${relative}" "is empty")
  endif()
endforeach()

# The engine links must name a library this machine has: the package
# depends on the Debian package that provides it.
foreach(name IN ITEMS libqpdf.so.29 libtesseract.so.5)
  set(relative "${appdir}/${name}")
  if(NOT IS_SYMLINK "${root}/${relative}")
    fail_missing("${relative}" "is missing from the installed tree")
  endif()
  file(READ_SYMLINK "${root}/${relative}" target)
  if(IS_ABSOLUTE "${target}")
    cmake_path(SET resolved NORMALIZE "${target}")
  else()
    cmake_path(SET resolved NORMALIZE "${CPACK_VELK_APPDIR}/${target}")
  endif()
  if(NOT EXISTS "${resolved}")
    fail_missing("${relative}" "points at ${resolved}, which does not exist")
  endif()
endforeach()
