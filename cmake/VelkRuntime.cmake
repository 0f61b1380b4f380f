# Places the engine libraries, OCR data and notices into the application
# directory, where the PDF worker looks for them (never on the system path).

set(VELK_PDFIUM_LIBRARY "${CMAKE_SOURCE_DIR}/.deps/pdfium/libpdfium.so"
    CACHE FILEPATH "The verified libpdfium.so installed by scripts/fetch-pdfium.sh")
set(VELK_SYSTEM_LIBDIR "/usr/lib/x86_64-linux-gnu" CACHE PATH "Multiarch library directory")
set(VELK_TESSDATA_DIR "/usr/share/tesseract-ocr/5/tessdata" CACHE PATH "Debian's Tesseract data")
set(VELK_ROBOTO_BOLD "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Bold.ttf"
    CACHE FILEPATH "Debian's Roboto Bold")

foreach(required IN ITEMS "${VELK_PDFIUM_LIBRARY}" "${VELK_SYSTEM_LIBDIR}/libqpdf.so.29"
                          "${VELK_SYSTEM_LIBDIR}/libtesseract.so.5"
                          "${VELK_TESSDATA_DIR}/tur.traineddata" "${VELK_TESSDATA_DIR}/eng.traineddata"
                          "${VELK_ROBOTO_BOLD}")
  if(NOT EXISTS "${required}")
    message(FATAL_ERROR "Missing ${required}: run scripts/setup.sh first")
  endif()
endforeach()

set(_runtime_files
  "${VELK_APP_DIR}/libpdfium.so"
  "${VELK_APP_DIR}/libqpdf.so.29"
  "${VELK_APP_DIR}/libtesseract.so.5"
  "${VELK_APP_DIR}/tessdata/tur.traineddata"
  "${VELK_APP_DIR}/tessdata/eng.traineddata"
  "${VELK_APP_DIR}/THIRD_PARTY_NOTICES")

add_custom_command(
  OUTPUT ${_runtime_files}
  COMMAND ${CMAKE_COMMAND} -E make_directory "${VELK_APP_DIR}/tessdata"
  COMMAND ${CMAKE_COMMAND} -E copy_if_different "${VELK_PDFIUM_LIBRARY}" "${VELK_APP_DIR}/libpdfium.so"
  COMMAND ${CMAKE_COMMAND} -E create_symlink "${VELK_SYSTEM_LIBDIR}/libqpdf.so.29" "${VELK_APP_DIR}/libqpdf.so.29"
  COMMAND ${CMAKE_COMMAND} -E create_symlink "${VELK_SYSTEM_LIBDIR}/libtesseract.so.5" "${VELK_APP_DIR}/libtesseract.so.5"
  COMMAND ${CMAKE_COMMAND} -E copy_if_different "${VELK_TESSDATA_DIR}/tur.traineddata" "${VELK_TESSDATA_DIR}/eng.traineddata" "${VELK_APP_DIR}/tessdata/"
  COMMAND ${CMAKE_COMMAND} -DHEAD=${CMAKE_SOURCE_DIR}/resources/THIRD_PARTY_NOTICES.head
          -DOUTPUT=${VELK_APP_DIR}/THIRD_PARTY_NOTICES -P ${CMAKE_SOURCE_DIR}/cmake/AssembleNotices.cmake
  DEPENDS "${VELK_PDFIUM_LIBRARY}" "${CMAKE_SOURCE_DIR}/resources/THIRD_PARTY_NOTICES.head"
          "${CMAKE_SOURCE_DIR}/cmake/AssembleNotices.cmake"
  COMMENT "Placing engine libraries and OCR data in the application directory"
  VERBATIM)
add_custom_target(velk_runtime ALL DEPENDS ${_runtime_files})

# Installed layout mirrors the application directory; cmake/VelkPackaging.cmake
# installs the engines, data and notices.
set(VELK_INSTALL_APPDIR "lib/velk-pdf")

# velk_add_program(name sources...): one of the five shipped programs.
function(velk_add_program name)
  add_executable(${name} ${ARGN})
  add_dependencies(${name} velk_runtime)
  install(TARGETS ${name} RUNTIME DESTINATION "${VELK_INSTALL_APPDIR}")
endfunction()

# velk_add_font_resource(target): compiles Debian's Roboto Bold into the
# target's resources as ":/fonts/Roboto-Bold.ttf" (the application font and
# the font embedded for inserted text).
function(velk_add_font_resource target)
  set_source_files_properties("${VELK_ROBOTO_BOLD}" PROPERTIES QT_RESOURCE_ALIAS "fonts/Roboto-Bold.ttf")
  qt_add_resources(${target} ${target}_font PREFIX "/" FILES "${VELK_ROBOTO_BOLD}")
endfunction()
