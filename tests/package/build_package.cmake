# Package.Build: the Debian package from this build tree, as make package makes it (CPack's
# DEB generator over the install rules), into OUT, which it empties first.
if(NOT PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "This tree builds for ${PREFIX} (make install sets it); the package is "
                      "built for /usr, as the presets configure it: run make test.")
endif()
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} -G DEB --config ${BINARY_DIR}/CPackConfig.cmake -B ${OUT}
                WORKING_DIRECTORY ${BINARY_DIR}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cpack could not build the package")
endif()
