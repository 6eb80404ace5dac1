# write_manifest(FILE NAME VERSION DESCRIPTION): writes a program's
# application manifest (visual styles, DPI awareness, supported Windows
# versions) from cmake/app.manifest.in into the current binary folder. The
# program's resource script includes it as its RT_MANIFEST resource.
function(write_manifest file name version description)
  set(MANIFEST_NAME ${name})
  set(MANIFEST_VERSION ${version})
  set(MANIFEST_DESCRIPTION ${description})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/app.manifest.in ${CMAKE_CURRENT_BINARY_DIR}/${file} @ONLY)
endfunction()
