# Documentation the package carries: the machine-readable copyright file,
# the changelog and the manual pages (English and Turkish), built with the
# programs and installed under share/doc/velk-pdf and share/man.

# velk_rfc2822_date(iso out): "2026-12-11" -> "Fri, 11 Dec 2026 00:00:00 +0000".
function(velk_rfc2822_date iso out)
  if(NOT iso MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "VELK_RELEASE_DATE must read YYYY-MM-DD, not ${iso}")
  endif()
  math(EXPR year "${CMAKE_MATCH_1}")
  math(EXPR month "${CMAKE_MATCH_2}")
  math(EXPR day "${CMAKE_MATCH_3}")
  # Sakamoto's weekday rule, 0 = Sunday.
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  set(days Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET days ${weekday} weekday_name)
  list(GET months ${index} month_name)
  set(${out} "${weekday_name}, ${CMAKE_MATCH_3} ${month_name} ${CMAKE_MATCH_1} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

set(VELK_VERSION "${PROJECT_VERSION}")
velk_rfc2822_date("${VELK_RELEASE_DATE}" VELK_RELEASE_DATE_RFC2822)

set(_doc "${_generated}/doc")
configure_file("${_packaging}/debian/changelog.in" "${_doc}/changelog" @ONLY)
configure_file("${_packaging}/man/velk-pdf.1.in" "${_doc}/man/velk-pdf.1" @ONLY)
configure_file("${_packaging}/man/tr/velk-pdf.1.in" "${_doc}/man/tr/velk-pdf.1" @ONLY)

set(_gzip "${CMAKE_CURRENT_LIST_DIR}/VelkGzip.cmake")
set(_docs "${_doc}/copyright" "${_doc}/changelog.gz" "${_doc}/man/velk-pdf.1.gz" "${_doc}/man/tr/velk-pdf.1.gz")
add_custom_command(
  OUTPUT ${_docs}
  COMMAND ${CMAKE_COMMAND} -DHEAD=${_packaging}/debian/copyright.head -DOUTPUT=${_doc}/copyright
          -P ${CMAKE_CURRENT_LIST_DIR}/AssembleCopyright.cmake
  COMMAND ${CMAKE_COMMAND} -DINPUT=${_doc}/changelog -DOUTPUT=${_doc}/changelog.gz -P ${_gzip}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${_doc}/man/velk-pdf.1 -DOUTPUT=${_doc}/man/velk-pdf.1.gz -P ${_gzip}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${_doc}/man/tr/velk-pdf.1 -DOUTPUT=${_doc}/man/tr/velk-pdf.1.gz -P ${_gzip}
  DEPENDS "${_packaging}/debian/copyright.head" "${CMAKE_CURRENT_LIST_DIR}/AssembleCopyright.cmake" "${_gzip}"
          "${_doc}/changelog" "${_doc}/man/velk-pdf.1" "${_doc}/man/tr/velk-pdf.1"
  COMMENT "Assembling the package's copyright file, changelog and manual pages"
  VERBATIM)
add_custom_target(velk_package_docs ALL DEPENDS ${_docs})

install(FILES "${_doc}/copyright" "${_doc}/changelog.gz"
        DESTINATION "share/doc/velk-pdf" PERMISSIONS ${_data_permissions})
install(FILES "${_doc}/man/velk-pdf.1.gz" DESTINATION "share/man/man1" PERMISSIONS ${_data_permissions})
install(FILES "${_doc}/man/tr/velk-pdf.1.gz" DESTINATION "share/man/tr/man1" PERMISSIONS ${_data_permissions})
