# add_program_resources(TARGET RC NAME VERSION DESCRIPTION PICTURE...):
# an object library TARGET of a program's resource script RC, compiled once
# with the generated PICTUREs (file names in the pictures folder) and the
# program's application manifest NAME.manifest (visual styles, DPI
# awareness, supported Windows versions), written from cmake/app.manifest.in.
# The script includes the manifest as its RT_MANIFEST resource.
function(add_program_resources target rc name version description)
  string(TOLOWER ${name} file)
  set(MANIFEST_NAME ${name})
  set(MANIFEST_VERSION ${version})
  set(MANIFEST_DESCRIPTION ${description})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/app.manifest.in ${CMAKE_CURRENT_BINARY_DIR}/${file}.manifest @ONLY)

  add_library(${target} OBJECT ${rc})
  target_include_directories(${target} PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR} ${PICTURES_DIR})
  add_dependencies(${target} pictures)
  list(TRANSFORM ARGN PREPEND ${PICTURES_DIR}/ OUTPUT_VARIABLE depends)
  list(APPEND depends ${CMAKE_CURRENT_BINARY_DIR}/${file}.manifest)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${depends}")
endfunction()
