# The Debian package: install rules for everything that ships (the
# application directory as the worker finds it, the launcher link, desktop
# entry, icons, AppStream metadata, documentation, the AppArmor profile's
# source) and CPack's DEB generator over the installed tree.
# scripts/package.sh installs into a staging directory and packages that.

set(VELK_VENDOR_DOMAIN "velk.example" CACHE STRING "The vendor's Internet domain")
set(VELK_PACKAGE_MAINTAINER "Velk <paket@${VELK_VENDOR_DOMAIN}>"
    CACHE STRING "Maintainer field of the Debian package and its changelog")
# AppStream wants a reverse-DNS identity; the desktop entry keeps its name.
string(REPLACE "." ";" _domain_parts "${VELK_VENDOR_DOMAIN}")
list(REVERSE _domain_parts)
list(JOIN _domain_parts "." VELK_APPSTREAM_ID)
string(APPEND VELK_APPSTREAM_ID ".pdf")

set(_packaging "${CMAKE_SOURCE_DIR}/packaging")
set(_generated "${CMAKE_BINARY_DIR}/packaging")
set(VELK_INSTALLED_APPDIR "${CMAKE_INSTALL_PREFIX}/${VELK_INSTALL_APPDIR}")
set(_data_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(_script_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include("${CMAKE_CURRENT_LIST_DIR}/VelkPackageDepends.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/VelkPackageDocs.cmake")

# --- The application directory: engines, language data and notices, taken
# from the build's application directory where the worker finds them.
install(FILES "${VELK_APP_DIR}/libpdfium.so" "${VELK_APP_DIR}/THIRD_PARTY_NOTICES"
        DESTINATION "${VELK_INSTALL_APPDIR}" PERMISSIONS ${_data_permissions})
# A stripping install (the package's) strips the way Debian does: the
# PDFium build comes with its symbols, and the compiler's .comment notes
# are of no use in the programs either.
foreach(_binary IN ITEMS libpdfium.so velk-pdf velk-pdf-worker velk-token-worker velk-secure-store velk-office-worker)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note --strip-unneeded
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELK_INSTALL_APPDIR}/${_binary}\"
                      RESULT_VARIABLE status)
      if(NOT status EQUAL 0)
        message(FATAL_ERROR \"Cannot strip the installed ${_binary}\")
      endif()
    endif()")
endforeach()
install(FILES "${VELK_APP_DIR}/tessdata/tur.traineddata" "${VELK_APP_DIR}/tessdata/eng.traineddata"
        DESTINATION "${VELK_INSTALL_APPDIR}/tessdata" PERMISSIONS ${_data_permissions})

# qpdf and Tesseract stay Debian's: relative links into the multiarch
# directory, whose libraries the package depends on. A link to a library
# this machine lacks would only fail at run time, so it stops the install.
file(RELATIVE_PATH _libdir_from_appdir "${VELK_INSTALLED_APPDIR}" "${VELK_SYSTEM_LIBDIR}")
foreach(_library IN ITEMS libqpdf.so.29 libtesseract.so.5)
  install(CODE "
    if(NOT EXISTS \"${VELK_SYSTEM_LIBDIR}/${_library}\")
      message(FATAL_ERROR \"Cannot install: the engine library ${VELK_SYSTEM_LIBDIR}/${_library} is missing (run scripts/setup.sh).\")
    endif()
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELK_INSTALL_APPDIR}\")
    file(CREATE_LINK \"${_libdir_from_appdir}/${_library}\"
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELK_INSTALL_APPDIR}/${_library}\" SYMBOLIC)
    message(STATUS \"Linking: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELK_INSTALL_APPDIR}/${_library}\")")
endforeach()

# --- /usr/bin/velk-pdf: the program itself finds its directory through
# /proc/self/exe, so a link is all the launcher needs.
file(RELATIVE_PATH _program_from_bindir "${CMAKE_INSTALL_PREFIX}/bin" "${VELK_INSTALLED_APPDIR}/velk-pdf")
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(CREATE_LINK \"${_program_from_bindir}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/velk-pdf\" SYMBOLIC)
  message(STATUS \"Linking: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/velk-pdf\")")

# --- Desktop integration. The entry and the 512-pixel icon are installed
# with the program (src/app); the smaller sizes come from packaging/icons.
foreach(_size IN ITEMS 48 128 256)
  install(FILES "${_packaging}/icons/velk-pdf-${_size}.png" RENAME "velk-pdf.png"
          DESTINATION "share/icons/hicolor/${_size}x${_size}/apps" PERMISSIONS ${_data_permissions})
endforeach()
configure_file("${_packaging}/velk-pdf.metainfo.xml.in" "${_generated}/velk-pdf.metainfo.xml" @ONLY)
install(FILES "${_generated}/velk-pdf.metainfo.xml" DESTINATION "share/metainfo" PERMISSIONS ${_data_permissions})

# --- The AppArmor profile: shipped as data and put in place by the
# maintainer scripts only where AppArmor understands it.
set(VELK_APPARMOR_SOURCE "${CMAKE_INSTALL_PREFIX}/share/velk-pdf/apparmor/velk-pdf")
configure_file("${_packaging}/apparmor/velk-pdf.in" "${_generated}/apparmor/velk-pdf" @ONLY)
install(FILES "${_generated}/apparmor/velk-pdf" DESTINATION "share/velk-pdf/apparmor" PERMISSIONS ${_data_permissions})
foreach(_script IN ITEMS postinst postrm)
  configure_file("${_packaging}/debian/${_script}.in" "${_generated}/debian/${_script}" @ONLY
                 FILE_PERMISSIONS ${_script_permissions})
endforeach()
configure_file("${_packaging}/debian/triggers" "${_generated}/debian/triggers" COPYONLY)
install(FILES "${_packaging}/debian/lintian-overrides" RENAME "velk-pdf"
        DESTINATION "share/lintian/overrides" PERMISSIONS ${_data_permissions})

# What the package holds, built without the tests (scripts/package.sh).
add_custom_target(velk_package_contents)
add_dependencies(velk_package_contents velk-pdf velk-pdf-worker velk-token-worker velk-secure-store
                 velk-office-worker velk_runtime velk_package_docs)

# --- CPack: one binary package, velk-pdf_<version>_<arch>.deb.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "velk-pdf")
set(CPACK_PACKAGE_VENDOR "Velk")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${VELK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${_script_permissions})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "privacy-first PDF viewer, editor and signer")
# CPack puts the summary first itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velk PDF views, creates, edits, organises, recognises (OCR), electronically
signs and verifies PDF documents on the user's own machine. Its interface is
in Turkish.

Document content never leaves the computer. Every operation on PDF content
runs in a short-lived worker process inside a sandbox built from user
namespaces, Landlock and seccomp, with no network and no access beyond the
files of that operation.")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_COMPRESSION_TYPE "xz")
set(CPACK_THREADS 0)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${VELK_PACKAGE_RUNTIME_DEPENDS}")
# Default trust anchors are the system's CA certificates; a PKCS#11 driver
# is what a smart-card user chooses, OpenSC being the usual one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ca-certificates")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "opensc-pkcs11")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${_generated}/debian/postinst" "${_generated}/debian/postrm" "${_generated}/debian/triggers")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Checks the staged tree before anything is packed (scripts/package.sh and
# plain cpack alike).
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/VelkPackageCheck.cmake")
set(CPACK_VELK_APPDIR "${VELK_INSTALLED_APPDIR}")
set(CPACK_VELK_DEPENDS_ERROR "${VELK_PACKAGE_DEPENDS_ERROR}")
include(CPack)
