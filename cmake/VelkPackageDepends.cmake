# The package's dependencies that dpkg-shlibdeps cannot see: the engine
# libraries the PDF worker loads at run time by path. Each becomes the
# dependency its Debian package declares in its shlibs file, exactly what
# dpkg-shlibdeps would write had we linked against it. Sets
# VELK_PACKAGE_RUNTIME_DEPENDS, or VELK_PACKAGE_DEPENDS_ERROR when the
# lookup is impossible (then packaging stops with that sentence).

# velk_shlibs_dependency(library out error): library is a path named by its
# soname, e.g. /usr/lib/x86_64-linux-gnu/libqpdf.so.29.
function(velk_shlibs_dependency library out error)
  get_filename_component(soname "${library}" NAME)
  if(NOT soname MATCHES "^(.+)\\.so\\.([0-9]+)$")
    set(${error} "${library} is not named by a soname" PARENT_SCOPE)
    return()
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(major "${CMAKE_MATCH_2}")
  file(REAL_PATH "${library}" real)
  execute_process(COMMAND dpkg-query -S "${real}"
                  OUTPUT_VARIABLE owner RESULT_VARIABLE status ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0 OR NOT owner MATCHES "^([^:,]+)(:[a-z0-9]+)?: ")
    set(${error} "no Debian package owns ${real}" PARENT_SCOPE)
    return()
  endif()
  set(package "${CMAKE_MATCH_1}")
  execute_process(COMMAND dpkg-query --control-show "${package}" shlibs
                  OUTPUT_VARIABLE shlibs RESULT_VARIABLE status ERROR_QUIET)
  string(REGEX MATCH "(^|\n)${name} ${major} ([^\n]+)" line "${shlibs}")
  if(NOT status EQUAL 0 OR line STREQUAL "")
    set(${error} "the shlibs file of ${package} does not name ${soname}" PARENT_SCOPE)
    return()
  endif()
  string(STRIP "${CMAKE_MATCH_2}" dependency)
  set(${out} "${dependency}" PARENT_SCOPE)
endfunction()

set(VELK_PACKAGE_RUNTIME_DEPENDS "")
set(VELK_PACKAGE_DEPENDS_ERROR "")
foreach(_library IN ITEMS libqpdf.so.29 libtesseract.so.5)
  set(_dependency "")
  set(_error "")
  velk_shlibs_dependency("${VELK_SYSTEM_LIBDIR}/${_library}" _dependency _error)
  if(_error)
    set(VELK_PACKAGE_DEPENDS_ERROR "Cannot work out the package dependency of ${_library}: ${_error}.")
    break()
  endif()
  list(APPEND VELK_PACKAGE_RUNTIME_DEPENDS "${_dependency}")
endforeach()
# velk-pdf's windows need a Qt platform plugin; Debian ships them apart
# from the Qt libraries that dpkg-shlibdeps finds.
list(APPEND VELK_PACKAGE_RUNTIME_DEPENDS "qt6-qpa-plugins")
# Qt's standard dialogs read Turkish from Debian's Qt translations.
list(APPEND VELK_PACKAGE_RUNTIME_DEPENDS "qt6-translations-l10n")
list(JOIN VELK_PACKAGE_RUNTIME_DEPENDS ", " VELK_PACKAGE_RUNTIME_DEPENDS)
